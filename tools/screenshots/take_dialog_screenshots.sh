#!/usr/bin/env bash
# Takes pictures of the module's Setup, Motion and About dialogs for the user's
# guide: runs the substitute simulator under Xvfb in a Wine virtual desktop (so
# that Wine draws the title bars), opens the dialogs from the menu, and saves
# them as docs/images/setup-dialog.png, motion-dialog.png and about-dialog.png.
#
# Needs: xvfb, python3-pil, and a Windows build (build/mingw or build/mingw64).
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${1:-build/mingw64}
wine=/usr/lib/wine/wine64
[ "$build" = build/mingw ] && wine=wine
work=$(mktemp -d)
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
screen=(xvfb-run -a -s "-screen 0 1024x768x24")

"${screen[@]}" "$wine" wineboot -i >/dev/null 2>&1
z() { echo "Z:$(realpath "$1" | tr / '\\')"; }
for scenario in dialogs motion_dialog; do
  "${screen[@]}" "$wine" explorer /desktop=shot,800x600 "$(z "$build/tools/simhost/simhost.exe")" \
    "$(z tests/wine/scenarios/$scenario.toml)" --out "$(z "$work")\\run" --folder "$(z "$work")\\simulator" \
    --module "$(z "$build/src/Varolen2004.dll")" --dialog-screenshots "$(z "$work")\\shots" >/dev/null 2>&1 || true
done

/usr/bin/python3 - "$work/shots" <<'PYTHON'
import sys
from pathlib import Path
from PIL import Image
shots = Path(sys.argv[1])
for caption, name in (("Varolen Setup", "setup-dialog"), ("Varolen Motion", "motion-dialog"),
                      ("About Varolen...", "about-dialog")):
    Image.open(shots / f"{caption}.bmp").save(f"docs/images/{name}.png")
    print(f"docs/images/{name}.png")
PYTHON
rm -rf "$work"
