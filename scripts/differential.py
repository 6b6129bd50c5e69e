#!/usr/bin/env python3
"""Every answer of one tarnwick build, written to one file, so that two builds
can be compared byte for byte: a change that must keep results identical
shows as an empty diff.

  scripts/differential.py TARNWICK CORPUS_DIR OUT_FILE

Tables: every corpus table in both layouts, damaged variants of them (cut,
bytes overwritten) and seeded random tables. For each: the load's status and
messages, every variable, every function but @randx over generated argument
texts (the diagnostics included), --list, --json and --dump-bin. Then the
help text of every name and the shape of @randx's digits. The names are the
ones the build lists (tarnwick --names). Everything is seeded: two runs of
one build give the same file.
"""
import glob
import os
import random
import re
import subprocess
import sys
import tempfile
import time

SCRATCH = None  # the working folder of every run: file names in the output are relative


def names_of_list(tarnwick):
    """The variables and the functions of the one list, as users write them."""
    listing = subprocess.run([tarnwick, "--names"], capture_output=True, check=True).stdout.decode()
    names = [re.match(r"[^\s\[]+", line).group(0) for line in listing.splitlines()]
    return [n for n in names if not n.startswith("@")], [n for n in names if n.startswith("@")]


def random_table(rng):
    out = bytearray()
    for _ in range(rng.randint(1, 40)):
        kind = rng.randint(0, 40)
        length = rng.choice([4, 5, 6, 8, 0x14, 0x16, 0x18, 0x1A, 0x1B, 0x28, 0x30, rng.randint(0, 255)])
        out += bytes([kind if kind < 20 else rng.randint(0, 255), length, rng.randint(0, 255), rng.randint(0, 1)])
        out += bytes(rng.choice([0, 1, 2, 3, 0xFF, rng.randint(0, 255)]) for _ in range(max(length - 4, 0)))
        for _ in range(rng.randint(0, 4)):
            out += bytes(rng.randint(1, 255) for _ in range(rng.randint(1, 12))) + b"\0"
        out += b"\0" if rng.random() < 0.9 else b""
        out += b"\0"
    if rng.random() < 0.5:
        out += bytes([127, 4, 0xFF, 0xFF, 0, 0])
    if rng.random() < 0.5:
        size = len(out)
        header = bytes([0, rng.choice([2, 3]), rng.randint(0, 8), 0]) + size.to_bytes(4, "little")
        out = header + out
    return bytes(out)


def damaged(data, rng):
    variants = [data[: rng.randint(0, len(data))] for _ in range(3)]
    for _ in range(3):
        flipped = bytearray(data)
        for _ in range(rng.randint(1, 8)):
            flipped[rng.randrange(len(flipped))] = rng.choice([0, 0xFF, 127, rng.randint(0, 255)])
        variants.append(bytes(flipped))
    return variants


def argument_texts(rng, handles):
    texts = ["", "4,0x16", "1,4,,1", "1", ",4", "abc", "0x100", "3,5,,1", "4,8,,1", "17,0x10,0x0012"]
    for kind in (0, 1, 2, 3, 4, 17, 127):
        for offset in (3, 4, 5, 7, 8, 0x10, 0x12, 0x14, 0x16, 0x19, 0x1A, 0x1C, 0x23, 0x2E, 248, 252, 254, 255):
            handle = rng.choice(handles + ["", "0x10000", "4294967295"])
            texts.append(f"{kind},{offset:#x},{handle},{rng.choice(['', '0', '1', '2', '3', 'z'])}")
    alphabet = "0123456789,,,xXaAfF \t\"g"
    for _ in range(60):
        texts.append("".join(rng.choice(alphabet) for _ in range(rng.randint(0, 14))))
    return texts


def run(tarnwick, args, stdin=b""):
    done = subprocess.run([tarnwick] + args, input=stdin, capture_output=True, cwd=SCRATCH)
    return (f"$ tarnwick {' '.join(args)}\nstatus {done.returncode}\n".encode() + b"stdout:\n" + done.stdout +
            b"stderr:\n" + done.stderr)


def handles_of(listing):
    handles = []
    for line in listing.decode(errors="replace").splitlines():
        parts = line.split()
        if "handle" in parts:
            handles.append(parts[parts.index("handle") + 1])
    return handles or ["0"]


def main():
    tarnwick, corpus, out_path = sys.argv[1:4]
    variables, functions = names_of_list(tarnwick)
    # @randx depends on the clock: only the shape of its digits is compared.
    table_functions = [f for f in functions if f != "@randx"]
    rng = random.Random(20261207)
    tables = []
    for path in sorted(glob.glob(os.path.join(corpus, "*.dump")) + glob.glob(os.path.join(corpus, "*.rsmb"))):
        with open(path, "rb") as f:
            data = f.read()
        tables.append((os.path.basename(path), data))
        if path.endswith(".rsmb"):
            for n, variant in enumerate(damaged(data, rng)):
                tables.append((f"{os.path.basename(path)}~{n}", variant))
    for n in range(300):
        tables.append((f"random-{n}", random_table(rng)))

    results = 0
    started = time.monotonic()
    print(f"differential: {len(tables)} tables through {tarnwick}", flush=True)
    global SCRATCH
    tarnwick = os.path.abspath(tarnwick)
    with tempfile.TemporaryDirectory() as scratch, open(out_path, "wb") as out:
        SCRATCH = scratch
        table_file = "table"
        for name, data in tables:
            with open(os.path.join(scratch, table_file), "wb") as f:
                f.write(data)
            out.write(f"=== {name}\n".encode())
            listing = subprocess.run([tarnwick, "--from-dump", table_file, "--list"], capture_output=True, cwd=scratch)
            out.write(run(tarnwick, ["--from-dump", table_file, "--list"]))
            # Texts seeded per table: a table whose listing changes shifts no other table's texts.
            texts = argument_texts(random.Random(name), handles_of(listing.stdout))
            lines = variables + [f"{function}[{text}]" for text in texts for function in table_functions]
            out.write(run(tarnwick, ["--from-dump", table_file, "--file", "-"], "\n".join(lines).encode()))
            out.write(run(tarnwick, ["--from-dump", table_file, "--json"] + variables + ["@smbword[4,0x16]"]))
            dump = f"dump-{results}"
            out.write(run(tarnwick, ["--from-dump", table_file, "--dump-bin", dump]))
            if os.path.exists(os.path.join(scratch, dump)):
                with open(os.path.join(scratch, dump), "rb") as f:
                    out.write(b"dump: " + f.read().hex().encode() + b"\n")
            results += len(lines) + len(variables) + 3
        for name in variables + functions:
            for spelled in (name, name.upper()):
                out.write(run(tarnwick, ["--sample", "--help-name", spelled]))
                results += 1
        for text in ["", "0", "16", "1024", "1025", "0x401", "abc", "  x1", "8,9", "   "]:
            # The digits depend on the clock; their count and the diagnostics do not.
            done = subprocess.run([tarnwick, "--sample", f"@randx[{text}]"], capture_output=True)
            digits = done.stdout.strip()
            shape = bytes(ord("h") if chr(c) in "0123456789ABCDEF" else c for c in digits)
            out.write(f"@randx[{text}] status {done.returncode} {shape!r}\n".encode() + done.stderr)
            results += 1
    print(f"differential: {len(tables)} tables, {results} results written to {out_path}: "
          f"done in {time.monotonic() - started:.0f} s")


if __name__ == "__main__":
    main()
