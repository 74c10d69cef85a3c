#!/usr/bin/env bash
# Editing run commands in the manager end to end with the real Velmora.exe
# under Wine, as a person does it: filter the list by typing, change a
# command's target by dropping a program on the manager (the replace question
# answered Yes), rename it with F2 and start it by its new name, then select
# every shown command, export them with Ctrl+E through the system's save
# dialog, delete them, import the file through the context menu (the menu
# key) and the preview, and every command is back with every value and type. The screenshot of the
# manager with the filter in use and the 附加路径 column is the one for docs/.
#
#   manager_edit_e2e.sh VELMORA_EXE MARKER_EXE WINE_RUN OUT_DIR
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
# shellcheck source=x11_helpers.sh
source "$root/tests/e2e/x11_helpers.sh"
on_private_display "$0" "$@"

exe=$(realpath "$1")
marker=$(realpath "$2")
wine_launcher=$(realpath "$3")
mkdir -p "$4"
out=$(realpath "$4")
prefix=$(eval "$("$wine_launcher" --print-env)"; echo "$WINEPREFIX")

first=velmora-edit-first
renamed=velmora-edit-renamed
second=velmora-edit-second
machine='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths'
title='添加运行命令'
manager_title='管理运行命令'

wine_run() { timeout 60 "$wine_launcher" "$@"; }
fail() { echo "manager edit e2e: FAIL: $*" >&2; import -window root "$out/manager-edit-failed.png" || true; exit 1; }
step() { echo "manager edit e2e: [${SECONDS}s] $*"; }

reg_delete() { wine_run reg delete "$machine\\$1" /f >/dev/null 2>&1 || true; }
reg_exists() { wine_run reg query "$machine\\$1" >/dev/null 2>&1; }
# Every value of an entry as `reg query` lists it (names, types and data),
# its subkeys' too, in a stable order.
reg_values() {
  wine_run reg query "$machine\\$1" /s 2>/dev/null | tr -d '\r' | LC_ALL=C sed -n 's/^    //p' | LC_ALL=C sort
}
reg_default() {
  wine_run reg query "$machine\\$1" /ve 2>/dev/null | tr -d '\r' |
    LC_ALL=C sed -n 's/^.*REG_[A-Z_]*SZ[[:space:]]*//p' | head -1
}
answer_yes() {
  wait_window "$1" >/dev/null || fail "no question \"$1\""
  xdotool key Left Return
  wait_gone "$1" || fail "the question \"$1\" did not close"
}

velmora_pid=""
cleanup() {
  [ -n "$velmora_pid" ] && kill "$velmora_pid" 2>/dev/null || true
  for entry in "$first" "$renamed" "$second"; do reg_delete "$entry.exe"; done
}
trap cleanup EXIT

step "preparing two commands with values of several types"
target_dir="$prefix/drive_c/velmora-e2e"
mkdir -p "$target_dir"
cp "$marker" "$target_dir/marker.exe"
rm -f "$target_dir/marker.exe.ran" "$target_dir/backup.reg"
for entry in "$first" "$renamed" "$second"; do reg_delete "$entry.exe"; done
wine_run reg add "$machine\\$first.exe" /ve /d 'C:\velmora-e2e\gone.exe' /f >/dev/null
wine_run reg add "$machine\\$first.exe" /v Path /t REG_EXPAND_SZ /d '%SystemRoot%;C:\velmora-e2e' /f >/dev/null
wine_run reg add "$machine\\$first.exe" /v UseUrl /t REG_DWORD /d 1 /f >/dev/null
wine_run reg add "$machine\\$first.exe" /v Blob /t REG_BINARY /d 00ff5c22 /f >/dev/null
wine_run reg add "$machine\\$second.exe" /ve /t REG_EXPAND_SZ /d 'C:\velmora-e2e\marker.exe' /f >/dev/null
wine_run reg add "$machine\\$second.exe" /v Protocols /t REG_MULTI_SZ /d 'http\0https' /f >/dev/null
wine_run reg add "$machine\\$second.exe\\SupportedProtocols" /v http /d '' /f >/dev/null
first_values=$(reg_values "$first.exe")
second_values=$(reg_values "$second.exe")

