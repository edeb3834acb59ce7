#!/usr/bin/env bash
# Pages per second of gradesheet-cli pdf on a file of 1,000 courses of 40
# students (1,000 sheet pages), at 1 and 2 threads (and more when given),
# alternating the runs; with a second program (an older build) it is timed in
# the same run for comparison. Wall-clock and CPU seconds, medians.
#
#     bench/sheet_pdf.sh [CLI] [RUNS] [THREADS...]
#     OLD_CLI=/path/to/old/gradesheet-cli bench/sheet_pdf.sh build/gradesheet-cli 5 1 2
set -euo pipefail
cli=${1:-build/gradesheet-cli}
runs=${2:-5}
shift 2 2>/dev/null || shift $#
threads=("$@")
[ ${#threads[@]} -gt 0 ] || threads=(1 2)

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
python3 "$(dirname "$0")/make_big_file.py" "$tmp/big.txt" 1000 40

median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
declare -A wall cpu size
kinds=()
for t in "${threads[@]}"; do kinds+=("threads=$t"); done
[ -n "${OLD_CLI:-}" ] && kinds+=("old")
for ((i = 0; i < runs; i++)); do
  for kind in "${kinds[@]}"; do
    if [ "$kind" = old ]; then
      cmd=("$OLD_CLI" pdf "$tmp/big.txt" -o "$tmp/out.pdf")
    else
      cmd=("$cli" pdf "$tmp/big.txt" -o "$tmp/out.pdf" --threads "${kind#threads=}")
    fi
    /usr/bin/time -f "%e %U %S" -o "$tmp/time" "${cmd[@]}" 2>/dev/null
    read -r e u s <"$tmp/time"
    wall[$kind]+="$e"$'\n'
    cpu[$kind]+="$(echo "$u + $s" | bc)"$'\n'
    size[$kind]=$(stat -c %s "$tmp/out.pdf")
  done
done
for kind in "${kinds[@]}"; do
  w=$(printf '%s' "${wall[$kind]}" | median)
  c=$(printf '%s' "${cpu[$kind]}" | median)
  printf '%-10s %6.2f s wall (%5.0f pages/s), %5.2f s CPU, %s bytes\n' "$kind" "$w" \
    "$(echo "1000 / $w" | bc -l)" "$c" "${size[$kind]}"
done
