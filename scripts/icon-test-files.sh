#!/usr/bin/env bash
# Prepares the real files the icon tests read, in a directory of the build:
#   wine32/, wine64/      Wine's own 32-bit and 64-bit Windows images (fetch-wine-images.sh)
#   group-counts.txt      "<directory> <file> <groups>" as wrestool lists them
#   shell32-1.ico         an icon group with several sizes, extracted by wrestool
#   arrow.cur             a cursor group, extracted by wrestool
# Idempotent and quiet when everything is there.
#   icon-test-files.sh DEST
set -euo pipefail
mkdir -p "$1"
dest=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
wine32="$dest/wine32"
wine64="$dest/wine64"
"$here/fetch-wine-images.sh" i386 "$wine32"
"$here/fetch-wine-images.sh" amd64 "$wine64"

[ -s "$dest/shell32-1.ico" ] || wrestool -x --type=14 --name=1 "$wine32/shell32.dll" >"$dest/shell32-1.ico"
[ -s "$dest/arrow.cur" ] || wrestool -x --type=12 --name=32512 "$wine32/user32.dll" >"$dest/arrow.cur"

if [ ! -s "$dest/group-counts.txt" ]; then
  tmp="$dest/group-counts.txt.part"
  : >"$tmp"
  for dir in "$(realpath "$wine32")" "$(realpath "$wine64")"; do
    for f in "$dir"/*; do
      [ -f "$f" ] || continue
      n=$(wrestool -l --type=14 "$f" 2>/dev/null | sed -n 's/.*\(--name=[^ ]*\) --language.*/\1/p' | sort -u | wc -l)
      echo "$dir $(basename "$f") $n" >>"$tmp"
    done
  done
  mv "$tmp" "$dest/group-counts.txt"
fi
