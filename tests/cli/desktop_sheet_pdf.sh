#!/usr/bin/env bash
# The sheet written as a PDF from the window on a real X server with a window
# manager, by keyboard only: 文件 → 导出成绩单 PDF, the course shown chosen in
# the course dialog (Alt+C), a name typed into the save dialog, the message
# box closed; then the PDF read back. Its own display and HOME; every wait
# is bounded. Needs GUI (set by ctest), xvfb-run, openbox and xdotool.
set -uo pipefail
source "$(dirname "$0")/support/checks.bash"
: "${GUI:?}"

python3 - "$tmp/grades.txt" <<'PY'
import sys
def rec(key, number, name, cw, ex, total):
    return key + b"cj" + number + name.encode("gbk").ljust(8) + "计科2201".encode("gbk") + \
        cw.ljust(6) + ex.ljust(6) + total.ljust(6) + b"      "
lines = ["***** VelmoraTarvin版 *****".encode("gbk"),
         b"k0001tk" + "数据库原理".encode("gbk"), b"k0001t930",
         rec(b"k0001", b"2022000001", "王小明", b"80", b"90", b"87"),
         b"k0002tk" + "高等数学".encode("gbk"), b"k0002t930",
         rec(b"k0002", b"2022000002", "李华", b"70", b"80", b"77")]
open(sys.argv[1], "wb").write(b"".join(l + b"\r\n" for l in lines))
PY
mkdir -p "$tmp/home"
before=$(md5sum <"$tmp/grades.txt")

cat >"$tmp/session.sh" <<'SESSION'
set -u
gui=$1 file=$2 out=$3
source "$4"
log() { echo "session: $*" >&2; }
start_window_manager
QT_QPA_PLATFORM=xcb "$gui" "$file" >"$HOME/gradesheet.log" 2>&1 &
pid=$!
main=$(wait_program_window '教师整理学生成绩') || { log "the main window did not appear"; exit 11; }
xdotool windowactivate --sync "$main" >/dev/null 2>&1
xdotool key --clearmodifiers alt+f
sleep 0.3
xdotool key d
choice=$(wait_program_window '导出成绩单 PDF' 100) || { log "no course dialog"; kill "$pid"; exit 12; }
xdotool windowactivate --sync "$choice" >/dev/null 2>&1
xdotool key --delay 80 alt+c Return
# The save dialog has the same title: wait until the course dialog is gone.
for _ in $(seq 50); do xdotool search --onlyvisible --name '导出成绩单 PDF' 2>/dev/null | grep -qx "$choice" || break; sleep 0.1; done
save=$(wait_program_window '导出成绩单 PDF' 100 "$choice") || { log "no save dialog"; kill "$pid"; exit 13; }
xdotool windowactivate --sync "$save" >/dev/null 2>&1
sleep 0.3
xdotool key ctrl+a
xdotool type --delay 20 "$out"
xdotool key Return
box=$(wait_program_window '提示' 200) || { log "no message after the export"; kill "$pid"; exit 14; }
answer_box "$box"
quit_by_menu "$main" || { log "the program did not quit"; kill "$pid"; exit 15; }
wait "$pid"
SESSION

timeout -k 5 90 env HOME="$tmp/home" XDG_CONFIG_HOME= LANG=C.UTF-8 \
  xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1024x768x24" bash "$tmp/session.sh" "$GUI" \
  "$tmp/grades.txt" "$tmp/sheet.pdf" "$(dirname "$0")/support/xsession.bash" >"$tmp/session.log" 2>&1
rc=$?
expect_eq "the session's exit" 0 "$rc"
[ "$rc" -eq 0 ] || cat "$tmp/session.log" "$tmp/home/gradesheet.log" >&2 2>/dev/null

# The course shown at the start is the first: one page, its own.
expect_eq "pages" 1 "$(pdfinfo "$tmp/sheet.pdf" 2>/dev/null | awk '/^Pages:/ {print $2}')"
pdftotext -layout "$tmp/sheet.pdf" "$tmp/sheet.txt" 2>/dev/null
expect_has "the course shown" "数据库原理" "$tmp/sheet.txt"
grep -q "高等数学" "$tmp/sheet.txt" 2>/dev/null && fail "a course not chosen was written"
expect_eq "the grade file untouched" "$before" "$(md5sum <"$tmp/grades.txt")"
finish
