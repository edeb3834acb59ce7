#!/usr/bin/env bash
# How the batch tool's work and the window's open grow with the file: runs
# bench_growth and qt_open_growth (the fastest of three runs per size) and
# prints, for each family, the time of each size and the factor of each
# doubling over the one before (about 2 when the work is linear).
#
#     bench/growth.sh [BUILD_DIR] [FILTER]
set -euo pipefail
build=${1:-build}
filter=${2:-.}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
for program in bench_growth qt_open_growth; do
  [ -x "$build/bench/$program" ] || { echo "build the target $program first" >&2; exit 1; }
  QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/bench/$program" --benchmark_filter="$filter" \
    --benchmark_format=json >"$tmp/$program.json" 2>/dev/null
done
python3 - "$tmp"/*.json <<'PY'
import json, re, sys
rows = {}
for path in sys.argv[1:]:
    text = open(path).read()
    if not text.strip():
        continue  # the filter matched none of this program's benchmarks
    for b in json.loads(text)["benchmarks"]:
        if b.get("aggregate_name") != "min":
            continue
        m = re.match(r"(\w+)/n:(\d+)/oneCourse:(\d)", b["run_name"])
        family = m.group(1) + (" (one course, students)" if m.group(3) == "1" else " (courses)")
        rows.setdefault(family, []).append((int(m.group(2)), b["real_time"]))
worst = 0.0
for family, sizes in rows.items():
    sizes.sort()
    cells = [f"{n}: {t:.1f} ms" for n, t in sizes]
    factors = [t / p for (_, p), (_, t) in zip(sizes, sizes[1:]) if p > 0]
    worst = max([worst] + factors)
    print(f"{family:44} {'  '.join(cells)}  doubling x{' x'.join(f'{f:.2f}' for f in factors)}")
print(f"largest doubling factor: {worst:.2f}")
PY
