#!/usr/bin/env bash
# gradesheet-cli text and stats: the sheet on its grid, the figures per group,
# exit codes and messages. Needs CLI, TEST_DATA and SAMPLES (set by ctest).
set -uo pipefail
source "$(dirname "$0")/support/checks.bash"
two="$TEST_DATA/sheet_two_courses.txt"

# Three pages (45 + 6 students), split by form feeds.
run text "$two"
expect_eq "text exit" 0 "$rc"
expect_eq "text pages" 3 "$(awk 'BEGIN{RS="\f"} END{print NR}' "$tmp/out")"
expect_eq "text stderr" "" "$(cat "$tmp/err")"

# Page 1 on the grid: the title centred over 101 columns, the heading values
# at their columns, student rows between the rules.
run text "$two" --page 1
expect_eq "page 1 exit" 0 "$rc"
expect_eq "title line" "                                        学生考试(考查)成绩表" "$(sed -n 1p "$tmp/out")"
expect_eq "course line" "  课程 高等数学                         类别 必修     学分 4        周学时 4          编  号" \
  "$(sed -n 3p "$tmp/out")"
expect_has "first student" "|20240001  |赵伟    |软件2402|  60  |  50  |  53  ||20240021  |周杰    |" "$tmp/out"
expect_has "weighting" "平时成绩占　 30 ％，  卷面成绩占　 70 ％，  应参加考试   45 人，" "$tmp/out"
expect_has "average" "平均成绩：   70.89 ;" "$tmp/out"
expect_eq "no form feed in one page" 0 "$(tr -cd '\f' <"$tmp/out" | wc -c)"

# Page 3: the statistics example, shares 33.5 -> 34 and 67.
run text "$two" --page 3
expect_has "share half away" "平时成绩占　 34 ％，  卷面成绩占　 67 ％，" "$tmp/out"
expect_has "failure rate" "不及格率：   33.33 ％" "$tmp/out"
expect_has "band 5" "60 分以下     2 　人;" "$tmp/out"

# Split by class: 软件2402 first (first appearance), then 软件2401, then C0002.
run text "$two" --by-class
expect_eq "split pages" 3 "$(awk 'BEGIN{RS="\f"} END{print NR}' "$tmp/out")"

run stats "$two" --by-class
expect_eq "stats split exit" 0 "$rc"
expect_eq "stats split" "$(printf '%s\n' \
  $'course\tclass\tpages\tdue\tcoursework\texamination\t90-100\t80-89\t70-79\t60-69\tbelow60\taverage\tfailure_rate' \
  $'C0001\t软件2402\t1\t15\t30\t70\t0\t0\t0\t9\t6\t60.33\t40.00' \
  $'C0001\t软件2401\t1\t30\t30\t70\t0\t10\t13\t7\t0\t76.17\t0.00' \
  $'C0002\t软件2401\t1\t6\t34\t67\t1\t1\t1\t1\t2\t59.50\t33.33')" "$(cat "$tmp/out")"

run stats "$two"
expect_eq "stats whole" "$(printf '%s\n' \
  $'C0001\t\t2\t45\t30\t70\t0\t10\t13\t16\t6\t70.89\t13.33' \
  $'C0002\t\t1\t6\t34\t67\t1\t1\t1\t1\t2\t59.50\t33.33')" "$(tail -n +2 "$tmp/out")"

# Grade words blank the statistics; share 0 blanks the weighting.
run stats "$TEST_DATA/sheet_levels.txt"
expect_eq "stats levels" $'P0001\t\t1\t3\t\t\t\t\t\t\t\t\t' "$(tail -n +2 "$tmp/out")"

# No courses: no pages, only the header.
run text "$TEST_DATA/sheet_empty.txt"
expect_eq "empty text exit" 0 "$rc"
expect_eq "empty text" "" "$(cat "$tmp/out")"
run stats "$TEST_DATA/sheet_empty.txt"
expect_eq "empty stats lines" 1 "$(wc -l <"$tmp/out")"

# Bad input: the load messages and exit code 2; bad options: usage and 1.
for cmd in text stats; do
  run "$cmd" "$tmp/missing.txt"
  expect_eq "$cmd missing exit" 2 "$rc"
  expect_eq "$cmd missing message" "$tmp/missing.txt不存在!" "$(cat "$tmp/err")"
  run "$cmd" "$TEST_DATA/magic_trailing_blank.txt"
  expect_eq "$cmd not a grade file exit" 2 "$rc"
  expect_has "$cmd not a grade file message" "不是Velmora生成的文件，打开失败!" "$tmp/err"
  run "$cmd" "$two" --bogus
  expect_eq "$cmd bad option exit" 1 "$rc"
  expect_has "$cmd usage" "用法: gradesheet-cli $cmd" "$tmp/err"
  run "$cmd"
  expect_eq "$cmd no file exit" 1 "$rc"
done
for bad in 0 x 4 -1; do
  run text "$two" --page "$bad"
  expect_eq "text --page $bad exit" 1 "$rc"
done
run text "$two" --page
expect_eq "text --page without value" 1 "$rc"

finish
