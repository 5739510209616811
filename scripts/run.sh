#!/usr/bin/env bash
# Installs what is missing, builds, and starts pontax on the default Pontax.eng (Fairy-Max).
# Type UCI commands ("uci", "isready", "quit") or let a GUI drive it.
# "scripts/run.sh dravel" starts the dravel window instead, playing against Fairy-Max.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cd "$root"
if [ "${1:-}" = dravel ]; then
  cmake --build "$root/build" -j"$(nproc)" --target dravel >/dev/null
  exec "$root/build/tools/dravel"
fi
cmake --build "$root/build" -j"$(nproc)" --target pontax >/dev/null
exec "$root/build/adapter/pontax" "$@"
