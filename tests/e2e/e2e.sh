#!/usr/bin/env bash
# The whole road of one registration with the real Velmora.exe under Wine on
# an X display, as a person takes it: drop a program on the window, type a
# name, press the add button, close the confirmation, then start the program
# by its registered name through ShellExecuteEx. Then the self-registration
# link, and a restart that no longer offers it. On the way, with the real
# mouse: the skinned frame pixel for pixel in a screenshot, dragging the
# window by its caption and by a label, the minimise button, and at the end
# the close button. On the way, a program from a folder named "Jörg 한국"
# (outside code page 936) is registered, read back with `reg export` and
# started by its name. Last, the run-command manager (manager_e2e.sh).
#
#   e2e.sh VELMORA_EXE MARKER_EXE SHELL_OPEN_EXE WINE_RUN OUT_DIR
#
# WINE_RUN is the build's Wine launcher (BUILD/wine-run): it brings the
# bitness and the prefix.
#
# OUT_DIR receives the screenshots (velmora-window.png and velmora-manager.png
# are the ones for docs/).
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=x11_helpers.sh
source "$root/tests/e2e/x11_helpers.sh"
on_private_display "$0" "$@"

exe=$(realpath "$1")
marker=$(realpath "$2")
shell_open=$(realpath "$3")
mkdir -p "$5"
wine_launcher=$(realpath "$4")
prefix=$(eval "$("$wine_launcher" --print-env)"; echo "$WINEPREFIX")
out=$(realpath "$5")

name=velmora-e2e
unicode_name=velmora-e2e-unicode
unicode_folder='Jörg 한국'
app_paths='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths'
title='添加运行命令'
background='#C1D9EF'   # the dialog's fill, 0xEFD9C1 as red, green, blue
screen_colour=ffffff   # the screen's background, seen through the window's cut corners

wine_run() { "$wine_launcher" "$@"; }
fail() { echo "e2e: FAIL: $*" >&2; exit 1; }
step() { echo "e2e: [${SECONDS}s] $*"; }

# The default value of an App Paths entry as `wine reg` shows it (GBK on a
# pipe; the paths here are ASCII), or nothing.
reg_default() {
  timeout 30 "$wine_launcher" reg query "$app_paths\\$1" /ve 2>/dev/null | tr -d '\r' |
    LC_ALL=C sed -n 's/^.*REG_SZ[[:space:]]*//p' | head -1
}
reg_delete() { timeout 30 "$wine_launcher" reg delete "$app_paths\\$1" /f >/dev/null 2>&1 || true; }


# Drags from a client point by (dx, dy) with the left button, the way a hand
# does: press, hold still a moment, six moves with short pauses, release.
# The press makes the dialog hand the window to the system's move loop, which
# takes the cursor position as its start when it begins (Wine reads it then),
# so the moves wait until the loop can have begun: after each move the window
# must stand that much further before the next one (waited for, a few seconds
# at most), and after the release by exactly (dx, dy). On a busy machine the
# loop may begin later than the hold; then the drag is tried once more with a
# longer hold, and the first try is reported.
drag_once() {
  local x=$1 y=$2 dx=$3 dy=$4 hold=$5 x0 y0 i ok
  locate "$win"
  x0=$cx
  y0=$cy
  point_at "$x" "$y"
  xdotool mousedown 1
  sleep "$hold"
  for i in 1 2 3 4 5 6; do
    xdotool mousemove $((x0 + x + dx * i / 6)) $((y0 + y + dy * i / 6))
    ok=""
    for _ in $(seq 1 40); do
      locate "$win"
      [ "$cx,$cy" = "$((x0 + dx * i / 6)),$((y0 + dy * i / 6))" ] && { ok=1; break; }
      sleep 0.05
    done
    [ -n "$ok" ] || break
  done
  xdotool mouseup 1
  sleep 0.2
  locate "$win"
  [ "$cx,$cy" = "$((x0 + dx)),$((y0 + dy))" ] && return 0
  echo "e2e: dragging from ($x, $y) by ($dx, $dy) after holding ${hold}s moved the window from $x0,$y0 to $cx,$cy"
  return 1
}
drag() {
  drag_once "$@" 0.4 || drag_once "$@" 1.5 || fail "dragging from ($1, $2) does not move the window by the drag"
}

