"""Runs tarnwick on the files a careless or hostile user can hand it and checks that it
refuses them promptly, with a reason and status 2, without overwriting anything and
within twice the 16 MiB read bound of memory.

Usage: hostile_inputs.py TARNWICK

The full-disk case mounts a small tmpfs in a private mount namespace; it needs root and
unshare. Outside CI it skips without them; with CI=true it fails instead.
"""
import os
import resource
import shutil
import signal
import subprocess
import sys
import tempfile
import threading

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from end_to_end import IN_CI, TempDir, communicate, need  # noqa: E402
import end_to_end  # noqa: E402

TARNWICK = None
CAP = 16 * 1024 * 1024
TOO_LARGE = b": larger than any SMBIOS table (16 MiB)\n"
PRECIOUS = b"a file that root must not overwrite\n"


def feed(path_or_pipe, data):
    """Writes data into a FIFO path or a pipe and keeps it open: a writer that never closes."""
    def write():
        try:
            sink = open(path_or_pipe, "wb") if isinstance(path_or_pipe, str) else path_or_pipe
            sink.write(data)
            sink.flush()
            threading.Event().wait(30)  # never closes while tarnwick runs
        except (BrokenPipeError, OSError):
            pass
    threading.Thread(target=write, daemon=True).start()


def sanitized():
    """A sanitizer's shadow memory grows with the program's own: the bound is checked on plain builds."""
    with open(TARNWICK, "rb") as program:
        data = program.read()
    return any(runtime in data for runtime in (b"__asan_init", b"__tsan_init", b"__msan_init"))


def time_program():
    """GNU time reports a program's own peak memory; a child of this script would also count the script's."""
    program = shutil.which("time", path="/usr/bin:/bin")
    if program is None and IN_CI:
        subprocess.run(["apt-get", "install", "-y", "-qq", "time"], check=True, stdout=subprocess.DEVNULL)
        program = shutil.which("time", path="/usr/bin:/bin")
    return program


def run(arguments, stdin_bytes=None, stdout=subprocess.PIPE, stderr=subprocess.PIPE):
    """Runs tarnwick; returns status, stdout, stderr and its peak resident memory in bytes (0: not measured)."""
    with tempfile.NamedTemporaryFile() as report:
        timer = [time_program(), "-f", "%M", "-o", report.name] if time_program() else []
        process = subprocess.Popen([*timer, TARNWICK, *arguments],
                                   stdin=subprocess.DEVNULL if stdin_bytes is None else subprocess.PIPE,
                                   stdout=stdout, stderr=stderr)
        if stdin_bytes is not None:
            feed(process.stdin, stdin_bytes)
        out, err = communicate(process, arguments)
        peak = report.read().split()
        return process.returncode, out, err, int(peak[-1]) * 1024 if peak else 0


