#!/usr/bin/env python3
"""In-game frame time of the real game over a fixed scripted walk (bench/walk.script).

The game runs in a private tree (see tests/e2e/harness.py) with the fixed fortress
seed 12345 at the display's size, the test aids --script, a fixed --dt and a trace of
every frame. The trace file is flushed after every frame; this script reads it as it
grows and takes the arrival time of each line as the end of that frame, so the frame
time is the wall time between two lines (the drawing runs as fast as it can; the
fixed --dt only fixes the rules' time step). The first frames after start-up are
left out.

With --profile the game also prints, at exit, its own figures by pass (GL timer
queries and the main thread's time, see --profile in velkaran --help); --reference
times the reference drawing instead of the default one; --render-scale P writes
render_scale=P into the settings file.

Usage (under a display): xvfb-run -a -s "-screen 0 1280x720x24" bench/ingame_bench.py BUILD_DIR [--frames N]
    [--shots DIR] [--seed S] [--profile] [--reference] [--render-scale P]
"""
import argparse
import os
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
from harness import GameTree  # noqa: E402

SHOT_FRAMES = {95: "fortress-ahead", 400: "walking-in", 700: "inside"}


def process_cpu_seconds(pid):
    """User and system time of a process so far (all its threads)."""
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / float(os.sysconf("SC_CLK_TCK"))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--frames", type=int, default=800)
    parser.add_argument("--skip", type=int, default=30, help="frames after start-up left out")
    parser.add_argument("--shots", help="folder for screenshots at a few frames of the walk")
    parser.add_argument("--seed", type=int, default=12345, help="the fortress seed")
    parser.add_argument("--profile", action="store_true", help="print the game's figures by pass")
    parser.add_argument("--reference", action="store_true", help="time the reference drawing")
    parser.add_argument("--render-scale", type=int, help="render_scale= of the settings file (per cent)")
    args = parser.parse_args()

    settings = "[preferencias]\nmap_name=Bench\nmap_seed=%d\n" % args.seed
    if args.render_scale is not None:
        settings += "render_scale=%d\n" % args.render_scale
    tree = GameTree(os.path.abspath(args.build), settings_text=settings)
    trace = os.path.join(tree.root, "trace.jsonl")
    arrivals = {}
    cpu_start = cpu_end = None
    try:
        tree.start(["--script", os.path.join(HERE, "walk.script"), "--dt", "0.0166667", "--trace", trace,
                    "--frames", str(args.frames)] + (["--profile"] if args.profile else [])
                   + (["--reference-drawing"] if args.reference else []))
        while not os.path.exists(trace):
            if tree.process.poll() is not None:
                raise SystemExit("the game ended before its first frame: %s" % (tree.output(),))
            time.sleep(0.01)
        with open(trace) as f:
            pending = ""
            while True:
                chunk = f.readline()
                if chunk:
                    pending += chunk
                    if pending.endswith("\n"):
                        frame = int(pending.split(",", 1)[0].split(":")[1])
                        arrivals[frame] = time.monotonic()
                        if frame == args.skip:
                            cpu_start = process_cpu_seconds(tree.process.pid)
                        cpu_end = process_cpu_seconds(tree.process.pid)
                        pending = ""
                        if args.shots and frame in SHOT_FRAMES:
                            os.makedirs(args.shots, exist_ok=True)
                            subprocess.run(["import", "-window", "root",
                                            os.path.join(args.shots, SHOT_FRAMES[frame] + ".png")], check=False)
                            arrivals.clear()  # a screenshot stalls the game: start the count afresh
                    continue
                if tree.process.poll() is not None:
                    break
                time.sleep(0.0005)
        tree.process.wait(timeout=60)
        report = tree.output()[0] if args.profile else ""
    finally:
        tree.cleanup()
    frames = sorted(k for k in arrivals if k > args.skip and k - 1 in arrivals)
    times = sorted((arrivals[k] - arrivals[k - 1]) * 1000.0 for k in frames)
    if not times:
        raise SystemExit("no frames measured")
    median = statistics.median(times)
    p95 = times[int(0.95 * (len(times) - 1))]
    print("in-game frame at the display's size, %d frames of the walk:" % len(times))
    print("  median %.1f ms (%.1f fps), 95th percentile %.1f ms (%.1f fps, the 5th percentile of the rate), worst %.1f ms"
          % (median, 1000.0 / median, p95, 1000.0 / p95, times[-1]))
    if cpu_start is not None and frames:
        print("  processor time (all threads) %.1f ms a frame" % (1000.0 * (cpu_end - cpu_start) / (frames[-1] - args.skip)))
    if report:
        print("the game's own figures by pass:")
        print(report.rstrip())


if __name__ == "__main__":
    main()