# The window as it stands, with a margin of one pixel, into a file; the mouse
# first leaves the buttons so that every look is the normal one.
shoot_window() {
  xdotool mousemove $((cx + 200)) $((cy + 120))
  sleep 0.3
  import -window root "$out/probe.png"
  convert "$out/probe.png" -crop "$((cw + 2))x$((ch + 2))+$((cx - 1))+$((cy - 1))" +repage "$1"
}
skin_check() { /usr/bin/python3 "$root/tests/e2e/skin_shot.py" "$1" "$root/res" "$screen_colour"; }

wm_state() { xprop -id "$win" WM_STATE 2>/dev/null | sed -n 's/^.*window state: *//p'; }

# Closes the dialog as a user does with the keyboard (Escape in the name
# field) and waits for the program to end.
close_velmora() {
  click 160 73
  xdotool key Escape
  wait_ended "$velmora_pid" || fail "Velmora.exe did not end after Escape"
  velmora_pid=""
}

# Number of pixels of a client rectangle (x y w h) that are not background.
foreground_pixels() {
  import -window root "$out/probe.png"
  convert "$out/probe.png" -crop "${3}x${4}+$((cx + $1))+$((cy + $2))" +repage \
    -fill black -opaque "$background" -fill white +opaque black -format '%[fx:round(mean*w*h)]' info:
}

# Shortly before the test's time runs out, what is on the screen and what runs
# goes to the log, so that a hang can be told apart from a slow machine.
# Its nap holds no output of the test open (ctest waits for every holder)
# and ends with it.
watchdog() {
  local nap
  trap 'kill "$nap" 2>/dev/null; exit 0' TERM
  sleep "${VELMORA_E2E_WATCHDOG:-165}" >/dev/null 2>&1 </dev/null &
  nap=$!
  wait "$nap"
  set +e
  {
    echo "e2e: [${SECONDS}s] still running; visible windows:"
    for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
      echo "  $id '$(xdotool getwindowname "$id" 2>/dev/null)' $(xdotool getwindowgeometry "$id" 2>/dev/null | tr '\n' ' ')"
    done
    echo "e2e: processes:"
    command -v ps >/dev/null && ps -eo pid,etimes,stat,args | grep -iE 'wine|\.exe|xdotool|import|convert' | grep -v grep | sed 's/^/  /'
    import -window root "$out/watchdog.png" 2>/dev/null || true
  } >&2
}
watchdog &
watchdog_pid=$!

velmora_pid=""
cleanup() {
  kill "$watchdog_pid" 2>/dev/null || true
  if [ -n "$velmora_pid" ]; then
    kill "$velmora_pid" 2>/dev/null || true
    for _ in $(seq 1 30); do kill -0 "$velmora_pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$velmora_pid" 2>/dev/null || true
  fi
  reg_delete "$name.exe"
  reg_delete "$unicode_name.exe"
  reg_delete run.exe
}
trap cleanup EXIT

step "preparing the prefix and the marker program"
# A known colour behind the window: it must show through the cut corners.
xsetroot -solid "#$screen_colour"
reg_delete "$name.exe"
reg_delete "$unicode_name.exe"
reg_delete run.exe
target_dir="$prefix/drive_c/velmora-e2e"
mkdir -p "$target_dir"
cp "$marker" "$target_dir/marker.exe"
rm -f "$target_dir/marker.ran"
unicode_dir="$target_dir/$unicode_folder"
mkdir -p "$unicode_dir"
cp "$marker" "$unicode_dir/marker.exe"
rm -f "$unicode_dir/marker.exe.ran"

step "starting Velmora.exe"
# Not through wine_run: $! must be the program itself (a function run in
# the background is a shell of its own, and killing that leaves the program).
"$wine_launcher" "$exe" &
velmora_pid=$!
win=$(wait_window "$title") || fail "the window \"$title\" did not appear"
locate "$win"
step "window $win, client area ${cw}x${ch} at $cx,$cy"

