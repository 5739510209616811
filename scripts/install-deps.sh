#!/usr/bin/env bash
# Installs the Debian packages the programs and their tests need, when they are missing.
# With --windows also the cross compiler for Pontax.exe and wine to test it (i386 packages).
set -euo pipefail
packages=(build-essential cmake googletest libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev
          clang libclang-rt-14-dev
          fairymax gnuchess phalanx hoichess sjeng polyglot stockfish)
cross_compiler=(g++-mingw-w64-i686-posix)
wine_packages=(wine wine32:i386)
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
export DEBIAN_FRONTEND=noninteractive

missing_of() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}

mapfile -t missing < <(missing_of "${packages[@]}")
windows_missing=()
if [ "${1:-}" = --windows ]; then
  mapfile -t windows_missing < <(missing_of "${cross_compiler[@]}" "${wine_packages[@]}")
  if [ ${#windows_missing[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo_cmd dpkg --add-architecture i386
  fi
fi
# A mirror in the middle of a sync fails an index now and then: try again, and go on with what
# was fetched if it keeps failing (the install below says if a package is really missing).
update_package_lists() {
  local attempt
  for attempt in 1 2 3; do
    $sudo_cmd apt-get update -qq && return 0
    echo "apt-get update failed (attempt $attempt of 3)" >&2
    sleep $((attempt * 10))
  done
  return 0
}
if [ ${#missing[@]} -gt 0 ] || [ ${#windows_missing[@]} -gt 0 ]; then
  update_package_lists
fi
if [ ${#missing[@]} -gt 0 ]; then
  $sudo_cmd apt-get install -y -qq "${missing[@]}" </dev/null
fi
# wine's recommendations (fonts, sound, 64-bit wine) are not needed to run a console program.
# wine needs i386 libraries of the very versions installed for amd64; while a mirror lacks an i386
# index they cannot be found. Pontax.exe is still built then, and the test command says that its
# tests under wine did not run.
if [ ${#windows_missing[@]} -gt 0 ]; then
  $sudo_cmd apt-get install -y -qq --no-install-recommends "${cross_compiler[@]}" </dev/null
  for attempt in 1 2 3; do
    $sudo_cmd apt-get install -y -qq --no-install-recommends "${wine_packages[@]}" </dev/null && break
    echo "wine could not be installed (attempt $attempt of 3)" >&2
    if [ "$attempt" -lt 3 ]; then sleep 30; update_package_lists; fi
  done
fi
