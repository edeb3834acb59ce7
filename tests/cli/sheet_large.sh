#!/usr/bin/env bash
# gradesheet-cli on books beyond 16-bit page numbers and with a huge title
# line. Needs CLI, TEST_DATA and SAMPLES (set by ctest).
set -uo pipefail
source "$(dirname "$0")/support/checks.bash"
magic=$(head -n1 "$TEST_DATA/sheet_empty.txt" | tr -d '\r')

# 75,000 courses without students: one page each.
{
  printf '%s\r\n' "$magic"
  awk 'BEGIN { for (i = 0; i < 75000; i++) printf "%05dtkname%05d\r\n", i, i }'
} >"$tmp/many.txt"
for page in 65535 65536 75000; do
  run text "$tmp/many.txt" --page "$page"
  expect_eq "page $page exit" 0 "$rc"
  expect_has "page $page shows its course" "课程 name$(printf '%05d' $((page - 1)))" "$tmp/out"
done
run text "$tmp/many.txt" --page 75001
expect_eq "page past the end exit" 1 "$rc"
expect_has "page past the end message" "（成绩表共 75000 页）" "$tmp/err"

run stats "$tmp/many.txt"
expect_eq "stats exit" 0 "$rc"
expect_eq "stats lists every course" 75001 "$(wc -l <"$tmp/out")"
expect_eq "stats last course" $'74999\t\t1\t0\t\t\t0\t0\t0\t0\t0\t\t' "$(tail -n1 "$tmp/out")"

# A title line of 50 MB: the sheet draws what the page shows, at once.
{
  printf '%s\r\nC0001t0' "$magic"
  yes $'\xb1\xea\xcc\xe2' | tr -d '\n' | head -c 52428800   # 标题 ...
  printf '\r\nC0001tk%s\r\n' "$(iconv -f UTF-8 -t GBK <<<'高等数学')"
} >"$tmp/title.txt"
timeout 20 "$CLI" pdf "$tmp/title.txt" -o "$tmp/title.pdf" >"$tmp/out" 2>"$tmp/err"
expect_eq "huge title pdf exit" 0 $?
pdftotext -layout "$tmp/title.pdf" "$tmp/title.pdf.txt"
expect_has "huge title drawn" "标题标题标题" "$tmp/title.pdf.txt"
expect_has "course after the huge title" "高等数学" "$tmp/title.pdf.txt"
timeout 20 "$CLI" text "$tmp/title.txt" >"$tmp/out" 2>"$tmp/err"
expect_eq "huge title text exit" 0 $?
expect_eq "huge title on the grid" 1000 "$(head -n1 "$tmp/out" | tr -d '\n' | iconv -f UTF-8 -t GBK | wc -c)"

finish
