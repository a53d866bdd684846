"""A game played through real input (synthetic X keyboard and mouse, so the frame times
vary) with --trace and --record: its replay played by velkaran-sim --replay and by
velkaran --replay --trace gives the game's own trace line for line. The run's second
game goes into Data/Replays/ under the date, time and fortress; it began from another
random-engine count than a fresh start-up, so a replayer refuses it (exit 2)."""
import json
import os
import re
import subprocess
import sys
import time

from harness import GameTree, build_dir
from test_menus import QUIT, START, Menus, wait_until, xdotool

SEED = 4242
PLAYING = 101


TRACE = None  # the running game's trace: a pause lasts a few of its frames, however slow the machine


def pause(seconds):
    """At least the time, and at least a few frames of the game."""
    def frames():
        with open(TRACE) as f:
            return sum(1 for _ in f)
    start = frames()
    time.sleep(seconds)
    wait_until("the game to run on", lambda: frames() >= start + max(2, int(seconds * 20)), timeout=60)


def play(menus):
    """A few seconds of play: walking, turning, firing, the flashlight, the other gun,
    the scope, and the Escape question answered No once."""
    xdotool("keydown", "w")
    for k in range(12):
        xdotool("mousemove_relative", "--", str(15 + 5 * k), str(-3 if k % 2 else 4))
        pause(0.07 + 0.02 * (k % 3))
    xdotool("click", "1")
    pause(0.3)
    xdotool("keydown", "shift")
    pause(0.6)
    xdotool("keyup", "shift")
    xdotool("key", "f")
    pause(0.2)
    xdotool("keyup", "w")
    xdotool("key", "q")
    pause(0.4)
    xdotool("mousedown", "3")
    xdotool("mousemove_relative", "--", "-40", "10")
    pause(0.3)
    xdotool("click", "1")
    xdotool("mouseup", "3")
    xdotool("keydown", "a")
    pause(0.5)
    xdotool("keyup", "a")
    xdotool("key", "space")
    pause(0.3)
    xdotool("key", "Escape")
    menus.answer_box("Escape")  # No: play goes on, the frame after the box is a long one
    wait_until("the pointer to be captured again", menus.captured)
    xdotool("keydown", "d")
    pause(0.4)
    xdotool("keyup", "d")


def leave(menus):
    xdotool("key", "Escape")
    menus.answer_box("Return")  # Yes: back to the main menu
    wait_until("the pointer to be released", lambda: not menus.x.pointer_grabbed())


def read_lines(path):
    with open(path) as f:
        return f.read().splitlines()


def game_part(lines):
    """The traced frames of the first game, from the click's frame to the Yes, renumbered
    from 1 as a replay counts them; and the frame number of its first."""
    states = [json.loads(line)["state"] for line in lines]
    first = states.index(PLAYING)
    last = first
    while states[last] == PLAYING:
        last += 1
    offset = json.loads(lines[first])["frame"] - 1
    part = [re.sub(r'^\{"frame": (\d+)', lambda m: '{"frame": %d' % (int(m.group(1)) - offset), line)
            for line in lines[first:last + 1]]
    return part, offset


def main():
    build = build_dir()
    tree = GameTree(build, settings_text="[preferencias]\nmap_name=Prueba\nmap_seed=%d\n"
                                         "window_resolution=640x400\n" % SEED)
    global TRACE
    trace = TRACE = os.path.join(tree.root, "game.trace")
    recorded = os.path.join(tree.root, "first.replay")
    steps = set()
    try:
        tree.start(["--trace", trace, "--record", recorded])
        menus = Menus(tree, None)
        wait_until("the fortress identity", lambda: "map_seed" in tree.read_settings(), timeout=60)
        menus.focus()
        menu = os.path.join(tree.data, "Textures", "Main_menu.png")
        wait_until("the main menu picture", lambda: tree.difference_from(menus.window, menu) <= 0.05, timeout=90)
        wait_until("the menu to leave the pointer free", lambda: not menus.captured(), timeout=30)

        menus.click(START)
        wait_until("the pointer to be captured", menus.captured)
        play(menus)
        leave(menus)
        # A second game of the run, recorded in the player's files.
        menus.click(START)
        wait_until("the pointer to be captured", menus.captured)
        xdotool("keydown", "w")
        pause(0.5)
        xdotool("keyup", "w")
        leave(menus)
        menus.click(QUIT)
        code = tree.wait(timeout=30)
        assert code == 0, "exit code %s: %s" % (code, tree.output()[1])
        menus.x.close()

        game, offset = game_part(read_lines(trace))
        assert offset > 0, "the menu ran frames before the click"
        with open(recorded) as f:
            text = f.read()
        header = text.splitlines()[0]
        assert " seed=%d " % SEED in header and " name=Prueba " in header and " window=640x400 " in header, header
        assert text.splitlines()[-1] == "end left frames=%d draws=%s" % (
            len(game), json.loads(game[-1])["draws"]), text.splitlines()[-1]
        # The window's own frame clock (the box held one frame for long).
        steps = {line.split()[0] for line in text.splitlines()[1:-1] if line[0] not in "=*"}
        assert len(steps) >= 2, "real frame times vary: %s" % sorted(steps)[:10]
        assert re.search(r" @[1-9]", text), "the clock was recorded"

        sim = subprocess.run([os.path.join(build, "bin", "velkaran-sim"), "--replay", recorded, "--trace-every", "1"],
                             capture_output=True, text=True, timeout=120)
        assert sim.returncode == 0 and sim.stderr == "", (sim.returncode, sim.stderr)
        sim_lines = sim.stdout.splitlines()
        assert len(sim_lines) == len(game), (len(sim_lines), len(game))
        for k, (g, s) in enumerate(zip(game, sim_lines)):
            assert g == s, "frame %d differs:\ngame %s\nsim  %s" % (k + 1, g[:1500], s[:1500])

        # The same replay watched in the window: the same lines again.
        watched = os.path.join(tree.root, "watched.trace")
        tree.start(["--replay", recorded, "--trace", watched, "--frames", str(len(game))])
        code = tree.wait(timeout=200)
        assert code == 0, "exit code %s: %s" % (code, tree.output()[1])
        window_lines = read_lines(watched)
        assert len(window_lines) == len(game), (len(window_lines), len(game))
        for k, (w, s) in enumerate(zip(window_lines, sim_lines)):
            assert w == s, "frame %d differs:\nwindow %s\nsim    %s" % (k + 1, w[:1500], s[:1500])

        # The second game, in the player's files.
        names = os.listdir(tree.replays)
        assert len(names) == 1 and re.fullmatch(r"\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d_Prueba\.replay", names[0]), names
        later = subprocess.run([os.path.join(build, "bin", "velkaran-sim"), "--replay",
                                os.path.join(tree.replays, names[0])], capture_output=True, text=True, timeout=120)
        assert later.returncode == 2 and "a later game of its run" in later.stderr, (later.returncode, later.stderr)
    except Exception:
        if tree.process is not None and tree.process.poll() is None:
            tree.process.kill()
            tree.process.wait()
        if tree.process is not None:
            sys.stderr.write("game output: %r\n" % (tree.output(),))
        raise
    finally:
        tree.cleanup()
    print("%d frames identical in the game, the sim's replay and the window's replay (%d time steps)"
          % (len(game), len(steps)))


if __name__ == "__main__":
    main()
    sys.exit(0)
