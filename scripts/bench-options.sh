#!/usr/bin/env bash
# What a command's options cost under Wine: a command with all four options
# started as the Run box starts it (ShellExecuteEx by NAME.exe with
# parameters), through its launcher in the options folder, against the same
# program started by a plain command of its own. Both in one run, taking
# turns, in a prefix of their own; median of RUNS each, and the ratio.
#
#   bench-options.sh WINDOWS_BUILD_DIR [RUNS]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
runs="${2:-20}"
launcher="$build/app/launcher/program/VelmoraLauncher.exe"
program="$build/tests/e2e/velmora_e2e_echo_args.exe"
shell_open="$build/tests/e2e/velmora_e2e_shell_open.exe"
for exe in "$launcher" "$program" "$shell_open"; do
  [ -f "$exe" ] || { echo "bench-options: $exe is missing (make windows)" >&2; exit 1; }
done
arch=$(eval "$("$build/wine-run" --print-env)"; echo "$WINEARCH")
prefix="$build/wineprefix-bench-options"
wine_run() { "$root/scripts/wine-run.sh" --arch "$arch" --prefix "$prefix" "$@"; }
wine_run cmd.exe /c exit >/dev/null 2>&1
eval "$(wine_run --print-env)"

# The launcher as NAME.exe in the machine's options folder (Wine's shell reads
# only the machine's App Paths); both entries there, as Velmora writes them.
tools="$WINEPREFIX/drive_c/velmora-bench-options"
program_data=$(wine_run cmd /c 'echo %ProgramData%' 2>/dev/null | tr -d '\r\n' | sed 's/ *$//')
options=$(wine_run winepath -u "$program_data\\Velmora\\bin\\options" 2>/dev/null | tr -d '\r\n')
[ -n "$options" ] || { echo "bench-options: no ProgramData in $WINEPREFIX" >&2; exit 1; }
mkdir -p "$options" "$tools/work"
cp "$launcher" "$options/velmora-bench-opt.exe"
cp "$program" "$tools/target.exe"
cp "$shell_open" "$tools/shell_open.exe"
key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths'
wine_run reg add "$key\\velmora-bench-plain.exe" /ve /d 'C:\velmora-bench-options\target.exe' /f >/dev/null 2>&1
opt="$key\\velmora-bench-opt.exe"
wine_run reg add "$opt" /ve /d "$program_data\\Velmora\\bin\\options\\velmora-bench-opt.exe" /f >/dev/null 2>&1
wine_run reg add "$opt" /v VelmoraProgram /d 'C:\velmora-bench-options\target.exe' /f >/dev/null 2>&1
wine_run reg add "$opt" /v VelmoraArguments /d '-x %* %%' /f >/dev/null 2>&1
wine_run reg add "$opt" /v VelmoraWorkingFolder /d 'C:\velmora-bench-options\work' /f >/dev/null 2>&1
wine_run reg add "$opt" /v VelmoraEnvironment /t REG_MULTI_SZ /d 'A=1\0B=%A%' /f >/dev/null 2>&1
wine_run reg add "$opt" /v VelmoraRunAsAdministrator /t REG_DWORD /d 1 /f >/dev/null 2>&1

# shellcheck source=bench-wine-common.sh
. "$root/scripts/bench-wine-common.sh"
bench_start velmora-bench-options

# Milliseconds of one start from the Run box, waited for; its exit code checked.
time_ms() {
  local start end rc=0
  start=$(date +%s%N)
  "$WINELOADER" "$tools/shell_open.exe" "$1.exe" 'a b' >/dev/null 2>&1 || rc=$?
  end=$(date +%s%N)
  if [ "$rc" != 42 ]; then
    echo "bench-options: $1 failed (exit $rc)" >&2
    return 1
  fi
  echo $(((end - start) / 1000000))
}
compare_starts velmora-bench-opt velmora-bench-plain 1.30 "a command with options from the Run box" \
  "the same program by its plain command" "Run box: a command with options vs a plain one"
