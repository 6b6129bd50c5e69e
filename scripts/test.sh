#!/usr/bin/env bash
# Sets up, builds and runs every test; any failure fails the whole run. Each
# build serves every check it can, so that none is built twice:
#   native (g++): every test; then valgrind on its unit tests, the native
#     tarnwick for the Wine checks, the benchmarks' few iterations;
#   sanitize (clang, ASan + UBSan, warnings as errors, and so also the clang
#     build): every test but the damaged tables; then the fuzz targets, and
#     every damaged table (test.d/40-fuzz.sh);
#   tsan: the unit tests that start threads (each says Thread in its name),
#     and only their files built;
#   small-index (a 4-entry structure index): the unit tests of the index,
#     and only their files built;
#   then the release files, built twice, whose first run's Windows builds
#     also run under Wine (test.d/).
# A build's tests, which leave a core idle at times, run beside the next
# build; their output shows when they end.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/step.sh

step "set up: what the tests need" bash scripts/setup.sh --tests

build() {
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1"
}
build_and_test() {
  build "$1"
  ctest --preset "$1" -j2
}

step "native build (g++)" build native
step_beside "native tests (g++)" ctest --preset native -j2
step "ASan + UBSan build (clang)" build sanitize
steps_awaited
# The fuzz step (test.d/40-fuzz.sh) runs every damaged table on this build:
# ctest's share of them would run twice.
step_beside "ASan + UBSan tests (clang)" ctest --preset sanitize -j2 --exclude-regex '^Robustness\.DamagedDumps$'
step "ThreadSanitizer: the tests that start threads" build_and_test tsan
step "a 4-entry structure index: the tests of the index" build_and_test small-index
steps_awaited
for extra in scripts/test.d/*.sh; do
  step "$(basename "$extra" .sh)" bash "$extra"
done
echo
echo "All test steps passed."
