"""The main menu driven like a player would: hover and click to the about screen and
back, to the credits and back, start a game (the pointer is captured), Escape answered
No with the Escape key (play goes on, captured again, not paused by the box's taking the
focus) and then Yes with Return (back in the menu, pointer free), and quit with the quit
button: exit code 0. Optional --shots DIR keeps screenshots."""
import argparse
import os
import re
import subprocess
import sys
import time

from harness import GameTree, build_dir
from xprobe import Display

# Per cent rectangles (left, top, right, bottom) of the menu buttons.
START = (34, 37, 66, 46)
ABOUT = (34, 62, 65, 70)
CREDITS = (34, 73, 54, 81)
QUIT = (34, 86, 46, 94)
BACK = (4, 89, 17, 97)
FRAME = 0.25  # comfortably more than a few frames


def xdotool(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True, check=True).stdout


def wait_until(what, predicate, timeout=15):
    deadline = time.time() + timeout
    while time.time() < deadline:
        if predicate():
            return
        time.sleep(0.1)
    raise AssertionError("timed out waiting for: " + what)


def find_window(title):
    """The id of a top-level window by its exact title (the message box has no class,
    which xdotool's search does not find)."""
    tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True).stdout
    for line in tree.splitlines():
        m = re.match(r'\s+(0x[0-9a-f]+) "(.*)":', line)
        if m and m.group(2) == title:
            return m.group(1)
    return None


class Menus:
    def __init__(self, tree, shots):
        self.tree = tree
        self.shots = shots
        self.x = Display()
        self.window = tree.window_id()
        geometry = xdotool("getwindowgeometry", "--shell", self.window)
        values = dict(line.split("=", 1) for line in geometry.split())
        self.width, self.height = int(values["WIDTH"]), int(values["HEIGHT"])

    def shot(self, name):
        if self.shots:
            subprocess.run(["import", "-window", "root", os.path.join(self.shots, name + ".png")], check=False)

    def alive(self):
        return self.tree.process.poll() is None

    def focus(self):
        xdotool("windowfocus", "--sync", self.window)

    def click(self, rect):
        left, top, right, bottom = rect
        x = int((left + right) / 2 * self.width / 100)
        y = int((top + bottom) / 2 * self.height / 100)
        xdotool("mousemove", "--window", self.window, str(x), str(y))
        time.sleep(FRAME)
        xdotool("click", "1")
        time.sleep(FRAME)

    def captured(self):
        return self.x.pointer_grabbed() and self.x.cursor_blank()

    def answer_box(self, key, refocus=True):
        wait_until("the Cancelar partida box", lambda: find_window("Cancelar partida") is not None)
        box = find_window("Cancelar partida")
        assert not self.x.pointer_grabbed(), "the pointer is released while the box is open"
        self.shot("box-" + key)
        xdotool("windowfocus", "--sync", box)
        xdotool("key", key)
        wait_until("the box to close", lambda: find_window("Cancelar partida") is None)
        if refocus:
            self.focus()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--shots")
    args, _ = parser.parse_known_args()
    tree = GameTree(build_dir(), settings_text="window_resolution=1024x640\r\n")
    try:
        tree.start()
        menus = Menus(tree, args.shots)
        # Start-up writes the fortress identity before it enters the loop.
        wait_until("the fortress identity", lambda: "map_seed" in tree.read_settings(), timeout=60)
        menus.focus()
        # The world is still being built behind the loading picture (the pointer held)
        # for a while after that, longer on a busy machine: the menu is running once its
        # picture fills the window, and then the pointer is free.
        menu = os.path.join(tree.data, "Textures", "Main_menu.png")
        wait_until("the main menu picture", lambda: tree.difference_from(menus.window, menu) <= 0.05, timeout=90)
        wait_until("the menu to leave the pointer free", lambda: not menus.captured(), timeout=30)
        menus.shot("menu")

        for screen in (ABOUT, CREDITS):
            menus.click(screen)
            menus.shot("about" if screen is ABOUT else "credits")
            # The quit button is not live on this screen: a click there must not end the game.
            menus.click(QUIT)
            time.sleep(0.5)
            assert menus.alive(), "the quit button acted outside the main menu"
            menus.click(BACK)

        menus.click(START)
        wait_until("the pointer to be captured", menus.captured)
        menus.shot("playing")

        xdotool("key", "Escape")
        # No: play goes on. The game takes the focus back from the closed box itself: the
        # box's taking it is no player leaving, so play does not pause a moment later.
        menus.answer_box("Escape", refocus=False)
        wait_until("the pointer to be captured again", menus.captured)
        time.sleep(1.0)
        assert menus.captured(), "play paused after the question was answered No"
        assert menus.alive()

        xdotool("key", "Escape")
        menus.answer_box("Return")  # Yes: back to the main menu
        wait_until("the pointer to be released", lambda: not menus.x.pointer_grabbed())

        menus.click(QUIT)
        code = tree.wait(timeout=20)
        assert code == 0, "exit code %s" % code
        stdout = tree.output()[0]
        assert "FMOD ERROR" not in stdout, "every sound of the table loads on the dummy device: " + stdout
        menus.x.close()
    except Exception:
        if tree.process is not None and tree.process.poll() is None:
            tree.process.kill()
            tree.process.wait()
        if tree.process is not None:
            sys.stderr.write("game output: %r\n" % (tree.output(),))
        raise
    finally:
        tree.cleanup()
    print("ok")


if __name__ == "__main__":
    sys.exit(main())
