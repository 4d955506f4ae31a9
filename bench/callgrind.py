#!/usr/bin/env python3
"""Counts the instructions of each benchmark workload under callgrind.

Instruction counts do not depend on how busy the machine is, so they are the
figures we keep (bench/callgrind-results.txt) and compare against.

  bench/callgrind.py BENCH              measure and compare with the results file
  bench/callgrind.py BENCH --record     measure and write the results file
  bench/callgrind.py BENCH --tolerance 0.25
                                        fail when a workload costs more than 25 %
                                        above its recorded figure

BENCH is the benchmark program of a native build (build/native/bench/varolen_bench).
"""
import argparse
import datetime
import os
import platform
import re
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
RESULTS = os.path.join(HERE, "callgrind-results.txt")

# workload, scene size, steps measured
WORKLOADS = [
    ("frame_everything_off", 0, 2000),
    ("frame_cockpit_effects", 0, 2000),
    ("frame_cockpit_head_tracker", 0, 2000),
    ("frame_cockpit_motion_options", 0, 2000),
    ("frame_walking_pilot", 10, 600),
    ("frame_walking_pilot", 100, 600),
    ("frame_walking_pilot", 1000, 100),
    ("mouse_move_click_areas", 20, 1000),
    ("mouse_move_click_areas", 200, 1000),
    ("mouse_move_click_areas", 2000, 100),
    ("startup_256_bindings", 0, 20),
]


def count(bench, workload, size, steps):
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "callgrind.out")
        subprocess.run(
            ["valgrind", "--tool=callgrind", "--collect-atstart=no", f"--callgrind-out-file={out}",
             bench, "--instructions", workload, str(size), str(steps)],
            check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        with open(out) as data:
            for line in data:
                if line.startswith("summary:") or line.startswith("totals:"):
                    return int(line.split()[1]) // steps
    raise RuntimeError(f"callgrind gave no total for {workload} {size}")


def machine():
    model = platform.processor() or platform.machine()
    try:
        with open("/proc/cpuinfo") as info:
            for line in info:
                if line.startswith("model name"):
                    model = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    valgrind = subprocess.run(["valgrind", "--version"], capture_output=True, text=True).stdout.strip()
    compiler = subprocess.run(["g++", "--version"], capture_output=True, text=True).stdout.splitlines()[0]
    return f"{model}, {os.cpu_count()} cores; {compiler}; {valgrind}"


def read_results():
    recorded = {}
    with open(RESULTS) as results:
        for line in results:
            if line.startswith("#") or not line.strip():
                continue
            workload, size, instructions = line.split()
            recorded[(workload, int(size))] = int(instructions)
    return recorded


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("bench")
    parser.add_argument("--record", action="store_true", help="write the results file")
    parser.add_argument("--tolerance", type=float, default=0.10,
                        help="largest rise over the recorded figure that passes (a fraction)")
    args = parser.parse_args()

    recorded = {} if args.record else read_results()
    measured = []
    failed = False
    print(f"{'workload':<26}{'size':>6}{'instructions':>14}{'recorded':>12}{'change':>9}")
    for workload, size, steps in WORKLOADS:
        instructions = count(args.bench, workload, size, steps)
        measured.append((workload, size, instructions))
        before = recorded.get((workload, size))
        change = ""
        if before:
            ratio = instructions / before - 1.0
            change = f"{ratio:+.1%}"
            if ratio > args.tolerance:
                failed = True
                change += " !"
        print(f"{workload:<26}{size:>6}{instructions:>14,}{before or 0:>12,}{change:>9}", flush=True)

    if args.record:
        with open(RESULTS, "w") as results:
            results.write("# Instructions per step of each benchmark workload, counted by callgrind\n")
            results.write("# (bench/callgrind.py; a step is one frame, one mouse move or one start-up).\n")
            results.write(f"# machine: {machine()}\n")
            results.write(f"# date: {datetime.date.today().isoformat()}\n")
            results.write("# workload size instructions\n")
            for workload, size, instructions in measured:
                results.write(f"{workload} {size} {instructions}\n")
        print(f"written: {RESULTS}")
    elif failed:
        print(f"more than {args.tolerance:.0%} above the recorded figures", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
