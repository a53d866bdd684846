"""velkaran-sim's replays: a game recorded with --record and played again with --replay
gives the direct run's trace line for line; --verify prints the time the game stored as
the record of a won game (exit 0), says how a lost one ended (exit 1), and follows the
recorded clock; damaged files and later versions are one line on standard error and
exit status 2."""
import importlib.util
import json
import os
import re
import struct
import subprocess
import sys
import tempfile
import time

from harness import build_dir

HERE = os.path.dirname(os.path.abspath(__file__))


def sim(*args):
    return subprocess.run([os.path.join(build_dir(), "bin", "velkaran-sim"), *args], capture_output=True, text=True,
                          timeout=300)


def death_script():
    spec = importlib.util.spec_from_file_location("test_death", os.path.join(HERE, "test_death.py"))
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module.SCRIPT


def escape_seconds(trace_lines, dt):
    """The record time of the game traced every frame: the test clock (the frame times,
    each a float, summed as doubles) in whole seconds at the frame the escape began,
    less its whole seconds at the first frame, when the game started."""
    step = struct.unpack("f", struct.pack("f", dt))[0]
    first = next(json.loads(line)["frame"] for line in trace_lines if json.loads(line)["escapeStage"] >= 1)
    clock = 0.0
    for _ in range(first):
        clock += step
    return int(clock) - int(step)


def expect_refused(args, message):
    run = sim(*args)
    assert run.returncode == 2, (args, run.returncode, run.stderr)
    assert run.stdout == "", (args, run.stdout[:200])
    err = run.stderr.splitlines()
    assert len(err) == 1 and err[0].startswith("velkaran-sim: ") and message in err[0], (args, run.stderr)


