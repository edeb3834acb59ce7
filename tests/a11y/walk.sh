#!/usr/bin/env bash
# The accessibility walk: the window (editing view with the find bar, the
# preview) and every dialog of the program are shown on a real X server with
# the accessibility bus running, and walk.py fails on any control that takes
# the focus without a name. Needs SHOWCASE (set by ctest), xvfb-run, openbox,
# dbus-run-session, at-spi2-core and python3-pyatspi.
set -uo pipefail
: "${SHOWCASE:?}"
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
mkdir -p "$tmp/home" && mkdir -m 700 "$tmp/run"

cat >"$tmp/session.sh" <<'SESSION'
set -u
showcase=$1 here=$2 what=$3
source "$here/../cli/support/xsession.bash"
start_window_manager
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
launcher=$!
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$showcase" "$what" >"$HOME/showcase.out" 2>"$HOME/showcase.log" &
pid=$!
for _ in $(seq 200); do grep -q ready "$HOME/showcase.out" 2>/dev/null && break; sleep 0.1; done
/usr/bin/python3 "$here/walk.py" gradesheet-a11y 20
rc=$?
kill "$pid" "$launcher" 2>/dev/null
wait "$pid" 2>/dev/null
exit $rc
SESSION

for what in dialogs window; do
  timeout -k 5 120 env HOME="$tmp/home" XDG_CONFIG_HOME= XDG_RUNTIME_DIR="$tmp/run" LANG=C.UTF-8 \
    xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1280x1024x24" \
    dbus-run-session -- bash "$tmp/session.sh" "$SHOWCASE" "$here" "$what" >"$tmp/walk.log" 2>&1
  rc=$?
  grep '^walk:' "$tmp/walk.log"
  if [ "$rc" -ne 0 ]; then
    echo "FAIL: the walk of the $what ended with $rc" >&2
    cat "$tmp/walk.log" "$tmp/home/showcase.log" >&2
    failures=$((failures + 1))
  fi
done
[ "$failures" -eq 0 ]
