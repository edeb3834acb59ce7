#!/usr/bin/env bash
# The desktop program at start: it ignores the file-size signal, so that a save
# past a file-size limit (ulimit -f) fails with a message instead of killing
# the window with the grades in it. Needs GUI (set by ctest).
set -uo pipefail
source "$(dirname "$0")/support/checks.bash"
: "${GUI:?}"

QT_QPA_PLATFORM=offscreen "$GUI" >"$tmp/out" 2>"$tmp/err" &
pid=$!
ignored=no
for _ in $(seq 100); do
  mask=$(awk '/^SigIgn:/ {print $2}' "/proc/$pid/status" 2>/dev/null) || break
  # SIGXFSZ is signal 25: bit 24 of the mask.
  if [ -n "$mask" ] && (( (16#$mask >> 24) & 1 )); then
    ignored=yes
    break
  fi
  sleep 0.1
done
alive=no
kill -0 "$pid" 2>/dev/null && alive=yes
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
expect_eq "running" yes "$alive"
expect_eq "SIGXFSZ ignored" yes "$ignored"
finish
