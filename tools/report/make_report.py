#!/usr/bin/python3
"""Makes an HTML report with plots from a simhost run folder (trace.csv and
summary.txt): the track from above with the observer's positions, the
observer's distance to the aircraft, the view's angles and eye over time, in
the virtual cockpit the spectrum of the motion the module adds (motion.csv),
and the module's settings with the user's input. With --render, also a video of
what the host showed and stills of the moments that matter."""

import base64
import csv
import io
import math
import os
import sys
from concurrent.futures import ThreadPoolExecutor
from html import escape
from pathlib import Path

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

import flight_video  # noqa: E402
import motion_analysis  # noqa: E402

EARTH_RADIUS_M = 6367310.0
SETTINGS = ["fly_by", "approach", "internal_view", "external_view", "wheel_zoom", "mouse_in_spot", "sound",
            "head_tracker"]


# Trace columns that hold text: the sounds playing, as "slot:volume" pairs.
TEXT_COLUMNS = {"sounds"}


def number(text):
    """A trace value; "-" (nothing to show there) is not a number."""
    return math.nan if text == "-" else float(text)


def read_trace(path):
    with open(path, newline="") as file:
        rows = list(csv.DictReader(file))
    if not rows:
        return {}
    return {key: [row[key] if key in TEXT_COLUMNS else number(row[key]) for row in rows] for key in rows[0]}


def distance_m(lat1, lon1, lat2, lon2):
    a, b = math.radians(lat1), math.radians(lat2)
    dlat, dlon = b - a, math.radians(lon2 - lon1)
    h = math.sin(dlat / 2) ** 2 + math.cos(a) * math.cos(b) * math.sin(dlon / 2) ** 2
    return 2 * EARTH_RADIUS_M * math.asin(min(1.0, math.sqrt(h)))


def wrap(longitude):
    return (longitude + 180.0) % 360.0 - 180.0


def figure_html(figure, caption):
    buffer = io.BytesIO()
    figure.savefig(buffer, format="png", dpi=90, bbox_inches="tight")
    plt.close(figure)
    data = base64.b64encode(buffer.getvalue()).decode()
    return f'<figure><img src="data:image/png;base64,{data}"><figcaption>{escape(caption)}</figcaption></figure>'


def observer_placements(t):
    """The observer's distinct positions, split into the approach anchor (where
    the approach view parked it, low with fly-by off) and the fly-by placements."""
    anchor, placed = set(), set()
    for i in range(len(t["time"])):
        if not (t["observer_latitude"][i] or t["observer_longitude"][i]):
            continue
        point = (round(wrap(t["observer_longitude"][i]), 7), round(t["observer_latitude"][i], 7))
        parked = (t["approach"][i] == 1 and t["fly_by"][i] == 0
                  and t["altitude"][i] - t["ground_elevation"][i] <= 200.0)
        (anchor if parked else placed).add(point)
    return sorted(placed), sorted(anchor)


def track_plot(t):
    figure, axes = plt.subplots(figsize=(7, 7))
    axes.plot(t["longitude"], t["latitude"], color="tab:blue", label="aircraft")
    axes.plot(t["longitude"][0], t["latitude"][0], "o", color="tab:blue")
    placed, anchor = observer_placements(t)
    if placed:
        axes.scatter([p[0] for p in placed], [p[1] for p in placed], marker="^", color="tab:red",
                     label=f"fly-by observer positions ({len(placed)})", zorder=3)
    if anchor:
        axes.scatter([p[0] for p in anchor], [p[1] for p in anchor], marker="*", s=160, color="tab:green",
                     label="approach anchor (parked observer)", zorder=4)
    axes.set_xlabel("longitude (degrees)")
    axes.set_ylabel("latitude (degrees)")
    # Equal metres in both directions, and never narrower than a kilometre.
    axes.set_aspect(1.0 / max(0.1, math.cos(math.radians(t["latitude"][0]))), adjustable="datalim")
    axes.margins(0.05)
    x0, x1 = axes.get_xlim()
    y0, y1 = axes.get_ylim()
    if y1 - y0 < 0.01:
        middle = (y0 + y1) / 2
        axes.set_ylim(middle - 0.005, middle + 0.005)
    axes.legend(loc="best", fontsize="small")
    axes.grid(alpha=0.3)
    return figure_html(figure, "Track from above (dot: start), with every place the module put the outside observer")


