#!/usr/bin/env bash
# CI: the unit test suite once under valgrind memcheck, from a debug build of
# its own: the plug-in's core (tarnwick_unit_tests) and, where the host is
# built, the host's parts. Any memory error, and any definite leak, fails.
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${VALGRIND_BUILD_DIR:-build/valgrind}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=g++ \
  -DTARNWICK_TESTS=ON -DTARNWICK_CLI=ON -DTARNWICK_FUZZ=OFF -DTARNWICK_BENCH=OFF >/dev/null

programs=(tests/tarnwick_unit_tests)
if cmake --build "$build" --target help | grep -q '^tarnwick_cli_parts_tests:'; then
  programs+=(tests/cli/tarnwick_cli_parts_tests)
fi
cmake --build "$build" -j2 --target "${programs[@]##*/}"

for program in "${programs[@]}"; do
  echo "valgrind: ${program##*/}"
  valgrind --tool=memcheck --error-exitcode=1 --leak-check=full --show-leak-kinds=definite \
    --errors-for-leak-kinds=definite --track-origins=yes --quiet \
    "$build/$program" --gtest_brief=1
done
