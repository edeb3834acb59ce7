#!/usr/bin/env bash
# Checks from the sources that the folders stay layers:
#   - a folder includes only from folders below it, in this order (the top
#     first; folders on one line are side by side and include each other
#     not at all):
#         app, app/cli
#         preview
#         printing/qt
#         printing
#         exchange
#         gradefile
#         grading
#         text, platform
#   - the core folders (platform, text, grading, gradefile, exchange,
#     printing without printing/qt) and the core tests include no Qt header;
#   - no product source file is longer than 450 lines.
#
#   scripts/check-layers.sh           the checks; exit 1 when one fails
#   scripts/check-layers.sh --graph   also print which folder includes which
set -euo pipefail
cd "$(dirname "$0")/.."

max_lines=450

rank_of() {
  case "$1" in
    app | app/cli) echo 8 ;;
    preview) echo 7 ;;
    printing/qt) echo 6 ;;
    printing) echo 5 ;;
    exchange) echo 4 ;;
    gradefile) echo 3 ;;
    grading) echo 2 ;;
    text | platform) echo 1 ;;
    *) echo 0 ;;
  esac
}

# The folder of a path: its first part, or the first two for app/cli and printing/qt.
folder_of() {
  case "$1" in
    app/cli/*) echo app/cli ;;
    printing/qt/*) echo printing/qt ;;
    */*) echo "${1%%/*}" ;;
    *) echo "" ;;
  esac
}

product_folders=(app preview printing exchange gradefile grading text platform)
core_folders=(platform text grading gradefile exchange printing)

# The C++ files under the given folders (git's view when this is a checkout).
sources_in() {
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    local patterns=()
    for folder in "$@"; do patterns+=("$folder/*.h" "$folder/*.cpp"); done
    git ls-files --cached --others --exclude-standard -- "${patterns[@]}"
  else
    find "$@" -type f \( -name '*.h' -o -name '*.cpp' \) 2>/dev/null | sed 's|^\./||' | sort
  fi
}

status=0
fail() {
  echo "check-layers: $*" >&2
  status=1
}

declare -A edges=()

while IFS= read -r file; do
  from=$(folder_of "$file")
  from_rank=$(rank_of "$from")
  while IFS= read -r line; do
    header=${line#*\"}
    header=${header%%\"*}
    to=$(folder_of "$header")
    [ -n "$to" ] || continue
    to_rank=$(rank_of "$to")
    [ "$to_rank" -gt 0 ] || continue
    [ "$to" = "$from" ] && continue
    edges["$from -> $to"]=$((${edges["$from -> $to"]:-0} + 1))
    if [ "$to_rank" -ge "$from_rank" ]; then
      fail "$file includes $header: $from may include only folders below it"
    fi
  done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" || true)
done < <(sources_in "${product_folders[@]}")

# No Qt in the core, nor in its tests.
while IFS= read -r file; do
  case "$file" in printing/qt/*) continue ;; esac
  if grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' "$file" >/dev/null; then
    fail "$file includes a Qt header: the core folders use no Qt"
  fi
done < <(sources_in "${core_folders[@]}" tests/core)

# Rooms stay small enough to find one's way in.
while IFS= read -r file; do
  lines=$(wc -l <"$file")
  if [ "$lines" -gt "$max_lines" ]; then
    fail "$file has $lines lines (at most $max_lines: split it by concern)"
  fi
done < <(sources_in "${product_folders[@]}")

if [ "${1:-}" = "--graph" ]; then
  for edge in "${!edges[@]}"; do
    printf '%-28s %4d includes\n' "$edge" "${edges[$edge]}"
  done | sort
fi

if [ "$status" -eq 0 ]; then echo "check-layers: the folders are layers"; fi
exit $status
