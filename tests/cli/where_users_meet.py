"""where_users_meet.py TARNWICK CORPUS_DIR MANUAL_PAGE: tarnwick without root, without a table, in help, in
Ansible's facts."""
import functools
import json
import os
import pathlib
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from end_to_end import corpus_file, corpus_names, need, read_bytes, service_table  # noqa: E402
import end_to_end  # noqa: E402

TARNWICK = CORPUS = MANUAL = None

# The files of /sys/class/dmi/id as drivers/firmware/dmi_scan.c fills them: name, structure type,
# offset, kind (s: string, t: chassis type, r: release, major and minor, u: UUID); the world-readable
# ones, then those for root only.
KERNEL_FILES, ROOT_FILES = ([(name, int(type_), int(offset, 16), kind) for name, type_, offset, kind in (
    row.split() for row in rows.split(";"))] for rows in ("""
    bios_vendor 0 4 s; bios_version 0 5 s; bios_date 0 8 s; bios_release 0 14 r; ec_firmware_release 0 16 r;
    sys_vendor 1 4 s; product_name 1 5 s; product_version 1 6 s; product_sku 1 19 s; product_family 1 1A s;
    board_vendor 2 4 s; board_name 2 5 s; board_version 2 6 s; board_asset_tag 2 8 s; chassis_vendor 3 4 s;
    chassis_type 3 5 t; chassis_version 3 6 s; chassis_asset_tag 3 8 s""",
    "product_serial 1 7 s; board_serial 2 7 s; chassis_serial 3 7 s; product_uuid 1 8 u"))
RUN_AS_ROOT = "" if os.geteuid() == 0 else "; run as root"  # said only to a user who is not


run = functools.partial(end_to_end.tarnwick, errors="replace")  # (exit status, stdout text, stderr text)


def structures(table):
    """(type, length, the bytes from the structure on, strings) in table order."""
    at = 0
    while at + 4 <= len(table) and table[at + 1] >= 4 and (end := table.find(b"\0\0", at + table[at + 1])) >= 0:
        length = table[at + 1]
        yield table[at], length, table[at:], table[at + length:end].split(b"\0") if end > at + length else []
        at = len(table) if table[at] == 127 else end + 2


def kernel_text(kind, length, data, strings, offset, version=None):
    """What the kernel writes for one field of one structure; None: it looks at the next."""
    if kind == "u":  # dmi_save_uuid: not all 00h or FFh; from SMBIOS 2.6 on the first three fields little-endian
        uuid = data[offset:offset + 16]
        if length < offset + 16 or uuid in (b"\0" * 16, b"\xff" * 16):
            return None
        order = [3, 2, 1, 0, 5, 4, 7, 6, *range(8, 16)] if version >= (2, 6) else range(16)
        digits = bytes(uuid[i] for i in order).hex().encode()
        return b"-".join((digits[:8], digits[8:12], digits[12:16], digits[16:20], digits[20:]))
    if kind == "r":  # dmi_save_release tests the length against the minor byte's offset
        return None if length < offset + 1 or data[offset:offset + 2] == b"\xff\xff" else b"%d.%d" % (
            data[offset], data[offset + 1])
    if length <= offset or kind == "t":
        return None if length <= offset else b"%d" % (data[offset] & 0x7F)
    text = strings[data[offset] - 1] if 0 < data[offset] <= len(strings) else b""
    return b"" if text.strip(b" ") == b"" else text


def kernel_files(table, version=None):
    """The files the kernel makes of `table`, {name: (text, for root only)}, those for root too when the table's
    SMBIOS `version` (major, minor) is given; and where the kernel's rules lose information."""
    every, files, losses = list(structures(table)), {}, []
    version = {(2, 31): (2, 3), (2, 33): (2, 3), (2, 51): (2, 6)}.get(version, version)  # as the kernel mends them
    for row in KERNEL_FILES + (ROOT_FILES if version else []):
        name, type_, offset, kind = row
        for position, (_, length, data, strings) in enumerate(s for s in every if s[0] == type_):
            text = kernel_text(kind, length, data, strings, offset, version)
            if text is not None:
                files[name] = text, row in ROOT_FILES
                losses += [f"{name}: from structure {position + 1}, the first too short"] * (position > 0)
                losses += [f"{name}: minor byte past the structure"] * (kind == "r" and length == offset + 1)
                losses += [f"{name}: blanks only"] * (kind == "s" and text == b"" and 0 < data[offset] <= len(strings))
                break
    return files, losses


