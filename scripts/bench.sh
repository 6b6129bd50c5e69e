#!/usr/bin/env bash
# Builds the bench preset (Release) in a folder of its own, runs the three
# benchmark programs and prints each bound of docs/performance.md with the
# figure that decides it. Any further arguments go to every program, for
# example --benchmark_filter=Load/ to run a part.
#
#   BENCH_MIN_TIME (s, default 0.2) and BENCH_REPETITIONS (default 3) trade
#   time for steadier figures; the summary uses the medians of repetitions.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BENCH_BUILD_DIR:-build/bench-run}
min_time=${BENCH_MIN_TIME:-0.2}
repetitions=${BENCH_REPETITIONS:-3}
programs=(load names arguments cli check decode)

source scripts/step.sh
cmake --preset bench -B "$build" >/dev/null
targets=()
for program in "${programs[@]}"; do targets+=("tarnwick_${program}_bench"); done
step "bench: build" cmake --build "$build" -j2 --target "${targets[@]}"
results=$build/results
mkdir -p "$results"
for program in "${programs[@]}"; do
  step "bench: $program" "$build/bench/tarnwick_${program}_bench" --benchmark_min_time="$min_time" \
    --benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true \
    --benchmark_out="$results/$program.json" --benchmark_out_format=json "$@"
done

python3 - "$results" <<'PY'
import json, os, sys

results = sys.argv[1]
rows = {}
for program in ("load", "names", "arguments", "cli", "check"):
    path = os.path.join(results, program + ".json")
    if not os.path.exists(path) or os.path.getsize(path) == 0:
        continue  # a filter that left the program nothing to run
    with open(path) as f:
        for b in json.load(f)["benchmarks"]:
            if b.get("aggregate_name", "median") == "median":
                rows[b.get("run_name", b["name"]).removesuffix("/manual_time")] = b

def ns(b):
    scale = {"ns": 1, "us": 1e3, "ms": 1e6, "s": 1e9}[b["time_unit"]]
    return b["real_time"] * scale

def group(prefix, key):
    return {n[len(prefix):]: key(b) for n, b in rows.items() if n.startswith(prefix)}

corpus_loads = {n: v for n, v in group("Load/", ns).items() if not n.startswith(("generated-", "longest-"))}
checks = []
if corpus_loads:
    worst = max(corpus_loads, key=corpus_loads.get)
    checks.append((f"load and index, every corpus table (slowest: {worst})", corpus_loads[worst], 5000))
if "Load/generated-64KiB" in rows:
    checks.append(("load and index, 64 KiB table", ns(rows["Load/generated-64KiB"]), 50000))
for prefix, what in (("Variable/corpus/", "variable"), ("Function/corpus/", "function")):
    worst = group(prefix, lambda b: b.get("worst_ns", 0))
    # @randx[1024] draws the most digits a call can ask for, one by one: its
    # time grows with the count and is shown, not bounded.
    if "@randx:1024" in worst:
        print(f"@randx[1024], per call: {worst.pop('@randx:1024'):.0f} ns")
    # @smbreal answers through a variable: a variable's bound and a function's.
    real = {n: worst.pop(n) for n in list(worst) if n.startswith("@smbreal")}
    if worst:
        name = max(worst, key=worst.get)
        checks.append((f"every {what} per call, slowest corpus table ({name})", worst[name], 100))
    if real:
        name = max(real, key=real.get)
        checks.append((f"@smbreal per call, slowest corpus table ({name})", real[name], 200))
if "Check/generated-64KiB" in rows:
    checks.append(("--check's model and checks, 64 KiB table", ns(rows["Check/generated-64KiB"]), 1000000))
lookup = group("Lookup/last-of-1024/", lambda b: b.get("ns_per_call", 0))
if lookup:
    checks.append(("lookup by handle, last of 1024", max(lookup.values()), 1000))
totals = group("Variable/1024-of-its-type/", lambda b: b.get("ns_per_call", 0))
if totals:
    name = max(totals, key=totals.get)
    checks.append((f"memory and processor totals, 1024 structures that count ({name})", totals[name], 1000))
def by_size(item):  # "BatchFile/json/16MiB": the shape, then the size as a number
    shape, size = item[0].rsplit("/", 1)
    return shape, int("".join(c for c in size if c.isdigit()))

scaling = sorted(((n, b) for n, b in rows.items() if n.startswith(("Expand/", "BatchFile/"))), key=by_size)
if scaling:
    print("\n=== tarnwick's expansion and batch files at four sizes (level per-unit figures: linear growth)")
    for name, b in scaling:
        unit = ("ns_per_character", "character") if name.startswith("Expand/") else ("ns_per_byte", "byte")
        peak = f", peak {b['peak_MiB']:.1f} MiB" if "peak_MiB" in b else ""
        print(f"{name}: {ns(b) / 1e6:.2f} ms, {b.get(unit[0], 0) * 1e9:.1f} ns per {unit[1]}{peak}")
print("\n=== bounds (medians of repetitions; tarnwick against dmidecode: scripts/compare-dmidecode.sh)")
for what, figure, bound in checks:
    print(f"{'met   ' if figure <= bound else 'MISSED'} {what}: {figure:.0f} ns (bound {bound} ns)")
PY
