#!/usr/bin/env python3
"""The module's layers: a folder of src/ includes only folders below it, and
never one beside it.

    module            the DLL's entry and exported records
    shell             lifecycle, hooks and input routing, the frame, host menu
    input             key names, bindings, commands, presets
    interaction       mouse look, click areas, walking pilot, ground probe
    cockpit           host view look-up, view update, head motion, movement keys
    camera sound tracker ui
                      the subsystems that use no other
    host              host layout, variables, settings, texts, module state
    maths             angles, geometry, numeric conversions
    platform          the ports, and their win32 and sim sides

Usage: check_layers.py SRC_FOLDER. Prints every include that reaches up or
sideways and exits with 1 if there is one.
"""
import pathlib
import re
import sys

RANKS = {
    "platform": 0,
    "maths": 1,
    "host": 2,
    "camera": 3, "sound": 3, "tracker": 3, "ui": 3,
    "cockpit": 4,
    "interaction": 5,
    "input": 6,
    "shell": 7,
    "module": 8,
}
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"', re.MULTILINE)


def folder_of(path):
    return path.split("/", 1)[0]


def main():
    source = pathlib.Path(sys.argv[1])
    problems = []
    for file in sorted(source.rglob("*")):
        if file.suffix not in (".h", ".cpp", ".rc"):
            continue
        relative = file.relative_to(source).as_posix()
        if "/" not in relative:
            continue
        here = folder_of(relative)
        if here not in RANKS:
            problems.append(f"{relative}: its folder has no place in the layers")
            continue
        for included in INCLUDE.findall(file.read_text(errors="replace")):
            there = folder_of(included)
            if there == here or there not in RANKS or "/" not in included:
                continue
            if RANKS[there] >= RANKS[here]:
                problems.append(f"{relative} includes {included}: {there}/ is not below {here}/")
    for problem in problems:
        print(problem)
    if not problems:
        print(f"layers kept: {source}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
