#!/usr/bin/env bash
# Installs what is missing, builds, and starts the game from <build>/bin so "../Data/" resolves.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
"$root/scripts/build.sh" "$build"
cd "$build/bin"
exec ./velkaran
