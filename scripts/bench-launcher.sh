#!/usr/bin/env bash
# What the terminal launcher costs under Wine: `cmd /c NAME a b`, NAME being
# the console launcher in %LOCALAPPDATA%\Velmora\bin that starts a small
# console program, against `cmd /c PROGRAM a b`, the same program found on
# PATH by its own name. Both in one run, taking turns, in a prefix of their
# own; median of RUNS each, and the ratio.
#
#   bench-launcher.sh WINDOWS_BUILD_DIR [RUNS]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
runs="${2:-20}"
launcher="$build/app/launcher/program/VelmoraLauncher.exe"
program="$build/tests/e2e/velmora_e2e_echo_args.exe"
for exe in "$launcher" "$program"; do
  [ -f "$exe" ] || { echo "bench-launcher: $exe is missing (make windows)" >&2; exit 1; }
done
arch=$(eval "$("$build/wine-run" --print-env)"; echo "$WINEARCH")
prefix="$build/wineprefix-bench-launcher"
wine_run() { "$root/scripts/wine-run.sh" --arch "$arch" --prefix "$prefix" "$@"; }
wine_run cmd.exe /c exit >/dev/null 2>&1
eval "$(wine_run --print-env)"

# The launcher as NAME.exe in the user's launcher folder, the program in a
# folder of its own, both folders on the user's PATH.
name=velmora-bench-launcher
tools="$WINEPREFIX/drive_c/velmora-bench-launcher"
local_app_data=$(wine_run cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r\n' | sed 's/ *$//')
user_bin=$(wine_run winepath -u "$local_app_data\\Velmora\\bin" 2>/dev/null | tr -d '\r\n')
[ -n "$user_bin" ] || { echo "bench-launcher: no LOCALAPPDATA in $WINEPREFIX" >&2; exit 1; }
mkdir -p "$user_bin" "$tools"
cp "$launcher" "$user_bin/$name.exe"
cp "$program" "$tools/velmora-bench-target.exe"
wine_run reg add 'HKCU\Environment' /v PATH /t REG_EXPAND_SZ \
  /d '%LOCALAPPDATA%\Velmora\bin;C:\velmora-bench-launcher' /f >/dev/null 2>&1
wine_run reg add "HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\$name.exe" /ve \
  /d 'C:\velmora-bench-launcher\velmora-bench-target.exe' /f >/dev/null 2>&1

# shellcheck source=bench-wine-common.sh
. "$root/scripts/bench-wine-common.sh"
bench_start velmora-bench-launcher

# Milliseconds of one `cmd /c COMMAND a b`; the program's answer checked.
time_ms() {
  local start end rc=0
  start=$(date +%s%N)
  "$WINELOADER" cmd /c "$1" a b >"$work/out" 2>&1 || rc=$?
  end=$(date +%s%N)
  if [ "$rc" != 42 ] || ! grep -q '^arg:b' "$work/out"; then
    echo "bench-launcher: $1 failed (exit $rc): $(head -c 300 "$work/out")" >&2
    return 1
  fi
  echo $(((end - start) / 1000000))
}
compare_starts "$name" velmora-bench-target 1.10 "cmd /c NAME through the console launcher" \
  "the program itself found on PATH" "cmd /c NAME via the launcher vs the program itself"
