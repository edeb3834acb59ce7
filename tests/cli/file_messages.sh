#!/usr/bin/env bash
# What the batch tool says about the file it reads: the load's own message
# on stderr with every byte of the path visible, and the notice about bytes
# after a Ctrl-Z. Needs CLI, TEST_DATA and SAMPLES (set by ctest).
set -uo pipefail
source "$(dirname "$0")/support/checks.bash"

# Bytes after the old end-of-file mark: read up to it, and said so.
{ cat "$TEST_DATA/small_crlf.txt"; printf '\032after the mark\r\n'; } >"$tmp/z.txt"
run courses "$tmp/z.txt"
expect_eq "trailer exit" 0 "$rc"
expect_eq "trailer notice" "文件在结束标记(Ctrl-Z)之后还有 16 字节未读入，这些字节将原样保留在文件末尾。" "$(cat "$tmp/err")"
expect_eq "trailer courses" "$(cd "$tmp" && "$CLI" courses "$TEST_DATA/small_crlf.txt")" "$(cat "$tmp/out")"

# A lone mark at the end is normal and says nothing.
{ cat "$TEST_DATA/small_crlf.txt"; printf '\032'; } >"$tmp/mark.txt"
run courses "$tmp/mark.txt"
expect_eq "lone mark exit" 0 "$rc"
expect_eq "lone mark quiet" "" "$(cat "$tmp/err")"

# A path that cannot be read says why, not that it does not exist.
ln -s loop "$tmp/loop"
run courses "$tmp/loop"
expect_eq "loop exit" 2 "$rc"
expect_eq "loop message" "$tmp/loop读取失败: 符号链接绕成了循环" "$(cat "$tmp/err")"

# A name in GBK (张三.txt) keeps its bytes visible.
run courses "$tmp/$(printf '\xd5\xc5\xc8\xfd').txt"
expect_eq "gbk name exit" 2 "$rc"
expect_eq "gbk name message" "$tmp/\\xD5\\xC5\\xC8\\xFD.txt不存在!" "$(cat "$tmp/err")"

finish
