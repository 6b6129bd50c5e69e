"""What the Python end-to-end tests share: programs run under one hang guard, tarnwick and the corpus of real
tables taken from the command line, a temporary folder per test, and the rule for what a test needs (outside CI
it skips without it, with CI=true it fails).

A test checks results and memory, never time: the guard is minutes long and says so when it fires; a busy
machine only makes a run slower."""
import json
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

HANG_GUARD_S = 600
IN_CI = os.environ.get("CI") == "true"
TARNWICK = CORPUS = None  # set by main()


class Hung(AssertionError):
    pass


def _hung(arguments):
    return Hung(f"timed out after {HANG_GUARD_S} s: {' '.join(map(str, arguments))[:200]}")


def run(arguments, **options):
    """subprocess.run under the guard; a hang fails the test with "timed out after N s"."""
    try:
        return subprocess.run(arguments, timeout=HANG_GUARD_S, **options)
    except subprocess.TimeoutExpired:
        raise _hung(arguments) from None


def communicate(process, arguments):
    """process.communicate() under the guard; the process is killed when it fires."""
    try:
        return process.communicate(timeout=HANG_GUARD_S)
    except subprocess.TimeoutExpired:
        process.kill()
        process.communicate()
        raise _hung(arguments) from None


def tarnwick(*arguments, errors=None, input_bytes=None, stdout=subprocess.PIPE, **options):
    """Runs tarnwick without standard input (or with input_bytes); returns (exit status, stdout, stderr), as
    bytes, or as UTF-8 text decoded with `errors` ("strict" fails on a byte that is not UTF-8)."""
    streams = {"input": input_bytes} if input_bytes is not None else {"stdin": subprocess.DEVNULL}
    done = run([TARNWICK, *arguments], stdout=stdout, stderr=subprocess.PIPE, **streams, **options)
    decode = (lambda data: data) if errors is None else (lambda data: data.decode("utf-8", errors))
    return done.returncode, decode(done.stdout) if done.stdout is not None else None, decode(done.stderr)


SKIPPED = 77  # the status of a test program that skips (ctest's SKIP_RETURN_CODE)
_said_missing = set()


def _missing(what):
    """The one line that says what a skipped test lacks, once per run and thing."""
    if what not in _said_missing:
        _said_missing.add(what)
        print(f"skipped: {what} is missing", file=sys.stderr, flush=True)


def need(condition, what):
    """Skips outside CI, fails in CI, when something the test needs is missing."""
    if condition:
        return
    if IN_CI:
        raise AssertionError(f"{what} is missing, and CI=true does not allow skipping")
    _missing(what)
    raise unittest.SkipTest(f"{what} is missing")


def need_or_exit(condition, what):
    """need() for a test that is one program: it ends with SKIPPED outside CI, with 1 in CI."""
    if condition:
        return
    if IN_CI:
        print(f"{what} is missing, and CI=true does not allow skipping", file=sys.stderr)
        sys.exit(1)
    _missing(what)
    sys.exit(SKIPPED)


def corpus_names():
    with open(corpus_file("index", ".json")) as index:
        return sorted(entry["name"] for entry in json.load(index))


def corpus_file(name, suffix):
    """The path of a file of the corpus, which a test needs."""
    path = os.path.join(CORPUS or "", name + suffix)
    need(CORPUS and os.path.isfile(path), f"the corpus of tables ({CORPUS})")
    return path


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def service_table(service):
    """The table of a firmware service buffer (.rsmb): after its 8-byte header, as long as the header says."""
    return service[8:8 + struct.unpack_from("<I", service, 4)[0]]


def dmidecode_program():
    """dmidecode lives in sbin, which a user's PATH may leave out."""
    return shutil.which("dmidecode") or shutil.which("dmidecode", path="/usr/local/sbin:/usr/sbin:/sbin")


class TempDir(unittest.TestCase):
    """A test with a folder of its own, removed after it."""

    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="tarnwick-test-")
        self.addCleanup(shutil.rmtree, self.dir)

    def path(self, name):
        return os.path.join(self.dir, name)

    def write(self, name, data):
        with open(self.path(name), "wb") as f:
            f.write(data)
        return self.path(name)


def main(doc, *names):
    """Sets the test module's NAMES (TARNWICK first, then CORPUS, ...) to the command line's paths and runs its
    tests with the arguments that follow them."""
    global TARNWICK, CORPUS
    if len(sys.argv) <= len(names):
        sys.exit(doc)
    paths = dict(zip(names, (os.path.abspath(a) for a in sys.argv[1:])))
    vars(sys.modules["__main__"]).update(paths)
    TARNWICK, CORPUS = paths["TARNWICK"], paths.get("CORPUS")
    unittest.main(module="__main__", argv=[sys.argv[0], *sys.argv[1 + len(names):]], verbosity=1)
