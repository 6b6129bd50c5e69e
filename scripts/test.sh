#!/usr/bin/env bash
# Sets up, builds and runs every test: native (g++) and clang builds, the
# ASan+UBSan build, the ThreadSanitizer build, the small-index build,
# valgrind, the fuzzers for a bounded time, and the Windows DLL under Wine.
# Any failure fails the whole run.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh --tests

step() {
  echo
  echo "=== $1"
  local started=$SECONDS
  shift
  "$@"
  echo "=== done in $((SECONDS - started)) s"
}

build_and_test() {
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1"
  ctest --preset "$1" -j2
}

step "native build and tests (g++)" build_and_test native
step "native build and tests (clang)" build_and_test clang
step "ASan + UBSan build and tests" build_and_test sanitize
step "ThreadSanitizer build and tests" build_and_test tsan
step "tests with a 4-entry structure index" build_and_test small-index
for extra in scripts/test.d/*.sh; do
  step "$(basename "$extra" .sh)" bash "$extra"
done
echo
echo "All test steps passed."
