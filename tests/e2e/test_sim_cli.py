"""velkaran-sim's command line: the trace's form, the end of a run, and bad input,
which gives one line on standard error and exit status 2 before anything runs."""
import json
import os
import subprocess
import sys
import tempfile

from harness import build_dir

TRACE_KEYS = ["frame", "state", "player", "enemies", "storm", "light", "escapeStage", "message", "messageTimer",
              "draws"]
PLAYER_KEYS = ["pos", "front", "cell", "health", "dead", "weapon", "ammo", "flashlight", "scoped", "inventory",
               "escaping"]


def sim(*args, stdin=None):
    return subprocess.run([os.path.join(build_dir(), "bin", "velkaran-sim"), *args], capture_output=True, text=True,
                          input=stdin, timeout=120)


def main():
    # Start-up only: frame 0 in the main menu, every key in order, all 60 drones.
    run = sim("77", "--frames", "0")
    assert run.returncode == 0, run.stderr
    lines = run.stdout.splitlines()
    assert len(lines) == 1, lines
    t = json.loads(lines[0])
    assert list(t) == TRACE_KEYS and list(t["player"]) == PLAYER_KEYS, list(t)
    assert (t["frame"], t["state"]) == (0, 100)
    assert len(t["enemies"]["list"]) == 60 and t["light"]["target"] == 0
    assert t["draws"] > 0, "the start-up draws from the engine"

    # A script from standard input, traced every 100 frames and after the last.
    run = sim("77", "--frames", "250", "--trace-every", "100", "--script", "-", stdin="0 keydown w\n200 keyup w\n")
    frames = [json.loads(line)["frame"] for line in run.stdout.splitlines()]
    assert run.returncode == 0 and frames == [100, 200, 250], (frames, run.stderr)

    with tempfile.TemporaryDirectory() as root:
        bad_script = os.path.join(root, "bad.txt")
        with open(bad_script, "w") as f:
            f.write("# fine\n0 keydown w\n3 keydown ctrl\n")
        cases = [
            (["abc"], "bad seed 'abc'"),
            (["4294967296"], "bad seed"),
            ([], "missing SEED"),
            (["1", "--speed", "2"], "unknown option '--speed'"),
            (["1", "--frames", "-5"], "bad count for --frames"),
            (["1", "--dt"], "missing value for --dt"),
            (["1", "--dt", "1e-300"], "bad frame time for --dt: '1e-300'"),  # 0 as the float frame time
            (["1", "--script", bad_script], bad_script + ": line 3: "),
            (["1", "--script", os.path.join(root, "absent.txt")], "absent.txt"),
            (["1", "--script", "/dev/zero"], "/dev/zero: longer than a script may be"),
            (["--help", "1"], "--help takes no other arguments"),
        ]
        for args, message in cases:
            run = sim(*args)
            assert run.returncode == 2, (args, run.returncode)
            assert run.stdout == "", (args, run.stdout[:200])
            err = run.stderr.splitlines()
            assert len(err) == 1 and err[0].startswith("velkaran-sim: ") and message in err[0], (args, run.stderr)
        # A script from standard input names it in its errors.
        run = sim("1", "--script", "-", stdin="0 keydown ctrl\n")
        assert run.returncode == 2 and run.stderr == "velkaran-sim: standard input: line 1: unknown key 'ctrl'\n", \
            run.stderr

    run = sim("--help")
    assert run.returncode == 0 and run.stderr == "", run
    assert run.stdout.startswith("usage: velkaran-sim SEED "), run.stdout

    # The bot's exit status says whether it won: not in ten frames.
    assert sim("77", "--bot", "--frames", "10").returncode == 1
    print("ok")


if __name__ == "__main__":
    main()
    sys.exit(0)
