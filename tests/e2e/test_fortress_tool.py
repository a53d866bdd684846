"""The fortress tool as players and scripts use it: dump is valid, stable JSON, check
passes a range of seeds, height answers ground heights, and bad input gives one line on
stderr and exit code 2."""
import json
import os
import re
import subprocess
import sys

from harness import build_dir


def run(tool, *args):
    return subprocess.run([tool, *args], capture_output=True, text=True, timeout=600)


def main():
    tool = os.path.join(build_dir(), "bin", "velkaran-fortress")

    for args in (["dump", "-1"], ["dump", "4294967296"], ["dump", "12x"], ["dump", ""], ["check", "9", "3"],
                 ["frob", "1"], ["dump"], [], ["height"], ["height", "1"], ["height", "1", "2", "3"],
                 ["height", "1", "x"], ["height", "nan", "0"], ["height", "2,5", "1"], ["height", "1", ""]):
        r = run(tool, *args)
        assert r.returncode == 2, (args, r.returncode)
        assert r.stdout == "", (args, r.stdout)
        assert r.stderr.count("\n") == 1, (args, r.stderr)
    # A number beyond what a coordinate holds is not "not a number".
    r = run(tool, "height", "-1e308", "0")
    assert r.returncode == 2 and r.stderr == "velkaran-fortress: number out of range: '-1e308'\n", r.stderr

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

    # Sample (0, 0) is the noise's lattice point, height 0.5 x 70; outside the field, 0.
    points = ["0", "0", "250", "200", "-1", "5", "3600", "100", "100", "1e6", "1764.56", "1764.56", "3580", "3580"]
    height = run(tool, "height", *points)
    assert height.returncode == 0 and height.stderr == "", height.stderr
    lines = height.stdout.split("\n")
    assert lines[-1] == "" and len(lines) == len(points) // 2 + 1, height.stdout
    assert all(re.fullmatch(r"\d+\.\d{4}", line) for line in lines[:-1]), height.stdout
    assert lines[0] == "35.0000" and lines[2:5] == ["0.0000"] * 3, height.stdout
    assert all(0.0 < float(v) <= 70.0 for v in (lines[1], lines[5], lines[6])), height.stdout
    assert run(tool, "height", "1764.56", "1764.56").stdout == lines[5] + "\n", "one pair, the same answer"

    check = run(tool, "check", "1", "40")
    assert check.returncode == 0, check.stdout + check.stderr
    print("ok")


if __name__ == "__main__":
    sys.exit(main())
