#!/usr/bin/python3
"""The touchdown as a pilot feels it, for the user's guide: landings at 3, 6
and 10 feet per second flown in the substitute simulator with the motion
option Touchdown at 1 and the other effects off; the eye's dip and the view's
nod after the wheels meet the ground.

usage: touchdown_plot.py SIMHOST IMAGE.png"""

import subprocess
import sys
import tempfile
from pathlib import Path

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "tools" / "scenarios"))
sys.path.insert(0, str(ROOT / "tools" / "report"))
import make_scenarios  # noqa: E402
import motion_analysis  # noqa: E402

QUIET = {"FlyByActive": "0", "InternalViewActive": "1", "ViewTurbOn": "0", "GroundTurbOn": "0", "BuffetTurbOn": "0"}


def main(simhost, image):
    figure, (dip, nod) = plt.subplots(2, 1, figsize=(8, 5), sharex=True)
    with tempfile.TemporaryDirectory(prefix="varolen-touchdown-") as folder:
        for sink in (3, 6, 10):
            name = f"touchdown_{sink}"
            make_scenarios.write(name, f"A landing at {sink} ft/s", make_scenarios.landing_and_bounce(sink, False),
                                 QUIET, frame_rate=60, views=(2,), bindings="[Motion]\nTouchdown=1\n", out=folder)
            run = Path(folder) / name
            subprocess.run([simhost, str(Path(folder) / f"{name}.toml"), "--out", str(run), "--quiet"], check=True)
            motion = motion_analysis.read_motion(run / "motion.csv")
            after = motion["time"] - 30.02  # the wheels meet the ground at 30.02 s
            shown = (after > -0.2) & (after < 2.0)
            dip.plot(after[shown], 100 * motion["added_eye_y"][shown], label=f"{sink} ft/s")
            nod.plot(after[shown], motion["added_pitch"][shown], label=f"{sink} ft/s")
    dip.set_ylabel("eye up (cm)")
    nod.set_ylabel("view pitch (degrees down)")
    nod.set_xlabel("seconds after the touchdown")
    for axes in (dip, nod):
        axes.grid(alpha=0.3)
        axes.legend(loc="lower right", fontsize="small")
    figure.savefig(image, dpi=80, bbox_inches="tight")
    print(image)


if __name__ == "__main__":
    main(*sys.argv[1:])
