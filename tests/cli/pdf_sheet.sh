#!/usr/bin/env bash
# gradesheet-cli pdf: pages, paper, texts of the PDF (poppler-utils), the
# settings directory, exit codes. Needs CLI, TEST_DATA and SAMPLES (set by ctest).
set -uo pipefail
source "$(dirname "$0")/support/checks.bash"
two="$TEST_DATA/sheet_two_courses.txt"

run pdf "$two" -o "$tmp/all.pdf"
expect_eq "pdf exit" 0 "$rc"
expect_eq "pdf report" "已将 3 页（成绩表共 3 页）写入 $tmp/all.pdf" "$(cat "$tmp/err")"
expect_eq "pdf pages" "3" "$(pdfinfo "$tmp/all.pdf" | awk '/^Pages:/ {print $2}')"
expect_has "A4" "595 x 842 pts (A4)" <(pdfinfo "$tmp/all.pdf")

pdftotext -layout -f 1 -l 1 "$tmp/all.pdf" "$tmp/p1.txt"
for text in "学生考试(考查)成绩表" "2025-2026学年度第 1 学期" "高等数学" "王建国" "数学学院" \
  "软件2401,软件2402" "信息学院" "软件工程" "20240001" "赵伟" "20240040" "教学主任签字" "70.89" "13.33"; do
  expect_has "page 1 text" "$text" "$tmp/p1.txt"
done
pdftotext -layout -f 3 -l 3 "$tmp/all.pdf" "$tmp/p3.txt"
for text in "大学英语" "59.50" "33.33" "作弊"; do
  expect_has "page 3 text" "$text" "$tmp/p3.txt"
done
# The second page of the first course holds students 41 to 45 only.
pdftotext -layout -f 2 -l 2 "$tmp/all.pdf" "$tmp/p2.txt"
expect_has "page 2 student 41" "20240041" "$tmp/p2.txt"
grep -q "20240001" "$tmp/p2.txt" && fail "page 2 repeats page 1's students"

# A range, and the split sheet.
run pdf "$two" -o "$tmp/range.pdf" --pages 2-3
expect_eq "range exit" 0 "$rc"
expect_eq "range pages" "2" "$(pdfinfo "$tmp/range.pdf" | awk '/^Pages:/ {print $2}')"
run pdf "$two" -o "$tmp/split.pdf" --by-class --pages 1
expect_eq "split page exit" 0 "$rc"
pdftotext -layout "$tmp/split.pdf" "$tmp/split.txt"
expect_has "split page figures" "60.33" "$tmp/split.txt"

# Fonts and margins from a settings directory: a damaged record (body size
# 0, title name length 255) still gives a sheet.
mkdir -p "$tmp/settings"
{
  printf '\001\001\000\000'        # charsets, reserved
  printf '\000\000\000\000'        # body size 0
  printf '\020\000\000\000'        # title size 16
  printf '\004\313\316\314\345'     # body name: 4 bytes, 宋体
  head -c 96 /dev/zero
  printf '\377'                     # title name length 255
  head -c 100 /dev/zero | tr '\000' 'A'
  printf '\000\000'                # styles
  printf '\144\000\000\000\000\000\000\000\310\000\000\000\000\000\000\000'  # margins 100 0 200 0
} >"$tmp/settings/qprtpara.dat"
expect_eq "settings record size" 232 "$(wc -c <"$tmp/settings/qprtpara.dat")"
run pdf "$two" -o "$tmp/settings.pdf" --settings "$tmp/settings"
expect_eq "settings exit" 0 "$rc"
expect_eq "settings pages" "3" "$(pdfinfo "$tmp/settings.pdf" | awk '/^Pages:/ {print $2}')"
# The left margin of 100 dots instead of 197 moves the course label left by
# 97/600 inch (11.6 pt).
label_x() {
  pdftotext -bbox -f 1 -l 1 "$1" - | grep -m1 '>课程<' | sed 's/.*xMin="\([0-9.]*\)".*/\1/'
}
expect_eq "margin from the settings" "11.6" \
  "$(awk -v a="$(label_x "$tmp/all.pdf")" -v b="$(label_x "$tmp/settings.pdf")" 'BEGIN {printf "%.1f", a - b}')"

# Failures.
run pdf "$two" -o "$tmp/x.pdf" --pages 4-5
expect_eq "range past the end" 1 "$rc"
run pdf "$two" -o "$tmp/x.pdf" --pages 3-2
expect_eq "reversed range" 1 "$rc"
run pdf "$two"
expect_eq "no output" 1 "$rc"
run pdf "$two" -o "$tmp/x.pdf" --settings "$tmp/nowhere"
expect_eq "settings not a directory" 1 "$rc"
run pdf "$TEST_DATA/sheet_empty.txt" -o "$tmp/empty.pdf"
expect_eq "no pages" 2 "$rc"
[ -e "$tmp/empty.pdf" ] && fail "a PDF without pages was written"
run pdf "$tmp/missing.txt" -o "$tmp/x.pdf"
expect_eq "missing exit" 2 "$rc"
expect_eq "missing message" "$tmp/missing.txt不存在!" "$(cat "$tmp/err")"
run pdf "$two" -o "$tmp/no/such/dir/x.pdf"
expect_eq "unwritable exit" 2 "$rc"

finish
