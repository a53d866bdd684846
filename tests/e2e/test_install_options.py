"""The player's option lines of the settings file in the running game: fullscreen=1
covers the display whatever window_resolution= asks for, and under the test aids
mouse_sensitivity=, invert_y=, the key lines and vsync= change nothing of the game, so
its trace still equals the headless game's; a key line that cannot be used is one line
on standard error."""
import os
import subprocess
import sys

from harness import GameTree, build_dir

SEED = 5150
FRAMES = 40
SCRIPT = "\n".join(["%d motion %d %d" % (2 + k, 30 * (k + 1), 7 * k) for k in range(20)] +
                   ["25 keydown w", "35 keyup w", ""])


def window_size(tree):
    window = tree.window_id()
    geometry = subprocess.run(["xdotool", "getwindowgeometry", window], capture_output=True, text=True).stdout
    display = subprocess.run(["xdpyinfo"], capture_output=True, text=True).stdout
    screen = display.split("dimensions:")[1].split()[0]
    return geometry.split("Geometry:")[1].split()[0], screen


def fullscreen_covers_the_display(build):
    for text, fullscreen in (("window_resolution=1024x640\nfullscreen=1\n", True),
                             ("window_resolution=1024x640\nfullscreen=0\n", False)):
        tree = GameTree(build, settings_text=text)
        try:
            tree.start()
            size, screen = window_size(tree)
            assert size == (screen if fullscreen else "1024x640"), (text, size, screen)
            assert tree.terminate() == 0
        finally:
            tree.cleanup()


def player_lines_are_left_out_under_a_script(build):
    tree = GameTree(build, settings_text="mouse_sensitivity=4\nmaster_volume=20\ninvert_y=1\nvsync=1\n"
                                         "key_forward=E\nkey_jump=Banana\nstick_sensitivity=3\n"
                                         "[preferencias]\nmap_name=Prueba\nmap_seed=%d\n" % SEED)
    script = os.path.join(tree.root, "look.txt")
    trace = os.path.join(tree.root, "trace.jsonl")
    with open(script, "w") as f:
        f.write(SCRIPT)
    try:
        tree.start(["--script", script, "--dt", "0.02", "--trace", trace, "--frames", str(FRAMES)])
        assert tree.wait(timeout=200) == 0, tree.output()[1]
        errors = tree.output()[1].splitlines()
        complaints = [line for line in errors if "key_" in line]
        # A display without swap control (Xvfb's) says so once; the game goes on.
        vsync = [line for line in errors if "vsync" in line]
        with open(trace) as f:
            game = f.read().splitlines()
        sim = subprocess.run([os.path.join(build, "bin", "velkaran-sim"), str(SEED), "--script", script, "--dt", "0.02",
                              "--trace-every", "1", "--frames", str(FRAMES)], capture_output=True, text=True,
                             timeout=60)
        assert sim.returncode == 0, sim.stderr
    finally:
        tree.cleanup()
    assert complaints == ["velkaran: key_jump=Banana ignored: no key has that name "
                          "(SDL's key names: E, Left Ctrl, Keypad 8, ...)"], complaints
    assert len(vsync) <= 1 and all(v.startswith("velkaran: vsync=1 is not available here: ") for v in vsync), vsync
    assert len(game) == FRAMES
    assert game == sim.stdout.splitlines(), "the traces differ"
    assert game[0].split('"front": ')[1][:40] != game[-1].split('"front": ')[1][:40], "the script turned the view"


def main():
    build = build_dir()
    fullscreen_covers_the_display(build)
    player_lines_are_left_out_under_a_script(build)
    print("ok")


if __name__ == "__main__":
    main()
    sys.exit(0)
