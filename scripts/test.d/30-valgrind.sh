#!/usr/bin/env bash
# CI: the unit test suite once under valgrind memcheck, on the native
# preset's build (g++, optimised, with debug information): the plug-in's core
# (tarnwick_unit_tests) and tarnwick's parts (tarnwick_cli_parts_tests). Any
# memory error, and any definite leak, fails.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/step.sh

build=build/native
cmake --preset native >/dev/null

step "valgrind: build" cmake --build --preset native --target tarnwick_unit_tests tarnwick_cli_parts_tests

# valgrind runs a program on one core: the unit tests run as two shards
# (GoogleTest's) beside each other and the parts' tests.
memcheck() {  # PROGRAM [ENVIRONMENT...]
  local program=$1
  shift
  env "$@" valgrind --tool=memcheck --error-exitcode=1 --leak-check=full --show-leak-kinds=definite \
    --errors-for-leak-kinds=definite --track-origins=yes --quiet "$build/$program" --gtest_brief=1
}
step_beside "valgrind: tarnwick_unit_tests, first half" memcheck tests/tarnwick_unit_tests GTEST_TOTAL_SHARDS=2 \
  GTEST_SHARD_INDEX=0
step_beside "valgrind: tarnwick_unit_tests, second half" memcheck tests/tarnwick_unit_tests GTEST_TOTAL_SHARDS=2 \
  GTEST_SHARD_INDEX=1
step_beside "valgrind: tarnwick_cli_parts_tests" memcheck tests/cli/tarnwick_cli_parts_tests
steps_awaited
