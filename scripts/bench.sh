#!/usr/bin/env bash
# Runs every benchmark program of the native build.
#   bench.sh BUILD_DIR
set -euo pipefail
build="$1"
shopt -s nullglob
found=0
for b in "$build"/bench/bench_*; do
  [ -x "$b" ] || continue
  found=1
  echo "== $(basename "$b")"
  "$b"
done
[ $found -eq 1 ] || echo "bench: no benchmarks yet"
