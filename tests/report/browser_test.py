#!/usr/bin/python3
"""The report of a flight in a real browser (headless Chromium): its video
plays, and what it shows is a picture, not a blank.

usage: browser_test.py SIMHOST RENDERER SCENARIO"""

import statistics
import subprocess
import sys
import tempfile
from pathlib import Path

from PIL import Image

ROOT = Path(__file__).resolve().parents[2]


def chromium(profile, url, *options):
    command = ["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--hide-scrollbars",
               f"--user-data-dir={profile}", "--autoplay-policy=no-user-gesture-required",
               "--virtual-time-budget=4000", *options, url]
    return subprocess.run(command, check=True, capture_output=True, text=True, timeout=120).stdout


def main(simhost, renderer, scenario):
    with tempfile.TemporaryDirectory(prefix="varolen-browser-") as scratch:
        scratch = Path(scratch)
        run = scratch / "run"
        subprocess.run([simhost, scenario, "--out", str(run), "--quiet"], check=True, stdout=subprocess.DEVNULL)
        subprocess.run(["/usr/bin/python3", str(ROOT / "tools/report/make_report.py"), str(run), "--render",
                        renderer], check=True, stdout=subprocess.DEVNULL)
        report = (run / "report.html").as_uri()
        failures = []

        page = chromium(scratch / "profile", report, "--dump-dom")
        if '<video id="flight"' not in page or 'src="flight.webm"' not in page:
            failures.append("the report shows no video of the flight")
        stills = page.split('class="still"')[1:]
        if not stills or not all((run / f"still-{k}.png").exists() for k in range(len(stills))):
            failures.append("the report's strip of stills is missing or names stills that are not there")

        # Playing, the video moves the flight's time under it on.
        played = chromium(scratch / "profile", report + "#play", "--dump-dom")
        shown = played.split('<output id="flight-time">', 1)[-1].split(" s<", 1)[0]
        if not shown.replace(".", "", 1).isdigit() or float(shown) <= 0.0:
            failures.append(f"the video did not play (the flight's time shows {shown[:40]!r})")

        shot = scratch / "shot.png"
        chromium(scratch / "profile", report + "#play", "--window-size=640,360", f"--screenshot={shot}")
        pixels = list(Image.open(shot).convert("L").getdata())
        spread = statistics.pstdev(pixels)
        if spread < 10.0:
            failures.append(f"the video's picture is blank (its pixels vary by {spread:.1f} grey levels)")

        for failure in failures:
            print(f"FAIL: {failure}")
        if not failures:
            print(f"the report's video plays; its picture varies by {spread:.1f} grey levels")
        return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
