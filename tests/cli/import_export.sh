#!/usr/bin/env bash
# gradesheet-cli import / export: reports, the grade file's bytes, exit
# codes, and the exported workbook and CSV read back with real readers.
# Needs CLI, TEST_DATA and SAMPLES (set by ctest).
set -uo pipefail
source "$(dirname "$0")/support/checks.bash"

# Debian's python has openpyxl (python3-openpyxl); a python of its own on
# PATH may not.
PY=/usr/bin/python3
[ -x "$PY" ] || PY=python3

book="$tmp/grades.txt"
cp "$SAMPLES/demo.txt" "$book"
gbk() { iconv -f utf-8 -t gbk; }

# One changed row, one unchanged, one unreadable score, one stranger.
printf '%s\r\n' '学号,姓名,平时成绩,考试成绩' '2023040101,余佳,90,85' '2023040102,孟姣芳,,八十' \
  '2099999999,某人,1,2' '2023040103,周瑾影,89,71' >"$tmp/scores.csv"

run import "$book" 01213 "$tmp/scores.csv" --dry-run
expect_eq "dry run exit" 0 "$rc"
expect_has "dry run counts" "匹配 2 人，改动 1 人，不在本课程 1 行，缺少 42 人，无法识别 1 行，学号重复 0 行" "$tmp/out"
expect_has "dry run unreadable row" "$(printf '第 3 行\t2023040102\t考试成绩“八十”：无法识别的成绩')" "$tmp/out"
expect_has "dry run stranger" "$(printf '第 4 行\t2099999999\t不在本课程')" "$tmp/out"
expect_has "dry run missing student" "$(printf '2023040104\t刘敏竹')" "$tmp/out"
expect_has "dry run says so" "试运行：未写入 $book" "$tmp/out"
cmp -s "$book" "$SAMPLES/demo.txt" || fail "dry run left the grade file alone"

run import "$book" 01213 "$tmp/scores.csv"
expect_eq "import exit" 0 "$rc"
expect_has "import saved" "已改动 1 条记录，已存储 $book" "$tmp/out"
# Exactly one record changed: coursework 90, examination 85, total 86 at share 30.
iconv -f gbk -t utf-8 "$SAMPLES/demo.txt" |
  awk 'NR==16 { print "01213cj2023040101余佳    计科230190    85     86         \r"; next } 1' |
  gbk >"$tmp/expected.txt"
cmp -s "$book" "$tmp/expected.txt" || fail "grade file after import"

# The same file again changes nothing and writes nothing.
touch -d '2001-01-01' "$book"
run import "$book" 01213 "$tmp/scores.csv"
expect_eq "second import exit" 0 "$rc"
expect_has "second import" "成绩没有变动：未写入 $book" "$tmp/out"
expect_eq "second import left the file" "2001" "$(date -r "$book" +%Y)"

# GBK, tab-separated, no heading, columns by number; only the examination.
printf '2023040104\t刘敏竹\t60\r\n' | gbk >"$tmp/gbk.tsv"
run import "$book" 01213 "$tmp/gbk.tsv" --student 1 --exam 3
expect_eq "gbk exit" 0 "$rc"
expect_has "gbk encoding" "编码 GBK，制表符分隔，没有表头行" "$tmp/out"
expect_eq "gbk row" "$(printf '   4\t2023040104\t刘敏竹  \t计科2301\t90    \t60    \t 69   ')" \
  "$("$CLI" students "$book" 01213 | sed -n 4p)"

# Nothing matched: nothing written, still done.
cp "$book" "$tmp/before.txt"
printf '学号,考试成绩\n2099999999,80\n' >"$tmp/strangers.csv"
run import "$book" 01213 "$tmp/strangers.csv"
expect_eq "nothing matched exit" 0 "$rc"
expect_has "nothing matched" "没有匹配的学生：未写入 $book" "$tmp/out"
cmp -s "$book" "$tmp/before.txt" || fail "nothing matched left the file"

