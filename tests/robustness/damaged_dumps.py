"""Runs tarnwick --from-dump on damaged tables and checks that it never crashes.

Usage: damaged_dumps.py TARNWICK CORPUS_DIR [SHARE]

Every .dump and .rsmb table of the corpus is cut short at every 97th byte,
and a few hundred seeded random files (pure noise, and real tables with bytes
overwritten) are added. Each run writes the table back as a dump and asks
for the structure listing, every variable and a spread of function calls,
so the whole host and every variable read the damaged table. A run must end by itself with status 0, or
with status 2 and a message on standard error saying why; anything else (a
signal, a sanitizer report, status 1 for names that cannot fail) is a crash
of the user's shell in the making.

With SHARE above 1 (a slow build), one in SHARE of the damaged tables runs, drawn by a seed
that the run prints; TARNWICK_DAMAGED_DUMPS_SEED=N draws the same ones again.

Outside CI a missing corpus skips (status 77, in one line); with CI=true it fails.
"""
import concurrent.futures
import json
import os
import random
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import end_to_end  # noqa: E402

STRIDE = 97
RANDOM_FILES = 300
SEED = 20261207

# Valid arguments only: on any table these answer, with "N/A" at worst.
FUNCTIONS = [
    "@smbstring[1,4]", "@smbstring[4,0x10]", "@smbstring[17,0x10]", "@smbstring[11,4]", "@smbstring[3,8,3]",
    "@smbbyte[3,5]", "@smbbyte[0,255]", "@smbword[4,0x16]", "@smbword[4,0x12,,1]", "@smbdword[1,8,,1]",
    "@smbqword[4,8,,1]", "@smbqword[127,4]", "@randx[16]", "@randx[]", "@smbcount[17]", "@smbhandle[17,2]",
    "@smbstrnum[11,1]", "@smbstrnum[1,3,1]", "@smbreal[_smbserial]", "@smbreal[_smbuuid]",
]
# What tarnwick or the plug-in writes when it refuses a table.
REFUSALS = ("Plugin not loaded.", "tarnwick: ")
SANITIZER_REPORTS = (b"AddressSanitizer", b"runtime error:", b"LeakSanitizer")


def damaged_files(corpus, folder):
    """Writes the damaged tables into folder; yields their paths."""
    tables = sorted(name for name in os.listdir(corpus) if name.endswith((".dump", ".rsmb")))
    originals = []
    for name in tables:
        with open(os.path.join(corpus, name), "rb") as source:
            data = source.read()
        originals.append(data)
        for length in range(0, len(data), STRIDE):
            path = os.path.join(folder, f"{name}.cut{length}")
            with open(path, "wb") as out:
                out.write(data[:length])
            yield path
    rng = random.Random(SEED)
    for number in range(RANDOM_FILES):
        if number % 2 == 0:
            data = rng.randbytes(rng.randrange(0, 4096))
        else:  # a real table with a few bytes overwritten gets past the header checks
            data = bytearray(rng.choice(originals))
            for _ in range(rng.randrange(1, 24)):
                data[rng.randrange(len(data))] = rng.choice((0, 0xFF, 0x7F, 4, rng.randrange(256)))
            data = bytes(data)
        path = os.path.join(folder, f"random{number}")
        with open(path, "wb") as out:
            out.write(data)
        yield path


def variables_of(tarnwick):
    """The variables, as tarnwick's report names them."""
    done = end_to_end.run([tarnwick, "--sample", "--json"], stdout=subprocess.PIPE, check=True)
    return list(json.loads(done.stdout))


def run_one(tarnwick, path, variables):
    """Runs tarnwick on one file; returns its status and a complaint, or None when it held."""
    arguments = [tarnwick, "--from-dump", path, "--dump-bin", path + ".written", "--list", *variables, *FUNCTIONS]
    try:
        done = end_to_end.run(arguments, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    except end_to_end.Hung as hung:
        return None, f"{path}: {hung}"
    error = done.stderr.decode("utf-8", "replace")
    status = done.returncode
    if status < 0:
        return status, f"{path}: killed by signal {-status}\n{error}"
    if any(report in done.stderr for report in SANITIZER_REPORTS):
        return status, f"{path}: sanitizer report (status {status})\n{error}"
    if status == 0:
        answers = done.stdout.decode("utf-8", "replace").splitlines()
        if len(answers) < len(variables) + len(FUNCTIONS):
            return status, f"{path}: status 0 but only {len(answers)} lines of output"
        return status, None
    if status == 2:
        if not any(refusal in error for refusal in REFUSALS):
            return status, f"{path}: status 2 without a message saying why: {error!r}"
        return status, None
    return status, f"{path}: status {status}\n{error}"


def sample(paths, share):
    """One in `share` of the paths, drawn by a seed that is printed."""
    if share <= 1:
        return paths
    seed = int(os.environ.get("TARNWICK_DAMAGED_DUMPS_SEED") or random.randrange(1 << 32))
    print(f"one in {share} of {len(paths)} damaged tables, drawn by TARNWICK_DAMAGED_DUMPS_SEED={seed}")
    return sorted(random.Random(seed).sample(paths, -(-len(paths) // share)))


def main():
    if len(sys.argv) not in (3, 4):
        print(__doc__, file=sys.stderr)
        return 2
    tarnwick, corpus = sys.argv[1], sys.argv[2]
    share = int(sys.argv[3]) if len(sys.argv) == 4 else 1
    end_to_end.need_or_exit(os.path.isdir(corpus), f"the corpus of tables ({corpus})")
    variables = variables_of(tarnwick)
    with tempfile.TemporaryDirectory(prefix="tarnwick-damaged-") as folder:
        paths = sample(list(damaged_files(corpus, folder)), share)
        with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
            results = list(pool.map(lambda p: run_one(tarnwick, p, variables), paths))
    complaints = [complaint for _, complaint in results if complaint is not None]
    for complaint in complaints[:20]:
        print(complaint, file=sys.stderr)
    loaded = sum(1 for status, _ in results if status == 0)
    refused = sum(1 for status, _ in results if status == 2)
    print(f"{len(paths)} damaged tables: {loaded} answered, {refused} refused with a reason, "
          f"{len(complaints)} crashes or unexplained endings")
    return 1 if complaints else 0


if __name__ == "__main__":
    sys.exit(main())