def distance_plot(t):
    figure, axes = plt.subplots(figsize=(9, 3))
    times, distances = [], []
    for i, time in enumerate(t["time"]):
        if t["observer_latitude"][i] or t["observer_longitude"][i]:
            times.append(time)
            distances.append(distance_m(t["latitude"][i], t["longitude"][i], t["observer_latitude"][i],
                                        wrap(t["observer_longitude"][i])))
    if times:
        axes.plot(times, distances, color="tab:red")
    else:
        axes.text(0.5, 0.5, "the module has not placed the observer", ha="center", transform=axes.transAxes)
    axes.set_xlabel("time (s)")
    axes.set_ylabel("observer to aircraft (m)")
    axes.grid(alpha=0.3)
    return figure_html(figure, "Distance of the outside observer from the aircraft")


def view_plot(t):
    figure, (angles, eye) = plt.subplots(2, 1, figsize=(9, 5.5), sharex=True)
    wrapped = lambda value: ((value + 180.0) % 360.0) - 180.0
    # The heading word is the module's heading without head motion: the
    # difference is the heading offset of the effects.
    angles.plot(t["time"], [wrapped(h - w) for h, w in zip(t["view_heading"], t["heading_word"])],
                label="heading offset")
    angles.plot(t["time"], [wrapped(v) for v in t["view_pitch"]], label="pitch (down +)")
    angles.plot(t["time"], [wrapped(v) for v in t["view_bank"]], label="bank (left side down +)")
    angles.set_ylabel("degrees")
    angles.legend(loc="upper right", fontsize="small")
    angles.grid(alpha=0.3)
    for key in ("eye_x", "eye_y", "eye_z", "zoom"):
        eye.plot(t["time"], t[key], label=key)
    eye.step(t["time"], [k / 2 for k in t["view_kind"]], where="post", color="grey", alpha=0.6,
             label="view kind / 2")
    eye.set_xlabel("time (s)")
    eye.set_ylabel("eye units / zoom")
    eye.legend(loc="upper right", fontsize="small")
    eye.grid(alpha=0.3)
    return figure_html(figure, "The current view record: head motion (the heading offset of the effects, the "
                               "view's pitch and bank), eye position, zoom and view kind")


def tracker_plot(t):
    """The head the tracker saw against the view the host shows: the view
    follows the head (turned left: heading down; looking up: pitch down)."""
    figure, (angles, eye) = plt.subplots(2, 1, figsize=(9, 5.5), sharex=True)
    wrapped = lambda value: ((value + 180.0) % 360.0) - 180.0
    angles.plot(t["time"], [-v for v in t["head_yaw_left"]], color="tab:blue", linestyle=":",
                label="head yaw (right +)")
    angles.plot(t["time"], [wrapped(h - w) for h, w in zip(t["view_heading"], t["heading_word"])],
                color="tab:blue", label="view heading offset")
    angles.plot(t["time"], t["head_pitch_down"], color="tab:orange", linestyle=":", label="head pitch (down +)")
    angles.plot(t["time"], [wrapped(v) for v in t["view_pitch"]], color="tab:orange", label="view pitch")
    angles.plot(t["time"], t["head_roll_left"], color="tab:green", linestyle=":", label="head roll (left +)")
    angles.plot(t["time"], [wrapped(v) for v in t["view_bank"]], color="tab:green", label="view bank (left +)")
    angles.set_ylabel("degrees")
    angles.legend(loc="upper right", fontsize="x-small", ncol=3)
    angles.grid(alpha=0.3)
    # The block's x is left and z back; the eye's x is right and z forward.
    for column, key, colour in (("head_x_left", "x", "tab:blue"), ("head_y_up", "y", "tab:orange"),
                                ("head_z_back", "z", "tab:green")):
        sign = 1.0 if key == "y" else -1.0
        eye.plot(t["time"], [sign * v / 1000.0 for v in t[column]], color=colour, linestyle=":",
                 label=f"head {key} (m, {'up' if key == 'y' else 'right' if key == 'x' else 'forward'} +)")
        eye.plot(t["time"], t["tracker_" + key], color=colour, label=f"eye offset {key}")
    if not all(math.isnan(v) for v in t["tracker_state"]):
        eye.step(t["time"], [s / 10.0 for s in t["tracker_state"]], where="post", color="grey", alpha=0.6,
                 label="state / 10 (1 live, 2 stale)")
    eye.set_xlabel("time (s)")
    eye.set_ylabel("metres")
    eye.legend(loc="upper right", fontsize="x-small", ncol=2)
    eye.grid(alpha=0.3)
    return figure_html(figure, "Head tracking: the pose the tracker wrote (dotted) and the view the module "
                               "composed from it (solid)")


