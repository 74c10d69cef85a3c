#!/usr/bin/env bash
# Start-up of Velmora.exe under Wine on an X display, from process start to
# the first paint of its skinned window, beside a plain system dialog of the
# same size (bench/startup/plain_dialog.cpp): median of RUNS starts each, the
# two programs taking turns, and the ratio.
#
#   bench-startup.sh WINDOWS_BUILD_DIR [RUNS]
#
# It runs on a private virtual display of its own (scripts/with-display.sh),
# so that every run meets the same screen and window manager. Both programs
# run in a prefix of their own beside the build's, with a waiting Wine
# process that keeps the wineserver alive over all the runs, so that every
# start finds the same warm server and system processes. A first paint is
# seen from outside: the probe reads one pixel of the new window until it
# shows a colour that only the program's own painting puts there (the title
# bar of the skin for Velmora, at (200, 14); the dialog face colour for the
# plain dialog).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${VELMORA_PRIVATE_DISPLAY:-}" ] || [ "${DISPLAY:-}" != "$VELMORA_PRIVATE_DISPLAY" ]; then
  exec env -u DISPLAY "$root/scripts/with-display.sh" "$0" "$@"
fi
build=$(cd "$1" && pwd)
runs="${2:-10}"
velmora="$build/app/Velmora.exe"
plain="$build/bench/plain_dialog.exe"
for exe in "$velmora" "$plain"; do
  [ -f "$exe" ] || { echo "bench-startup: $exe is missing (make windows)" >&2; exit 1; }
done

prefix="$build/bench-wineprefix"
# The prefix is made on first use, of the build's bitness; the environment is
# the one every Wine run of this project gets.
arch=$(eval "$("$build/wine-run" --print-env)"; echo "$WINEARCH")
"$root/scripts/wine-run.sh" --arch "$arch" --prefix "$prefix" cmd.exe /c exit >/dev/null 2>&1
eval "$("$root/scripts/wine-run.sh" --arch "$arch" --prefix "$prefix" --print-env)"

# Every call of a Wine program to the wineserver is a request and a reply.
# On our virtual machines a reply that wakes the caller on the other
# processor costs several times what one on the same processor does, and
# how much changes with the host's load from minute to minute; a program
# that makes more calls (the common controls register their classes, the
# skin loads its artwork) pays that many times over. So the programs and
# their wineserver run on one processor (scripts/one-processor.sh),
# where a call costs what it costs; the X server and the probe run where
# they like. The same starts are then measured once more with Wine on every
# processor, for comparison.
cpu=$("$root/scripts/one-processor.sh")

cleanup() {
  exec 7>&- 2>/dev/null || true
  "$WINESERVER" -k 2>/dev/null || true
}
trap cleanup EXIT

# The colours that show a first paint.
title_bar=$(convert "$root/res/Frame.bmp" -format '%[hex:p{168,14}]' info: | cut -c1-6)
face=$("$WINELOADER" reg query 'HKCU\Control Panel\Colors' /v ButtonFace 2>/dev/null | tr -d '\r' |
  sed -n 's/.*REG_SZ[[:space:]]*\([0-9]*\) \([0-9]*\) \([0-9]*\).*/\1 \2 \3/p')
[ -n "$face" ] || face="240 240 240"
face=$(printf '%02x%02x%02x' $face)

