#!/usr/bin/env bash
# CI: the committed findings replayed, then each fuzz target for 60 seconds;
# any finding fails the step. Longer runs: scripts/fuzz.sh SECONDS. Then
# every damaged table of tests/robustness/ (ctest runs a share of them on
# this build) through the sanitizers' tarnwick.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/step.sh

bash scripts/fuzz.sh 60
step "every damaged table, ASan + UBSan" python3 tests/robustness/damaged_dumps.py build/sanitize/cli/tarnwick \
  ../shared/corpus