def main():
    with tempfile.TemporaryDirectory() as root:
        # The bot's whole won game, recorded while it is traced.
        won = os.path.join(root, "bot1.replay")
        direct = sim("1", "--bot", "--frames", "60000", "--trace-every", "1", "--record", won)
        assert direct.returncode == 0, direct.stderr
        size = os.path.getsize(won)
        assert size < 400_000, size
        with open(won) as f:
            text = f.read()
        assert text.startswith("velkaran-replay 1 game=") and " seed=1 " in text.splitlines()[0], text[:200]
        assert text.endswith("draws=%d\n" % json.loads(direct.stdout.splitlines()[-1])["draws"]), text[-100:]

        replay = sim("--replay", won, "--trace-every", "1")
        assert replay.returncode == 0 and replay.stderr == "", replay.stderr
        assert replay.stdout == direct.stdout, "the replay's trace differs from the direct run's"
        start = time.monotonic()
        assert sim("--replay", won).returncode == 0
        print("replayed %d frames untraced in %.2f s" % (len(replay.stdout.splitlines()), time.monotonic() - start))

        # Part of it: the same first frames, the last one traced.
        part = sim("--replay", won, "--frames", "250", "--trace-every", "100")
        assert part.returncode == 0, part.stderr
        assert part.stdout.splitlines() == [direct.stdout.splitlines()[k] for k in (99, 199, 249)]
        start_only = sim("--replay", won, "--frames", "0")
        assert [json.loads(line)["frame"] for line in start_only.stdout.splitlines()] == [0]

        # The record time the game stored for it.
        verify = sim("--verify", won)
        t = escape_seconds(direct.stdout.splitlines(), 1.0 / 60.0)
        shown = "%dh %dm %ds" % (t // 3600, t // 60 % 60, t % 60)
        assert verify.returncode == 0, (verify.returncode, verify.stderr)
        assert verify.stdout == "fortress Userof (seed 1): escaped in %s, a new record (it was 2h 0m 0s)\n" % shown, \
            (verify.stdout, shown)

        # The clock is the one recorded, not the frame times summed: a game held 100 s by
        # a dialog before its 60th second escapes 100 s later.
        held = os.path.join(root, "held.replay")
        with open(held, "w") as f:
            f.write(re.sub(r"@(\d+)", lambda m: "@%d" % (int(m.group(1)) + (100 if int(m.group(1)) >= 60 else 0)),
                           text))
        t_held = t + 100
        run = sim("--verify", held)
        assert run.returncode == 0 and ("escaped in %dh %dm %ds" % (t_held // 3600, t_held // 60 % 60, t_held % 60)) \
            in run.stdout, run.stdout
        # Beaten only when better than the record it was played against.
        slower = os.path.join(root, "slower.replay")
        with open(slower, "w") as f:
            f.write(text.replace(" record=2:0:0 ", " record=0:1:0 ", 1))
        run = sim("--verify", slower)
        assert run.returncode == 0 and run.stdout.endswith(", not better than the record 0h 1m 0s\n"), run.stdout

        # Whatever bytes the fortress name holds, the verdict stays one line.
        odd = os.path.join(root, "odd.replay")
        with open(odd, "w") as f:
            f.write(text.replace(" name=Userof ", " name=Us%0Aer%00of%E9 ", 1))
        run = sim("--verify", odd)
        assert run.returncode == 0 and run.stdout.startswith("fortress Us?er?of\u00e9 (seed 1): escaped in ") and \
            run.stdout.count("\n") == 1, run.stdout

        # A scripted game that ends in death: its replay is the same, and it did not escape.
        script = os.path.join(root, "death.txt")
        with open(script, "w") as f:
            f.write(death_script())
        died = os.path.join(root, "death.replay")
        direct = sim("1", "--script", script, "--dt", "0.016666666666666666", "--frames", "1500", "--trace-every", "1",
                     "--record", died)
        assert direct.returncode == 0, direct.stderr
        replay = sim("--replay", died, "--trace-every", "1")
        assert replay.returncode == 0 and replay.stdout == direct.stdout, replay.stderr
        frames = len(direct.stdout.splitlines())
        run = sim("--verify", died)
        assert run.returncode == 1 and run.stdout == "fortress Userof (seed 1): not escaped (died after %d frames)\n" \
            % frames, run.stdout

        # Killed while it was written: the file is its complete lines, and still plays.
        cut = os.path.join(root, "cut.replay")
        with open(cut, "w") as f:
            f.write(text[:len(text) // 2])
        run = sim("--replay", cut)
        assert run.returncode == 0 and run.stderr == "", run.stderr
        run = sim("--verify", cut)
        assert run.returncode == 1 and "not escaped (still playing after" in run.stdout, run.stdout

        # Played by a build whose rules part from the recording's: said, and still played.
        parted = os.path.join(root, "parted.replay")
        with open(parted, "w") as f:
            f.write(text.replace("end escape frames=", "end death frames=", 1))
        run = sim("--replay", parted)
        assert run.returncode == 0 and "the replay parted from the recorded game (recorded: death after" in run.stderr, \
            run.stderr

        # Damage, later versions and files that are no replay.
        lines = text.splitlines(keepends=True)
        cases = {
            "newer.replay": ("velkaran-replay 2 game=0.2 seed=1 whatever\n",
                             "replay format version '2' is newer than this build reads (1)"),
            "other.replay": ("# a script, not a replay\n0 keydown w\n", "not a replay file"),
            "empty.replay": ("", "not a replay file"),
            "event.replay": (lines[0] + "0.016666668 +w\n= +jump\n", "line 3: bad event '+jump'"),
            "count.replay": ("".join(lines[:-1]) + lines[-1].replace("frames=", "frames=1"),
                             "line %d: the end line counts" % len(lines)),
            "header.replay": (lines[0].replace(" look=1 ", " look=-1 "), "line 1: bad value for look"),
            "start.replay": (lines[0].replace(" draws=", " draws=1"), "the recorded game began 1"),
        }
        for name, (content, message) in cases.items():
            path = os.path.join(root, name)
            with open(path, "w") as f:
                f.write(content)
            for mode in ("--replay", "--verify"):
                expect_refused([mode, path], path + ": " + message)
        expect_refused(["--replay", os.path.join(root, "absent.replay")], "absent.replay: cannot read the file")

        # A replay brings its own seed and options.
        for args, message in [
            (["1", "--replay", won], "--replay takes the seed from the replay"),
            (["--replay", won, "--bot"], "--replay does not go with --bot"),
            (["--replay", won, "--dt", "0.1"], "--replay does not go with --dt"),
            (["--verify", won, "--frames", "10"], "--verify does not go with --frames"),
            (["--verify", won, "--replay", won], "does not go with"),
            (["1", "--record", os.path.join(root, "no", "folder", "x.replay")], "cannot write the replay"),
            (["1", "--record", ""], "empty file name for --record"),
        ]:
            expect_refused(args, message)
    print("ok")


if __name__ == "__main__":
    main()
    sys.exit(0)
