#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "sanitize": ASan + UBSan) and runs them
# side by side at low priority: first the committed crash inputs of
# fuzz/regressions/TARGET once each, then fuzzing for a bounded time.
#
#   scripts/fuzz.sh [SECONDS | -runs=N] [TARGET ...]
#
# SECONDS defaults to 600 per target; TARGET is table, argument, name, batch
# or file (default all).
#
# Seeds: the tables of ../shared/corpus (read in place), the tables and texts
# that tarnwick_fuzz_seeds builds, and what earlier runs kept in
# BUILD/corpus/TARGET. A finding is written to BUILD/findings/ and fails the
# run. BUILD is the sanitize preset's folder, build/sanitize. Without the
# corpus the tables fuzz from the built seeds alone; with CI=true that fails.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/step.sh

limit=${1:-600}
shift || true
targets=("$@")
((${#targets[@]})) || targets=(table argument name batch file)
case "$limit" in
  -runs=*) bound=("$limit" -max_total_time=86400) each="${limit#-runs=} runs" ;;
  *[!0-9]* | "") echo "usage: $0 [SECONDS | -runs=N] [TARGET ...]" >&2; exit 2 ;;
  *) bound=(-max_total_time="$limit") each="$limit s" ;;
esac

build=build/sanitize
corpus_dir=../shared/corpus
corpus_seeds=("$corpus_dir")
if [[ ! -d $corpus_dir ]]; then
  if [[ ${CI:-} == true ]]; then
    echo "fuzz: the corpus of real tables is missing: $corpus_dir" >&2
    exit 1
  fi
  echo "fuzz: the corpus of real tables is missing ($corpus_dir): tables fuzz from the built seeds alone" >&2
  corpus_seeds=()
fi

cmake --preset sanitize >/dev/null
step "fuzz: build" cmake --build --preset sanitize --target tarnwick_table_fuzzer tarnwick_argument_fuzzer tarnwick_name_fuzzer \
  tarnwick_batch_fuzzer tarnwick_file_fuzzer tarnwick_fuzz_seeds

seeds=$(mktemp -d)
trap 'rm -rf "$seeds"' EXIT
"$build/fuzz/tarnwick_fuzz_seeds" "$seeds"
mkdir -p "$build/findings" "$build/logs"
for target in "${targets[@]}"; do mkdir -p "$build/corpus/$target"; done

# Quarantine and allocation stacks cost speed and add nothing to a finding's
# report that the crash's own stack does not show.
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=2:quarantine_size_mb=16}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/fuzz/lsan.supp:print_suppressions=0}

# Replays the committed findings of one target; each must now pass.
replay() {
  local target=$1 dir=fuzz/regressions/$1
  [[ -d $dir ]] || return 0
  local inputs=("$dir"/*)
  [[ -e ${inputs[0]} ]] || return 0
  "$build/fuzz/tarnwick_${target}_fuzzer" "${inputs[@]}" >"$build/logs/$target-replay.log" 2>&1 || {
    echo "fuzz: $target: a committed finding fails again" >&2
    tail -40 "$build/logs/$target-replay.log" >&2
    return 1
  }
  echo "fuzz: $target: ${#inputs[@]} committed finding(s) replayed"
}

run() {
  local target=$1
  shift
  nice -n 10 "$build/fuzz/tarnwick_${target}_fuzzer" "${bound[@]}" -max_len=20000 -print_final_stats=1 \
    -artifact_prefix="$build/findings/$target-" "$@" >"$build/logs/$target.log" 2>&1
}

# All targets side by side; each prints what it ran, and any finding fails.
fuzz_targets() {
  local target failed=0 runs rate seed_dirs
  local -A jobs
  for target in "${targets[@]}"; do
    case "$target" in
      table | file) seed_dirs=("$seeds/tables" "${corpus_seeds[@]}") ;;
      argument) seed_dirs=("$seeds/arguments") ;;
      name) seed_dirs=("$seeds/names") ;;
      batch) seed_dirs=("$seeds/batches") ;;
      *) echo "fuzz: unknown target $target (table, argument, name, batch, file)" >&2; exit 2 ;;
    esac
    replay "$target"
    run "$target" -dict="fuzz/dictionaries/$target.dict" "$build/corpus/$target" "${seed_dirs[@]}" &
    jobs[$target]=$!
  done

  for target in "${targets[@]}"; do
    if ! wait "${jobs[$target]}"; then
      failed=1
      echo "fuzz: $target: FINDING (see $build/findings/ and $build/logs/$target.log)" >&2
      grep -E "ERROR|violated|SUMMARY|Test unit written" "$build/logs/$target.log" >&2 || tail -30 "$build/logs/$target.log" >&2
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/logs/$target.log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$build/logs/$target.log")
    echo "fuzz: $target: ${runs:-?} executions, ${rate:-?} per second"
  done
  return "$failed"
}
step "fuzz: ${targets[*]}, $each each" fuzz_targets
