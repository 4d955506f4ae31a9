"""What the camera saw during a run: the moments worth a still, found in the
trace and the scenario, and the renderer's video and stills of them."""

import math
import re
import subprocess
import tomllib
from pathlib import Path

FEET = 0.3048
LONGEST_VIDEO_S = 40.0  # longer flights play faster, so that the demo stays short
MOST_STILLS = 40
INSIDE_VIEWS = (1, 2, 1250)  # the virtual cockpit, the panel view and the walking pilot


def scenario_of(folder):
    """The scenario file a run played, as its summary names it."""
    for line in (Path(folder) / "summary.txt").read_text().splitlines():
        if line.startswith("scenario: "):
            return Path(line.split(": ", 1)[1])
    return None


def speed_for(duration):
    """How many times faster than the flight its video plays: a whole number."""
    return max(1, math.ceil(duration / LONGEST_VIDEO_S))


def _spans(values):
    """(first, last) index of each run of equal, not-None values."""
    spans, start = [], None
    for i, value in enumerate(values + [None]):
        if start is not None and value != values[start]:
            spans.append((start, i - 1))
            start = None
        if start is None and value is not None:
            start = i
    return spans


def _distance(t, i):
    north = (t["observer_latitude"][i] - t["latitude"][i]) * 111130.0
    east = ((t["observer_longitude"][i] - t["longitude"][i] + 180.0) % 360.0 - 180.0) * 111130.0 * math.cos(
        math.radians(t["latitude"][i]))
    up = t["observer_altitude"][i] - t["altitude"][i] * FEET
    return math.sqrt(north * north + east * east + up * up)


def observer_moments(t):
    """For each place the module put the observer while an outside view
    shows it: the moment the aircraft passes nearest. The approach view's last
    place, low with fly-by off, is where it parked."""
    n = len(t["time"])
    places = [None] * n
    for i in range(n):
        if t["view_kind"][i] in INSIDE_VIEWS or not (t["fly_by"][i] == 1 or t["approach"][i] == 1):
            continue
        if t["observer_latitude"][i] or t["observer_longitude"][i]:
            places[i] = (t["observer_latitude"][i], t["observer_longitude"][i], t["observer_altitude"][i])
    moments, placement = [], 0
    for first, last in _spans(places):
        nearest = min(range(first, last + 1), key=lambda i: _distance(t, i))
        parked = (t["approach"][first] == 1 and t["fly_by"][first] == 0
                  and t["altitude"][first] - t["ground_elevation"][first] <= 200.0)
        if parked:
            caption = "The approach camera parked at the touchdown point"
        elif t["fly_by"][first] == 1:
            placement += 1
            caption = f"Fly-by placement {placement}: the aircraft passes"
        else:
            caption = "The approach camera follows the aircraft down"
        moments.append((t["time"][nearest], caption))
    return moments


def pilot_moments(t):
    """The walking pilot: stepping out, and up on each block or ramp."""
    pilot = [i for i in range(len(t["time"])) if t["view_kind"][i] == 1250]
    if not pilot:
        return []
    standing = {i: t["pilot_altitude"][i] - t["ground_elevation"][i] * FEET for i in pilot}
    eye = min(standing.values())
    moments = [(t["time"][pilot[0]] + 1.0, "The walking pilot steps out")]
    above = [True if i in standing and standing[i] - eye > 0.5 else None for i in range(len(t["time"]))]
    for first, last in _spans(above):
        middle = (first + last) // 2
        moments.append((t["time"][middle], f"The walking pilot up on a block, {standing[middle] - eye:.1f} m "
                                           "above the ground"))
    return moments


def pointer_moments(t):
    """The pointer coming over a click area, which lights."""
    return [(t["time"][first] + 0.1, "The pointer over a click area")
            for first, _ in _spans([True if p > 0 else None for p in t["pointer"]])]


def _bindings(scenario):
    """The preset-recall keys of the scenario's binding file: (modifiers, key) -> preset."""
    document = tomllib.loads(scenario.read_text())
    name = document.get("bindings", {}).get("file")
    recalls = {}
    if not name or not (scenario.parent / name).exists():
        return recalls
    for line in (scenario.parent / name).read_text(errors="replace").splitlines():
        match = re.fullmatch(r"\s*CockpitView(\d)\s*=\s*([A-Z0-9_, ]+?)\s*", line)
        if match:
            *modifiers, key = [part.strip() for part in match.group(2).split(",")]
            recalls[(frozenset(modifiers), key)] = int(match.group(1))
    return recalls


def preset_moments(scenario):
    """Each preset recalled by its key: the view after its smooth half second."""
    recalls = _bindings(scenario)
    moments = []
    for item in tomllib.loads(scenario.read_text()).get("input", []):
        modifiers = frozenset(m for m in ("CONTROL", "SHIFT", "ALT") if item.get(m.lower()))
        preset = recalls.get((modifiers, str(item.get("key", ""))))
        if preset is not None:
            moments.append((item["time"] + 0.6, f"Preset {preset} recalled"))
    return moments


def moments(t, scenario):
    """The moments of a flight worth a still, in time order: a few evenly
    spread ones when nothing stands out."""
    found = observer_moments(t) + pilot_moments(t) + pointer_moments(t)
    if scenario and scenario.exists():
        found += preset_moments(scenario)
    end = t["time"][-1]
    found = sorted((time, caption) for time, caption in found if 0 <= time <= end)
    if len(found) > MOST_STILLS:
        step = len(found) / MOST_STILLS
        found = [found[int(k * step)] for k in range(MOST_STILLS)]
    if not found:
        found = [(end * k / 4, "") for k in (1, 2, 3)]
    return found


def render(renderer, folder, t):
    """Renders the run's video and its stills into its folder; returns the
    stills as (file name, time, caption), the video's name and its speed."""
    folder = Path(folder)
    scenario = scenario_of(folder)
    chosen = moments(t, scenario)
    stills = [(f"still-{k}.png", time, caption) for k, (time, caption) in enumerate(chosen)]
    speed = speed_for(t["time"][-1])
    command = [str(renderer), str(scenario), str(folder / "trace.csv"), "--video", str(folder / "flight.webm"),
               "--speed", str(speed)]
    for name, time, _ in stills:
        command += ["--still", f"{time:.3f}:{folder / name}"]
    subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
    return stills, "flight.webm", speed
