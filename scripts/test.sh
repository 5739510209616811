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

# run_suite DIR "CTEST ARGS" CMAKE ARGS...
# One test per core: games on real clocks are lost to the load when more run beside them. The
# builds are unity builds, which take half the time.
run_suite() {
  local dir=$1 ctest_args=$2; shift 2
  stage "$dir ($*)"
  cmake -S "$root" -B "$root/$dir" -DCMAKE_UNITY_BUILD=ON "$@" >/dev/null
  cmake --build "$root/$dir" -j"$jobs"
  stage "$dir: tests"
  # shellcheck disable=SC2086
  (cd "$root/$dir" && ctest --output-on-failure -j"$jobs" --timeout 600 $ctest_args)
}

# cross_build DIR TOOLCHAIN: Pontax.exe and the fake engine for Windows.
cross_build() {
  stage "$1 (Pontax.exe and the fake engine, MinGW-w64)"
  cmake -S "$root" -B "$root/$1" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$2" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_UNITY_BUILD=ON >/dev/null
  cmake --build "$root/$1" -j"$jobs"
}
cross_build build-win32 mingw-w64-i686.cmake
(cd "$root/build-win32" && cpack >/dev/null && ls -l packages/*.zip)

# A wine prefix of its own for every run, and its server kept warm: a cold one costs each test
# seconds. The tests run the Pontax.exe that ships; where wine cannot run 32-bit programs, the
# 64-bit build of the same code.
export WINEPREFIX=$root/build-wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
runs_under_wine() { wine "$root/$1/fake-xboard-engine.exe" </dev/null >/dev/null 2>&1; }
windows_tests=""
if command -v wine >/dev/null; then
  rm -rf "$WINEPREFIX" && mkdir -p "$WINEPREFIX"
  wineserver -p
  trap 'wineserver -k 2>/dev/null || true' EXIT
  wine cmd /c exit >/dev/null 2>&1 || true
  if runs_under_wine build-win32; then
    windows_tests=build-win32
  else
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
run_suite build "-LE installed" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" \
  -DPONTAX_WINDOWS_BUILD="${windows_tests:+$root/$windows_tests}"
# The games on real clocks once more with two busy processes beside them, as on a machine that
# does other work: the adapter must still answer every search in time.
stage "real-engine games again, two busy processes beside them"
busy=()
for _ in 1 2; do
  (while :; do :; done) &
  busy+=($!)
done
load_status=0
(cd "$root/build" && ctest --output-on-failure -j"$jobs" --timeout 600 \
  -R 'EngineMatchTest\.(GamesWithoutPondering|AnEngineKilledInTheMiddleOfAGameIsStartedAgain)') || load_status=$?
kill "${busy[@]}"
[ "$load_status" -eq 0 ] || exit "$load_status"
stage "Debian packages: build, install, test installed"
(cd "$root/build" && rm -rf packages && cpack >/dev/null && ls -l packages/*.deb)
$sudo_cmd dpkg -i "$root"/build/packages/*.deb >/dev/null
(cd "$root/build" && ctest --output-on-failure -L installed)

# The fuzz harnesses replay their corpora as tests in every build; scripts/fuzz.sh runs them as
# fuzzers. The sanitizer builds keep line tables only, which is all a report needs. The deep
# move-generation counts (label "slow") and the matches between two adapters (label "games")
# run in the plain build only, where the games run once more under load; the sanitizers see the
# same code paths in the process tests and in every real engine's tests.
sanitized=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DBUILD_BENCHMARKS=OFF)
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  run_suite build-asan "-LE slow|games" -DSANITIZE=address,undefined "${sanitized[@]}"
# The dravel window's tests (which has no threads; Qt's own make them slow there) run in the other
# two.
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$root/tests/qt.tsan.supp" \
  run_suite build-tsan "-LE slow|painting|games" -DSANITIZE=thread "${sanitized[@]}"
stage "All test suites passed."
