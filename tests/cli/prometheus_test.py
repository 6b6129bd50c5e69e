"""prometheus_test.py TARNWICK CORPUS_DIR: tarnwick --prometheus against promtool, dmidecode, node_exporter and
Prometheus (Debian's; installed here when missing and run as root, else a failure). Servers started are stopped."""
import collections
import contextlib
import functools
import json
import os
import re
import shutil
import socket
import struct
import subprocess
import sys
import tempfile
import time
import unittest
import urllib.parse
import urllib.request

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [HERE, os.path.join(HERE, "..", "support")]
import where_users_meet as kernel  # noqa: E402  the kernel's rules for /sys/class/dmi/id
from end_to_end import HANG_GUARD_S, corpus_file, corpus_names, dmidecode_program, read_bytes, service_table  # noqa
import end_to_end  # noqa: E402

TARNWICK = CORPUS = None
NODE_EXPORTER = "prometheus-node-exporter"
# node_dmi_info's labels (the kernel's files) and the variables that read the same fields.
LABELS = dict(zip(
    "bios_date bios_release bios_vendor bios_version board_asset_tag board_name board_serial board_vendor "
    "board_version chassis_asset_tag chassis_serial chassis_vendor chassis_version product_family product_name "
    "product_serial product_sku product_uuid product_version system_vendor".split(),
    "_smbbiosdate _smbbiosrev _smbbiosvendor _smbbiosversion _smbbbassettag _smbbbproduct _smbbbserial _smbbbmfg "
    "_smbbbversion _smbchassistag _smbchassisserial _smbchassismfg _smbchassisversion _smbfamily _smbproduct "
    "_smbserial _smbsku _smbuuid _smbsysversion _smbmfg".split()))
MORE_LABELS = {"chassis_type": "_smbchassistype", "smbios_version": "_smbver"}
MODULE_LABELS = dict(locator="Locator", bank_locator="Bank Locator", manufacturer="Manufacturer",
                     serial_number="Serial Number", part_number="Part Number", memory_type="Type",
                     form_factor="Form Factor").items()


def setUpModule():
    tools = {"promtool": "prometheus", "prometheus": "prometheus", NODE_EXPORTER: "prometheus-node-exporter"}
    if (missing := {package for tool, package in tools.items() if not shutil.which(tool)}) and os.geteuid() == 0:
        subprocess.run("apt-get update -qq && apt-get install -y -qq --no-install-recommends " + " ".join(missing),
                       shell=True, check=True, timeout=900, env=dict(os.environ, DEBIAN_FRONTEND="noninteractive"))
    if not all(map(shutil.which, tools)):
        raise AssertionError(f"{missing} missing: run scripts/setup.sh --tests as root")


run = functools.partial(end_to_end.tarnwick, errors="strict")  # (exit status, stdout text, stderr text)


def series(text, name):
    unescape = functools.partial(re.sub, r"\\(.)", lambda m: "\n" if m[1] == "n" else m[1])
    return [({k: unescape(v) for k, v in re.findall(r'(\w+)="((?:[^"\\]|\\.)*)"', labels)}, float(value))
            for labels, value in (line[len(name):].rsplit(" ", 1) for line in text.splitlines()
                                  if line.startswith(name + "{"))]


def label_value(text):
    # A variable's answer (N/A: a placeholder or nothing) as a label: the bytes as UTF-8, trimmed.
    return "" if text in (None, "N/A") else text.encode("latin-1").decode("utf-8", "replace").strip()


def fetch(url):
    with urllib.request.urlopen(url, timeout=HANG_GUARD_S) as response:
        return response.read().decode()


def wait_for(what, probe):
    deadline = time.monotonic() + HANG_GUARD_S
    while time.monotonic() < deadline:
        with contextlib.suppress(OSError):
            if result := probe():
                return result
        time.sleep(0.2)
    raise AssertionError(f"{what}: timed out after {HANG_GUARD_S} s")


def free_port():
    with socket.create_server(("127.0.0.1", 0)) as s:
        return s.getsockname()[1]


