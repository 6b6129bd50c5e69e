#!/usr/bin/env bash
# Reads a Windows module's export and import tables with objdump -p, prints
# them to the log and checks them:
#   pe_tables.sh OBJDUMP MODULE HOST_LIBRARY [EXPECTED_EXPORTS]
# Imports come only from system DLLs and the host's library (the name the
# build wrote into host_library.txt), never from the compiler's runtime
# DLLs; when a list of names is given, the module exports exactly those,
# undecorated, and imports exactly the host's three services from its library.
set -euo pipefail

objdump=$1
module=$2
host_library=$3
expected_exports=${4:-}

system_dlls='^(kernel32|msvcrt|user32|advapi32|shell32|ntdll)\.dll$'
runtime_dlls='^(libgcc|libstdc\+\+|libwinpthread)'

tables=$("$objdump" -p "$module" | awk '
  /^\tDLL Name: / { dll = $3; print "import " dll; next }
  dll != "" && /^\t[0-9a-f]+\t +[0-9]+ +[^ ]+$/ { print "import " dll " " $3; next }
  /^There is an export table/ { dll = "" }
  /^\[Ordinal\/Name Pointer\] Table/ { in_names = 1; next }
  in_names && /^$/ { in_names = 0 }
  in_names { sub(/^\t\[ *[0-9]+\] /, ""); print "export " $0 }
')

failed=0
fail() {
  echo "FAIL ($module): $*"
  failed=1
}

exports=$(sed -n 's/^export //p' <<<"$tables")
dlls=$(sed -n 's/^import \([^ ]*\)$/\1/p' <<<"$tables")
echo "$(basename "$module"): $(grep -c . <<<"$exports" || true) exports"
[[ -n $exports ]] && paste -sd' ' <<<"$exports" | fold -s -w 100 | sed 's/^/    /'
for dll in $dlls; do
  echo "  imports from $dll:"
  sed -n "s/^import $dll //p" <<<"$tables" | paste -sd' ' | fold -s -w 100 | sed 's/^/    /'
done

for dll in $dlls; do
  lower=${dll,,}
  if [[ $lower =~ $runtime_dlls ]]; then
    fail "imports the compiler's runtime DLL $dll"
  elif [[ ! $lower =~ $system_dlls && $lower != "${host_library,,}" ]]; then
    fail "imports $dll, which is neither a system DLL nor the host's"
  fi
done

if [[ -n $expected_exports ]]; then
  if ! diff -u <(sort "$expected_exports") <(sort <<<"$exports") >/dev/null; then
    fail "exports differ from the expected names:"
    diff -u <(sort "$expected_exports") <(sort <<<"$exports") | tail -n +3 || true
  fi
  services=$(awk -v dll="$host_library" '$1 == "import" && $2 == dll && NF == 3 { print $3 }' <<<"$tables" |
    sort | paste -sd' ')
  [[ $services == "ExpandVariables Printf Qprintf" ]] ||
    fail "imports \"$services\" from $host_library instead of ExpandVariables Printf Qprintf"
fi

((failed == 0)) && echo "  tables checked: ok"
exit "$failed"
