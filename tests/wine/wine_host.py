"""Runs the Windows build of the module in simhost.exe under Wine.

The shipped module is a 32-bit DLL. Where this machine can run 32-bit
programs, the tests run that very DLL and host under 32-bit Wine. Where it
cannot (some sandboxed kernels refuse 32-bit executables), they run a 64-bit
build of the same sources under 64-bit Wine, which exercises the same Win32
code paths; the 32-bit DLL is then checked statically only."""

import os
import shutil
import struct
import subprocess
import tempfile
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]


def can_run_32bit_programs():
    """Executes a minimal 32-bit Linux program that exits with 0."""
    base, code = 0x08048000, bytes.fromhex("b801000000" "31db" "cd80")  # exit(0)
    size = 52 + 32 + len(code)
    header = struct.pack("<16sHHIIIIIHHHHHH", b"\x7fELF\x01\x01\x01" + bytes(9), 2, 3, 1, base + 84, 52, 0, 0,
                         52, 32, 1, 0, 0, 0)
    program = struct.pack("<8I", 1, 0, base, base, size, size, 5, 0x1000)
    with tempfile.TemporaryDirectory() as folder:
        probe = Path(folder) / "probe32"
        probe.write_bytes(header + program + code)
        probe.chmod(0o755)
        try:
            return subprocess.run([str(probe)], timeout=10).returncode == 0
        except (OSError, subprocess.TimeoutExpired):
            return False


class WineHost:
    """One Wine prefix and one Windows build folder (DLL and simhost.exe)."""

    def __init__(self, build, prefix):
        self.build = Path(build)
        self.prefix = Path(prefix)
        self.is_32bit = self.build.name == "mingw"
        self.wine = shutil.which("wine") if self.is_32bit else "/usr/lib/wine/wine64"
        self.env = dict(os.environ, WINEPREFIX=str(self.prefix), WINEARCH="win32" if self.is_32bit else "win64",
                        WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=", DISPLAY="")

    @property
    def module(self):
        return self.build / "src" / "Varolen2004.dll"

    @property
    def sounds(self):
        """The effect sounds, made by the native build."""
        return ROOT / "build" / "native" / "sounds"

    @property
    def simhost(self):
        return self.build / "tools" / "simhost" / "simhost.exe"

    def wineserver(self, *arguments):
        subprocess.run(["wineserver", *arguments], env=self.env, timeout=120)

    def create_prefix(self):
        if self.prefix.exists():
            shutil.rmtree(self.prefix)
        subprocess.run([self.wine, "wineboot", "-i"], env=self.env, timeout=600, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for key, name, kind, data in (
                (r"HKCU\Software\Wine\Drivers", "Graphics", "REG_SZ", "null"),
                (r"HKCU\Software\Wine\Drivers", "Audio", "REG_SZ", "alsa"),
                (r"HKCU\Software\Wine\WineDbg", "ShowCrashDialog", "REG_DWORD", "0")):
            subprocess.run([self.wine, "reg", "add", key, "/v", name, "/t", kind, "/d", data, "/f"], env=self.env,
                           timeout=120, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # The null graphics driver takes effect only with a new wineserver.
        self.wineserver("-k")

    @staticmethod
    def windows_path(path):
        """Wine's drive Z: is the Linux root."""
        return "Z:" + str(Path(path).resolve()).replace("/", "\\")

    def package(self):
        """The release archive that the build folder made."""
        archives = sorted((self.build / "package").glob("Varolen2004-*.zip"))
        return archives[-1] if archives else None

    def run(self, scenario, out, *options, timeout=300, home=None, installed=None):
        """Plays a scenario; returns (exit code, summary lines, trace text). With
        `home`, Wine's sound goes to the ALSA setup of that folder. With
        `installed`, the module runs as installed in that simulator folder."""
        out = Path(out)
        out.mkdir(parents=True, exist_ok=True)
        for old in ("summary.txt", "trace.csv"):
            (out / old).unlink(missing_ok=True)
        process = subprocess.run(
            [self.wine, self.windows_path(self.simhost), self.windows_path(scenario), "--out", self.windows_path(out),
             *(["--folder", self.windows_path(installed), "--installed"] if installed else
               ["--folder", self.windows_path(out / "simulator"), "--module", self.windows_path(self.module),
                "--sounds", self.windows_path(self.sounds)]),
             *options],
            env=dict(self.env, HOME=str(home)) if home else self.env, timeout=timeout, capture_output=True, text=True)
        summary = (out / "summary.txt").read_text().replace("\r", "").splitlines() \
            if (out / "summary.txt").exists() else []
        trace = (out / "trace.csv").read_text().replace("\r", "") if (out / "trace.csv").exists() else ""
        if process.returncode != 0:
            print(process.stdout, process.stderr)
        return process.returncode, summary, trace


if __name__ == "__main__":
    # For the install script: which Wine this machine can use.
    print("32" if can_run_32bit_programs() else "64")
