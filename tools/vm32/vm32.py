#!/usr/bin/python3
"""The emulated machine that runs 32-bit Windows programs where this
machine's kernel refuses them: a small Debian 12 under qemu's software
emulation, whose own 64-bit kernel runs 32-bit programs, with Debian's 32-bit
Wine and one Wine prefix made once. The image is built once per machine into a
cache outside the checkout, in a folder named after what goes into it (this
folder's scripts), and every run boots it afresh from a snapshot: runs never
change it, and several may run at once.

usage: vm32.py image                      builds the image if it is missing; prints its folder
       vm32.py run JOB CHECKOUT [SECONDS]  runs the shell script JOB in the machine with CHECKOUT
                                          shared read-only at /mnt/checkout and a share of its
                                          own at /mnt/share; prints the job's output and exits
                                          with the job's status"""

import fcntl
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
INPUTS = ("build_image.sh", "init", "prepare.sh")  # what goes into the image
BOOT_SECONDS = 120        # to the job's start, on a busy machine
PREPARE_SECONDS = 1800    # the first wineboot of a prefix takes minutes under emulation


def cache_folder():
    named = os.environ.get("VAROLEN_VM32_CACHE")
    if named:
        return Path(named)
    base = os.environ.get("XDG_CACHE_HOME") or Path.home() / ".cache"
    return Path(base) / "varolen-vm32"


def image_folder():
    digest = hashlib.sha256()
    for name in INPUTS:
        digest.update(name.encode() + b"\0" + (HERE / name).read_bytes())
    return cache_folder() / digest.hexdigest()[:16]


def qemu(image, share, checkout, seconds, keep_disk=False):
    """Boots the image with the job in `share`; its status, or None when it
    did not finish in time."""
    command = ["qemu-system-x86_64", "-accel", "tcg,thread=multi", "-cpu", "max,smap=off",
               "-smp", str(min(os.cpu_count() or 1, 4)), "-m", "3072", "-nographic", "-no-reboot", "-nic", "none",
               "-kernel", str(image / "vmlinuz"), "-initrd", str(image / "initrd.img"),
               "-append", "root=/dev/vda rw console=ttyS0 init=/sbin/varolen-init quiet loglevel=3 panic=-1",
               "-drive", f"file={image / 'disk.ext4'},format=raw,if=virtio",
               "-virtfs", f"local,path={share},mount_tag=share,security_model=none,id=share"]
    if checkout is not None:
        command += ["-virtfs", f"local,path={checkout},mount_tag=checkout,security_model=none,readonly=on,id=checkout"]
    if not keep_disk:
        command.append("-snapshot")
    (share / "job.status").unlink(missing_ok=True)
    with open(share / "console.log", "wb") as console:
        try:
            subprocess.run(command, stdin=subprocess.DEVNULL, stdout=console, stderr=subprocess.STDOUT,
                           timeout=seconds)
        except subprocess.TimeoutExpired:
            return None
    status = share / "job.status"
    return int(status.read_text().strip() or 1) if status.exists() else None


def image():
    """The image's folder, built and prepared first if it is missing."""
    folder = image_folder()
    if (folder / "ready").exists():
        return folder
    folder.parent.mkdir(parents=True, exist_ok=True)
    with open(folder.parent / f"{folder.name}.lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)  # one build; a second run waits for it
        if (folder / "ready").exists():
            return folder
        started = time.monotonic()
        print(f"Building the emulated 32-bit machine into {folder} (once per machine)", flush=True)
        shutil.rmtree(folder, ignore_errors=True)
        # debootstrap and chroot want root; the image is the user's.
        as_root = [] if os.geteuid() == 0 else ["sudo"]
        subprocess.run([*as_root, "bash", str(HERE / "build_image.sh"), str(folder)], check=True)
        if as_root:
            subprocess.run(["sudo", "chown", "-R", f"{os.getuid()}:{os.getgid()}", str(folder)], check=True)
        with tempfile.TemporaryDirectory(prefix="varolen-vm32-") as share:
            shutil.copy(HERE / "prepare.sh", Path(share) / "job.sh")
            status = qemu(folder, Path(share), None, PREPARE_SECONDS, keep_disk=True)
            log = (Path(share) / "job.log").read_text(errors="replace") if (Path(share) / "job.log").exists() else ""
            if status != 0:
                print(log[-4000:], (Path(share) / "console.log").read_text(errors="replace")[-4000:])
                raise SystemExit(f"the machine's Wine prefix could not be made (status {status})")
        subprocess.run(["e2fsck", "-fy", str(folder / "disk.ext4")], stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        (folder / "ready").write_text(f"{time.monotonic() - started:.0f} s\n")
        print(f"The emulated machine was ready in {time.monotonic() - started:.0f} s", flush=True)
    # Older images of this cache (other inputs) are no longer used.
    for other in folder.parent.iterdir():
        if other.is_dir() and other != folder and len(other.name) == 16:
            shutil.rmtree(other, ignore_errors=True)
    return folder


def run(job, checkout, seconds, share=None):
    """Runs the job script in a fresh boot; returns (status, share folder)."""
    folder = image()
    share = Path(share or tempfile.mkdtemp(prefix="varolen-vm32-"))
    share.mkdir(parents=True, exist_ok=True)
    shutil.copy(job, share / "job.sh")
    status = qemu(folder, share, checkout, seconds)
    return status, share


def main(arguments):
    if arguments[:1] == ["image"]:
        print(image())
        return 0
    if arguments[:1] == ["run"] and len(arguments) in (3, 4):
        seconds = float(arguments[3]) if len(arguments) == 4 else 3600
        status, share = run(arguments[1], Path(arguments[2]).resolve(), seconds)
        log = share / "job.log"
        print(log.read_text(errors="replace") if log.exists() else "(no output)")
        if status is None:
            print((share / "console.log").read_text(errors="replace")[-3000:])
            print(f"the machine did not finish its job within {seconds:.0f} s")
            return 1
        return status
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
