#!/usr/bin/env bash
# Configures a Windows build tree with a MinGW-w64 toolchain file, once; later
# calls only re-run CMake in it.
#   configure-windows.sh BUILD_DIR TOOLCHAIN_FILE
set -euo pipefail
if [ -f "$1/CMakeCache.txt" ]; then
  cmake -S . -B "$1" >/dev/null
else
  cmake -S . -B "$1" -DCMAKE_TOOLCHAIN_FILE="$2" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
