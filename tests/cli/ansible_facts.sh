#!/usr/bin/env bash
# ansible_facts.sh TARNWICK: a tarnwick.fact running tarnwick --json on the sample
# table brings its object into Ansible's setup module as ansible_local.tarnwick.
set -euo pipefail
tarnwick=$(realpath "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/facts"
printf '#!/bin/sh\nexec %q --sample --json _smbuuid "@smbword[4,0x16]"\n' "$tarnwick" >"$work/facts/tarnwick.fact"
chmod +x "$work/facts/tarnwick.fact"

export HOME=$work ANSIBLE_LOCAL_TEMP=$work/tmp ANSIBLE_PYTHON_INTERPRETER=auto_silent
ansible localhost -m ansible.builtin.setup -a "fact_path=$work/facts filter=ansible_local" \
  >"$work/out.txt" 2>"$work/err.txt" || { cat "$work/out.txt" "$work/err.txt"; exit 1; }
python3 - "$work/out.txt" <<'CHECK'
import json, sys
text = open(sys.argv[1]).read()
facts = json.loads(text[text.index("{"):])["ansible_facts"]["ansible_local"]["tarnwick"]
expected = {"_smbuuid": "E2517A3C-0B94-4D6F-A128-5EC307D4198B", "@smbword[4,0x16]": "3600"}
if facts != expected:
    sys.exit(f"FAIL: ansible_local.tarnwick is {facts!r}, not {expected!r}")
print("ansible: ansible_local.tarnwick holds tarnwick's answers")
CHECK
