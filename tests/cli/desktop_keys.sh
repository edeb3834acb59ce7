#!/usr/bin/env bash
# The keys of the window on a real X server with a window manager, as a
# teacher presses them: the findings list before a save (Escape goes back,
# Enter goes to the row's finding, Alt+S saves anyway), F8 to the next
# finding, Shift+arrows and Ctrl+C read back through the real clipboard, F9
# recomputing the totals, and the preview's page and zoom keys, whose effect
# is seen on the screen itself (Xvfb's frame buffer). Needs GUI (set by
# ctest), xvfb-run, openbox, xdotool and xclip.
set -uo pipefail
source "$(dirname "$0")/support/checks.bash"
: "${GUI:?}"

python3 - "$tmp/grades.txt" <<'PY'
import sys
def rec(key, number, name, cw, ex, total):
    name = name.encode("gbk").ljust(8)
    return key + b"cj" + number + name + "计科2201".encode("gbk") + \
        cw.ljust(6) + ex.ljust(6) + total.ljust(6) + b"      "
lines = ["***** VelmoraTarvin版 *****".encode("gbk"),
         b"k0001tk" + "数据库原理".encode("gbk"), b"k0001t930",
         rec(b"k0001", b"2022000001", "王小明", b"80", b"90", b"85"),
         rec(b"k0001", b"2022000002", "李华", b"7O", b"80", b""),
         rec(b"k0001", b"2022000003", "赵四", b"60", b"8O", b"42"),
         rec(b"k0001", b"2022000004", "钱五", b"70", b"80", b"75"),
         b"k0002tk" + "高等数学".encode("gbk"), b"k0002t940",
         rec(b"k0002", b"2022000001", "王小明", b"70", b"60", b"64")]
open(sys.argv[1], "wb").write(b"".join(l + b"\r\n" for l in lines))
PY
mkdir -p "$tmp/home" "$tmp/fb"
md5sum <"$tmp/grades.txt" >"$tmp/before"

cat >"$tmp/session.sh" <<'SESSION'
set -u
gui=$1 file=$2 fb=$4
source "$3"
log() { echo "session: $*" >&2; }
gone() {  # waits until window $1 is no longer visible
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name "$1" 2>/dev/null | grep -q . || return 0
    sleep 0.1
  done
  return 1
}
keys() { xdotool key --clearmodifiers --delay 80 "$@"; sleep 0.3; }
screen() { sleep 0.6; md5sum <"$fb/Xvfb_screen0" | cut -c1-32; }
start_window_manager
QT_QPA_PLATFORM=xcb "$gui" "$file" >"$HOME/gradesheet.log" 2>&1 &
pid=$!
main=$(wait_window '教师整理学生成绩') || { log "the main window did not appear"; exit 11; }
xdotool windowactivate --sync "$main" >/dev/null 2>&1
sleep 0.5

# 王小明's coursework 81 (the course list has the keys: Enter goes there;
# his total follows), then the findings list: Escape goes back without
# saving.
keys Return 8 1
keys ctrl+s
list=$(wait_window '成绩检查' 50) || { log "no findings list"; exit 12; }
keys Escape
gone '成绩检查' || { log "Escape left the list open"; exit 13; }
echo "after escape $(md5sum <"$file" | cut -c1-32)" >"$HOME/steps"
# Enter on the first row goes to its finding, 李华's coursework "7O"; 70
# typed there.
keys ctrl+s
wait_window '成绩检查' 50 >/dev/null || { log "no findings list the second time"; exit 14; }
keys Return
gone '成绩检查' || { log "Enter left the list open"; exit 15; }
keys 7 0
# F8: the next finding, 赵四's examination "8O"; 85 typed there.
keys F8 8 5
# Shift+Up and Shift+Left from there: the block of 李华's and 赵四's
# coursework and examination, copied.
keys shift+Up shift+Left ctrl+c
xclip -selection clipboard -o >"$HOME/clipboard" 2>/dev/null
# F9: the totals that disagree with the share (钱五's) are recomputed.
keys F9
# Saved anyway, if anything is left to check.
keys ctrl+s
if wait_window '成绩检查' 20 >/dev/null; then keys alt+s; fi
box=$(wait_window '提示' 50) && { xdotool windowactivate --sync "$box" >/dev/null 2>&1; keys Return; }
xdotool windowactivate --sync "$main" >/dev/null 2>&1

# The preview: a page of each course; the keys change what the screen shows
# and the way back shows it again.
keys alt+w b
sleep 1
first=$(screen)
keys ctrl+Next
second=$(screen)
keys ctrl+Prior
back=$(screen)
keys ctrl+plus
zoomed=$(screen)
keys ctrl+minus
unzoomed=$(screen)
keys ctrl+End
last=$(screen)
keys ctrl+Home
home=$(screen)
echo "pages $([ "$first" != "$second" ] && echo turned) $([ "$first" = "$back" ] && echo back)" >>"$HOME/steps"
echo "zoom $([ "$first" != "$zoomed" ] && echo in) $([ "$first" = "$unzoomed" ] && echo out)" >>"$HOME/steps"
echo "ends $([ "$last" = "$second" ] && echo last) $([ "$home" = "$first" ] && echo first)" >>"$HOME/steps"

keys alt+f
keys x
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$pid" 2>/dev/null; then log "the program did not quit"; kill "$pid"; exit 16; fi
wait "$pid"
SESSION

timeout -k 5 90 env HOME="$tmp/home" XDG_CONFIG_HOME= LANG=C.UTF-8 \
  xvfb-run -a -n $((100 + RANDOM % 800)) -s "-screen 0 1024x768x24 -fbdir $tmp/fb" \
  bash "$tmp/session.sh" "$GUI" "$tmp/grades.txt" "$(dirname "$0")/support/xsession.bash" "$tmp/fb" \
  >"$tmp/session.log" 2>&1
rc=$?
expect_eq "the session's exit" 0 "$rc"
[ "$rc" -eq 0 ] || cat "$tmp/session.log" "$tmp/home/gradesheet.log" >&2 2>/dev/null

expect_eq "the file after Escape in the list" "after escape $(cut -c1-32 "$tmp/before")" "$(sed -n 1p "$tmp/home/steps")"
expect_eq "the copied block" "$(printf '70\t80\n60\t85')" "$(cat "$tmp/home/clipboard" 2>/dev/null)"
python3 - "$tmp/grades.txt" >"$tmp/records" <<'PY'
import sys
for line in open(sys.argv[1], "rb").read().split(b"\r\n"):
    if line[5:7] == b"cj":
        print(line[33:51].decode("gbk").replace(" ", "."))
PY
expect_eq "王小明 (typed first)" "81....90.....87..." "$(sed -n 1p "$tmp/records")"
expect_eq "李华 (typed at the list's first row)" "70....80.....77..." "$(sed -n 2p "$tmp/records")"
expect_eq "钱五 (recomputed by F9)" "70....80.....77..." "$(sed -n 4p "$tmp/records")"
expect_eq "赵四's examination (typed at F8)" "85...." "$(sed -n 3p "$tmp/records" | cut -c7-12)"
expect_eq "the page keys" "pages turned back" "$(sed -n 2p "$tmp/home/steps")"
expect_eq "the zoom keys" "zoom in out" "$(sed -n 3p "$tmp/home/steps")"
expect_eq "the first and last page" "ends last first" "$(sed -n 4p "$tmp/home/steps")"
finish
