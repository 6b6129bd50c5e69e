#!/usr/bin/env bash
# CI: the benchmarks build and every one of them runs a few iterations.
# Nothing about speed is asserted here (scripts/bench.sh measures, on the
# bench preset's Release build), so they build in the native preset's folder
# on the libraries already built there. A benchmark that fails, or a corpus
# that is missing under CI=true, fails the step.
set -euo pipefail
cd "$(dirname "$0")/../.."
source scripts/step.sh

build=build/native
cmake --preset native -DTARNWICK_BENCH=ON >/dev/null
step "bench smoke: build" cmake --build --preset native --target tarnwick_load_bench tarnwick_names_bench \
  tarnwick_arguments_bench tarnwick_cli_bench tarnwick_check_bench tarnwick_decode_bench
smoke() {  # PROGRAM
  local program=$1 output runs
  # Errors that a benchmark reports (SkipWithError) show in the output
  # rather than in the exit status: look for them.
  output=$("$program" --benchmark_min_time=0.0001 --benchmark_format=json 2>&1)
  runs=$(grep -c '"run_type": "iteration"' <<<"$output" || true)
  if grep -q '"error_occurred": true' <<<"$output" || ((runs == 0)); then
    echo "$output" | tail -40
    echo "bench smoke: $(basename "$program") failed" >&2
    return 1
  fi
  echo "$runs benchmarks ran"
}
for program in "$build"/bench/tarnwick_*_bench; do
  step "bench smoke: $(basename "$program")" smoke "$program"
done
