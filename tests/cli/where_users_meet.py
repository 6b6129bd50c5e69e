"""tarnwick where users meet it: without root, without a table, in help and in JSON.

Usage: where_users_meet.py TARNWICK CORPUS_DIR MANUAL_PAGE [unittest arguments]
"""
import json
import os
import struct
import subprocess
import sys
import tempfile
import unittest

TARNWICK = CORPUS = MANUAL = None

# What the kernel writes into /sys/class/dmi/id (drivers/firmware/dmi_scan.c):
# file, structure type, offset, kind; mode 0444 files only.
KERNEL_FILES = [
    ("bios_vendor", 0, 0x04, "string"), ("bios_version", 0, 0x05, "string"), ("bios_date", 0, 0x08, "string"),
    ("bios_release", 0, 0x14, "release"), ("ec_firmware_release", 0, 0x16, "release"),
    ("sys_vendor", 1, 0x04, "string"), ("product_name", 1, 0x05, "string"), ("product_version", 1, 0x06, "string"),
    ("product_sku", 1, 0x19, "string"), ("product_family", 1, 0x1A, "string"),
    ("board_vendor", 2, 0x04, "string"), ("board_name", 2, 0x05, "string"), ("board_version", 2, 0x06, "string"),
    ("board_asset_tag", 2, 0x08, "string"), ("chassis_vendor", 3, 0x04, "string"),
    ("chassis_type", 3, 0x05, "type"), ("chassis_version", 3, 0x06, "string"), ("chassis_asset_tag", 3, 0x08, "string"),
]


def run(*arguments):
    done = subprocess.run([TARNWICK, *arguments], capture_output=True, timeout=60)
    return done.returncode, done.stdout.decode("utf-8", "replace"), done.stderr.decode("utf-8", "replace")


def structures(table):
    """(type, formatted bytes followed by the rest of the table, strings) in table order."""
    at = 0
    while at + 4 <= len(table) and table[at + 1] >= 4:
        kind, length = table[at], table[at + 1]
        end = table.find(b"\0\0", at + length)
        if end < 0:
            return
        strings = table[at + length:end].split(b"\0") if end > at + length else []
        yield kind, length, table[at:], strings
        if kind == 127:
            return
        at = end + 2


def kernel_text(kind, length, data, strings, offset):
    """What the kernel writes for one field of one structure; None: it skips the structure."""
    if kind == "release":  # dmi_save_release tests the length against the minor byte's offset
        if length < offset + 1 or data[offset:offset + 2] == b"\xff\xff":
            return None
        return b"%d.%d" % (data[offset], data[offset + 1])
    if length <= offset:
        return None
    if kind == "type":
        return b"%d" % (data[offset] & 0x7F)
    number = data[offset]
    text = strings[number - 1] if 0 < number <= len(strings) else b""
    return b"" if text.strip(b" ") == b"" else text


def make_folder(table, root):
    """Lays out root/class/dmi/id from `table` by the kernel's rules; returns the losses found."""
    folder = os.path.join(root, "class", "dmi", "id")
    os.makedirs(folder)
    every = list(structures(table))
    losses = []
    for name, type_, offset, kind in KERNEL_FILES:
        of_type = [s for s in every if s[0] == type_]
        for position, (_, length, data, strings) in enumerate(of_type):
            text = kernel_text(kind, length, data, strings, offset)
            if text is None:
                continue
            with open(os.path.join(folder, name), "wb") as out:
                out.write(text + b"\n")
            if position > 0:
                losses.append(f"{name}: from structure {position + 1} of type {type_}, the first too short")
            if kind == "release" and length == offset + 1:
                losses.append(f"{name}: the minor byte read past the structure's {length} bytes")
            if kind == "string" and text == b"" and 0 < data[offset] <= len(strings):
                losses.append(f"{name}: a string of blanks only")
            break
    return losses


def table_of(name):
    with open(os.path.join(CORPUS, name + ".rsmb"), "rb") as f:
        service = f.read()
    return service[8:8 + struct.unpack_from("<I", service, 4)[0]]


def listed_names():
    status, out, _ = run("--names")
    assert status == 0
    return [line.split()[0] for line in out.splitlines()]


