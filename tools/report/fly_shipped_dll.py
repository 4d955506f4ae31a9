#!/usr/bin/python3
"""Flies the demo's scenarios again with the module that pilots install: the
32-bit Varolen2004.dll of build/mingw, loaded by simhost.exe under 32-bit Wine;
on this machine if it runs 32-bit programs, else in the emulated machine of
tools/vm32. Each run folder's trace.csv and summary.txt become the DLL's
(the native run's motion.csv, which only the native host can write, stays),
and flown_by.txt says which module flew it. A flight the DLL could not fly
keeps the native core's trace and says so.

usage: fly_shipped_dll.py RUN_FOLDER...   (each named after its scenario in data/scenarios)
       fly_shipped_dll.py --inside OUT SCENARIO...   (in the machine that runs 32-bit Wine)"""

import os
import shutil
import sys
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "tests" / "wine"))
sys.path.insert(0, str(ROOT / "tools" / "vm32"))
from wine_host import WineHost, can_run_32bit_programs  # noqa: E402

BUILD = ROOT / "build" / "mingw"
DIRECT = "the shipped 32-bit Varolen2004.dll, in simhost.exe under 32-bit Wine"
EMULATED = DIRECT + " in an emulated machine (this machine's kernel refuses 32-bit programs)"
NATIVE = "the native core (the shipped DLL could not fly it: {why})"


def fly(out, scenarios, prefix):
    """Flies each scenario into OUT/NAME; a line per flight, 'NAME ok' or 'NAME failed: why'."""
    host = WineHost(BUILD, prefix)
    lines = []
    for scenario in scenarios:
        name = Path(scenario).stem
        code, summary, trace = host.run(scenario, Path(out) / name, timeout=1800)
        lines.append(f"{name} ok" if code == 0 and trace else f"{name} failed: simhost.exe ended with {code}")
    host.wineserver("-w")
    return lines


def main(arguments):
    if arguments[:1] == ["--inside"]:
        lines = fly(arguments[1], arguments[2:], Path(os.environ["VAROLEN_WINE_PREFIX"]))
        Path(arguments[1], "flights.txt").write_text("\n".join(lines) + "\n")
        return 0
    runs = [Path(folder).resolve() for folder in arguments]
    scenarios = [ROOT / "data" / "scenarios" / f"{run.name}.toml" for run in runs]
    with tempfile.TemporaryDirectory(prefix="varolen-dll-") as scratch:
        if can_run_32bit_programs():
            host = WineHost(BUILD, Path(scratch) / "prefix")
            host.create_prefix()
            lines, flown_by = fly(Path(scratch) / "out", scenarios, host.prefix), DIRECT
            shutil.rmtree(host.prefix, ignore_errors=True)
            out = Path(scratch) / "out"
        else:
            import vm32
            job = Path(scratch) / "job.sh"
            inside = " ".join(f'"{scenario.relative_to(ROOT).as_posix()}"' for scenario in scenarios)
            job.write_text(f"""set -u
checkout="{ROOT}"
for path in tests/wine tools/report data build/native/sounds build/mingw/src/Varolen2004.dll \\
            build/mingw/tools/simhost/simhost.exe; do
  mkdir -p "$checkout/$(dirname "$path")"
  cp -a "/mnt/checkout/$path" "$checkout/$path"
done
cd "$checkout"
mkdir -p /mnt/share/out
HOME=/root VAROLEN_WINE_PREFIX=/opt/varolen/prefix python3 tools/report/fly_shipped_dll.py --inside /mnt/share/out {inside}
""")
            status, share = vm32.run(job, ROOT, 3600, share=Path(scratch) / "share")
            out = share / "out"
            flights = out / "flights.txt"
            if not flights.exists() and (share / "job.log").exists():
                print((share / "job.log").read_text(errors="replace")[-3000:])
            lines = flights.read_text().splitlines() if flights.exists() else \
                [f"{scenario.stem} failed: the emulated machine {'did not finish' if status is None else 'ended'}"
                 for scenario in scenarios]
            flown_by = EMULATED
        for run, line in zip(runs, lines):
            name, _, result = line.partition(" ")
            if result == "ok":
                shutil.copy(out / name / "trace.csv", run / "trace.csv")
                # The scenario as this machine names it, not as Wine did (Z:\...).
                native = (run / "summary.txt").read_text().splitlines()
                lines_of_dll = (out / name / "summary.txt").read_text().replace("\r", "").splitlines()
                scenario = [line for line in native if line.startswith("scenario: ")]
                (run / "summary.txt").write_text("\n".join(
                    scenario + [line for line in lines_of_dll if not line.startswith("scenario: ")]) + "\n")
                (run / "flown_by.txt").write_text(flown_by + "\n")
            else:
                (run / "flown_by.txt").write_text(NATIVE.format(why=result.removeprefix("failed: ")) + "\n")
            print(f"{run.name}: flown by {(run / 'flown_by.txt').read_text().strip()}")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
