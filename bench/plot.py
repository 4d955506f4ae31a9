#!/usr/bin/env python3
"""Draws how the module's cost grows with the scene, from a benchmark run.

  build/native/bench/varolen_bench --benchmark_repetitions=5 \\
      --benchmark_out=bench.json --benchmark_out_format=json
  bench/plot.py bench.json docs/images/performance.png
"""
import json
import sys

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

PANELS = [
    ("frame_walking_pilot", "A frame with the walking pilot", "scenery objects (about 60 triangles each)", 50.0),
    ("mouse_move_click_areas", "A mouse move over the cockpit", "click areas", 20.0),
]
FRAME_AT_60_HZ = 16667.0  # microseconds


def medians(path):
    """{(workload, size): median microseconds} of a Google Benchmark JSON file."""
    with open(path) as data:
        runs = json.load(data)["benchmarks"]
    figures = {}
    for run in runs:
        if run.get("aggregate_name", "median") != "median":
            continue
        name, size = run["run_name"].split("/")
        scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3}[run["time_unit"]]
        figures[(name, int(size))] = run["real_time"] * scale
    return figures


def main():
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    figures = medians(sys.argv[1])
    figure, axes = plt.subplots(1, len(PANELS), figsize=(10, 4))
    for axis, (workload, title, unit, budget) in zip(axes, PANELS):
        sizes = sorted(size for name, size in figures if name == workload)
        times = [figures[(workload, size)] for size in sizes]
        axis.loglog(sizes, times, "o-", label="measured (median)")
        axis.axhline(budget, color="tab:red", linestyle="--", label=f"budget {budget:g} µs")
        for size, time in zip(sizes, times):
            axis.annotate(f"{time:.1f} µs\n{100 * time / FRAME_AT_60_HZ:.2f} % of a frame",
                          (size, time), textcoords="offset points", xytext=(6, -22), fontsize=8)
        axis.set_title(title)
        axis.set_xlabel(unit)
        axis.set_ylabel("microseconds")
        axis.set_xlim(sizes[0] / 2, sizes[-1] * 5)
        axis.set_ylim(0.1, 300)
        axis.grid(True, which="both", alpha=0.3)
        axis.legend(loc="upper left", fontsize=8)
    figure.suptitle("Cost against the scene (a frame at 60 Hz lasts 16,667 µs)")
    figure.tight_layout()
    figure.savefig(sys.argv[2], dpi=100)
    return 0


if __name__ == "__main__":
    sys.exit(main())
