#!/usr/bin/python3
"""The Wine end-to-end tests that must run the shipped 32-bit module, on a
machine whose kernel refuses 32-bit programs: one boot of the emulated
machine (tools/vm32) runs them under its 32-bit Wine, against this checkout's
32-bit build (build/mingw), in the machine's one prepared Wine prefix.

usage: run_emulated.py CHECKOUT WINDOWS_BUILD NATIVE_SIMHOST [TEST ...]
(the two builds inside the checkout, which the machine sees; default: the set below)

The set: the module's start-up, hooks and menus, dialogs, sound, the release
archive installed and flown, and every flight of data/scenarios flown by the
32-bit module with its trace byte for byte the native core's (and the host's
stdcall look-up checked). Under emulation on two cores it takes about six
minutes, the machine's first build on a machine about six more."""

import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools" / "vm32"))
import vm32  # noqa: E402

TESTS = ("startup", "hooks_and_menu", "dialogs", "motion_dialog", "sound", "installed_archive", "agreement")
SECONDS = 2700

# The machine's shares cannot map executables (Wine maps its images), so the
# job copies what the tests use onto the machine's own disk, at the checkout's
# own path: the native simhost finds its sounds where it was built to.
JOB = """set -u
checkout="{checkout}"
mkdir -p "$checkout"
for path in {paths}; do
  mkdir -p "$checkout/$(dirname "$path")"
  cp -a "/mnt/checkout/$path" "$checkout/$path"
done
cd "$checkout"
export HOME=/root VAROLEN_WINE_PREFIX=/opt/varolen/prefix VAROLEN_WINE_SCRATCH=/tmp/varolen-wine
failed=0
for test in {tests}; do
  start=$(date +%s)
  if python3 tests/wine/run_wine_test.py "{build}" "$test" "{native}" > "/mnt/share/$test.log" 2>&1; then
    result=OK
  else
    result=FAILED
    failed=1
  fi
  echo "wine32.$test: $result in $(( $(date +%s) - start )) s"
done
exit $failed
"""

def main(arguments):
    checkout = Path(arguments[0]).resolve()
    inside = [Path(path).resolve().relative_to(checkout).as_posix() for path in arguments[1:3]]
    tests = arguments[3:] or TESTS
    started = time.monotonic()
    with tempfile.TemporaryDirectory(prefix="varolen-wine32-") as folder:
        job = Path(folder) / "job.sh"
        build, native = inside
        paths = ["tests/wine", "data", "build/native/sounds", native, f"{build}/src/Varolen2004.dll",
                 f"{build}/tools/simhost/simhost.exe", f"{build}/package"]
        job.write_text(JOB.format(checkout=checkout, paths=" ".join(f'"{path}"' for path in paths), tests=" ".join(tests),
                                  build=build, native=native))
        status, share = vm32.run(job, checkout, SECONDS, share=Path(folder) / "share")
        log = share / "job.log"
        print(log.read_text(errors="replace") if log.exists() else "(the machine wrote nothing)")
        for test in tests:
            output = share / f"{test}.log"
            text = output.read_text(errors="replace") if output.exists() else ""
            if "OK" not in text.splitlines()[-1:]:
                print(f"--- wine32.{test} ---\n{text[-3000:]}")
        if status is None:
            print((share / "console.log").read_text(errors="replace")[-3000:])
            print(f"the emulated machine did not finish within {SECONDS} s")
    print(f"32-bit Wine under emulation: {time.monotonic() - started:.0f} s")
    return 0 if status == 0 else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
