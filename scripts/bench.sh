#!/usr/bin/env bash
# Runs every benchmark program of the native build.
#   bench.sh BUILD_DIR
set -euo pipefail
build="$1"
root=$(cd "$(dirname "$0")/.." && pwd)
# The icon benchmark reads Wine's 32-bit images.
"$root/scripts/fetch-wine-images.sh" i386 "$build/wine-images/wine32"
export VELMORA_WINE32_DIR="$build/wine-images/wine32"
shopt -s nullglob
found=0
for b in "$build"/bench/bench_*; do
  [ -x "$b" ] || continue
  found=1
  echo "== $(basename "$b")"
  "$b"
done
[ $found -eq 1 ] || echo "bench: no benchmarks yet"
