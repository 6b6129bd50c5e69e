#!/usr/bin/env bash
# CI: the unit test suite once under valgrind memcheck, on the native
# preset's build (g++, optimised, with debug information): the plug-in's core
# (tarnwick_unit_tests) and tarnwick's parts (tarnwick_cli_parts_tests). Any
# memory error, and any definite leak, fails.
set -euo pipefail
cd "$(dirname "$0")/../.."

build=build/native
cmake --preset native >/dev/null

programs=(tests/tarnwick_unit_tests tests/cli/tarnwick_cli_parts_tests)
cmake --build --preset native --target "${programs[@]##*/}"

for program in "${programs[@]}"; do
  echo "valgrind: ${program##*/}"
  valgrind --tool=memcheck --error-exitcode=1 --leak-check=full --show-leak-kinds=definite \
    --errors-for-leak-kinds=definite --track-origins=yes --quiet \
    "$build/$program" --gtest_brief=1
done
