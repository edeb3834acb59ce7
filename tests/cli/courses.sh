#!/usr/bin/env bash
# gradesheet-cli courses / students: output, exit codes and messages.
# Needs CLI, TEST_DATA and SAMPLES (set by ctest).
set -uo pipefail
source "$(dirname "$0")/support/checks.bash"

# The course list of the demo file, one row per course.
run courses "$SAMPLES/demo.txt"
expect_eq "courses exit" 0 "$rc"
expect_eq "courses rows" "$(printf '%s\n' \
  '高等数学(一) 陈建华   计科2301,计科2302' \
  '大学英语(三) 刘雅琴   软件2301,软件2302' \
  '思想道德与法治 赵明远   计科2301' \
  '程序设计实践 陈建华   软件2302' \
  '体育(三) 孙立国   软件2301')" "$(cat "$tmp/out")"
expect_eq "courses stderr" "" "$(cat "$tmp/err")"

# Students of the first course by default: 45 rows, 7 tab-separated cells.
run students "$SAMPLES/demo.txt"
expect_eq "students exit" 0 "$rc"
expect_eq "students rows" 45 "$(wc -l <"$tmp/out")"
expect_eq "students cells" 7 "$(awk -F'\t' '{print NF}' "$tmp/out" | sort -u)"
expect_eq "students first row" "$(printf '   1\t2023040101\t余佳    \t计科2301\t87    \t71    \t 76   ')" \
  "$(head -n1 "$tmp/out")"
expect_eq "students numbering" "  45" "$(tail -n1 "$tmp/out" | cut -f1)"

# A course chosen by key; its classes alternate.
run students "$SAMPLES/demo.txt" 02107
expect_eq "students by key exit" 0 "$rc"
expect_eq "students by key rows" 32 "$(wc -l <"$tmp/out")"
expect_eq "interleaved classes" "软件2301 软件2302 软件2301" "$(head -n3 "$tmp/out" | cut -f4 | paste -sd' ')"

# Unknown key: a clear message, usage exit code.
run students "$SAMPLES/demo.txt" 99999
expect_eq "unknown key exit" 1 "$rc"
grep -q '99999' "$tmp/err" || fail "unknown key message names the key"

# LF and CR LF files read alike.
run students "$TEST_DATA/small_crlf.txt"
cp "$tmp/out" "$tmp/crlf"
run students "$TEST_DATA/small_lf.txt"
expect_eq "lf equals crlf" "$(cat "$tmp/crlf")" "$(cat "$tmp/out")"
expect_eq "small rows" "$(printf '   1\t2022010001\t郑一    \t数学2201\t88    \t76    \t 81   \n   2\t2022010002\t钱二    \t数学2201\t优    \t缺考  \t缺考  ')" \
  "$(cat "$tmp/crlf")"

# A file with only the magic line: no course, no student, no error.
run courses "$TEST_DATA/magic_only.txt"
expect_eq "magic only exit" 0 "$rc"
expect_eq "magic only courses" "" "$(cat "$tmp/out")"
run students "$TEST_DATA/magic_only.txt"
expect_eq "magic only students" "" "$(cat "$tmp/out")"

# A course split in two runs is listed twice.
run courses "$TEST_DATA/broken_runs.txt"
expect_eq "split course listed twice" "$(printf '%s\n' '拆开的课  ' '中间的课  ' ' 第二段   ' '  ' '  ')" \
  "$(cat "$tmp/out")"

# Missing file and wrong magic line: the program's message, exit 2.
run courses "$tmp/nope.txt"
expect_eq "missing exit" 2 "$rc"
expect_eq "missing message" "$tmp/nope.txt不存在!" "$(cat "$tmp/err")"
expect_eq "missing stdout" "" "$(cat "$tmp/out")"
run students "$TEST_DATA/magic_trailing_blank.txt"
expect_eq "bad magic exit" 2 "$rc"
expect_eq "bad magic message" "$TEST_DATA/magic_trailing_blank.txt不是Velmora生成的文件，打开失败!" "$(cat "$tmp/err")"

# Usage errors.
run
expect_eq "no command exit" 1 "$rc"
grep -q '用法:' "$tmp/err" || fail "usage on stderr without a command"
run frobnicate x
expect_eq "unknown command exit" 1 "$rc"
run courses
expect_eq "courses without file exit" 1 "$rc"
run students a b c
expect_eq "students with three words exit" 1 "$rc"
run --help
expect_eq "help exit" 0 "$rc"
grep -q 'students FILE \[KEY\]' "$tmp/out" || fail "help lists the students command"

finish
