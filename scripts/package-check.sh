#!/usr/bin/env bash
# The Debian package as a teacher gets it: built by ./package, installed with
# apt, both programs run from where they were installed (the desktop one as
# an ordinary user on a real X server, changing a page margin), the desktop
# entry and the AppStream data validated, lintian without errors, and
# nothing of the package left after a purge. Needs root: it installs and
# removes the package on this machine.
set -uo pipefail
cd "$(dirname "$0")/.."

failures=0
fail() {
  echo "package check: FAIL: $*" >&2
  failures=$((failures + 1))
}
say() { echo "package check: $*"; }

if [ "$(id -u)" -ne 0 ]; then
  echo "package check: needs root (installs and removes the package)" >&2
  exit 1
fi

# One check at a time on a machine: each installs and purges the same package.
exec 9>/var/lock/gradesheet-package-check.lock
if ! flock -w 900 9; then
  echo "package check: another one has been running for 15 minutes" >&2
  exit 1
fi

work=$(mktemp -d)
chmod 755 "$work"
installed() { dpkg-query -W -f='${Status}' gradesheet 2>/dev/null | grep -q 'install ok installed'; }
cleanup() {
  if installed; then apt-get -o DPkg::Lock::Timeout=300 purge -y -qq gradesheet >/dev/null 2>&1; fi
  rm -rf "$work"
}
trap cleanup EXIT
export DEBIAN_FRONTEND=noninteractive
started=$(date +%s)

# ---- build ----------------------------------------------------------------------
if ! ./package >"$work/package.log" 2>&1; then
  cat "$work/package.log" >&2
  fail "./package did not build the package"
  exit 1
