"""Death ends the game: the player stands in the stalagmites beside the start until the
world turns grey (health 10 or less) and then dies; the death picture shows for a little
over 10 s and the game returns to the main menu, where the frames go on. F12 keeps a grey
picture and one of the death picture."""
import json
import os
import subprocess
import sys

from harness import GameTree, build_dir

# Turn 45 degrees to the left, walk into the stalagmites of cell (4, 3) and stay there.
SCRIPT = "\n".join(["%d motion %d 0" % (5 + k, -48 * (k + 1)) for k in range(8)] + [
    "13 motion -386 0", "20 keydown w", "62 keyup w", "500 keyup f12", "560 keyup f12", ""])


def grey_share(bmp):
    """The share of pixels whose three channels are within 3 of each other."""
    out = subprocess.run(["convert", bmp, "-fx", "abs(r-g)<3/255 && abs(g-b)<3/255 ? 1 : 0", "-format",
                          "%[fx:mean]", "info:"], capture_output=True, text=True, check=True).stdout
    return float(out)


def main():
    tree = GameTree(build_dir(), settings_text="[preferencias]\nmap_name=Prueba\nmap_seed=1\n")
    script = os.path.join(tree.root, "stalagmites.txt")
    trace = os.path.join(tree.root, "trace.jsonl")
    with open(script, "w") as f:
        f.write(SCRIPT)
    try:
        tree.start(["--script", script, "--dt", "0.016666666666666666", "--trace", trace, "--trace-every", "1",
                    "--frames", "1200", "--fast-forward", "490"])
        code = tree.wait(timeout=280)
        assert code == 0, tree.output()[1]
        with open(trace) as f:
            frames = [json.loads(line) for line in f]
        folder = os.path.join(tree.data, "Screenshots")
        shots = [os.path.join(folder, name) for name in os.listdir(folder)]
        assert len(shots) == 2, shots
        greys = sorted(grey_share(s) for s in shots)
    finally:
        tree.cleanup()

    low = next(t for t in frames if t["player"]["health"] <= 10)
    dead = next(t for t in frames if t["player"]["dead"])
    menu = next(t for t in frames if t["state"] == 100)
    assert low["frame"] < dead["frame"] < menu["frame"], (low["frame"], dead["frame"], menu["frame"])
    # The death timer runs from the frame of death itself, that frame included.
    assert 10.0 <= (menu["frame"] - dead["frame"] + 1) / 60.0 <= 10.5, (dead["frame"], menu["frame"])
    assert frames[-1]["frame"] == 1200 and frames[-1]["state"] == 100, "the frames go on in the main menu"
    assert greys[0] > 0.9, "at 4 health the world is grey: %s" % greys
    print("ok", low["frame"], dead["frame"], menu["frame"], greys)


if __name__ == "__main__":
    main()
    sys.exit(0)
