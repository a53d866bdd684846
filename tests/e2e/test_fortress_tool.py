"""The fortress tool as players and scripts use it: dump is valid, stable JSON, check
passes a range of seeds, and bad input gives one line on stderr and exit code 2."""
import json
import os
import subprocess
import sys

from harness import build_dir


def run(tool, *args):
    return subprocess.run([tool, *args], capture_output=True, text=True, timeout=600)


def main():
    tool = os.path.join(build_dir(), "bin", "velkaran-fortress")

    for args in (["dump", "-1"], ["dump", "4294967296"], ["dump", "12x"], ["dump", ""], ["check", "9", "3"],
                 ["frob", "1"], ["dump"], []):
        r = run(tool, *args)
        assert r.returncode == 2, (args, r.returncode)
        assert r.stdout == "", (args, r.stdout)
        assert r.stderr.count("\n") == 1, (args, r.stderr)

    first = run(tool, "dump", "4294967295")
    assert first.returncode == 0, first.stderr
    doc = json.loads(first.stdout)
    assert list(doc) == ["seed", "generatorSeed", "width", "height", "tiles", "wallStyles", "cells",
                         "scannerTargets", "correctForceField", "hiyuraCell", "spaceshipCell"], list(doc)
    assert doc["seed"] == 4294967295 and doc["generatorSeed"] == 4294967294
    assert len(doc["tiles"]) == doc["height"] and all(len(r) == doc["width"] for r in doc["tiles"])
    assert len(doc["cells"]) == 72 and all(len(row) == 72 and all(len(c) == 15 for c in row) for row in doc["cells"])
    assert run(tool, "dump", "4294967295").stdout == first.stdout, "same seed, same document"

    show = run(tool, "show", "77")
    assert show.returncode == 0 and "#" in show.stdout

    check = run(tool, "check", "1", "40")
    assert check.returncode == 0, check.stdout + check.stderr
    print("ok")


if __name__ == "__main__":
    sys.exit(main())
