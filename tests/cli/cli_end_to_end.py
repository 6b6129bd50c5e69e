"""Runs the built tarnwick as a process and checks what it writes and how it exits.

Usage: cli_end_to_end.py TARNWICK CORPUS_DIR [unittest arguments]

Outside CI a test that needs dmidecode or the corpus of real tables skips when
they are missing; with CI=true it fails instead.
"""
import json
import os
import re
import struct
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from end_to_end import TempDir, corpus_file, corpus_names, dmidecode_program, need, read_bytes  # noqa: E402
import end_to_end  # noqa: E402

TARNWICK = CORPUS = None
run = end_to_end.tarnwick  # (exit status, stdout bytes, stderr bytes)

SAMPLE_REPORT = {
    "_smbassettag": "TW-ASSET-00417",
    "_smbbbassettag": "BB-0042",
    "_smbbbmfg": "Brackenfold Computing",
    "_smbbbproduct": "QB-770",
    "_smbbbserial": "QB770-2511-2291",
    "_smbbbversion": "1.03",
    "_smbbiosdate": "03/14/2025",
    "_smbbiosrev": "1.42",
    "_smbbiosvendor": "Brackenfold Firmware Works",
    "_smbbiosversion": "BF1.42.0",
    "_smbbox": "D",
    "_smbchassis": "134",
    "_smbchassislock": "Present",
    "_smbchassismfg": "Brackenfold Computing",
    "_smbchassisserial": "BFC7-25-118830",
    "_smbchassistag": "TW-ASSET-00417",
    "_smbchassistype": "Mini Tower",
    "_smbchassisversion": "Q7 chassis v2",
    "_smbcores": "8",
    "_smbcpuclock": "100",
    "_smbcpucount": "1",
    "_smbcpumfg": "Brackenfold Silicon",
    "_smbcpusocket": "SOCKET 0",
    "_smbcpuspeed": "3600",
    "_smbcpuversion": "Brackenfold BX-9 8-Core Processor @ 3.60GHz",
    "_smbecversion": "1.7",
    "_smbfamily": "Quillon",
    "_smbmemory": "32768",
    "_smbmfg": "Brackenfold Computing",
    "_smbproduct": "Quillon Q7 Workstation",
    "_smbserial": "BFQ7-25-004187",
    "_smbsku": "Q7-WS-32G-EU",
    "_smbsysversion": "Rev. B",
    "_smbthreads": "16",
    "_smbuuid": "E2517A3C-0B94-4D6F-A128-5EC307D4198B",
    "_smbver": "3.1",
}
VARIABLES = list(SAMPLE_REPORT)
# Functions whose answers depend only on the table.
TABLE_FUNCTIONS = ["@smbstring[1,4]", "@smbstring[4,0x10]", "@smbbyte[0,0x14]", "@smbword[4,0x16]",
                   "@smbdword[1,8,,1]", "@smbqword[4,8,,1]", "@smbbyte[3,5]", "@smbstring[17,0x10]"]


def structure(kind, handle, formatted, strings=()):
    """A structure's bytes: header, formatted bytes from offset 4, string-set."""
    body = bytes([kind, 4 + len(formatted)]) + struct.pack("<H", handle) + bytes(formatted)
    texts = b"".join(s + b"\0" for s in strings)
    return body + (texts if strings else b"\0") + b"\0"


class Case(TempDir):
    def ok(self, *arguments, **options):
        """tarnwick's standard output, after its exit status 0 and an empty standard error."""
        status, out, err = run(*arguments, **options)
        self.assertEqual((status, err), (0, b""), arguments)
        return out

    def system_table(self, formatted, *strings):
        """A file of one System Information structure (DSP0134 7.2) and the end-of-table structure."""
        return self.write("system.bin", structure(1, 0, formatted, strings) + structure(127, 1, []))


