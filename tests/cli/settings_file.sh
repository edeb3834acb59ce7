#!/usr/bin/env bash
# gradesheet-cli pdf --settings DIR: a pipe in place of DIR/qprtpara.dat
# does not hold up the batch tool; the sheet comes out with the defaults.
# Needs CLI, TEST_DATA and SAMPLES (set by ctest).
set -uo pipefail
source "$(dirname "$0")/support/checks.bash"

mkdir "$tmp/settings"
mkfifo "$tmp/settings/qprtpara.dat"
timeout 20 "$CLI" pdf "$SAMPLES/demo.txt" -o "$tmp/sheet.pdf" --settings "$tmp/settings" \
  >"$tmp/out" 2>"$tmp/err"
rc=$?
expect_eq "finishes without waiting on the pipe" 0 "$rc"
pdfinfo "$tmp/sheet.pdf" >"$tmp/info" 2>&1 || fail "the PDF is readable"
expect_has "pages written" "页）写入" "$tmp/err"
[ -p "$tmp/settings/qprtpara.dat" ] || fail "the pipe is still a pipe"

finish
