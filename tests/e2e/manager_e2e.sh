#!/usr/bin/env bash
# The run-command manager end to end with the real Velmora.exe under Wine, as
# a person uses it: register a program, open the manager from the window menu
# with the keyboard (Alt+Space, then its item), see the new command with its
# icon, start it (its marker appears), delete it (gone from the registry),
# then register a name that points at another program and answer the
# question No (nothing changes) and Yes (replaced).
#
#   manager_e2e.sh VELMORA_EXE MARKER_EXE WINE_RUN OUT_DIR
#
# Runs on the display it is given (e2e.sh calls it as its last section).
# OUT_DIR receives the screenshots (velmora-manager.png is the one for docs/).
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
exe=$(realpath "$1")
marker=$(realpath "$2")
mkdir -p "$4"
wine_launcher=$(realpath "$3")
prefix=$(eval "$("$wine_launcher" --print-env)"; echo "$WINEPREFIX")
out=$(realpath "$4")

name=velmora-manager-e2e
other=velmora-manager-other
machine='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths'
user='HKCU\Software\Microsoft\Windows\CurrentVersion\App Paths'
title='添加运行命令'
manager_title='管理运行命令'

wine_run() { "$wine_launcher" "$@"; }
fail() { echo "manager e2e: FAIL: $*" >&2; exit 1; }
step() { echo "manager e2e: $*"; }

reg_default() {
  wine_run reg query "$1\\$2" /ve 2>/dev/null | tr -d '\r' |
    LC_ALL=C sed -n 's/^.*REG_SZ[[:space:]]*//p' | head -1
}
reg_exists() { wine_run reg query "$1\\$2" >/dev/null 2>&1; }
reg_delete() { wine_run reg delete "$1\\$2" /f >/dev/null 2>&1 || true; }

# shellcheck source=x11_helpers.sh
source "$root/tests/e2e/x11_helpers.sh"
# Answers the question box with this caption: Return takes its default, No;
# Left first moves to Yes.
answer() {
  local box
  box=$(wait_window "$1") || { import -window root "$out/manager-no-question.png"; fail "no question \"$1\""; }
  import -window root "$out/manager-question.png"
  [ "$2" = yes ] && xdotool key Left
  xdotool key Return
  wait_gone "$1" || fail "the question \"$1\" did not close"
}
# Pixels of the list's icon column in the marker's green (its icon is the
# green success mark, drawn in greens of about (40, 157, 62); the prefix's
# Internet Explorer icon has lighter, yellower ones).
green_icon_pixels() {
  import -window root "$out/probe.png"
  convert "$out/probe.png" -crop "20x330+$((cx + 15))+$((cy + 40))" +repage txt:- |
    LC_ALL=C awk -F'[(),]' 'NR > 1 { r = $3; g = $4; b = $5; if (r < 60 && g > 140 && g < 180 && b < 80) n++ } END { print n + 0 }'
}

velmora_pid=""
cleanup() {
  [ -n "$velmora_pid" ] && kill "$velmora_pid" 2>/dev/null || true
  for entry in "$name.exe" "$other.exe"; do reg_delete "$machine" "$entry"; done
  reg_delete "$user" iexplore.exe
}
trap cleanup EXIT

step "preparing: $other points at a program that is gone, and a user entry hides iexplore"
target_dir="$prefix/drive_c/velmora-e2e"
mkdir -p "$target_dir"
cp "$marker" "$target_dir/marker.exe"
rm -f "$target_dir/marker.exe.ran"
for entry in "$name.exe" "$other.exe" velmora-e2e.exe; do reg_delete "$machine" "$entry"; done
# The manager opens at its own size, not at one an earlier run left.
wine_run reg delete 'HKCU\Software\Velmora' /v Manager /f >/dev/null 2>&1 || true
wine_run reg add "$machine\\$other.exe" /ve /d 'C:\velmora-e2e\gone.exe' /f >/dev/null
wine_run reg add "$user\\iexplore.exe" /ve /d 'C:\Program Files\Internet Explorer\iexplore.exe' /f >/dev/null

step "registering $name for the marker program"
# Not through wine_run: $! must be the program itself (a function run in
# the background is a shell of its own, and killing that leaves the program).
"$wine_launcher" "$exe" &
velmora_pid=$!
main=$(wait_window "$title") || fail "the main window did not appear"
locate "$main"
drop_and_add "$target_dir/marker.exe" "$name" || fail "no confirmation"
press_return_in '温馨提示' || true
[ "$(reg_default "$machine" "$name.exe")" = 'C:\velmora-e2e\marker.exe' ] || fail "$name was not registered"

step "opening the manager with Alt+Space and its menu item"
mgr=$(open_manager) || fail "the manager did not open from the window menu"
locate "$mgr"
[ "$cw" -eq 700 ] && [ "$ch" -eq 420 ] || fail "the manager is ${cw}x${ch}"
sleep 0.5
import -window root "$out/probe.png"
convert "$out/probe.png" -crop "${cw}x${ch}+${cx}+${cy}" +repage "$out/velmora-manager.png"
green=$(green_icon_pixels)
step "the new command's icon: $green green pixels in the icon column"
[ "$green" -gt 20 ] || fail "no row shows the marker's icon"

step "selecting $name by typing and starting it with 运行"
xdotool type --delay 40 "$name"
click 331 394
for _ in $(seq 1 100); do
  [ -s "$target_dir/marker.exe.ran" ] && break
  sleep 0.1
done
[ -s "$target_dir/marker.exe.ran" ] || fail "the marker program did not run"

step "deleting it with the Delete key"
# The started program took the activation: back to the manager through its
# caption, which leaves the selection as it is.
sleep 0.5
click 300 12
sleep 0.3
xdotool key Delete
answer '删除运行命令' yes
for _ in $(seq 1 30); do
  reg_exists "$machine" "$name.exe" || break
  sleep 0.1
done
reg_exists "$machine" "$name.exe" && fail "App Paths\\$name.exe is still there"
sleep 0.3
[ "$(green_icon_pixels)" -eq 0 ] || fail "the list still shows the deleted command"
reg_exists "$machine" iexplore.exe || fail "another entry went with it"
xdotool key Escape
wait_gone "$manager_title" || fail "Escape did not close the manager"

step "registering $other, which points at another program: No, then Yes"
locate "$main"
click 160 73
xdotool key --delay 20 End $(printf 'BackSpace %.0s' $(seq 1 30))
xdotool type --delay 30 "$other"
click 295 70
answer '替换运行命令' no
sleep 0.3
xdotool search --onlyvisible --name '^温馨提示$' >/dev/null 2>&1 && fail "a confirmation after No"
[ "$(reg_default "$machine" "$other.exe")" = 'C:\velmora-e2e\gone.exe' ] || fail "No changed $other"
click 295 70
answer '替换运行命令' yes
wait_window '温馨提示' >/dev/null || fail "no confirmation after Yes"
press_return_in '温馨提示' || true
[ "$(reg_default "$machine" "$other.exe")" = 'C:\velmora-e2e\marker.exe' ] || fail "Yes did not replace $other"

# Closed as a user does (Escape in the name field): a killed wrapper would
# leave Wine's process behind.
click 160 73
xdotool key Escape
wait_ended "$velmora_pid" || fail "Velmora.exe did not end after Escape"
velmora_pid=""
step "PASS"
