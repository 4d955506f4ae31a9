#!/usr/bin/python3
"""End-to-end tests of the module's Windows build in simhost.exe under Wine.

usage: run_wine_test.py WINDOWS_BUILD TEST [NATIVE_SIMHOST]
TEST is one of: prefix, startup, no_main_window, hooks_and_menu, registry,
registry_at_process_end, registry_garbage, dialogs, motion_dialog, sound, installed_archive, frame_cost, stress,
agreement (stress and agreement also need the native simhost), cleanup.

The prefix and every run's files lie in a scratch folder of the ctest run that
runs the tests (named after its process), so that two runs of the suite at once
keep out of each other's way: "prefix" makes it, "cleanup" removes it. Set
VAROLEN_WINE_SCRATCH to use another folder, for example when running by hand."""

import csv
import io
import math
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile
from pathlib import Path

from wine_host import ROOT, WineHost

SCENARIOS = Path(__file__).resolve().parent / "scenarios"
MODULE_MENU = [
    "30720 Activate Fly-by", "30721 Activate Approach View", "30723 Internal pilot view",
    "30724 External pilot view", "30725 Enable wheel zoom in VC", "30726 Use mouse in Spot view", "30727 Sound on",
    "30732 Head tracker", "-", "30729 Save view config...", "30728 Load view config...", "-", "30722 Setup...", "30733 Motion...",
    "30731 About...",
]
DEFAULT_TEXTS = {
    "FlyByActive": "1", "FlyByDuration": "10", "FlyByRelAltitude": "0", "FlyByMinDistance": "50",
    "FlyByCameraPlacement": "0", "FlyByTravelling": "0", "ApproachActive": "0", "ApproachViewX": "25.000000",
    "ApproachViewZ": "0.000000", "InternalViewActive": "0", "EnableWheelZoom": "1", "UseMouseInSpot": "0",
    "SmoothView": "1", "ViewTurbRate": "0.600000", "GroundTurbRate": "0.600000", "BuffetTurbRate": "0.600000",
    "RunningSpeed": "5.000000", "ViewTurbOn": "1", "GroundTurbOn": "1", "BuffetTurbOn": "1", "SoundOn": "1", "HeadTrackerOn": "1",
}
# Trace columns that hold floating-point values, and how far the hosts may differ.
TOLERANCE = 1e-6


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def values(summary, key):
    return [line.split(": ", 1)[1] for line in summary if line.startswith(key + ": ")]


def menu_of(summary):
    return [entry.replace(" [checked]", "") for entry in values(summary, "menu")], \
           [entry.endswith("[checked]") for entry in values(summary, "menu")]


def registry_of(summary):
    return dict(entry.split("=", 1) for entry in values(summary, "registry"))


def first_row(trace):
    return next(csv.DictReader(io.StringIO(trace)))


def play(host, work, scenario, *options):
    code, summary, trace = host.run(SCENARIOS / scenario, work / Path(scenario).stem, *options)
    check(code == 0, f"simhost.exe ended with {code} for {scenario}")
    check(values(summary, "frames") and trace, f"no trace for {scenario}")
    return summary, trace


def test_prefix(host, work, native):
    host.create_prefix()


def test_startup(host, work, native):
    summary, trace = play(host, work, "quiet.toml")
    check(values(summary, "linkage") == ["0x13 0 0 0x900"], f"linkage words {values(summary, 'linkage')}")
    check({"timeGetTime", "GetAsyncKeyState"} <= set(values(summary, "patched")),
          f"imports redirected: {values(summary, 'patched')}")
    check(values(summary, "message_box") == [], f"unexpected messages {values(summary, 'message_box')}")
    check(values(summary, "frames") == ["30"], "not every frame ran")
    check(menu_of(summary)[0] == MODULE_MENU, f"menu {menu_of(summary)[0]}")


def test_no_main_window(host, work, native):
    summary, trace = play(host, work, "no_main_window.toml")
    check(values(summary, "message_box") == ["FS window not found"], f"messages {values(summary, 'message_box')}")
    check(values(summary, "frames") == ["30"], "the host did not run on after the message")