# The position the program asked for is centred on the screen (to within a
# panel or title bar: the work area may be smaller than the screen).
screen_w=$(xdpyinfo | sed -n 's/^ *dimensions: *\([0-9]*\)x.*/\1/p')
screen_h=$(xdpyinfo | sed -n 's/^ *dimensions: *[0-9]*x\([0-9]*\).*/\1/p')
hint=$(xprop -id "$win" WM_NORMAL_HINTS | sed -n 's/.*program specified location: *\([0-9-]*\), *\([0-9-]*\).*/\1 \2/p')
read -r hx hy <<<"$hint"
[ -n "$hx" ] || fail "no position hint"
off_x=$(( (hx + cw / 2) - screen_w / 2 ))
off_y=$(( (hy + ch / 2) - screen_h / 2 ))
[ "${off_x#-}" -le 40 ] && [ "${off_y#-}" -le 40 ] || fail "window not centred: client at $hx,$hy on ${screen_w}x${screen_h}"

link_visible=$(foreground_pixels 112 212 127 8)
[ "$link_visible" -gt 50 ] || fail "the self-registration link is not shown at the first start"

step "dropping $target_dir/marker.exe on the window"
/usr/bin/python3 "$root/tests/e2e/xdnd_drag.py" $((cx + 170)) $((cy + 150)) "$target_dir/marker.exe" ||
  fail "the drop was not taken"

# The dropped program's icon appears in the middle of the window.
for _ in $(seq 1 50); do
  icon=$(foreground_pixels 144 130 48 48)
  [ "$icon" -gt 200 ] && break
  sleep 0.1
done
[ "$icon" -gt 200 ] || fail "no icon drawn after the drop"

step "typing the name $name"
click 160 73
xdotool key --delay 20 End $(printf 'BackSpace %.0s' $(seq 1 30))
xdotool type --delay 30 "$name"
[ "${cw}x${ch}" = 355x250 ] || fail "the window is ${cw}x${ch}, not 355x250"
sleep 0.3
import -window root "$out/probe.png"
convert "$out/probe.png" -crop "$((cw + 2))x$((ch + 2))+$((cx - 1))+$((cy - 1))" +repage "$out/velmora-window.png"

step "checking the skinned frame in the screenshot"
skin_check "$out/velmora-window.png" || fail "the screenshot does not show the skinned window as its skin draws it"

step "dragging the window by its caption and by the usage line"
drag 150 12 40 25
drag 100 48 -30 20

step "minimising with the caption button"
# A program minimises its X window by asking the window manager to iconify
# it; the watcher sees that request go out.
/usr/bin/python3 "$root/tests/e2e/iconify_watch.py" "$win" 5 >"$out/iconify.txt" &
watch_pid=$!
for _ in $(seq 1 50); do
  grep -q ready "$out/iconify.txt" 2>/dev/null && break
  sleep 0.1
done
click 293 9
wait "$watch_pid" || fail "clicking the minimise button did not minimise the window"
iconified=""
for _ in $(seq 1 10); do
  [ "$(wm_state)" = Iconic ] && { iconified=1; break; }
  sleep 0.1
done
if [ -n "$iconified" ]; then
  step "the window manager iconified the window; restoring it"
  xdotool windowmap "$win" windowactivate "$win" 2>/dev/null || true
  for _ in $(seq 1 50); do
    [ "$(wm_state)" = Normal ] && break
    sleep 0.1
  done
  [ "$(wm_state)" = Normal ] || fail "the minimised window did not come back"
else
  # evilwm knows no iconic state and leaves the request unanswered; Wine
  # then takes the window back out of its minimised state by itself.
  step "the window manager has no iconic state: it left the window on the screen, and Wine restored it"
fi
# Back as it was: the whole skinned window, corners and buttons included
# (and the add button below answers a click only on the restored window).
locate "$win"
restored=""
for _ in 1 2 3 4 5; do
  shoot_window "$out/velmora-restored.png"
  skin_check "$out/velmora-restored.png" >"$out/restored.txt" && { restored=1; break; }
done
[ -n "$restored" ] || { cat "$out/restored.txt"; fail "the window is not whole again after minimising"; }

step "pressing 添加命令"
click 295 70
box=$(wait_window '温馨提示') || fail "no confirmation box"
import -window root "$out/velmora-confirmation.png"
# The box is the active window: Return presses its OK button.
press_return_in '温馨提示' || fail "the confirmation box did not close"

