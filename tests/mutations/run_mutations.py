#!/usr/bin/python3
"""Applies each mutation of mutations.toml to a copy of the sources, rebuilds,
runs the test that must catch it, and reports every mutant that survives.

A mutation names a file, one line of it as written, the line it becomes and
the test (a ctest name) that must fail. A line that is not in its file exactly
once is an error: the list cannot rot while the code moves on.

The copy and its builds live in build/mutations (kept between runs, so that a
later run rebuilds only what changed); the working tree is never touched. A
mutation of the 32-bit path whose test is wine32.NAME (a test of
tests/wine/run_wine_test.py) is flown by the copy's 32-bit DLL in the emulated
machine (tools/vm32), where this machine cannot run 32-bit programs itself.

usage: run_mutations.py [--only SUBSTRING] [--list]
"""
import argparse
import os
import shutil
import subprocess
import sys
import time
import tomllib
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
LIST = Path(__file__).resolve().parent / "mutations.toml"
WORK = ROOT / "build" / "mutations"
COPY = WORK / "source"
BUILD = COPY / "build" / "native"  # laid out as a checkout's, for the emulated machine
MINGW = COPY / "build" / "mingw"
TARGETS = ["varolen_tests", "simhost", "render_tests", "render"]
MINGW_TARGETS = ["Varolen2004", "simhost"]


def load():
    with open(LIST, "rb") as file:
        mutations = tomllib.load(file)["mutation"]
    problems = []
    for mutation in mutations:
        if not (ROOT / mutation["file"]).is_file():
            problems.append(f"{mutation['file']}: no such file")
            continue
        text = (ROOT / mutation["file"]).read_text()
        count = text.count(mutation["line"] + "\n")
        if count != 1:
            problems.append(f"{mutation['file']}: the line {mutation['line']!r} is there {count} times, not once")
        if mutation["line"] == mutation["becomes"]:
            problems.append(f"{mutation['file']}: {mutation['line']!r} does not change")
    return mutations, problems


def copy_sources():
    files = subprocess.run(["git", "ls-files", "-co", "--exclude-standard"], cwd=ROOT, check=True,
                           capture_output=True, text=True).stdout.splitlines()
    wanted = set()
    for name in files:
        if name.startswith("build/") or not (ROOT / name).is_file():
            continue
        wanted.add(name)
        source, target = ROOT / name, COPY / name
        if not target.exists() or target.read_bytes() != source.read_bytes():
            target.parent.mkdir(parents=True, exist_ok=True)
            shutil.copy2(source, target)
    for target in COPY.rglob("*"):
        relative = target.relative_to(COPY).as_posix()
        if target.is_file() and not relative.startswith("build/") and relative not in wanted:
            target.unlink()


def build(mingw=False):
    folder, targets = (MINGW, MINGW_TARGETS) if mingw else (BUILD, TARGETS)
    if not (folder / "build.ninja").exists():
        options = ["-DCMAKE_BUILD_TYPE=Release", f"-DCMAKE_TOOLCHAIN_FILE={COPY / 'cmake/toolchain-mingw-i686.cmake'}"] \
            if mingw else ["-DCMAKE_BUILD_TYPE=RelWithDebInfo"]
        subprocess.run(["cmake", "-S", str(COPY), "-B", str(folder), "-G", "Ninja", *options], check=True,
                       stdout=subprocess.DEVNULL)
    result = subprocess.run(["cmake", "--build", str(folder), "--target", *targets], capture_output=True, text=True)
    return result.returncode == 0, result.stdout[-3000:] + result.stderr[-3000:]


def test_fails(name):
    if name.startswith("wine32."):
        result = subprocess.run([sys.executable, str(COPY / "tests/wine/run_emulated.py"), str(COPY), str(MINGW),
                                 str(BUILD / "tools/simhost/simhost"), name.split(".", 1)[1]],
                                capture_output=True, text=True)
        return result.returncode != 0
    result = subprocess.run(["ctest", "--test-dir", str(BUILD), "-R", f"^{name}$", "--timeout", "600"],
                            capture_output=True, text=True)
    if "No tests were found" in result.stdout:
        raise RuntimeError(f"no test named {name}")
    return result.returncode != 0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--only", default="", help="only mutations whose file or test contains this")
    parser.add_argument("--list", action="store_true", help="check the list and print it, without running")
    options = parser.parse_args()
    mutations, problems = load()
    for problem in problems:
        print(f"ERROR: {problem}")
    if problems:
        return 2
    mutations = [m for m in mutations if options.only in m["file"] or options.only in m["test"]]
    if options.list:
        for mutation in mutations:
            print(f"{mutation['file']}: {mutation['line'].strip()!r} -> {mutation['becomes'].strip()!r}: {mutation['test']}")
        return 0

    start = time.monotonic()
    copy_sources()
    built, log = build()
    if not built:
        print(log)
        print("ERROR: the unmutated copy does not build")
        return 2
    survivors = []
    for number, mutation in enumerate(mutations, 1):
        file = COPY / mutation["file"]
        original = file.read_text()
        file.write_text(original.replace(mutation["line"] + "\n", mutation["becomes"] + "\n", 1))
        try:
            built, _ = build(mingw=mutation["test"].startswith("wine32."))
            # A mutant that does not build is caught by the compiler.
            caught = not built or test_fails(mutation["test"])
        finally:
            file.write_text(original)
        verdict = "caught" if caught else "SURVIVED"
        print(f"[{number}/{len(mutations)}] {verdict}: {mutation['file']}: {mutation['line'].strip()!r} "
              f"-> {mutation['becomes'].strip()!r} ({mutation['test']})", flush=True)
        if not caught:
            survivors.append(mutation)
    build()
    if any(mutation["test"].startswith("wine32.") for mutation in mutations):
        build(mingw=True)
    print(f"{len(mutations) - len(survivors)} of {len(mutations)} mutants caught in {time.monotonic() - start:.0f} s")
    return 1 if survivors else 0


if __name__ == "__main__":
    sys.exit(main())
