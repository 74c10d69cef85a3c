#!/usr/bin/env bash
# Makes DEST a folder of Wine's own Windows images of one bitness, the real
# PE files that the icon tests and benchmarks read: i386 (PE32) or amd64
# (PE32+). Where that Wine is installed DEST links to its folder; elsewhere
# the images are unpacked from Debian's libwine package of that architecture,
# which is downloaded, never installed. The i386 one needs no i386
# architecture on the machine: its package index is read into a private apt
# state beside DEST, so nothing of the machine's apt set-up changes.
# Idempotent and quiet when DEST is there.
#   fetch-wine-images.sh i386|amd64 DEST
set -euo pipefail
arch="$1"
case "$arch" in
  i386) triplet=i386-linux-gnu; windows=i386-windows ;;
  amd64) triplet=x86_64-linux-gnu; windows=x86_64-windows ;;
  *) echo "usage: $0 i386|amd64 DEST" >&2; exit 2 ;;
esac
mkdir -p "$(dirname "$2")"
dest="$(cd "$(dirname "$2")" && pwd)/$(basename "$2")"
[ -d "$dest/" ] && exit 0

installed="/usr/lib/$triplet/wine/$windows"
if [ -f "$installed/shell32.dll" ]; then
  ln -sfn "$installed" "$dest"
  exit 0
fi

unpacked="$dest.unpacked"
apt_state="$dest.apt"
rm -rf "$unpacked" "$apt_state"
mkdir -p "$apt_state/lists/partial" "$apt_state/cache/archives/partial" "$apt_state/download"
private=(-o "Dir::State::Lists=$apt_state/lists" -o "Dir::Cache=$apt_state/cache"
         -o Dir::State::status=/dev/null -o "APT::Architecture=$arch" -o "APT::Architectures=$arch")
# An index of another suite that fails to download (a stale mirror) does not
# matter as long as one suite offers the package.
apt-get -q "${private[@]}" update >"$apt_state/update.log" 2>&1 || true
if ! (cd "$apt_state/download" && apt-get -q "${private[@]}" download "libwine:$arch" >"$apt_state/download.log" 2>&1); then
  echo "fetch-wine-images: no libwine:$arch could be downloaded:" >&2
  cat "$apt_state/update.log" "$apt_state/download.log" >&2
  exit 1
fi
dpkg-deb -x "$apt_state"/download/libwine_*.deb "$unpacked"
rm -rf "$apt_state"
[ -d "$unpacked/usr/lib/$triplet/wine/$windows" ] || {
  echo "fetch-wine-images: libwine:$arch holds no $windows folder" >&2
  exit 1
}
ln -sfn "$unpacked/usr/lib/$triplet/wine/$windows" "$dest"