# Exit codes: 1 bad usage, 2 the grade file, 4 the CSV. The grade file is
# never touched by any of them.
run import "$book" 01213
expect_eq "too few words" 1 "$rc"
run import "$book" 01213 "$tmp/scores.csv" --bogus
expect_eq "unknown option" 1 "$rc"
run import "$book" 01213 "$tmp/scores.csv" --exam
expect_eq "option without value" 1 "$rc"
run import "$book" 99999 "$tmp/scores.csv"
expect_eq "unknown course" 1 "$rc"
expect_has "unknown course message" '没有课程号为“99999”的课程' "$tmp/err"
run import "$tmp/nope.txt" 01213 "$tmp/scores.csv"
expect_eq "missing grade file" 2 "$rc"
expect_eq "missing grade file message" "$tmp/nope.txt不存在!" "$(cat "$tmp/err")"
run import "$TEST_DATA/magic_trailing_blank.txt" 01213 "$tmp/scores.csv"
expect_eq "not a grade file" 2 "$rc"
run import "$book" 01213 "$tmp/none.csv"
expect_eq "missing csv" 4 "$rc"
expect_eq "missing csv message" "$tmp/none.csv：无法读取：文件或文件夹不存在" "$(cat "$tmp/err")"
head -c 2000 /bin/sh >"$tmp/binary.csv"
run import "$book" 01213 "$tmp/binary.csv"
expect_eq "binary csv" 4 "$rc"
expect_eq "binary csv message" "$tmp/binary.csv：不是文本文件，请选择CSV文件" "$(cat "$tmp/err")"
: >"$tmp/empty.csv"
run import "$book" 01213 "$tmp/empty.csv"
expect_eq "empty csv" 4 "$rc"
printf '姓名,考试成绩\n余佳,85\n' >"$tmp/nonumber.csv"
run import "$book" 01213 "$tmp/nonumber.csv"
expect_eq "no student column" 4 "$rc"
expect_has "no student column message" "找不到学号列" "$tmp/err"
printf '学号,考试成绩\n2023040101,"85\n' >"$tmp/quote.csv"
run import "$book" 01213 "$tmp/quote.csv"
expect_eq "unclosed quote" 4 "$rc"
expect_has "unclosed quote message" "第2行的引号没有闭合" "$tmp/err"
run import "$book" 01213 "$tmp/scores.csv" --exam 卷面分
expect_eq "named column missing" 4 "$rc"
expect_has "named column message" "没有“卷面分”这一列" "$tmp/err"
cmp -s "$book" "$tmp/before.txt" || fail "failed imports left the file"

# ---- export ----------------------------------------------------------------

run export "$book" -o "$tmp/all.xlsx"
expect_eq "xlsx exit" 0 "$rc"
expect_has "xlsx summary" "已导出 5 门课程、128 名学生的成绩到 $tmp/all.xlsx" "$tmp/err"
# Read back as a zip of XML, as any reader does.
"$PY" - "$tmp/all.xlsx" >"$tmp/xlsx.txt" <<'EOF' || fail "xlsx read back with zipfile"
import sys, zipfile, xml.etree.ElementTree as ET
ns = {"m": "http://schemas.openxmlformats.org/spreadsheetml/2006/main"}
z = zipfile.ZipFile(sys.argv[1])
assert z.testzip() is None
names = [s.get("name") for s in ET.fromstring(z.read("xl/workbook.xml")).find("m:sheets", ns)]
print("sheets", "|".join(names))
shared = [si.find("m:t", ns).text for si in ET.fromstring(z.read("xl/sharedStrings.xml")).findall("m:si", ns)]
sheet = ET.fromstring(z.read("xl/worksheets/sheet1.xml"))
print("pane", sheet.find(".//m:pane", ns).get("topLeftCell"))
for row in sheet.find("m:sheetData", ns).findall("m:row", ns):
    if not 7 <= int(row.get("r")) <= 9:
        continue
    cells = []
    for c in row.findall("m:c", ns):
        v = c.find("m:v", ns).text
        cells.append(("s:" + shared[int(v)]) if c.get("t") == "s" else ("n:" + v))
    print(" ".join(cells))
EOF
expect_eq "xlsx content" "$(printf '%s\n' \
  'sheets 高等数学(一)|大学英语(三)|思想道德与法治|程序设计实践|体育(三)' \
  'pane A8' \
  's:序号 s:学号 s:姓名 s:班级 s:平时成绩 s:考试成绩 s:总成绩' \
  'n:1 s:2023040101 s:余佳 s:计科2301 n:90 n:85 n:86' \
  'n:2 s:2023040102 s:孟姣芳 s:计科2301 n:100 n:65 n:76')" "$(cat "$tmp/xlsx.txt")"

if "$PY" -c 'import openpyxl' 2>/dev/null; then
  "$PY" - "$tmp/all.xlsx" >"$tmp/openpyxl.txt" <<'EOF' || fail "xlsx read back with openpyxl"
import sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
ws = wb["高等数学(一)"]
print(ws["A1"].value, ws["A5"].value, ws.freeze_panes, ws.max_row)
print([type(c.value).__name__ for c in ws[8]])
print(min(ws.column_dimensions[c].width for c in "ABCDEFG") >= 6, ws.column_dimensions["B"].width >= 10)
EOF
  expect_eq "openpyxl" "$(printf '%s\n' '课程：高等数学(一) 平时成绩占百分比：30 A8 52' \
    "['int', 'str', 'str', 'str', 'int', 'int', 'int']" 'True True')" "$(cat "$tmp/openpyxl.txt")"
else
  echo "note: openpyxl is not installed; the workbook was read with zipfile only"
fi

run export "$book" -o "$tmp/all.csv"
expect_eq "csv exit" 0 "$rc"
expect_eq "csv bom and heading" "$(printf '\xef\xbb\xbf课程号,课程,序号,学号,姓名,班级,平时成绩,考试成绩,总成绩\r')" \
  "$(head -n1 "$tmp/all.csv")"