def make_folder(table, folder, version=None, root_mode=0o400):
    """Lays out `folder` as the kernel does from `table` (see kernel_files); returns where information is lost."""
    os.makedirs(folder, exist_ok=True)
    files, losses = kernel_files(table, version)
    for name, (text, for_root) in files.items():
        pathlib.Path(folder, name).write_bytes(text + b"\n")
        os.chmod(os.path.join(folder, name), root_mode if for_root else 0o444)
    return losses


class WithoutRoot(unittest.TestCase):
    def test_every_answer_from_the_folder_is_the_tables_on_every_corpus_table(self):
        variables = [line.split()[0] for line in run("--names")[1].splitlines() if line.startswith("_")]
        tables = corpus_names()
        answered, lost, unexplained = 0, [], []
        for table in tables:
            service = read_bytes(path := corpus_file(table, ".rsmb"))
            with tempfile.TemporaryDirectory() as root:
                folder = os.path.join(root, "class", "dmi", "id")
                losses = make_folder(service_table(service), folder, (service[1], service[2]))
                status, out, err = run("--sysfs", root, "--json", *variables)
                real = json.loads(run("--sysfs", root, "--json", *("@smbreal[%s]" % v for v in variables))[1])
                report, report_lines = run("--sysfs", root, "--json"), run("--sysfs", root)
            self.assertEqual(status, 1, err)
            lines, from_folder = err.splitlines(), json.loads(out)
            # The report: what can be read, status 0, the names without value said once; a line for each.
            need_table = ", ".join(name for name in variables if from_folder[name] is None)
            self.assertEqual((report[0], json.loads(report[1]), report[2].splitlines()[1:]), (0, from_folder, [
                f"tarnwick: {need_table}: need the SMBIOS table, which {folder} does not give{RUN_AS_ROOT}"]))
            self.assertEqual([line.split()[0] for line in report_lines[1].splitlines()], variables)
            from_table = json.loads(run("--from-dump", path, "--json", *variables)[1])
            self.assertEqual(lines[0], f"tarnwick: no SMBIOS table: {root}/firmware/dmi/tables/DMI does not exist; "
                                       f"answers come from {folder}")
            for name in variables:
                self.assertEqual(real["@smbreal[%s]" % name] is None, from_folder[name] is None, name)
                if from_folder[name] is None:
                    self.assertIn(f"tarnwick: {name}: needs the SMBIOS table, which {folder} does not give"
                                  + RUN_AS_ROOT, lines)
                    continue
                answered += 1
                if from_folder[name] != from_table[name]:
                    blanks = from_table[name].strip(" ") == ""
                    explained = any(("blanks" in loss) == blanks for loss in losses)
                    (lost if explained else unexplained).append(
                        f"{table} {name}: table {from_table[name]!r}, folder {from_folder[name]!r}")
            self.assertEqual((from_folder["_smbmfg"] is None, from_folder["_smbcores"]), (False, None), table)
        print(f"\n{len(tables)} tables, {answered} answers from the folder; {len(lost)} differ where the "
              "kernel's rules lose information:", *lost, sep="\n  ")
        self.assertEqual(unexplained, [])


DMI_MEMORY_ID = "/lib/udev/dmi_memory_id"  # Debian's udev
MEMORY_CALLS = ["_smbmemory", "@smbcount[17]", "@smbbyte[17,0x0E]", "@smbbyte[17,0x12]", "@smbword[17,0x15]",
                "@smbword[17,0x0C]", "@smbhandle[17,1]", "@smbstring[17,0x10]"]  # the last three: udev cannot tell


