#!/usr/bin/env bash
# Runs tarnwick.exe --cmd under Wine's cmd.exe the way batch files use it,
#   for /f "delims=" %%L in ('tarnwick.exe --cmd NAME ...') do %%L
# with and without delayed expansion, on a table whose strings hold the
# characters that cmd.exe treats specially (^ & < > | and blanks), and
# checks that every variable is set to its exact value. Then every
# character 01h-FFh alone, and sequences of "%", "!" and "^" that Wine's
# cmd.exe mis-sets: what tarnwick writes, both parsers set exactly; the
# rest it refuses by name, and the characters that pass alone are those
# README names. Refused values (a double quote, "!", "%", Ctrl-Z, a line of
# 8191 bytes) fail with a diagnostic and exit status 1, the other NAMEs
# still set. Also: --dump-bin leaves an existing file be.
#   cmd_checks.sh BUILD_DIR      (BUILD_DIR holds cli/tarnwick.exe)
set -euo pipefail

build=$(cd "$1" && pwd)
source "$(dirname "$0")/wine_session.sh"

# The values, by name; the table below carries them.
mfg='A&B <C> | D ^E ^^ $Q:xB'
product='  Q7  two  blanks  '
serial='SN-1 (x) ; y, =z'
family='~dp0 ^& x'
bb_product='Hi!'           # "!": delayed expansion would swallow it
chassis_tag='say "hi"'
# Wine's cmd.exe replaces the loop's for variables again in the text it put
# in their place; a Ctrl-Z or a line of 8191 bytes ends the whole loop.
sys_version='x%Ay'         # "xsety"
sku='%~$PATH:A'            # nothing set
bb_mfg='%B'                # cmd.exe crashes
bb_version=$(printf 'x%.0s' {1..8177})
chassis_mfg=$'a\x1ab'
# Beside every character 01h-FFh alone, these, of which only the last five
# hold no character that --cmd refuses.
export SEQUENCES='%~$PATH:x
%~$PATHEXT:x
%~dp$PATH:b
a%~$PATH:b
%~$PATH:
%~$Q:xB
%A
%%L
^!
!x!
^^!x
~$PATH:x
dp$PATH:b
$Q:xB
a^b^^c
^&^|^'

run=$work/run
mkdir -p "$run"
cp "$build/cli/tarnwick.exe" "$run/"
# System (type 1, DSP0134 7.2: strings at 04h-07h, SKU 19h, family 1Ah),
# baseboard (type 2, 7.3: 04h-06h), chassis (type 3, 7.4: 04h, asset tag at
# 08h), end.
export MFG=$mfg PRODUCT=$product SERIAL=$serial FAMILY=$family BB=$bb_product TAG=$chassis_tag \
  SYS_VERSION=$sys_version SKU=$sku BB_MFG=$bb_mfg BB_VERSION=$bb_version CHASSIS_MFG=$chassis_mfg
python3 - "$run/t.bin" <<'PY'
import os, struct, sys
def structure(kind, handle, formatted, strings, encoding="utf-8"):
    body = bytes([kind, 4 + len(formatted)]) + struct.pack("<H", handle) + bytes(formatted)
    return body + b"".join(s.encode(encoding) + b"\0" for s in strings) + (b"" if strings else b"\0") + b"\0"
e = os.environ
system = [1, 2, 5, 3] + [0] * 16 + [6, 6, 4]  # wake-up type 6 at 18h
table = (structure(1, 0, system, [e[k] for k in ("MFG", "PRODUCT", "SERIAL", "FAMILY", "SYS_VERSION", "SKU")])
         + structure(2, 1, [1, 2, 3], [e["BB_MFG"], e["BB"], e["BB_VERSION"]])
         + structure(3, 2, [1, 3, 0, 0, 2], [e["CHASSIS_MFG"], e["TAG"]]))
# OEM strings (type 11, DSP0134 7.12: the count at 04h), handle 16: every
# character 01h-FFh alone, as string number c; handle 17: the sequences.
sequences = os.environ["SEQUENCES"].split("\n")
table += structure(11, 16, [255], [chr(c) for c in range(1, 256)], "latin-1")
table += structure(11, 17, [len(sequences)], sequences) + structure(127, 3, [], [])
open(sys.argv[1], "wb").write(table)
PY

