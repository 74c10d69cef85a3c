#!/usr/bin/env bash
# Velmora.exe in English, the language a user chose in the window menu and
# the program remembered for them, at 96 and 144 DPI: started with a file
# that is not there it says so in an English message box, its main window,
# the manager with the filter in use, the Path editor and the import
# preview all open with their English titles, and each is photographed.
#
#   english_e2e.sh VELMORA_EXE WINE_RUN OUT_DIR
#
# OUT_DIR receives en-window-96dpi.png, en-manager-filter-96dpi.png,
# en-path-editor-96dpi.png, en-import-preview-96dpi.png,
# en-message-box-96dpi.png and the same at 144 DPI: the pictures in docs/.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=x11_helpers.sh
source "$root/tests/e2e/x11_helpers.sh"
window_script_start "$0" "$@"

title='Add run command'
manager_title='Manage run commands'
preview_title='Import run commands'
box_title='Velmora'
machine='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths'
settings='HKCU\Software\Velmora'
names=(velmora-en-notes velmora-en-tools velmora-en-gone)

fail() { echo "english e2e: FAIL: $*" >&2; import -window root "$out/english-failed.png" || true; exit 1; }
step() { echo "english e2e: [${SECONDS}s] $*"; }

launch=("$wine_launcher")
velmora_pid=""
cleanup() {
  [ -n "$velmora_pid" ] && kill "$velmora_pid" 2>/dev/null || true
  for name in "${names[@]}" velmora-en-new; do
    "${launch[@]}" reg delete "$machine\\$name.exe" /f >/dev/null 2>&1 || true
  done
  "${launch[@]}" reg delete "$settings" /v Language /f >/dev/null 2>&1 || true
}
trap cleanup EXIT

# The window $2 cut from the screen into $out/$1-${dpi}dpi.png, small: a
# palette of 256 colours.
photograph() {
  locate "$2"
  sleep 0.5
  import -window root "$out/probe.png"
  convert "$out/probe.png" -crop "${cw}x${ch}+${cx}+${cy}" +repage -strip "PNG8:$out/$1-${dpi}dpi.png"
}

run_at() {
  dpi=$1
  launch=("$wine_launcher")
  [ "$dpi" = 96 ] || launch+=(--dpi "$dpi")
  local prefix
  prefix=$(eval "$("${launch[@]}" --print-env)"; echo "$WINEPREFIX")

  step "$dpi DPI: English remembered, three commands and a .reg file"
  "${launch[@]}" reg add "$settings" /v Language /d en /f >/dev/null
  "${launch[@]}" reg add "$machine\\velmora-en-notes.exe" /ve /d 'C:\windows\notepad.exe' /f >/dev/null
  "${launch[@]}" reg add "$machine\\velmora-en-tools.exe" /ve /d 'C:\windows\system32\cmd.exe' /f >/dev/null
  "${launch[@]}" reg add "$machine\\velmora-en-tools.exe" /v Path /d 'C:\Tools\bin;C:\Missing Folder;' /f >/dev/null
  "${launch[@]}" reg add "$machine\\velmora-en-gone.exe" /ve /d 'D:\Retired\gone.exe' /f >/dev/null
  mkdir -p "$prefix/drive_c/velmora-en"
  local app_paths='HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths'
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[%s\\velmora-en-new.exe]\r\n@="C:\\\\Tools\\\\new.exe"\r\n\r\n' "$app_paths"
    printf '[%s\\velmora-en-notes.exe]\r\n@="C:\\\\Tools\\\\notes.exe"\r\n\r\n' "$app_paths"
    printf '[HKEY_CURRENT_USER\\Software\\Velmora Sample\\Settings]\r\n"Theme"="dark"\r\n\r\n'
  } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$prefix/drive_c/velmora-en/sample.reg"

  step "$dpi DPI: started with a file that is not there"
  "${launch[@]}" "$exe" 'C:\velmora-en\missing-program.exe' &
  velmora_pid=$!
  box=$(wait_window "$box_title") || fail "$dpi DPI: no message box titled \"$box_title\""
  photograph en-message-box "$box"
  press_return_in "$box_title" || fail "$dpi DPI: the message box stays"

  main=$(wait_window "$title") || fail "$dpi DPI: no main window titled \"$title\""
  xdotool mousemove 0 0
  photograph en-window "$main"

  step "$dpi DPI: the manager, filtered"
  mgr=$(open_manager) || fail "$dpi DPI: the manager did not open"
  sleep 0.5
  xdotool key ctrl+f
  xdotool type --delay 30 'velmora-en'
  xdotool mousemove 0 0
  photograph en-manager-filter "$mgr"

  step "$dpi DPI: the Path editor"
  xdotool key shift+Tab End
  xdotool key ctrl+p
  editor=$(wait_window 'Edit Path: velmora-en-tools') || fail "$dpi DPI: no Path editor"
  photograph en-path-editor "$editor"
  xdotool key Escape
  wait_gone 'Edit Path: velmora-en-tools' || fail "$dpi DPI: Escape did not close the Path editor"

  step "$dpi DPI: the import preview"
  # The keys go to the list, as the user's would after a click on it.
  locate "$mgr"
  click 300 200
  sleep 0.5
  xdotool key ctrl+i
  sleep 4
  xdotool type --delay 20 'C:\velmora-en\sample.reg'
  xdotool key Return
  preview=$(wait_window "$preview_title") || fail "$dpi DPI: no import preview"
  photograph en-import-preview "$preview"
  xdotool key Escape
  wait_gone "$preview_title" || fail "$dpi DPI: Escape did not close the preview"

  xdotool key Escape
  close_manager_and_main "$main"
  cleanup
}

xsetroot -solid '#ffffff'
for dpi in 96 144; do run_at "$dpi"; done
rm -f "$out/probe.png"
step "PASS"
