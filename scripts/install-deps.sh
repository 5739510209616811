#!/usr/bin/env bash
# Installs the Debian packages the programs and their tests need, when they are missing.
# With --windows also the cross compiler for Pontax.exe and wine to test it (i386 packages).
set -euo pipefail
packages=(build-essential cmake googletest libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev
          clang libclang-rt-14-dev
          fairymax gnuchess phalanx hoichess sjeng polyglot stockfish)
windows_packages=(g++-mingw-w64-i686-posix wine wine32:i386)
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
  mapfile -t windows_missing < <(missing_of "${windows_packages[@]}")
  if [ ${#windows_missing[@]} -gt 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo_cmd dpkg --add-architecture i386
  fi
fi
if [ ${#missing[@]} -gt 0 ] || [ ${#windows_missing[@]} -gt 0 ]; then
  $sudo_cmd apt-get update -qq
fi
if [ ${#missing[@]} -gt 0 ]; then
  $sudo_cmd apt-get install -y -qq "${missing[@]}" </dev/null
fi
# wine's recommendations (fonts, sound, 64-bit wine) are not needed to run a console program.
if [ ${#windows_missing[@]} -gt 0 ]; then
  $sudo_cmd apt-get install -y -qq --no-install-recommends "${windows_missing[@]}" </dev/null
fi
