"""The view motion the module adds in the virtual cockpit (motion.csv of a
native run), as pilots feel it: its angular speed, and how much of that falls
in the band of 0.1 to 0.5 Hz, where visual motion sickens most."""

import csv
import math

import numpy as np

BAND_HZ = (0.1, 0.5)
AXES = ("added_pitch", "added_heading", "added_bank")
VIRTUAL_COCKPIT = 2


def read_motion(path):
    """The columns of motion.csv as arrays, or None without the file."""
    try:
        with open(path, newline="") as file:
            rows = list(csv.DictReader(file))
    except FileNotFoundError:
        return None
    if not rows:
        return None
    return {key: np.array([math.nan if row[key] == "-" else float(row[key]) for row in rows]) for key in rows[0]}


def angular_speed(motion, view_kind):
    """The added motion's speed on each axis, degrees a second, a row a frame;
    zero outside the virtual cockpit and across a change of view."""
    time = motion["time"]
    inside = np.asarray(view_kind) == VIRTUAL_COCKPIT
    speeds = []
    for axis in AXES:
        change = np.diff(motion[axis], prepend=motion[axis][:1]) / np.diff(time, prepend=time[0] - 1.0)
        both = inside & np.roll(inside, 1)
        both[0] = False
        speeds.append(np.where(both & np.isfinite(change), change, 0.0))
    return np.array(speeds)


def band_rms(speeds, frame_rate, band=BAND_HZ):
    """The RMS angular speed (degrees a second, all axes together) of the
    part of the motion within the band."""
    spectrum = np.fft.rfft(speeds, axis=1)
    frequency = np.fft.rfftfreq(speeds.shape[1], 1.0 / frame_rate)
    spectrum[:, (frequency < band[0]) | (frequency > band[1])] = 0.0
    within = np.fft.irfft(spectrum, n=speeds.shape[1], axis=1)
    return float(np.sqrt(np.mean(np.sum(within ** 2, axis=0))))


def spectrum(speeds, frame_rate, seconds=20.0):
    """Welch's estimate of the angular speed's power spectral density, all axes
    together: (frequencies in Hz, (degrees a second)^2 per Hz)."""
    length = min(speeds.shape[1], int(seconds * frame_rate))
    window = np.hanning(length)
    scale = frame_rate * np.sum(window ** 2)
    total, count = 0.0, 0
    for start in range(0, speeds.shape[1] - length + 1, max(1, length // 2)):
        piece = speeds[:, start:start + length] * window
        power = np.abs(np.fft.rfft(piece, axis=1)) ** 2 / scale
        power[:, 1:-1] *= 2.0  # one-sided
        total = total + np.sum(power, axis=0)
        count += 1
    return np.fft.rfftfreq(length, 1.0 / frame_rate), total / max(count, 1)