fi
version=$(sed -n 's/^project(gradesheet VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb="dist/gradesheet_${version}_amd64.deb"
[ -f "$deb" ] || { fail "$deb is missing"; exit 1; }
say "built $deb ($(du -k "$deb" | cut -f1) KiB) in $(($(date +%s) - started)) s"
app_id=$(dpkg-deb -c "$deb" | sed -n 's|.*/usr/share/applications/\(.*\)\.desktop$|\1|p')
[ -n "$app_id" ] || fail "the package has no desktop entry"

# ---- install ------------------------------------------------------------------------
if installed; then apt-get -o DPkg::Lock::Timeout=300 purge -y -qq gradesheet >/dev/null; fi
if ! timeout 600 apt-get -o DPkg::Lock::Timeout=300 install -y -qq "./$deb" >"$work/apt.log" 2>&1; then
  cat "$work/apt.log" >&2
  fail "apt-get install $deb"
  exit 1
fi
dpkg-query -L gradesheet >"$work/files"
depends=$(dpkg-query -W -f='${Depends}' gradesheet)
recommends=$(dpkg-query -W -f='${Recommends}' gradesheet)
for want in fonts-arphic-uming libqt6widgets6 libqt6printsupport6 libicu libxlsxwriter; do
  [[ "$depends" == *"$want"* ]] || fail "Depends lacks $want: $depends"
done
for want in qt6-translations-l10n cups-client; do
  [[ "$recommends" == *"$want"* ]] || fail "Recommends lacks $want: $recommends"
done
for f in /usr/bin/gradesheet /usr/bin/gradesheet-cli \
  /usr/share/icons/hicolor/scalable/apps/gradesheet.svg \
  /usr/share/icons/hicolor/48x48/apps/gradesheet.png /usr/share/icons/hicolor/256x256/apps/gradesheet.png \
  /usr/share/man/man1/gradesheet.1.gz /usr/share/man/man1/gradesheet-cli.1.gz \
  /usr/share/doc/gradesheet/copyright /usr/share/doc/gradesheet/changelog.gz \
  "/usr/share/applications/$app_id.desktop" "/usr/share/metainfo/$app_id.metainfo.xml"; do
  grep -qxF "$f" "$work/files" || fail "not installed: $f"
done
# The modules loaded on first use, in the package's own library folder.
for m in gradesheet-xlsx gradesheet-pdfjoin; do
  grep -qE "^/usr/lib/([^/]+/)?gradesheet/lib$m\.so\$" "$work/files" || fail "not installed: the module lib$m.so"
done
zcat /usr/share/man/man1/gradesheet.1.gz | grep -q '^\.I /usr/bin/qprtpara\.dat$' ||
  fail "gradesheet(1) does not name the installed program's settings file /usr/bin/qprtpara.dat"
for size in 48 256; do
  got=$(file -b "/usr/share/icons/hicolor/${size}x${size}/apps/gradesheet.png" 2>/dev/null)
  [[ "$got" == *"$size x $size"* ]] || fail "the ${size}x${size} icon is $got"
done

# ---- the batch tool and --version, without a display --------------------------------
noscreen=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
# The first line names the program and its version, the lines after it the licence.
for program in gradesheet gradesheet-cli; do
  got=$("${noscreen[@]}" timeout 20 "/usr/bin/$program" --version 2>&1)
  [ "$(head -n1 <<<"$got")" = "$program $version" ] && grep -q 'GPL-3.0-or-later' <<<"$got" ||
    fail "$program --version said: $got"
done
"${noscreen[@]}" timeout 60 /usr/bin/gradesheet-cli courses samples/demo.txt >"$work/courses" 2>"$work/err" ||
  fail "gradesheet-cli courses: $(cat "$work/err")"
[ "$(wc -l <"$work/courses")" -eq 5 ] && grep -q '^高等数学(一) ' "$work/courses" ||
  fail "gradesheet-cli courses listed: $(cat "$work/courses")"
"${noscreen[@]}" timeout 120 /usr/bin/gradesheet-cli pdf samples/demo.txt -o "$work/demo.pdf" >/dev/null 2>"$work/err" ||
  fail "gradesheet-cli pdf: $(cat "$work/err")"
pages=$(pdfinfo "$work/demo.pdf" 2>/dev/null | awk '/^Pages:/ {print $2}')
[ "${pages:-0}" -eq 6 ] || fail "the demo sheet has ${pages:-no} pages, not 6"
pdffonts "$work/demo.pdf" 2>/dev/null | grep -qi 'uming' || fail "the sheet is not set in AR PL UMing (the 宋体 of the package)"
# In parts joined by the installed join module (one font subset a part),
# and a workbook by the installed workbook module.
"${noscreen[@]}" timeout 120 /usr/bin/gradesheet-cli pdf samples/demo.txt -o "$work/parts.pdf" --threads 2 >/dev/null 2>"$work/err" ||
  fail "gradesheet-cli pdf --threads 2: $(cat "$work/err")"
[ "$(pdffonts "$work/parts.pdf" 2>/dev/null | grep -c 'CID TrueType')" -eq 2 ] ||
  fail "the sheet in two parts was not joined by the installed module"
"${noscreen[@]}" timeout 60 /usr/bin/gradesheet-cli export samples/demo.txt -o "$work/demo.xlsx" >/dev/null 2>"$work/err" ||
  fail "gradesheet-cli export: $(cat "$work/err")"
[ "$(head -c 2 "$work/demo.xlsx")" = PK ] || fail "the exported workbook is no zip file"

# ---- the desktop program, as a teacher: margins are kept in the user's folder --------
home="$work/home"
mkdir -p "$home"
chown nobody:nogroup "$home"
margin=23
cat >"$work/session.sh" <<'SESSION'
# Runs inside the X server as the user: a window manager, the program, then
# the window menu's grade sheet, the tool bar's pop-up menu, the margin dialog.
set -u
margin=$1
log() { echo "session: $*" >&2; }
# Pictures of the steps when asked for (GS_SCREENSHOT_DIR outside).
shot() { if [ -n "${SHOTS:-}" ] && command -v scrot >/dev/null; then scrot -o "$SHOTS/package-$1.png"; fi; }
# Waits for a visible window whose name matches the regular expression $1
# and belongs to the program, looking $2 times a fifth of a second apart
# (150: 30 s); prints its id.
wait_window() {
  local id
  for _ in $(seq $((${2:-150}))); do
    for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
      if [ "$(xdotool getwindowpid "$id" 2>/dev/null)" = "$pid" ]; then
        echo "$id"
        return 0
      fi
    done
    sleep 0.2
  done
  return 1
}
openbox >/dev/null 2>&1 &
for _ in $(seq 50); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.2
done
gradesheet >"$HOME/gradesheet.log" 2>&1 &
pid=$!
main=$(wait_window '教师整理学生成绩') || { log "the main window did not appear"; exit 11; }
xdotool windowactivate --sync "$main" >/dev/null 2>&1
sleep 0.5
# "&W 窗口" then "&B.  成绩单": the grade sheet view with its tool bar.
xdotool key --clearmodifiers alt+w
sleep 0.5
xdotool key b
sleep 1
eval "$(xdotool getwindowgeometry --shell "$main")"
dialog=
# The tool bar lies under the menu bar; its pop-up menu opens on a right
# click where no button is, and "B" picks "&B.  设置页边界...".
for y in 38 34 42 30 46 50; do
  xdotool mousemove --window "$main" $((WIDTH - 60)) "$y" click 3
  sleep 0.7
  shot popup-menu
  xdotool key b
  if dialog=$(wait_window '设置页边界' 15); then break; fi
  xdotool key Escape
done
[ -n "$dialog" ] || { log "the margin dialog did not appear"; exit 12; }
xdotool windowactivate --sync "$dialog" >/dev/null 2>&1
# The left margin has the focus; OK is the default button.
xdotool key ctrl+a
xdotool type "$margin"
shot margin-dialog
xdotool key Return
for _ in $(seq 50); do
  xdotool search --onlyvisible --name '设置页边界' >/dev/null 2>&1 || break
  sleep 0.2
done
# "&F 文件" then "&X.  退出".
xdotool windowactivate --sync "$main" >/dev/null 2>&1
xdotool key --clearmodifiers alt+f
sleep 0.5
xdotool key x
for _ in $(seq 50); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.2
done
if kill -0 "$pid" 2>/dev/null; then
  log "the program did not quit"
  kill "$pid"
  exit 13
fi
wait "$pid"
SESSION
# The teacher's environment: their own home, no configuration folder named,
# no display but the one xvfb-run makes.
shots=
if [ -n "${GS_SCREENSHOT_DIR:-}" ]; then
  shots="$home/shots"
  runuser -u nobody -- mkdir -p "$shots"
fi
timeout -k 10 150 runuser -u nobody -- env -i PATH=/usr/bin:/bin HOME="$home" LANG=C.UTF-8 SHOTS="$shots" \
  xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/session.sh" "$margin" >"$work/session.log" 2>&1
rc=$?
if [ -n "$shots" ]; then
  mkdir -p "$GS_SCREENSHOT_DIR" && cp "$shots"/*.png "$GS_SCREENSHOT_DIR"/ 2>/dev/null
fi
if [ "$rc" -ne 0 ]; then
  fail "the desktop session ended with $rc"
  cat "$work/session.log" "$home/gradesheet.log" >&2 2>/dev/null
fi
settings="$home/.config/gradesheet/qprtpara.dat"
if [ ! -f "$settings" ]; then
  fail "$settings was not written"
else
  size=$(stat -c %s "$settings")
  [ "$size" -eq 232 ] || fail "$settings has $size bytes, not 232"
  # Margins are kept in printer pixels. The printer's resolution shows in
  # the top margin: its default, Round(Dpi x 0.6562) pixels, went through
  # the dialog's whole millimetres and back unchanged otherwise.
  python3 - "$settings" "$margin" <<'PY' || fail "$settings does not hold the left margin of ${margin} mm"
import struct, sys
record = open(sys.argv[1], 'rb').read()
mm = int(sys.argv[2])
left, right, top, bottom = struct.unpack_from('<4i', record, 216)
def through_dialog(pixels, dpi):
    return round(round(pixels * 25.4 / dpi) * dpi / 25.4)
dpis = [d for d in range(50, 4801)
        if round(mm * d / 25.4) == left and through_dialog(round(d * 0.6562), d) == top]
print(f"package check: margins left {left}, right {right}, top {top}, bottom {bottom} pixels"
      f" ({mm} mm at {dpis[0] if dpis else '?'} dpi)")
sys.exit(0 if dpis and right == 0 and bottom == 0 else 1)
PY
fi
[ -e /usr/bin/qprtpara.dat ] && fail "settings were written beside the installed program"

# ---- validators ---------------------------------------------------------------------
desktop-file-validate "/usr/share/applications/$app_id.desktop" >"$work/desktop.log" 2>&1 ||
  fail "desktop-file-validate: $(cat "$work/desktop.log")"
appstreamcli validate --no-net "/usr/share/metainfo/$app_id.metainfo.xml" >"$work/appstream.log" 2>&1 ||
  fail "appstreamcli validate: $(cat "$work/appstream.log")"
for page in gradesheet gradesheet-cli; do
  MANWIDTH=80 LC_ALL=C.UTF-8 timeout 30 man --warnings -E UTF-8 "$page" >"$work/man.txt" 2>"$work/man.err" ||
    fail "man $page"
  [ -s "$work/man.err" ] && fail "man $page warns: $(cat "$work/man.err")"
done
timeout 300 lintian --fail-on error --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 ||
  fail "lintian reports errors"
grep -v -e 'running with root privileges' -e 'will drop' "$work/lintian.log" >"$work/lintian.tags"
if [ -s "$work/lintian.tags" ]; then
  say "lintian says:"
  sed 's/^/  /' "$work/lintian.tags"
fi

# ---- removal ------------------------------------------------------------------------
timeout 600 apt-get -o DPkg::Lock::Timeout=300 purge -y -qq gradesheet >"$work/apt.log" 2>&1 || fail "apt-get purge gradesheet"
while read -r f; do
  [ -d "$f" ] && continue
  [ -e "$f" ] || [ -L "$f" ] && fail "left after purge: $f"
done <"$work/files"
left=$(find /usr -name '*gradesheet*' 2>/dev/null)
[ -z "$left" ] || fail "left under /usr after purge: $left"

say "done in $(($(date +%s) - started)) s"
if [ "$failures" -gt 0 ]; then
  echo "package check: $failures check(s) failed" >&2
  exit 1
fi
say "all checks passed"
