#!/usr/bin/env bash
# Installs what is missing, configures and builds the game, its tools, tests and data tree.
# Usage: scripts/build.sh [build-dir] [extra cmake options...]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
shift || true
"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" "$@"
cmake --build "$build" -j "$(nproc)"
