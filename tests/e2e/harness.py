"""Helpers for end-to-end tests: run the real game binary in a private copy of the
runnable tree under the X display the test command started."""
import argparse
import os
import shutil
import signal
import subprocess
import tempfile
import time


def build_dir():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", required=True)
    args, _ = parser.parse_known_args()
    return os.path.abspath(args.build)


class GameTree:
    """A temporary <root>/bin + <root>/Data whose read-only parts link to the build,
    with its own Settings/, Screenshots/ and Replays/, so a test never touches the
    build's settings file or recorded games."""

    def __init__(self, build, settings_text=None):
        self.root = tempfile.mkdtemp(prefix="velkaran-e2e-")
        self.bin = os.path.join(self.root, "bin")
        self.data = os.path.join(self.root, "Data")
        os.makedirs(self.bin)
        os.makedirs(self.data)
        os.symlink(os.path.join(build, "bin", "velkaran"), os.path.join(self.bin, "velkaran"))
        for entry in os.listdir(os.path.join(build, "Data")):
            if entry not in ("Settings", "Screenshots", "Replays"):
                os.symlink(os.path.join(build, "Data", entry), os.path.join(self.data, entry))
        os.makedirs(os.path.join(self.data, "Settings"))
        os.makedirs(os.path.join(self.data, "Screenshots"))
        self.replays = os.path.join(self.data, "Replays")
        self.settings = os.path.join(self.data, "Settings", "Settings.ini")
        if settings_text is not None:
            with open(self.settings, "wb") as f:
                f.write(settings_text.encode("cp1252"))
        self.process = None

    def start(self, args=()):
        env = dict(os.environ)
        env.setdefault("SDL_AUDIODRIVER", "dummy")
        # Files, not pipes: an unread pipe fills up and blocks the game's diagnostics.
        self.stdout_path = os.path.join(self.root, "stdout.txt")
        self.stderr_path = os.path.join(self.root, "stderr.txt")
        with open(self.stdout_path, "wb") as out, open(self.stderr_path, "wb") as err:
            self.process = subprocess.Popen(["./velkaran", *args], cwd=self.bin, env=env, stdout=out, stderr=err)
        return self.process

    def output(self):
        with open(self.stdout_path, "rb") as out, open(self.stderr_path, "rb") as err:
            return out.read().decode(errors="replace"), err.read().decode(errors="replace")

    def window_id(self, timeout=60):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if self.process.poll() is not None:
                raise AssertionError("game exited early with %s: %s" % (self.process.returncode, self.output()[1]))
            out = subprocess.run(["xdotool", "search", "--name", "^Velkaran$"], capture_output=True, text=True)
            ids = out.stdout.split()
            if ids:
                return ids[0]
            time.sleep(0.2)
        raise AssertionError("no game window within %d s" % timeout)

    def difference_from(self, window, picture):
        """Root-mean-square difference (0 ... 1) between the window's content and a
        picture of the data tree scaled to the window's size."""
        shot = os.path.join(self.root, "window.png")
        subprocess.run(["import", "-window", window, shot], check=True)
        size = subprocess.run(["identify", "-format", "%wx%h", shot], capture_output=True, text=True,
                              check=True).stdout.strip()
        scaled = os.path.join(self.root, "expected.png")
        subprocess.run(["convert", picture, "-resize", size + "!", "-alpha", "off", scaled], check=True)
        out = subprocess.run(["compare", "-metric", "RMSE", "-alpha", "off", shot, scaled, "null:"],
                             capture_output=True, text=True)
        return float(out.stderr.split("(")[1].split(")")[0])

    def wait_for_file(self, path, timeout=60):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if os.path.exists(path):
                return
            time.sleep(0.2)
        raise AssertionError("%s not written within %d s" % (path, timeout))

    def terminate(self, timeout=20):
        self.process.send_signal(signal.SIGTERM)
        return self.wait(timeout)

    def wait(self, timeout=20):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            raise AssertionError("game did not exit within %d s" % timeout)

    def read_settings(self):
        with open(self.settings, "rb") as f:
            return f.read().decode("cp1252")

    def cleanup(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        shutil.rmtree(self.root, ignore_errors=True)
