"""Replays in the window: the bot's won game recorded by velkaran-sim plays in the game
(velkaran --replay) with the sim's trace line for line; the same game played in the
window from a script and recorded there is verified by velkaran-sim --verify with the
record time the game stored in its settings file; a damaged or later-version file is
one line on standard error and exit status 2, before any window."""
import os
import re
import subprocess
import sys

from harness import GameTree, build_dir

SEED = 1


def to_script(replay_text):
    """The replay's events as an input script (the bot presses keys, moves the pointer
    and uses the left button only)."""
    names = {"+": "keydown", "-": "keyup"}
    lines, frame = [], -1
    for line in replay_text.splitlines()[1:]:
        first = line.split()[0]
        if first == "end":
            break
        if first.startswith("*"):
            frame += int(first[1:])
            continue
        frame += 1
        for token in line.split()[1:]:
            if token.startswith("@"):
                continue
            if "," in token:
                lines.append("%d motion %s %s" % (frame, *token.split(",")))
            elif token[1:] == "left":
                lines.append("%d %s left" % (frame, "press" if token[0] == "+" else "release"))
            else:
                lines.append("%d %s %s" % (frame, names[token[0]], token[1:]))
    return "\n".join(lines) + "\n", frame + 1


def main():
    build = build_dir()
    sim_binary = os.path.join(build, "bin", "velkaran-sim")
    tree = GameTree(build)
    try:
        won = os.path.join(tree.root, "bot.replay")
        sim = subprocess.run([sim_binary, str(SEED), "--bot", "--frames", "60000", "--trace-every", "1", "--record", won],
                             capture_output=True, text=True, timeout=120)
        assert sim.returncode == 0, sim.stderr
        sim_lines = sim.stdout.splitlines()
        frames = len(sim_lines)

        # Watched in the window, the late part drawn (at the recorded pace).
        watched = os.path.join(tree.root, "watched.trace")
        tree.start(["--replay", won, "--trace", watched, "--fast-forward", str(frames - 120), "--frames", str(frames)])
        code = tree.wait(timeout=240)
        assert code == 0, "exit %s: %s" % (code, tree.output()[1])
        with open(watched) as f:
            window_lines = f.read().splitlines()
        assert len(window_lines) == frames, (len(window_lines), frames)
        for k, (w, s) in enumerate(zip(window_lines, sim_lines)):
            assert w == s, "frame %d differs:\nwindow %s\nsim    %s" % (k + 1, w[:1500], s[:1500])
        assert '"escapeStage": 4' in window_lines[-1]
        # Watching is not playing: the player's files are left alone.
        assert os.listdir(tree.replays) == [] if os.path.isdir(tree.replays) else True

        # The same input played in the window and recorded there: a won game whose record
        # the game stores, and --verify prints that very time.
        with open(won) as f:
            script_text, script_frames = to_script(f.read())
        script = os.path.join(tree.root, "bot.script")
        with open(script, "w") as f:
            f.write(script_text)
        with open(tree.settings, "w") as f:
            f.write("[preferencias]\nmap_name=Userof\nmap_seed=%d\n" % SEED)
        played = os.path.join(tree.root, "played.replay")
        tree.start(["--script", script, "--dt", "0.016666668", "--record", played, "--fast-forward",
                    str(script_frames), "--frames", str(script_frames)])
        code = tree.wait(timeout=240)
        assert code == 0, "exit %s: %s" % (code, tree.output()[1])
        settings = tree.read_settings()
        stored = [int(re.search(r"time_record_%s=(\d+)" % unit, settings).group(1)) for unit in "hms"]
        assert stored != [2, 0, 0], settings
        verify = subprocess.run([sim_binary, "--verify", played], capture_output=True, text=True, timeout=120)
        assert verify.returncode == 0, (verify.returncode, verify.stdout, verify.stderr)
        assert "escaped in %dh %dm %ds, a new record" % tuple(stored) in verify.stdout, (stored, verify.stdout)

        # Bad files: one line, exit 2, no window.
        bad = os.path.join(tree.root, "bad.replay")
        for text, message in [("velkaran-replay 2 game=0.1\n", "newer than this build reads"),
                              ("not a replay\n", "not a replay file"),
                              (open(won).read().replace("\n= ", "\n+ ", 1), "line ")]:
            with open(bad, "w") as f:
                f.write(text)
            tree.start(["--replay", bad])
            code = tree.wait(timeout=30)
            err = tree.output()[1].splitlines()
            assert code == 2 and len(err) == 1 and message in err[0] and err[0].startswith("velkaran: "), (code, err)
        tree.start(["--replay", won, "--dt", "0.01"])
        assert tree.wait(timeout=30) == 2 and "--replay does not go with --dt" in tree.output()[1]
    finally:
        tree.cleanup()
    print("%d frames identical; the window's recorded won game verifies with its stored record" % frames)


if __name__ == "__main__":
    main()
    sys.exit(0)
