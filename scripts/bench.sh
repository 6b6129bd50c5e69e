#!/usr/bin/env bash
# Builds the bench preset (Release) in a folder of its own, runs the three
# benchmark programs and prints the figures the performance goals name
# (docs/performance.md). Any further arguments go to every program, for
# example --benchmark_filter=Load/ to run a part.
#
#   BENCH_MIN_TIME (s, default 0.2) and BENCH_REPETITIONS (default 3) trade
#   time for steadier figures; the summary uses the medians of repetitions.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BENCH_BUILD_DIR:-build/bench-run}
min_time=${BENCH_MIN_TIME:-0.2}
repetitions=${BENCH_REPETITIONS:-3}
programs=(load names arguments)

cmake --preset bench -B "$build" >/dev/null
targets=()
for program in "${programs[@]}"; do targets+=("tarnwick_${program}_bench"); done
cmake --build "$build" -j2 --target "${targets[@]}"
results=$build/results
mkdir -p "$results"
for program in "${programs[@]}"; do
  echo "=== $program"
  "$build/bench/tarnwick_${program}_bench" --benchmark_min_time="$min_time" \
    --benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true \
    --benchmark_out="$results/$program.json" --benchmark_out_format=json "$@"
done

python3 - "$results" <<'PY'
import json, os, sys

results = sys.argv[1]
rows = {}
for program in ("load", "names", "arguments"):
    path = os.path.join(results, program + ".json")
    if not os.path.exists(path):
        continue
    with open(path) as f:
        data = json.load(f)
    for b in data["benchmarks"]:
        if b.get("aggregate_name", "median") != "median":
            continue
        name = b.get("run_name", b["name"]).removesuffix("/manual_time").removesuffix("_median")
        rows[name] = b

def pick(prefix):
    return {n.removeprefix(prefix): b for n, b in rows.items() if n.startswith(prefix)}

print("\n=== summary (medians of repetitions)")
loads = pick("Load/")
if loads:
    corpus = {n: b for n, b in loads.items() if not n.startswith(("generated-", "longest-"))}
    for title, group in (("corpus tables", corpus), ("generated tables", {n: b for n, b in loads.items() if n not in corpus})):
        if not group:
            continue
        worst = max(group, key=lambda n: group[n]["ratio"])
        print(f"load and index / one-pass floor, {title}: max {group[worst]['ratio']:.2f} ({worst}), "
              f"median {sorted(b['ratio'] for b in group.values())[len(group) // 2]:.2f}")
    for n, b in loads.items():
        if n not in corpus:
            print(f"  {n:24s} {b['load_ns']:9.0f} ns load, {b['floor_ns']:9.0f} ns floor, ratio {b['ratio']:.2f}")

def per_call(prefix):
    group = pick(prefix)
    return {n: b["ns_per_call"] for n, b in group.items() if "ns_per_call" in b}

for prefix, what in (("Variable/corpus/", "variables on the corpus"), ("Variable/last-of-1024/", "variables, last of 1024"),
                     ("Variable/1024-of-its-type/", "totals, 1024 structures that count"),
                     ("Function/corpus/", "functions on the corpus"), ("Function/last-of-1024/", "functions, last of 1024")):
    group = per_call(prefix)
    if not group:
        continue
    worst = max(group, key=group.get)
    line = f"{what}: max {group[worst]:.1f} ns/call ({worst})"
    if prefix == "Variable/corpus/":
        slow = pick(prefix)
        slowest = max(slow, key=lambda n: slow[n].get("worst_ns", 0))
        line += f"; slowest table's median {slow[slowest]['worst_ns']:.1f} ns ({slowest})"
    print(line)

# A field function against the variable that reads the same field. A timed
# call includes the copy of the argument text into the buffer, as the host
# makes it.
pairs = [("@smbstring:1,4", "_smbmfg"), ("@smbbyte:3,5", "_smbchassis"), ("@smbbyte:3,5,,1", "_smbchassis"),
         ("@smbword:4,0x16", "_smbcpuspeed"), ("@smbword:4,0x16,,1", "_smbcpuspeed"),
         ("@smbstring:4,0x10", "_smbcpuversion")]
function_ratios = []
for where in ("corpus", "last-of-1024"):
    functions, variables = per_call(f"Function/{where}/"), per_call(f"Variable/{where}/")
    for function, variable in pairs:
        if function in functions and variable in variables:
            function_ratios.append(functions[function] / variables[variable])
            print(f"  {where:12s} {function:18s} {functions[function]:6.1f} ns = "
                  f"{function_ratios[-1]:.2f} x {variable} ({variables[variable]:.1f} ns)")
for n, b in sorted(pick("SplitAndParse/").items()):
    print(f"split and parse {n:30s} {b['real_time']:10.1f} {b['time_unit']}")

# The goals of docs/performance.md, each with the figure that decides it.
goals = []
if loads:
    corpus_loads = [b["ratio"] for n, b in loads.items() if not n.startswith(("generated-", "longest-"))]
    if corpus_loads:
        goals.append(("load and index <= 3 x floor, every corpus table (max)", max(corpus_loads), 3))
    if "generated-64KiB" in loads:
        goals.append(("load and index <= 3 x floor, 64 KiB table", loads["generated-64KiB"]["ratio"], 3))
slow = pick("Variable/corpus/")
if slow:
    goals.append(("variable <= 50 ns, corpus (slowest table's median)", max(b.get("worst_ns", 0) for b in slow.values()), 50))
worst_case = per_call("Variable/last-of-1024/")
if worst_case:
    goals.append(("variable <= 200 ns, last of 1024 structures", max(worst_case.values()), 200))
totals = per_call("Variable/1024-of-its-type/")
if totals:
    goals.append(("memory and processor totals <= 1000 ns, 1024 structures", max(totals.values()), 1000))
if function_ratios:
    goals.append(("field function <= 2 x its variable (max)", max(function_ratios), 2))
if goals:
    print("\n=== goals (tarnwick against dmidecode: scripts/compare-dmidecode.sh)")
    for what, figure, bound in goals:
        print(f"{'met   ' if figure <= bound else 'missed'} {what}: {figure:.2f}")
PY