def memory_series(exposition):
    """--prometheus's memory device series without their handle, which udev does not give."""
    return sorted(re.sub(r'handle="[^"]*",', "", line) for line in exposition.splitlines()
                  if line.startswith("tarnwick_memory_device"))


class UdevMemory(unittest.TestCase):
    def test_memory_devices_from_udevs_database_answer_as_the_table_on_every_corpus_table(self):
        need(os.path.exists(DMI_MEMORY_ID), f"{DMI_MEMORY_ID} (Debian's udev)")
        for table in corpus_names():
            dump = corpus_file(table, ".dump")
            properties = end_to_end.run([DMI_MEMORY_ID, "-F", dump], capture_output=True, check=True).stdout
            with tempfile.TemporaryDirectory() as root:
                os.chmod(root, 0o755)
                tarnwick = shutil.copy(TARNWICK, root)  # where nobody may run it too
                os.makedirs(udev := os.path.join(root, "udev"))
                # As udev keeps a device's properties: one "E:" line each among its other records.
                pathlib.Path(udev, "+dmi:id").write_bytes(b"I:1\n" + re.sub(rb"(?m)^(?=.)", b"E:", properties))
                users = [[], ["runuser", "-u", "nobody", "--"]] if os.geteuid() == 0 else [[]]
                runs = [end_to_end.run([*user, tarnwick, "--sysfs", root, "--udev-data", udev, *mode], text=True,
                                       capture_output=True) for mode in (["--json", *MEMORY_CALLS], ["--prometheus"],
                                                                         ["--list", "17"], ["--decode", "17", "--json"],
                                                                         ["--decode"]) for user in users]
            outputs = [(done.stdout, done.stderr) for done in runs]
            self.assertEqual(outputs[::len(users)], outputs[len(users) - 1::len(users)], table)  # root's, nobody's
            done, exposition, listed, decoded, decoded_text = (runs[mode * len(users)] for mode in range(5))
            listed = listed.stdout.splitlines()
            if not properties:
                self.assertEqual(done.returncode, 2, table)  # no file, no memory: nothing answers
                continue
            from_udev = json.loads(done.stdout)
            from_table = json.loads(run("--from-dump", dump, "--json", *MEMORY_CALLS)[1])
            self.assertIn(f"answers come from {udev}/+dmi:id", done.stderr.splitlines()[0])
            self.assertEqual([from_udev[call] for call in MEMORY_CALLS[-3:]], [None] * 3, table)
            for call in MEMORY_CALLS[:-3]:
                self.assertIn(from_udev[call], (None, from_table[call]), f"{table} {call}")
            self.assertIn(from_udev["@smbcount[17]"], (None, str(len(listed))), table)  # --list 17: the devices
            self.assertEqual(memory_series(exposition.stdout),
                             memory_series(run("--from-dump", dump, "--prometheus")[1]), table)
            # --decode: each field udev gives is the table's, stored and read (a string's text as dmi_memory_id
            # strips it, and "Not Specified" may be string 0); no other.
            devices, from_dump = json.loads(decoded.stdout), json.loads(run("--from-dump", dump, "--json", "--decode",
                                                                             "17")[1])
            self.assertEqual((decoded_text.returncode, decoded_text.stdout.count("\nHandle 0x") + 1), (0, len(listed)))
            for device in devices:
                fields = {field["offset"]: field for field in from_dump[device["handle"] - 0xFF00]["fields"]}
                for field in device["fields"]:
                    expected = fields[field["offset"]]
                    if not isinstance(expected["value"], int):
                        expected = {**field, "text": expected["text"].strip()}
                    self.assertEqual(field, expected, f"{table} {device['handle']:04X} {field['name']}")


