#!/usr/bin/env bash
# Starts Velmora.exe of a Windows build (32-bit or 64-bit) under Wine of that
# bitness in the build's prefix, on $DISPLAY or, when
# there is none, on a private virtual display: then it says so and saves a
# screenshot of the window shortly after start-up, so that one can see what
# started.
#   run.sh BUILD_DIR
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" = "--private-display" ]; then
  # Here with-display.sh has made the display; $2 is the build directory.
  build="$2"
  exe="$build/app/Velmora.exe"
  shot="$build/velmora-run.png"
  "$build/wine-run" "$exe" &
  velmora=$!
  window=""
  for _ in $(seq 1 300); do
    window=$(xdotool search --onlyvisible --name '^添加运行命令$' 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    kill -0 "$velmora" 2>/dev/null || break
    sleep 0.1
  done
  if [ -n "$window" ]; then
    sleep 1  # let it finish painting
    rm -f "$shot"
    import -window "$window" "$shot" 2>/dev/null || import -window root "$shot"
    echo "run: a screenshot of its window: $shot"
  else
    echo "run: the window did not appear; no screenshot"
  fi
  echo "run: Velmora keeps running on that display until you press Ctrl-C."
  wait "$velmora"
  exit $?
fi

build=$(cd "$1" 2>/dev/null && pwd || echo "$1")  # Wine needs an absolute prefix
exe="$build/app/Velmora.exe"
if [ ! -f "$exe" ]; then
  echo "run: $exe is not built yet"
  exit 1
fi
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$build/wine-run" "$exe"
fi
echo "run: there is no X display here (DISPLAY is ${DISPLAY:-not set}), so Velmora starts on a"
echo "run: private virtual display that nobody can see."
exec "$root/scripts/with-display.sh" "$0" --private-display "$build"
