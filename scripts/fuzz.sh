#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang, AddressSanitizer and UndefinedBehaviorSanitizer, and
# runs each for SECONDS (default 30), as many at once as there are cores:
#   scripts/fuzz.sh [SECONDS] [HARNESS...]       e.g. scripts/fuzz.sh 3600 uci_session
# Each harness starts from its seeds in tests/fuzz/corpus/ and keeps what it finds new in
# build-fuzz/corpus/; an input that fails is written to build-fuzz/findings/. The script fails
# when any harness finds a crash, a leak, a timeout or a fault a strict host would refuse.
# FUZZ_SEED fixes libFuzzer's random seed (the test suite's short runs use one); FUZZ_RUNS ends a
# run after that many inputs if it comes first; FUZZ_JOBS sets how many run at once.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
shift || true
build=$root/build-fuzz
all=(uci_session engine_output config hash_formula fen san dravel_commands dravel_moves chd_loader)
harnesses=("${@:-${all[@]}}")

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSANITIZE=address,undefined \
  -DBUILD_FUZZERS=ON -DBUILD_TESTING=OFF -DBUILD_BENCHMARKS=OFF -DCMAKE_UNITY_BUILD=ON >/dev/null
cmake --build "$build" --target fuzzers -j"$(nproc)"
mkdir -p "$build/findings" "$build/logs"

run_one() {
  local name=$1 seconds=$2 build=$3 root=$4
  local extra=()
  [ -n "${FUZZ_SEED:-}" ] && extra=(-seed="$FUZZ_SEED")
  [ -n "${FUZZ_RUNS:-}" ] && extra+=(-runs="$FUZZ_RUNS")
  mkdir -p "$build/corpus/$name"
  if ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 "$build/tests/fuzz/fuzz_$name" \
      "${extra[@]}" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$build/findings/$name-" "$build/corpus/$name" "$root/tests/fuzz/corpus/$name" \
      >"$build/logs/$name.log" 2>&1; then
    local runs speed
    runs=$(awk '/stat::number_of_executed_units/ {print $2}' "$build/logs/$name.log")
    speed=$(awk '/stat::average_exec_per_sec/ {print $2}' "$build/logs/$name.log")
    echo "fuzz_$name: ${runs:-?} inputs in ${SECONDS} s (${speed:-?}/s), no faults"
  else
    echo "fuzz_$name: FAILED, see $build/logs/$name.log and $build/findings/"
    grep -v '^0x' "$build/logs/$name.log" | grep -m 20 -E 'strict host|ERROR|SUMMARY|Test unit written' || true
    return 1
  fi
}
export -f run_one
printf '%s\n' "${harnesses[@]}" | xargs -P "${FUZZ_JOBS:-$(nproc)}" -I{} bash -c 'run_one "$@"' _ {} "$seconds" "$build" "$root"