class BadFiles(unittest.TestCase):
    def test_one_bad_file_costs_only_the_names_it_feeds_and_is_named(self):
        def text(value):  # a file as the kernel writes it, with its line feed
            return lambda path: pathlib.Path(path).write_text(value + "\n")
        files = {"sys_vendor": "Maker", "product_name": "Q7", "chassis_type": "3", "chassis_vendor": "Case Co"}
        answers = {"_smbmfg": "Maker", "_smbproduct": "Q7", "_smbchassistype": "Desktop", "_smbbox": "D",
                   "_smbchassismfg": "Case Co"}
        # Root reads a file of mode 000; without the capabilities that let it, it reads as a user does.
        as_user = ["setpriv", "--bounding-set=-dac_override,-dac_read_search"] if os.geteuid() == 0 else []
        cases = [  # (file, how it is bad, the names it costs, why)
            ("chassis_type", text("999"), ["_smbchassistype", "_smbbox"], "not a chassis type"),
            ("chassis_type", text("abc"), ["_smbchassistype", "_smbbox"], "not a chassis type"),
            ("product_name", os.mkdir, ["_smbproduct"], "not a regular file"),
            ("product_name", lambda p: os.symlink("/dev/zero", p), ["_smbproduct"], "not a regular file"),
            ("product_name", os.mkfifo, ["_smbproduct"], "not a regular file"),  # no writer: never waited for
            ("sys_vendor", text("Ma\0ker"), ["_smbmfg"], "a NUL byte"),
            ("product_name", lambda p: (text("Q7")(p), os.chmod(p, 0)), ["_smbproduct"], "Permission denied"),
        ]
        for file, spoil, lost, why in cases:
            with self.subTest(file=file, why=why), tempfile.TemporaryDirectory() as root:
                os.makedirs(folder := os.path.join(root, "class", "dmi", "id"))
                for name, value in files.items():
                    (spoil if name == file else text(value))(os.path.join(folder, name))
                done = end_to_end.run([*as_user, TARNWICK, "--sysfs", root, "--json", *answers], capture_output=True)
                self.assertEqual((done.returncode, json.loads(done.stdout)),
                                 (1, {name: None if name in lost else value for name, value in answers.items()}))
                self.assertIn(f"tarnwick: {folder}/{file}: ", done.stderr.decode().splitlines()[1])
                self.assertIn(why, done.stderr.decode().splitlines()[1])