registered=$(reg_default "$name.exe")
[ "$registered" = 'C:\velmora-e2e\marker.exe' ] || fail "App Paths\\$name.exe holds '$registered'"
step "App Paths\\$name.exe = $registered"

step "starting $name.exe through ShellExecuteEx"
wine_run "$shell_open" "$name.exe" 'C:\velmora-e2e\marker.ran' || fail "ShellExecuteEx of $name.exe failed"
[ -s "$target_dir/marker.ran" ] || fail "the marker program left no mark"
grep -qi 'marker.exe' "$target_dir/marker.ran" || fail "the mark is not the marker program's"

# A folder whose name code page 936 cannot hold: the path arrives, is stored
# and starts whole.
step "dropping a program from a folder named $unicode_folder"
click 160 120
drop_and_add "$unicode_dir/marker.exe" "$unicode_name" || fail "no confirmation for $unicode_name"
press_return_in '温馨提示' || fail "the confirmation box did not close"
# reg export writes UTF-16: the stored path read back character for character.
rm -f "$out/unicode.reg"
timeout 30 "$wine_launcher" reg export "$app_paths\\$unicode_name.exe" 'Z:'"${out//\//\\}"'\unicode.reg' /y >/dev/null 2>&1 ||
  fail "reg export of $unicode_name.exe failed"
stored=$(iconv -f UTF-16 -t UTF-8 "$out/unicode.reg" | tr -d '\r' | sed -n 's/^@="\(.*\)"$/\1/p' | sed 's/\\\\/\\/g')
[ "$stored" = "C:\\velmora-e2e\\$unicode_folder\\marker.exe" ] ||
  fail "App Paths\\$unicode_name.exe holds '$stored'"
step "App Paths\\$unicode_name.exe = $stored"
wine_run "$shell_open" "$unicode_name.exe" || fail "ShellExecuteEx of $unicode_name.exe failed"
grep -q "ran C:.velmora-e2e.$unicode_folder.marker.exe" "$unicode_dir/marker.exe.ran" ||
  fail "the program in $unicode_folder left no mark of its own path"
# Gone again: the manager's section counts the marker's icons in its list.
reg_delete "$unicode_name.exe"

step "pressing the self-registration link"
# The link hides itself when pressed; a press that did not reach it (the
# mouse still captured by the add button's hover) is repeated once.
link_gone=""
for attempt in 1 2; do
  click 175 215
  for _ in $(seq 1 30); do
    [ "$(foreground_pixels 112 212 127 8)" -eq 0 ] && { link_gone=1; break; }
    sleep 0.1
  done
  [ -n "$link_gone" ] && break
  step "the link is still shown after press $attempt"
done
[ -n "$link_gone" ] || fail "pressing the link does not take it away"
self=""
for _ in $(seq 1 20); do
  self=$(reg_default run.exe)
  [ -n "$self" ] && break
  sleep 0.2
done
win_exe=$(wine_run winepath -w "$exe" 2>/dev/null | tr -d '\r')
[ "${self,,}" = "${win_exe,,}" ] || fail "App Paths\\run.exe holds '$self', expected '$win_exe'"
[ "$(foreground_pixels 112 212 127 8)" -eq 0 ] || fail "the link is still shown after pressing it"

step "closing and starting again"
close_velmora
"$wine_launcher" "$exe" &
velmora_pid=$!
win=$(wait_window "$title") || fail "the window did not appear on the second start"
locate "$win"
sleep 0.3
[ "$(foreground_pixels 112 212 127 8)" -eq 0 ] || fail "the link is offered although run.exe is this program"

step "closing with the caption's close button"
click 327 9
wait_ended "$velmora_pid" || fail "clicking the close button did not end the program"
velmora_pid=""
wait_gone "$title" || fail "the window stayed after the program ended"

# The run-command manager: a section of its own.
step "the run-command manager (manager_e2e.sh)"
bash "$root/tests/e2e/manager_e2e.sh" "$exe" "$marker" "$wine_launcher" "$out" || fail "the manager section failed"

step "PASS"
