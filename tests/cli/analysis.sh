#!/usr/bin/env bash
# gradesheet-cli analysis: the figures per course and per class, the pages as
# PDF (pdfinfo, pdftotext) and as pictures, one compared with the PDF's page
# rendered by pdftoppm; usage and file errors. Needs CLI, TEST_DATA and SAMPLES.
set -uo pipefail
source "$(dirname "$0")/support/checks.bash"
demo="$SAMPLES/demo.txt"
heading=$'key\tclass\tstudents\tscored\tlevels\tuncounted\tmean\tmedian\tsd\tmax\tmin\tpass_rate\texcellent_rate\tband_90\tband_80\tband_70\tband_60\tband_0\tlevel_1\tlevel_2\tlevel_3\tlevel_4\tlevel_5'

# One line per course: numbers, a course of levels only, one of blanks only.
run analysis "$demo"
expect_eq "analysis exit" 0 "$rc"
expect_eq "analysis lines" "$heading
01213		45	43	0	2	74.42	75.00	14.92	97	0	93.02	6.98	3	13	19	5	3	0	0	0	0	0
02107		32	31	0	1	77.84	78.00	7.70	94	62	100.00	9.68	3	9	13	6	0	0	0	0	0	0
03022		23	0	22	1								0	0	0	0	0	3	7	7	3	2
04310		12	0	12	0								0	0	0	0	0	0	0	0	10	2
05001		16	0	0	16								0	0	0	0	0	0	0	0	0	0" "$(cat "$tmp/out")"
expect_eq "analysis stderr" "" "$(cat "$tmp/err")"

# Per class in the split sheet's order; one course of it.
run analysis "$demo" --by-class
expect_eq "by-class exit" 0 "$rc"
expect_eq "by-class groups" "01213 计科2301,01213 计科2302,02107 软件2301,02107 软件2302,03022 计科2301,04310 软件2302,05001 软件2301" \
  "$(tail -n +2 "$tmp/out" | cut -f1,2 | tr '\t' ' ' | paste -sd,)"
expect_eq "by-class figures" $'01213\t计科2302\t22\t21\t0\t1\t73.38\t75.00\t18.59\t94\t0\t95.24\t4.76\t1\t8\t9\t2\t1\t0\t0\t0\t0\t0' \
  "$(sed -n 3p "$tmp/out")"
run analysis "$demo" --by-class --course 02107
expect_eq "one course's classes" "02107 软件2301,02107 软件2302" "$(tail -n +2 "$tmp/out" | cut -f1,2 | tr '\t' ' ' | paste -sd,)"

# Levels beside a number: the number's figures, the levels counted apart.
run analysis "$TEST_DATA/sheet_levels.txt"
expect_eq "levels and a number" $'P0001\t\t3\t1\t2\t0\t88.00\t88.00\t\t88\t88\t100.00\t0.00\t0\t1\t0\t0\t0\t1\t0\t0\t1\t0' \
  "$(tail -n +2 "$tmp/out")"

# The pages: one a course, A4, the texts of the page.
run analysis "$demo" -o "$tmp/a.pdf"
expect_eq "pdf exit" 0 "$rc"
expect_eq "pdf stdout" "" "$(cat "$tmp/out")"
expect_eq "pdf report" "已将 5 门课程的成绩分析写入 $tmp/a.pdf" "$(cat "$tmp/err")"
expect_eq "pdf pages" 5 "$(pdfinfo "$tmp/a.pdf" | awk '/^Pages:/ {print $2}')"
expect_has "A4" "595 x 842 pts (A4)" <(pdfinfo "$tmp/a.pdf")
pdftotext -layout -f 1 -l 1 "$tmp/a.pdf" "$tmp/p1.txt"
for text in 课程成绩分析 高等数学 陈建华 "计科2301,计科2302" 2024-2025 01213 平均分 74.42 中位数 标准差 14.92 \
  最高分 97 及格率 93.02% 优秀率 6.98% 人数 缺考等未计 90-100 30.23% 60以下 75.41 18.59 合计 本课程无等级制成绩; do
  expect_has "page 1" "$text" "$tmp/p1.txt"
done
pdftotext -layout -f 3 -l 3 "$tmp/a.pdf" "$tmp/p3.txt"
for text in 等级制成绩人数 "优/A" "不及格/F"; do expect_has "page 3 levels" "$text" "$tmp/p3.txt"; done
run analysis "$demo" --course 02107 -o "$tmp/one.pdf"
expect_eq "one course's page" 1 "$(pdfinfo "$tmp/one.pdf" | awk '/^Pages:/ {print $2}')"

# The picture is the PDF's first page, as poppler draws it; another page is not.
run analysis "$demo" -o "$tmp/a.png"
expect_eq "png exit" 0 "$rc"
expect_has "png kind" "PNG image data, 1240 x 1754, 8-bit grayscale" <(file "$tmp/a.png")
pdftoppm -r 150 -gray -f 1 -l 1 -singlefile "$tmp/a.pdf" "$tmp/page1"
pdftoppm -r 150 -gray -f 2 -l 2 -singlefile "$tmp/a.pdf" "$tmp/page2"
python3 "$(dirname "$0")/support/compare_pictures.py" "$tmp/a.png" "$tmp/page1.pgm" >"$tmp/cmp" ||
  fail "picture and PDF page differ: $(cat "$tmp/cmp")"
python3 "$(dirname "$0")/support/compare_pictures.py" "$tmp/a.png" "$tmp/page2.pgm" >"$tmp/cmp" &&
  fail "the comparison tells pages apart: $(cat "$tmp/cmp")"
run analysis "$demo" -o "$tmp/a.SVG"
expect_eq "svg exit" 0 "$rc"
expect_has "svg" "<svg" "$tmp/a.SVG"
expect_has "svg text" "课程成绩分析" "$tmp/a.SVG"

# Bad words and files: a clear message, nothing written.
run analysis "$demo" -o "$tmp/a.txt"
expect_eq "bad ending exit" 1 "$rc"
expect_has "bad ending message" "须以 .pdf、.png 或 .svg 结尾" "$tmp/err"
[ -e "$tmp/a.txt" ] && fail "bad ending wrote a file"
run analysis "$demo" --course 99999
expect_eq "no such course exit" 1 "$rc"
expect_has "no such course message" 99999 "$tmp/err"
cp "$demo" "$tmp/demo.pdf"
run analysis "$tmp/demo.pdf" -o "$tmp/demo.pdf"
expect_eq "output over input exit" 2 "$rc"
cmp -s "$demo" "$tmp/demo.pdf" || fail "the input was written over"
run analysis "$tmp/missing.txt"
expect_eq "missing file exit" 2 "$rc"
run analysis "$TEST_DATA/magic_only.txt" -o "$tmp/none.pdf"
expect_eq "no course exit" 2 "$rc"
expect_has "no course message" "没有可分析的课程" "$tmp/err"
[ -e "$tmp/none.pdf" ] && fail "a file without courses wrote a PDF"

finish
