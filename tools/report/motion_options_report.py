#!/usr/bin/python3
"""Flies the motion options' scenario at 20, 30, 60 and 144 frames a second,
with its options and again as the module ships (no option set), and makes a
report: the view's angles of the four runs laid over one another, the 90
degree recall of a cockpit view on each transition curve, and the spectrum of
the motion the module adds with its share in the band of 0.1 to 0.5 Hz.

usage: motion_options_report.py SIMHOST SCENARIO OUT_FOLDER [--images FOLDER] [--check]

With --images, the three plots are also written there as PNG files for the
user's guide. With --check, it fails unless the flights with the options
keep within 5% of the one at 30 frames a second, and the flights as shipped
at 60 and 144 frames a second do not."""

import re
import subprocess
import sys
from html import escape
from pathlib import Path

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

import motion_analysis  # noqa: E402
from make_report import figure_html, read_trace, take_option  # noqa: E402

RATES = (20, 30, 60, 144)
RECALL_SECONDS = 9.0  # the scenario calls the straight-ahead view back here, the head turned 90 degrees left
SHIPPED = ""
SMOOTH_HALF_SECOND = "TransitionSeconds=0.5\nTransitionCurve=smooth\n"


def with_motion(scenario_text, section):
    """The scenario with its [Motion] section's lines replaced."""
    return re.sub(r"\[Motion\]\n.*?(?=\"\"\")", "[Motion]\n" + section, scenario_text, flags=re.S)


def fly(simhost, scenario, out, rate):
    subprocess.run([simhost, str(scenario), "--out", str(out), "--frame-rate", str(rate), "--quiet"], check=True)
    return read_trace(out / "trace.csv"), motion_analysis.read_motion(out / "motion.csv")


def wrapped(values):
    return (np.asarray(values) + 180.0) % 360.0 - 180.0


def view_angles(trace):
    """The view's pitch, heading offset from the module's own heading, and bank."""
    offset = wrapped(np.asarray(trace["view_heading"]) - np.asarray(trace["heading_word"]))
    return {"pitch (down +)": wrapped(trace["view_pitch"]), "heading offset (right +)": offset,
            "bank (left side down +)": wrapped(trace["view_bank"])}


def frame_rate_plot(runs):
    figure, axes = plt.subplots(3, 2, figsize=(11, 7), sharex=True, sharey="row")
    for column, (variant, title) in enumerate((("options", "Every motion option on"),
                                               ("shipped", "As the module ships (frame by frame)"))):
        axes[0][column].set_title(title, fontsize="medium")
        for rate in RATES:
            trace = runs[variant][rate][0]
            for row, (name, values) in enumerate(view_angles(trace).items()):
                axes[row][column].plot(trace["time"], values, linewidth=0.8, label=f"{rate} frames/s")
                axes[row][column].set_ylabel(name if column == 0 else "")
                axes[row][column].grid(alpha=0.3)
        axes[2][column].set_xlabel("time (s)")
    axes[0][1].legend(loc="upper right", fontsize="small")
    return figure, ("The view's angles in the cockpit through a taxi over rough ground, a turn and a pull-up, "
                    "flown at 20, 30, 60 and 144 frames a second: with the options the four runs lie on one "
                    "another; frame by frame the head motion fades as the frame rate rises")


def transition_plot(runs):
    figure, (angle, speed) = plt.subplots(2, 1, figsize=(9, 5.5), sharex=True)
    for variant, label in (("shipped", "linear, 0.5 s (as shipped)"), ("smooth_half", "smooth, 0.5 s"),
                           ("options", "smooth, 1.0 s")):
        trace = runs[variant][60][0]
        time = np.asarray(trace["time"]) - RECALL_SECONDS
        heading = wrapped(np.asarray(trace["heading_word"]))
        near = (time > -0.2) & (time < 1.3)
        angle.plot(time[near], heading[near], label=label)
        speed.plot(time[near], np.gradient(heading, trace["time"])[near], label=label)
    angle.set_ylabel("view heading (degrees)")
    speed.set_ylabel("turning speed (degrees/s)")
    speed.set_xlabel("time since the key (s)")
    for axes in (angle, speed):
        axes.grid(alpha=0.3)
        axes.legend(loc="lower right" if axes is angle else "upper right", fontsize="small")
    return figure, ("A cockpit view called back with the head turned 90 degrees left (60 frames a second): linear "
                    "starts and stops at full speed; smooth starts and stops at rest")


