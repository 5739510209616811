#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test three times: a normal build, an
# AddressSanitizer + UndefinedBehaviorSanitizer build, and a ThreadSanitizer build; between them,
# a short run of every fuzz harness (scripts/fuzz.sh runs the long ones).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
jobs=$(nproc)

# run_suite DIR "CTEST ARGS" CMAKE ARGS...
run_suite() {
  local dir=$1 ctest_args=$2; shift 2
  echo "=== $dir ($*)"
  cmake -S "$root" -B "$root/$dir" "$@" >/dev/null
  cmake --build "$root/$dir" -j"$jobs"
  # shellcheck disable=SC2086
  (cd "$root/$dir" && ctest --output-on-failure -j"$jobs" --timeout 600 $ctest_args)
}

run_suite build "" -DCMAKE_BUILD_TYPE=RelWithDebInfo
echo "=== fuzz harnesses, 10 s each"
FUZZ_SEED=1 "$root/scripts/fuzz.sh" 10
# The deep move-generation counts (label "slow") run in the plain build only.
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_suite build-asan "-LE slow" -DCMAKE_BUILD_TYPE=Debug -DSANITIZE=address,undefined -DBUILD_BENCHMARKS=OFF
# Tests labelled "painting" (the dravel window's screenshots and games) run in the other two.
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$root/tests/qt.tsan.supp" \
  run_suite build-tsan "-LE slow|painting" -DCMAKE_BUILD_TYPE=Debug -DSANITIZE=thread -DBUILD_BENCHMARKS=OFF
echo "All test suites passed."
