#!/usr/bin/env python3
"""A flight played after another one in the same process, with the module reset
in between, must equal the same flight played in a fresh process: trace and
summary alike. Each scenario follows the one before it (the first follows the
last), so every scenario is played both after a flight and fresh.

Usage: flight_after_flight.py SIMHOST SCENARIO_FOLDER
"""
import pathlib
import shutil
import subprocess
import sys
import tempfile


def play(simhost, scenario, out, after=None):
    command = [simhost, str(scenario), "--out", str(out), "--quiet"]
    if after is not None:
        command += ["--after", str(after)]
    subprocess.run(command, check=True)
    return (out / "trace.csv").read_bytes(), (out / "summary.txt").read_bytes()


def main():
    simhost, folder = sys.argv[1], pathlib.Path(sys.argv[2])
    scenarios = sorted(folder.glob("*.toml"))
    scratch = pathlib.Path(tempfile.mkdtemp(prefix="varolen-reset-"))
    failures = []
    try:
        for index, scenario in enumerate(scenarios):
            earlier = scenarios[index - 1]
            fresh = play(simhost, scenario, scratch / "fresh")
            later = play(simhost, scenario, scratch / "after", after=earlier)
            for name, a, b in (("trace", fresh[0], later[0]), ("summary", fresh[1], later[1])):
                if a != b:
                    failures.append(f"{scenario.name} after {earlier.name}: the {name} differs from a fresh run")
            print(f"{scenario.name} after {earlier.name}: {'same' if fresh == later else 'DIFFERENT'}")
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    for failure in failures:
        print(failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
