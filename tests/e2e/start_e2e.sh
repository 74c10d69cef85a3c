#!/usr/bin/env bash
# Velmora.exe started with a file, as Explorer's verb and the SendTo shortcut
# start it, under Wine on an X display: the command Explorer's verb holds
# (from `velmora explorer on`) is run with a program whose path has blanks
# and Chinese letters, then with a shortcut to it made by IShellLinkW, then
# with a file that is not there. Each window must show the program's icon;
# the first two are photographed for docs/, the name is typed and 添加命令
# registers the program.
#   start_e2e.sh VELMORA_EXE VELMORA_COM MARKER_EXE MAKE_SHORTCUT_EXE WINE_RUN OUT_DIR
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=x11_helpers.sh
source "$root/tests/e2e/x11_helpers.sh"
on_private_display "$0" "$@"

exe=$(realpath "$1")
com=$(realpath "$2")
marker=$(realpath "$3")
make_shortcut=$(realpath "$4")
wine_launcher=$(realpath "$5")
mkdir -p "$6"
out=$(realpath "$6")
prefix=$(eval "$("$wine_launcher" --print-env)"; echo "$WINEPREFIX")

title='添加运行命令'
background='#C1D9EF'
app_paths='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths'
fail() { echo "start e2e: FAIL: $*" >&2; exit 1; }
step() { echo "start e2e: [${SECONDS}s] $*"; }
wine_run() { timeout 60 "$wine_launcher" "$@"; }

tools="$prefix/drive_c/velmora-start"
rm -rf "$tools"
mkdir -p "$tools/我的 工具" "$tools/bin"
cp "$marker" "$tools/我的 工具/编辑器.exe"
cp "$exe" "$tools/bin/Velmora.exe"
cp "$com" "$tools/bin/Velmora.com"
program='C:\velmora-start\我的 工具\编辑器.exe'
shortcut='C:\velmora-start\桌面 编辑器.lnk'
wine_run "$make_shortcut" "$shortcut" "$program" || fail "no shortcut made"

velmora_pid=""
cleanup() {
  [ -n "$velmora_pid" ] && kill "$velmora_pid" 2>/dev/null
  wine_run "$tools/bin/Velmora.com" explorer off >/dev/null 2>&1 || true
  wine_run reg delete "$app_paths\\start-e2e.exe" /f >/dev/null 2>&1 || true
}
trap cleanup EXIT

# The command Explorer's verb runs, "%1" replaced by the file.
wine_run "$tools/bin/Velmora.com" explorer on >/dev/null || fail "explorer on"
verb=$(wine_run reg query 'HKCU\Software\Classes\SystemFileAssociations\.exe\shell\VelmoraAddRunCommand\command' /ve |
  tr -d '\r' | iconv -f GBK -t UTF-8 | LC_ALL=C sed -n 's/^.*REG_SZ[[:space:]]*//p')
[ "$verb" = '"C:\velmora-start\bin\Velmora.exe" "%1"' ] || fail "the verb runs $verb"

foreground_pixels() {
  import -window root "$out/probe.png"
  convert "$out/probe.png" -crop "${3}x${4}+$((cx + $1))+$((cy + $2))" +repage \
    -fill black -opaque "$background" -fill white +opaque black -format '%[fx:round(mean*w*h)]' info:
}
# open FILE: Velmora.exe started as the verb starts it ("VELMORA.EXE" "FILE");
# the window located.
open_with() {
  wine_run "$tools/bin/Velmora.exe" "$1" >/dev/null 2>&1 &
  velmora_pid=$!
  win=$(wait_window "$title") || fail "the window did not appear for $1"
  locate "$win"
}
# The window, the program's icon drawn in it, photographed as $1.
shoot_with_icon() {
  local icon=0
  for _ in $(seq 1 50); do
    icon=$(foreground_pixels 144 130 48 48)
    [ "$icon" -gt 200 ] && break
    sleep 0.1
  done
  [ "$icon" -gt 200 ] || fail "no icon drawn for $1"
  xdotool mousemove $((cx + 200)) $((cy + 120))
  sleep 0.3
  import -window root "$out/probe.png"
  convert "$out/probe.png" -crop "$((cw + 2))x$((ch + 2))+$((cx - 1))+$((cy - 1))" +repage "$out/$1"
}
close_velmora() {
  click 160 73
  xdotool key Escape
  wait_ended "$velmora_pid" || fail "Velmora.exe did not end after Escape"
  velmora_pid=""
}

step "Velmora.exe \"$program\""
open_with "$program"
shoot_with_icon velmora-start-program.png
step "typing a name and pressing 添加命令"
click 160 73
xdotool key --delay 20 End $(printf 'BackSpace %.0s' $(seq 1 30))
xdotool type --delay 30 start-e2e
click 295 70
wait_window '温馨提示' >/dev/null || fail "no confirmation"
press_return_in '温馨提示' || fail "the confirmation stays"
registered=$(wine_run reg query "$app_paths\\start-e2e.exe" /ve | tr -d '\r' | iconv -f GBK -t UTF-8 |
  LC_ALL=C sed -n 's/^.*REG_SZ[[:space:]]*//p')
[ "$registered" = "$program" ] || fail "registered: $registered"
close_velmora

step "Velmora.exe \"$shortcut\""
open_with "$shortcut"
shoot_with_icon velmora-start-shortcut.png
close_velmora

step "Velmora.exe with a file that is not there"
wine_run "$tools/bin/Velmora.exe" 'C:\velmora-start\gone.exe' >/dev/null 2>&1 &
velmora_pid=$!
wait_window '温馨提示' >/dev/null || fail "no message about the missing file"
import -window root "$out/velmora-start-missing.png"
press_return_in '温馨提示' || fail "the message stays"
win=$(wait_window "$title") || fail "no window after the message"
locate "$win"
[ "$(foreground_pixels 144 130 48 48)" -lt 20 ] || fail "an icon is drawn though nothing was taken"
close_velmora
step "passed"
