#!/usr/bin/env bash
# Runs a command with an X display: the current one, or a private Xvfb with a
# light window manager when there is none. On the private display the
# command finds VELMORA_PRIVATE_DISPLAY set to the display's name.
# VELMORA_SCREEN_SIZE (default 1280x800) is the private screen's size.
set -euo pipefail

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$@"
fi

# Xvfb picks a free display number itself and writes it to the pipe, so that
# several runs on one machine never share or fight over a display.
fifo=$(mktemp -u /tmp/velmora-display.XXXXXX)
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 "${VELMORA_SCREEN_SIZE:-1280x800}x24" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
xvfb_pid=$!
read -r -t 20 n <"$fifo" || true
rm -f "$fifo"
cleanup() {
  kill "${wm_pid:-}" 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
  wait "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
if [ -z "${n:-}" ]; then
  echo "with-display: Xvfb did not start" >&2
  exit 1
fi
export DISPLAY=":$n"
export VELMORA_PRIVATE_DISPLAY="$DISPLAY"
for _ in $(seq 1 50); do
  xdpyinfo >/dev/null 2>&1 && break
  sleep 0.1
done
evilwm -fn fixed >/dev/null 2>&1 &
wm_pid=$!
"$@"