@contextlib.contextmanager
def server(*command, log):
    process = subprocess.Popen(command, stdout=log, stderr=subprocess.STDOUT)
    try:
        yield process
    finally:
        process.terminate()
        process.wait(timeout=HANG_GUARD_S)


def crafted_table():
    """Strings that test the label form (bytes that are no UTF-8, white space, quotes, line feeds); 3.3's speeds."""
    def structure(type_, length, fields, *strings):
        data = bytearray([type_, length, type_, 1]) + bytes(length - 4)
        for offset, value in fields.items():
            data[offset:offset + len(value)] = value
        return bytes(data) + b"".join(s + b"\0" for s in strings) + b"\0" * (1 + (not strings))
    table = structure(0, 0x18, {4: b"\1\2", 8: b"\3", 0x14: b"\2\7\xff\xff"}, b"Tarnwick\\Firmware", b'"quoted"',
                      b"07/12/2026")
    table += structure(1, 0x1B, {4: b"\1\2\3\4", 8: bytes.fromhex("3c7a51e2940b6f4da1285ec307d4198b"), 0x19: b"\5\6"},
                       b"  Brackenfold\xc2\xa0", b"A\xe9\xe8B \xe2\x82", b"line\nfeed", b"To Be Filled By O.E.M.",
                       b"\tSKU 1 ", b"Family")
    table += structure(3, 9, {4: b"\1\x97"}, b"Chassis Maker")
    for n, size, extended, speed in ((0, 0x2000, 0, 0x80001F40), (1, 0x7FFF, 0x8000, 3200), (2, 0, 0, 0)):
        table += structure(17, 0x5C, {0x0C: struct.pack("<H", size), 0x0E: b"\x09", 0x10: b"\1\2\x1a", 0x17: b"\3",
                                      0x15: struct.pack("<H", min(speed, 0xFFFF)), 0x1C: struct.pack("<I", extended),
                                      0x54: struct.pack("<I", speed)}, b"DIMM %d" % n, b"BANK %d" % n, b"Maker")
    table += b"\x7f\x04\xff\xff\0\0"
    return struct.pack("<BBBBI", 0, 3, 3, 0, len(table)) + table


class OnEveryCorpusTable(unittest.TestCase):
    def test_promtool_accepts_it_labels_equal_real_variables_and_modules_equal_dmidecodes(self):
        tables = corpus_names()
        self.assertGreater(len(tables), 50)
        for table in tables:
            dump = corpus_file(table, ".dump")
            status, out, err = run("--from-dump", dump, "--prometheus")
            self.assertEqual((status, err), (0, ""), table)
            check = end_to_end.run(["promtool", "check", "metrics"], input=out.encode(), capture_output=True)
            self.assertEqual((check.returncode, check.stdout + check.stderr), (0, b""), table)
            real = json.loads(run("--from-dump", dump, "--real", "--json", *LABELS.values(),
                                  *MORE_LABELS.values(), "_smbmemory", "_smbcpucount", "_smbcores", "_smbthreads")[1])
            service = read_bytes(corpus_file(table, ".rsmb"))
            texts = {name: text for name, (text, _) in kernel.kernel_files(service_table(service),
                                                                           tuple(service[1:3]))[0].items()}
            [(dmi, _)] = series(out, "tarnwick_dmi_info")
            for label, variable in {**LABELS, **MORE_LABELS}.items():
                # One difference: for FFh FFh the kernel writes no bios_release; the variable says 255.255.
                expected = label_value(real[variable]) if real[variable] != "255.255" else ""
                self.assertEqual(dmi[label], expected.lower() if label == "product_uuid" else expected, table + label)
                if expected and label in LABELS:  # and what node_exporter reads from the kernel's file
                    text = texts.get("sys_vendor" if label == "system_vendor" else label, b"")
                    self.assertEqual(dmi[label], label_value(text.decode("latin-1")), table + label)
            decoded = end_to_end.run([dmidecode_program(), "--from-dump", dump, "-t", "17"],
                                     capture_output=True).stdout.decode("latin-1")
            devices = {block["handle"]: block for block in (dict([("handle", text.split(",")[0])] + re.findall(
                r"\n\t([^:\n]+): (.*)", text)) for text in decoded.split("\nHandle ")[1:])
                if block["Size"] not in ("No Module Installed", "Unknown")}
            sizes = series(out, "tarnwick_memory_device_size_bytes")
            modules = series(out, "tarnwick_memory_device_info")
            self.assertEqual((len(modules), len(sizes), all(v == 1 for _, v in modules)), (len(devices),) * 2 + (True,))
            self.assertEqual(sum(v for _, v in sizes), int(real["_smbmemory"].replace("N/A", "0")) * 2**20, table)
            for labels, _ in modules:  # as dmidecode decodes them, where the label is not empty
                want = {k: devices[labels["handle"]].get(name, "").strip().lower() for k, name in MODULE_LABELS}
                self.assertEqual({k: labels[k].lower() for k in want if labels[k]},
                                 {k: v for k, v in want.items() if labels[k]}, table)
            self.assertEqual([(labels["handle"], f"{v:.0f} MT/s") for labels, v in series(
                out, "tarnwick_memory_device_speed_mts")], [(handle, d["Speed"]) for handle, d in devices.items()
                                                            if d.get("Speed", "Unknown") != "Unknown"])
            for name, variable in (("info", "_smbcpucount"), ("cores", "_smbcores"), ("threads", "_smbthreads")):
                values = [v for _, v in series(out, "tarnwick_processor_" + name)]
                self.assertEqual(len(values) if name == "info" else sum(values),
                                 int(real[variable].replace("N/A", "0")), table + name)
            found = collections.Counter((f["kind"], f["severity"]) for f in json.loads(run(
                "--from-dump", dump, "--check", "--json")[1]))
            self.assertEqual({(labels["kind"], labels["severity"]): v for labels, v in series(
                out, "tarnwick_check_findings") if v}, found, table)


