#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs the whole suite under
# a virtual X display started here, so no test is skipped for want of a screen.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
"$root/scripts/build.sh" "$build" -DVELKARAN_WERROR=ON -DVELKARAN_TESTS=ON
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
export LIBGL_ALWAYS_SOFTWARE=1
(cd "$build" && xvfb-run -a -s "-screen 0 1280x720x24" ctest --output-on-failure -j "$(nproc)" --timeout 900)

# The GL-free core, its unit tests, the headless game and the soak once more under
# AddressSanitizer and UndefinedBehaviorSanitizer: any report fails the run.
sanitize="${SANITIZE_BUILD_DIR:-$root/build-sanitize}"
# Without -Werror: the instrumentation makes GCC warn falsely inside the standard library.
cmake -S "$root" -B "$sanitize" -DVELKARAN_SANITIZE=ON -DVELKARAN_WERROR=OFF -DVELKARAN_BENCH=OFF
cmake --build "$sanitize" --target velkaran_unit_tests velkaran-sim -j "$(nproc)"
cd "$sanitize"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --output-on-failure -j "$(nproc)" --timeout 900 -L '^(unit|soak)$'
