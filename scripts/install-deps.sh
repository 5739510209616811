#!/usr/bin/env bash
# Installs the Debian packages the programs and their tests need, when they are missing.
# With --windows also the cross compilers for Pontax.exe and a wine to test it.
set -euo pipefail
packages=(build-essential cmake googletest libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev
          clang libclang-rt-14-dev clang-format
          fairymax gnuchess phalanx hoichess sjeng sjaakii fairy-stockfish polyglot stockfish)
# Pontax.exe ships for 32-bit Windows; the 64-bit compiler builds the same code for a wine that
# cannot run 32-bit programs.
cross_compilers=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix)
wine32_packages=(wine wine32:i386)
wine64_packages=(wine wine64)
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
# A mirror in the middle of a sync fails an index now and then: try again, and go on with what
# was fetched if it keeps failing (the install below says if a package is really missing).
update_package_lists() {
  local attempt
  for attempt in 1 2; do
    $sudo_cmd apt-get update -qq && return 0
    echo "apt-get update failed (attempt $attempt of 2)" >&2
    sleep 15
  done
  return 0
}
windows=false
[ "${1:-}" = --windows ] && windows=true
if [ ${#missing[@]} -gt 0 ] || { $windows && [ -n "$(missing_of "${cross_compilers[@]}" wine)" ]; }; then
  update_package_lists
fi
if [ ${#missing[@]} -gt 0 ]; then
  $sudo_cmd apt-get install -y -qq "${missing[@]}" </dev/null
fi
# Whether this kernel runs 32-bit x86 programs (some are built without), tried with the smallest
# one there is.
runs_32bit_programs() {
  local probe status=0
  probe=$(mktemp)
  # ELF header, one loadable segment at 0x08048000, then: mov eax,1; xor ebx,ebx; int 0x80.
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'\
'\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00'\
'\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'\
'\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00'\
'\x05\x00\x00\x00\x00\x10\x00\x00'\
'\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null || status=1
  rm -f "$probe"
  return $status
}

# wine32 runs the very Pontax.exe that ships. It needs i386 libraries of the versions installed
# for amd64, which a mirror in the middle of a sync may lack; wine64 and the 64-bit build test the
# same code then. wine's recommendations (fonts, sound) are not needed by a console program.
install_wine32() {
  local attempt
  dpkg --print-foreign-architectures | grep -qx i386 || { $sudo_cmd dpkg --add-architecture i386 && update_package_lists; }
  for attempt in 1 2; do
    $sudo_cmd apt-get install -y -qq --no-install-recommends "${wine32_packages[@]}" </dev/null && return 0
    echo "wine32 could not be installed (attempt $attempt of 2)" >&2
    if [ "$attempt" -lt 2 ]; then sleep 20; update_package_lists; fi
  done
  return 1
}
if $windows; then
  mapfile -t cross_missing < <(missing_of "${cross_compilers[@]}")
  if [ ${#cross_missing[@]} -gt 0 ]; then
    $sudo_cmd apt-get install -y -qq "${cross_missing[@]}" </dev/null
  fi
  if [ -n "$(missing_of wine)" ]; then
    if ! runs_32bit_programs || ! install_wine32; then
      $sudo_cmd apt-get install -y -qq --no-install-recommends "${wine64_packages[@]}" </dev/null
    fi
  fi
fi
