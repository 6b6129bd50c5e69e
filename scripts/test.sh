#!/usr/bin/env bash
# Sets up, builds and runs every test; any failure fails the whole run. Each
# build serves every check it can, so that none is built twice:
#   native (g++): every test; then valgrind on its unit tests, the native
#     tarnwick for the Wine checks, the benchmarks' few iterations;
#   sanitize (clang, ASan + UBSan, warnings as errors, and so also the clang
#     build): every test, with a share of the damaged tables; then the fuzz
#     targets, and every damaged table;
#   tsan: the unit tests that start threads (each says Thread in its name);
#   small-index (a 4-entry structure index): the unit tests of the index;
#   then the Windows builds under Wine and the release files (test.d/).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/step.sh

bash scripts/setup.sh --tests

build_and_test() {
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1"
  ctest --preset "$1" -j2
}

step "native build and tests (g++)" build_and_test native
step "ASan + UBSan build and tests (clang)" build_and_test sanitize
step "ThreadSanitizer: the tests that start threads" build_and_test tsan
step "a 4-entry structure index: the tests of the index" build_and_test small-index
for extra in scripts/test.d/*.sh; do
  step "$(basename "$extra" .sh)" bash "$extra"
done
echo
echo "All test steps passed."
