#!/usr/bin/env bash
# Builds Fruvana (installing what is missing) and starts the game.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/packages.sh"
"$root/scripts/deps.sh" "${BUILD_PACKAGES[@]}" "${TOOL_PACKAGES[@]}"
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/release"
exec "$root/build/release/shell/fruvana" "$@"
