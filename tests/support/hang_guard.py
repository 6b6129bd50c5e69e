"""The one guard against a program that hangs, for the Python tests: a test
checks results and memory, never time, so the guard is minutes long and says
so when it fires; a busy machine only makes a run slower."""
import subprocess

HANG_GUARD_S = 600


class Hung(AssertionError):
    pass


def run(arguments, **options):
    """subprocess.run under the guard; a hang fails the test with "timed out after N s"."""
    try:
        return subprocess.run(arguments, timeout=HANG_GUARD_S, **options)
    except subprocess.TimeoutExpired:
        raise Hung(f"timed out after {HANG_GUARD_S} s: {' '.join(map(str, arguments))[:200]}") from None


def communicate(process, arguments):
    """process.communicate() under the guard; the process is killed when it fires."""
    try:
        return process.communicate(timeout=HANG_GUARD_S)
    except subprocess.TimeoutExpired:
        process.kill()
        process.communicate()
        raise Hung(f"timed out after {HANG_GUARD_S} s: {' '.join(map(str, arguments))[:200]}") from None
