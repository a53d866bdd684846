"""The default drawing against the reference drawing (--reference-drawing): the same
scripted moments, each screenshot (F12) taken both ways from the same script, must
agree: at most 1 % of the pixels off by more than 16 (of 255) in any channel, and a
mean absolute difference over all channels of at most 1.0.

The moments are chosen to be hard for what the default drawing leaves out or
simplifies: the fortress ahead from the start (far walls and models in the fog), the
landing site with the flag and the spaceship, the terrain towards the border hills and
the sky (the ground's levels of detail against the sky), the fortress through the
sniper scope (far things magnified), a corridor with the flashlight, and a fight with sparks and a drone's energy ball. --fast-forward plays the
frames before each moment without drawing them.

With --keep DIR the pictures are kept there (with a difference picture of each moment).
"""
import argparse
import os
import shutil
import sys

from harness import GameTree, build_dir
from pictures import compare, difference_picture

HERE = os.path.dirname(os.path.abspath(__file__))
WALK = open(os.path.join(HERE, "..", "..", "bench", "walk.script")).read()
# After the walk a drone comes close in the corridor: turn to it and fire.
FIGHT = WALK + "2420 motion 1579 10\n2421 motion 1618 20\n2440 press left\n"
FLASHLIGHT = WALK + "640 keydown f\n641 keyup f\n"
# The sniper rifle's scope on the fortress from the start: everything far, magnified.
SCOPE = WALK + "92 keydown q\n93 keyup q\n96 press right\n"

# name, script, frame of the screenshot
MOMENTS = [
    ("border-hills", WALK, 3),
    ("landing-site", WALK, 72),
    ("fortress-ahead", WALK, 95),
    ("scope", SCOPE, 99),
    ("corridor-flashlight", FLASHLIGHT, 700),
    ("fight", FIGHT, 2444),
]
MOST_PIXELS_OFF = 0.01
MOST_MEAN_DIFFERENCE = 1.0


def shoot(build, script_text, frame, reference):
    tree = GameTree(build, settings_text="[preferencias]\nmap_name=Bench\nmap_seed=12345\n")
    try:
        script = os.path.join(tree.root, "moment.script")
        with open(script, "w") as f:
            f.write(script_text + "%d keydown f12\n%d keyup f12\n" % (frame, frame))
        args = ["--script", script, "--dt", "0.0166667", "--fast-forward", str(max(0, frame - 2)),
                "--frames", str(frame + 2)]
        if reference:
            args.append("--reference-drawing")
        tree.start(args)
        code = tree.wait(timeout=240)
        assert code == 0, tree.output()
        folder = os.path.join(tree.data, "Screenshots")
        shots = os.listdir(folder)
        assert len(shots) == 1, shots
        kept = os.path.join(os.path.dirname(tree.root), "%s-%d-%s.bmp" % (
            os.path.basename(tree.root), frame, "reference" if reference else "default"))
        shutil.copy(os.path.join(folder, shots[0]), kept)
        return kept
    finally:
        tree.cleanup()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    parser.add_argument("--keep")
    parser.add_argument("--only")
    args = parser.parse_args()
    build = build_dir()
    failures = []
    for name, script, frame in MOMENTS:
        if args.only and name != args.only:
            continue
        fast = shoot(build, script, frame, reference=False)
        reference = shoot(build, script, frame, reference=True)
        off, mean = compare(fast, reference)
        print("%-20s %.3f %% of the pixels off by more than 16, mean difference %.3f" % (name, 100 * off, mean))
        if args.keep:
            os.makedirs(args.keep, exist_ok=True)
            shutil.copy(fast, os.path.join(args.keep, name + "-default.bmp"))
            shutil.copy(reference, os.path.join(args.keep, name + "-reference.bmp"))
            difference_picture(fast, reference, os.path.join(args.keep, name + "-difference.ppm"))
        os.remove(fast)
        os.remove(reference)
        if off > MOST_PIXELS_OFF or mean > MOST_MEAN_DIFFERENCE:
            failures.append(name)
    assert not failures, "the default drawing differs from the reference at: %s" % ", ".join(failures)
    print("ok")


if __name__ == "__main__":
    main()