def motion_spectrum_plot(motion, view_kind):
    """The spectrum of the view motion the module adds in the virtual cockpit,
    the band of 0.1 to 0.5 Hz marked, with its RMS angular speed there."""
    frame_rate = round(1.0 / float(np.median(np.diff(motion["time"]))))
    speeds = motion_analysis.angular_speed(motion, view_kind)
    frequency, power = motion_analysis.spectrum(speeds, frame_rate)
    in_band = motion_analysis.band_rms(speeds, frame_rate)
    figure, axes = plt.subplots(figsize=(9, 3.5))
    axes.loglog(frequency[1:], power[1:], color="tab:purple")
    axes.axvspan(*motion_analysis.BAND_HZ, color="tab:red", alpha=0.15, label="0.1-0.5 Hz")
    axes.set_xlabel("frequency (Hz)")
    axes.set_ylabel("(degrees/s)$^2$ per Hz")
    axes.legend(loc="upper right", fontsize="small")
    axes.grid(alpha=0.3, which="both")
    return figure_html(figure, "Spectrum of the view motion the module adds in the virtual cockpit (head motion "
                               "and motion options, without the tracked head); within 0.1-0.5 Hz, where visual "
                               f"motion sickens most, its RMS angular speed is {in_band:.2f} degrees a second")


def body_plot(motion):
    """What the body felt: the eye's dip and side move by the touchdown and
    the load factor, and the load factor itself."""
    figure, (eye, load) = plt.subplots(2, 1, figsize=(9, 4.5), sharex=True)
    eye.plot(motion["time"], 100 * motion["added_eye_y"], color="tab:blue", label="eye up (cm)")
    eye.plot(motion["time"], 100 * motion["added_eye_x"], color="tab:orange", label="eye right (cm)")
    eye.set_ylabel("cm")
    eye.legend(loc="upper right", fontsize="small")
    eye.grid(alpha=0.3)
    load.plot(motion["time"], motion["load_factor"], color="tab:green")
    load.axhline(1.0, color="grey", linewidth=0.8)
    load.set_ylabel("load factor (g)")
    load.set_xlabel("time (s)")
    load.grid(alpha=0.3)
    return figure_html(figure, "What the body felt (the motion options Touchdown and LoadFactor): the eye's move "
                               "and the load factor worked out from the aircraft's path")


def settings_plot(t):
    figure, axes = plt.subplots(figsize=(9, 3.5))
    for index, key in enumerate(SETTINGS):
        axes.step(t["time"], [index * 1.5 + v for v in t[key]], where="post", label=key)
    for time, count in zip(t["time"], t["inputs"]):
        if count:
            axes.axvline(time, color="grey", alpha=0.4, linewidth=1)
    axes.set_yticks([index * 1.5 + 0.5 for index in range(len(SETTINGS))], SETTINGS)
    axes.set_xlabel("time (s); grey lines: user input")
    axes.grid(alpha=0.3, axis="x")
    return figure_html(figure, "The module's settings as its menu shows them")


def video_html(stills, video, speed):
    """The video with its controls and a poster, the flight's time under it
    as it plays, and the strip of stills."""
    pace = "as flown" if speed == 1 else f"{speed} times faster than flown"
    strip = "".join(f'<figure class="still"><img src="{escape(name)}" alt="{escape(caption)}">'
                    f'<figcaption>{time:.1f} s{": " + escape(caption) if caption else ""}</figcaption></figure>'
                    for name, time, caption in stills)
    return f"""<h2>What the camera saw</h2>
<figure><video id="flight" controls muted preload="metadata" width="640" height="360" poster="{escape(stills[0][0])}"
 src="{escape(video)}" data-speed="{speed}"></video>
<figcaption>The host's view during the flight, {pace}: <output id="flight-time">0.0 s</output> into the flight</figcaption>
</figure><div class="strip">{strip}</div>
<script>
const flight = document.getElementById("flight");
flight.addEventListener("timeupdate", () => {{
  document.getElementById("flight-time").value = (flight.currentTime * flight.dataset.speed).toFixed(1) + " s";
}});
// report.html#play: the video alone, playing, the flight's time under it.
if (location.hash === "#play") {{
  document.body.replaceChildren(flight, document.getElementById("flight-time"));
  document.body.style.margin = "0";
  flight.removeAttribute("controls");
  flight.play();
}}
</script>"""


