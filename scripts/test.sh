#!/usr/bin/env bash
# Installs what is missing, checks the formatting, then builds and runs every test: Pontax.exe
# cross-built for Windows and tested under wine; a normal build, whose Debian packages are then
# built, installed and tested installed; and the tests again under AddressSanitizer +
# UndefinedBehaviorSanitizer and under ThreadSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" --windows
jobs=$(nproc)
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"

stage() { echo "=== [$((SECONDS / 60))m$((SECONDS % 60))s] $*"; }

# The sources as the repository's .clang-format writes them: a change the formatter would make
# fails the run before anything is built.
stage "formatting"
mapfile -t sources < <(cd "$root" && find adapter gui tests tools bench -name '*.cpp' -o -name '*.h')
(cd "$root" && clang-format --dry-run --Werror "${sources[@]}")

# build DIR CMAKE ARGS...: a unity build, which takes half the time.
build() {
  local dir=$1; shift
  cmake -S "$root" -B "$root/$dir" -DCMAKE_UNITY_BUILD=ON "$@" >/dev/null
  cmake --build "$root/$dir" -j"$jobs"
}

# The tests mostly wait on pipes and clocks, so builds and other work that keeps no clock run
# beside them at the lowest priority: the tests keep their processors whenever they want them.
# behind NAME LOG COMMAND... starts such work in a process group of its own, so that an early exit
# can end all of it; wait_behind NAME ends it, showing its log on failure.
declare -A behind_jobs=() behind_logs=()
behind() {
  local name=$1 log=$2
  shift 2
  mkdir -p "$(dirname "$log")"
  set -m
  (renice -n 19 -p "$BASHPID" >/dev/null; "$@") >"$log" 2>&1 &
  behind_jobs[$name]=$!
  behind_logs[$name]=$log
  set +m
}
end_behind() {
  local pid
  for pid in "${behind_jobs[@]}"; do kill -- "-$pid" 2>/dev/null || true; done
}
trap end_behind EXIT
wait_behind() {
  if ! wait "${behind_jobs[$1]}"; then
    cat "${behind_logs[$1]}"
    echo "=== $1 failed"
    exit 1
  fi
  unset "behind_jobs[$1]"
}
build_behind() {
  stage "$1 (${*:2}), beside the tests"
  behind "$1" "$root/$1/build.log" build "$@"
}

# run_tests DIR "CTEST ARGS": one test per core, since games on real clocks are lost to the load
# when more run beside them.
run_tests() {
  stage "$1: tests"
  # shellcheck disable=SC2086
  (cd "$root/$1" && ctest --output-on-failure -j"$jobs" --timeout 600 $2)
}

# cross_build DIR TOOLCHAIN: Pontax.exe and the fake engine for Windows.
cross_build() {
  cmake -S "$root" -B "$root/$1" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$2" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_UNITY_BUILD=ON >/dev/null
  cmake --build "$root/$1" -j"$jobs"
}
# Pontax.exe ships for 32-bit Windows, in a zip.
build_zip() {
  cross_build build-win32 mingw-w64-i686.cmake
  (cd "$root/build-win32" && cpack >/dev/null && ls -l packages/*.zip)
}

# A wine prefix of its own for every run, and its server kept warm: a cold one costs each test
# seconds. The tests run the Pontax.exe that ships where wine runs 32-bit programs, and otherwise
# the 64-bit build of the same code; the zip is then made beside the last tests.
export WINEPREFIX=$root/build-wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
runs_under_wine() { wine "$root/$1/fake-xboard-engine.exe" </dev/null >/dev/null 2>&1; }
wine32_installed() { dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "ok installed"; }
windows_tests=""
zip_made=false
if command -v wine >/dev/null; then
  rm -rf "$WINEPREFIX" && mkdir -p "$WINEPREFIX"
  wineserver -p
  trap 'wineserver -k 2>/dev/null || true; end_behind' EXIT
  wine cmd /c exit >/dev/null 2>&1 || true
  if wine32_installed; then
    stage "build-win32 (Pontax.exe and the fake engine, MinGW-w64)"
    build_zip
    zip_made=true
    runs_under_wine build-win32 && windows_tests=build-win32
  fi
  if [ -z "$windows_tests" ]; then
    stage "build-win64 (Pontax.exe and the fake engine, MinGW-w64)"
    cross_build build-win64 mingw-w64-x86_64.cmake
    runs_under_wine build-win64 && windows_tests=build-win64
  fi
fi
if [ -n "$windows_tests" ]; then
  stage "Pontax.exe's tests run the build in $windows_tests under wine"
else
  stage "NOTE: no wine here runs Pontax.exe, so its tests under wine do not run"
fi

# No debug information in the plain build: it costs a minute, and nothing here reads it.
stage "build"
build build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" \
  -DPONTAX_WINDOWS_BUILD="${windows_tests:+$root/$windows_tests}"
# The fuzz harnesses replay their corpora as tests in every build; scripts/fuzz.sh runs them as
# fuzzers. The sanitizer builds keep line tables only, which is all a report needs, and are made
# by clang, which compiles them in half the time gcc takes (so each compiler's warnings are seen).
sanitized=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug
  -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DBUILD_BENCHMARKS=OFF)
build_behind build-asan -DSANITIZE=address,undefined "${sanitized[@]}"
# These games play with two busy processes beside them, as on a machine that does other work: the
# adapter must still answer every search in time, and start an engine killed in the middle of a
# game again in time (shown with one engine: the restart is the same for all). The deep
# move-generation counts (label "slow") keep no clock and run beside the last tests.
under_load='EngineMatchTest\.(GamesWithoutPondering/|AnEngineKilledInTheMiddleOfAGameIsStartedAgain/fairymax)'
run_tests build "-LE installed|slow -E $under_load"
wait_behind build-asan
# The matches between two adapters run in the plain build only, and the deep counts too: the
# sanitizers see the same code paths in the process tests and in every real engine's tests. The
# dravel window's tests (which has no threads; Qt's own make them slow there) run in the other two.
# The last build starts here: at its priority it takes little from the busy processes and games.
build_behind build-tsan -DSANITIZE=thread "${sanitized[@]}"
stage "real-engine games, two busy processes beside them"
busy=()
for _ in 1 2; do
  (while :; do :; done) &
  busy+=($!)
done
load_status=0
(cd "$root/build" && ctest --output-on-failure -j"$jobs" --timeout 600 -R "$under_load") || load_status=$?
kill "${busy[@]}"
[ "$load_status" -eq 0 ] || exit "$load_status"
stage "Debian packages: build, install, test installed"
(cd "$root/build" && rm -rf packages && cpack >/dev/null && ls -l packages/*.deb)
$sudo_cmd dpkg -i "$root"/build/packages/*.deb >/dev/null
(cd "$root/build" && ctest --output-on-failure -L installed)

ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_tests build-asan "-LE slow"
wait_behind build-tsan
stage "deep move-generation counts, beside the last tests"
behind slow-tests "$root/build/slow-tests.log" \
  bash -c "cd '$root/build' && ctest --output-on-failure -j$jobs --timeout 600 -L slow"
if ! $zip_made; then
  stage "build-win32 (the zip of Pontax.exe, MinGW-w64), beside the last tests"
  behind build-win32 "$root/build-win32/build.log" build_zip
fi
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$root/tests/qt.tsan.supp" \
  run_tests build-tsan "-LE slow|painting"
wait_behind slow-tests
grep -E "tests passed|Total Test time" "$root/build/slow-tests.log"
if ! $zip_made; then
  wait_behind build-win32
  grep -F ".zip" "$root/build-win32/build.log"
fi
stage "All test suites passed."
