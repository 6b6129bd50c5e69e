#!/usr/bin/env bash
# CI: the whole unit test suite once under valgrind memcheck, from a debug
# build of its own. Any memory error, and any definite leak, fails the step.
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${VALGRIND_BUILD_DIR:-build/valgrind}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=g++ \
  -DTARNWICK_TESTS=ON -DTARNWICK_CLI=ON -DTARNWICK_FUZZ=OFF -DTARNWICK_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target tarnwick_unit_tests

valgrind --tool=memcheck --error-exitcode=1 --leak-check=full --show-leak-kinds=definite \
  --errors-for-leak-kinds=definite --track-origins=yes --quiet \
  "$build/tests/tarnwick_unit_tests" --gtest_brief=1