def spectrum_plot(runs):
    figure, axes = plt.subplots(figsize=(9, 3.5))
    rms = {}
    for variant, label in (("shipped", "as shipped"), ("options", "every option on")):
        trace, motion = runs[variant][30]
        speeds = motion_analysis.angular_speed(motion, trace["view_kind"])
        frequency, power = motion_analysis.spectrum(speeds, 30)
        rms[variant] = motion_analysis.band_rms(speeds, 30)
        axes.loglog(frequency[1:], power[1:], label=f"{label}: {rms[variant]:.2f} degrees/s RMS in the band")
    axes.axvspan(*motion_analysis.BAND_HZ, color="tab:red", alpha=0.15)
    axes.set_xlabel("frequency (Hz); shaded: 0.1-0.5 Hz")
    axes.set_ylabel("(degrees/s)$^2$ per Hz")
    axes.legend(loc="lower left", fontsize="small")
    axes.grid(alpha=0.3, which="both")
    return figure, ("Spectrum of the motion the module adds to the view over the same flight at 30 frames a "
                    "second, and its RMS angular speed within 0.1-0.5 Hz")


def deviation_rows(runs):
    """For each variant and rate: the largest difference of the view's angles
    from the 30-frame run, against the 30-frame run's largest angle."""
    rows = []
    for variant in ("options", "shipped"):
        base = runs[variant][30][0]
        grid = np.arange(0.0, base["time"][-1], 0.1)
        for rate in RATES:
            trace = runs[variant][rate][0]
            worst, size = 0.0, 0.0
            for name, values in view_angles(trace).items():
                reference = np.interp(grid, base["time"], view_angles(base)[name])
                worst = max(worst, float(np.max(np.abs(np.interp(grid, trace["time"], values) - reference))))
                size = max(size, float(np.max(np.abs(reference))))
            rows.append((variant, rate, worst, worst / size))
    return rows


def main(arguments):
    arguments = list(arguments)
    images = take_option(arguments, "--images")
    check = "--check" in arguments
    if check:
        arguments.remove("--check")
    simhost, scenario, out = arguments
    out = Path(out)
    out.mkdir(parents=True, exist_ok=True)
    text = Path(scenario).read_text()
    scenarios = {"options": Path(scenario)}
    for variant, section in (("shipped", SHIPPED), ("smooth_half", SMOOTH_HALF_SECOND)):
        scenarios[variant] = out / f"{variant}.toml"
        scenarios[variant].write_text(with_motion(text, section))
    runs = {variant: {} for variant in scenarios}
    for variant, path in scenarios.items():
        for rate in RATES if variant != "smooth_half" else (60,):
            runs[variant][rate] = fly(simhost, path, out / f"{variant}-{rate}", rate)

    figures = [("motion-frame-rates.png", *frame_rate_plot(runs)), ("motion-transition.png", *transition_plot(runs)),
               ("motion-spectrum.png", *spectrum_plot(runs))]
    if images:
        for name, figure, _ in figures:
            Path(images).mkdir(parents=True, exist_ok=True)
            figure.savefig(Path(images) / name, dpi=80, bbox_inches="tight")
    parts = [figure_html(figure, caption) for _, figure, caption in figures]
    deviations = deviation_rows(runs)
    table = "".join(f"<tr><td>{escape(variant)}</td><td>{rate}</td><td>{worst:.2f}</td><td>{share:.1%}</td></tr>"
                    for variant, rate, worst, share in deviations)
    (out / "report.html").write_text(f"""<!doctype html><html><head><meta charset="utf-8">
<title>Varolen 2004: motion at any frame rate</title>
<style>body{{font-family:sans-serif;max-width:1000px;margin:2em auto}}td,th{{padding:0 1em}}
figure{{margin:1.5em 0}}figcaption{{color:#555}}</style></head><body>
<h1>Varolen 2004: motion at any frame rate</h1>{''.join(parts)}
<h2>Against the flight at 30 frames a second</h2>
<table><tr><th>motion</th><th>frames/s</th><th>largest difference (degrees)</th><th>of the largest angle</th></tr>
{table}</table></body></html>""")
    print(f"report: {out / 'report.html'}")
    if check:
        wrong = [f"{variant} at {rate} frames a second: {share:.1%} off the flight at 30"
                 for variant, rate, _, share in deviations
                 if (variant == "options" and share > 0.05) or (variant == "shipped" and rate > 30 and share <= 0.05)]
        for line in wrong:
            print(f"FAIL: {line}")
        return 1 if wrong else 0
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
