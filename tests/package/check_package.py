#!/usr/bin/python3
"""Checks the release archive: unpacked into the simulator's folder, it must
put every file where the module looks for it, and nothing else. Also checks
that the README names the version the build carries.

usage: check_package.py ARCHIVE VERSION"""

import re
import struct
import sys
import zipfile
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
SOUNDS = ["Wind 4-9.wav", "Wind 10-X.wav", "Stress.wav", "Walk.wav", "Run.wav", "Crouch.wav"]
FILES = {"Modules/Varolen2004.dll", "Varolen2004.cfg", "Varolen/Docs/Guide.html",
         *(f"Varolen/Sound/{name}" for name in SOUNDS)}


def fail(message):
    print(f"FAIL: {message}")
    sys.exit(1)


def check_wave(name, data):
    """Mono PCM, as the module's wave reader takes it."""
    if data[:4] != b"RIFF" or data[8:12] != b"WAVE" or struct.unpack("<I", data[4:8])[0] != len(data) - 8:
        fail(f"{name} is not a whole RIFF WAVE file")
    chunks, offset = {}, 12
    while offset + 8 <= len(data):
        kind, size = data[offset:offset + 4], struct.unpack("<I", data[offset + 4:offset + 8])[0]
        chunks[kind] = data[offset + 8:offset + 8 + size]
        offset += 8 + size + (size & 1)
    form, channels = struct.unpack("<HH", chunks.get(b"fmt ", bytes(4))[:4])
    if (form, channels) != (1, 1) or len(chunks.get(b"data", b"")) < 1000:
        fail(f"{name}: format {form}, {channels} channels, {len(chunks.get(b'data', b''))} bytes of sound")


def check_guide(html, version):
    for text in ("<title>", "Varolen2004.cfg", "Setup", f"version {version}"):
        if text not in html:
            fail(f"the guide lacks {text!r}")
    if not re.search(r'<img [^>]*src="data:image/png;base64,', html):
        fail("the guide's pictures are not in the page")
    if re.search(r'<img [^>]*src="(?!data:)', html):
        fail("the guide points at a picture outside the page")
    anchors = set(re.findall(r' id="([^"]+)"', html))
    for target in re.findall(r'href="#([^"]+)"', html):
        if target not in anchors:
            fail(f"the guide links to #{target}, which it does not have")


def check_readme(version):
    text = (ROOT / "README.md").read_text(encoding="utf-8")
    named = set(re.findall(r"(?:version |Varolen2004-)(\d+\.\d+\.\d+)", text))
    if named != {version}:
        fail(f"the README names versions {sorted(named)}, the build is {version}")


def main(path, version):
    check_readme(version)
    archive = Path(path)
    bits = "win32" if archive.name.endswith("-win32.zip") else "win64"
    if archive.name != f"Varolen2004-{version}-{bits}.zip":
        fail(f"archive name {archive.name} does not carry version {version}")
    try:
        zip_file = zipfile.ZipFile(archive)
    except (OSError, zipfile.BadZipFile) as error:
        fail(f"{archive}: {error} (build it with: cmake --workflow --preset mingw)")
    files = {name for name in zip_file.namelist() if not name.endswith("/")}
    if files != FILES:
        fail(f"unexpected files {sorted(files - FILES)}, missing {sorted(FILES - files)}")
    if any(name.startswith(("/", "..")) or "\\" in name for name in zip_file.namelist()):
        fail("the archive has paths that do not unpack into the simulator's folder")

    dll = zip_file.read("Modules/Varolen2004.dll")
    header = struct.unpack("<I", dll[60:64])[0] + 4
    machine, symbols = struct.unpack("<H", dll[header:header + 2])[0], struct.unpack("<I", dll[header + 12:header + 16])[0]
    if dll[:2] != b"MZ" or machine != {"win32": 0x14C, "win64": 0x8664}[bits]:
        fail(f"the module is not a {bits} image")
    if symbols != 0 or b".debug_info" in dll:
        fail("the module in the archive carries its debug information")

    # The bindings as in the source, with Windows line ends for Notepad.
    bindings = zip_file.read("Varolen2004.cfg")
    if bindings.count(b"\r\n") != bindings.count(b"\n"):
        fail("Varolen2004.cfg does not have Windows line ends")
    if bindings.replace(b"\r\n", b"\n") != (ROOT / "data" / "Varolen2004.cfg").read_bytes():
        fail("Varolen2004.cfg is not the project's default bindings")

    for name in SOUNDS:
        check_wave(name, zip_file.read(f"Varolen/Sound/{name}"))
    check_guide(zip_file.read("Varolen/Docs/Guide.html").decode("utf-8"), version)
    print(f"OK: {archive.name} holds {len(files)} files where the module looks for them")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