class HostileInputs(TempDir):
    def setUp(self):
        super().setUp()
        self.precious = self.write("precious", PRECIOUS)

    def fifo(self, name, data=None):
        """A FIFO without a writer, or one whose writer of data is there before tarnwick opens it, never closing."""
        os.mkfifo(self.path(name))
        if data is not None:
            held = os.open(self.path(name), os.O_RDONLY | os.O_NONBLOCK)  # lets the writer open at once
            self.addCleanup(os.close, held)
            feed(open(self.path(name), "wb"), data)
        return self.path(name)

    def link(self, name, target):
        os.symlink(target, self.path(name))
        return self.path(name)

    def test_every_hostile_input_ends_with_a_reason(self):
        over = b"\0" * (CAP + 65536)
        dump_naming_2_gib = b"_SM3_\0\x18\x03\x01\0\x01\0" + (0x7FFFFFFF).to_bytes(4, "little") + \
            (0x20).to_bytes(8, "little") + b"\0" * 8 + over
        # (label, arguments, standard input that never closes, what standard error says)
        cases = [
            ("existing file", lambda: ["--sample", "--dump-bin", self.precious], None, b": exists; "),
            ("symbolic link to a file", lambda: ["--sample", "--dump-bin", self.link("l", self.precious)], None,
             b": is a symbolic link; "),
            ("dangling symbolic link", lambda: ["--sample", "--dump-bin", self.link("d", self.path("new"))], None,
             b": is a symbolic link; "),
            ("/dev/zero", lambda: ["--from-dump", "/dev/zero", "_smbmfg"], None, TOO_LARGE),
            ("/dev/urandom", lambda: ["--from-dump", "/dev/urandom", "_smbmfg"], None, TOO_LARGE),
            ("FIFO that never closes", lambda: ["--from-dump", self.fifo("f", over)], None, TOO_LARGE),
            ("standard input that never closes", lambda: ["--from-dump", "-"], over, TOO_LARGE),
            ("dump naming a 2 GiB table, on a FIFO", lambda: ["--from-dump", self.fifo("g", dump_naming_2_gib)], None,
             TOO_LARGE),
            ("directory", lambda: ["--from-dump", self.dir], None, b": Is a directory\n"),
            ("file one byte over the bound", lambda: ["--from-dump", self.write("big", b"\0" * (CAP + 1))], None,
             TOO_LARGE),
            ("batch file from /dev/zero", lambda: ["--sample", "--file", "/dev/zero"], None,
             b": larger than any batch file tarnwick reads (16 MiB)\n"),
            # A FIFO without a writer ends at once, as an empty file, wherever it is met.
            ("FIFO without a writer", lambda: ["--from-dump", self.fifo("n")], None, b"not an SMBIOS table: empty\n"),
            ("batch FIFO without a writer, then /dev/zero", lambda: ["--sample", "--file", self.fifo("b"), "--file",
                                                                     "/dev/zero"], None, b"(16 MiB)\n"),
        ]
        _, _, _, baseline = run(["--sample", "_smbver"])
        memory_bound = float("inf") if sanitized() else 2 * CAP
        for label, arguments, stdin_bytes, message in cases:
            with self.subTest(label):
                status, out, err, peak = run(arguments(), stdin_bytes)
                self.assertEqual((status, out), (2, b""), err)
                self.assertTrue(err.startswith(b"tarnwick: ") and message in err, err)
                self.assertLess(peak - baseline, memory_bound, f"peak memory {peak >> 20} MiB")
                with open(self.precious, "rb") as f:
                    self.assertEqual(f.read(), PRECIOUS)
                self.assertFalse(os.path.exists(self.path("new")))

    def test_a_batch_file_of_16_mib_in_every_output_mode_within_64_mib(self):
        # A sanitizer's build takes tens of microseconds a line: the bound is a plain build's, the
        # sanitizers check the same paths on a sixty-fourth of the lines.
        lines = CAP // 8 // (64 if sanitized() else 1)
        batch = self.write("names.btm", b"_smbver\n" * lines)
        distinct = self.write("distinct.btm", b"".join(b"_%06x\n" % n for n in range(lines)))  # 8 bytes each
        _, _, _, baseline = run(["--sample", "_smbver"])
        # JSON names are unique: the name asked again and again is one member; two million names (unknown,
        # their messages left aside) two million.
        for mode, path, line, count in [([], batch, b"3.1\n", lines), (["--cmd"], batch, b'set "_smbver=3.1"\n', lines),
                                        (["--json"], batch, b'{\n  "_smbver": "3.1"\n}\n', 1),
                                        (["--json"], distinct, b": null", lines)]:
            with self.subTest(mode=mode, path=path):
                with open(self.path("out"), "wb") as sink:
                    status, _, _, peak = run(["--sample", *mode, "--file", path], stdout=sink, stderr=subprocess.DEVNULL)
                self.assertEqual(status, 0 if path == batch else 1)
                with open(self.path("out"), "rb") as f:
                    self.assertEqual(f.read().count(line), count)
                self.assertLess(peak - baseline, float("inf") if sanitized() else 64 << 20, f"peak {peak >> 20} MiB")

    def test_a_table_whose_every_byte_is_a_finding_is_checked_under_a_memory_limit(self):
        # Type-10 structures of length FFh (DSP0134 7.11): each pair from 04h an undefined device type and a
        # string number past the empty set, two defects; 16 MiB of them. Findings stream out as they are made
        # and are counted, not held: the check runs within a small multiple of the table's address space
        # (a sanitizer's shadow memory has no such bound; it runs a sixty-fourth of the table).
        size = CAP // (64 if sanitized() else 1)
        structure = lambda handle: bytes([10, 0xFF]) + handle.to_bytes(2, "little") + bytes([0x7F, 0xFF]) * 125 + \
            b"\x7F\0\0"
        count = (size - 6) // 257
        table = self.write("findings.bin", b"".join(structure(h) for h in range(count)) +
                           bytes([127, 4]) + count.to_bytes(2, "little") + b"\0\0")
        limit = 6 * CAP
        in_limit = None if sanitized() else lambda: resource.setrlimit(resource.RLIMIT_AS, (limit, limit))
        for mode, status, needle, found in [
                (["--check"], 1, b"%d defects, 0 unfilled, 0 notes\n" % (250 * count), 1),
                (["--check", "--json"], 1, b'"kind":"out-of-range"', 125 * count),
                (["--prometheus"], 0, b'tarnwick_check_findings{kind="string-past-set",severity="defect"} %d\n' %
                 (125 * count), 1)]:
            with self.subTest(mode=mode):
                process = subprocess.Popen([TARNWICK, *mode, "--from-dump", table], stdout=subprocess.PIPE,
                                           stderr=subprocess.PIPE, preexec_fn=in_limit)
                seen, tail = 0, b""
                for chunk in iter(lambda: process.stdout.read(1 << 20), b""):
                    seen += (tail + chunk).count(needle)
                    tail = chunk[-(len(needle) - 1):]
                _, err = communicate(process, mode)
                self.assertEqual((process.returncode, err, seen), (status, b"", found))

    def test_a_write_that_fails_ends_with_a_message_and_one_whose_reader_left_quietly(self):
        def no_sigpipe():  # as under a parent that ignores SIGPIPE: the write itself reports the reader's end
            signal.signal(signal.SIGPIPE, signal.SIG_IGN)
        reader_gone = os.pipe()
        os.close(reader_gone[0])
        cases = [  # (label, standard output, set-up in the child, message)
            ("full disk", lambda: open("/dev/full", "wb"), None, b"tarnwick: write error: No space left on device\n"),
            ("closed", lambda: None, lambda: os.close(1), b"tarnwick: write error: Bad file descriptor\n"),
            ("file-size limit", lambda: open(self.path("limited"), "wb"),
             lambda: resource.setrlimit(resource.RLIMIT_FSIZE, (100, 100)), b"tarnwick: write error: File too large\n"),
            ("reader gone", lambda: reader_gone[1], no_sigpipe, b""),
        ]
        for label, sink, before, message in cases:
            with self.subTest(label):
                # Not under GNU time, whose report file would take the place of a closed standard output.
                done = end_to_end.run([TARNWICK, "--sample", "--file", self.write("b", b"_smbmfg\n" * 100000)],
                                      stdout=sink(), stderr=subprocess.PIPE, preexec_fn=before)
                self.assertEqual((done.returncode, done.stderr), (2, message))
        os.close(reader_gone[1])

    def test_a_dump_that_does_not_fit_leaves_no_file(self):
        need(os.geteuid() == 0 and shutil.which("unshare"), "root or unshare")
        # A bare table of 64 KiB in a tmpfs of 8 KiB: the write fails part way.
        table = self.write("t.bin", (bytes([1, 8, 0, 0, 1, 0, 0, 0]) + b"x" * 250 + b"\0\0") * 256)
        disk = self.path("disk")
        os.mkdir(disk)
        script = f'mount -t tmpfs -o size=8k none "{disk}" && "{TARNWICK}" --from-dump "{table}" ' \
                 f'--dump-bin "{disk}/t.dump"; status=$?; ls -A "{disk}"; exit $status'
        done = end_to_end.run(["unshare", "-m", "sh", "-c", script], stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self.assertEqual((done.returncode, done.stdout), (2, b""), done.stderr)
        self.assertTrue(done.stderr.startswith(b"tarnwick: cannot write "), done.stderr)


if __name__ == "__main__":
    end_to_end.main(__doc__, "TARNWICK")