class WithoutRoot(unittest.TestCase):
    def test_every_answer_from_the_folder_is_the_tables_on_every_corpus_table(self):
        variables = [name for name in listed_names() if name.startswith("_")]
        tables = sorted(f[:-5] for f in os.listdir(CORPUS) if f.endswith(".rsmb"))
        self.assertTrue(tables, "no corpus")
        answered = refused = 0
        losses_seen, unexplained = [], []
        for table in tables:
            with tempfile.TemporaryDirectory() as root:
                losses = make_folder(table_of(table), root)
                status, out, err = run("--sysfs", root, "--json", *variables)
                self.assertEqual(status, 1, err)
                folder = os.path.join(root, "class", "dmi", "id")
                lines = err.splitlines()
                self.assertEqual(lines[0], f"tarnwick: cannot read {root}/firmware/dmi/tables/DMI: "
                                           f"No such file or directory; answers come from {folder}")
                from_folder = json.loads(out)
                _, out, _ = run("--from-dump", os.path.join(CORPUS, table + ".rsmb"), "--json", *variables)
                from_table = json.loads(out)
            for name in variables:
                if from_folder[name] is None:
                    refused += 1
                    self.assertIn(f"tarnwick: {name}: needs the SMBIOS table, which {folder} does not give; "
                                  "run as root", lines)
                    continue
                answered += 1
                if from_folder[name] != from_table[name]:
                    case = f"{table} {name}: table {from_table[name]!r}, folder {from_folder[name]!r}"
                    blanks = from_table[name].strip(" ") == ""
                    explained = any(("blanks" in loss) == blanks for loss in losses)
                    (losses_seen if explained else unexplained).append(case)
            self.assertIsNotNone(from_folder["_smbmfg"], table)
            self.assertIsNone(from_folder["_smbserial"], table)
        print(f"\n{len(tables)} tables: {answered} answers from the folder, {refused} refused, "
              f"{len(losses_seen)} differ where the kernel's rules lose information:", *losses_seen, sep="\n  ")
        self.assertEqual(unexplained, [])


class Messages(unittest.TestCase):
    def test_no_table_and_no_folder_keeps_the_plugins_lines_and_says_what_to_do(self):
        with tempfile.TemporaryDirectory() as root:
            self.assertEqual(run("--sysfs", root, "_smbmfg"), (2, "", (
                "Tarnwick plugin: No firmware table!\r\nPlugin not loaded.\r\n"
                f"tarnwick: cannot read {root}/firmware/dmi/tables/DMI: No such file or directory; "
                "run as root, or use --sample or --from-dump FILE\n")))

    def test_help_needs_no_table(self):
        with tempfile.TemporaryDirectory() as root:
            status, out, err = run("--sysfs", root, "--help-name", "@SMBCOUNT")
            self.assertEqual((status, err), (0, ""))
            self.assertTrue(out.startswith("@SMBCOUNT[type] \r\n\n"))

    def test_one_file_per_file_option(self):
        with tempfile.TemporaryDirectory() as root:
            first, second = os.path.join(root, "a"), os.path.join(root, "b")
            for path, name in [(first, "_smbmfg"), (second, "_smbver")]:
                with open(path, "w") as f:
                    f.write(name + "\n")
            self.assertEqual(run("--sample", "--file", first, "--file", second),
                             (0, "Brackenfold Computing\n3.1\n", ""))
            self.assertEqual(run("--sample", "--file", first, second),
                             (1, "Brackenfold Computing\n", f"tarnwick: {second}: unknown name\n"))

    def test_a_name_asked_twice_is_one_json_member(self):
        status, out, _ = run("--sample", "--json", "_smbmfg", "_smbver", "_smbmfg")
        self.assertEqual((status, out), (0, '{\n  "_smbmfg": "Brackenfold Computing",\n  "_smbver": "3.1"\n}\n'))

    def test_manual_page_names_every_name_as_names_lists_it(self):
        _, out, _ = run("--names")
        listed = [tuple(line.split(None, 1)) for line in out.splitlines()]
        with open(MANUAL) as f:
            page = f.read().split(".SH NAMES\n", 1)[1].split("\n.SH ", 1)[0]
        rows = page.split(".TP\n")[1:]
        self.assertEqual([tuple(row.replace(".B ", "", 1).rstrip("\n").split("\n")) for row in rows], listed)


if __name__ == "__main__":
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    TARNWICK, CORPUS, MANUAL = (os.path.abspath(a) for a in sys.argv[1:4])
    unittest.main(argv=[sys.argv[0], *sys.argv[4:]], verbosity=1)