expect_eq "csv rows" 129 "$(wc -l <"$tmp/all.csv")"
expect_eq "csv first row" "$(printf '01213,高等数学(一),1,2023040101,余佳,计科2301,90,85,86\r')" "$(sed -n 2p "$tmp/all.csv")"
run export "$book" -o "$tmp/one.CSV" --course 02107
expect_eq "one course exit" 0 "$rc"
expect_eq "one course rows" 33 "$(wc -l <"$tmp/one.CSV")"
expect_eq "one course heading" "$(printf '\xef\xbb\xbf序号,学号,姓名,班级,平时成绩,考试成绩,总成绩\r')" "$(head -n1 "$tmp/one.CSV")"

# What is exported imports again into the same course without a change.
run import "$book" 02107 "$tmp/one.CSV" --dry-run
expect_has "round trip" "匹配 32 人，改动 0 人，不在本课程 0 行，缺少 0 人，无法识别 0 行，学号重复 0 行" "$tmp/out"

# An output is never a grade file.
cp "$book" "$tmp/grades.csv"
run export "$book" -o "$tmp/grades.csv"
expect_eq "over a grade file exit" 2 "$rc"
expect_has "over a grade file message" "$tmp/grades.csv: 这是一个成绩文件，不能用输出覆盖，未写入。" "$tmp/err"
cmp -s "$tmp/grades.csv" "$book" || fail "the grade file under the output stayed"
ln -s "$book" "$tmp/link.xlsx"
run export "$book" -o "$tmp/link.xlsx"
expect_eq "the grade file itself exit" 2 "$rc"
expect_has "the grade file itself message" "$tmp/link.xlsx: 输出文件就是输入文件 $book，不能覆盖" "$tmp/err"
cmp -s "$book" "$tmp/before.txt" || fail "export left the grade file"

# Nothing exported is a formula: names and a course name that a spreadsheet
# would run (=, @, +, -) stay text, in the CSV with an apostrophe before them.
iconv -f gbk -t utf-8 "$SAMPLES/demo.txt" |
  sed -e 's/^01213tk.*/01213tk=2+3\r/' -e 's/^\(01213cj2023040101\)余佳    /\1=1+1    /' \
    -e 's/^\(01213cj2023040102\)孟姣芳  /\1@SUM(A1)/' -e 's/^\(01213cj2023040103\)周瑾影  /\1-3+4    /' |
  gbk >"$tmp/formulas.txt"
run export "$tmp/formulas.txt" -o "$tmp/formulas.csv" --course 01213
expect_eq "formula csv exit" 0 "$rc"
expect_eq "formula csv rows" "$(printf '%s\r\n' "1,2023040101,'=1+1,计科2301,87,71,76" \
  "2,2023040102,'@SUM(A1),计科2301,100,65,76" "3,2023040103,'-3+4,计科2301,89,71,76")" \
  "$(sed -n 2,4p "$tmp/formulas.csv")"
run export "$tmp/formulas.txt" -o "$tmp/formulas.xlsx"
expect_eq "formula xlsx exit" 0 "$rc"
"$PY" - "$tmp/formulas.xlsx" >"$tmp/formulas-xlsx.txt" <<'EOF' || fail "formula xlsx read back"
import re, sys, zipfile
z = zipfile.ZipFile(sys.argv[1])
sheets = [n for n in z.namelist() if n.startswith("xl/worksheets/sheet")]
print("formulas", sum(len(re.findall(rb"<f[ >/]", z.read(n))) for n in sheets))
strings = z.read("xl/sharedStrings.xml").decode()
print(all(t in strings for t in ("=1+1", "@SUM(A1)", "-3+4", "课程：=2+3")))
EOF
expect_eq "no formula in the workbook" "$(printf 'formulas 0\nTrue')" "$(cat "$tmp/formulas-xlsx.txt")"

run export "$book"
expect_eq "export without -o" 1 "$rc"
run export "$book" -o "$tmp/out.pdf"
expect_eq "export to another format" 1 "$rc"
run export "$book" -o "$tmp/x.csv" --course 99999
expect_eq "export unknown course" 1 "$rc"
run export "$tmp/nope.txt" -o "$tmp/x.csv"
expect_eq "export missing file" 2 "$rc"
run export "$TEST_DATA/magic_only.txt" -o "$tmp/x.csv"
expect_eq "export file without courses" 2 "$rc"
expect_has "no course message" "没有可导出的课程" "$tmp/err"
run export "$book" -o "$tmp/no/such/dir.xlsx"
expect_eq "export into a missing folder" 2 "$rc"
expect_has "missing folder message" "导出失败，文件或文件夹不存在" "$tmp/err"
[ ! -e "$tmp/x.csv" ] || fail "failed exports wrote nothing"

run --help
expect_has "help lists import" "import FILE KEY SCORES.csv" "$tmp/out"
expect_has "help lists export" "export FILE -o OUT.xlsx|OUT.csv" "$tmp/out"

finish
