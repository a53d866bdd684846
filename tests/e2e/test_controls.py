"""The controls as a player on a French keyboard meets them, in the real binary played
by hand (xdotool) with its trace: on the AZERTY layout the key in the W position, which
is labelled Z there, walks forward and the key labelled W does nothing; moving the focus
to another program's window (as alt-tab does) stops the game's state frame after frame
and frees the pointer; a click into the game's window resumes it."""
import json
import os
import re
import subprocess
import sys
import time

from harness import GameTree, build_dir
from xprobe import Display


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True, check=True).stdout


def wait_until(what, predicate, timeout=30):
    deadline = time.time() + timeout
    while time.time() < deadline:
        if predicate():
            return
        time.sleep(0.1)
    raise AssertionError("timed out waiting for: " + what)


class Trace:
    def __init__(self, path):
        self.path = path

    def lines(self):
        if not os.path.exists(self.path):
            return []
        with open(self.path) as f:
            text = f.read()
        # The last line may still be being written.
        return [json.loads(line) for line in text.split("\n")[:-1] if line]

    def last(self):
        lines = self.lines()
        return lines[-1] if lines else None


def state_of(line):
    """A trace line without its frame count."""
    return {k: v for k, v in line.items() if k != "frame"}


def hold(key, seconds):
    xdotool("keydown", key)
    time.sleep(seconds)
    xdotool("keyup", key)
    time.sleep(0.5)  # a few frames at the slowest


def forward_step(a, b, front):
    return (b[0] - a[0]) * front[0] + (b[2] - a[2]) * front[2]


def current_layout():
    out = subprocess.run(["setxkbmap", "-query"], capture_output=True, text=True, check=True).stdout
    return re.search(r"^layout:\s*(\S+)", out, re.M).group(1)


def main():
    # The server goes back to its own keymap when its last client leaves: this one stays
    # connected until the layout is restored.
    x = Display()
    layout = current_layout()
    subprocess.run(["setxkbmap", "fr"], check=True)
    assert current_layout() == "fr", "the display took the French layout"
    tree = GameTree(build_dir(), settings_text="window_resolution=1024x640\r\n[preferencias]\r\n"
                                               "map_name=Prueba\r\nmap_seed=12345\r\n")
    trace = Trace(os.path.join(tree.root, "trace.jsonl"))
    try:
        # No script: the keyboard and the mouse play, and the trace follows every frame.
        tree.start(["--trace", trace.path])
        window = tree.window_id()
        geometry = dict(line.split("=", 1) for line in xdotool("getwindowgeometry", "--shell", window).split())
        width, height = int(geometry["WIDTH"]), int(geometry["HEIGHT"])
        wait_until("the main menu's frames", lambda: (trace.last() or {}).get("state") == 100, timeout=120)
        wait_until("the menu to leave the pointer free", lambda: not x.pointer_grabbed(), timeout=60)
        xdotool("windowfocus", "--sync", window)
        # Button 1 of the main menu (34-66 % across, 37-46 % down).
        xdotool("mousemove", "--window", window, str(width // 2), str(int(height * 0.415)))
        time.sleep(0.3)
        xdotool("click", "1")
        wait_until("play", lambda: trace.last()["state"] == 101, timeout=60)
        wait_until("the pointer to be captured", x.pointer_grabbed)
        time.sleep(0.5)

        # AZERTY: the key labelled W sits where a US keyboard has Z, and does not walk.
        start = trace.last()["player"]
        hold("w", 0.6)
        after_w = trace.last()["player"]
        assert after_w["pos"] == start["pos"], "the key labelled W walked: %s -> %s" % (start["pos"], after_w["pos"])
        # The key labelled Z sits in the W position: forward.
        hold("z", 0.6)
        after_z = trace.last()["player"]
        step = forward_step(after_w["pos"], after_z["pos"], start["front"])
        assert step > 15, "the key in the W position moved %.1f units forward: %s -> %s" % (
            step, after_w["pos"], after_z["pos"])

        # Alt-tab: the keyboard focus goes to another program's window.
        other = x.other_window()
        xdotool("windowfocus", "--sync", other)
        wait_until("the pointer to be released", lambda: not x.pointer_grabbed(), timeout=20)
        time.sleep(0.5)
        first = trace.last()
        time.sleep(2.5)
        away = [t for t in trace.lines() if t["frame"] >= first["frame"]]
        assert len(away) >= 5, "the frames go on while away: %d" % len(away)
        assert all(t["state"] == 101 for t in away)
        changed = [t["frame"] for t in away if state_of(t) != state_of(first)]
        assert not changed, "the game ran on while away, frames %s" % changed[:5]
        assert not x.cursor_blank(), "the pointer is shown"

        # A click into the window comes back (a window manager would give it the focus too).
        xdotool("mousemove", "--window", window, str(width // 2), str(height // 2))
        time.sleep(0.3)
        xdotool("click", "1")
        xdotool("windowfocus", "--sync", window)
        wait_until("the pointer to be captured again", lambda: x.pointer_grabbed() and x.cursor_blank(), timeout=20)
        back = trace.last()["player"]
        assert back["ammo"] == first["player"]["ammo"], "the click that resumes fires no shot"
        hold("z", 0.4)
        resumed = trace.last()["player"]
        assert forward_step(back["pos"], resumed["pos"], back["front"]) > 5, "play goes on: %s -> %s" % (
            back["pos"], resumed["pos"])
        x.destroy_window(other)

        code = tree.terminate()
        assert code == 0, "exit code %s: %s" % (code, tree.output()[1])
    except Exception:
        if tree.process is not None:
            if tree.process.poll() is None:
                tree.process.kill()
                tree.process.wait()
            sys.stderr.write("game output: %r\n" % (tree.output(),))
        raise
    finally:
        subprocess.run(["setxkbmap", layout], check=False)
        x.close()
        tree.cleanup()
    print("ok")


if __name__ == "__main__":
    sys.exit(main())