def make_report(folder, media=None):
    folder = Path(folder)
    trace = read_trace(folder / "trace.csv")
    summary = (folder / "summary.txt").read_text().splitlines()
    if not trace:
        sys.exit(f"{folder}/trace.csv has no frames")
    parts = []
    if media:
        parts.append(video_html(*media))
    parts += [track_plot(trace), distance_plot(trace), view_plot(trace)]
    if any(not math.isnan(v) for v in trace.get("head_yaw_left", [])):
        parts.append(tracker_plot(trace))
    motion = motion_analysis.read_motion(folder / "motion.csv")
    if motion is not None and motion_analysis.VIRTUAL_COCKPIT in trace["view_kind"]:
        if "added_eye_y" in motion and np.nanmax(np.abs(motion["added_eye_y"])) > 0:
            parts.append(body_plot(motion))
        parts.append(motion_spectrum_plot(motion, trace["view_kind"]))
    parts.append(settings_plot(trace))
    rows = "".join(f"<tr><td>{escape(k)}</td><td>{escape(v.strip())}</td></tr>"
                   for k, _, v in (line.partition(":") for line in summary))
    flown_by = folder / "flown_by.txt"
    flown = f"<p>Flown by {escape(flown_by.read_text().strip())}.</p>" if flown_by.exists() else ""
    html = f"""<!doctype html><html><head><meta charset="utf-8"><title>Varolen 2004: {escape(folder.name)}</title>
<style>body{{font-family:sans-serif;max-width:1000px;margin:2em auto}}td{{padding:0 1em}}
figure{{margin:1.5em 0}}figcaption{{color:#555}}.strip{{display:flex;flex-wrap:wrap;gap:8px}}
.still{{margin:0;width:240px}}.still img{{width:240px}}</style></head><body>
<h1>Varolen 2004 in the substitute simulator: {escape(folder.name)}</h1>
{flown}{''.join(parts)}<h2>Summary</h2><table>{rows}</table></body></html>"""
    (folder / "report.html").write_text(html)
    return folder / "report.html"


def make_index(reports, index, extra=()):
    """A page that links the reports of several runs, and `extra` reports
    given as (report, title)."""
    items = [f'<li><a href="{report.relative_to(index.parent)}">{escape(title)}</a></li>' for report, title in extra]
    for report in reports:
        summary = (report.parent / "summary.txt").read_text().splitlines()
        scenario = next((line.split(": ", 1)[1] for line in summary if line.startswith("scenario: ")), "")
        title = next((line.split("=", 1)[1].strip().strip('"') for line in Path(scenario).read_text().splitlines()
                      if line.startswith("title")), report.parent.name) if Path(scenario).exists() else report.parent.name
        poster = report.parent / "still-0.png"
        picture = (f'<img src="{poster.relative_to(index.parent)}" alt="" width="160" height="90"> '
                   if poster.exists() else "")
        items.append(f'<li><a href="{report.relative_to(index.parent)}">{picture}{escape(title)}</a> '
                     f'<small>({escape(report.parent.name)})</small></li>')
    index.write_text(f"""<!doctype html><html><head><meta charset="utf-8"><title>Varolen 2004 runs</title>
<style>body{{font-family:sans-serif;max-width:800px;margin:2em auto}}li{{margin:.5em 0;list-style:none}}img{{vertical-align:middle;margin-right:1em}}</style></head><body>
<h1>Varolen 2004 in the substitute simulator</h1><ul>{''.join(items)}</ul></body></html>""")


def take_option(arguments, name):
    """The value of `name VALUE` among the arguments (removed from them), or None."""
    if name not in arguments:
        return None
    position = arguments.index(name)
    value = arguments[position + 1]
    del arguments[position:position + 2]
    return value


def main(arguments):
    """make_report.py RUN_FOLDER... [--index INDEX.html] [--render RENDERER] [--motion-report REPORT.html]"""
    arguments = list(arguments)
    index = take_option(arguments, "--index")
    index = Path(index) if index else None
    motion_report = take_option(arguments, "--motion-report")
    renderer = take_option(arguments, "--render")
    folders = arguments or ["out/demo"]
    media = [None] * len(folders)
    if renderer:
        # The renderer draws on one core: one run a core.
        def render(folder):
            trace = read_trace(Path(folder) / "trace.csv")
            return flight_video.render(renderer, folder, trace) if trace else None

        with ThreadPoolExecutor(max_workers=os.cpu_count() or 1) as pool:
            media = list(pool.map(render, folders))
    reports = [make_report(folder, m) for folder, m in zip(folders, media)]
    for report in reports:
        print(f"report: {report}")
    if index:
        extra = [(Path(motion_report), "The motion options at 20, 30, 60 and 144 frames a second, the transition "
                                        "curves and the spectrum of the added motion")] if motion_report else []
        make_index(reports, index, extra)
        print(f"index: {index}")


if __name__ == "__main__":
    main(sys.argv[1:])
