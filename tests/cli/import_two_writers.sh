#!/usr/bin/env bash
# Two imports into one grade file at the same moment, round after round,
# each changing a student of its own: every import that says it saved has
# its change in the file; one that could not wait long enough says so and
# exits 2. Once with the file replaced by each save, once with a second
# hard link, where each save rewrites the file in place.
# Needs CLI, TEST_DATA and SAMPLES (set by ctest).
set -uo pipefail
source "$(dirname "$0")/support/checks.bash"

rounds=15
exam_of() {  # file student: the examination grade of the student in course 01213
  "$CLI" students "$1" 01213 | awk -F'\t' -v n="$2" '$2 == n { gsub(/ /, "", $6); print $6 }'
}

for kind in replaced linked; do
  book="$tmp/$kind.txt"
  cp "$SAMPLES/demo.txt" "$book"
  [ "$kind" = linked ] && ln "$book" "$tmp/$kind-link.txt"
  both=0
  for round in $(seq 1 "$rounds"); do
    grade=$((40 + round))
    printf '学号,考试成绩\r\n2023040101,%d\r\n' "$grade" >"$tmp/a.csv"
    printf '学号,考试成绩\r\n2023040102,%d\r\n' "$grade" >"$tmp/b.csv"
    "$CLI" import "$book" 01213 "$tmp/a.csv" >"$tmp/a.out" 2>"$tmp/a.err" &
    a=$!
    "$CLI" import "$book" 01213 "$tmp/b.csv" >"$tmp/b.out" 2>"$tmp/b.err" &
    b=$!
    wait "$a"; rca=$?
    wait "$b"; rcb=$?
    for side in a:2023040101:$rca b:2023040102:$rcb; do
      IFS=: read -r name student rc <<<"$side"
      case "$rc" in
        0) expect_eq "$kind round $round: $name saved, its grade is in the file" "$grade" "$(exam_of "$book" "$student")" ;;
        2) expect_has "$kind round $round: $name refused" "另一个程序正在写入该文件" "$tmp/$name.err" ;;
        *) fail "$kind round $round: $name exited $rc: $(cat "$tmp/$name.err")" ;;
      esac
    done
    [ "$rca" = 0 ] && [ "$rcb" = 0 ] && both=$((both + 1))
  done
  # The second writer waits for the first rather than being refused.
  expect_eq "$kind: both imports saved in every round" "$rounds" "$both"
  if [ "$kind" = linked ]; then
    cmp -s "$book" "$tmp/$kind-link.txt" || fail "linked: both names show the same file"
  fi
  ls -a "$tmp" | grep -q '\.gs-' && fail "$kind: a temporary file or journal was left"
done

# A writer that holds the file longer than the import waits: refused, with
# the holder named, and the file untouched.
book="$tmp/replaced.txt"
cp "$book" "$tmp/before.txt"
flock -o -x "$book" sleep 7 &
holder=$!
sleep 0.5
run import "$book" 01213 "$tmp/a.csv"
expect_eq "held file: exit" 2 "$rc"
expect_has "held file: message" "$book：另一个程序正在写入该文件（进程 " "$tmp/err"
cmp -s "$book" "$tmp/before.txt" || fail "held file: untouched"
wait "$holder"

finish
