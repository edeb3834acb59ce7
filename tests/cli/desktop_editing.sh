#!/usr/bin/env bash
# The desktop program on a real X server with a window manager, as a teacher
# has it: started with a grade file named on the command line, the window
# inside the screen with its frame, keys typed into the grid, a block pasted
# through the real clipboard, Ctrl+S, and the file on disk checked. Its own
# display (xvfb-run -a), its own HOME; every wait is bounded. Needs GUI (set
# by ctest), xvfb-run, openbox, xdotool and xclip.
set -uo pipefail
source "$(dirname "$0")/support/checks.bash"
: "${GUI:?}"

python3 - "$tmp/grades.txt" <<'PY'
import sys
def rec(number, name, cw, ex, total):
    name = name.encode("gbk").ljust(8)
    return b"k0001cj" + number + name + "计科2201".encode("gbk") + \
        cw.ljust(6) + ex.ljust(6) + total.ljust(6) + b"      "
lines = ["***** VelmoraTarvin版 *****".encode("gbk"),
         b"k0001tk" + "数据库原理".encode("gbk"), b"k0001t930",
         rec(b"2022000001", "王小明", b"80", b"90", b"87"),
         rec(b"2022000002", "李华", b"", b"", b""),
         rec(b"2022000003", "赵四", b"70", b"80", b" 77")]
open(sys.argv[1], "wb").write(b"".join(l + b"\r\n" for l in lines))
PY
mkdir -p "$tmp/home"

cat >"$tmp/session.sh" <<'SESSION'
set -u
gui=$1 file=$2
source "$3"
log() { echo "session: $*" >&2; }
start_window_manager
QT_QPA_PLATFORM=xcb "$gui" "$file" >"$HOME/gradesheet.log" 2>&1 &
pid=$!
main=$(wait_window '教师整理学生成绩') || { log "the main window did not appear"; exit 11; }
xdotool windowactivate --sync "$main" >/dev/null 2>&1

# The whole window, frame and title bar included, inside the screen.
echo "frame $(frame_when "$main" "0 0 1024 768")" >"$HOME/geometry"

# The file was opened with the course list at the keys: Enter goes to the
# first coursework, 66, Tab, 77 to the examination, Enter down, Shift+Tab
# back to the second student's coursework.
xdotool key --delay 60 Return 6 6 Tab 7 7 Return shift+Tab
# A row of two cells as a spreadsheet copies it, through the real clipboard.
printf '55\t65\n' | xclip -selection clipboard
sleep 0.3
xdotool key --delay 60 ctrl+v ctrl+s
box=$(wait_window '提示' 50) || { log "no message after the save"; kill "$pid"; exit 12; }
answer_box "$box"
quit_by_menu "$main" || { log "the program did not quit"; kill "$pid"; exit 13; }
wait "$pid"
SESSION

# -n: the search for a free display starts at a random number, so that X
# servers other tests start at the same moment do not race for one number.
timeout -k 5 60 env HOME="$tmp/home" XDG_CONFIG_HOME= LANG=C.UTF-8 \
  xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1024x768x24" bash "$tmp/session.sh" "$GUI" "$tmp/grades.txt" "$(dirname "$0")/support/xsession.bash" \
  >"$tmp/session.log" 2>&1
rc=$?
expect_eq "the session's exit" 0 "$rc"
[ "$rc" -eq 0 ] || cat "$tmp/session.log" "$tmp/home/gradesheet.log" >&2 2>/dev/null

# The records: typed 66 and 77 (total 0.3 x 66 + 0.7 x 77 = 73.7), pasted 55
# and 65 (total 62); the third student untouched.
python3 - "$tmp/grades.txt" >"$tmp/records" <<'PY'
import sys
for line in open(sys.argv[1], "rb").read().split(b"\r\n"):
    if line[5:7] == b"cj":
        print(line[33:51].decode("gbk").replace(" ", "."))
PY
expect_eq "the saved grades" "66....77.....74...
55....65.....62...
70....80.....77..." "$(cat "$tmp/records")"
expect_has "the recent files in the user's folder" "$tmp/grades.txt" "$tmp/home/.config/gradesheet/recent-files"
read -r _ fl ft fr fb <"$tmp/home/geometry" 2>/dev/null || fail "no window geometry"
if [ -n "${fb:-}" ]; then
  # At the top left, as large as the screen: the start-up placement.
  expect_eq "the window with its frame" "0 0 1024 768" "$fl $ft $fr $fb"
fi
finish
