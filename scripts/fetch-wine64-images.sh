#!/usr/bin/env bash
# Unpacks the 64-bit Windows images of Debian's amd64 libwine package into a
# directory (not installed: a 64-bit Wine would change the test prefix).
# Idempotent and quiet when the files are already there.
#   fetch-wine64-images.sh DEST
set -euo pipefail
mkdir -p "$1"
dest=$(cd "$1" && pwd)
images="$dest/usr/lib/x86_64-linux-gnu/wine/x86_64-windows"
[ -d "$images" ] && exit 0
mkdir -p "$dest/download"
cd "$dest/download"
apt-get download -q libwine:amd64 >/dev/null 2>&1 || apt-get download libwine:amd64
dpkg-deb -x libwine_*_amd64.deb "$dest"
rm -f libwine_*_amd64.deb
[ -d "$images" ] || { echo "fetch-wine64-images: no x86_64-windows directory in libwine" >&2; exit 1; }
