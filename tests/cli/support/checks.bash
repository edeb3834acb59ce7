# Shared by the command-line test scripts: the environment check, a scratch
# folder, running the tool, and counting failed checks. Source it, then end
# the script with `finish`.
: "${CLI:?}" "${TEST_DATA:?}" "${SAMPLES:?}"

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
expect_eq() {  # name expected actual
  if [ "$2" != "$3" ]; then
    fail "$1"
    diff <(printf '%s\n' "$2") <(printf '%s\n' "$3") >&2
  fi
}
expect_has() {  # name needle file
  grep -qF -- "$2" "$3" || fail "$1: \"$2\" not found"
}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

run() {  # runs the CLI, keeps stdout, stderr and the exit code
  "$CLI" "$@" >"$tmp/out" 2>"$tmp/err"
  rc=$?
}

finish() {
  if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
  fi
  echo "all checks passed"
}