class WithoutRoot(unittest.TestCase):
    def test_the_folder_of_dmi_files_gives_its_labels_and_the_root_only_ones_stay_empty(self):
        path = corpus_file("dell-poweredge-r730", ".rsmb")
        with tempfile.TemporaryDirectory() as root:
            kernel.make_folder(service_table(read_bytes(path)), f"{root}/class/dmi/id")
            status, out, err = run("--sysfs", root, "--prometheus")
        self.assertEqual((status, err.count("answers come from")), (0, 1), err)
        [(dmi, _)] = series(out, "tarnwick_dmi_info")
        [(from_table, _)] = series(run("--from-dump", path, "--prometheus")[1], "tarnwick_dmi_info")
        unread = {name for name, *_ in kernel.ROOT_FILES} | {"smbios_version"}
        self.assertEqual({k: ("" if k in unread else v) for k, v in from_table.items()}, dmi)
        self.assertNotIn("tarnwick_check_findings", out)  # the files are not the machine's table to check


class Recipes(unittest.TestCase):
    def test_readmes_lines_leave_the_whole_file_or_none(self):
        pages = "".join(read_bytes(os.path.join(HERE, "..", "..", page)).decode()
                        for page in ("README.md", "docs/prometheus.md"))
        # README's crontab line and the page's are one; the page adds the systemd service.
        lines = set(re.findall(r"^17 \* \* \* \* (.*)$|^ExecStart=/bin/sh -c '(.*)'$", pages, re.M))
        self.assertEqual(len(lines), 2)
        for command, options, files in [(c or e, o, f) for c, e in lines for o, f in (("--sysfs /none", []), (
                "--sample", ["tarnwick.prom"]))]:
            with self.subTest(command=command, options=options), tempfile.TemporaryDirectory() as work:
                os.mkdir(f"{work}/textfiles")
                with open(f"{work}/tarnwick", "w") as wrapper:  # the tarnwick on PATH, with a table or none
                    wrapper.write(f'#!/bin/sh\nexec {TARNWICK} {options} "$@"\n')
                os.chmod(wrapper.name, 0o755)
                subprocess.run(["sh", "-c", command.replace("/var/lib/prometheus/node-exporter", f"{work}/textfiles")],
                               env=dict(os.environ, PATH=f"{work}:{os.environ['PATH']}"), capture_output=True,
                               timeout=HANG_GUARD_S)
                self.assertEqual(os.listdir(f"{work}/textfiles"), files)
                if files:
                    self.assertEqual(read_bytes(f"{work}/textfiles/{files[0]}").decode(),
                                     run("--sample", "--prometheus")[1])


