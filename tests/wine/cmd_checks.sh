#!/usr/bin/env bash
# Runs tarnwick.exe --cmd under Wine's cmd.exe the way batch files use it,
#   for /f "delims=" %%L in ('tarnwick.exe --cmd NAME ...') do %%L
# with and without delayed expansion, on a table whose strings hold the
# characters that cmd.exe treats specially (% ^ & < > | and blanks), and
# checks that every variable is set to its exact value, and that values
# cmd.exe cannot carry (a double quote, "!") set nothing and fail with a
# diagnostic and exit status 1, as do values that Wine's cmd.exe would set
# wrong or lose with every later line (its for variables, Ctrl-Z, a line of
# 8191 bytes), the other NAMEs still set. Also: --dump-bin leaves an
# existing file be.
#   cmd_checks.sh BUILD_DIR      (BUILD_DIR holds cli/tarnwick.exe)
set -euo pipefail

build=$(cd "$1" && pwd)
source "$(dirname "$0")/wine_session.sh"

# The values, by name; the table below carries them.
mfg='A&B <C> | D ^E %PATH% 50% ^^'
product='  Q7  two  blanks  '
serial='SN-1 (x) ; y, =z'
family='%%~dp0 ^& x'
bb_product='Hi!'           # "!": delayed expansion would swallow it
chassis_tag='say "hi"'     # a double quote ends set "..." early
# Wine's cmd.exe replaces the loop's for variables again in the text it put
# in their place; a Ctrl-Z or a line of 8191 bytes ends the whole loop.
sys_version='x%Ay'         # "xsety"
sku='%~$PATH:A'            # nothing set
bb_mfg='%B'                # cmd.exe crashes
bb_version=$(printf 'x%.0s' {1..8177})
chassis_mfg=$'a\x1ab'

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
def structure(kind, handle, formatted, strings):
    body = bytes([kind, 4 + len(formatted)]) + struct.pack("<H", handle) + bytes(formatted)
    return body + b"".join(s.encode() + b"\0" for s in strings) + (b"" if strings else b"\0") + b"\0"
e = os.environ
system = [1, 2, 5, 3] + [0] * 16 + [6, 6, 4]  # wake-up type 6 at 18h
table = (structure(1, 0, system, [e[k] for k in ("MFG", "PRODUCT", "SERIAL", "FAMILY", "SYS_VERSION", "SKU")])
         + structure(2, 1, [1, 2, 3], [e["BB_MFG"], e["BB"], e["BB_VERSION"]])
         + structure(3, 2, [1, 3, 0, 0, 2], [e["CHASSIS_MFG"], e["TAG"]])
         + structure(127, 3, [], []))
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

echo "--- exit status and diagnostics of values cmd.exe cannot carry"
status=0
(cd "$run" && hang_guard wine tarnwick.exe --cmd --from-dump t.bin _smbserial $refused \
  >"$work/refused.out" 2>"$work/refused.err") || status=$?
((status == 1)) || fail "exit status $status, expected 1"
[[ $(cat "$work/refused.out") == "set \"_smbserial=$serial\"" ]] || fail "output: $(cat -A "$work/refused.out")"
for row in '_smbsysversion|"%A", which' '_smbsku|"%~$PATH:A", which' '_smbbbmfg|"%B", which' \
  '_smbbbversion|8177 bytes' '_smbchassismfg|a Ctrl-Z' '_smbbbproduct|"!"' '_smbchassistag|a double quote'; do
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
