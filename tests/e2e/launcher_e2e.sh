#!/usr/bin/env bash
# The terminal launcher under Wine, as a user meets it: VelmoraLauncher.exe
# copied as NAME.exe into %LOCALAPPDATA%\Velmora\bin, that folder on the
# user's PATH, NAME's entry below the user's App Paths, and NAME typed in
# cmd. The program it starts (echo_args.exe) gets the arguments exactly as
# when it is started directly, its output goes through the launcher's, and
# its exit code comes back; the entry's Path value leads the program's PATH;
# a changed entry counts at the next start; a missing entry and a missing
# program give one line on standard error (in English when the user chose
# it) and exit code 9009. The copy in
# %ProgramData%\Velmora\bin reads the machine's entry instead.
#   launcher_e2e.sh VELMORA_LAUNCHER_EXE ECHO_ARGS_EXE WINE_RUN WORK_DIR
set -uo pipefail

launcher=$(realpath "$1")
echo_args=$(realpath "$2")
wine_launcher=$(realpath "$3")
mkdir -p "$4"
out=$(realpath "$4")
prefix=$(eval "$("$wine_launcher" --print-env)"; echo "$WINEPREFIX")

name=launcher-e2e
user_key="HKCU\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\$name.exe"
machine_key="HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\$name.exe"
fail() { echo "launcher e2e: FAIL: $*" >&2; exit 1; }
step() { echo "launcher e2e: [${SECONDS}s] $*"; }
wine_run() { timeout 60 "$wine_launcher" "$@"; }
# shellcheck source=cmd_helpers.sh
. "$(dirname "$0")/cmd_helpers.sh"

local_app_data=$(windows_folder LOCALAPPDATA)
program_data=$(windows_folder ProgramData)
[ -n "$local_app_data" ] && [ -n "$program_data" ] || fail "no LOCALAPPDATA ($local_app_data) or ProgramData ($program_data)"
unix_path() { wine_run winepath -u "$1" 2>/dev/null | tr -d '\r\n'; }
user_bin=$(unix_path "$local_app_data\\Velmora\\bin")
machine_bin=$(unix_path "$program_data\\Velmora\\bin")
tools="$prefix/drive_c/velmora-launcher"
mkdir -p "$user_bin" "$machine_bin" "$tools"
cp "$launcher" "$user_bin/$name.exe"
cp "$launcher" "$machine_bin/$name.exe"
cp "$echo_args" "$tools/echo.exe"
cp "$echo_args" "$tools/echo2.exe"

# The user's PATH as it was, given back at the end.
old_path=$(wine_run reg query 'HKCU\Environment' /v PATH 2>/dev/null | tr -d '\r' |
  sed -n 's/^ *PATH *REG_[A-Z_]*SZ *//p')
had_path=0
wine_run reg query 'HKCU\Environment' /v PATH >/dev/null 2>&1 && had_path=1
cleanup() {
  wine_run reg delete "$user_key" /f >/dev/null 2>&1
  wine_run reg delete "$machine_key" /f >/dev/null 2>&1
  if [ "$had_path" = 1 ]; then
    wine_run reg add 'HKCU\Environment' /v PATH /t REG_EXPAND_SZ /d "$old_path" /f >/dev/null 2>&1
  else
    wine_run reg delete 'HKCU\Environment' /v PATH /f >/dev/null 2>&1
  fi
  rm -rf "$user_bin/$name.exe" "$machine_bin/$name.exe" "$tools"
  # Left empty, the machine's folders go too: under Wine (which keeps no
  # rights for a folder) the manager of later tests would call them unsafe.
  rmdir "$machine_bin" "$(dirname "$machine_bin")" 2>/dev/null
}
trap cleanup EXIT
wine_run reg add 'HKCU\Environment' /v PATH /t REG_EXPAND_SZ /d "%LOCALAPPDATA%\\Velmora\\bin${old_path:+;$old_path}" \
  /f >/dev/null || fail "PATH not set"
wine_run reg add "$user_key" /ve /d 'C:\velmora-launcher\echo.exe' /f >/dev/null || fail "reg add"
wine_run reg add "$user_key" /v Path /t REG_EXPAND_SZ /d '%SystemDrive%\velmora-launcher\extra;' /f >/dev/null ||
  fail "reg add Path"

