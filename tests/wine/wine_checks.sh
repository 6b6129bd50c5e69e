#!/usr/bin/env bash
# Runs a build's Tarnwick.dll (x64 or x86) under headless Wine through the
# host stand-ins, in a throw-away prefix, and checks every answer:
#   wine_checks.sh BUILD_DIR [NATIVE_TARNWICK]
# BUILD_DIR holds Tarnwick.dll, standins/ and cli/tarnwick.exe of one
# architecture;
# NATIVE_TARNWICK is the Linux tarnwick that answers from the same tables.
#
# The version resources of the DLL and tarnwick.exe; the load banner as the
# host's variables ask; every name against the
# table Wine builds, and against one built from identity strings of the
# test's (in a private mount namespace); diagnostics at the prompt and in a
# batch file; help; the service missing, empty, failing or invalid; and the
# same answers as the Linux tarnwick on every table fetched or in the
# corpus, from the DLL and from tarnwick.exe; tarnwick.exe on table strings
# that read as calls, UTF-16 batch files, a full disk and a reader gone. The expected values are in
# cases/. Outside CI a missing unshare, corpus or tarnwick skips its part;
# in CI (CI=true) it fails.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
cases=$here/cases
build=$(cd "$1" && pwd)
native=${2:+$(realpath -m "$2")}
corpus=$(realpath -m "$here/../../../shared/corpus")
in_ci=false
[[ ${CI:-} == true ]] && in_ci=true

host=$build/standins/standin_host.exe
windows_cli=$build/cli/tarnwick.exe

source "$(dirname "$0")/wine_session.sh"
section() {
  echo "--- $1"
  section_started=$(date +%s%N)
}
section_done() { echo "    ($(( ($(date +%s%N) - section_started) / 1000000 )) ms)"; }

# A Unix path as Wine's drive Z: sees it.
winpath() {
  local path
  path=$(realpath -m "$1")
  printf 'Z:%s' "${path//\//\\}"
}
dll=$(winpath "$build/Tarnwick.dll")

# run_expecting STATUS NAME COMMAND...: stdout and stderr to $work/NAME.out
# and .err; a run that ends with another status, or hangs, fails the check.
run_expecting() {
  local expected=$1 name=$2 status=0
  shift 2
  timed_run "$work/$name.out" "$work/$name.err" "$@" || status=$?
  if ((status != expected)); then
    fail "$name: exit status $status, expected $expected ($(head -c 300 "$work/$name.err"))"
    return 1
  fi
}
run() { run_expecting 0 "$@"; }

# The rows of a case file: comment lines and empty lines left out.
rows() { grep -v -e '^#' -e '^$' "$1"; }

# same LABEL EXPECTED_FILE ACTUAL_FILE: byte for byte.
same() {
  if ! cmp -s "$2" "$3"; then
    fail "$1 differs (- expected, + actual):"
    { diff -u "$2" "$3" | tail -n +3 | cat -A | head -40; } || true
  fi
}

