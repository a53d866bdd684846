"""The game's command line as a user meets it: help and version stand alone, every
mistake is one line on standard error and exit status 2 before a window opens (an
endless script, a frame time that is 0 as a float, a trace file that cannot be
written), and a script can come from standard input."""
import json
import os
import subprocess
import sys
import time

from harness import GameTree, build_dir


def main():
    tree = GameTree(build_dir())
    game = os.path.join(tree.bin, "velkaran")
    # Without a display: none of these may get as far as a window.
    headless = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    headless["SDL_AUDIODRIVER"] = "dummy"
    try:
        for args, message in [
            (["--version", "extra"], "unexpected argument 'extra'"),
            (["--help", "--bogus"], "unknown option '--bogus'"),
            (["--frames", "5", "--help"], "--help takes no other arguments"),
            (["--dt", "1e-300"], "bad frame time for --dt: '1e-300'"),
            (["--script", "/dev/zero"], "/dev/zero: longer than a script may be"),
            (["--script", os.devnull, "--frames", "3", "--trace", os.path.join(tree.root, "none", "t.jsonl")],
             "Unable to write the trace file"),
        ]:
            started = time.time()
            run = subprocess.run([game, *args], cwd=tree.bin, env=headless, capture_output=True, text=True,
                                 timeout=60)
            assert run.returncode == 2, (args, run.returncode, run.stderr)
            assert run.stdout == "" and run.stderr.count("\n") == 1 and message in run.stderr, (args, run.stderr)
            assert time.time() - started < 20, (args, "took %.1f s" % (time.time() - started))

        run = subprocess.run([game, "--script", "-"], cwd=tree.bin, env=headless, input="0 keydown ctrl\n",
                             capture_output=True, text=True, timeout=60)
        assert run.returncode == 2 and "standard input: line 1: unknown key 'ctrl'" in run.stderr, run.stderr

        # A script on standard input plays, as --help offers.
        trace = os.path.join(tree.root, "trace.jsonl")
        env = dict(os.environ, SDL_AUDIODRIVER="dummy")
        run = subprocess.run([game, "--script", "-", "--dt", "0.02", "--frames", "30", "--trace", trace],
                             cwd=tree.bin, env=env, input="0 keydown w\n", capture_output=True, text=True,
                             timeout=240)
        assert run.returncode == 0, run.stderr
        with open(trace) as f:
            lines = [json.loads(line) for line in f]
        assert len(lines) == 30 and lines[-1]["state"] == 101, len(lines)
        assert lines[-1]["player"]["pos"] != lines[0]["player"]["pos"], "W from standard input walked"
    finally:
        tree.cleanup()
    print("ok")


if __name__ == "__main__":
    main()
    sys.exit(0)
