#!/usr/bin/env bash
# --version of both programs: the project's version and the licence, also without a display
# (the desktop program answers before it looks for one), and a full standard
# output is an error. Needs CLI and GUI (set by ctest).
set -uo pipefail
source "$(dirname "$0")/support/checks.bash"
: "${GUI:?}"

version=$(sed -n 's/^project(gradesheet VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")
[ -n "$version" ] || fail "no version in CMakeLists.txt"
noscreen=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)

for program in "$GUI" "$CLI"; do
  name=$(basename "$program")
  "${noscreen[@]}" timeout 20 "$program" --version >"$tmp/out" 2>"$tmp/err"
  expect_eq "$name --version exit" 0 "$?"
  expect_eq "$name --version" "$name $version" "$(head -n 1 "$tmp/out")"
  expect_has "$name --version names the licence" "许可证 GPL-3.0-or-later" "$tmp/out"
  expect_eq "$name --version stderr" "" "$(cat "$tmp/err")"
  "${noscreen[@]}" timeout 20 "$program" --version >/dev/full 2>/dev/null
  expect_eq "$name --version into a full output exit" 2 "$?"
done
run --help
expect_has "--help names --version" "gradesheet-cli --help | --version" "$tmp/out"

finish
