#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer (the core library instrumented too), then runs
# each for a short while on a seed corpus of the sample and test files.
# Exits non-zero when a target finds a crash. Works from any clone.
#   FUZZ_SECONDS  seconds per target (default 15; seven targets stay within
#                 two minutes of fuzzing)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
seconds=${FUZZ_SECONDS:-15}

sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
cmake -S "$root" -B "$build" -G Ninja "${launcher[@]}" \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS="$sanitizers -fsanitize=fuzzer-no-link" \
  -DCMAKE_EXE_LINKER_FLAGS="$sanitizers" \
  -DGS_FUZZ=ON -DGS_TESTS=OFF -DGS_BENCH=OFF -DGS_GUI=OFF >/dev/null
cmake --build "$build" -j2

# Seeds: the demo file, the test data, and a few grade texts.
seeds="$build/seeds"
rm -rf "$seeds"
mkdir -p "$seeds"
for f in "$root"/samples/*.txt "$root"/tests/data/*.txt; do
  [ -f "$f" ] && cp "$f" "$seeds/"
done
printf '85' >"$seeds/grade_number"
printf ' 84.5 ' >"$seeds/grade_half"
printf '\xb2\xbb \xbc\xb0 \xb8\xf1' >"$seeds/grade_fail_words"   # 不 及 格 in GBK
printf '\xa3\xb8\xa3\xb5' >"$seeds/grade_wide_digits"           # ８５ in GBK
printf '\xd1\xa7\xba\xc5,\xbf\xbc\xca\xd4\r\n2023040101,"85"\r\n' >"$seeds/scores_csv"  # 学号,考试 in GBK

# The settings record: two bytes of printer resolution (600), then the
# default record and a damaged one.
settings="$build/seeds-settings"
rm -rf "$settings"
mkdir -p "$settings"
record() {  # body size, title name length, left margin: little-endian bytes
  printf '\x58\x02\x01\x01\x00\x00%b\x10\x00\x00\x00\x04\xcb\xce\xcc\xe5' "$1"
  head -c 96 /dev/zero
  printf '%b' "$2"
  head -c 100 /dev/zero | tr '\000' 'A'
  printf '\x00\x05%b\x00\x00\x00\x00\xc5\x01\x00\x00\x00\x00\x00\x00' "$3"
}
record '\x0a\x00\x00\x00' '\x04' '\xc5\x00\x00\x00' >"$settings/default"
record '\x00\x00\x00\x80' '\xff' '\xff\xff\xff\x7f' >"$settings/damaged"

# Rollback journals: a whole one and a torn one, over a demo file's bytes.
journals="$build/seeds-journal"
rm -rf "$journals"
mkdir -p "$journals"
journal() {  # device, inode, size, then the bytes, as the writer writes them (checks wrong: torn)
  printf 'GSRBJ001%b%b%b' "$1" "$2" "$3"
  head -c 8 /dev/zero
  printf '%s' "$4"
  head -c 8 /dev/zero
  printf 'GSRBJEND'
}
journal '\x01\0\0\0\0\0\0\0' '\x02\0\0\0\0\0\0\0' '\x05\0\0\0\0\0\0\0' 'abcde' >"$journals/checks_wrong"
journal '\x01\0\0\0\0\0\0\0' '\x02\0\0\0\0\0\0\0' '\x09\0\0\0\0\0\0\0' 'abcde' >"$journals/size_wrong"

# Command lines: words separated by NUL bytes.
args="$build/seeds-args"
rm -rf "$args"
mkdir -p "$args"
printf 'pdf\x00g.txt\x00-o\x00out.pdf\x00--pages\x00002-5\x00--by-class\x00--settings\x00dir' >"$args/pdf"
printf 'text\x00g.txt\x00--page\x000070000' >"$args/text"
printf 'students\x00g.txt\x00C0001' >"$args/students"
printf 'stats\x00--\x00-g.txt\x00--by-class' >"$args/stats"
printf 'courses\x00\xff\xfe\x1b[2J.txt' >"$args/courses"
printf 'import\x00g.txt\x00C0001\x00s.csv\x00--exam\x003\x00--student\x00学号\x00--dry-run' >"$args/import"
printf 'export\x00g.txt\x00-o\x00out.xlsx\x00--course\x00C0001' >"$args/export"
printf -- '--help' >"$args/help"

# Journals: whole, torn, reordered and of a foreign base, in the journal's
# format (gradefile/RecoveryJournal.h) over the records of fuzz_recovery_journal's book.
recovery="$build/seeds-recovery"
rm -rf "$recovery"
mkdir -p "$recovery"
python3 - "$recovery" <<'PY'
import struct, sys
def fnv(b, h=14695981039346656037):
    for c in b:
        h = ((h ^ c) * 1099511628211) & 0xFFFFFFFFFFFFFFFF
    return h
def frame(payload, prev):
    check = fnv(struct.pack('<Q', prev) + payload)
    return struct.pack('<I', len(payload)) + payload + struct.pack('<Q', check), check
def text(b):
    return struct.pack('<I', len(b)) + b
def step(back, records, heads):
    p = struct.pack('<QB', 1765250133000000000, back) + struct.pack('<I', len(records))
    for i, before, after in records:
        p += struct.pack('<Q', i) + text(before) + text(after)
    p += struct.pack('<I', len(heads))
    for i, flags, before, after in heads:
        p += struct.pack('<QB', i, flags) + text(before) + text(after)
    return p
def journal(base, steps):
    head, check = frame(text(b'/home/t/g.txt') + struct.pack('<QQQQQ', 2049, 1234, 500, 1, base), 0)
    out = [b'GSJOURNAL1\n' + head]
    for s in steps:
        f, check = frame(s, check)
        out.append(f)
    return out
r0 = b'C0001cj2023040101                80    70    73    EXTRA1'
r1 = r0[:34] + b'85    90    88    EXTRA1'
a = step(0, [(0, r0, r1)], [])
b = step(0, [], [(3, 1, b'', b'C0002t9  40')])
c = step(1, [(0, r0, r1)], [])
parts = journal(42, [a, b, c])
out = sys.argv[1]
open(out + '/whole', 'wb').write(b''.join(parts))
open(out + '/torn', 'wb').write(b''.join(parts)[:-5])
open(out + '/reordered', 'wb').write(parts[0] + parts[2] + parts[1])
open(out + '/foreign', 'wb').write(journal(43, [])[0] + parts[1])
PY

seeds_of() {
  case "$1" in
    fuzz_settings) echo "$settings" ;;
    fuzz_journal) echo "$journals" ;;
    fuzz_cli_args) echo "$args" ;;
    fuzz_recovery_journal) echo "$recovery" ;;
    *) echo "$seeds" ;;
  esac
}

status=0
for target in "$build"/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  work="$build/run-$name"
  rm -rf "$work"
  mkdir -p "$work/corpus"
  echo "fuzzing $name for ${seconds}s"
  if ! (cd "$work" && UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
      "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      "$work/corpus" "$(seeds_of "$name")" >"$work/log" 2>&1); then
    echo "FAIL: $name found a crash; log and reproducer in $work" >&2
    tail -n 40 "$work/log" >&2
    status=1
  else
    grep -E 'stat::number_of_executed_units' "$work/log" || true
  fi
done
exit $status
