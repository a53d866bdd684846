#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs the whole suite under
# a virtual X display started here, so no test is skipped for want of a screen.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
"$root/scripts/build.sh" "$build" -DVELKARAN_WERROR=ON -DVELKARAN_TESTS=ON
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
export LIBGL_ALWAYS_SOFTWARE=1
cd "$build"
exec xvfb-run -a -s "-screen 0 1280x720x24" ctest --output-on-failure -j "$(nproc)" --timeout 600
