#!/usr/bin/env bash
# Installs the Debian packages the programs and their tests need, when they are missing.
set -euo pipefail
packages=(build-essential cmake googletest libgtest-dev libgmock-dev libbenchmark-dev qt6-base-dev
          clang libclang-rt-14-dev
          fairymax gnuchess phalanx hoichess sjeng polyglot stockfish)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  $sudo_cmd apt-get install -y -qq "${missing[@]}" </dev/null
fi
