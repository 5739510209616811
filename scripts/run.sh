#!/usr/bin/env bash
# Installs what is missing, builds, and starts pontax on the default Pontax.eng (Fairy-Max).
# Type UCI commands ("uci", "isready", "quit") or let a GUI drive it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j"$(nproc)" --target pontax >/dev/null
cd "$root"
exec "$root/build/adapter/pontax" "$@"
