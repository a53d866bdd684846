#!/usr/bin/env python3
"""The automatic player over a range of fortress seeds, with and without --invulnerable.

Usage:
    python3 bench/bot_sweep.py [--sim PATH | --build DIR] [--first N] [--last N]
                               [--frames N] [--dt S] [--jobs N] [--mode both|invulnerable|mortal]
                               [--verbose]

    --sim      the velkaran-sim binary (default: DIR/bin/velkaran-sim)
    --build    the build directory holding bin/velkaran-sim (default: ./build)
    --first, --last   the seed range, both included (default 1 ... 200)
    --frames   the frame budget of one game (default 200000, about 55 min of play at 1/60 s)
    --dt       the fixed frame time (default 1/60)
    --jobs     games run side by side (default: one per processor)
    --mode     which sweeps to run (default both)
    --verbose  one line per game

For each sweep it prints how many fortresses were won, the median and the worst game
time to the end of the escape (the trace's frame count times the frame time, over the
won games), and the seeds lost with how each game ended. The exit status is 0.

Example: python3 bench/bot_sweep.py --build build-bot --first 1 --last 50 --mode invulnerable
"""
import argparse
import concurrent.futures
import json
import os
import statistics
import subprocess
import sys


def play(sim, seed, frames, dt, invulnerable):
    command = [sim, str(seed), "--bot", "--frames", str(frames), "--dt", repr(dt)]
    if invulnerable:
        command.append("--invulnerable")
    run = subprocess.run(command, capture_output=True, text=True)
    lines = run.stdout.strip().splitlines()
    last = json.loads(lines[-1]) if lines else {}
    return seed, run.returncode, last


def describe(last):
    """How a lost game ended, in a few words."""
    if not last:
        return "no trace"
    player = last["player"]
    held = {item: count for item, count in player["inventory"]}
    parts = ["dead" if player["dead"] else "alive", "frame %d" % last["frame"], "cell %s" % player["cell"],
             "nodes %d" % held.get(8, 0), "cells %d" % held.get(11, 0), "hiyura %d" % held.get(13, 0),
             "injector %d" % held.get(14, 0)]
    if last.get("message"):
        parts.append(repr(last["message"][:60]))
    return ", ".join(parts)


def sweep(sim, seeds, frames, dt, jobs, invulnerable, verbose):
    label = "with --invulnerable" if invulnerable else "without --invulnerable"
    times, lost = [], []
    with concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as pool:
        futures = [pool.submit(play, sim, seed, frames, dt, invulnerable) for seed in seeds]
        for future in concurrent.futures.as_completed(futures):
            seed, code, last = future.result()
            won = code == 0 and last.get("escapeStage") == 4
            if won:
                times.append((last["frame"] * dt, seed))
            else:
                lost.append((seed, describe(last)))
            if verbose:
                print("  seed %d %s: %s" % (seed, label, "won in %.0f s" % (last["frame"] * dt) if won
                                            else "lost (" + describe(last) + ")"), flush=True)
    print("%s: won %d of %d" % (label, len(times), len(seeds)))
    if times:
        median = statistics.median(t for t, _ in times)
        mean = statistics.mean(t for t, _ in times)
        worst, worst_seed = max(times)
        print("  game time to the escape: median %.1f s (%.1f min), mean %.1f s, worst %.1f s (%.1f min, seed %d)"
              % (median, median / 60, mean, worst, worst / 60, worst_seed))
    for seed, how in sorted(lost):
        print("  lost seed %d: %s" % (seed, how))
    sys.stdout.flush()


def main():
    parser = argparse.ArgumentParser(description="The automatic player over a range of seeds.")
    parser.add_argument("--sim")
    parser.add_argument("--build", default="build")
    parser.add_argument("--first", type=int, default=1)
    parser.add_argument("--last", type=int, default=200)
    parser.add_argument("--frames", type=int, default=200000)
    parser.add_argument("--dt", type=float, default=1.0 / 60.0)
    parser.add_argument("--jobs", type=int, default=os.cpu_count() or 1)
    parser.add_argument("--mode", choices=("both", "invulnerable", "mortal"), default="both")
    parser.add_argument("--verbose", action="store_true")
    args = parser.parse_args()
    sim = args.sim or os.path.join(args.build, "bin", "velkaran-sim")
    if not os.access(sim, os.X_OK):
        parser.error("no velkaran-sim at %s" % sim)
    seeds = list(range(args.first, args.last + 1))
    if args.mode in ("both", "invulnerable"):
        sweep(sim, seeds, args.frames, args.dt, args.jobs, True, args.verbose)
    if args.mode in ("both", "mortal"):
        sweep(sim, seeds, args.frames, args.dt, args.jobs, False, args.verbose)


if __name__ == "__main__":
    main()
