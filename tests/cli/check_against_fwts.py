"""tarnwick --check judged against the Firmware Test Suite's dmicheck on the corpus.

For every fwts finding (but its battery check, which asks the running system, and lengths longer
than it expects, which are notes here) --check must report the same structure (its position in
the table) and offset, or docs/check.md must explain, in a row naming the type and the field as
fwts names it, why fwts is wrong there. Prints found / explained / total per fwts label.

    check_against_fwts.py TARNWICK CORPUS_DIR CHECK_MD

Outside CI a corpus without fwts logs skips (status 77, in one line); with CI=true it fails.
"""
import collections
import json
import os
import re
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import end_to_end  # noqa: E402

DUMP_TABLE_ADDRESS = 0x20  # where a dump keeps its table (dmidecode's layout)
NOT_JUDGED = {"DMIInvalidHardwareEntry"}  # "no battery found": asks the running system


def walk(dump):
    """(position, type, length, handle) of each structure, as fwts walks them: up to the
    entry point's count, while a header fits."""
    table = dump[DUMP_TABLE_ADDRESS:]
    out, at = [], 0
    while at + 4 <= len(table):
        kind, length, handle = table[at], table[at + 1], int.from_bytes(table[at + 2:at + 4], "little")
        if length < 4:
            break
        out.append((at, kind, length, handle))
        end = at + length
        while end + 1 < len(table) and table[end:end + 2] != b"\0\0":
            end += 1
        at = end + 2
    return out


def fwts_findings(log, structures):
    """{(label, position, offset, field): type} of the log's FAILED lines, tests 2 and 3 as one;
    position None for findings about the table as a whole."""
    text = open(log, encoding="utf-8", errors="replace").read()
    found = {}
    for section in re.split(r"\nTest \d of \d: ", text)[1:]:
        cursor = -1  # index of the last structure the section named
        for paragraph in re.split(r"\n(?=FAILED|PASSED|ADVICE|SKIPPED)", section):
            paragraph = " ".join(paragraph.split())
            at = re.search(r"@ 0x([0-9a-f]{8})", paragraph)
            position = int(at.group(1), 16) - DUMP_TABLE_ADDRESS if at else None
            if position is not None:
                cursor = max([i for i, s in enumerate(structures) if s[0] == position] or [cursor])
            failed = re.match(r"FAILED \[\w+\] (\w+): Test \d, (.*)", paragraph)
            if not failed or failed.group(1) in NOT_JUDGED:
                continue
            label, message = failed.groups()
            length = re.match(r"Type (\d+) expects length of 0x(\w+), has incorrect length of 0x(\w+)", message)
            if length:
                kind, expects, has = int(length.group(1)), int(length.group(2), 16), int(length.group(3), 16)
                following = [i for i in range(cursor + 1, len(structures))
                             if structures[i][1] == kind and structures[i][2] == has]
                cursor = following[0]
                if has > expects:
                    continue  # a later version's fields: a note here
                found[(label, structures[cursor][0], 1, "Length")] = kind
                continue
            field = re.search(r"field '([^']*)'", message)
            offset = re.search(r"offset 0x([0-9a-f]+)", message)
            kind = re.search(r"\(Type (\d+)\)'", message)
            if position is None:
                found[(label, None, None, message)] = None
            else:
                found[(label, position, int(offset.group(1), 16) if offset else None,
                       field.group(1) if field else "")] = int(kind.group(1)) if kind else None
    return found


def check_findings(tarnwick, dump):
    """{(position, offset): finding} and the kinds that --check reports for the dump."""
    findings = json.loads(end_to_end.run([tarnwick, "--check", "--json", "--from-dump", dump], capture_output=True).stdout)
    return {(finding["at"], finding["offset"]): finding for finding in findings}, {f["kind"] for f in findings}


def explanations(check_md):
    """{(type, field)} of the rows of docs/check.md that say why fwts is wrong (with a DSP0134 section)."""
    rows = set()
    for line in open(check_md, encoding="utf-8"):
        cells = [c.strip().strip("`") for c in line.strip().strip("|").split("|")]
        if len(cells) >= 4 and re.fullmatch(r"type \d+", cells[1]) and re.search(r"\b\d+\.\d+", cells[3]):
            rows.add((int(cells[1].split()[1]), cells[2]))
    return rows


# Findings about the table as a whole, and the kinds of --check that find them.
TABLE_WIDE = {
    "DMI table length was": {"table-length"},
    # fwts reads an SMBIOS 3 table to its maximum size, past a table that ends without an
    # end-of-table structure, and meets zeros there.
    "The size of a DMI entry 0 is illegal": {"length-below-header", "no-end-of-table"},
}


def main():
    tarnwick, corpus, check_md = sys.argv[1:4]
    logs = os.path.join(corpus, "fwts")
    end_to_end.need_or_exit(os.path.isdir(logs), f"the folder of the Firmware Test Suite's logs ({logs})")
    explained_rows = explanations(check_md)
    tally = collections.defaultdict(lambda: [0, 0, 0])  # label: found, explained, total
    missing = []
    fwts_misses = collections.Counter()  # --check's defects where fwts has no finding
    for name in sorted(f[:-4] for f in os.listdir(logs) if f.endswith(".log")):
        dump_path = os.path.join(corpus, name + ".dump")
        structures = walk(open(dump_path, "rb").read())
        places, kinds = check_findings(tarnwick, dump_path)
        fwts = fwts_findings(os.path.join(logs, name + ".log"), structures)
        fwts_places = {(position, offset) for (_, position, offset, _) in fwts}
        for place, finding in places.items():
            if place not in fwts_places and finding["severity"] == "defect" and finding["type"] is not None:
                fwts_misses[(finding["kind"], finding["type"], finding["field"])] += 1
        for (label, position, offset, field), kind in fwts.items():
            counts = tally[label]
            counts[2] += 1
            if position is None:
                wide = [words for text, words in TABLE_WIDE.items() if field.startswith(text)]
                hit = bool(wide) and bool(wide[0] & kinds)
            else:
                hit = (position, offset) in places
            if hit:
                counts[0] += 1
            elif (kind, field) in explained_rows:
                counts[1] += 1
            else:
                missing.append("%s: %s type %s at 0x%04X offset %s %r" %
                               (name, label, kind, position or 0, offset, field))
    print("%-28s %6s %9s %6s" % ("fwts label", "found", "explained", "total"))
    for label in sorted(tally):
        print("%-28s %6d %9d %6d" % ((label,) + tuple(tally[label])))
    for (kind, structure_type, field), count in sorted(fwts_misses.items(), key=lambda item: -item[1]):
        print("found by --check alone: %4d %s type %d %s" % (count, kind, structure_type, field))
    for line in missing:
        print("neither found nor explained:", line)
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