def test_hooks_and_menu(host, work, native):
    summary, trace = play(host, work, "menu_and_hooks.toml")
    entries, checked = menu_of(summary)
    check(entries == MODULE_MENU, f"menu items {entries}")
    # Fly-by (posted) and Sound on (sent) switched off, internal view on, wheel
    # zoom off by the bound key (CONTROL read through the redirected key state).
    check(checked[:7] == [False, False, True, False, False, False, False], f"check marks {checked[:7]}")
    # Consumed: the two posted module commands, and the bound key's down and up
    # (the host got them as WM_NULL). Save reached the host; a sent message
    # reaches the window whatever the hook did to its record; the key without
    # CONTROL is the host's.
    check(values(summary, "consumed") == ["4"], f"consumed {values(summary, 'consumed')}")
    # Save view config... opened the system's save dialog (the host cancelled it).
    check(values(summary, "message_box") == ["file dialog Save file"], f"dialogs {values(summary, 'message_box')}")
    # Opened five times, the host's pop-up holds its own item, one separator and one sub-menu.
    check(values(summary, "host_popup_items") == ["3"], f"host pop-up items {values(summary, 'host_popup_items')}")


def test_registry(host, work, native):
    summary, _ = play(host, work, "menu_and_hooks.toml")
    written = registry_of(summary)
    expected = dict(DEFAULT_TEXTS, FlyByActive="0", SoundOn="0", InternalViewActive="1", EnableWheelZoom="0")
    check(written == expected, f"registry after the first shut-down {written}")
    _, trace = play(host, work, "quiet.toml", "--keep-registry")
    row = first_row(trace)
    check((row["fly_by"], row["sound"], row["internal_view"]) == ("0", "0", "1"),
          f"settings at the next start-up {row['fly_by']} {row['sound']} {row['internal_view']}")


def test_registry_at_process_end(host, work, native):
    """The simulator quits with the module loaded: the settings are written as
    the process ends, and read back at the next start-up."""
    _, _ = play(host, work, "menu_and_hooks.toml", "--exit-loaded")
    host.wineserver("-w")
    _, trace = play(host, work, "quiet.toml", "--keep-registry")
    row = first_row(trace)
    check((row["fly_by"], row["sound"], row["internal_view"]) == ("0", "0", "1"),
          f"settings after the process ended with the module loaded: "
          f"{row['fly_by']} {row['sound']} {row['internal_view']}")


def test_registry_garbage(host, work, native):
    summary, trace = play(host, work, "registry_garbage.toml")
    written = registry_of(summary)
    check(written["FlyByDuration"] == "12" and written["SoundOn"] == "0" and written["ApproachViewX"] == "0.000000"
          and written["ViewTurbRate"] == "5.000000", f"garbage texts converted to {written}")
    check(first_row(trace)["sound"] == "0", "an empty text did not turn the sound off")
    # A text of more than 1 MiB is cut like any long text, not taken as missing.
    scenario = work / "registry_long.toml"
    scenario.write_text((SCENARIOS / "registry_garbage.toml").read_text().replace(
        'FlyByDuration = "12abc"', 'FlyByDuration = "17' + " " * (3 << 19) + '"'))
    code, summary, _ = host.run(scenario, work / "registry_long")
    check(code == 0, f"simhost.exe ended with {code} for a long registry text")
    check(registry_of(summary)["FlyByDuration"] == "17", f"a long text read as {registry_of(summary)['FlyByDuration']}")


