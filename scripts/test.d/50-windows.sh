#!/usr/bin/env bash
# The Windows plug-in end to end: builds Tarnwick.dll for x64 and x86 with
# mingw-w64, checks their export and import tables, and runs the x64 build
# under headless Wine through stand-ins for the host (tests/wine). The x86
# build is checked only: 32-bit Wine is not installed here.
set -euo pipefail
cd "$(dirname "$0")/../.."

started=$SECONDS
elapsed() { echo "[$((SECONDS - started)) s] $*"; }

tools=(x86_64-w64-mingw32-g++-win32 i686-w64-mingw32-g++-win32 x86_64-w64-mingw32-objdump
  i686-w64-mingw32-objdump wine wineserver cmake ninja g++)
missing_tools() {
  local tool
  for tool in "${tools[@]}"; do command -v "$tool" >/dev/null || echo "$tool"; done
}
if [[ -n $(missing_tools) ]]; then
  echo "installing what is missing: $(missing_tools | paste -sd' ')"
  bash scripts/setup.sh
  if [[ -n $(missing_tools) ]]; then
    echo "FAIL: still missing after setup: $(missing_tools | paste -sd' ')"
    exit 1
  fi
fi

# x64: the DLL, tarnwick.exe and the host stand-ins; x86: the DLL alone;
# native: the Linux tarnwick, to answer from the same tables as the DLL.
build() {
  local preset=$1 folder=$2
  shift 2
  cmake --preset "$preset" -B "$folder" "$@" >/dev/null
  cmake --build "$folder" -j2 "${targets[@]}" -- --quiet
}
targets=()
build mingw-x64 build/wine-x64 -DTARNWICK_WINE_STANDINS=ON
targets=(--target Tarnwick)
build mingw-x86 build/wine-x86
targets=(--target tarnwick)
build native build/wine-native -DTARNWICK_TESTS=OFF
elapsed "built x64, x86 and native"

# The 35 exports: the lifecycle and help, then every name of the one list.
exports=build/wine-x64/expected-exports.txt
{
  printf '%s\n' GetPluginInfo InitializePlugin ShutdownPlugin Help
  sed -n 's/^ *X(\(_[a-z]*\)).*/\1/p' plugin/name_list.h
  sed -n 's/^ *X(\([a-z][a-z]*\)).*/f_\1/p' plugin/name_list.h
} >"$exports"
if [[ $(wc -l <"$exports") -ne 35 ]]; then
  echo "FAIL: plugin/name_list.h gives $(wc -l <"$exports") exports, not 35"
  exit 1
fi
bash tests/wine/pe_tables.sh x86_64-w64-mingw32-objdump build/wine-x64/Tarnwick.dll "$exports"
bash tests/wine/pe_tables.sh i686-w64-mingw32-objdump build/wine-x86/Tarnwick.dll "$exports"
# The programs, too, must run without the compiler's runtime DLLs.
for program in build/wine-x64/cli/tarnwick.exe build/wine-x64/standins/standin_host.exe; do
  bash tests/wine/pe_tables.sh x86_64-w64-mingw32-objdump "$program"
done
elapsed "export and import tables checked"

bash tests/wine/wine_checks.sh build/wine-x64 build/wine-native/cli/tarnwick
elapsed "DLL and tarnwick.exe checked"
bash tests/wine/cmd_checks.sh build/wine-x64
elapsed "Windows step passed"
