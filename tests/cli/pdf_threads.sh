#!/usr/bin/env bash
# gradesheet-cli pdf --threads: the same pages in any number of threads, a
# sound file (qpdf --check), and a count that is no number refused.
set -uo pipefail
source "$(dirname "$0")/support/checks.bash"
demo="$SAMPLES/demo.txt"

run pdf "$demo" -o "$tmp/one.pdf" --threads 1
expect_eq "one thread exit" 0 "$rc"
pages=$(pdfinfo "$tmp/one.pdf" | awk '/^Pages:/ {print $2}')
for threads in 2 5; do
  run pdf "$demo" -o "$tmp/many.pdf" --threads "$threads"
  expect_eq "$threads threads exit" 0 "$rc"
  expect_eq "$threads threads report" "已将 $pages 页（成绩表共 $pages 页）写入 $tmp/many.pdf" "$(cat "$tmp/err")"
  qpdf --check "$tmp/many.pdf" >/dev/null || fail "$threads threads: qpdf --check"
  for ((page = 1; page <= pages; page++)); do
    expect_eq "$threads threads, page $page" "$(pdftotext -layout -f $page -l $page "$tmp/one.pdf" -)" \
      "$(pdftotext -layout -f $page -l $page "$tmp/many.pdf" -)"
  done
done

for bad in 0 -1 x ""; do
  run pdf "$demo" -o "$tmp/x.pdf" --threads "$bad"
  expect_eq "threads '$bad' refused" 1 "$rc"
  expect_has "threads '$bad' said" "--threads 后面要给出线程数（从1起）" "$tmp/err"
done
[ -e "$tmp/x.pdf" ] && fail "a refused run wrote a file"
finish
