#!/usr/bin/env bash
# Velmora.exe on displays of 144 and 192 DPI (150 and 200 %), beside the
# same window at 96 DPI: each window is photographed whole, is the design's
# 355 x 250 scaled, shows the screen through its cut corners, and each text
# of the window (the usage line, the label, the link) is drawn whole inside
# its rectangle, its ink as much wider than at 96 DPI as the scale says. A
# text cut short and ended with an ellipsis, or a layout that stayed at 96
# DPI while the fonts grew, fails that.
#
#   dpi_e2e.sh VELMORA_EXE WINE_RUN OUT_DIR
#
# OUT_DIR receives the screenshots (velmora-window-144dpi.png and
# velmora-window-192dpi.png are the ones for docs/).
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=x11_helpers.sh
source "$root/tests/e2e/x11_helpers.sh"
window_script_start "$0" "$@"

title='添加运行命令'
screen_colour=ffffff
background='#C1D9EF'   # the dialog's fill, 0xEFD9C1 as red, green, blue

fail() { echo "dpi e2e: FAIL: $*" >&2; exit 1; }
step() { echo "dpi e2e: [${SECONDS}s] $*"; }

# The texts' rectangles at 96 DPI, as LEFT TOP WIDTH HEIGHT of the client.
declare -A texts=([usage]="20 38 320 20" [label]="30 63 60 20" [link]="110 210 131 20")

# A number at 96 DPI scaled to $2 DPI, halves away from zero.
scaled() { echo $(( ($1 * $2 + 48) / 96 )); }

# The ink of a client rectangle of the photograph $1 (x y w h, scaled to
# $2 DPI): "LEFT RIGHT" of the pixels that are not background, relative to
# the rectangle, or "none".
ink() {
  local shot=$1 dpi=$2 x y w h box
  read -r x y w h <<<"$3"
  local l t r b
  l=$(scaled "$x" "$dpi"); t=$(scaled "$y" "$dpi")
  r=$(scaled $((x + w)) "$dpi"); b=$(scaled $((y + h)) "$dpi")
  box=$(convert "$shot" -crop "$((r - l))x$((b - t))+$l+$t" +repage \
          -fill black -opaque "$background" -fill white +opaque black -format '%@' info:)
  # WxH+X+Y of the ink; the whole crop when there is none.
  [[ "$box" =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || { echo none; return; }
  [ "${BASH_REMATCH[1]}" = "$((r - l))" ] && [ "${BASH_REMATCH[3]}" = 0 ] && { echo none; return; }
  echo "${BASH_REMATCH[3]} $((BASH_REMATCH[3] + BASH_REMATCH[1])) $((r - l))"
}

# Starts Velmora.exe at $1 DPI (96: the build's own prefix), photographs it
# into $out/velmora-window-${1}dpi.png and closes it.
photograph() {
  local dpi=$1 win pid
  local -a launch=("$wine_launcher")
  [ "$dpi" = 96 ] || launch+=(--dpi "$dpi")
  step "$dpi DPI: starting Velmora.exe"
  "${launch[@]}" "$exe" &
  pid=$!
  win=$(wait_window "$title") || fail "$dpi DPI: no window titled \"$title\""
  locate "$win"
  local want="$(scaled 355 "$dpi")x$(scaled 250 "$dpi")"
  [ "${cw}x${ch}" = "$want" ] || fail "$dpi DPI: the window is ${cw}x${ch}, not $want"
  # The pointer away from the buttons, the focus out of the edit field.
  xdotool mousemove 0 0
  click "$(scaled 170 "$dpi")" "$(scaled 120 "$dpi")"
  xdotool mousemove 0 0
  sleep 0.5
  import -window root "$out/probe.png"
  convert "$out/probe.png" -crop "${cw}x${ch}+${cx}+${cy}" +repage "$out/velmora-window-${dpi}dpi.png"
  xdotool key alt+F4
  wait_ended "$pid" || { kill "$pid" 2>/dev/null || true; fail "$dpi DPI: Velmora.exe did not end"; }
}

# The colour of a pixel of a picture as RRGGBB.
pixel() { convert "$1" -format "%[hex:p{$2,$3}]" info: | tr 'A-F' 'a-f' | cut -c1-6; }

xsetroot -solid "#$screen_colour"
for dpi in 96 144 192; do photograph "$dpi"; done

status=0
for dpi in 144 192; do
  shot="$out/velmora-window-${dpi}dpi.png"
  w=$(scaled 355 "$dpi"); h=$(scaled 250 "$dpi")
  step "$dpi DPI: corners and texts"
  for p in "0 0" "$((w - 1)) 0" "0 $((h - 1))" "$((w - 1)) $((h - 1))"; do
    # shellcheck disable=SC2086
    c=$(pixel "$shot" $p)
    [ "$c" = "$screen_colour" ] || { echo "  corner ($p) is $c, not the screen's $screen_colour"; status=1; }
  done
  [ "$(pixel "$shot" $((w / 2)) $((h / 2)))" = "$(echo "${background#\#}" | tr 'A-F' 'a-f')" ] ||
    { echo "  the middle of the window is not the dialog's fill"; status=1; }
  for name in "${!texts[@]}"; do
    read -r base_left base_right base_width <<<"$(ink "$out/velmora-window-96dpi.png" 96 "${texts[$name]}")"
    read -r left right width <<<"$(ink "$shot" "$dpi" "${texts[$name]}")"
    [ "$base_left" != none ] && [ "$left" != none ] || { echo "  $name: no text"; status=1; continue; }
    # Ink as wide as at 96 DPI times the scale, within 12 %; nothing
    # touching the rectangle's right edge.
    expected=$(( (base_right - base_left) * dpi / 96 ))
    got=$((right - left))
    echo "  $name: ink $got pixels wide (at 96 DPI $((base_right - base_left)), scaled $expected), ends $((width - right)) before the edge"
    [ $((got * 100)) -ge $((expected * 88)) ] && [ $((got * 100)) -le $((expected * 112)) ] ||
      { echo "  $name: the text is not the 96-DPI text scaled"; status=1; }
    [ "$right" -lt "$width" ] || { echo "  $name: the text runs to the rectangle's edge"; status=1; }
  done
done
[ "$status" = 0 ] || fail "a window at another DPI is not the 96-DPI window scaled"
step "passed"