class Names(Case):
    def test_report_lists_every_variable_of_the_sample(self):
        lines = self.ok("--sample").decode().splitlines()
        self.assertEqual([line.split()[0] for line in lines], VARIABLES)
        for line in lines:
            name, value = line[:20].rstrip(), line[20:]
            self.assertEqual(value, SAMPLE_REPORT[name], name)

    def test_each_variable_alone_prints_its_value_and_a_line_feed(self):
        self.assertEqual(self.ok("--sample", *VARIABLES), "".join(SAMPLE_REPORT[v] + "\n" for v in VARIABLES).encode())

    def test_functions_nested_calls_and_names_in_any_case(self):
        def digits(count):  # @randx's answer: count random hexadecimal digits
            return re.compile(f"^[0-9A-F]{{{count}}}\n$".encode())
        cases = [  # (the NAMEs after --sample, exit status, standard output or its pattern, standard error)
            (["@smbword[4,0x16]"], 0, b"3600\n", b""),  # current speed, DSP0134 7.5
            (["@smbword[4,0x16,,1]"], 0, b"0x0e10\n", b""),
            (["@smbword[4,0x16,4]"], 0, b"3600\n", b""),  # by handle
            (["@smbword[4,0x16,5]"], 0, b"N/A\n", b""),  # no such handle
            (["@smbbyte[3,5]"], 0, b"134\n", b""),
            (["@smbdword[16,7]"], 0, b"33554432\n", b""),
            (["@smbqword[4,8,,1]"], 0, b"0xbfebfbff00090a52\n", b""),
            (["@smbstring[1,5]"], 0, b"Quillon Q7 Workstation\n", b""),
            (['@smbstring["2",4,"0x0002"]'], 0, b"Brackenfold Computing\n", b""),
            (["@smbstring[17,0x10,0x12]"], 0, b"DIMM B1\n", b""),
            (["@smbbyte[1,27]"], 0, b"N/A\n", b""),  # past the structure's length
            (["@randx[0]"], 0, b"\n", b""),
            (["@randx"], 0, digits(8), b""), (["@randx[]"], 0, digits(8), b""), (["@randx[16]"], 0, digits(16), b""),
            (["@randx[1024]"], 0, digits(1024), b""),
            (["@randx[" + " " * 8181 + "16]"], 0, digits(16), b""),  # a NAME of 8191 characters passes
            (["@smbword[17,0x0C,@smbhandle[17,2]]"], 0, b"16384\n", b""),  # nested calls run innermost first
            (["@smbstrnum[17,1,@smbhandle[17,@smbcount[17]]]"], 0, b"DIMM B1\n", b""),
            (["@smbstrnum[11,@smbcount[17]]"], 0, b"SLOT-CONF 2xDIMM\n", b""),
            # A failing inner call fails the whole name, and the outer call is not made.
            (["@smbword[17,0x0C,@smbhandle[17,0]]"], 1, b"\n",
             b'Tarnwick plugin: Bad structure number (must be 1 - 65535) "0"\r\n'),
            (["_SMBMFG", "@SmbWord[4,0X16]"], 0, b"Brackenfold Computing\n3600\n", b""),  # names match without case
            (["@randx[\u00e9x]"], 1, b"\n", "Tarnwick plugin: Invalid number: '\u00e9X'\r\n".encode()),  # UTF-8 in and out
        ]
        for names, status, out, err in cases:
            with self.subTest(names[0][:40]):
                got = run("--sample", *names)
                if isinstance(out, re.Pattern):
                    self.assertRegex(got[1], out)
                    out = got[1]
                self.assertEqual(got, (status, out, err))
    def test_failed_name_writes_the_plugins_diagnostic_and_later_names_still_run(self):
        cases = [
            ("@smbbyte[1]", b"Missing offset\r\n"),
            ("@smbword", b"Missing structure type\r\n"),
            ("@smbword[4,255]", b'Bad offset (must be 4 - 254) "255"\r\n'),
            ("@smbbyte[abc,4]", b'Bad structure type "ABC"\r\n'),
            ("@smbbyte[1,4,0x10000]", b'Bad handle (must be 0x0000 - 0xffff) "0X10000"\r\n'),
            ("@randx[abc]", b"Invalid number: 'ABC'\r\n"),
            ("@randx[1025]", b"Number too large: 1025\r\n"),
        ]
        for name, message in cases:
            with self.subTest(name):
                self.assertEqual(run("--sample", name, "_smbmfg"),
                                 (1, b"\nBrackenfold Computing\n", b"Tarnwick plugin: " + message))

    def test_host_refusals_name_the_text_and_the_part_that_failed(self):
        cases = [
            ("_nosuch", "unknown name"), ("@nosuch[1]", 'unknown name "@nosuch"'), ("smbmfg", "unknown name"),
            ("_smbmfg[1]", "a variable takes no argument"),
            ("x@smbcount[17]", 'unknown name "x@smbcount"'),
            ("@smbword[4,@nosuch[1]]", 'unknown name "@nosuch"'),
            ("@smbbyte[1,4", 'the "[" after "@smbbyte" has no closing "]"'),
            ("@smbcount[@smbcount[17]", '"[" without a closing "]" in "@smbcount[17"'),
            ("@smbbyte[1,4]x", 'text after the closing "]": "x"'),
            # A NAME is taken as it is, brackets and commas too, after "--" as before it.
            ("[_smbmfg,_smbproduct]", 'no name before "["'), ("[]", 'no name before "["'),
            ("@randx[" + "@randx[1024]" * 8 + "]", "the argument of @randx is longer than the 8191 characters the host passes"),
            ("@randx[" + " " * 8182 + "16]", "a NAME of 8192 characters; the shell's line holds at most 8191"),
        ]
        for name, reason in cases:
            for separator in ([], ["--"]):
                with self.subTest(name=name[:40], separator=separator):
                    echoed = name if len(name) <= 80 else name[:80] + "..."
                    self.assertEqual(run("--sample", "_smbver", *separator, name),
                                     (1, b"3.1\n\n", f"tarnwick: {echoed}: {reason}\n".encode()))

    def test_a_crafted_system_structure(self):
        table = [  # (formatted bytes, strings, arguments after --from-dump FILE, exit status, stdout, stderr)
            # String bytes 80h-FFh are ISO 8859-1 characters (U+0080-U+00FF).
            ([1, 0, 0, 0], [b"Caf\xe9"], ["_smbmfg"], 0, "Caf\u00e9\n".encode(), b""),
            ([1, 0, 0, 0], [b'a"b\\c\x01\xe9'], ["--json", "_smbmfg"], 0,
             b'{\n  "_smbmfg": "a\\"b\\\\c\\u0001\xc3\xa9"\n}\n', b""),  # JSON's escapes
            ([1, 0, 0, 0], [b'x\ny"\x9b'], ["--list"], 0,  # control characters stay on one line
             b'   0  type   1  length   8  handle 0x0000  System Information  1:"x\\x0ay\\"\\x9b"\n'
             b"   1  type 127  length   4  handle 0x0001  End-of-Table\n", b""),
            # A missing structure leaves the empty buffer.
            ([1] * 23, [b"Maker"], ["_smbmfg", "_smbbbmfg", "_smbbox", "_smbcpuclock"], 0, b"Maker\n\nD\nN/A\n", b""),
        ]
        # The text of the table never runs: an inner result reaches the outer call as it is, never read for calls.
        never_runs = [b"@smbstring[1,4]", b"@randx[8]", b"@smbstring[1,6]@smbstring[1,6]"]
        for name, message in [("@smbcount[@smbstring[1,4]]", b'Bad structure type "@SMBSTRING[1"'),
                              ("@smbcount[@smbstring[1,6]]", b'Bad structure type "@SMBSTRING[1"'),
                              ("@smbstring[1,@smbstring[1,5]]", b'Bad offset "@RANDX[8]"')]:
            table.append(([1, 2, 3, 0], never_runs, [name], 1, b"\n", b"Tarnwick plugin: " + message + b"\r\n"))
        for formatted, strings, arguments, *expected in table:
            with self.subTest(arguments=arguments, strings=strings):
                self.assertEqual(run("--from-dump", self.system_table(formatted, *strings), *arguments), tuple(expected))

    def test_report_of_a_table_without_the_structures(self):
        table = self.write("min.bin", structure(1, 0, []))  # 4 bytes: no field of any variable
        lines = self.ok("--from-dump", table).decode().split("\n")
        self.assertEqual(lines[VARIABLES.index("_smbmfg")], "_smbmfg")  # no trailing blanks
        self.assertEqual(lines[VARIABLES.index("_smbbox")], "_smbbox             D")
        self.assertEqual(lines[VARIABLES.index("_smbver")], "_smbver             N/A")


