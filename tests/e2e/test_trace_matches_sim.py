"""The real game and the headless game play the same game: for one seed, one script
and one frame time the game's trace (--script/--dt/--trace) equals velkaran-sim's line
for line, with the drones, the weather, the guns, the scanner, the overlays and every
random draw included."""
import os
import subprocess
import sys

from harness import GameTree, build_dir

SEED = 4242
FRAMES = 480
SCRIPT = "\n".join([
    # turn round towards the fortress and walk in, firing now and then
    *("%d motion %d 0" % (10 + k, 50 * (k + 1)) for k in range(31)),
    "45 keydown w",
    "60 press left", "100 release left",
    "120 keyup f", "121 keyup f",
    "130 keyup n",            # no scanner card: the message line says so
    "150 keyup q",            # the sniper rifle comes up
    "200 press right", "230 press left", "232 release left", "260 release right",
    "270 keydown lshift", "330 keyup lshift",
    "340 keyup f1", "370 keyup f1",   # the about picture freezes the world
    "380 keyup m", "420 keyup m",     # and so does the map
    "430 keyup f12",
    "440 keyup w", "441 keydown space", "442 keyup space",
    "450 keydown escape",     # answered No
    "",
])


def main():
    build = build_dir()
    tree = GameTree(build, settings_text="[preferencias]\nmap_name=Prueba\nmap_seed=%d\n" % SEED)
    script = os.path.join(tree.root, "play.txt")
    trace = os.path.join(tree.root, "trace.jsonl")
    with open(script, "w") as f:
        f.write(SCRIPT)
    try:
        tree.start(["--script", script, "--dt", "0.0166667", "--trace", trace, "--frames", str(FRAMES)])
        code = tree.wait(timeout=280)
        assert code == 0, "game exit %s: %s" % (code, tree.output()[1])
        with open(trace) as f:
            game_lines = f.read().splitlines()
        sim = subprocess.run([os.path.join(build, "bin", "velkaran-sim"), str(SEED), "--script", script, "--dt",
                              "0.0166667", "--trace-every", "1", "--frames", str(FRAMES)],
                             capture_output=True, text=True, timeout=60)
        assert sim.returncode == 0, sim.stderr
        sim_lines = sim.stdout.splitlines()
    finally:
        tree.cleanup()

    assert len(game_lines) == FRAMES, len(game_lines)
    assert len(sim_lines) == FRAMES, len(sim_lines)
    for k, (g, s) in enumerate(zip(game_lines, sim_lines)):
        assert g == s, "frame %d differs:\ngame %s\nsim  %s" % (k + 1, g[:2000], s[:2000])
    last = game_lines[-1]
    assert '"weapon": 0' in last, "the sniper rifle is in hand at the end"
    assert '"flashlight": 3' in last, last[:400]
    print("%d frames identical" % FRAMES)


if __name__ == "__main__":
    main()
    sys.exit(0)
