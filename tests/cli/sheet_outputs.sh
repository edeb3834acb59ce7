#!/usr/bin/env bash
# gradesheet-cli never loses or misreports: an output never replaces an
# input or a grade file, a failed PDF leaves nothing behind and says why, a
# full standard output is an error, names show every byte. Needs CLI,
# TEST_DATA and SAMPLES (set by ctest).
set -uo pipefail
source "$(dirname "$0")/support/checks.bash"
mkdir -p "$tmp/w"
cd "$tmp/w" || exit 1
cp "$TEST_DATA/sheet_two_courses.txt" g.txt
cp g.txt other.txt
magic=$(head -n1 g.txt | tr -d '\r')

# Outputs that would replace an input or a grade file: refused, exit 2,
# every file as it was.
mkdir settings
cp g.txt settings/qprtpara.dat  # whatever it holds, it is read by the run
ln -s g.txt symlink.txt
ln g.txt hardlink.txt
printf '%s\n' "$magic" >lf_only.txt
printf '%s\r\nC0001tk x\r\n' "$magic" >crlf.txt
while read -r name out why; do
  before=$(cat "$out" | md5sum)
  run pdf g.txt -o "$out" --settings settings
  expect_eq "$name exit" 2 "$rc"
  expect_has "$name message" "$why" "$tmp/err"
  expect_has "$name names the output" "$out" "$tmp/err"
  expect_eq "$name untouched" "$before" "$(cat "$out" | md5sum)"
done <<'EOF'
itself g.txt 输出文件就是输入文件，不能覆盖，未写入。
symlink symlink.txt 输出文件就是输入文件
hardlink hardlink.txt 输出文件就是输入文件
settings settings/qprtpara.dat 输出文件就是输入文件
grade_file other.txt 这是一个成绩文件，不能用输出覆盖，未写入。
grade_file_lf lf_only.txt 这是一个成绩文件
grade_file_crlf crlf.txt 这是一个成绩文件
EOF
expect_eq "no PDF written over an input" "" "$(ls -A | grep -i pdf)"

# A file that only begins like a grade file, and any other file, is replaced.
printf '%sx\r\n' "$magic" >almost.txt
printf 'old' >old.pdf
for out in almost.txt old.pdf; do
  run pdf g.txt -o "$out"
  expect_eq "$out replaced exit" 0 "$rc"
  expect_eq "$out is a PDF" 3 "$(pdfinfo "$out" | awk '/^Pages:/ {print $2}')"
done

# A device is refused before a byte is written; a file-size limit fails
# the write: exit 2 with the reason, no file and no temporary file left,
# an old file kept whole.
before=$(ls -A)
run pdf g.txt -o /dev/full
expect_eq "/dev/full exit" 2 "$rc"
expect_eq "/dev/full message" "gradesheet-cli pdf: /dev/full写入失败: 不是普通文件，未写入任何内容。" "$(cat "$tmp/err")"
(ulimit -f 16 && "$CLI" pdf g.txt -o limited.pdf >"$tmp/out" 2>"$tmp/err"; echo $? >"$tmp/rc")
expect_eq "size limit exit" 2 "$(cat "$tmp/rc")"
expect_eq "size limit message" "gradesheet-cli pdf: limited.pdf写入失败: 文件太大，未写入任何内容。" \
  "$(cat "$tmp/err")"
old=$(md5sum <old.pdf)
(ulimit -f 16 && "$CLI" pdf g.txt -o old.pdf >"$tmp/out" 2>"$tmp/err"; echo $? >"$tmp/rc")
expect_eq "size limit over an old file exit" 2 "$(cat "$tmp/rc")"
expect_eq "old file kept" "$old" "$(md5sum <old.pdf)"
expect_eq "nothing left behind" "$before" "$(ls -A)"

run pdf g.txt -o no/such/folder/x.pdf
expect_eq "missing folder exit" 2 "$rc"
expect_eq "missing folder message" \
  "gradesheet-cli pdf: no/such/folder/x.pdf写入失败: 文件或文件夹不存在，未写入任何内容。" "$(cat "$tmp/err")"

# The output name is bytes: a name that is not UTF-8 is written as it is
# and shown with its odd bytes as \xNN.
odd=$'\xff\xfe\x01.pdf'
run pdf g.txt -o "$odd"
expect_eq "odd name exit" 0 "$rc"
[ -f "$odd" ] || fail "odd name: the PDF is not under the name given"
expect_eq "odd name report" '已将 3 页（成绩表共 3 页）写入 \xFF\xFE\x01.pdf' "$(cat "$tmp/err")"
run text $'\xb2\xbb.txt'
expect_eq "odd missing input exit" 2 "$rc"
expect_eq "odd missing input message" '\xB2\xBB.txt不存在!' "$(cat "$tmp/err")"

# Reading failures give Chinese reasons.
run text settings
expect_eq "folder exit" 2 "$rc"
expect_eq "folder message" "settings读取失败: 这是文件夹，不是文件" "$(cat "$tmp/err")"
mkfifo fifo
run stats fifo
expect_eq "fifo exit" 2 "$rc"
expect_eq "fifo message" "fifo读取失败: 不是普通文件" "$(cat "$tmp/err")"
rm fifo

# Standard output that cannot be written: exit 2 and the reason.
printf '学号,考试成绩\r\n20240001,85\r\n' >scores.csv
for words in "courses g.txt" "students g.txt" "text g.txt" "stats g.txt" "--help" \
  "import g.txt C0001 scores.csv --dry-run"; do
  # shellcheck disable=SC2086
  "$CLI" $words >/dev/full 2>"$tmp/err"
  rc=$?
  expect_eq "$words into a full output exit" 2 "$rc"
  expect_has "$words into a full output message" "写入标准输出失败: 磁盘空间不足" "$tmp/err"
done

finish