# check_calls LABEL CASES OUT: each row "CALL<tab>TEXT" of CASES must meet
# its "call" line in OUT, in order: result 0 and that text ("~" opens an
# anchored pattern).
check_calls() {
  local label=$1 row=0 line call expected actual prefix
  local -a answers
  mapfile -t answers < <(grep $'^call\t' "$3")
  while IFS= read -r line; do
    call=${line%%$'\t'*}
    expected=${line#*$'\t'}
    actual=${answers[row]:-}
    row=$((row + 1))
    prefix=$'call\t'"$call"$'\t0\t'
    if [[ $expected == '~'* ]]; then
      [[ $actual == "$prefix"* && ${actual#"$prefix"} =~ ^${expected#'~'}$ ]] && continue
    else
      [[ $actual == "$prefix$expected" ]] && continue
    fi
    fail "$label: $call gave \"${actual}\", expected result 0 and \"$expected\""
  done < <(rows "$2")
  ((${#answers[@]} >= row)) || fail "$label: ${#answers[@]} answers for $row calls"
}

calls_of() { rows "$1" | cut -f1; }

# Every numeric field and string of the first 28 bytes of the types Wine's
# table can hold, asked of the DLL and of tarnwick alike.
sweep=()
for type in 0 1 2 3 4 32 127; do
  for offset in $(seq 4 27); do
    sweep+=("@smbbyte[$type,$offset]" "@smbword[$type,$offset,,1]" "@smbdword[$type,$offset]"
      "@smbqword[$type,$offset,,1]" "@smbstring[$type,$offset]")
  done
done

have_native=false
if [[ -n $native && -x $native ]]; then
  have_native=true
elif $in_ci; then
  fail "the Linux tarnwick ($native) is missing"
fi

# same_as_native LABEL TABLE OUT CALLS...: tarnwick --from-dump TABLE must print
# exactly the texts of the DLL's successful calls in OUT; @randx and the
# calls on threads of their own are left out.
same_as_native() {
  local label=$1 table=$2 out=$3
  shift 3
  $have_native || return 0
  local -a calls=()
  for call in "$@"; do [[ $call == @randx* || $call == '&'* ]] || calls+=("$call"); done
  awk -F'\t' '$1 == "call" && $2 !~ /^(@randx|&)/ && $3 == "0"' "$out" | cut -f4- >"$out.answers"
  local status=0
  "$native" --from-dump "$table" "${calls[@]}" >"$out.native" 2>"$out.native-err" || status=$?
  ((status == 0)) || fail "$label: tarnwick --from-dump exit status $status ($(head -c 300 "$out.native-err"))"
  same "$label: tarnwick --from-dump" "$out.answers" "$out.native"
  echo "    tarnwick --from-dump on the same table: ${#calls[@]} answers compared"
}

# The list's names in its order, as the build wrote out its exports; the
# variables alone; and PluginInfo as the host prints it, listing the names.
implemented=$(tail -n +5 "$build/plugin/exports.txt" | sed 's/^f_/@/')
mapfile -t variables < <(grep -v '^@' <<<"$implemented")
plugin_info() { sed "s/^info\timplements\t.*/info\timplements\t$(paste -sd, <<<"$implemented")/" "$cases/plugin_info.txt"; }

section "Wine prefix"
if ! new_wine_prefix; then
  echo "FAIL: wineboot could not create the prefix"
  exit 1
fi
section_done

section "version resources, read back with GetFileVersionInfoW and VerQueryValueW"
# Every field as cases/ expects it, and the version that of project().
version=$(sed -n 's/^project(Tarnwick VERSION \([0-9.]*\).*/\1/p' "$here/../../CMakeLists.txt")
for module in Tarnwick.dll:dll cli/tarnwick.exe:exe; do
  file=${module%:*} kind=${module#*:}
  name=version-$kind
  if [[ ! -f $build/$file ]]; then
    if $in_ci; then fail "$file is missing"; else echo "    skipped: $file not built"; fi
    continue
  fi
  run "$name" wine "$build/standins/version_reader.exe" "$(winpath "$build/$file")" || continue
  same "$file: version resource" "$cases/version_resource_$kind.txt" "$work/$name.out"
  grep -q -x -F $'string\tFileVersion\t'"$version" "$work/$name.out" ||
    fail "$file: FileVersion is not the project's version $version"
  echo "    $file: $(grep -c . "$work/$name.out") fields checked"
done
section_done

section "load banner from the host's variables"
# Expected output of a run that only loads, initialises and unloads.
lifecycle() {
  plugin_info
  [[ $1 == banner ]] && printf 'Tarnwick v0.26.3 loaded.\r\n'
  printf 'init\t0\nshutdown\t0\nunload\t1\n'
}
lifecycle banner >"$work/banner.expected"
lifecycle silent >"$work/silent.expected"
: >"$work/empty"
banner_case() {  # EXPECTED VARIABLES...: _transient, _pipe and noloadmsg
  local expected=$1 name="banner-$2"
  shift
  local -a vars=()
  for assignment in "$@"; do vars+=(--var "$assignment"); done
  run "$name" wine "$host" "${vars[@]}" "$dll" || return 0
  same "$name (stdout)" "$work/$expected.expected" "$work/$name.out"
  same "$name (stderr)" "$work/empty" "$work/$name.err"
  echo "    $* -> $expected"
}
banner_case banner _transient=0 _pipe=0
banner_case banner _transient=0 _pipe=0 noloadmsg=
banner_case silent _transient=1 _pipe=0
banner_case silent _transient=0 _pipe=1
banner_case silent _transient=0 _pipe=0 noloadmsg=1
banner_case silent _transient=0 _pipe=0 noloadmsg=0
banner_case silent _transient= _pipe=0
section_done

section "all names against Wine's own firmware table"
# Every function has its cases; a variable without one is compared with the
# Linux tarnwick's answer like the rest.
for name in $implemented; do
  [[ $name != @* ]] || calls_of "$cases/wine_table.tsv" | sed 's/\[.*//' | grep -q -x -F "$name" ||
    fail "wine_table.tsv never calls $name"
done
mapfile -t calls < <(calls_of "$cases/wine_table.tsv")
calls+=("${sweep[@]}" "${variables[@]}")
if run wine-table wine "$host" --var _transient=1 --write-table "$(winpath "$work/wine-table.rsmb")" "$dll" "${calls[@]}"; then
  check_calls "Wine's table" "$cases/wine_table.tsv" "$work/wine-table.out"
  same "Wine's table (stderr)" "$work/empty" "$work/wine-table.err"
  echo "    ${#calls[@]} calls; the host fetched $(sed -n 's/^table\t//p' "$work/wine-table.out") bytes itself"
  same_as_native "Wine's table" "$work/wine-table.rsmb" "$work/wine-table.out" "${calls[@]}"
fi
section_done

section "identity strings through Wine's sources for its table (/sys/class/dmi/id)"
if unshare -m true 2>/dev/null; then
  mkdir -p "$work/sysclass/dmi/id"
  while IFS=$'\t' read -r file content; do
    printf '%b\n' "$content" >"$work/sysclass/dmi/id/$file"
  done < <(rows "$cases/identity.tsv")
  mapfile -t calls < <(calls_of "$cases/identity_table.tsv")
  calls+=("${sweep[@]}" "${variables[@]}")
  # Inside a private mount namespace the directory of the test's files
  # stands in for /sys/class; the Wine server outside is unaffected.
  if run identity-table unshare -m sh -c 'mount --bind "$0" /sys/class && exec "$@"' "$work/sysclass" \
    wine "$host" --var _transient=1 --write-table "$(winpath "$work/identity-table.rsmb")" "$dll" "${calls[@]}"; then
    check_calls "identity table" "$cases/identity_table.tsv" "$work/identity-table.out"
    same "identity table (stderr)" "$work/empty" "$work/identity-table.err"
    echo "    ${#calls[@]} calls; the host fetched $(sed -n 's/^table\t//p' "$work/identity-table.out") bytes itself"
    same_as_native "identity table" "$work/identity-table.rsmb" "$work/identity-table.out" "${calls[@]}"
  fi
elif $in_ci; then
  fail "unshare -m is not allowed here, so the identity strings cannot be supplied"
else
  echo "    skipped: unshare -m is not allowed here (outside CI)"
fi
section_done

section "diagnostics through the host's Qprintf"
# diagnostics LABEL LOCATION VARIABLES...: every refused call of the case
# file, with the batch location (or nothing) between prefix and message.
diagnostics() {
  local label=$1 location=$2 name="diagnostics-$1" line call buffer message
  shift 2
  local -a vars=() calls=()
  for assignment in "$@"; do vars+=(--var "$assignment"); done
  : >"$work/$name.expected-out"
  : >"$work/$name.expected-err"
  while IFS= read -r line; do
    call=${line%%$'\t'*}
    line=${line#*$'\t'}
    buffer=${line%%$'\t'*}
    message=${line#*$'\t'}
    calls+=("$call")
    printf 'call\t%s\t-1\t%s\n' "$call" "$buffer" >>"$work/$name.expected-out"
    printf 'Tarnwick plugin: %s%s\r\n' "$location" "$message" >>"$work/$name.expected-err"
  done < <(rows "$cases/diagnostics.tsv")
  run "$name" wine "$host" --var _transient=1 "${vars[@]}" "$dll" "${calls[@]}" || return 0
  grep $'^call\t' "$work/$name.out" >"$work/$name.calls" || true
  same "$name (stdout)" "$work/$name.expected-out" "$work/$name.calls"
  same "$name (stderr)" "$work/$name.expected-err" "$work/$name.err"
  echo "    $label: ${#calls[@]} refused calls"
  if [[ $label == prompt ]] && $have_native; then
    "$native" --from-dump "$work/wine-table.rsmb" "${calls[@]}" >"$work/$name.native" 2>"$work/$name.native-err" || true
    printf '%.0s\n' "${calls[@]}" >"$work/$name.native-expected"  # each refused NAME keeps its line, empty
    same "$name: tarnwick --from-dump (stdout)" "$work/$name.native-expected" "$work/$name.native"
    same "$name: tarnwick --from-dump (stderr)" "$work/$name.err" "$work/$name.native-err"
    echo "    tarnwick --from-dump on the same table: the same diagnostics"
  fi
}
diagnostics prompt ""
diagnostics batch 'C:\tests\probe.btm [12]  ' _batch=1 '_batchname=C:\tests\probe.btm' _batchline=12
section_done

section "help"
{
  for name in $implemented; do printf '%s\t1\n' "$name"; done
  rows "$cases/help.tsv"
} >"$work/help.cases"
mapfile -t calls < <(cut -f1 "$work/help.cases" | sed 's/^/?/')
if run help wine "$host" --var _transient=1 "$dll" "${calls[@]}"; then
  sed 's/^/help\t/' "$work/help.cases" >"$work/help.expected"
  grep $'^help\t' "$work/help.out" >"$work/help.answers" || true
  same "help" "$work/help.expected" "$work/help.answers"
  same "help (stderr)" "$work/empty" "$work/help.err"
  echo "    ${#calls[@]} names asked; the system's message box returned at once"
fi
# Again with the plug-in's MessageBoxW taken by the stand-in host: the owner,
# caption and style of each box, and its text, the same as tarnwick's help.
if run help-boxes wine "$host" --var _transient=1 --message-boxes "$(winpath "$work/help-boxes.txt")" "$dll" \
  "${calls[@]}"; then
  : >"$work/help-boxes.expected"
  shown=()
  while IFS=$'\t' read -r name result; do
    if [[ $result == 1 ]]; then
      printf 'messagebox\tforeground window\tTarnwick Plugin Help\t0\n' >>"$work/help-boxes.expected"
      shown+=(--help-name "$name")
    fi
    printf 'help\t%s\t%s\n' "$name" "$result" >>"$work/help-boxes.expected"
  done <"$work/help.cases"
  grep -E $'^(help|messagebox)\t' "$work/help-boxes.out" >"$work/help-boxes.answers" || true
  same "help message boxes" "$work/help-boxes.expected" "$work/help-boxes.answers"
  if $have_native; then
    "$native" --sample "${shown[@]}" >"$work/help-boxes.native" 2>"$work/help-boxes.native-err" ||
      fail "tarnwick --help-name: $(head -c 300 "$work/help-boxes.native-err")"
    same "help texts (- tarnwick --help-name, + the DLL's message boxes)" "$work/help-boxes.native" \
      "$work/help-boxes.txt"
  fi
  echo "    $((${#shown[@]} / 2)) message boxes taken: owner, caption, style and text checked"
fi
section_done

section "load failures: the firmware-table service missing, empty, failing, invalid"
# The stand-in host answers the plug-in's lookup of the service; the plug-in
# refuses to load with its reason, and the host's run ends with status 3.
while IFS=$'\t' read -r how message; do
  name="load-failure-${how%%:*}"
  if [[ $how == bytes:* ]]; then
    printf '%b' "${how#bytes:}" >"$work/$name.bin"
    how=$(winpath "$work/$name.bin")
  fi
  run_expecting 3 "$name" wine "$host" --firmware "$how" "$dll" _smbver || continue
  { plugin_info; printf 'init\t-1\n'; } >"$work/$name.expected-out"
  printf 'Tarnwick plugin: %s\r\nPlugin not loaded.\r\n' "$message" >"$work/$name.expected-err"
  same "$name (stdout)" "$work/$name.expected-out" "$work/$name.out"
  same "$name (stderr)" "$work/$name.expected-err" "$work/$name.err"
  echo "    ${name#load-failure-}: $message"
done < <(rows "$cases/load_failures.tsv")
section_done

section "Tarnwick.dll against the Linux tarnwick on every service buffer of the corpus"
if ! $have_native; then
  if $in_ci; then fail "the Linux tarnwick is missing"; else echo "    skipped: tarnwick not built"; fi
elif [[ ! -d $corpus ]]; then
  if $in_ci; then fail "the corpus $corpus is missing"; else echo "    skipped: no corpus at $corpus"; fi
else
  mapfile -t calls < <(rows "$cases/corpus_calls.txt")
  mkdir -p "$work/dll-corpus"
  # dll_corpus TABLES...: the DLL's answers, served each table in turn.
  dll_corpus() {
    local table status
    for table in "$@"; do
      status=0
      timed_run "$work/dll-corpus/$table.out" "$work/dll-corpus/$table.err" \
        wine "$host" --var _transient=1 --firmware "$(winpath "$corpus/$table")" "$dll" "${calls[@]}" || status=$?
      echo "$status" >"$work/dll-corpus/$table.status"
    done
  }
  tables=()
  for table in "$corpus"/*.rsmb; do tables+=("$(basename "$table")"); done
  half=$(((${#tables[@]} + 1) / 2))
  dll_corpus "${tables[@]:0:half}" &
  dll_corpus "${tables[@]:half}" &
  wait
  compared=0
  for table in "${tables[@]}"; do
    result=$work/dll-corpus/$table
    [[ $(<"$result.status") == 0 ]] || fail "$table: the stand-in host ended with status $(<"$result.status")"
    # A refused call keeps its line, empty, as tarnwick prints it.
    awk -F'\t' '$1 == "call" { if ($3 != "0") print ""; else { sub(/^[^\t]*\t[^\t]*\t[^\t]*\t/, ""); print } }' \
      "$result.out" >"$result.answers"
    "$native" --from-dump "$corpus/$table" "${calls[@]}" >"$result.native" 2>"$result.native-err" || true
    same "$table: answers (- tarnwick, + Tarnwick.dll)" "$result.native" "$result.answers"
    same "$table: diagnostics (- tarnwick, + Tarnwick.dll)" "$result.native-err" "$result.err"
    compared=$((compared + 1))
  done
  echo "    $compared tables compared, ${#calls[@]} calls each"
  ((compared >= 50)) || fail "only $compared service buffers in the corpus"
fi
section_done

section "tarnwick.exe on hostile input: table text that reads as calls, UTF-16 batch files, failed writes"
if [[ ! -x $windows_cli ]] || ! $have_native; then
  if $in_ci; then fail "tarnwick.exe or the Linux tarnwick is missing"; else echo "    skipped: tarnwick not built"; fi
else
  mkdir -p "$work/hostile" && cd "$work/hostile"
  # A system structure whose strings are calls, and batch files in UTF-16LE and BE.
  printf '\x01\x07\0\0\x01\x02\x03@smbstring[1,4]\0@randx[8]\0@smbstring[1,6]@smbstring[1,6]\0\0\x7f\x04\x01\0\0\0' >calls.bin
  printf '\xff\xfe_\0s\0m\0b\0m\0f\0g\0\r\0\n\0_\0n\0o\0' >le.btm
  printf '\xfe\xff\0_\0s\0m\0b\0m\0f\0g\0\r\0\n\0_\0n\0o' >be.btm
  # The same status, output and messages (file names aside) as the Linux tarnwick.
  for arguments in "--from-dump calls.bin @smbcount[@smbstring[1,4]] @smbcount[@smbstring[1,6]]" \
    "--from-dump calls.bin @smbstring[1,@smbstring[1,5]]" "--sample --file le.btm" "--sample --file be.btm"; do
    read -r -a args <<<"$arguments"
    status=0 native_status=0
    timed_run wine.out wine.err wine "$windows_cli" "${args[@]}" || status=$?
    "$native" "${args[@]}" >native.out 2>native.err || native_status=$?
    ((status == native_status)) || fail "$arguments: exit status $status under Wine, $native_status natively"
    same "$arguments: stdout" native.out wine.out
    same "$arguments: stderr" <(sed -E 's/: .* \[/: [/' native.err) <(sed -E 's/: .* \[/: [/' wine.err)
  done
  for _ in $(seq 20000); do echo _smbmfg; done >many.btm
  status=0
  hang_guard wine "$windows_cli" --sample --file many.btm >/dev/full 2>full.err || status=$?
  [[ $status == 2 && $(<full.err) == "tarnwick: write error: "* ]] || fail "a full disk: status $status, $(<full.err)"
  status=$(set +o pipefail; hang_guard wine "$windows_cli" --sample --file many.btm 2>gone.err | head -1 >/dev/null
    echo "${PIPESTATUS[0]}")
  [[ $status == 2 && ! -s gone.err ]] || fail "a reader that goes away: status $status, $(<gone.err)"
  cd - >/dev/null
fi
section_done

section "tarnwick.exe against the Linux tarnwick on every table of the corpus"
if [[ ! -x $windows_cli ]] || ! $have_native; then
  if $in_ci; then fail "tarnwick.exe or the Linux tarnwick is missing"; else echo "    skipped: tarnwick not built"; fi
elif [[ ! -d $corpus ]]; then
  if $in_ci; then fail "the corpus $corpus is missing"; else echo "    skipped: no corpus at $corpus"; fi
else
  mapfile -t calls < <(rows "$cases/corpus_calls.txt")
  mkdir "$work/corpus"
  # A dump gives the report of every variable, with --real, "check:" before it --check's findings,
  # "prometheus:" the exposition of --prometheus, "decode:" every field in JSON and "decode-text:" as text; a
  # service buffer the calls.
  corpus_args() {
    args=(--from-dump "${1#*:}")
    case $1 in
      check:*) args+=(--check --json) ;; prometheus:*) args+=(--prometheus) ;; decode:*) args+=(--decode --json) ;;
      decode-text:*) args+=(--decode) ;;
      *.rsmb) args+=("${calls[@]}") ;;
      *) args+=(--real) ;;
    esac
  }
  # run_corpus wine|native TABLES...: outputs and status under $work/corpus.
  run_corpus() {
    local suffix=$1 table status
    local -a program=("$native")
    [[ $suffix == wine ]] && program=(wine "$windows_cli")
    shift
    for table in "$@"; do
      corpus_args "$table"
      status=0
      timed_run "$work/corpus/$table.$suffix" "$work/corpus/$table.$suffix-err" "${program[@]}" "${args[@]}" ||
        status=$?
      echo "$status" >"$work/corpus/$table.$suffix-status"
    done
  }
  # Relative names from the corpus folder, so that both see the same text.
  cd "$corpus"
  tables=(*.dump *.rsmb)
  dumps=(*.dump)
  tables+=("${tables[@]/#/check:}" "${dumps[@]/#/prometheus:}" "${dumps[@]/#/decode:}" "${dumps[@]/#/decode-text:}")
  half=$(((${#tables[@]} + 1) / 2))
  # Two Wine runs at a time, one per core.
  run_corpus wine "${tables[@]:0:half}" &
  run_corpus wine "${tables[@]:half}" &
  run_corpus native "${tables[@]}"
  wait
  compared=0
  for table in "${tables[@]}"; do
    result=$work/corpus/$table
    same "$table: stdout" "$result.native" "$result.wine"
    same "$table: stderr" "$result.native-err" "$result.wine-err"
    [[ $(<"$result.native-status") == $(<"$result.wine-status") ]] ||
      fail "$table: exit status $(<"$result.wine-status") under Wine, $(<"$result.native-status") natively"
    [[ -s $result.native ]] || fail "$table: no output"
    compared=$((compared + 1))
  done
  cd - >/dev/null
  echo "    $compared runs compared (dumps: the report, --real, --prometheus, --decode, --decode --json;" \
    "service buffers: ${#calls[@]} calls; --check of both)"
  ((compared >= 250)) || fail "only $compared runs over the corpus"
fi
section_done

section "tarnwick.exe: --names and every name's --help-name, without a table, as on Linux"
if [[ -x $windows_cli ]] && $have_native; then  # the corpus section above fails in CI without them
  help_args=(--names)
  while read -r call _; do help_args+=(--help-name "${call%%[*}"); done < <("$native" --names)
  "$native" "${help_args[@]}" >"$work/help-exe.native"
  run help-exe wine "$windows_cli" "${help_args[@]}" &&
    same "tarnwick.exe help (- Linux, + Wine)" "$work/help-exe.native" "$work/help-exe.out"
fi
section_done

if ((failures)); then
  echo "$failures check(s) failed under Wine"
  exit 1
fi
echo "all Wine checks passed"
