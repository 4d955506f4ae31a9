#!/usr/bin/env bash
# Builds the small Debian machine that runs the shipped 32-bit module under
# 32-bit Wine where this machine's kernel refuses 32-bit programs: a Debian 12
# root with its own 64-bit kernel (which runs 32-bit programs), Wine with its
# 32-bit half, Xvfb and Python; an initramfs of the few modules a virtio
# machine needs; an ext4 image of the root. Everything comes from Debian's
# archive. Needs root (debootstrap and chroot).
#
# usage: build_image.sh FOLDER   writes FOLDER/vmlinuz, FOLDER/initrd.img and
#                                FOLDER/disk.ext4, and removes the root it built
set -euo pipefail
out=$1
here=$(cd "$(dirname "$0")" && pwd)
mirror=${VAROLEN_DEBIAN_MIRROR:-http://deb.debian.org/debian}
root=$out/root
mkdir -p "$out"
rm -rf "$root"

debootstrap --variant=minbase --arch=amd64 bookworm "$root" "$mirror"

mounted=()
cleanup() {
  for point in "${mounted[@]}"; do umount -l "$point" 2>/dev/null || true; done
}
trap cleanup EXIT
for point in proc sys dev dev/pts; do
  mount --bind "/$point" "$root/$point"
  mounted=("$root/$point" "${mounted[@]}")
done

# No service starts inside the chroot; no documentation is installed.
printf '#!/bin/sh\nexit 101\n' > "$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"
cat > "$root/etc/dpkg/dpkg.cfg.d/01-nodoc" <<'NODOC'
path-exclude=/usr/share/doc/*
path-exclude=/usr/share/man/*
path-exclude=/usr/share/info/*
path-exclude=/usr/share/locale/*
path-include=/usr/share/locale/locale.alias
NODOC
printf 'deb %s bookworm main\n' "$mirror" > "$root/etc/apt/sources.list"
chroot "$root" dpkg --add-architecture i386
chroot "$root" apt-get update -qq
# The modules the initramfs needs to find the root and the shares, no others.
mkdir -p "$root/etc/initramfs-tools/conf.d"
echo "MODULES=list" > "$root/etc/initramfs-tools/conf.d/varolen"
printf '%s\n' virtio_pci virtio_blk ext4 crc32c_generic 9pnet_virtio 9p > "$root/etc/initramfs-tools/modules"
DEBIAN_FRONTEND=noninteractive chroot "$root" apt-get install -y -qq --no-install-recommends \
  linux-image-amd64 initramfs-tools kmod procps iproute2 python3 \
  wine wine64 wine32:i386 libasound2:i386 libasound2-plugins:i386 xvfb xauth
# Scripts of i386 packages that cannot run in this chroot run again on the first boot.
chroot "$root" apt-get clean
rm -rf "$root"/var/lib/apt/lists/*

echo varolen > "$root/etc/hostname"
printf '127.0.0.1 localhost\n127.0.1.1 varolen\n' > "$root/etc/hosts"
install -m 755 "$here/init" "$root/sbin/varolen-init"
mkdir -p "$root/mnt/share" "$root/mnt/checkout" "$root/opt/varolen"

cp "$(ls "$root"/boot/vmlinuz-* | sort | tail -1)" "$out/vmlinuz"
cp "$(ls "$root"/boot/initrd.img-* | sort | tail -1)" "$out/initrd.img"
cleanup
trap - EXIT
mounted=()
size_mb=$(( $(du -sm "$root" | cut -f1) + 1200 ))
rm -f "$out/disk.ext4"
mkfs.ext4 -q -F -L varolen -d "$root" "$out/disk.ext4" "${size_mb}M"
rm -rf "$root"