def test_dialogs(host, work, native):
    summary, trace = play(host, work, "dialogs.toml")
    dialogs = values(summary, "dialog")
    check(len(dialogs) == 5, f"dialogs {dialogs}")
    check(dialogs[0].startswith("Varolen Setup shows 1000=10 1001=0 1002=[x] 1003=[ ] 1004=[ ] 1005=[ ] 1006=50 "
                                "1007=0.60 1008=5.00") and dialogs[0].endswith("; command 1 closed it"),
          f"the first Setup {dialogs[0]}")
    check("1000=25 " in dialogs[1] and "1004=[x]" in dialogs[1] and "1006=80 " in dialogs[1]
          and "1007=2.00 " in dialogs[1] and "1010=[ ]" in dialogs[1] and dialogs[1].endswith("; command 2 closed it"),
          f"the second Setup shows what the first stored {dialogs[1]}")
    check(dialogs[2:] == ["About Varolen... shows -; command 1 closed it", "About Varolen... shows -; command 2 closed it",
                          "About Varolen... shows -; close box closed it"], f"About {dialogs[2:]}")
    written = registry_of(summary)
    check((written["FlyByDuration"], written["ViewTurbRate"], written["FlyByMinDistance"],
           written["FlyByCameraPlacement"], written["ViewTurbOn"]) == ("25", "2.000000", "80", "2", "0"),
          f"registry {written}")
    # The native host's model of the dialogs sees the same.
    out = work / "native"
    subprocess.run([native, str(SCENARIOS / "dialogs.toml"), "--out", str(out), "--quiet"], check=True, timeout=600)
    native_dialogs = values((out / "summary.txt").read_text().splitlines(), "dialog")
    check(native_dialogs == dialogs, f"native {native_dialogs}")


def test_motion_dialog(host, work, native):
    """The Motion dialog through the real dialog: Cancel, Escape and the close
    box change nothing; OK (with a decimal comma) changes the flight at once
    and rewrites only the options' sections of the binding file; a read-only
    binding file gives the message and loses nothing."""
    summary, trace = play(host, work, "motion_dialog.toml")
    dialogs = values(summary, "dialog")
    check([line.rsplit("; ", 1)[1] for line in dialogs] ==
          ["command 2 closed it", "command 2 closed it", "close box closed it", "command 1 closed it"],
          f"dialogs {dialogs}")
    check(all(line.startswith("Varolen Motion shows 2000=[ ] 2001=0.5 2002=0 2003=0 ") for line in dialogs),
          f"what the dialog showed {dialogs}")
    rows = list(csv.DictReader(io.StringIO(trace)))
    bank = {round(float(row["time"]), 2): float(row["view_bank"]) for row in rows}
    check(abs(bank[2.9]) < 1e-6, f"the level head before OK: {bank[2.9]}")
    check(abs(bank[4.9] - 15.0) < 0.5, f"half of the 30 degree right bank levelled at once after OK: {bank[4.9]}")
    original = (SCENARIOS / "motion_dialog.toml").read_text().split('text = """', 1)[1].split('"""', 1)[0]
    original = original.replace("\n", "\r\n").encode()  # the host writes the file as Windows text
    written = (work / "motion_dialog" / "simulator" / "Varolen2004.cfg").read_bytes()
    head = original.split(b"// LevelHead=0")[0]
    check(written.startswith(head + b"SameAtAnyFrameRate=0\r\n") and b"\r\nLevelHead=0.5\r\n" in written,
          f"the file up to its [Motion] settings kept, the settings after it {written!r}")
    check(b"\r\n// LevelHead=0\r\n\r\n[HeadTracker]\r\nYaw=1\r\n" in written and b"LoadFactor=0\r\n" in written,
          f"the options' lines {written!r}")
    check(b"\n" not in written.replace(b"\r\n", b""), "every line ends as Windows ends them")
    native_out = work / "native"
    subprocess.run([native, str(SCENARIOS / "motion_dialog.toml"), "--out", str(native_out), "--quiet"], check=True,
                   timeout=600)
    check(values((native_out / "summary.txt").read_text().splitlines(), "dialog") == dialogs, "native dialogs")
    # Read-only: the options work, the pilot is told, the file is as it was.
    scenario = work / "motion_dialog_read_only.toml"
    scenario.write_text((SCENARIOS / "motion_dialog.toml").read_text().replace('text = """', 'read_only = true\ntext = """'))
    summary, trace = play(host, work, scenario)
    check(len(values(summary, "message_box")) == 1 and "could not be written" in values(summary, "message_box")[0],
          f"messages {values(summary, 'message_box')}")
    kept = (work / "motion_dialog_read_only" / "simulator" / "Varolen2004.cfg").read_bytes()
    check(kept == original, f"the read-only file {kept!r}")
    rows = list(csv.DictReader(io.StringIO(trace)))
    check(abs(float(rows[-1]["view_bank"]) - 15.0) < 0.5, "the options work though unsaved")


