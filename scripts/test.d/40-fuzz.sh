#!/usr/bin/env bash
# CI: the committed findings replayed, then each fuzz target for 60 seconds;
# any finding fails the step. Longer runs: scripts/fuzz.sh SECONDS.
set -euo pipefail
exec bash "$(dirname "$0")/../fuzz.sh" 60
