"""Soak: velkaran-sim plays a long game of random input (every key, pointer jumps and
sweeps, both buttons, the overlays, the scanner) and must end normally. Run under the
sanitizer build it also shows that the rules read and write only what they own.

    python3 random_input.py --sim PATH/velkaran-sim [--frames 50000] [--seed 7]
"""
import argparse
import os
import random
import subprocess
import sys
import tempfile

KEYS = "w a s d space lshift q f n m f1 f8 f12 escape".split()


def random_script(frames, rng):
    lines = []
    x = y = 0
    for frame in range(frames):
        for _ in range(rng.choice((0, 0, 1, 2, 3))):
            kind = rng.random()
            if kind < 0.45:
                x += rng.randint(-60, 60)
                y += rng.randint(-30, 30)
                if rng.random() < 0.01:
                    x, y = rng.randint(-10 ** 7, 10 ** 7), rng.randint(-10 ** 5, 10 ** 5)
                lines.append("%d motion %d %d" % (frame, x, y))
            elif kind < 0.85:
                key = rng.choice(KEYS)
                # The overlays freeze the world: keep them rare so the world mostly runs.
                if key in ("m", "f1") and rng.random() < 0.9:
                    key = "w"
                lines.append("%d %s %s" % (frame, rng.choice(("keydown", "keyup")), key))
            else:
                lines.append("%d %s %s" % (frame, rng.choice(("press", "release")), rng.choice(("left", "right"))))
    return "\n".join(lines) + "\n"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--sim", required=True)
    parser.add_argument("--frames", type=int, default=50000)
    parser.add_argument("--seed", type=int, default=7)
    args = parser.parse_args()
    rng = random.Random(args.seed)
    with tempfile.TemporaryDirectory(prefix="velkaran-soak-") as root:
        for fortress in (rng.randint(1, 2 ** 32 - 1), 4242):
            script = os.path.join(root, "input.txt")
            with open(script, "w") as f:
                f.write(random_script(args.frames, rng))
            run = subprocess.run([args.sim, str(fortress), "--invulnerable", "--script", script, "--frames",
                                  str(args.frames)], capture_output=True, text=True)
            assert run.returncode == 0, "fortress %d: exit %d\n%s" % (fortress, run.returncode, run.stderr[-4000:])
            assert "runtime error" not in run.stderr and "Sanitizer" not in run.stderr, run.stderr[-4000:]
            last = run.stdout.splitlines()[-1]
            assert '"frame": %d' % args.frames in last, "the game ran to the end: " + last[:200]
            print("fortress %d: %d frames of random input" % (fortress, args.frames))


if __name__ == "__main__":
    main()
    sys.exit(0)
