#!/usr/bin/env bash
# gradesheet-cli check: findings on standard output, the summary on standard
# error, exit 0 clean, 3 with findings, 2 for a file that cannot be used.
# Needs CLI, TEST_DATA and SAMPLES (set by ctest).
set -uo pipefail
source "$(dirname "$0")/support/checks.bash"

# A clean file: nothing on standard output, a summary, exit 0.
run check "$SAMPLES/demo.txt"
expect_eq "clean exit" 0 "$rc"
expect_eq "clean stdout" "" "$(cat "$tmp/out")"
expect_eq "clean summary" "gradesheet-cli check: $SAMPLES/demo.txt: 共 128 条记录，没有发现问题" "$(cat "$tmp/err")"

# Every kind, in the order of the records (the last record stands after the
# second course); the tab typed into a grade does not split its line.
run check "$TEST_DATA/check_flagged.txt"
expect_eq "flagged exit" 3 "$rc"
expect_eq "flagged findings" "$(printf '%s\n' \
  $'10001\t2024000001\ttotal\ttotal-mismatch\t66\t总成绩与当前比例不符，应为 68' \
  $'10001\t2024000002\tcoursework\tunrecognised\t8O\t无法识别的成绩，总成绩按 8 计算' \
  $'10001\t2024000003\tcoursework\tunrecognised\t70 71\t无法识别的成绩，总成绩按 70 计算' \
  $'10001\t2024000004\tcoursework\tout-of-range\t120\t超出0–100' \
  $'10001\t2024000005\ttotal\tread-as-zero\t37\t考试成绩\'缺考\'按0计入总成绩' \
  $'10001\t2024000001\t\tduplicate-student\t2024000001\t学号在本课程中重复，与第 1 行相同' \
  $'10001\t2024000007\tcoursework\tunrecognised\t8\xEF\xBF\xBD5\t无法识别的成绩，总成绩按 8 计算' \
  $'10002\t2024000001\ttotal\ttotal-mismatch\t89\t总成绩与当前比例不符，应为 88' \
  $'10002\t2024000003\ttotal\tread-as-zero\t63\t平时成绩\'８５\'按0计入总成绩' \
  $'10001\t2024000009\tcoursework\tunrecognised\t85分\t无法识别的成绩，总成绩按 85 计算')" \
  "$(cat "$tmp/out")"
expect_eq "six fields on every line" 6 "$(awk -F'\t' '{print NF}' "$tmp/out" | sort -u)"
expect_eq "flagged summary" \
  "gradesheet-cli check: $TEST_DATA/check_flagged.txt: 共 11 条记录，发现 10 处问题（unrecognised 4，out-of-range 1，total-mismatch 2，read-as-zero 2，duplicate-student 1）" \
  "$(cat "$tmp/err")"

# A share that is no number from 0 to 100 ("3O" looks like 30): a finding of
# its course, before those of the records, with no student number.
LC_ALL=C sed 's/^01213t930/01213t93O/' "$SAMPLES/demo.txt" >"$tmp/bad_share.txt"
run check "$tmp/bad_share.txt"
expect_eq "bad share exit" 3 "$rc"
expect_eq "bad share first line" $'01213\t\tshare\tbad-share\t3O\t平时成绩占百分比应为0到100之间的数，总成绩无法按它计算' \
  "$(head -n1 "$tmp/out")"
expect_has "bad share summary" "bad-share 1，" "$tmp/err"

# A folder as a school office has it: the exit code tells the files apart.
mkdir "$tmp/folder"
cp "$SAMPLES/demo.txt" "$tmp/folder/a.txt"
cp "$TEST_DATA/check_flagged.txt" "$tmp/folder/b.txt"
cp "$TEST_DATA/magic_trailing_blank.txt" "$tmp/folder/c.txt"
codes=""
for f in "$tmp/folder"/*.txt; do
  "$CLI" check "$f" >/dev/null 2>&1
  code=$?
  codes+="${f##*/}=$code "
done
expect_eq "folder exit codes" "a.txt=0 b.txt=3 c.txt=2 " "$codes"

# Files that cannot be checked: the program's message, nothing on standard
# output, exit 2.
refused() {  # name file [message]
  run check "$2"
  expect_eq "$1 exit" 2 "$rc"
  expect_eq "$1 stdout" "" "$(cat "$tmp/out")"
  [ $# -lt 3 ] || expect_eq "$1 message" "$3" "$(cat "$tmp/err")"
}
refused missing "$tmp/nope.txt" "$tmp/nope.txt不存在!"
refused "bad magic" "$TEST_DATA/magic_trailing_blank.txt" \
  "$TEST_DATA/magic_trailing_blank.txt不是Velmora生成的文件，打开失败!"
printf '\x00\xff\xfe\x1a junk\r\n' >"$tmp/junk.bin"
refused "binary junk" "$tmp/junk.bin"
refused "folder given as file" "$tmp/folder"

# Usage.
run check
expect_eq "check without file exit" 1 "$rc"
run check a b
expect_eq "check with two files exit" 1 "$rc"
run --help
grep -q '^  check FILE$' "$tmp/out" || fail "help lists the check command"

finish