class ExitStatus(Case):
    def test_answers_and_refusals_keep_their_order_on_one_stream(self):
        done = end_to_end.run([end_to_end.TARNWICK, "--sample", "_smbmfg", "_nosuch", "_smbproduct"],
                              stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        self.assertEqual((done.returncode, done.stdout), (1, b"Brackenfold Computing\ntarnwick: _nosuch: unknown name\n"
                                                             b"\nQuillon Q7 Workstation\n"))

    def test_plugin_that_does_not_load_and_files_too_short_to_try(self):
        junk = self.write("junk.bin", b"\x01\x02\x00\x00\x00\x00")  # length byte 2: not a structure
        tiny, empty = self.write("tiny.bin", b"\x01\x04\x00"), self.write("empty.bin", b"")
        sm3 = bytearray(b"_SM3_\x00\x18\x03\x02\x00\x01\x00" + bytes(4) + struct.pack("<Q", 0x18))  # maximum size 0
        sm3[5] = -sum(sm3) & 0xFF
        no_length = self.write("no-length.dump", bytes(sm3) + structure(1, 0, []) + structure(127, 1, []))
        cases = [  # (FILE, standard input, standard error)
            (empty, b"", b"tarnwick: " + empty.encode() + b": not an SMBIOS table: empty\n"),
            ("-", b"", b"tarnwick: -: not an SMBIOS table: empty\n"),
            (tiny, b"", b"tarnwick: " + tiny.encode() + b": not an SMBIOS table: 3 bytes, fewer than the 6 of one "
                                                        b"structure\n"),
            (junk, b"", b"tarnwick: " + junk.encode() + b": not an SMBIOS table: no entry point, no firmware-service "
                        b"header, and its bytes do not walk as SMBIOS structures to an end-of-table structure or to the "
                        b"end of the file\n"),
            (no_length, b"", b"tarnwick: " + no_length.encode() + b": the _SM3_ entry point gives a table length of 0\n"),
        ]
        for path, stdin, message in cases:
            with self.subTest(path):
                self.assertEqual(run("--from-dump", path, "_smbmfg", input_bytes=stdin), (2, b"", message))

    def test_usage_errors_and_unreadable_files(self):
        cases = [
            ("--no-such-option",),
            ("--from-dump",),
            ("--sample", "--from-dump", os.path.join(self.dir, "x")),
            ("--from-dump", os.path.join(self.dir, "missing.dump")),
            ("--from-dump", self.dir),
            ("--sample", "--file", os.path.join(self.dir, "missing.txt")),
            ("--sample", "--dump-bin", os.path.join(self.dir, "no", "such", "dir.dump")),
            ("--from-dump", self.write("cut.dump", b"_SM3_\x00\x18\x03")),
            ("--sample", "--list", "--json", "_smbmfg"), ("--sample", "--list", "--cmd"), ("--sample", "--dump-bin", "-"),
            *(("--sample", "--list", t) for t in ("256", "-1", "1e3", "0x", "0x11h", "17.0", "+17", "17,")),
            *(("--sample", "--check", option) for option in ("_smbmfg", "--real", "--cmd", "--list")),
            ("--sample", "--decode", "_smbmfg"), ("--sample", "--decode", "0x100"), ("--sample", "--decode", "--list"),
            ("--sample", "--decode", "--prometheus"),
        ]
        for arguments in cases:
            with self.subTest(arguments):
                status, out, err = run(*arguments)
                self.assertEqual((status, out), (2, b""))
                self.assertTrue(err.startswith(b"tarnwick: "), err)
        self.assertFalse(os.path.exists("-"))

    def test_help_and_version(self):
        self.assertIn(b"--from-dump FILE", self.ok("--help"))
        self.assertEqual(run("--version"), (0, b"Tarnwick v0.26.3\n", b""))


class HelpAndBanner(Case):
    def test_help_text_comes_from_the_plugin(self):
        if sys.platform == "win32":
            self.skipTest("the plug-in shows help in a message box there")
        text = b"_SMBVER \r\n\nReturns the SMBIOS version, X.y, or  \nN/A if it is not available.\n"
        self.assertEqual(run("--sample", "--help-name", "_smbver"), (0, text, b""))
        status, out, _ = run("--sample", "--help-name", "@SmbByte")
        self.assertEqual(status, 0)
        self.assertTrue(out.startswith(b"@SMBBYTE[type,offset,handle] \r\n"))
        # A name that is not the plug-in's fails, and the next one still shows.
        status, out, err = run("--sample", "--help-name", "smbbyte", "--help-name", "_smbver")
        self.assertEqual((status, out), (1, text))
        self.assertTrue(err.startswith(b"tarnwick: smbbyte: "), err)

    def test_banner_only_outside_a_pipe_when_asked_and_not_silenced(self):
        banner = b"Tarnwick v0.26.3 loaded.\r\n"
        environment = {k: v for k, v in os.environ.items() if k.lower() != "noloadmsg"}
        cases = [
            (["--banner"], {}, banner),
            ([], {}, b""),                              # transient: quiet
            (["--banner"], {"NoLoadMsg": "1"}, b""),    # the shell's names ignore case
        ]
        for arguments, extra, expected in cases:
            with self.subTest(arguments=arguments, extra=extra):
                with open(self.path("out.txt"), "wb") as sink:
                    self.ok("--sample", *arguments, "_smbver", stdout=sink, env={**environment, **extra})
                self.assertEqual(read_bytes(sink.name), expected + b"3.1\n")
        # In a pipe the banner stays away even when asked for.
        self.assertEqual(run("--sample", "--banner", "_smbver", env=environment), (0, b"3.1\n", b""))


class BatchFile(Case):
    def test_files_and_standard_input_line_by_line_in_any_encoding(self):
        def at(name, line):  # where a diagnostic says the NAME stood
            return os.path.realpath(self.path(name)).encode() + b" [%d]  " % line
        first, second = self.write("first", b"_smbmfg\n"), self.write("second", b"_smbver\n")
        cases = [  # (arguments after --sample, standard input, exit status, standard output, standard error)
            (["--file", self.write("names.btm", b"_smbmfg\r\n@smbbyte[1]\r\n\r\n# a comment\r\n  @randx[abc]  \r\n"
                                                b"@smbword[4,0x16]")], None, 1, b"Brackenfold Computing\n\n\n3600\n",
             b"Tarnwick plugin: " + at("names.btm", 2) + b"Missing offset\r\n"  # a line per NAME
             b"Tarnwick plugin: " + at("names.btm", 5) + b"Invalid number: 'ABC'\r\n"),
            # A name from the command line runs outside the batch file: no location.
            (["--file", "-", "@smbbyte[2]"], b"_smbver\n@smbword[4]\n", 1, b"\n3.1\n\n",
             b"Tarnwick plugin: Missing offset\r\nTarnwick plugin: <stdin> [2]  Missing offset\r\n"),
            # One FILE per --file: a second is a NAME.
            (["--file", first, "--file", second], None, 0, b"Brackenfold Computing\n3.1\n", b""),
            (["--file", first, second], None, 1, b"\nBrackenfold Computing\n", f"tarnwick: {second}: unknown name\n".encode()),
        ]
        text = "_smbmfg\r\n_nosuch\r\n@randx[\u00e9]\r\n" + "x" * 100000  # as editors and shells write it
        for label, data in [("utf-8", text.encode()), ("utf-8 with a mark", b"\xef\xbb\xbf" + text.encode()),
                            ("utf-16le", text.encode("utf-16")), ("utf-16be", b"\xfe\xff" + text.encode("utf-16-be")),
                            ("latin-1", text.encode("latin-1"))]:
            cases.append((["--file", self.write(label, data)], None, 1, b"Brackenfold Computing\n\n\n\n",
                          b"tarnwick: " + at(label, 2) + b"_nosuch: unknown name\nTarnwick plugin: " + at(label, 3) +
                          b"Invalid number: '\xc3\xa9'\r\ntarnwick: " + at(label, 4) + b"x" * 80 +
                          b"...: a NAME of 100000 characters; the shell's line holds at most 8191\n"))
        for arguments, stdin, *expected in cases:
            with self.subTest(arguments):
                self.assertEqual(run("--sample", *arguments, input_bytes=stdin), tuple(expected))


class Json(Case):
    def test_values_and_null_for_failures(self):
        # A name asked again is one member; the last two names have one 64-bit FNV-1a hash.
        status, out, err = run("--sample", "--json", "_smbmfg", "@smbbyte[1]", "_nosuch", "@smbword[4,0x16]",
                               "_smbmfg", "U5Lx5PTQ4FHq", "HnfvKDSKCVqv")
        self.assertEqual((status, out), (1, b'{\n  "_smbmfg": "Brackenfold Computing",\n  "@smbbyte[1]": null,\n'
                         b'  "_nosuch": null,\n  "@smbword[4,0x16]": "3600",\n  "U5Lx5PTQ4FHq": null,\n'
                         b'  "HnfvKDSKCVqv": null\n}\n'))
        self.assertIn(b"Missing offset", err)

    def test_report(self):
        self.assertEqual(json.loads(self.ok("--sample", "--json")), SAMPLE_REPORT)


class Listing(Case):
    def test_sample_structures(self):
        lines = self.ok("--sample", "--list").decode().splitlines()
        self.assertEqual(len(lines), 14)
        self.assertEqual(lines[3], '   3  type   3  length  22  handle 0x0003  System Enclosure or Chassis  '
                                   '1:"Brackenfold Computing"  '
                                   '2:"Q7 chassis v2"  3:"BFC7-25-118830"  4:"TW-ASSET-00417"  5:"Q7-MT-BLK"')
        self.assertEqual(lines[13], "  13  type 127  length   4  handle 0x00FF  End-of-Table")

    def test_types_narrow_the_list_in_lines_and_in_json(self):
        memory = ('   7  type  17  length  40  handle 0x0011  Memory Device  1:"DIMM A1"  2:"CHANNEL A"  '
                  '3:"Brackenfold Memory"  4:"4E21A09C"  5:"MEM-ASSET-A1"  6:"BFM-16G3200-2R"')
        cases = [  # the arguments after --sample --list; the lines, by their start
            (["17"], [memory, "   8  type  17"]),
            (["0x11", "4", "17"], ["   4  type   4", memory, "   8  type  17"]),
            (["17,4"], ["   4  type   4", memory, "   8  type  17"]),
            (["200"], []),
            (["_smbver", "16"], ["   6  type  16  length  23  handle 0x0010  Physical Memory Array", "3.1"]),
        ]
        for arguments, starts in cases:
            with self.subTest(arguments):
                status, out, err = run("--sample", "--list", *arguments)
                lines = out.decode().splitlines()
                self.assertEqual((status, err, len(lines)), (0, b"", len(starts)))
                for line, start in zip(lines, starts):
                    self.assertTrue(line.startswith(start), line)
        status, out, err = run("--sample", "--list", "--json", "3")
        self.assertEqual((status, err, json.loads(out)), (0, b"", [{
            "position": 3, "at": 274, "type": 3, "type_name": "System Enclosure or Chassis", "length": 22, "handle": 3,
            "strings": ["Brackenfold Computing", "Q7 chassis v2", "BFC7-25-118830", "TW-ASSET-00417", "Q7-MT-BLK"]}]))
        self.assertEqual(len(json.loads(run("--sample", "--list", "--json")[1])), 14)

    def test_decode_keeps_what_firmware_stored_in_valid_json_and_one_line_a_field(self):
        table = self.system_table([1, 0, 0, 0], b'a"b\\c\x01\xe9\x9b')
        status, out, err = run("--from-dump", table, "--decode", "--json")
        decoded = json.loads(out)
        self.assertEqual((status, err, [s["type"] for s in decoded]), (0, b"", [1, 127]))
        self.assertEqual(decoded[0]["fields"][0], {"name": "Manufacturer", "offset": 4,
                                                   "value": 'a"b\\c\x01\u00e9\x9b', "text": 'a"b\\c\x01\u00e9\x9b'})
        self.assertEqual(decoded[0]["fields"][1]["value"], None)  # string 0
        self.assertEqual(len(decoded[0]["fields"]), 4)  # the fields the length holds; no UUID
        lines = self.ok("--from-dump", table, "--decode", "1").decode().splitlines()
        self.assertEqual(lines[:3], ["Handle 0x0000, type 1 (System Information), 8 bytes, at 0x0000",
                                     'Manufacturer: a"b\\\\c\\x01\u00e9\\x9b'.join(["  ", ""]),
                                     "  Product Name: Not Specified"])

    def test_decode_reads_every_layout_and_standard_input_alike(self):
        name = "dell-poweredge-r730"
        need(os.path.isfile(corpus_file(name, ".dump")), "the corpus")
        outputs = {self.ok("--from-dump", corpus_file(name, suffix), "--decode", *options)
                   for suffix in (".dump", ".rsmb") for options in ([], ["17", "4"])}
        outputs.add(self.ok("--from-dump", "-", "--decode", input_bytes=read_bytes(corpus_file(name, ".dump"))))
        self.assertEqual(len(outputs), 2)  # whole (from either layout or standard input) and two types of it


class Layouts(Case):
    """The three layouts of one table give the same answers."""

    def answers(self, path):
        return self.ok("--from-dump", path, *VARIABLES, *TABLE_FUNCTIONS).decode("utf-8").split("\n")

    def test_dump_service_buffer_and_bare_table_agree_on_every_corpus_table(self):
        for name in corpus_names():
            with self.subTest(name):
                service = read_bytes(corpus_file(name, ".rsmb"))
                from_dump = self.answers(corpus_file(name, ".dump"))
                self.assertEqual(self.answers(corpus_file(name, ".rsmb")), from_dump)
                bare = self.answers(self.write("bare.bin", service[8:]))
                version, uuid = VARIABLES.index("_smbver"), VARIABLES.index("_smbuuid")
                # A bare table records no version: _smbver differs, and _smbuuid
                # reads its first three fields little-endian, as from 2.6 on.
                self.assertEqual(bare[version], "N/A")
                self.assertEqual(from_dump[version], "%d.%d" % (service[1], service[2]))
                # (firmware that writes 2.31 or 2.33 means 2.3, and 2.51 means 2.6).
                stated = {(2, 31): (2, 3), (2, 33): (2, 3), (2, 51): (2, 6)}.get((service[1], service[2]),
                                                                                (service[1], service[2]))
                differ = {version} if stated >= (2, 6) else {version, uuid}
                self.assertEqual([a for i, a in enumerate(bare) if i not in differ],
                                 [a for i, a in enumerate(from_dump) if i not in differ])


class TableFiles(Case):
    """What --from-dump takes as a table, and why it refuses a file."""

    def test_layouts_taken_and_refused(self):
        table = structure(1, 1, [1] + [0] * 0x16, [b"Maker"]) + structure(127, 0xFFFF, b"")
        service = bytes([0, 3, 4, 0]) + struct.pack("<I", len(table)) + table
        def sm3(length, address=0x20):
            return b"_SM3_\0\x18\x03\x04\0\x01\0" + struct.pack("<IQ", length, address) + bytes(8)
        cases = [  # (label, file, status, on standard output or error)
            ("bare table", table, 0, b"Maker\n"),
            ("bare table padded with zeros", table[:-6] + bytes(4096), 0, b"Maker\n"),
            ("ELF header", b"\x7fELF\x02\x01\x01" + bytes(120), 2, b"not an SMBIOS table"),
            ("one structure, then junk", table[:-6] + b"junk", 2, b"not an SMBIOS table"),
            ("structures stop at junk", table[:-6] * 2 + b"junk", 0, b"Maker\n"),
            ("_SM3_ maximum size FFFFFFFFh", sm3(0xFFFFFFFF) + table + bytes(4000), 0, b"Maker\n"),
            ("table address past the end", sm3(len(table), 1 << 32) + table, 2,
             b"table address 0x100000000 lies past the end of the file (72 bytes)"),
            ("service buffer with bytes after its table", service + b"junk", 2,
             b"header gives a table length of 40 bytes, but 44 bytes follow the header"),
            ("service buffer cut short", service[:30], 2, b"length of 40 bytes, but 22 bytes follow the header"),
        ]
        for label, data, status, expected in cases:
            with self.subTest(label):
                code, out, err = run("--from-dump", self.write("t.bin", data), "_smbmfg")
                self.assertEqual(code, status, err)
                self.assertIn(expected, out if status == 0 else err)

    def test_every_structure_counts_past_the_index(self):
        # 1,100 memory devices of 1,024 MB (DSP0134 7.18: size at 0Ch) and the end-of-table structure.
        need(dmidecode_program(), "dmidecode")
        device = bytes(8) + struct.pack("<H", 1024) + bytes(7)
        table = b"".join(structure(17, n, device) for n in range(1100)) + structure(127, 0xFFFF, b"")
        source = self.write("big.rsmb", bytes([0, 2, 8, 0]) + struct.pack("<I", len(table)) + table)
        self.assertEqual(run("--from-dump", source, "@smbcount[17]", "_smbmemory"), (0, b"1100\n1126400\n", b""))
        dump = os.path.join(self.dir, "big.dump")
        self.assertEqual(run("--from-dump", source, "--dump-bin", dump), (0, b"", b""))
        self.assertIn(f"1101 structures occupying {len(table)} bytes.", dmidecode(dump)[1])


class RealAndCheck(Case):
    """--real answers each variable as @smbreal does; --check's lines, JSON and exit status."""

    def lines(self, *arguments):
        return self.ok(*arguments).decode("utf-8").splitlines()

    def test_real_answers_as_smbreal_plain_as_json_and_as_set_lines(self):
        with_placeholders = 0  # tables where the firmware's own texts, asked without --real, differ
        for name in corpus_names():
            with self.subTest(name):
                path = corpus_file(name, ".dump")
                expected = self.lines("--from-dump", path, *("@smbreal[%s]" % v for v in VARIABLES))
                with_placeholders += self.lines("--from-dump", path, *VARIABLES) != expected
                self.assertEqual(self.lines("--real", "--from-dump", path, *VARIABLES), expected)
                report = json.loads(run("--real", "--json", "--from-dump", path)[1])
                self.assertEqual(list(report.values()), expected)
                self.assertEqual(self.lines("--real", "--cmd", "--from-dump", path, "_smbserial"),
                                 ['set "_smbserial=%s"' % expected[VARIABLES.index("_smbserial")]])
        self.assertGreater(with_placeholders, 0)

    def test_check_on_every_layout(self):
        members = ["severity", "kind", "handle", "at", "type", "offset", "field", "entry_point", "value", "other",
                   "finding"]
        walk_end = ("defect length-below-header", "defect past-table-end", "defect no-end-of-table")
        for name in corpus_names():
            with self.subTest(name):
                found = []
                for path in (corpus_file(name, ".dump"), corpus_file(name, ".rsmb")):
                    status, out, err = run("--check", "--from-dump", path)
                    json_status, text, _ = run("--check", "--json", "--from-dump", path)
                    findings = json.loads(text)
                    severities = [sum(f["severity"] == s for f in findings) for s in ("defect", "unfilled", "note")]
                    self.assertEqual((status, json_status, err), (1 if severities[0] else 0,) * 2 + (b"",))
                    lines = out.decode("utf-8").splitlines()
                    self.assertRegex(lines[-1], r"^%d defects?, %d unfilled, %d notes?$" % tuple(severities))
                    # A line holds one finding, or those of a group: "type 17, 24 structures (...)".
                    groups = [re.search(r"^\w+ \S+  type \d+, (\d+) structures \(", line) for line in lines[:-1]]
                    self.assertEqual(sum(int(g.group(1)) if g else 1 for g in groups), len(findings))
                    for finding in findings:
                        self.assertEqual(list(finding), members)
                    self.assertEqual({f["severity"] + " " + f["kind"] for f in findings},
                                     {line.split("  ")[0] for line in lines[:-1]})
                    # A dump adds its entry point's findings; where the entry point counts the structures
                    # the walk met, the bytes past them are its length's fault, not the walk's.
                    found.append([line for line in lines[:-1] if "  entry point  " not in line and
                                  not line.startswith(walk_end)])
                self.assertEqual(found[0], found[1])

    def test_bytes_past_the_counted_structures_are_one_finding(self):
        # Hyper-V's entry point counts five structures, and zeros follow them (5.2.1).
        findings = json.loads(run("--check", "--json", "--from-dump", corpus_file("microsoft-hyperv-gen1", ".dump"))[1])
        kinds = [f["kind"] for f in findings if f["type"] is None or f["kind"] != "structure-missing"]
        self.assertEqual(kinds, ["placeholder-text", "table-length"])

    def test_clean_table_and_unreadable_table(self):
        self.assertEqual([run("--sample", "--check"), run("--sample", "--check", "--json")],
                         [(0, b"0 defects, 0 unfilled, 0 notes\n", b""), (0, b"[]\n", b"")])
        self.assertEqual(run("--check", "--from-dump", self.write("zero.bin", bytes(64)))[0], 2)


class Cmd(Case):
    """--cmd: lines that cmd.exe's for /f runs as set commands (run for real under Wine by tests/wine)."""

    def test_set_lines_for_names_and_the_report(self):
        self.assertEqual(run("--sample", "--cmd", "_smbserial", "_smbmfg", "@smbword[4,0x16]"),
                         (0, b'set "_smbserial=BFQ7-25-004187"\nset "_smbmfg=Brackenfold Computing"\n'
                             b'set "@smbword[4,0x16]=3600"\n', b""))
        self.assertEqual(self.ok("--sample", "--cmd").decode(), "".join(f'set "{name}={value}"\n' for name, value in SAMPLE_REPORT.items()))

    def test_a_value_cmd_cannot_carry_fails_that_name_only(self):
        for text in [b'say "hi"', b"two\nlines", b"hi!"]:
            with self.subTest(text):
                status, out, err = run("--from-dump", self.system_table([1, 2, 0, 0], text, b"Q7"), "--cmd", "_smbmfg",
                                       "_smbproduct")
                self.assertEqual((status, out), (1, b'set "_smbproduct=Q7"\n'))
                self.assertTrue(err.startswith(b"tarnwick: _smbmfg: the value holds "), err)
        self.assertEqual(run("--sample", "--cmd", "--json")[0], 2)


# What batch files asked WMIC (and PowerShell asks CIM) and the Tarnwick name that answers it,
# with the field of the sample table that holds the same value (docs/windows.md: "From WMIC to Tarnwick").
WMIC_TABLE = [
    ("wmic bios get serialnumber", "_smbserial", "@smbstring[1,7]"),
    ("wmic bios get smbiosbiosversion", "_smbbiosversion", "@smbstring[0,5]"),
    ("wmic bios get manufacturer", "_smbbiosvendor", "@smbstring[0,4]"),
    ("wmic bios get releasedate", "_smbbiosdate", "@smbstring[0,8]"),
    ("wmic baseboard get product", "_smbbbproduct", "@smbstring[2,5]"),
    ("wmic baseboard get manufacturer", "_smbbbmfg", "@smbstring[2,4]"),
    ("wmic baseboard get serialnumber", "_smbbbserial", "@smbstring[2,7]"),
    ("wmic baseboard get version", "_smbbbversion", "@smbstring[2,6]"),
    ("wmic computersystem get manufacturer", "_smbmfg", "@smbstring[1,4]"),
    ("wmic computersystem get model", "_smbproduct", "@smbstring[1,5]"),
    ("wmic computersystem get systemfamily", "_smbfamily", "@smbstring[1,0x1A]"),
    ("Get-CimInstance Win32_SystemEnclosure | SMBIOSAssetTag", "_smbchassistag", "@smbstring[3,8]"),
    ("Get-CimInstance Win32_SystemEnclosure | LockPresent", "_smbchassislock", None),
    ("Get-CimInstance Win32_SystemEnclosure | ChassisTypes", "_smbchassistype", None),
    ("wmic cpu get name", "_smbcpuversion", "@smbstring[4,0x10]"),
    ("wmic cpu get manufacturer", "_smbcpumfg", "@smbstring[4,7]"),
    ("wmic cpu get socketdesignation", "_smbcpusocket", "@smbstring[4,4]"),
    ("wmic cpu get currentclockspeed", "_smbcpuspeed", "@smbword[4,0x16]"),
    ("wmic cpu get extclock", "_smbcpuclock", "@smbword[4,0x12]"),
    ("wmic computersystem get systemskunumber", "_smbsku", "@smbstring[1,0x19]"),
    ("wmic csproduct get version", "_smbsysversion", "@smbstring[1,6]"),
    ("Get-CimInstance Win32_SystemEnclosure | Manufacturer", "_smbchassismfg", "@smbstring[3,4]"),
    ("Get-CimInstance Win32_SystemEnclosure | Version", "_smbchassisversion", "@smbstring[3,6]"),
    ("Get-CimInstance Win32_SystemEnclosure | SerialNumber", "_smbchassisserial", "@smbstring[3,7]"),
    ("wmic cpu get numberofcores", "_smbcores", "@smbbyte[4,0x23]"),  # the sample's one populated socket
    ("wmic cpu get numberoflogicalprocessors", "_smbthreads", "@smbbyte[4,0x25]"),
    ("wmic computersystem get numberofprocessors", "_smbcpucount", "@smbcount[4]"),
    ("wmic computersystem get totalphysicalmemory", "_smbmemory", None),
    ("wmic csproduct get uuid", "_smbuuid", None),
]


class Wmic(Case):
    def test_each_mapping_answers_the_field_of_the_sample_table(self):
        with open(os.path.join(os.path.dirname(__file__), "..", "..", "docs", "windows.md")) as page:
            documented = page.read()
        for query, name, field in WMIC_TABLE:
            with self.subTest(query):
                escaped = query.replace("|", "\\|")  # a bar inside a Markdown table cell
                self.assertTrue(f"`{escaped}`" in documented, f"docs/windows.md lacks {query}")
                if name == "_smbmemory":  # the sum of the devices' sizes in MB by README's rule, DSP0134 7.18.5
                    corpus_names()  # the rule on a table of 32 GB modules, whose 0Ch reads 7FFFh
                    for table in ("--sample",), ("--from-dump", corpus_file("dell-poweredge-r640-a", ".dump")):
                        value, count = self.ok(*table, name, "@smbcount[17]").decode().split()
                        sizes = [self.ok(*table, f"@smbword[17,0x0C,{h}]", f"@smbdword[17,0x1C,{h}]").decode().split()
                                 for h in self.ok(*table, *(f"@smbhandle[17,{n + 1}]" for n in range(int(count))))
                                 .decode().split()]
                        self.assertEqual(int(value), sum(int(extended) if int(word) == 0x7FFF else int(word) % 0x8000
                                                         // (1024 if int(word) & 0x8000 else 1) for word, extended in
                                                         sizes if int(word) not in (0, 0xFFFF)), table)
                    continue
                if name == "_smbuuid":  # bytes 08h-17h, the first three fields little-endian, DSP0134 7.2.1
                    value, low, high = self.ok("--sample", name, "@smbqword[1,8,,1]", "@smbqword[1,0x10,,1]"
                                               ).decode().splitlines()
                    b = bytes.fromhex(low[2:])[::-1] + bytes.fromhex(high[2:])[::-1]
                    fields = (b[3::-1], b[5:3:-1], b[7:5:-1], b[8:10], b[10:16])
                    self.assertEqual(value, "-".join(f.hex().upper() for f in fields))
                    continue
                value, raw = self.ok("--sample", name, field or "@smbbyte[3,5]").decode().splitlines()
                if name == "_smbchassistype":  # the type in words: DSP0134 7.4.1 names 6 "Mini Tower"
                    self.assertEqual((int(raw) & 0x7F, value), (6, "Mini Tower"))
                elif name == "_smbchassislock":  # bit 7 of the type byte, DSP0134 7.4.1
                    self.assertEqual((int(raw) >> 7, value), (1, "Present"))
                else:
                    self.assertEqual(value, raw)


def dmidecode(path):
    """dmidecode's decoding, without the line that names the file it read."""
    done = end_to_end.run([dmidecode_program(), "--from-dump", path], stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    lines = done.stdout.decode("latin-1").splitlines()
    # Rule: "Reading SMBIOS/DMI data from file NAME." names the file read, which differs by design.
    return done.returncode, [line for line in lines if not line.startswith("Reading SMBIOS/DMI data from file")]


class DumpBin(Case):
    def setUp(self):
        super().setUp()
        need(dmidecode_program(), "dmidecode")

    def test_dmidecode_decodes_our_dump_as_the_original_for_every_corpus_table(self):
        for name in corpus_names():
            for source in (".dump", ".rsmb"):
                with self.subTest(name=name, source=source):
                    ours = os.path.join(self.dir, name + source + ".ours")
                    self.assertEqual(run("--from-dump", corpus_file(name, source), "--dump-bin", ours), (0, b"", b""))
                    self.assertEqual(dmidecode(ours), dmidecode(corpus_file(name, ".dump")))

    def test_bare_table_gets_a_versionless_entry_point_and_reads_back_bare(self):
        for name in corpus_names():
            with self.subTest(name):
                service = read_bytes(corpus_file(name, ".rsmb"))
                bare = self.write("bare.bin", service[8:])
                ours = os.path.join(self.dir, name + ".bare.dump")  # --dump-bin writes new files only
                self.assertEqual(run("--from-dump", bare, "--dump-bin", ours), (0, b"", b""))
                status, lines = dmidecode(ours)
                self.assertEqual(status, 0)
                self.assertIn("Legacy DMI 0.0 present.", lines)
                names = [*VARIABLES, *TABLE_FUNCTIONS]
                self.assertEqual(run("--from-dump", ours, *names), run("--from-dump", bare, *names))

    def test_sample_dump_decodes_cleanly(self):
        ours = os.path.join(self.dir, "sample.dump")
        self.assertEqual(run("--sample", "--dump-bin", ours), (0, b"", b""))
        status, lines = dmidecode(ours)
        self.assertEqual(status, 0)
        self.assertIn("SMBIOS 3.1.0 present.", lines)
        text = "\n".join(lines)
        for expected in ["\tManufacturer: Brackenfold Computing", "\tType: Mini Tower", "\tLock: Present",
                         "\tVersion: Brackenfold BX-9 8-Core Processor @ 3.60GHz", "\tSize: 16 GB",
                         "\tCurrent Speed: 3600 MHz", "\tStatus: No errors detected", "End Of Table"]:
            self.assertIn(expected, text)
        for problem in ["Invalid", "<OUT OF", "Wrong", "Bad ", "<BAD INDEX>", "Unknown"]:
            self.assertNotIn(problem, text)
        self.assertEqual(run("--from-dump", ours), run("--sample"))


if __name__ == "__main__":
    end_to_end.main(__doc__, "TARNWICK", "CORPUS")