step "opening the manager and filtering it by typing"
# Not through wine_run: $! must be the program itself (a function run in
# the background is a shell of its own, and killing that leaves the program).
timeout 60 "$wine_launcher" "$exe" &
velmora_pid=$!
main=$(wait_window "$title") || fail "the main window did not appear"
locate "$main"
mgr=$(open_manager) || fail "the manager did not open"
locate "$mgr"
click 300 48
xdotool type --delay 30 "velmora-edit"
sleep 0.5
import -window root "$out/probe.png"
convert "$out/probe.png" -crop "${cw}x${ch}+${cx}+${cy}" +repage "$out/velmora-manager-filter.png"

step "selecting $first and dropping the marker program on the manager"
click 60 93
/usr/bin/python3 "$root/tests/e2e/xdnd_drag.py" $((cx + 300)) $((cy + 300)) "$target_dir/marker.exe" ||
  fail "the manager took no drop"
answer_yes '替换运行命令'
sleep 0.3
[ "$(reg_default "$first.exe")" = 'C:\velmora-e2e\marker.exe' ] || fail "the drop did not change the target"
expected=$(sed 's/gone\.exe/marker.exe/' <<<"$first_values")
[ "$(reg_values "$first.exe")" = "$expected" ] || fail "a value changed with the target: $(reg_values "$first.exe")"

step "renaming it to $renamed with F2 and starting it by its new name"
click 60 93
xdotool key F2
sleep 0.3
xdotool key ctrl+a
xdotool type --delay 30 "$renamed"
xdotool key Return
sleep 0.5
reg_exists "$first.exe" && fail "$first is still there"
[ "$(reg_values "$renamed.exe")" = "$expected" ] || fail "the rename lost a value: $(reg_values "$renamed.exe")"
click 60 93
click 331 394
for _ in $(seq 1 100); do
  [ -s "$target_dir/marker.exe.ran" ] && break
  sleep 0.1
done
[ -s "$target_dir/marker.exe.ran" ] || fail "the marker program did not start by its new name"
sleep 0.5
click 300 12

step "exporting every shown command with Ctrl+E"
click 60 93
xdotool key ctrl+a ctrl+e
sleep 2
xdotool type --delay 20 'C:\velmora-e2e\backup.reg'
xdotool key Return
for _ in $(seq 1 50); do
  [ -s "$target_dir/backup.reg" ] && break
  sleep 0.1
done
[ -s "$target_dir/backup.reg" ] || fail "no backup file"
[ "$(head -c 2 "$target_dir/backup.reg" | od -An -tx1 | tr -d ' ')" = fffe ] || fail "the file is not UTF-16"
renamed_values=$(reg_values "$renamed.exe")

step "deleting them"
sleep 0.5
locate "$mgr"
click 60 93
xdotool key ctrl+a Delete
answer_yes '删除运行命令'
sleep 0.5
reg_exists "$renamed.exe" && fail "$renamed was not deleted"
reg_exists "$second.exe" && fail "$second was not deleted"
step "importing it through the context menu (the menu key, then 导入(I))"
xdotool key shift+F10
sleep 0.5
xdotool key i
sleep 2
xdotool type --delay 20 'C:\velmora-e2e\backup.reg'
xdotool key Return
wait_window '导入运行命令' >/dev/null || fail "no import preview"
import -window root "$out/manager-import-preview.png"
xdotool key Return
wait_gone '导入运行命令' || fail "the preview did not close"
sleep 0.5
[ "$(reg_values "$renamed.exe")" = "$renamed_values" ] || fail "$renamed came back as: $(reg_values "$renamed.exe")"
[ "$(reg_values "$second.exe")" = "$second_values" ] || fail "$second came back as: $(reg_values "$second.exe")"

xdotool key Escape Escape
close_manager_and_main "$main"
step "PASS"