# measure HOW [COMMAND PREFIX...]: the three programs' starts, each Wine
# process started through the prefix; prints the probe's lines and the
# results, and adds the summary rows: with their verdicts when `counts` is
# 1, as a comparison otherwise.
measure() {
  local how="$1"
  shift
  local wine=("$@" "$WINELOADER")
  # A wineserver keeps the processors it started with: each way starts its
  # own. A Windows process that only waits (cmd reading from a pipe that
  # this script holds open) keeps it and the prefix's system processes
  # running between the starts; closing the pipe ends it.
  cleanup
  local fifo
  fifo=$(mktemp -u /tmp/velmora-bench.XXXXXX)
  mkfifo "$fifo"
  "${wine[@]}" cmd.exe <"$fifo" >/dev/null 2>&1 &
  exec 7>"$fifo"
  rm -f "$fifo"

  local load
  load=$(cut -d' ' -f1-3 /proc/loadavg)
  echo "== start-up under Wine ($arch, $how), $runs starts each (load average $load)"
  # The probe's lines are kept and then printed on standard output: a tee
  # to /dev/stderr would open the log again when it is a file and truncate
  # it.
  local result
  result=$(/usr/bin/python3 "$root/bench/startup/startup_probe.py" "$runs" \
    Velmora '添加运行命令' 200 14 "$title_bar" "${wine[@]}" "$velmora" -- \
    plain 'plain dialog' 10 10 "$face" "${wine[@]}" "$plain" -- \
    required 'plain dialog' 10 10 "$face" "${wine[@]}" "$plain" --common-controls-and-ole)
  cleanup
  printf '%s\n' "$result"
  local v vmin p pmin q qmin
  read -r v vmin < <(sed -n 's/^Velmora median \([0-9.]*\) min \([0-9.]*\)$/\1 \2/p' <<<"$result") || true
  read -r p pmin < <(sed -n 's/^plain median \([0-9.]*\) min \([0-9.]*\)$/\1 \2/p' <<<"$result") || true
  read -r q qmin < <(sed -n 's/^required median \([0-9.]*\) min \([0-9.]*\)$/\1 \2/p' <<<"$result") || true
  [ -n "${v:-}" ] && [ -n "${p:-}" ] || { echo "bench-startup: no result" >&2; return 1; }
  if [ -n "${VELMORA_BENCH_SUMMARY:-}" ]; then
    awk -v v="$v" -v p="$p" -v q="${q:-}" -v where="$arch, Wine on $how" -v counts="$counts" 'BEGIN {
      goal = counts ? "<= 1.20x" : "-"
      r = v / p
      printf "start-up to first paint (%s, median)\t%.1f ms\t%.1f ms (plain dialog)\t%.2fx\t%s\t%s\n",
        where, v, p, r, goal, counts ? (r <= 1.2 ? "met" : "NOT met") : "(for comparison)"
      if (q != "") {
        r = v / q
        printf "start-up against a plain dialog after common controls and OLE (%s)\t%.1f ms\t%.1f ms\t%.2fx\t%s\t%s\n",
          where, v, q, r, goal, counts ? (r <= 1.2 ? "met" : "NOT met") : "(for comparison)"
      }
    }' >>"$VELMORA_BENCH_SUMMARY"
  fi
  # The minimum is printed beside the median: on a machine that others
  # share, it shows what a start costs when nothing else runs.
  awk -v v="$v" -v p="$p" -v vmin="$vmin" -v pmin="$pmin" -v q="${q:-}" -v qmin="${qmin:-}" 'BEGIN {
    printf "Velmora.exe to its first skinned paint: median %.1f ms (fastest %.1f ms)\n", v, vmin
    printf "plain dialog to its first paint:        median %.1f ms (fastest %.1f ms)\n", p, pmin
    printf "ratio of the medians: %.2f (goal: at most 1.2); of the fastest starts: %.2f\n", v / p, vmin / pmin
    if (q != "") {
      printf "plain dialog after the common controls and OLE (what the tool must do first): median %.1f ms (fastest %.1f ms)\n", q, qmin
      printf "Velmora.exe against it: ratio of the medians %.2f, of the fastest starts %.2f\n", v / q, vmin / qmin
    }
  }'
}

status=0
if [ -n "$cpu" ]; then
  counts=1 measure "processor $cpu only" taskset -c "$cpu" || status=1
  counts=0 measure "every processor" || status=1
else
  counts=1 measure "every processor" || status=1
fi
exit "$status"
