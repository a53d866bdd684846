"""A scripted game in the real binary: the player turns round with the mouse, walks
into the fortress and is stopped by its walls, and the trace says so frame by frame.
A screenshot of the start shows the sky above and the lit ground below."""
import json
import os
import subprocess
import sys
import time

from harness import GameTree, build_dir

SCRIPT = """# turn round towards the fortress: 31 pointer steps of 50 pixels, then a last 40
%s
90 motion 1540 0
100 keydown w
130 keydown space
131 keyup space
800 keyup w
""" % "\n".join("%d motion %d 0" % (60 + k, 50 * (k + 1)) for k in range(30))


def pixel_rows(png, rows):
    """Mean RGB of each given row of the picture (through ImageMagick)."""
    means = []
    for y in rows:
        out = subprocess.run(["convert", png, "-crop", "x1+0+%d" % y, "-resize", "1x1!", "-format",
                              "%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]", "info:"],
                             capture_output=True, text=True, check=True).stdout
        means.append(tuple(int(v) for v in out.split()))
    return means


def cell(c):
    return int(c * 0.02 + 0.5)


def main():
    tree = GameTree(build_dir(), settings_text="[preferencias]\nmap_name=Prueba\nmap_seed=12345\n")
    script = os.path.join(tree.root, "walk.txt")
    trace = os.path.join(tree.root, "trace.jsonl")
    shot = os.path.join(tree.root, "start.png")
    with open(script, "w") as f:
        f.write(SCRIPT)
    try:
        tree.start(["--script", script, "--dt", "0.0166667", "--trace", trace, "--trace-every", "10",
                    "--frames", "820"])
        # A screenshot while the player still stands at the start, facing the edge of the world.
        deadline = time.time() + 120
        while time.time() < deadline:
            if os.path.exists(trace) and os.path.getsize(trace) > 0:
                break
            time.sleep(0.05)
        subprocess.run(["import", "-window", "root", shot], check=True)
        code = tree.process.wait(timeout=600)
        out, err = tree.output()
        assert code == 0, "exit %s: %s" % (code, err)
        with open(trace) as f:
            frames = [json.loads(line) for line in f]
    finally:
        if os.path.exists(shot):
            rows = pixel_rows(shot, [20, 700])
        tree.cleanup()

    by_frame = {t["frame"]: t for t in frames}
    assert frames[-1]["frame"] == 820, "the last frame is always traced"
    assert all(t["state"] == 101 for t in frames), "the script plays from frame 0"
    assert [t["frame"] for t in frames[:3]] == [10, 20, 30], [t["frame"] for t in frames[:3]]
    start = by_frame[50]["player"]
    assert start["pos"][0] == 250 and start["pos"][2] == 200 and start["cell"] == [5, 4], start
    assert start["front"][2] < -0.99, "the game starts facing -z"
    turned = by_frame[100]["player"]
    assert turned["front"][2] > 0.99, "the pointer turned the view round: %s" % turned["front"]
    assert turned["pos"] == start["pos"], "turning does not move"
    # Jumping at frame 130: the eye rises above the ground's 10 units for about 1.5 s.
    heights = [by_frame[f]["player"]["pos"][1] for f in (130, 160, 190)]
    assert heights[1] > heights[0] + 15, heights
    # Walking on along +z the player meets the first cell of column 5 that blocks
    # movement (from the fortress tool) and bounces off it instead of walking through.
    dump = json.loads(subprocess.run([os.path.join(build_dir(), "bin", "velkaran-fortress"), "dump", "12345"],
                                     capture_output=True, text=True, check=True).stdout)
    wall = next(j for j in range(5, 72) if dump["cells"][j][5][8])
    zs = [t["player"]["pos"][2] for t in frames if t["frame"] >= 100]
    assert max(zs) > 50 * wall - 25 - 10, "walked up to the wall at row %d: %.1f" % (wall, max(zs))
    assert all(cell(z) < wall for z in zs), "the wall at row %d let the player through: %.1f" % (wall, max(zs))
    # The drones wake while the player walks: they may hurt, but not kill, in 14 s.
    assert all(not t["player"]["dead"] for t in frames)

    sky, ground = rows
    assert sum(sky) > 30 and sky[0] > sky[2], "a reddish sky at the top: %s" % (sky,)
    assert sum(ground) > 30, "lit ground at the bottom: %s" % (ground,)
    print("ok")


if __name__ == "__main__":
    sys.exit(main())
