#!/usr/bin/env bash
# gradesheet-cli over several files and folders, as a school office has them:
# one grade file per teacher, with notes and PDFs lying beside them.
# Needs CLI, TEST_DATA and SAMPLES (set by ctest).
set -uo pipefail
source "$(dirname "$0")/support/checks.bash"
two="$TEST_DATA/sheet_two_courses.txt"
pages() { pdfinfo "$1" | awk '/^Pages:/ {print $2}'; }

office="$tmp/office"
mkdir -p "$office/math/old" "$office/empty"
cp "$SAMPLES/demo.txt" "$office/a_demo.txt"
cp "$TEST_DATA/check_flagged.txt" "$office/math/b_flagged.txt"
cp "$TEST_DATA/small_lf.txt" "$office/math/old/c_small.txt"
printf 'notes for Monday\n' >"$office/notes.txt"
printf '%%PDF-1.4\n' >"$office/math/sheet.pdf"

# check over a folder: every line names its file, nested files in path order,
# files that are not grade files skipped with a line each.
run check "$office"
expect_eq "folder exit (findings)" 3 "$rc"
expect_eq "every line names the flagged file" "$office/math/b_flagged.txt" "$(cut -f1 "$tmp/out" | sort -u)"
expect_eq "seven fields" 7 "$(awk -F'\t' '{print NF}' "$tmp/out" | sort -u)"
expect_eq "findings of the flagged file" 10 "$(wc -l <"$tmp/out")"
expect_eq "first finding" $'10001\t2024000001\ttotal\ttotal-mismatch\t66' "$(head -n1 "$tmp/out" | cut -f2-6)"
expect_eq "folder stderr" "$(printf '%s\n' \
  "gradesheet-cli check: 跳过 $office/math/sheet.pdf: 不是成绩文件" \
  "gradesheet-cli check: 跳过 $office/notes.txt: 不是成绩文件" \
  "gradesheet-cli check: 已检查 3 个文件，跳过 2 个，1 个有可疑成绩")" "$(cat "$tmp/err")"

# A link back up the tree is not followed, a pipe is not waited on.
ln -s "$office" "$office/math/loop"
mkfifo "$office/math/pipe"
timeout 20 "$CLI" check "$office" >"$tmp/out" 2>"$tmp/err"
rc=$?
expect_eq "link and pipe: exit" 3 "$rc"
expect_eq "link and pipe: the same findings" 10 "$(wc -l <"$tmp/out")"
expect_has "the pipe skipped" "跳过 $office/math/pipe: 不是成绩文件" "$tmp/err"
rm "$office/math/loop" "$office/math/pipe"

# Clean files only: exit 0, nothing on standard output.
run check "$office/a_demo.txt" "$office/math/old"
expect_eq "clean exit" 0 "$rc"
expect_eq "clean stdout" "" "$(cat "$tmp/out")"
expect_eq "clean summary" "gradesheet-cli check: 已检查 2 个文件，跳过 0 个，0 个有可疑成绩" "$(cat "$tmp/err")"

# A named file that is not a grade file is an error: exit 2 when nothing
# else is found, 3 when another file has findings.
run check "$office/notes.txt" "$office/a_demo.txt"
expect_eq "named non-grade exit" 2 "$rc"
expect_has "named non-grade message" "$office/notes.txt不是Velmora生成的文件，打开失败!" "$tmp/err"
run check "$office/notes.txt" "$office/math"
expect_eq "named non-grade with findings exit" 3 "$rc"
run check "$office/empty"
expect_eq "empty folder exit" 2 "$rc"
expect_has "empty folder message" "没有找到成绩文件" "$tmp/err"


# stats: the file's path as the first column with several files.
run stats "$two" "$office/math/b_flagged.txt"
expect_eq "stats exit" 0 "$rc"
expect_eq "stats header" $'file\tcourse\tclass\tpages' "$(head -n1 "$tmp/out" | cut -f1-4)"
expect_eq "stats rows" "$(printf '%s\n' "$two C0001" "$two C0002" \
  "$office/math/b_flagged.txt 10001" "$office/math/b_flagged.txt 10002")" \
  "$(tail -n +2 "$tmp/out" | cut -f1-2 | tr '\t' ' ')"
run stats "$two"
expect_eq "one file: no path column" $'course\tclass' "$(head -n1 "$tmp/out" | cut -f1-2)"

# analysis: the same way, a course looked for in every file.
run analysis "$two" "$office/math/b_flagged.txt"
expect_eq "analysis exit" 0 "$rc"
expect_eq "analysis header" $'file\tkey\tclass\tstudents' "$(head -n1 "$tmp/out" | cut -f1-4)"
expect_eq "analysis rows" "$(printf '%s\n' "$two C0001" "$two C0002" \
  "$office/math/b_flagged.txt 10001" "$office/math/b_flagged.txt 10002")" \
  "$(tail -n +2 "$tmp/out" | cut -f1-2 | tr '\t' ' ')"
run analysis "$two" "$office/math/b_flagged.txt" --course 10002
expect_eq "analysis of a course one file has" "$office/math/b_flagged.txt 10002" \
  "$(tail -n +2 "$tmp/out" | cut -f1-2 | tr '\t' ' ')"
