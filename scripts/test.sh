#!/usr/bin/env bash
# Installs what is missing, then builds and runs every test three times: a normal build, an
# AddressSanitizer + UndefinedBehaviorSanitizer build, and a ThreadSanitizer build.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
jobs=$(nproc)

run_suite() {
  local dir=$1; shift
  echo "=== $dir ($*)"
  cmake -S "$root" -B "$root/$dir" "$@" >/dev/null
  cmake --build "$root/$dir" -j"$jobs"
  (cd "$root/$dir" && ctest --output-on-failure -j"$jobs" --timeout 600)
}

run_suite build -DCMAKE_BUILD_TYPE=RelWithDebInfo
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_suite build-asan -DCMAKE_BUILD_TYPE=Debug -DSANITIZE=address,undefined -DBUILD_BENCHMARKS=OFF
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
  run_suite build-tsan -DCMAKE_BUILD_TYPE=Debug -DSANITIZE=thread -DBUILD_BENCHMARKS=OFF
echo "All test suites passed."
