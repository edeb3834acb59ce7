#!/usr/bin/env bash
# versions and restore: the bytes each save replaced, listed newest first and
# put back with the present bytes kept first; bad numbers say so and touch
# nothing. Needs CLI (set by ctest).
set -uo pipefail
source "$(dirname "$0")/support/checks.bash"
export XDG_STATE_HOME="$tmp/state"

file="$tmp/g.txt"
cp "$SAMPLES/demo.txt" "$file"

run versions "$file"
expect_eq "no versions: exit" 0 "$rc"
expect_eq "no versions: nothing" "" "$(cat "$tmp/out")"

# Two saves through the tool: import a grade twice, each keeps what it replaced.
original=$(md5sum <"$file")
key=$("$CLI" students "$file" | head -n 1 | cut -f 2 | tr -d ' ')
course=$(head -c 2000 "$file" | LC_ALL=C sed -n 's/^\(.....\)tk.*/\1/p' | head -n 1)
printf '学号,考试成绩\n%s,61\n' "$key" >"$tmp/a.csv"
printf '学号,考试成绩\n%s,62\n' "$key" >"$tmp/b.csv"
run import "$file" "$course" "$tmp/a.csv"
expect_eq "first import" 0 "$rc"
after_first=$(md5sum <"$file")
run import "$file" "$course" "$tmp/b.csv"
expect_eq "second import" 0 "$rc"

run versions "$file"
expect_eq "two versions: exit" 0 "$rc"
expect_eq "two lines" 2 "$(wc -l <"$tmp/out")"
expect_eq "numbered newest first" "1 2" "$(cut -f 1 "$tmp/out" | tr '\n' ' ' | sed 's/ $//')"
line=$(head -n 1 "$tmp/out")
[[ "$line" =~ ^1$'\t'[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}[+-][0-9]{2}:[0-9]{2}$'\t'[0-9]+$ ]] ||
  fail "line form: $line"
expect_eq "size of version 2" "$(wc -c <"$SAMPLES/demo.txt")" "$(sed -n 2p "$tmp/out" | cut -f 3)"

before_restore=$(md5sum <"$file")
run restore "$file" 2
expect_eq "restore exit" 0 "$rc"
expect_has "restore says so" "已把第 2 个以前的版本恢复到" "$tmp/out"
expect_eq "restored bytes" "$original" "$(md5sum <"$file")"
run versions "$file"
expect_eq "the replaced bytes are the newest version" 3 "$(wc -l <"$tmp/out")"
run restore "$file" 1
expect_eq "restore of what restore replaced" "$before_restore" "$(md5sum <"$file")"
[ "$after_first" != "$before_restore" ] || fail "the two imports wrote the same bytes"

for bad in 0 x 1x -1; do
  run restore "$file" -- "$bad"
  [ "$rc" -ne 0 ] || fail "restore $bad: exit 0"
done
run restore "$file" 9
expect_eq "restore past the last: exit" 2 "$rc"
expect_has "restore past the last says so" "没有第 9 个以前的版本" "$tmp/err"
expect_eq "a refused restore touches nothing" "$before_restore" "$(md5sum <"$file")"
run versions "$tmp/missing.txt"
expect_eq "a file never kept: exit" 0 "$rc"
expect_eq "a file never kept: nothing" "" "$(cat "$tmp/out")"

finish
