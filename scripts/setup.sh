#!/usr/bin/env bash
# Installs, as root on a Debian machine, what building and running tarnwick
# needs; with --tests also what the tests need (the second compiler and the
# sanitizers' runtime, GoogleTest and Google Benchmark, valgrind, dmidecode,
# mingw-w64, 64- and 32-bit Wine, lintian, tmux for the completion test,
# ansible-core for the facts test, Prometheus and its node_exporter for
# the --prometheus test, udev's dmi_memory_id for the memory devices without
# root). Packages already present are left
# alone.
set -euo pipefail

packages=(g++ cmake ninja-build libcli11-dev nlohmann-json3-dev libutfcpp-dev)
# libclang-rt-14-dev holds clang's sanitizer runtimes: ASan, UBSan, TSan and
# libFuzzer; GNU time measures the hostile-input test's peak memory.
if [[ ${1:-} == --tests ]]; then
  packages+=(
    clang libclang-rt-14-dev python3 libgtest-dev libgmock-dev libbenchmark-dev valgrind dmidecode time
    g++-mingw-w64-x86-64-win32 g++-mingw-w64-i686-win32 binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
    wine64 wine wine32:i386 lintian tmux ansible-core prometheus prometheus-node-exporter udev
  )
  # wine32 runs the x86 builds; it needs the i386 architecture.
  if ! dpkg --print-foreign-architectures | grep -q -x i386; then
    dpkg --add-architecture i386
  fi
fi

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
