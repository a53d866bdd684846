"""F12 saves what the window shows: a scripted game presses it in play, on the map
screen and over the about picture; three BMPs of the window's size appear, each a
different picture, and none overwrites another."""
import os
import subprocess
import sys

from harness import GameTree, build_dir

SCRIPT = """
100 keyup f12
110 keyup m
130 keyup f12
140 keyup m
150 keyup f1
170 keyup f12
180 keyup f1
"""


def main():
    tree = GameTree(build_dir(), settings_text="[preferencias]\nmap_name=Prueba\nmap_seed=777\n")
    script = os.path.join(tree.root, "shots.txt")
    with open(script, "w") as f:
        f.write(SCRIPT)
    folder = os.path.join(tree.data, "Screenshots")
    try:
        tree.start(["--script", script, "--dt", "0.0166667", "--frames", "200"])
        code = tree.wait(timeout=280)
        assert code == 0, tree.output()[1]
        shots = sorted(os.path.join(folder, name) for name in os.listdir(folder))
        assert len(shots) == 3, shots
        for shot in shots:
            name = os.path.basename(shot)
            assert name.startswith("captura_pantalla_") and name.endswith(".bmp"), name
            assert 1000 <= int(name[len("captura_pantalla_"):-4]) <= 9999, name
            size = subprocess.run(["identify", "-format", "%wx%h", shot], capture_output=True, text=True,
                                  check=True).stdout.strip()
            assert size == "1280x720", (name, size)
        pictures = [open(shot, "rb").read() for shot in shots]
        assert len(set(pictures)) == 3, "play, map and about are three different pictures"
        # A picture of the map is mostly its dark backdrop; the play picture is not black.
        means = [float(subprocess.run(["convert", s, "-colorspace", "gray", "-format", "%[fx:mean]", "info:"],
                                      capture_output=True, text=True, check=True).stdout) for s in shots]
        assert all(m > 0.02 for m in means), means
    finally:
        tree.cleanup()
    print("ok")


if __name__ == "__main__":
    main()
    sys.exit(0)