refused='_smbsysversion _smbsku _smbbbmfg _smbbbversion _smbchassismfg _smbbbproduct _smbchassistag'
names="_smbmfg $refused _smbproduct _smbserial _smbfamily"
# Two ways to run the lines: "line" runs each as it is (do %%L), "tokens"
# runs "set" itself on the rest (tokens=1*, do set %%B). Wine's cmd.exe
# (8.0) cannot run a for variable as a command, so there only "tokens" is
# checked; "line" is checked wherever cmd.exe can.
for mode in plain delayed; do
  for form in line tokens; do
    {
      echo '@echo off'
      if [[ $mode == delayed ]]; then echo 'setlocal EnableDelayedExpansion'; fi
      echo 'cd /d "%~dp0"'
      if [[ $form == line ]]; then
        echo "for /f \"delims=\" %%L in ('tarnwick.exe --cmd --from-dump t.bin $names') do %%L"
      else
        echo "for /f \"tokens=1*\" %%A in ('tarnwick.exe --cmd --from-dump t.bin $names') do set %%B"
      fi
      echo ">$mode-$form.txt set _smb"
      if [[ $mode == delayed ]]; then echo ">$mode-$form-echo.txt echo !_smbmfg!"; fi
    } | sed 's/$/\r/' >"$run/$mode-$form.bat"
  done
done

# Every character 01h-FFh alone (string c of the OEM strings of handle 16)
# and the sequences (handle 17), one NAME per line of names.txt.
{
  printf '@smbstrnum[11,%d,16]\n' {1..255}
  printf '@smbstrnum[11,%d,17]\n' $(seq "$(wc -l <<<"$SEQUENCES")")
} >"$run/names.txt"
for mode in plain delayed; do
  {
    echo '@echo off'
    if [[ $mode == delayed ]]; then echo 'setlocal EnableDelayedExpansion'; fi
    echo 'cd /d "%~dp0"'
    echo "for /f \"tokens=1*\" %%A in ('tarnwick.exe --cmd --from-dump t.bin --file names.txt') do set %%B"
    echo ">chars-$mode.txt set @smbstrnum"
  } | sed 's/$/\r/' >"$run/chars-$mode.bat"
done

echo "--- Wine prefix"
new_wine_prefix || { echo "FAIL: wineboot could not create the prefix"; exit 1; }

winrun=$(printf 'Z:%s' "${run//\//\\}")
expected=$work/expected.txt
printf '%s\r\n' "_smbfamily=$family" "_smbmfg=$mfg" "_smbproduct=$product" "_smbserial=$serial" >"$expected"
for mode in plain delayed; do
  for form in line tokens; do
    name=$mode-$form
    echo "--- for /f with --cmd: $name"
    hang_guard wine cmd /c "$winrun\\$name.bat" >"$work/$name.out" 2>"$work/$name.err" </dev/null || true
    if [[ $form == line ]] && grep -q "Can't recognize 'set " "$work/$name.out" "$work/$name.err"; then
      echo "    this cmd.exe cannot run a for variable as a command; the tokens form stands in"
      continue
    fi
    if ! cmp -s "$expected" "$run/$name.txt"; then
      fail "$name: the variables differ (- expected, + set by the batch file):"
      diff -u "$expected" "$run/$name.txt" | tail -n +3 | cat -A || true
    fi
    if [[ $mode == delayed && $(cat "$run/$name-echo.txt" 2>/dev/null) != "$mfg"$'\r' ]]; then
      fail "$name: echo !_smbmfg! gave $(cat -A "$run/$name-echo.txt" 2>/dev/null)"
    fi
  done
done

echo "--- every character 01h-FFh and the sequences, through for /f ... do set %%B"
status=0
(cd "$run" && hang_guard wine tarnwick.exe --cmd --from-dump t.bin --file names.txt \
  >"$work/chars.out" 2>"$work/chars.err") || status=$?
