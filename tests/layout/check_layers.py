#!/usr/bin/env python3
"""The module's layers: a folder of src/ includes only folders below it.

    module            the DLL's entry and exported records
    shell             lifecycle, hooks and router, host menu
    camera cockpit input interaction sound tracker ui
                      the subsystems: they may use each other, along the
                      module's own call chain
    host              host layout, variables, settings, texts, module state
    maths             angles, geometry, numeric conversions
    platform          the ports, and their win32 and sim sides

Usage: check_layers.py SRC_FOLDER. Prints every include that reaches up and
exits with 1 if there is one.
"""
import pathlib
import re
import sys

RANKS = {
    "platform": 0,
    "maths": 1,
    "host": 2,
    "camera": 3, "cockpit": 3, "input": 3, "interaction": 3, "sound": 3, "tracker": 3, "ui": 3,
    "shell": 4,
    "module": 5,
}
SUBSYSTEMS = 3
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
            up = RANKS[there] > RANKS[here]
            sideways = RANKS[there] == RANKS[here] and RANKS[here] != SUBSYSTEMS
            if up or sideways:
                problems.append(f"{relative} includes {included}: {there}/ is not below {here}/")
    for problem in problems:
        print(problem)
    if not problems:
        print(f"layers kept: {source}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
