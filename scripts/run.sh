#!/usr/bin/env bash
# Starts Velmora.exe under Wine in the build's prefix, on $DISPLAY or on a
# private virtual display when there is none.
#   run.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" 2>/dev/null && pwd || echo "$1")  # Wine needs an absolute prefix
root=$(cd "$(dirname "$0")/.." && pwd)
exe="$build/app/Velmora.exe"
if [ ! -f "$exe" ]; then
  echo "run: $exe is not built yet"
  exit 1
fi
exec "$root/scripts/with-display.sh" "$root/scripts/wine-run.sh" --prefix "$build/wineprefix" "$exe"
