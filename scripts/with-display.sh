#!/usr/bin/env bash
# Runs a command with an X display: the current one, or a private Xvfb with a
# light window manager when there is none.
set -euo pipefail

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$@"
fi

# Find a free display number.
for n in $(seq 90 140); do
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
done
Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
cleanup() { kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; }
trap cleanup EXIT
export DISPLAY=":$n"
for _ in $(seq 1 50); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done
evilwm -fn fixed >/dev/null 2>&1 &
"$@"