step "the arguments as typed, the output piped through, exit code 42"
cmd_run 'C:\velmora-launcher\echo.exe' a "b c" 'd"e' 한국
[ "$rc" = 42 ] || fail "the program itself: exit code $rc"
grep -v '^path:' "$out/stdout.txt" | sed 's/^line:[^ ]*/line:PROGRAM/' >"$out/direct.txt"
cmd_run "$name" a "b c" 'd"e' 한국
[ "$rc" = 42 ] || fail "$name: exit code $rc, not 42 (stderr: $(cat "$out/stderr"))"
[ ! -s "$out/stderr" ] || fail "$name: stderr $(cat "$out/stderr")"
grep -qxF 'line:"C:\velmora-launcher\echo.exe" a "b c" d\"e 한국' "$out/stdout.txt" ||
  fail "$name: the program's command line: $(cat "$out/stdout.txt")"
printf 'arg:%s\n' a 'b c' 'd"e' 한국 >"$out/args-expected.txt"
grep '^arg:' "$out/stdout.txt" | cmp - "$out/args-expected.txt" || fail "$name: the arguments: $(cat "$out/stdout.txt")"
grep -v '^path:' "$out/stdout.txt" | sed 's/^line:"[^"]*"/line:PROGRAM/' | cmp - "$out/direct.txt" ||
  fail "$name: not what the program gets started directly: $(cat "$out/stdout.txt") against $(cat "$out/direct.txt")"

step "the Path value leads the program's PATH; its own exit code comes back"
grep -qxF 'path:C:\velmora-launcher\extra' "$out/stdout.txt" || fail "$name: the program's PATH starts $(grep '^path:' "$out/stdout.txt")"
VELMORA_ECHO_EXIT_CODE=3 cmd_run "$name"
[ "$rc" = 3 ] || fail "$name with exit code 3: $rc"
[ "$(VELMORA_ECHO_EXIT_CODE=70000 cmd_exit_code "$name")" = 70000 ] || fail "$name: exit code 70000 lost"

step "a changed entry counts at the next start"
wine_run reg add "$user_key" /ve /d '"C:\velmora-launcher\echo2.exe"' /f >/dev/null || fail "reg add /f"
cmd_run "$name" x
[ "$rc" = 42 ] || fail "$name after the change: exit code $rc"
grep -qxF 'line:"C:\velmora-launcher\echo2.exe" x' "$out/stdout.txt" || fail "$name after the change: $(cat "$out/stdout.txt")"

step "the machine's launcher reads the machine's entry"
wine_run reg add "$machine_key" /ve /d 'C:\velmora-launcher\echo.exe' /f >/dev/null || fail "reg add (machine)"
machine_exe="$program_data\\Velmora\\bin\\$name.exe"
cmd_run "$machine_exe" m
grep -qxF 'line:"C:\velmora-launcher\echo.exe" m' "$out/stdout.txt" || fail "machine launcher: $(cat "$out/stdout.txt")"
wine_run reg delete "$machine_key" /f >/dev/null
[ "$(cmd_exit_code "$machine_exe m")" = 9009 ] || fail "machine launcher without a machine entry: not 9009"

step "a program that is gone: 9009 and its path"
wine_run reg add "$user_key" /ve /d 'C:\velmora-launcher\gone.exe' /f >/dev/null || fail "reg add (gone)"
code=$(cmd_exit_code "$name a")
[ "$code" = 9009 ] || fail "$name with its program gone: exit code $code"
[ "$(wc -l <"$out/stderr")" = 1 ] && grep -qF "运行命令“$name”的程序不存在：C:\velmora-launcher\gone.exe" "$out/stderr" ||
  fail "$name with its program gone: stderr $(cat "$out/stderr")"

step "no entry: 9009 and one line"
wine_run reg delete "$user_key" /f >/dev/null || fail "reg delete"
code=$(cmd_exit_code "$name a")
[ "$code" = 9009 ] || fail "$name without an entry: exit code $code"
printf '“%s”不是运行命令\r\n' "$name" | cmp - "$out/stderr" || fail "$name without an entry: stderr $(xxd "$out/stderr" | head)"

step "the user chose English: the line in English"
settings_key='HKCU\Software\Velmora'
wine_run reg add "$settings_key" /v Language /d en /f >/dev/null || fail "reg add (language)"
code=$(cmd_exit_code "$name a")
wine_run reg delete "$settings_key" /v Language /f >/dev/null
[ "$code" = 9009 ] || fail "$name without an entry, in English: exit code $code"
printf '"%s" is not a run command\r\n' "$name" | cmp - "$out/stderr" ||
  fail "$name without an entry, in English: stderr $(xxd "$out/stderr" | head)"
step "passed"
