#!/usr/bin/env bash
# Times tarnwick against dmidecode and against an empty statically linked C
# program on every corpus table, in one run, as ratios: one value (tarnwick
# --from-dump F _smbmfg against dmidecode --from-dump F -s
# system-manufacturer, and against the empty program: what any process costs
# to start; tarnwick --version shows what its start and option parsing alone
# cost) and the whole report (tarnwick --from-dump F against a full
# dmidecode --from-dump F).
# Each process is started directly (posix_spawn, no shell), the two commands
# alternate run by run so that both meet the same machine, and each table's
# figure is the median of its runs. A ratio below 1 means tarnwick is faster.
#
#   scripts/compare-dmidecode.sh [--pairs all] [--runs N] [--verbose]
#
# --pairs all adds the other variables that have a dmidecode keyword.
set -euo pipefail
cd "$(dirname "$0")/.."

pairs=main
runs=41
verbose=0
while (($#)); do
  case "$1" in
    --pairs) pairs=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --verbose) verbose=1; shift ;;
    *) echo "usage: $0 [--pairs all] [--runs N] [--verbose]" >&2; exit 2 ;;
  esac
done

corpus=../shared/corpus
dmidecode=$(command -v dmidecode || true)
[[ -n "$dmidecode" ]] || { echo "compare-dmidecode: dmidecode not found (scripts/setup.sh installs it)" >&2; exit 2; }
compgen -G "$corpus/*.dump" >/dev/null || { echo "compare-dmidecode: no .dump tables in $corpus" >&2; exit 2; }

build=${COMPARE_BUILD_DIR:-build/compare}
source scripts/step.sh
cmake --preset tarnwick -B "$build" >/dev/null
step "compare-dmidecode: build tarnwick" cmake --build "$build" -j2 --target tarnwick >/dev/null
tarnwick=$build/cli/tarnwick
empty=$build/empty-static
echo 'int main(void) { return 0; }' | gcc -x c -O2 -static -o "$empty" -

step "compare-dmidecode: tarnwick against dmidecode, every corpus table" \
  python3 - "$tarnwick" "$dmidecode" "$corpus" "$pairs" "$runs" "$verbose" "$empty" <<'PY'
import glob, os, statistics, subprocess, sys, time

tarnwick, dmidecode, corpus, pairs, runs, verbose, empty = sys.argv[1:]
runs, verbose = int(runs), verbose == "1"

# Variables whose value dmidecode's -s prints from the same field.
KEYWORDS = [
    ("_smbmfg", "system-manufacturer"), ("_smbproduct", "system-product-name"),
    ("_smbserial", "system-serial-number"), ("_smbbiosvendor", "bios-vendor"),
    ("_smbbiosversion", "bios-version"), ("_smbbiosdate", "bios-release-date"),
    ("_smbbbmfg", "baseboard-manufacturer"), ("_smbbbproduct", "baseboard-product-name"),
    ("_smbcpumfg", "processor-manufacturer"), ("_smbcpuversion", "processor-version"),
    ("_smbsysversion", "system-version"), ("_smbchassismfg", "chassis-manufacturer"),
    ("_smbsku", "system-sku-number"), ("_smbchassisversion", "chassis-version"),
    ("_smbchassisserial", "chassis-serial-number"), ("_smbuuid", "system-uuid"),
    ("_smbecversion", "firmware-revision"),
]
if pairs != "all":
    KEYWORDS = KEYWORDS[:1]

null = os.open(os.devnull, os.O_WRONLY)
quiet = [(os.POSIX_SPAWN_DUP2, null, 1), (os.POSIX_SPAWN_DUP2, null, 2)]

def once(argv):
    start = time.perf_counter()
    pid = os.posix_spawn(argv[0], argv, os.environ, file_actions=quiet)
    _, status = os.waitpid(pid, 0)
    elapsed = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) not in (0, 1):
        sys.exit(f"compare-dmidecode: {' '.join(argv)} failed")
    return elapsed

def medians(*commands):
    """Runs of the commands in turn, after one warm-up each; their medians."""
    for c in commands:
        once(c)
    times = [[] for _ in commands]
    for _ in range(runs):
        for c, t in zip(commands, times):
            t.append(once(c))
    return [statistics.median(t) for t in times]

def value(argv):
    out = subprocess.run(argv, capture_output=True, text=True, errors="replace").stdout
    return out.strip()

tables = sorted(glob.glob(os.path.join(corpus, "*.dump")))
print(f"{len(tables)} tables, {runs} alternating runs per command and table")

def report(title, rows):
    ratios = [r for _, _, _, r in rows]
    t = statistics.median(x for _, x, _, _ in rows)
    d = statistics.median(x for _, _, x, _ in rows)
    print(f"{title}: tarnwick {t * 1e6:.0f} us, dmidecode {d * 1e6:.0f} us (medians); "
          f"ratio median {statistics.median(ratios):.3f}, max {max(ratios):.3f}")
    if verbose:
        for name, t, d, r in rows:
            print(f"  {name:40s} {t * 1e6:7.0f} {d * 1e6:7.0f}  {r:.3f}")

bounds = []
for variable, keyword in KEYWORDS:
    rows, against_empty, start_only, agree = [], [], [], 0
    for path in tables:
        ours = [tarnwick, "--from-dump", path, variable]
        theirs = [dmidecode, "--from-dump", path, "-s", keyword]
        # --version: tarnwick's start and option parsing without a table.
        t, d, e, v = medians(ours, theirs, [empty], [tarnwick, "--version"])
        rows.append((os.path.basename(path), t, d, t / d))
        against_empty.append(t / e)
        start_only.append((v / e, v / d))
        agree += value(ours) == value(theirs)
    # Alike: the same text once blanks around it are dropped. dmidecode prints
    # one line per processor and its own words for missing strings.
    report(f"{variable} vs -s {keyword} ({agree}/{len(tables)} values alike)", rows)
    print(f"{variable} vs an empty static C program: ratio median {statistics.median(against_empty):.3f}, "
          f"max {max(against_empty):.3f}")
    print(f"tarnwick --version (start and options, no table): ratio median "
          f"{statistics.median(x for x, _ in start_only):.3f} vs the empty program, "
          f"{statistics.median(y for _, y in start_only):.3f} vs dmidecode -s")
    if variable == "_smbmfg":
        bounds.append(("tarnwick _smbmfg / empty static program", statistics.median(against_empty), 1.5))
        bounds.append(("tarnwick _smbmfg / dmidecode -s", statistics.median(r for _, _, _, r in rows), 1.0))

rows = []
for path in tables:
    t, d = medians([tarnwick, "--from-dump", path], [dmidecode, "--from-dump", path])
    rows.append((os.path.basename(path), t, d, t / d))
report("report of every variable vs full decode", rows)
print("\n=== bounds (medians over the corpus)")
for what, figure, bound in bounds:
    print(f"{'met   ' if figure <= bound else 'MISSED'} {what}: {figure:.3f} (bound {bound})")
PY
