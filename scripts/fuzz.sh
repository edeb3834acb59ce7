#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer (the core library instrumented too), then runs
# each for a short while on a seed corpus of the sample and test files.
# Exits non-zero when a target finds a crash. Works from any clone.
#   FUZZ_SECONDS  seconds per target (default 20)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
seconds=${FUZZ_SECONDS:-20}

sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S "$root" -B "$build" -G Ninja \
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
      "$work/corpus" "$seeds" >"$work/log" 2>&1); then
    echo "FAIL: $name found a crash; log and reproducer in $work" >&2
    tail -n 40 "$work/log" >&2
    status=1
  else
    grep -E 'stat::number_of_executed_units' "$work/log" || true
  fi
done
exit $status
