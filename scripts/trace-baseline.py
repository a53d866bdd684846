#!/usr/bin/env python3
"""Record the every-frame traces of a fixed set of headless games, or compare a build's
traces with a recording: the guard for changes of structure that must not change play.

    scripts/trace-baseline.py record BUILD_DIR OUT_DIR
    scripts/trace-baseline.py compare BUILD_DIR OUT_DIR

The games: the automatic player on seeds 1-3 (with and without --invulnerable), the
scripted runs of the end-to-end tests, the benchmark walk, and two long random-input
games. `compare` prints the first differing frame of each game that changed and exits 1.
"""
import importlib.util
import os
import random
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)


def load(path, name):
    spec = importlib.util.spec_from_file_location(name, path)
    module = importlib.util.module_from_spec(spec)
    sys.path.insert(0, os.path.dirname(path))
    spec.loader.exec_module(module)
    return module


def games(workdir):
    """(name, sim arguments) for every recorded game; scripts are written into workdir."""
    e2e = os.path.join(ROOT, "tests", "e2e")
    scripted = [("trace_matches_sim", "test_trace_matches_sim.py", 4242, 480, "0.0166667"),
                ("world_walk", "test_world_walk.py", 12345, 900, "0.0166667"),
                ("death", "test_death.py", 1, 1500, "0.016666666666666666")]
    result = []
    for name, test, seed, frames, dt in scripted:
        path = os.path.join(workdir, name + ".txt")
        with open(path, "w") as f:
            f.write(load(os.path.join(e2e, test), name).SCRIPT)
        result.append((name, [str(seed), "--script", path, "--dt", dt, "--frames", str(frames)]))
    result.append(("walk_bench", ["12345", "--script", os.path.join(ROOT, "bench", "walk.script"),
                                  "--frames", "900"]))
    soak = load(os.path.join(ROOT, "tests", "soak", "random_input.py"), "random_input")
    for seed in (7, 11):
        path = os.path.join(workdir, "random_%d.txt" % seed)
        with open(path, "w") as f:
            f.write(soak.random_script(6000, random.Random(seed)))
        result.append(("random_%d" % seed, [str(seed), "--invulnerable", "--script", path, "--frames", "6000"]))
    for seed in (1, 2, 3):
        result.append(("bot_%d_invulnerable" % seed, [str(seed), "--bot", "--invulnerable", "--frames", "60000"]))
        result.append(("bot_%d" % seed, [str(seed), "--bot", "--frames", "60000"]))
    return result


def run(build, args):
    sim = os.path.join(build, "bin", "velkaran-sim")
    done = subprocess.run([sim] + args + ["--trace-every", "1"], capture_output=True, text=True)
    return done.returncode, done.stdout


def main():
    if len(sys.argv) != 4 or sys.argv[1] not in ("record", "compare"):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    mode, build, out = sys.argv[1:]
    os.makedirs(out, exist_ok=True)
    changed = 0
    for name, args in games(out):
        code, trace = run(build, args)
        stored = os.path.join(out, name + ".trace")
        if mode == "record":
            with open(stored, "w") as f:
                f.write("exit %d\n" % code + trace)
            print("%-24s exit %d, %d frames" % (name, code, trace.count("\n")))
            continue
        with open(stored) as f:
            expected = f.read().splitlines()
        got = ("exit %d\n" % code + trace).splitlines()
        if got == expected:
            print("%-24s same (%d lines)" % (name, len(got)))
            continue
        changed += 1
        for k, (a, b) in enumerate(zip(expected, got)):
            if a != b:
                print("%-24s DIFFERS at line %d:\n  was %s\n  now %s" % (name, k, a[:300], b[:300]))
                break
        else:
            print("%-24s DIFFERS in length: %d lines, was %d" % (name, len(got), len(expected)))
    return 1 if changed else 0


if __name__ == "__main__":
    sys.exit(main())
