#!/usr/bin/env bash
# The manager and the import preview on a 1024 x 768 screen, with long paths
# and a hand-made .reg file that holds lines the import refuses: the manager
# opened from the main window is wholly on the screen, and both are
# photographed for the README.
#
#   manager_screen_e2e.sh VELMORA_EXE MARKER_EXE WINE_RUN OUT_DIR
#
# OUT_DIR receives velmora-manager-1024.png (the whole screen) and
# velmora-import-preview.png (the preview), the pictures in docs/.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=x11_helpers.sh
source "$root/tests/e2e/x11_helpers.sh"
# Always a display of its own at that size, whatever display it is given.
if [ "${VELMORA_SCREEN_1024:-}" != 1 ]; then
  exec env -u DISPLAY VELMORA_SCREEN_1024=1 VELMORA_SCREEN_SIZE=1024x768 "$root/scripts/with-display.sh" "$0" "$@"
fi

exe=$(realpath "$1")
marker=$(realpath "$2")
wine_launcher=$(realpath "$3")
mkdir -p "$4"
out=$(realpath "$4")
prefix=$(eval "$("$wine_launcher" --print-env)"; echo "$WINEPREFIX")
# The prefix is the build's, which the tests before this one left running on
# another display: its server is ended first, so that every process of this
# run (the window menu's included) starts on this screen.
(
  eval "$("$wine_launcher" --print-env)"
  "$WINESERVER" -k 2>/dev/null || true
  "$WINESERVER" -w 2>/dev/null || true
)

machine='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths'
settings='HKCU\Software\Velmora'
title='添加运行命令'
manager_title='管理运行命令'
preview_title='导入运行命令'
names=(velmora-shot-imgconvert velmora-shot-report velmora-shot-sync velmora-shot-gone)

wine_run() { "$wine_launcher" "$@"; }
fail() { echo "manager screen e2e: FAIL: $*" >&2; import -window root "$out/manager-screen-failed.png" || true; exit 1; }
step() { echo "manager screen e2e: $*"; }

velmora_pid=""
cleanup() {
  [ -n "$velmora_pid" ] && kill "$velmora_pid" 2>/dev/null || true
  for name in "${names[@]}" velmora-shot-new; do wine_run reg delete "$machine\\$name.exe" /f >/dev/null 2>&1 || true; done
  wine_run reg delete "$settings" /f >/dev/null 2>&1 || true
}
trap cleanup EXIT

size=$(xdpyinfo | sed -n 's/^ *dimensions: *\([0-9x]*\) pixels.*/\1/p')
[ "$size" = 1024x768 ] || fail "the screen is $size"

step "preparing commands whose programs sit deep in long folders"
base="$prefix/drive_c/Program Files/Velmora Sample Vendor/Image Processing Suite 2026"
deep="$base/Command Line Tools/bin"
mkdir -p "$deep" "$base/Reports and Statistics/x64"
cp "$marker" "$deep/imgconvert.exe"
cp "$marker" "$base/Reports and Statistics/x64/monthly-report-generator.exe"
win_base='C:\Program Files\Velmora Sample Vendor\Image Processing Suite 2026'
# The manager remembers the place, size and columns a user left it at
# (columns at 96 DPI: the list of a 980-pixel window is 952 pixels wide).
wine_run reg add "$settings" /v Manager /d '20,40,980,660,0;120,440,60,70,262' /f >/dev/null
wine_run reg add "$machine\\velmora-shot-imgconvert.exe" /ve /d "$win_base\\Command Line Tools\\bin\\imgconvert.exe" /f >/dev/null
wine_run reg add "$machine\\velmora-shot-imgconvert.exe" /v Path /d "$win_base\\Command Line Tools\\bin;$win_base\\Shared Libraries;" /f >/dev/null
wine_run reg add "$machine\\velmora-shot-report.exe" /ve /d "$win_base\\Reports and Statistics\\x64\\monthly-report-generator.exe" /f >/dev/null
wine_run reg add "$machine\\velmora-shot-sync.exe" /ve /d 'C:\Users\Public\Documents\Synchronisation Service\Current Version\sync-agent.exe' /f >/dev/null
wine_run reg add "$machine\\velmora-shot-gone.exe" /ve /d 'D:\Old Installations\Retired Tools\gone.exe' /f >/dev/null

step "writing a .reg file with lines the import refuses"
shots="$prefix/drive_c/velmora-shots"
mkdir -p "$shots"
app_paths='HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths'
{
  printf 'Windows Registry Editor Version 5.00\r\n\r\n'
  printf '[%s\\velmora-shot-new.exe]\r\n@="C:\\\\Tools\\\\new.exe"\r\n\r\n' "$app_paths"
  printf '[%s\\velmora-shot-report.exe]\r\n@="C:\\\\Reports\\\\report.exe"\r\n\r\n' "$app_paths"
  printf '[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\VelmoraSample.Document\\shell\\open\\command]\r\n@="C:\\\\Tools\\\\open.exe"\r\n\r\n'
  printf '[HKEY_CURRENT_USER\\Software\\Velmora Sample Vendor\\Image Processing Suite\\Settings]\r\n"Theme"="dark"\r\n\r\n'
  printf '[-%s\\velmora-shot-gone.exe]\r\n\r\n' "$app_paths"
} | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$shots/sample.reg"

step "opening the manager from the main window, where the user left it"
"$wine_launcher" "$exe" &
velmora_pid=$!
main=$(wait_window "$title") || fail "the main window did not appear"
locate "$main"
mgr=$(open_manager) || fail "the manager did not open"
sleep 0.5
locate "$mgr"
[ "$cx" -ge 0 ] && [ "$cy" -ge 0 ] && [ $((cx + cw)) -le 1024 ] && [ $((cy + ch)) -le 768 ] ||
  fail "the manager at ${cw}x${ch}+${cx}+${cy} is not wholly on the screen"
[ "$cw" -eq 980 ] && [ "$ch" -eq 660 ] || fail "the manager opened at ${cw}x${ch}, not at the remembered 980x660"
click 60 93
sleep 0.5
import -window root "$out/velmora-manager-1024.png"

step "importing the hand-made file"
xdotool key ctrl+i
sleep 2
xdotool type --delay 20 'C:\velmora-shots\sample.reg'
xdotool key Return
preview=$(wait_window "$preview_title") || fail "no import preview"
sleep 0.5
locate "$preview"
[ "$cx" -ge 0 ] && [ "$cy" -ge 0 ] && [ $((cx + cw)) -le 1024 ] && [ $((cy + ch)) -le 768 ] ||
  fail "the preview at ${cw}x${ch}+${cx}+${cy} is not wholly on the screen"
import -window root "$out/probe.png"
convert "$out/probe.png" -crop "${cw}x${ch}+${cx}+${cy}" +repage "$out/velmora-import-preview.png"
xdotool key Escape
wait_gone "$preview_title" || fail "Escape did not close the preview"
wine_run reg query "$machine\\velmora-shot-new.exe" >/dev/null 2>&1 && fail "the cancelled import wrote"

xdotool key Escape
close_manager_and_main "$main"
step "PASS"
