#!/usr/bin/env bash
# Builds and starts the Velmora.exe this machine can run, and says which: the
# 32-bit program (the one users of 32-bit Windows take) where a tiny i386
# program runs and 32-bit Wine is there (installed or in its private root),
# the 64-bit one otherwise.
#   run-here.sh WINDOWS32_BUILD WINDOWS64_BUILD
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
if "$root/scripts/can-run-i386.sh" --wine; then
  build="$1" target=windows32
  echo "run: starting the 32-bit Velmora.exe ($build) under $("$root/scripts/wine-run.sh" --arch win32 --which)"
else
  build="$2" target=windows64
  echo "run: this machine $("$root/scripts/can-run-i386.sh" --wine --why 2>&1 | head -1);"
  echo "run: starting the 64-bit Velmora.exe ($build) under 64-bit Wine"
fi
make -C "$root" --no-print-directory "$target"
exec "$root/scripts/run.sh" "$build"
