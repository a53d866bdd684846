"""Without a display the game cannot show anything or be quit by the player: it says
why on standard error and ends with status 1 instead of running on invisibly. On an
EGL context (SDL's offscreen driver), where GLEW reports that there is no GLX display
although GL works, the game runs and ends normally."""
import os
import subprocess
import sys
import time

from harness import GameTree, build_dir


def run_without_display(tree):
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER")}
    env["SDL_AUDIODRIVER"] = "dummy"
    result = subprocess.run(["./velkaran"], cwd=tree.bin, env=env, capture_output=True, timeout=60)
    err = result.stderr.decode(errors="replace")
    assert result.returncode == 1, "exit status %s, stderr: %s" % (result.returncode, err)
    assert "ERROR: SDL could not initialize, error: " in err, err
    assert err.rstrip().endswith("RENDERER ERROR: Unable to initialize SDL and OpenGL."), err
    assert not os.path.exists(tree.settings), "nothing was built or stored"


def run_on_egl(tree):
    env = dict(os.environ)
    env["SDL_VIDEODRIVER"] = "offscreen"
    env["SDL_AUDIODRIVER"] = "dummy"
    out = open(os.path.join(tree.root, "egl-stderr.txt"), "wb")
    process = subprocess.Popen(["./velkaran"], cwd=tree.bin, env=env, stdout=subprocess.DEVNULL, stderr=out)
    try:
        deadline = time.time() + 90
        while not (os.path.exists(tree.settings) and "map_seed" in tree.read_settings()) and time.time() < deadline:
            assert process.poll() is None, "the EGL run ended early with %s" % process.returncode
            time.sleep(0.3)
        time.sleep(1.0)
        assert process.poll() is None, "the EGL run ended early with %s" % process.returncode
        process.terminate()
        assert process.wait(timeout=60) == 0
    finally:
        if process.poll() is None:
            process.kill()
        out.close()
    with open(os.path.join(tree.root, "egl-stderr.txt"), "rb") as f:
        err = f.read().decode(errors="replace")
    assert "GLEW could not be initialized" not in err and "RENDERER ERROR" not in err, err


def main():
    tree = GameTree(build_dir())
    try:
        run_without_display(tree)
        run_on_egl(tree)
    finally:
        tree.cleanup()
    print("ok")


if __name__ == "__main__":
    sys.exit(main())
