"""reference.py TARNWICK [--check]: writes the lists of docs/ that come from the one list of names
(host/names.h) and the one option table (cli/option_table.h), as the built TARNWICK prints them:
in docs/names.md the report and `--names` of the sample table and each name's answer on it, in
docs/files.md the options of `--help`. Each list stands between a line "<!-- from: COMMAND -->"
and a line "<!-- end -->". With --check it writes nothing and fails where a page differs.

    cmake --build --preset native --target reference    # rewrites the pages
"""
import difflib
import json
import os
import re
import subprocess
import sys

SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
REWRITE = "cmake --build --preset native --target reference"


def run(tarnwick, *arguments):
    return subprocess.run([tarnwick, *arguments], capture_output=True, text=True, check=True).stdout


def options_table(usage):
    """--help's options as a table: `--from-dump FILE` | its help, the lines joined."""
    rows = []
    for line in usage.split("\nOptions:\n", 1)[1].split("\n\n", 1)[0].splitlines():
        option, _, text = line.strip().partition("  ")
        if line.startswith("  -"):
            rows.append([option, text.strip()])
        else:
            rows[-1][1] += " " + line.strip()
    return "| Option | Effect |\n|---|---|\n" + "".join(f"| `{option}` | {text} |\n" for option, text in rows)


def answers_filled(text, tarnwick):
    """Each table row `NAME` | ... | `answer` with the answer NAME gives on the sample table."""
    rows = re.findall(r"(?m)^\| `([_@][^`]*)` \|.*\| `[^`]*` \|$", text)
    answers = json.loads(run(tarnwick, "--sample", "--json", *rows))
    return re.sub(r"(?m)^(\| `([_@][^`]*)` \|.*\| `)[^`]*(` \|)$",
                  lambda row: row[1] + answers[row[2]] + row[3], text)


def blocks_filled(text, tarnwick):
    """Each block after "<!-- from: COMMAND -->" with what COMMAND prints, as a text block or a table."""
    def block(found):
        command = found[2]
        output = run(tarnwick, *command.split()[1:])
        body = options_table(output) if command == "tarnwick --help" else f"```text\n$ {command}\n{output}```\n"
        return found[1] + body + found[3]
    return re.sub(r"(?s)(<!-- from: ([^>]*) -->\n).*?(<!-- end -->)", block, text)


def main():
    if len(sys.argv) not in (2, 3) or sys.argv[2:] not in ([], ["--check"]):
        sys.exit(__doc__)
    tarnwick, differ = os.path.abspath(sys.argv[1]), []
    for page, fill in (("docs/names.md", lambda t: answers_filled(blocks_filled(t, tarnwick), tarnwick)),
                       ("docs/files.md", lambda t: blocks_filled(t, tarnwick))):
        with open(os.path.join(SOURCE, page)) as f:
            old = f.read()
        new = fill(old)
        if new == old:
            continue
        differ.append(page)
        if sys.argv[2:]:
            sys.stdout.writelines(difflib.unified_diff(old.splitlines(True), new.splitlines(True), page, page))
        else:
            with open(os.path.join(SOURCE, page), "w") as f:
                f.write(new)
    if differ and sys.argv[2:]:
        sys.exit(f"{', '.join(differ)}: not as the one list gives them; rewrite with: {REWRITE}")


if __name__ == "__main__":
    main()
