#!/usr/bin/env bash
# Start-up of the main window against a bare Qt Widgets window with a 40 x 7
# table, in the same run, alternating: milliseconds from the start of the
# process to its first paint, and peak memory. Under Xvfb with openbox when
# no DISPLAY is given (the default), or offscreen with --offscreen. With
# OLD_WINDOW naming another build of qt_startup (an older version), that one
# is timed in the same run too.
#
#     bench/startup.sh [BUILD_DIR] [RUNS] [--offscreen]
set -euo pipefail
build=${1:-build}
runs=${2:-21}
for target in qt_startup qt_startup_bare; do
  [ -x "$build/bench/$target" ] || { echo "build the targets qt_startup and qt_startup_bare first" >&2; exit 1; }
done

if [ "${3:-}" = --offscreen ]; then
  export QT_QPA_PLATFORM=offscreen
elif [ -z "${DISPLAY:-}" ]; then
  export DISPLAY=:97
  Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill "$wm" "$xvfb" 2>/dev/null || true' EXIT
  sleep 0.5
  openbox >/dev/null 2>&1 &
  wm=$!
  sleep 0.5
fi

export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
tmp=$(mktemp -d)
kinds=(bare window)
if [ -n "${OLD_WINDOW:-}" ]; then kinds+=(old); fi
declare -A times mem
for kind in "${kinds[@]}"; do times[$kind]=""; mem[$kind]=""; done
for ((i = 0; i < runs; i++)); do
  for kind in "${kinds[@]}"; do
    case $kind in
      bare) program=$build/bench/qt_startup_bare ;;
      window) program=$build/bench/qt_startup ;;
      old) program=$OLD_WINDOW ;;
    esac
    start=$(date +%s%N)
    painted=$(/usr/bin/time -f %M -o "$tmp/mem" "$program")
    times[$kind]+="$(((painted - start) / 1000000)) "
    mem[$kind]+="$(cat "$tmp/mem") "
  done
done
rm -rf "$tmp"

median() { tr ' ' '\n' | grep -v '^$' | sort -n | awk '{v[NR] = $1} END {printf "%d (%d to %d)", v[int((NR + 1) / 2)], v[1], v[NR]}'; }
for kind in "${kinds[@]}"; do
  printf '%-7s first paint %s ms, peak memory %s KB\n' "$kind" \
    "$(echo "${times[$kind]}" | median)" "$(echo "${mem[$kind]}" | median)"
done