class Messages(unittest.TestCase):
    def test_one_cause_one_line_and_the_advice_only_where_it_helps(self):
        with tempfile.TemporaryDirectory() as root:
            no_table = f"tarnwick: no SMBIOS table: {root}/firmware/dmi/tables/DMI does not exist"
            use = "use --sample or --from-dump FILE\n"
            self.assertEqual(run("--sysfs", root, "_smbmfg"), (2, "", f"{no_table}; {use}"))
            status, out, err = run("--sysfs", root, "--help-name", "@SMBCOUNT")
            self.assertEqual((status, out.split(" \r\n\n")[0], err), (0, "@SMBCOUNT[type]", ""))
            os.makedirs(tables := os.path.join(root, "firmware", "dmi", "tables"))  # a DMI file of 3 GiB, sparse
            entry = bytearray(b"_SM3_\0\x18\x03\x02\0\x01\0\xff\xff\xff\xff" + bytes(8))
            entry[5] = -sum(entry) & 0xFF
            pathlib.Path(tables, "smbios_entry_point").write_bytes(entry)
            with open(os.path.join(tables, "DMI"), "wb") as dmi:
                dmi.truncate(3 << 30)
            self.assertEqual(run("--sysfs", root, "_smbmfg"), (2, "", (
                f"tarnwick: {tables}/DMI: larger than any SMBIOS table (16 MiB)\n")))
            shutil.rmtree(tables)
            os.makedirs(folder := os.path.join(root, "class", "dmi", "id"))  # a folder without a file is no source
            self.assertEqual(run("--sysfs", root, "_smbmfg"), (2, "", f"{no_table}, and {folder} holds no file; {use}"))
            pathlib.Path(folder, "sys_vendor").write_text("Maker\n")
            for option in ("--list", "--decode"):  # from the folder alone: no structure as the table holds it
                self.assertEqual(run("--sysfs", root, option)[2].splitlines()[1],
                                 f"tarnwick: {option} needs the SMBIOS table, which {folder} does not give")
            # The table there for root alone: to a user who is not root, the advice.
            os.makedirs(tables := os.path.join(root, "firmware", "dmi", "tables"))
            pathlib.Path(tables, "DMI").write_bytes(b"")
            os.chmod(os.path.join(tables, "DMI"), 0)
            os.chmod(root, 0o755)
            as_user = ["runuser", "-u", "nobody", "--"] if os.geteuid() == 0 else []
            done = end_to_end.run([*as_user, TARNWICK, "--sysfs", root, "_smbcores"], capture_output=True, text=True)
            self.assertEqual(done.stderr.splitlines()[1], f"tarnwick: _smbcores: needs the SMBIOS table, which "
                                                          f"{folder} does not give; run as root")

    def test_manual_page_and_names_page_name_every_name_as_names_lists_it(self):
        with open(MANUAL) as f:
            page = f.read().split(".SH NAMES\n", 1)[1].split("\n.SH ", 1)[0]
        listed = [line.split(None, 1) for line in run("--names")[1].splitlines()]
        self.assertEqual([row.replace(".B ", "", 1).split("\n")[:2] for row in page.split(".TP\n")[1:]], listed)
        # Its OPTIONS: each option --help shows, under a heading of its own.
        with open(MANUAL) as f:
            options = f.read().split(".SH OPTIONS\n", 1)[1].split("\n.SH ", 1)[0].replace("\\-", "-")
        headings = re.findall(r"(?m)^\.TP\n(.*)", options)
        self.assertEqual(sorted(o for line in headings for o in re.findall(r"(?<![\w-])--?[a-z][-a-z]*", line)),
                         sorted(o for line in re.findall(r"(?m)^  (-\S+)", run("--help")[1]) for o in line.split(",")))
        # docs/names.md: a row per variable, in the list's order, and a call of each function.
        with open(os.path.join(os.path.dirname(__file__), "..", "..", "docs", "names.md")) as f:
            rows = re.findall(r"(?m)^\| `([_@][a-z]+)[\[`]", f.read())
        variables = [name for name, _ in listed if name.startswith("_")]
        functions = {name.split("[")[0] for name, _ in listed if name.startswith("@")}
        self.assertEqual(([row for row in rows if row.startswith("_")], set(rows) - set(variables)),
                         (variables, functions))


# The variables that the world-readable files do not give.
NEED_ROOT = set("""_smbbbserial _smbchassis _smbchassislock _smbchassisserial _smbcores _smbcpuclock _smbcpucount
    _smbcpumfg _smbcpusocket _smbcpuspeed _smbcpuversion _smbmemory _smbserial _smbthreads _smbuuid _smbver""".split())
USER = "tarnwick-facts"  # made where there is none, for the facts of a user without root


def readme_fact_file():
    """The fact file README.md gives, as it stands there."""
    with open(os.path.join(os.path.dirname(__file__), "..", "..", "README.md")) as readme:
        return readme.read().split("facts.d/tarnwick.fact >/dev/null <<'EOF'\n", 1)[1].split("\nEOF\n", 1)[0]