def run_with_sound_to_file(host, work, scenario, **options):
    """Plays a scenario with Wine's ALSA output going to a file; checks that
    DirectSound played something that is not silence."""
    home = work / "home"
    home.mkdir(parents=True, exist_ok=True)
    output = home / "sound.raw"
    output.unlink(missing_ok=True)
    (home / ".asoundrc").write_text(
        f'pcm.!default {{ type file; slave.pcm "null"; file "{output}"; format "raw" }}\n')
    host.wineserver("-k")  # a new wineserver reads the audio setting
    code, summary, trace = host.run(SCENARIOS / scenario, work / Path(scenario).stem, home=home, **options)
    host.wineserver("-k")
    check(code == 0, f"simhost.exe ended with {code}")
    check(output.exists() and output.stat().st_size > 100000, "Wine wrote no sound: DirectSound did not play")
    data = output.read_bytes()
    loud = sum(1 for index in range(0, len(data), 997) if data[index] not in (0, 0x80, 0x7F, 0xFF))
    check(loud > len(data) // 997 // 4, f"the sound is silence ({loud} of {len(data) // 997} samples)")
    print(f"sound: {len(data)} bytes of audio written by Wine")
    return summary, trace


def test_sound(host, work, native):
    """The effects through a real DirectSound: Wine's ALSA output goes to a file."""
    run_with_sound_to_file(host, work, "sound.toml")


def test_installed_archive(host, work, native):
    """The release archive unpacked into a fresh simulator folder: the module
    loads, its menu appears, the shipped bindings work and the shipped sounds play."""
    archive = host.package()
    check(archive is not None, f"no release archive in {host.build / 'package'}")
    folder = work / "simulator"
    shutil.rmtree(folder, ignore_errors=True)
    with zipfile.ZipFile(archive) as unpacked:
        unpacked.extractall(folder)
    files_before = sorted(path.relative_to(folder) for path in folder.rglob("*"))
    summary, trace = run_with_sound_to_file(host, work, "installed.toml", installed=folder)
    check(values(summary, "message_box") == [], f"messages {values(summary, 'message_box')}")
    check(values(summary, "linkage") == ["0x13 0 0 0x900"], f"linkage words {values(summary, 'linkage')}")
    check(menu_of(summary)[0] == MODULE_MENU, f"menu {menu_of(summary)[0]}")
    rows = list(csv.DictReader(io.StringIO(trace)))
    at = {second: rows[int(second * 30)] for second in (2.0, 3.5, 4.0, 8.0)}
    # CONTROL+SHIFT+F and CONTROL+SHIFT+W of the shipped Varolen2004.cfg, then NUMPAD_8 held.
    check((at[2.0]["fly_by"], at[3.5]["fly_by"]) == ("1", "0"), "the fly-by key did nothing")
    check((at[2.0]["external_view"], at[3.5]["external_view"]) == ("0", "1"), "the walking pilot key did nothing")
    check(at[4.0]["pilot_latitude"] != at[8.0]["pilot_latitude"], "the walking pilot did not walk")
    check(registry_of(summary)["FlyByActive"] == "0", "the setting was not stored")
    check(sorted(path.relative_to(folder) for path in folder.rglob("*")) == files_before,
          "the module changed the simulator's folder")
    print(f"{archive.name}: installed, loaded, menu, keys and sounds")


def pilot_scene(objects):
    """A scenario: the walking pilot pacing among `objects` buildings 30 m apart,
    each top 5 x 5 squares (about 60 triangles an object)."""
    side = math.ceil(math.sqrt(objects))
    east_degree = 111130.0 * math.cos(math.radians(47.0))
    lines = [
        'title = "The walking pilot among many buildings"',
        "[run]\nduration = 20.0\nframe_rate = 30",
        "[[host.view]]\nkind = 2\neye_base = [0.0, 0.9, 1.5]",
        '[registry]\nInternalViewActive = "1"\nFlyByActive = "0"\nSoundOn = "0"',
        '[bindings]\ntext = """\n[Keyboard]\nToggleExternalView=CONTROL,SHIFT,W\nPilotForward=DOUBLE,NUMPAD_8\n"""',
        "[[aircraft]]\nlatitude = 47.0\nlongitude = 8.0\naltitude = 1400\nground_elevation = 1400\non_ground = true",
        '[[input]]\ntime = 2.0\nkey = "W"\ncontrol = true\nshift = true',
        '[[input]]\ntime = 3.0\nkey_down = "NUMPAD_8"',
        '[[input]]\ntime = 18.0\nkey_up = "NUMPAD_8"',
    ]
    for index in range(objects):
        east = 30.0 * (index % side - side // 2) + 20.0
        north = 30.0 * (index // side - side // 2) + 20.0
        lines.append(f"[[object]]\nlatitude = {47.0 + north / 111130.0:.8f}\nlongitude = {8.0 + east / east_degree:.8f}\n"
                     f"base = 426.72\nbox = [8, 1, 8]\ngrid = 5")
    return "\n\n".join(lines) + "\n"


def test_frame_cost(host, work, native):
    """What a frame costs inside simhost.exe with the module walking the pilot
    over 1,000 objects, against the host alone; and how many VirtualQuery calls
    the module's readability tests make (a few per memory region, not one per
    record)."""
    scenario = work / "pilot_1000.toml"
    scenario.write_text(pilot_scene(1000))
    code, summary, trace = host.run(scenario, work / "module")
    check(code == 0, f"simhost.exe ended with {code}")
    rows = list(csv.DictReader(io.StringIO(trace)))
    check(float(rows[-1]["pilot_altitude"]) > 0, "the pilot never walked")
    code, alone, _ = host.run(scenario, work / "alone", "--without-module")
    for line in values(summary, "frame_cost") + values(alone, "frame_cost") + values(summary, "virtual_query"):
        print(line)
    queries = values(summary, "virtual_query")
    check(queries, "no VirtualQuery count in the summary")
    most = int(queries[0].rsplit(" ", 1)[1])
    # The host's memory lies in five regions: about one query each a frame
    # (without the per-message cache and the region spans, over seven thousand).
    check(most <= 16, f"{most} VirtualQuery calls in one frame")


def compare_traces(native_trace, wine_trace, name, exact=False):
    """Integer columns equal; the others within TOLERANCE, or with `exact` (the
    shipped 32-bit module, whose SSE2 arithmetic is the native core's) to the byte."""
    native_rows = list(csv.DictReader(io.StringIO(native_trace)))
    wine_rows = list(csv.DictReader(io.StringIO(wine_trace)))
    check(len(native_rows) == len(wine_rows), f"{name}: {len(native_rows)} native frames, {len(wine_rows)} under Wine")
    largest, where = 0.0, "-"
    for native_row, wine_row in zip(native_rows, wine_rows):
        for column, native_text in native_row.items():
            wine_text = wine_row[column]
            if wine_text.startswith("-") and not wine_text.lstrip("-"):
                continue  # inside the module (its sounds, its tracker offset), out of the Win32 host's sight
            if exact or "." not in native_text:
                check(native_text == wine_text,
                      f"{name}: frame {native_row['frame']} {column}: native {native_text}, Wine {wine_text}")
                continue
            deviation = abs(float(native_text) - float(wine_text))
            if deviation > largest:
                largest, where = deviation, f"frame {native_row['frame']} {column}"
    print(f"{name}: {len(native_rows)} frames agree; largest deviation {largest:.3g} ({where})")
    check(largest <= TOLERANCE, f"{name}: deviation {largest} above {TOLERANCE} at {where}")


def stress_scene(inputs, menus):
    """A scenario of `inputs` key and mouse messages and `menus` menu choices,
    drawn from a fixed seed: bound and unbound keys with and without their
    modifiers, held movement keys, the pointer, the buttons and the wheel."""
    chooser = random.Random(2004)
    taps = [(key, control, shift) for key in "FAILGBZSW" for control, shift in ((True, True), (False, False))]
    taps += [(digit, True, shift) for digit in "123" for shift in (False, True)] + [("Q", 0, 0), ("F5", 0, 0)]
    held = ["NUMPAD_8", "NUMPAD_2", "NUMPAD_4", "NUMPAD_6", "NUMPAD_9", "NUMPAD_7"]
    duration = (inputs + menus) / 100.0
    cfg = (ROOT / "data" / "Varolen2004.cfg").read_text()
    lines = [
        'title = "Key, mouse and menu messages by the thousand"',
        f"[run]\nduration = {duration + 1.0}\nframe_rate = 30",
        "[[host.view]]\nkind = 2\neye_base = [0.0, 0.9, 1.5]",
        "[[host.view]]\nkind = 4",
        f"[bindings]\ntext = '''\n{cfg}'''",
        "[[aircraft]]\nlatitude = 47.0\nlongitude = 8.0\naltitude = 1400\nground_elevation = 1400\non_ground = true",
        "[[click_area]]\ncentre = [0.0, 0.8, 2.5]\nradius = 0.2",
    ]
    events = ["menu"] * menus + ["input"] * inputs
    chooser.shuffle(events)
    for index, kind in enumerate(events):
        at = f"[[input]]\ntime = {1.0 + index / 100.0:.2f}\n"
        if kind == "menu":
            lines.append(at + f'menu = "{chooser.choice(["Enable wheel zoom in VC", "Use mouse in Spot view"])}"')
            continue
        roll = chooser.random()
        if roll < 0.35:
            key, control, shift = chooser.choice(taps)
            lines.append(at + f'key = "{key}"' + ("\ncontrol = true" if control else "") + ("\nshift = true" if shift else ""))
        elif roll < 0.5:
            lines.append(at + f'{chooser.choice(["key_down", "key_up"])} = "{chooser.choice(held)}"')
        elif roll < 0.8:
            lines.append(at + f"mouse_move = [{chooser.randrange(0, 800)}, {chooser.randrange(0, 560)}]")
        elif roll < 0.95:
            lines.append(at + f'{chooser.choice(["button_down", "button_up"])} = "{chooser.choice(["left", "right", "middle"])}"')
        else:
            lines.append(at + f"wheel = {chooser.choice([-2, -1, 1, 2])}")
    return "\n\n".join(lines) + "\n"


def test_stress(host, work, native):
    """10,000 key and mouse messages and 10,000 openings of the host's menu
    through the real hooks, each consuming decision as the native core makes
    it; then the module unloaded and loaded 100 times in the one process, its
    settings read back each time. Nothing grows."""
    scenario = work / "stress.toml"
    scenario.write_text(stress_scene(10000, 10000))
    subprocess.run([native, str(scenario), "--out", str(work / "native"), "--quiet"], check=True, timeout=600)
    code, summary, trace = host.run(scenario, work / "wine", "--reloads", "100", timeout=1800)
    check(code == 0, f"simhost.exe ended with {code}")
    compare_traces((work / "native" / "trace.csv").read_text(), trace, "stress")
    rows = list(csv.DictReader(io.StringIO(trace)))
    consumed = sum(int(row["consumed"]) for row in rows)
    delivered = sum(int(row["inputs"]) for row in rows)
    print(f"stress: {delivered} inputs, {consumed} consumed by the module")
    check(0 < consumed < delivered, "the module consumed all or nothing")
    check(menu_of(summary)[0] == MODULE_MENU, f"menu after the stress: {menu_of(summary)[0]}")
    start, end = (int(number) for number in re.findall(r"\d+", values(summary, "user_objects")[0]))
    print(f"USER objects: {start} at the start, {end} after the stress")
    check(end <= start + 8, f"USER objects grew from {start} to {end}")
    reloads = values(summary, "reloads")[0]
    print(f"reloads: {reloads}")
    check("settings read back 100," in reloads, f"settings lost in reloads: {reloads}")
    items_before, items_after, objects_before, objects_after = (
        int(number) for number in re.findall(r"\d+", reloads.split("menu items ")[1]))
    check(items_before == items_after, f"the host's menu grew over the reloads: {reloads}")
    check(objects_after <= objects_before + 8, f"USER objects grew over the reloads: {reloads}")


def test_tracker_thread(host, work, native):
    """A tracker's own thread writes poses at 250 Hz in real time, field by
    field, while the module runs frames: every view is finite and within the
    head's reach, and the view follows the head (30 degrees each way)."""
    _, trace = play(host, work, "tracker.toml", "--tracker-thread")
    rows = [row for row in csv.DictReader(io.StringIO(trace)) if float(row["time"]) >= 2.5]
    check(rows, "no frames after the warm-up")
    offsets, eyes = [], []
    for row in rows:
        values = [float(row[key]) for key in ("view_heading", "view_pitch", "view_bank", "eye_x", "eye_y", "eye_z")]
        check(all(math.isfinite(value) for value in values), f"frame {row['frame']}: a view that is no number")
        offsets.append(((float(row["view_heading"]) - float(row["heading_word"]) + 180.0) % 360.0) - 180.0)
        eyes.append(float(row["eye_z"]))
    print(f"tracker: view heading from {min(offsets):.1f} to {max(offsets):.1f}, "
          f"eye z from {min(eyes):.3f} to {max(eyes):.3f}")
    check(max(abs(offset) for offset in offsets) <= 30.5, f"the view turned beyond the head: {offsets}")
    check(max(offsets) - min(offsets) > 40.0, "the view did not follow the head's swing")
    check(0.05 < max(eyes) - min(eyes) <= 0.11, f"the eye did not follow the lean: {min(eyes)} to {max(eyes)}")


def test_agreement(host, work, native):
    # Under emulation a chosen few (VAROLEN_AGREEMENT_SCENARIOS, names without .toml), else every flight.
    chosen = os.environ.get("VAROLEN_AGREEMENT_SCENARIOS", "").split()
    scenarios = [ROOT / "data" / "scenarios" / f"{name}.toml" for name in chosen] or \
        sorted((ROOT / "data" / "scenarios").glob("*.toml"))
    for scenario in scenarios:
        out = work / "agreement" / scenario.stem
        subprocess.run([native, str(scenario), "--out", str(out / "native"), "--quiet"], check=True, timeout=600)
        code, summary, wine_trace = host.run(scenario, out / "wine")
        check(code == 0, f"simhost.exe ended with {code} for {scenario.name}")
        compare_traces((out / "native" / "trace.csv").read_text(), wine_trace, scenario.name, exact=host.is_32bit)
        # The host's look-up is stdcall: the module's calls leave the stack as they
        # found them, loop after loop over its 28-byte records.
        stack = values(summary, "lookup_stack")
        check(stack and stack[0].startswith("balanced, ") and " 0 for neighbouring" not in stack[0],
              f"the variable look-ups' stack in {scenario.name}: {stack}")


def scratch_folder():
    """The folder of this run of the suite: the ctest process is every test's parent."""
    named = os.environ.get("VAROLEN_WINE_SCRATCH")
    return Path(named) if named else Path(tempfile.gettempdir()) / f"varolen-wine-{os.getppid()}"


def main():
    build, test = sys.argv[1:3]
    native = sys.argv[3] if len(sys.argv) > 3 else None
    scratch = scratch_folder()
    # A prepared prefix (the emulated machine's) is used as it stands.
    prepared = os.environ.get("VAROLEN_WINE_PREFIX")
    host = WineHost(build, Path(prepared) if prepared else scratch / "prefix")
    if test == "cleanup" and not prepared:
        if host.prefix.exists():
            host.wineserver("-k")
        shutil.rmtree(scratch, ignore_errors=True)
        return 0
    print(f"Wine tests with {'the 32-bit' if host.is_32bit else 'a 64-bit test'} build in {build}, in {scratch}")
    work = scratch / "work" / test
    work.mkdir(parents=True, exist_ok=True)
    try:
        globals()["test_" + test](host, work, native)
    except AssertionError as failure:
        print(f"FAIL: {failure}")
        return 1
    finally:
        host.wineserver("-w")
    print("OK")
    return 0


if __name__ == "__main__":
    sys.exit(main())
