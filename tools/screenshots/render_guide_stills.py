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


# (picture, scenario, moments): one moment is one still; several are drawn
# side by side or in a grid, each labelled, for what one still cannot show
# (motion: a pair before and after, or a strip a tenth of a second apart).
STILLS = [
    ("view-fly-by", "circuit_right", [(nth_moment("Fly-by placement", 3), "")]),
    ("view-fly-by-travelling", "circuit_travelling", [(nth_moment("Fly-by placement", 3), "")]),
    ("view-approach", "approach_landing", [(nth_moment("The approach camera parked"), "")]),
    ("view-cockpit-turn", "cockpit_turn_and_pull_up",
     [(at(8.0), "level, before the turn"), (at(30.0), "banked 30 degrees right in the turn")]),
    ("view-cockpit-taxi", "cockpit_taxi",
     [(at(77.7 + step / 10), f"{77.7 + step / 10:.1f} s") for step in range(4)]),
    ("view-cockpit-buffet", "cockpit_stall_warning",
     [(at(8.0), "before the stall warning"), (at(15.6), "buffeting"), (at(15.8), "a fifth of a second later")]),
    ("view-click-area", "cockpit_mouse", [(nth_moment("The pointer over a click area"), "")]),
    ("view-mouse-look", "cockpit_mouse", [(at(8.0), "")]),
    ("view-wheel-zoom", "cockpit_mouse", [(at(11.5), "")]),
    ("view-head-turned", "cockpit_keys_and_presets", [(at(10.5), "")]),
    ("view-preset", "cockpit_keys_and_presets", [(nth_moment("Preset"), "")]),
    ("view-head-tracker", "cockpit_head_tracker", [(at(11.0), "")]),
    ("view-walking-pilot", "walking_pilot", [(at(30.0), "")]),
]


def compose(frames, labels, target):
    """Frames side by side (two or three) or in a grid of two by two, each
    with its label in a band above it, the whole 640 pixels wide."""
    from PIL import Image, ImageDraw, ImageFont
    pictures = [Image.open(frame).convert("RGB") for frame in frames]
    columns = 2 if len(pictures) in (2, 4) else len(pictures)
    rows = (len(pictures) + columns - 1) // columns
    width = 640 // columns
    height = pictures[0].height * width // pictures[0].width
    band = 20
    try:
        font = ImageFont.truetype("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 12)
    except OSError:
        font = ImageFont.load_default()
    sheet = Image.new("RGB", (640, rows * (height + band)), "white")
    draw = ImageDraw.Draw(sheet)
    for index, (picture, label) in enumerate(zip(pictures, labels)):
        x, y = (index % columns) * width, (index // columns) * (height + band)
        draw.text((x + 4, y + 3), label, fill="black", font=font)
        sheet.paste(picture.resize((width - 2, height)), (x + 1, y + band))
    sheet.save(target)


def main(build="build/native"):
    build = ROOT / build
    simhost, renderer = build / "tools/simhost/simhost", build / "tools/render/render"
    with tempfile.TemporaryDirectory(prefix="varolen-stills-") as scratch:
        flown = {}
        for name, scenario_name, moments in STILLS:
            scenario = ROOT / "data/scenarios" / f"{scenario_name}.toml"
            run = Path(scratch) / scenario_name
            if scenario_name not in flown:
                subprocess.run([simhost, scenario, "--out", run, "--quiet"], check=True, stdout=subprocess.DEVNULL)
                flown[scenario_name] = read_trace(run / "trace.csv")
            picture = ROOT / "docs/images" / f"{name}.png"
            times = [when(flown[scenario_name], scenario) for when, _ in moments]
            frames = [picture] if len(times) == 1 else [Path(scratch) / f"{name}-{n}.png" for n in range(len(times))]
            stills = [f"--still={time:.3f}:{frame}" for time, frame in zip(times, frames)]
            subprocess.run([renderer, scenario, run / "trace.csv", *stills], check=True, stdout=subprocess.DEVNULL)
            if len(frames) > 1:
                compose(frames, [label for _, label in moments], picture)
            print(f"{picture.relative_to(ROOT)} ({scenario_name}, {', '.join(f'{t:.1f}' for t in times)} s)")


if __name__ == "__main__":
    main(*sys.argv[1:])
