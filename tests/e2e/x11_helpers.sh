#!/usr/bin/env bash
# Window helpers of the end-to-end scripts (sourced): finding top-level
# windows by title, their place on the screen, a mouse that moves as a hand
# does, message boxes answered with Return, and waiting for a program to end.

# Runs the calling script ($1, then its arguments) again on a private display
# with its known window manager unless it runs on one already: the tests set
# the screen's background and move the mouse, which they must not do on a
# desktop.
on_private_display() {
  if [ -z "${VELMORA_PRIVATE_DISPLAY:-}" ] || [ "${DISPLAY:-}" != "$VELMORA_PRIVATE_DISPLAY" ]; then
    exec env -u DISPLAY "$root/scripts/with-display.sh" "$@"
  fi
}

# The start of a window script that takes VELMORA_EXE WINE_RUN OUT_DIR
# (called with "$0" "$@"): on its private display, with exe, wine_launcher
# and out set and OUT_DIR made.
window_script_start() {
  on_private_display "$@"
  exe=$(realpath "$2")
  wine_launcher=$(realpath "$3")
  mkdir -p "$4"
  out=$(realpath "$4")
}

# Polls for a top-level window by exact title; prints its X id.
wait_window() {
  local pattern="^$1\$" id=""
  for _ in $(seq 1 300); do
    id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
wait_gone() {
  for _ in $(seq 1 30); do
    xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}

# Origin of the dialog on the screen: Wine's X window is the whole skinned
# window, which has no system frame (and the window manager draws none).
locate() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  cx=$X
  cy=$Y
  cw=$WIDTH
  ch=$HEIGHT
}
# Brings the mouse onto a client point the way a hand does, in two moves with
# short pauses, so that the window sees it arrive before anything else: the
# skin buttons track hovering from mouse moves and hold the mouse capture
# while hovered, so a press that came with the jump could still go to the
# button the mouse just left.
point_at() {
  xdotool mousemove $((cx + $1 - 4)) $((cy + $2 - 2))
  sleep 0.15
  xdotool mousemove $((cx + $1)) $((cy + $2))
  sleep 0.15
}
click() { point_at "$1" "$2"; xdotool click 1; }

# How many windows show on the screen (a popup menu is one, without a name).
visible_windows() { xdotool search --onlyvisible --name '.*' 2>/dev/null | wc -l; }

# Opens the manager from the main window placed by `locate`, with Alt+Space
# and the window menu's last item, and prints the manager's window (its
# title: $manager_title). The item is chosen only once the menu shows: keys
# that came before it would reach the dialog, where Return closes it. When
# the menu does not come, Alt+Space is pressed once more.
open_manager() {
  local before id
  for _ in 1 2 3; do
    click 160 120
    before=$(visible_windows)
    xdotool key alt+space
    for _ in $(seq 1 50); do
      [ "$(visible_windows)" -gt "$before" ] && break
      sleep 0.1
    done
    [ "$(visible_windows)" -gt "$before" ] || continue
    xdotool key Up Return
    id=$(wait_window "$manager_title") && { echo "$id"; return 0; }
  done
  echo "open_manager: windows on the screen:" >&2
  for id in $(xdotool search --onlyvisible --name '.*' 2>/dev/null); do
    echo "  $(xdotool getwindowname "$id" 2>/dev/null)" >&2
  done
  return 1
}

# After the Escape that closes the manager: waits for it to go, then closes
# the main window $1 with Escape in its name field and waits for the program
# (velmora_pid, which it clears) to end. Fails the calling script otherwise.
close_manager_and_main() {
  wait_gone "$manager_title" || fail "Escape did not close the manager"
  locate "$1"
  click 160 73
  xdotool key Escape
  wait_ended "$velmora_pid" || fail "Velmora.exe did not end"
  velmora_pid=""
}

# Registers a program as a person does on the main window placed by
# `locate`: drops file $1 on it, types the name $2 into the command-name
# field and presses the add button; the confirmation's appearing is the
# result (the caller closes it).
drop_and_add() {
  /usr/bin/python3 "$root/tests/e2e/xdnd_drag.py" $((cx + 170)) $((cy + 150)) "$1" || return 1
  click 160 73
  xdotool key --delay 20 End $(printf 'BackSpace %.0s' $(seq 1 30))
  xdotool type --delay 30 "$2"
  click 295 70
  wait_window '温馨提示' >/dev/null
}

# Presses Return in the active message box titled $1 (its default button)
# until the box has closed; fails when it stays.
press_return_in() {
  for _ in 1 2 3; do
    xdotool key Return
    wait_gone "$1" && return 0
  done
  return 1
}

# Waits up to 10 s for process $1 to end and collects it; fails when it still
# runs.
wait_ended() {
  for _ in $(seq 1 100); do
    kill -0 "$1" 2>/dev/null || { wait "$1" || true; return 0; }
    sleep 0.1
  done
  return 1
}
