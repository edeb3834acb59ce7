#!/usr/bin/env bash
# The desktop program's command line, answered before any display is needed:
# a wrong option or two files get the usage on stderr and exit 1, --help the
# usage on stdout. (A file named there is opened: tests/cli/desktop_editing.sh.)
set -uo pipefail
source "$(dirname "$0")/support/checks.bash"
: "${GUI:?}"

usage_first="用法: gradesheet [成绩文件]"
for args in "--bogus" "-x file.txt" "a.txt b.txt" "-- a.txt b.txt"; do
  # shellcheck disable=SC2086
  env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb timeout 10 "$GUI" $args >"$tmp/out" 2>"$tmp/err"
  expect_eq "exit of: $args" 1 "$?"
  expect_has "usage for: $args" "$usage_first" "$tmp/err"
  expect_eq "stdout of: $args" "" "$(cat "$tmp/out")"
done
grep -q "不认识的选项 --bogus" <(env -u DISPLAY timeout 10 "$GUI" --bogus 2>&1) || fail "the unknown option is not named"
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb timeout 10 "$GUI" --help >"$tmp/out" 2>"$tmp/err"
expect_eq "exit of --help" 0 "$?"
expect_has "usage on stdout" "$usage_first" "$tmp/out"
finish
