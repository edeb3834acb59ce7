#!/usr/bin/env bash
# What every writing command does at the file's edge: a save that fails
# exits 2 with the reason and leaves the file as it was; the new bytes are
# on the disk before the name is moved onto them; a rewrite in place that
# a kill interrupted is put back by the next command that opens the file.
# Needs CLI, TEST_DATA and SAMPLES (set by ctest).
set -uo pipefail
source "$(dirname "$0")/support/checks.bash"

book="$tmp/grades.txt"
cp "$SAMPLES/demo.txt" "$book"
printf '学号,考试成绩\r\n2023040101,55\r\n' >"$tmp/scores.csv"

# ---- a failed save, for each writing command -----------------------------------
# The output (or the grade file itself) is read-only: refused for root too.
while IFS='|' read -r name target words; do
  if [ "$name" = import ]; then cp "$book" "$tmp/$target"; else printf 'an old output\n' >"$tmp/$target"; fi
  chmod 444 "$tmp/$target"
  cp "$tmp/$target" "$tmp/before"
  # shellcheck disable=SC2086
  run ${words//@/$tmp\/$target}
  expect_eq "$name: exit of a failed save" 2 "$rc"
  expect_has "$name: the reason" "文件是只读的" "$tmp/err"
  [ "$name" = import ] && expect_has "import: the save's message" "存储失败，原文件未改动" "$tmp/err"
  cmp -s "$tmp/$target" "$tmp/before" || fail "$name: the file was left as it was"
  chmod 644 "$tmp/$target"
done <<EOF2
import|ro.txt|import @ 01213 $tmp/scores.csv
export csv|ro.csv|export $book -o @
export xlsx|ro.xlsx|export $book -o @
pdf|ro.pdf|pdf $book -o @
EOF2

# ---- a workbook the disk cannot hold ----------------------------------------------
# The reason in Chinese, and none of the library's own English lines.
mkdir "$tmp/small"
if mount -t tmpfs -o size=8k gs-small "$tmp/small" 2>/dev/null; then
  run export "$book" -o "$tmp/small/out.xlsx"
  umount "$tmp/small"
  expect_eq "full disk: exit" 2 "$rc"
  expect_eq "full disk: only the program's message" "$tmp/small/out.xlsx：导出失败，工作簿文件写入失败：磁盘空间不足" \
    "$(cat "$tmp/err")"
else
  echo "note: this system does not let the test mount a small disk; the full disk is not checked"
fi

# ---- saved, but standard output failed: both are said ---------------------------
if [ -w /dev/full ]; then
  cp "$book" "$tmp/full.txt"
  printf '学号,考试成绩\r\n2023040102,66\r\n' >"$tmp/full.csv"
  "$CLI" import "$tmp/full.txt" 01213 "$tmp/full.csv" >/dev/full 2>"$tmp/err"
  expect_eq "stdout full: exit" 2 "$?"
  expect_has "stdout full: the output failed" "写入标准输出失败" "$tmp/err"
  expect_has "stdout full: the file was saved" "$tmp/full.txt：成绩文件已保存，1 条记录已改动" "$tmp/err"
  cmp -s "$tmp/full.txt" "$book" && fail "stdout full: the import was saved"
fi

# ---- the data on the disk before the rename --------------------------------------
if strace -f -o /dev/null true 2>/dev/null; then
  for target in "$book" "$tmp/out.csv"; do
    case "$target" in
      *.txt) words=(import "$book" 01213 "$tmp/scores.csv") ;;
      *) words=(export "$book" -o "$target") ;;
    esac
    strace -f -y -o "$tmp/trace" -e trace=fsync,fdatasync,rename,renameat,renameat2 "$CLI" "${words[@]}" \
      >/dev/null 2>&1 || fail "$target: the traced command failed"
    # The last sync of a file in the target's folder comes before the rename onto it.
    verdict=$(awk -v dir="$tmp/" '
      /fsync\(|fdatasync\(/ && index($0, "<" dir) { synced = 1 }
      /rename/ && index($0, dir) { print (synced ? "synced" : "not synced"); exit }' "$tmp/trace")
    expect_eq "$target: synced before the rename" "synced" "$verdict"
  done
else
  echo "note: strace cannot trace here; the sync before the rename is not checked"
fi

finish
