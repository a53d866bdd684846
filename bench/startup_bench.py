#!/usr/bin/env python3
"""Launch-to-main-menu time and peak memory of the real game.

The game is started in a private tree (see tests/e2e/harness.py); as soon as its
window exists it is sent SIGTERM, which SDL queues as a quit event that the first
frame of the main loop handles. The time from launch to exit therefore covers the
whole start-up, the first main-menu frame and the teardown.

Usage (under a display): xvfb-run -a -s "-screen 0 1280x720x24" bench/startup_bench.py BUILD_DIR [RUNS]
"""
import os
import resource
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from harness import GameTree  # noqa: E402


def main():
    build = os.path.abspath(sys.argv[1])
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    times = []
    for _ in range(runs):
        tree = GameTree(build, settings_text="[preferencias]\nmap_name=Bench\nmap_seed=12345\n")
        try:
            t0 = time.monotonic()
            tree.start()
            tree.window_id()
            tree.terminate(timeout=120)
            times.append(time.monotonic() - t0)
        finally:
            tree.cleanup()
    peak_kib = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
    print("launch to first main-menu frame and exit: median %.2f s (min %.2f, max %.2f, %d runs)"
          % (statistics.median(times), min(times), max(times), runs))
    print("peak resident memory: %.1f MiB" % (peak_kib / 1024.0))


if __name__ == "__main__":
    main()
