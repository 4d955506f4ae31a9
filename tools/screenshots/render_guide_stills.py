#!/usr/bin/python3
"""Renders the user's guide's pictures of what each feature shows: flies the
scenarios in the substitute simulator and draws the chosen moments into
docs/images/view-*.png, which the guide embeds.

usage: render_guide_stills.py [NATIVE_BUILD]   (default build/native, with
the simhost and render targets built)"""

import subprocess
import sys
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "tools/report"))

import flight_video  # noqa: E402
from make_report import read_trace  # noqa: E402


def nth_moment(caption_start, n=0):
    """The time of the n-th moment of the flight whose caption starts so."""
    def pick(trace, scenario):
        found = [time for time, caption in flight_video.moments(trace, scenario) if caption.startswith(caption_start)]
        return found[min(n, len(found) - 1)]
    return pick


def at(seconds):
    return lambda trace, scenario: seconds


# (picture, scenario, when)
STILLS = [
    ("view-fly-by", "circuit_right", nth_moment("Fly-by placement", 3)),
    ("view-fly-by-travelling", "circuit_travelling", nth_moment("Fly-by placement", 3)),
    ("view-approach", "approach_landing", nth_moment("The approach camera parked")),
    ("view-cockpit-turn", "cockpit_turn_and_pull_up", at(30.0)),
    ("view-cockpit-taxi", "cockpit_taxi", at(20.0)),
    ("view-cockpit-buffet", "cockpit_stall_warning", at(20.0)),
    ("view-click-area", "cockpit_mouse", nth_moment("The pointer over a click area")),
    ("view-mouse-look", "cockpit_mouse", at(8.0)),
    ("view-wheel-zoom", "cockpit_mouse", at(11.5)),
    ("view-head-turned", "cockpit_keys_and_presets", at(10.5)),
    ("view-preset", "cockpit_keys_and_presets", nth_moment("Preset")),
    ("view-head-tracker", "cockpit_head_tracker", at(13.0)),
    ("view-walking-pilot", "walking_pilot", at(30.0)),
]


def main(build="build/native"):
    build = ROOT / build
    simhost, renderer = build / "tools/simhost/simhost", build / "tools/render/render"
    with tempfile.TemporaryDirectory(prefix="varolen-stills-") as scratch:
        flown = {}
        for name, scenario_name, when in STILLS:
            scenario = ROOT / "data/scenarios" / f"{scenario_name}.toml"
            run = Path(scratch) / scenario_name
            if scenario_name not in flown:
                subprocess.run([simhost, scenario, "--out", run, "--quiet"], check=True, stdout=subprocess.DEVNULL)
                flown[scenario_name] = read_trace(run / "trace.csv")
            time = when(flown[scenario_name], scenario)
            picture = ROOT / "docs/images" / f"{name}.png"
            subprocess.run([renderer, scenario, run / "trace.csv", "--still", f"{time:.3f}:{picture}"], check=True,
                           stdout=subprocess.DEVNULL)
            print(f"{picture.relative_to(ROOT)} ({scenario_name}, {time:.1f} s)")


if __name__ == "__main__":
    main(*sys.argv[1:])