run analysis "$two" "$office/math/b_flagged.txt" --course 99999
expect_eq "analysis of a course no file has" 1 "$rc"
expect_has "the missing course named" "99999" "$tmp/err"
run analysis "$office" -o "$tmp/office-analysis.pdf"
expect_eq "folder analysis pdf exit" 0 "$rc"

# pdf: the sheets of several files in the order given, one PDF.
run pdf "$two" "$SAMPLES/demo.txt" -o "$tmp/both.pdf"
expect_eq "pdf exit" 0 "$rc"
alone_two=3
run pdf "$SAMPLES/demo.txt" -o "$tmp/demo.pdf"
alone_demo=$(pages "$tmp/demo.pdf")
expect_eq "pdf pages of both" $((alone_two + alone_demo)) "$(pages "$tmp/both.pdf")"
pdftotext -layout -f 1 -l 1 "$tmp/both.pdf" "$tmp/first.txt"
expect_has "first page from the first file" "高等数学" "$tmp/first.txt"
pdftotext -layout -f 4 -l 4 "$tmp/both.pdf" "$tmp/fourth.txt"
expect_has "fourth page from the second file" "高等数学(一)" "$tmp/fourth.txt"

# Drawn in parts by two threads, the parts of both files join into one sound file.
run pdf "$SAMPLES/demo.txt" "$two" "$SAMPLES/demo.txt" -o "$tmp/three.pdf" --threads 2
expect_eq "three files exit" 0 "$rc"
expect_eq "three files pages" $((2 * alone_demo + alone_two)) "$(pages "$tmp/three.pdf")"
qpdf --check "$tmp/three.pdf" >/dev/null || fail "three files: qpdf --check"
pdftotext -layout -f $((alone_demo + 1)) -l $((alone_demo + 1)) "$tmp/three.pdf" "$tmp/middle.txt"
expect_has "the second file's first page" "王建国" "$tmp/middle.txt"

# Chosen courses from two files; the page range counts the joined pages.
run pdf "$two" "$SAMPLES/demo.txt" -o "$tmp/chosen.pdf" --course C0002 --course 03022
expect_eq "chosen exit" 0 "$rc"
pdftotext -layout "$tmp/chosen.pdf" "$tmp/chosen.txt"
expect_has "chosen first course" "大学英语" "$tmp/chosen.txt"
expect_has "chosen second course" "思想道德与法治" "$tmp/chosen.txt"
grep -q "高等数学" "$tmp/chosen.txt" && fail "a course not chosen was printed"
expect_eq "chosen report" "已将 2 页（成绩表共 2 页）写入 $tmp/chosen.pdf" "$(cat "$tmp/err")"
run pdf "$two" "$SAMPLES/demo.txt" -o "$tmp/range.pdf" --pages 3-4
expect_eq "range over two files" 2 "$(pages "$tmp/range.pdf")"
pdftotext -layout "$tmp/range.pdf" "$tmp/range.txt"
expect_has "range: last page of the first file" "大学英语" "$tmp/range.txt"
expect_has "range: first page of the second" "高等数学(一)" "$tmp/range.txt"

# The split sheet of a chosen course has all its classes.
run pdf "$two" -o "$tmp/split.pdf" --by-class --course C0001
expect_eq "split chosen exit" 0 "$rc"
pdftotext -layout "$tmp/split.pdf" "$tmp/split.txt"
expect_eq "split chosen pages" 2 "$(pages "$tmp/split.pdf")"
expect_has "split first class" "软件2401" "$tmp/split.txt"
expect_has "split second class" "软件2402" "$tmp/split.txt"

# A key that no file has is named, and nothing is written.
run pdf "$two" "$SAMPLES/demo.txt" -o "$tmp/none.pdf" --course C0002 --course 99999 --course 数学
expect_eq "missing key exit" 1 "$rc"
expect_eq "missing keys named" "$(printf '%s\n' \
  'gradesheet-cli pdf: 没有课程号为"99999"的课程' 'gradesheet-cli pdf: 没有课程号为"数学"的课程')" "$(cat "$tmp/err")"
[ -e "$tmp/none.pdf" ] && fail "a PDF was written for a missing key"

# A folder: its grade files only; an output never replaces one of them.
run pdf "$office" -o "$tmp/office.pdf"
expect_eq "folder pdf exit" 0 "$rc"
expect_has "folder pdf skips the notes" "跳过 $office/notes.txt" "$tmp/err"
run pdf "$office" -o "$office/math/b_flagged.txt"
expect_eq "pdf over an input" 2 "$rc"
expect_eq "input kept" "$(cat "$TEST_DATA/check_flagged.txt")" "$(cat "$office/math/b_flagged.txt")"
# A file that cannot be read: no PDF that would pass for the whole set.
run pdf "$two" "$tmp/missing.txt" -o "$tmp/part.pdf"
expect_eq "pdf with a missing file" 2 "$rc"
[ -e "$tmp/part.pdf" ] && fail "a PDF was written without one of the files"

finish
