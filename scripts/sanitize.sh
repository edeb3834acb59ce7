#!/usr/bin/env bash
# The core and GUI test suites once more, built with AddressSanitizer and
# UndefinedBehaviorSanitizer in their own folder (build-asan): a read or write
# out of bounds, a use after free, a leak of ours or undefined behaviour fails
# the run even where the plain build happens to pass.
#
#   scripts/sanitize.sh            configure, build the tests, run them
#   BUILD_DIR=... scripts/sanitize.sh   another build folder
#
# Runs after the plain build in ./test, so the CUPS queue of the printing
# tests is already up (scripts/cups-setup.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${BUILD_DIR:-build-asan}

launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}
fi

# Unoptimised: it compiles in a third of the time of -O1, and the suites
# still run in about a minute.
cmake -S . -B "$build" -G Ninja "${launcher[@]}" \
  -DCMAKE_BUILD_TYPE=Sanitize \
  -DCMAKE_CXX_FLAGS_SANITIZE="-O0 -g -fno-omit-frame-pointer -fsanitize=address,undefined -fno-sanitize-recover=undefined" \
  -DCMAKE_EXE_LINKER_FLAGS_SANITIZE="-fsanitize=address,undefined" \
  -DCMAKE_MODULE_LINKER_FLAGS_SANITIZE="-fsanitize=address,undefined" \
  -DGS_TESTS=ON -DGS_GUI=ON -DGS_BENCH=OFF -DGS_QTEST_PER_FUNCTION=OFF >/dev/null

# The core suite and every GUI test program (one per file of tests/gui).
targets=(core_tests)
for src in tests/gui/*.cpp; do
  targets+=("$(basename "$src" .cpp)")
done
if compgen -G "tests/paint/*.cpp" >/dev/null; then targets+=(paint_tests); fi
cmake --build "$build" -j2 --target "${targets[@]}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:check_initialization_order=1:strict_init_order=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
# Leak checking stays on with no suppressions: offscreen, neither Qt nor
# fontconfig leaves anything behind that LeakSanitizer reports.
export QT_QPA_PLATFORM=offscreen
# The suites run here by hand are told where the (sanitized) modules are.
case $build in /*) export GRADESHEET_MODULE_DIR=$build ;; *) export GRADESHEET_MODULE_DIR=$root/$build ;; esac

# The GoogleTest suites run as one process each: ctest would start a process
# for every case, and each sanitized start costs a quarter of a second. The
# Qt Test programs (one per file) go through ctest beside them, each as one
# case (GS_QTEST_PER_FUNCTION=OFF above) for the same reason. The
# command-line tests run the plain build's programs and are not here.
cd "$build"
status=0
pids=()
suites=()
for suite in core_tests paint_tests; do
  [ -x "tests/$suite" ] || continue
  "tests/$suite" --gtest_brief=1 >"$suite.log" 2>&1 &
  pids+=($!)
  suites+=("$suite")
done
ctest --output-on-failure --timeout 900 -R '^test_' || status=$?
for i in "${!pids[@]}"; do
  if wait "${pids[$i]}"; then
    echo "${suites[$i]}: passed under the sanitizers"
  else
    echo "FAIL: ${suites[$i]} under the sanitizers ($build/${suites[$i]}.log):" >&2
    tail -n 200 "${suites[$i]}.log" >&2
    status=1
  fi
done
exit $status
