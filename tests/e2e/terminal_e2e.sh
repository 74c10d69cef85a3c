#!/usr/bin/env bash
# Run commands that work in terminals, made and kept in step by the console
# twin Velmora.com under Wine, typed in cmd as a user types them: the
# arguments as typed, the exit code, the Path value, a retarget taking effect
# with no launcher rewritten, a rename and a delete followed, a command
# deleted behind Velmora's back giving 9009, the folder added to the user's
# PATH once with its other entries and its type kept, and taken off again.
# Bad input (a device name, a target that is no program, a launcher folder
# that cannot be made) is refused with nothing half done.
#   terminal_e2e.sh VELMORA_COM ECHO_ARGS_EXE GUI_PROGRAM_EXE WINE_RUN WORK_DIR
set -uo pipefail

com=$(realpath "$1")
echo_args=$(realpath "$2")
gui_program=$(realpath "$3")
wine_launcher=$(realpath "$4")
mkdir -p "$5"
out=$(realpath "$5")
prefix=$(eval "$("$wine_launcher" --print-env)"; echo "$WINEPREFIX")

user='HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths'
fail() { echo "terminal e2e: FAIL: $*" >&2; exit 1; }
step() { echo "terminal e2e: [${SECONDS}s] $*"; }
wine_run() { timeout 60 "$wine_launcher" "$@"; }
velmora() {
  wine_run "$com" "$@" >"$out/stdout" 2>"$out/stderr"
  rc=$?
}
expect_rc() { [ "$rc" = "$1" ] || fail "$2: exit code $rc, not $1 (stderr: $(cat "$out/stderr"))"; }
# shellcheck source=cmd_helpers.sh
. "$(dirname "$0")/cmd_helpers.sh"
user_path() { wine_run reg query 'HKCU\Environment' /v PATH 2>/dev/null | tr -d '\r' | sed -n 's/^ *PATH *//p'; }
# The subsystem a program asks for: 2 windows, 3 console.
subsystem() { python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(); o=struct.unpack_from("<I",d,0x3c)[0]; print(struct.unpack_from("<H",d,o+24+68)[0])' "$1"; }

local_app_data=$(windows_folder LOCALAPPDATA)
[ -n "$local_app_data" ] || fail "no LOCALAPPDATA"
bin="$local_app_data\\Velmora\\bin"
bin_unix=$(wine_run winepath -u "$bin" 2>/dev/null | tr -d '\r\n')
velmora_unix=$(dirname "$bin_unix")
tools="$prefix/drive_c/velmora-term"
mkdir -p "$tools/extra"
cp "$echo_args" "$tools/echo.exe"
cp "$echo_args" "$tools/echo2.exe"
cp "$gui_program" "$tools/window.exe"
printf 'not a program' >"$tools/notes.exe"

# The user's PATH as it was, given back at the end; the test's own meanwhile.
had_path=0
wine_run reg query 'HKCU\Environment' /v PATH >/dev/null 2>&1 && had_path=1
old_path=$(user_path | sed 's/^REG_[A-Z_]*SZ *//')
old_type=$(user_path | sed -n 's/^\(REG_[A-Z_]*SZ\).*/\1/p')
cleanup() {
  for name in ted ted2 tedit con notes; do wine_run reg delete "$user\\$name.exe" /f >/dev/null 2>&1; done
  if [ "$had_path" = 1 ]; then
    wine_run reg add 'HKCU\Environment' /v PATH /t "$old_type" /d "$old_path" /f >/dev/null 2>&1
  else
    wine_run reg delete 'HKCU\Environment' /v PATH /f >/dev/null 2>&1
  fi
  rm -rf "$velmora_unix" "$tools"
}
trap cleanup EXIT
rm -rf "$velmora_unix"
wine_run reg add 'HKCU\Environment' /v PATH /t REG_EXPAND_SZ /d '%SystemRoot%\keep;C:\keep2' /f >/dev/null ||
  fail "PATH not set"

step "a launcher folder that cannot be made: refused, nothing written"
mkdir -p "$velmora_unix" && : >"$bin_unix"  # a file where the folder would go
velmora add ted 'C:\velmora-term\echo.exe' --user --terminal
expect_rc 6 "add --terminal with no folder"
grep -qF "无法写入终端启动文件" "$out/stderr" || fail "no reason: $(cat "$out/stderr")"
grep -qF "已撤销添加“ted”" "$out/stderr" || fail "not undone: $(cat "$out/stderr")"
wine_run reg query "$user\\ted.exe" >/dev/null 2>&1 && fail "the command was left registered"
[ "$(user_path)" = 'REG_EXPAND_SZ    %SystemRoot%\keep;C:\keep2' ] || fail "PATH changed: $(user_path)"
rm -f "$bin_unix"

step "a device name and a target that is no program: refused before anything is written"
velmora add con 'C:\velmora-term\echo.exe' --user --terminal
expect_rc 2 "add con --terminal"
grep -qF "设备名" "$out/stderr" || fail "con: $(cat "$out/stderr")"
velmora add notes 'C:\velmora-term\notes.exe' --user --terminal
expect_rc 2 "add notes --terminal"
velmora list --user --json
grep -qF '"name":"con"' "$out/stdout" && fail "con was registered"
grep -qF '"name":"notes"' "$out/stdout" && fail "notes was registered"

step "add --terminal: the launcher, and the folder on the user's PATH once, type and entries kept"
velmora add ted 'C:\velmora-term\echo.exe' --user --path 'C:\velmora-term\extra' --terminal
expect_rc 0 "add ted --terminal"
[ -f "$bin_unix/ted.exe" ] || fail "no launcher in $bin_unix"
velmora add ted2 'C:\velmora-term\echo.exe' --user --terminal
expect_rc 0 "add ted2 --terminal"
expected_path="REG_EXPAND_SZ    %SystemRoot%\\keep;C:\\keep2;$bin"
[ "$(user_path)" = "$expected_path" ] || fail "PATH: $(user_path), not $expected_path"
velmora list ted --user --json
grep -qF '"terminal":true,"terminalLauncherMissing":false,"terminalShadowedBy":""' "$out/stdout" ||
  fail "list --json: $(cat "$out/stdout")"

step "typed in cmd: the arguments as typed, the output, exit code 42, the Path value first"
cmd_run ted a "b c" 'd"e' 한국
[ "$rc" = 42 ] || fail "ted: exit code $rc (stderr: $(cat "$out/stderr"))"
printf 'arg:%s\n' a 'b c' 'd"e' 한국 >"$out/args-expected"
grep '^arg:' "$out/stdout.txt" | cmp - "$out/args-expected" || fail "ted: the arguments: $(cat "$out/stdout.txt")"
grep -qxF 'path:C:\velmora-term\extra' "$out/stdout.txt" || fail "ted: PATH starts $(grep '^path:' "$out/stdout.txt")"

step "retargeted: the next start runs the new program, the launcher not rewritten"
before=$(md5sum <"$bin_unix/ted.exe")
velmora set-target ted 'C:\velmora-term\echo2.exe' --user --force
expect_rc 0 "set-target ted"
[ "$(md5sum <"$bin_unix/ted.exe")" = "$before" ] || fail "the launcher was rewritten"
cmd_run ted x
grep -qxF 'line:"C:\velmora-term\echo2.exe" x' "$out/stdout.txt" || fail "ted after set-target: $(cat "$out/stdout.txt")"

step "renamed: the launcher follows"
velmora rename ted tedit --user
expect_rc 0 "rename ted tedit"
[ -f "$bin_unix/tedit.exe" ] && [ ! -e "$bin_unix/ted.exe" ] || fail "launchers after the rename: $(ls "$bin_unix")"
cmd_run tedit y
[ "$rc" = 42 ] || fail "tedit: exit code $rc"

step "retargeted to a windowed program: the launcher is swapped for the windowed one"
velmora set-target tedit 'C:\velmora-term\window.exe' --user --force
expect_rc 0 "set-target tedit window.exe"
[ "$(subsystem "$bin_unix/tedit.exe")" = 2 ] || fail "the launcher's subsystem: $(subsystem "$bin_unix/tedit.exe")"

step "a script of the name earlier on PATH: check names what cmd and the Run box start instead"
mkdir -p "$prefix/drive_c/keep2" && printf '@echo off\r\n' >"$prefix/drive_c/keep2/tedit.cmd"
velmora check --user --json
rm -rf "$prefix/drive_c/keep2"
expect_rc 1 "check with tedit.cmd on PATH"
for part in '{"kind":"terminal-shadowed","name":"tedit"' '{"kind":"run-taken","name":"tedit"' \
  '"winner":"C:\\keep2\\tedit.CMD"}'; do
  grep -qiF "$part" "$out/stdout" || fail "check: no $part in $(cat "$out/stdout")"
done

step "deleted: the launcher goes; deleted behind Velmora's back: 9009 and one line, check and repair"
velmora remove tedit --user
expect_rc 0 "remove tedit"
[ ! -e "$bin_unix/tedit.exe" ] || fail "tedit's launcher is left"
wine_run reg delete "$user\\ted2.exe" /f >/dev/null || fail "reg delete ted2"
code=$(cmd_exit_code "ted2 a")
[ "$code" = 9009 ] || fail "ted2 without its entry: exit code $code"
grep -qF "“ted2”不是运行命令" "$out/stderr" || fail "ted2 without its entry: $(cat "$out/stderr")"
velmora check --user --json
expect_rc 1 "check"
grep -qF '{"kind":"launcher-orphan","name":"ted2"' "$out/stdout" || fail "check: $(cat "$out/stdout")"
velmora terminal repair --user
expect_rc 0 "terminal repair"
[ ! -e "$bin_unix/ted2.exe" ] || fail "repair left ted2's launcher"

step "off --all: the folder leaves PATH, the rest of it as it was"
velmora terminal off --all --user
expect_rc 0 "terminal off --all"
[ "$(user_path)" = 'REG_EXPAND_SZ    %SystemRoot%\keep;C:\keep2' ] || fail "PATH after off --all: $(user_path)"
step "passed"
