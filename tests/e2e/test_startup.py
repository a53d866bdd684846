"""The real binary starts into the main menu, stays responsive, writes a fortress
identity when none is stored, and ends with exit code 0 on SIGTERM."""
import os
import re
import subprocess
import sys
import time

from harness import GameTree, build_dir


def main():
    tree = GameTree(build_dir(), settings_text="; kept\r\nwindow_resolution=1024x640\r\n")
    try:
        tree.start()
        window = tree.window_id()
        geometry = subprocess.run(["xdotool", "getwindowgeometry", window], capture_output=True, text=True).stdout
        assert "1024x640" in geometry, "the configured size is used when smaller than the display: " + geometry
        # The identity is written during start-up; give the loop time to run frames.
        deadline = time.time() + 60
        while "map_seed" not in tree.read_settings() and time.time() < deadline:
            time.sleep(0.2)
        # The main menu is running once its picture fills the window (the badge and the
        # indicator aside), rather than the loading picture or a black frame.
        menu = os.path.join(tree.data, "Textures", "Main_menu.png")
        loading = os.path.join(tree.data, "Textures", "loading_screen.png")
        deadline = time.time() + 60
        while tree.difference_from(window, menu) > 0.05 and time.time() < deadline:
            time.sleep(0.5)
        assert tree.difference_from(window, menu) <= 0.05, "the main menu picture never filled the window"
        assert tree.difference_from(window, loading) > 0.1, "the comparison tells the screens apart"
        assert tree.process.poll() is None, "game exited on its own"
        code = tree.terminate()
        assert code == 0, "exit code %s" % code
        text = tree.read_settings()
        name = re.search(r"^map_name=([A-Za-z]+)\r?$", text, re.M)
        seed = re.search(r"^map_seed=(\d+)\r?$", text, re.M)
        assert name and 6 <= len(name.group(1)) <= 10, text
        assert seed and int(seed.group(1)) != 0, text
        assert "; kept\r\nwindow_resolution=1024x640\r\n" in text, "other lines kept: " + text
    finally:
        tree.cleanup()
    print("ok")


if __name__ == "__main__":
    sys.exit(main())