class Ansible(unittest.TestCase):
    """README's fact files bring tarnwick's answers into ansible-core's setup module as ansible_local.tarnwick."""

    def facts(self, work, fact_file, user=None, sysfs=None):
        """The fact of `fact_file` (its text), run by ansible as `user`; `tarnwick` on its PATH reads `sysfs`."""
        os.makedirs(facts := os.path.join(work, "facts"))
        with open(fact := os.path.join(facts, "tarnwick.fact"), "w") as f:
            f.write(fact_file + "\n")
        os.chmod(fact, 0o755)
        os.makedirs(bin_ := os.path.join(work, "bin"))
        tarnwick = shutil.copy(TARNWICK, work)  # where the user may run it
        pathlib.Path(bin_, "tarnwick").write_text(f'#!/bin/sh\nexec {tarnwick} --sysfs {sysfs} "$@"\n')
        os.chmod(os.path.join(bin_, "tarnwick"), 0o755)
        os.makedirs(home := os.path.join(work, "home"))
        environment = [f"HOME={home}", f"ANSIBLE_LOCAL_TEMP={home}/tmp", f"ANSIBLE_REMOTE_TEMP={home}/tmp",
                       "ANSIBLE_PYTHON_INTERPRETER=auto_silent", f"PATH={bin_}:{os.environ['PATH']}"]
        setup = ["ansible", "localhost", "-m", "ansible.builtin.setup", "-a", f"fact_path={facts} filter=ansible_local"]
        if user:
            shutil.chown(home, user)
        done = end_to_end.run([*(["runuser", "-u", user, "--"] if user else []), "env", *environment, *setup],
                              capture_output=True, text=True)
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
        return json.loads(done.stdout[done.stdout.index("{"):])["ansible_facts"]["ansible_local"]["tarnwick"]

    def test_names_after_json_pick_the_facts(self):
        with tempfile.TemporaryDirectory() as work:
            self.assertEqual(self.facts(work, f"#!/bin/sh\ntarnwick --sample --json _smbuuid '@smbword[4,0x16]' "
                                              "_smbcores; [ $? -le 1 ]", sysfs=work),
                             {"_smbuuid": "E2517A3C-0B94-4D6F-A128-5EC307D4198B", "@smbword[4,0x16]": "3600",
                              "_smbcores": "8"})

    def test_a_user_without_root_gets_what_the_folder_gives_and_null(self):
        need(os.geteuid() == 0, "root, which making a user needs,")
        if subprocess.run(["id", "-u", USER], capture_output=True).returncode != 0:
            end_to_end.run(["useradd", "--system", "--no-create-home", "--shell", "/usr/sbin/nologin", USER], check=True)
            self.addCleanup(end_to_end.run, ["userdel", USER])
        with tempfile.TemporaryDirectory() as work:
            os.chmod(work, 0o755)
            # The sample table as the kernel lays it out: the table for root only, the folder for every user.
            run("--sample", "--dump-bin", dump := os.path.join(work, "sample.dump"))
            with open(dump, "rb") as f:
                table = f.read()[0x20:]
            os.makedirs(tables := os.path.join(work, "sys", "firmware", "dmi", "tables"))
            with open(os.path.join(tables, "DMI"), "wb") as f:
                f.write(table)
            os.chmod(os.path.join(tables, "DMI"), 0o400)
            make_folder(table, os.path.join(work, "sys", "class", "dmi", "id"), (3, 1))
            facts = self.facts(work, readme_fact_file(), USER, f"{work}/sys")
            serial = end_to_end.run(["runuser", "-u", USER, "--", f"{work}/bin/tarnwick", "_smbserial"],
                                    capture_output=True, text=True)
        self.assertEqual((serial.returncode, serial.stdout, serial.stderr.splitlines()[-1][-13:]),
                         (1, "\n", "; run as root"))
        sample = json.loads(run("--sample", "--json")[1])
        errors = facts.pop("errors")
        self.assertEqual(facts, {name: None if name in NEED_ROOT else value for name, value in sample.items()})
        self.assertEqual((len(errors), errors[0]), (2, f"tarnwick: cannot read {work}/sys/firmware/dmi/tables/DMI: "
                                                       f"Permission denied; answers come from {work}/sys/class/dmi/id"))

    def test_a_machine_without_a_table_gets_an_object_of_nulls_and_why(self):
        with tempfile.TemporaryDirectory() as work:
            facts = self.facts(work, readme_fact_file(), sysfs=work)
        sample = json.loads(run("--sample", "--json")[1])
        self.assertEqual(facts, {**dict.fromkeys(sample), "errors": [f"tarnwick: no SMBIOS table: {work}/firmware/dmi/"
                                                                      "tables/DMI does not exist; use --sample or "
                                                                      "--from-dump FILE"]})


if __name__ == "__main__":
    end_to_end.main(__doc__, "TARNWICK", "CORPUS", "MANUAL")