class ServedByNodeExporterAndPrometheus(unittest.TestCase):
    def test_node_exporter_serves_the_file_as_its_own_dmi_info_and_prometheus_answers_queries(self):
        with tempfile.TemporaryDirectory() as work:
            textfiles, folder = os.path.join(work, "textfiles"), os.path.join(work, "sys", "class", "dmi", "id")
            os.makedirs(textfiles)
            with open(os.path.join(work, "crafted.rsmb"), "wb") as f:
                f.write(service := crafted_table())
            status, text, _ = run("--from-dump", f.name, "--prometheus")
            kernel.make_folder(service_table(service), folder, (3, 3), root_mode=0o444)  # node_exporter reads all
            with open(os.path.join(textfiles, ".tarnwick.prom.tmp"), "w") as out:  # written, then renamed
                out.write(text)
            os.rename(out.name, os.path.join(textfiles, "tarnwick.prom"))
            [(dmi, _)] = series(text, "tarnwick_dmi_info")
            self.assertEqual((status, dmi["product_name"], dmi["system_vendor"], dmi["product_serial"]),
                             (0, "A\ufffdB \ufffd", "Brackenfold", ""))
            self.assertEqual([v for _, v in series(text, "tarnwick_memory_device_speed_mts")], [8000, 3200])
            self.assertEqual([(m["memory_type"], m["form_factor"]) for m, _ in series(text, "tarnwick_memory_device_info")],
                             [("DDR4", "DIMM")] * 2)
            node, port = free_port(), free_port()
            with open(os.path.join(work, "prometheus.yml"), "w") as config:
                config.write("global: {scrape_interval: 1s}\nscrape_configs: [{job_name: node, static_configs: "
                             f"[{{targets: ['127.0.0.1:{node}']}}]}}]\n")
            with open(os.path.join(work, "log"), "w") as log, server(
                    NODE_EXPORTER, f"--web.listen-address=127.0.0.1:{node}", "--collector.disable-defaults",
                    "--collector.dmi", f"--path.sysfs={work}/sys", "--collector.textfile",
                    f"--collector.textfile.directory={textfiles}", log=log), server(
                    "prometheus", f"--config.file={config.name}", f"--storage.tsdb.path={work}/data",
                    f"--web.listen-address=127.0.0.1:{port}", log=log):
                scraped = wait_for("node_exporter", lambda: fetch(f"http://127.0.0.1:{node}/metrics"))
                self.assertIn("\nnode_textfile_scrape_error 0\n", scraped)
                self.assertEqual(series(scraped, "tarnwick_dmi_info"), [(dmi, 1)])
                [(node_dmi, _)] = series(scraped, "node_dmi_info")  # its own reading, as ours: the two join
                self.assertEqual({k: node_dmi.get(k) for k in LABELS if dmi[k]}, {k: dmi[k] for k in LABELS if dmi[k]})
                query = lambda expression: json.loads(fetch(  # noqa: E731
                    f"http://127.0.0.1:{port}/api/v1/query?" + urllib.parse.urlencode(
                        {"query": expression})))["data"]["result"]
                [answer] = wait_for("Prometheus's first scrape", lambda: query("tarnwick_dmi_info"))
                self.assertEqual({k: v for k, v in answer["metric"].items() if k in dmi},
                                 {k: v for k, v in dmi.items() if v})
                self.assertEqual(query("sum(tarnwick_memory_device_size_bytes)")[0]["value"][1], str(40 * 2**30))
                self.assertEqual(query("node_textfile_scrape_error")[0]["value"][1], "0")


if __name__ == "__main__":
    end_to_end.main(__doc__, "TARNWICK", "CORPUS")
