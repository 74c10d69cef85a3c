#!/usr/bin/env bash
# The tool's texts whatever the system's code page: Velmora.exe is started
# under code page 936 and under code page 1252 (a prefix whose locale is
# en_US.UTF-8), the main window and the manager are photographed in each,
# and their text areas must be the same pixels: the caption, the usage line,
# the label, the add button and the link of the main window; the caption,
# the column headings and the four buttons of the manager. Both windows are
# also found by their Chinese titles, which Wine takes from the window text.
#
#   codepage_e2e.sh VELMORA_EXE WINE_RUN OUT_DIR
#
# OUT_DIR receives the screenshots (velmora-window-cp1252.png is the one for
# docs/).
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=x11_helpers.sh
source "$root/tests/e2e/x11_helpers.sh"
window_script_start "$0" "$@"

title='添加运行命令'
manager_title='管理运行命令'
screen_colour=ffffff

fail() { echo "code page e2e: FAIL: $*" >&2; exit 1; }
step() { echo "code page e2e: [${SECONDS}s] $*"; }


# Text areas as WIDTHxHEIGHT+X+Y of the window's client area.
main_areas=(216x19+35+8 320x20+20+38 60x20+30+63 71x25+260+60 131x20+110+210)
manager_areas=(216x19+35+8 594x20+13+38 344x25+263+382)

# The ANSI code page of a prefix, as its registry records it.
code_page_of() {
  "$wine_launcher" --code-page "$1" reg query 'HKLM\System\CurrentControlSet\Control\Nls\CodePage' /v ACP |
    tr -d '\r' | sed -n 's/.*REG_SZ[[:space:]]*//p'
}

# Photographs both windows under code page $1 into $out/*-cp$1.png.
photograph() {
  local cp=$1 win mgr pid
  step "code page $cp: starting Velmora.exe"
  "$wine_launcher" --code-page "$cp" "$exe" &
  pid=$!
  win=$(wait_window "$title") || fail "code page $cp: no window titled \"$title\""
  locate "$win"
  [ "${cw}x${ch}" = 355x250 ] || fail "code page $cp: the window is ${cw}x${ch}"
  # The pointer away from the buttons, the focus out of the edit field (no
  # caret in the picture).
  xdotool mousemove 0 0
  click 170 120
  xdotool mousemove 0 0
  sleep 0.5
  import -window root "$out/probe.png"
  convert "$out/probe.png" -crop "${cw}x${ch}+${cx}+${cy}" +repage "$out/velmora-window-cp$cp.png"

  step "code page $cp: opening the manager"
  xdotool key alt+space
  sleep 0.5
  xdotool key Up Return
  mgr=$(wait_window "$manager_title") || fail "code page $cp: no manager titled \"$manager_title\""
  locate "$mgr"
  xdotool mousemove 0 0
  sleep 0.5
  import -window root "$out/probe.png"
  convert "$out/probe.png" -crop "${cw}x${ch}+${cx}+${cy}" +repage "$out/velmora-manager-cp$cp.png"
  xdotool key Escape
  wait_gone "$manager_title" || fail "code page $cp: the manager did not close"
  xdotool windowactivate --sync "$win" 2>/dev/null || true
  xdotool key alt+F4
  wait_ended "$pid" || { kill "$pid" 2>/dev/null || true; fail "code page $cp: Velmora.exe did not end"; }
}

# Differing pixels of two pictures in an area.
differing() {
  compare -metric AE "$1[$3]" "$2[$3]" null: 2>&1 || true
}

xsetroot -solid "#$screen_colour"
[ "$(code_page_of 936)" = 936 ] || fail "the code page 936 prefix has ANSI code page $(code_page_of 936)"
[ "$(code_page_of 1252)" = 1252 ] || fail "the code page 1252 prefix has ANSI code page $(code_page_of 1252)"
photograph 936
photograph 1252

step "comparing the text areas"
status=0
for area in "${main_areas[@]}"; do
  n=$(differing "$out/velmora-window-cp936.png" "$out/velmora-window-cp1252.png" "$area")
  echo "  main window $area: $n pixels differ"
  [ "$n" = 0 ] || status=1
done
for area in "${manager_areas[@]}"; do
  n=$(differing "$out/velmora-manager-cp936.png" "$out/velmora-manager-cp1252.png" "$area")
  echo "  manager $area: $n pixels differ"
  [ "$n" = 0 ] || status=1
done
[ "$status" = 0 ] || fail "the texts under code page 1252 are not those of code page 936"
step "passed"