((status == 1)) || fail "characters: exit status $status, expected 1"
for mode in plain delayed; do
  hang_guard wine cmd /c "$winrun\\chars-$mode.bat" >"$work/chars-$mode.log" 2>&1 </dev/null || true
done
# What tarnwick wrote is what both parsers set, and it refused the rest by
# name: the characters that pass are the documented ones (README).
python3 - "$work/chars.out" "$work/chars.err" "$run/chars-plain.txt" "$run/chars-delayed.txt" <<'PY' || fail "characters"
import os, re, string, sys
values = {f"@smbstrnum[11,{c},16]": chr(c) for c in range(1, 256)}
values.update((f"@smbstrnum[11,{i},17]", s) for i, s in enumerate(os.environ["SEQUENCES"].split("\n"), 1))
written = dict(re.fullmatch(r'set "([^=]*)=(.*)"', line).groups() for line in open(sys.argv[1], encoding="utf-8").read().splitlines())
refused = set(re.findall(r"\]  (\S+): the value holds ", open(sys.argv[2], encoding="utf-8").read()))
problems = [f"{name}: neither written nor refused" for name in values if (name in written) == (name in refused)]
problems += [f"{name}: written as {written[name]!r}, not {values[name]!r}" for name in written if written[name] != values[name]]
passing = set(string.ascii_letters + string.digits + " #$&'()*+,-./:;<=>?@[\\]^_`{|}~")
if {v for n, v in written.items() if n.endswith(",16]")} != passing:
    problems.append(f"the characters written alone differ from the documented ones: {sorted(passing ^ set(written.values()))}")
if [v for n, v in written.items() if n.endswith(",17]")] != os.environ["SEQUENCES"].split("\n")[-5:]:
    problems.append(f"sequences written: {[v for n, v in written.items() if n.endswith(',17]')]}")
for path in sys.argv[3:]:
    lines = open(path, "rb").read().decode("ascii").split("\r\n") if os.path.exists(path) else []
    set_by_cmd = dict(line.split("=", 1) for line in lines if line)
    problems += [f"{os.path.basename(path)}: {n} set to {set_by_cmd.get(n)!r}, not {v!r}"
                 for n, v in written.items() if set_by_cmd.get(n) != v]
    problems += [f"{os.path.basename(path)}: {n} set, though refused" for n in set_by_cmd if n not in written]
print("\n".join(problems[:40]))
sys.exit(1 if problems else 0)
PY

echo "--- exit status and diagnostics of values cmd.exe cannot carry"
status=0
(cd "$run" && hang_guard wine tarnwick.exe --cmd --from-dump t.bin _smbserial $refused \
  >"$work/refused.out" 2>"$work/refused.err") || status=$?
((status == 1)) || fail "exit status $status, expected 1"
[[ $(cat "$work/refused.out") == "set \"_smbserial=$serial\"" ]] || fail "output: $(cat -A "$work/refused.out")"
for row in '_smbsysversion|"%" (U+0025), which' '_smbsku|"%"' '_smbbbmfg|"%"' \
  '_smbbbversion|8177 bytes' '_smbchassismfg|U+001A' '_smbbbproduct|"!"' '_smbchassistag|""" (U+0022)'; do
  grep -qF "tarnwick: ${row%%|*}: the value holds ${row#*|}" "$work/refused.err" || fail "no diagnostic: $row"
done

# The Windows side of writing only new files (CREATE_NEW), checked here
# where tarnwick.exe already runs.
echo "--- --dump-bin refuses an existing file"
printf 'keep me' >"$run/existing.dump"
status=0
(cd "$run" && hang_guard wine tarnwick.exe --sample --dump-bin existing.dump >/dev/null 2>"$work/dump.err") || status=$?
((status == 2)) || fail "--dump-bin over an existing file: exit status $status, expected 2"
[[ $(cat "$run/existing.dump") == 'keep me' ]] || fail "--dump-bin overwrote an existing file"
grep -q '^tarnwick: cannot write existing.dump: exists; ' "$work/dump.err" || fail "--dump-bin: $(cat "$work/dump.err")"

if ((failures)); then
  echo "cmd.exe checks: $failures failed"
  exit 1
fi
echo "cmd.exe checks passed"
