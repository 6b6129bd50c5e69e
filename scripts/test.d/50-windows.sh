#!/usr/bin/env bash
# The Windows plug-in end to end: builds Tarnwick.dll for x64 and x86 with
# mingw-w64, checks their export and import tables, and runs both under
# headless Wine through stand-ins for the host (tests/wine); the x86 build
# runs on Debian's wine32 (i386 architecture), which scripts/setup.sh installs.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/step.sh

tools=(x86_64-w64-mingw32-g++-win32 i686-w64-mingw32-g++-win32 x86_64-w64-mingw32-objdump
  i686-w64-mingw32-objdump wine wineserver cmake ninja g++)
# 32-bit Wine has no command of its own: its loader is a file of wine32.
wine32_loader=/usr/lib/wine/wine
missing_tools() {
  local tool
  for tool in "${tools[@]}"; do command -v "$tool" >/dev/null || echo "$tool"; done
  [[ -x $wine32_loader ]] || echo wine32
}
if [[ -n $(missing_tools) ]]; then
  echo "installing what is missing: $(missing_tools | paste -sd' ')"
  bash scripts/setup.sh --tests
  if [[ -n $(missing_tools) ]]; then
    echo "FAIL: still missing after setup: $(missing_tools | paste -sd' ')"
    exit 1
  fi
fi

# x64 and x86: the DLL, tarnwick.exe and the host stand-ins; and the native
# preset's Linux tarnwick, to answer from the same tables as the DLL.
build() {
  local preset=$1 folder=$2
  shift 2
  cmake --preset "$preset" -B "$folder" "$@" >/dev/null
  cmake --build "$folder" -j2 -- --quiet
}
cmake --preset native >/dev/null
step "windows: the native tarnwick" cmake --build --preset native --target tarnwick -- --quiet
# Each Wine session, in a prefix of its own, keeps about one core busy: the
# x64 checks run while x86 builds, the x86 and cmd.exe checks side by side.
step "windows: build x64" build mingw-x64 build/wine-x64 -DTARNWICK_WINE_STANDINS=ON
step_beside "windows: x64 under Wine" bash tests/wine/wine_checks.sh build/wine-x64 build/native/cli/tarnwick
step "windows: build x86" build mingw-x86 build/wine-x86 -DTARNWICK_WINE_STANDINS=ON

pe_checks() {
  local exports host_library dll symbols arch program
  # The exports: the lifecycle and help, then every name of the one list, as
  # the build wrote them out from host/names.h.
  # The host's library, by the name the build gives it.
  exports=build/wine-x64/plugin/exports.txt
  host_library=$(<build/wine-x64/host_library.txt)
  bash tests/wine/pe_tables.sh x86_64-w64-mingw32-objdump build/wine-x64/Tarnwick.dll "$host_library" "$exports"
  bash tests/wine/pe_tables.sh i686-w64-mingw32-objdump build/wine-x86/Tarnwick.dll "$host_library" "$exports"
  # What ships holds no test hook (a firmware stand-in, an allocation-failure
  # switch, another sysfs folder): no such symbol in either DLL.
  for dll in build/wine-x64/Tarnwick.dll build/wine-x86/Tarnwick.dll; do
    symbols=$(x86_64-w64-mingw32-nm "$dll")
    if [[ -z $symbols ]] || grep -E "(Install|Remove)[A-Za-z]*Firmware|FailTable|SetDmiTables" <<<"$symbols"; then
      echo "FAIL: $dll has no symbol table to check, or holds a test hook"
      exit 1
    fi
  done
  # The programs, too, must run without the compiler's runtime DLLs.
  for arch in x64:x86_64 x86:i686; do
    for program in cli/tarnwick.exe standins/standin_host.exe; do
      bash tests/wine/pe_tables.sh "${arch#*:}-w64-mingw32-objdump" "build/wine-${arch%:*}/$program" "$host_library"
    done
  done
}
step "windows: export and import tables" pe_checks

step_beside "windows: x86 under Wine" bash tests/wine/wine_checks.sh build/wine-x86 build/native/cli/tarnwick
step_beside "windows: cmd.exe checks" bash tests/wine/cmd_checks.sh build/wine-x64
steps_awaited
