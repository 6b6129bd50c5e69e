#!/usr/bin/env bash
# CI: the committed findings replayed, then each fuzz target for 60 seconds;
# any finding fails the step. Longer runs: scripts/fuzz.sh SECONDS. Beside
# them, every damaged table of tests/robustness/ (ctest runs a share of them
# on this build) through the sanitizers' tarnwick: a fixed amount of work,
# which the fuzzers, at low priority, make room for; they fuzz for their
# minute on the clock either way.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/step.sh

step_beside "every damaged table, ASan + UBSan" python3 tests/robustness/damaged_dumps.py build/sanitize/cli/tarnwick \
  ../shared/corpus
status=0
bash scripts/fuzz.sh 60 || status=$?
steps_awaited
exit "$status"
