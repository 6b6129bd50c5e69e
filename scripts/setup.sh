#!/usr/bin/env bash
# Installs what building and testing Tarnwick needs on a Debian machine, as
# root; packages already present are left alone.
set -euo pipefail

# libclang-rt-14-dev holds clang's sanitizer runtimes: ASan, UBSan, TSan
# (the tsan preset) and libFuzzer.
packages=(
  g++ clang cmake ninja-build python3 make
  libgtest-dev libgmock-dev libbenchmark-dev libclang-rt-14-dev valgrind
  libcli11-dev nlohmann-json3-dev dmidecode time
  g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32 binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine64 wine
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
