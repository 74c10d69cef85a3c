#!/usr/bin/env bash
# Commands with options under Wine, made by the console twin Velmora.com as
# a user makes them: preset arguments around the words typed, a working
# folder, environment variables and "run as administrator". A machine's
# command is started as the Run box starts it (ShellExecuteEx by NAME.exe
# with parameters: Wine's shell reads only the machine's App Paths, and the
# command is not on PATH), a user's command on for terminals is typed in
# cmd, and the program (echo_args.exe) tells its command line, folder,
# variable and exit code; the Run box's again after a rename and after an
# export, remove and import. Clearing every option gives back a plain entry;
# a working folder that is gone gives 9009 and one line.
# What it saw is kept in WORK_DIR/session.txt.
#   options_e2e.sh VELMORA_COM ECHO_ARGS_EXE SHELL_OPEN_EXE WINE_RUN WORK_DIR
set -uo pipefail

com=$(realpath "$1")
echo_args=$(realpath "$2")
shell_open=$(realpath "$3")
wine_launcher=$(realpath "$4")
mkdir -p "$5"
out=$(realpath "$5")
prefix=$(eval "$("$wine_launcher" --print-env)"; echo "$WINEPREFIX")

user='HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths'
machine='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths'
fail() { echo "options e2e: FAIL: $*" >&2; exit 1; }
step() { echo "options e2e: [${SECONDS}s] $*"; echo "== $*" >>"$out/session.txt"; }
wine_run() { timeout 60 "$wine_launcher" "$@"; }
velmora() {
  wine_run "$com" "$@" >"$out/stdout" 2>"$out/stderr"
  rc=$?
  { echo "> velmora $*"; tr -d '\r' <"$out/stdout"; tr -d '\r' <"$out/stderr"; } >>"$out/session.txt"
}
expect_rc() { [ "$rc" = "$1" ] || fail "$2: exit code $rc, not $1 (stderr: $(cat "$out/stderr"))"; }
# shellcheck source=cmd_helpers.sh
. "$(dirname "$0")/cmd_helpers.sh"
values() { wine_run reg query "$1\\$2.exe" 2>/dev/null | iconv -f gbk -t utf-8 | tr -d '\r' | sed '/^$/d'; }

tools="$prefix/drive_c/velmora-opt"
rm -rf "$tools"
mkdir -p "$tools/work dir"
cp "$echo_args" "$tools/echo.exe"
cp "$shell_open" "$tools/shell_open.exe"
: >"$out/session.txt"
cleanup() {
  wine_run "$com" terminal off vterm --user >/dev/null 2>&1
  wine_run "$com" remove vterm --user >/dev/null 2>&1
  for name in vopt vopt2; do wine_run "$com" remove "$name" --machine >/dev/null 2>&1; done
  rm -rf "$tools"
}
trap cleanup EXIT

# Started as the Run box starts it: the program writes what it got to a file.
run_box() {
  local name=$1 parameters=$2
  rm -f "$tools/shell.txt"
  VELMORA_ECHO_OUT='C:\velmora-opt\shell.txt' wine_run "$tools/shell_open.exe" "$name.exe" "$parameters"
  rc=$?
  touch "$tools/shell.txt"
  { echo "> (Run box) $name $parameters   [exit $rc]"; cat "$tools/shell.txt"; } >>"$out/session.txt"
}
expect_run_box() {
  local name=$1
  run_box "$name" 'x "y z" ^ 100%'
  [ "$rc" = 42 ] || fail "$name from the Run box: exit code $rc"
  grep -qxF 'line:"C:\velmora-opt\echo.exe" -A x "y z" ^ 100% -- 100% hi Windows_NT' "$tools/shell.txt" ||
    fail "$name from the Run box: $(cat "$tools/shell.txt")"
  grep -qxF 'cwd:C:\velmora-opt\work dir' "$tools/shell.txt" || fail "$name from the Run box: folder $(cat "$tools/shell.txt")"
  grep -qxF 'var:GREETING=hi Windows_NT' "$tools/shell.txt" || fail "$name from the Run box: variable $(cat "$tools/shell.txt")"
}

step "add with all four options: a user's command on for terminals, a machine's one"
options=(--args '-A %* -- 100%% %GREETING%' --cwd 'C:\velmora-opt\work dir' --env VELMORA_ECHO_VARIABLE=GREETING
  --env 'GREETING=hi %OS%' --admin)
velmora add vterm 'C:\velmora-opt\echo.exe' --user --terminal "${options[@]}"
expect_rc 0 "add --user --terminal"
velmora add vopt 'C:\velmora-opt\echo.exe' --machine "${options[@]}"
expect_rc 0 "add --machine"
values "$machine" vopt | tee -a "$out/session.txt" >"$out/values.txt"
grep -q 'Velmora\\bin\\options\\vopt.exe$' "$out/values.txt" || fail "the default value: $(cat "$out/values.txt")"
grep -qE '^ *VelmoraProgram +REG_SZ +C:\\velmora-opt\\echo.exe$' "$out/values.txt" || fail "the program value: $(cat "$out/values.txt")"

step "typed in cmd: the words typed where %* is, the folder, the variable, the exit code"
cmd_run vterm a "b c" 'd"e' 한국
[ "$rc" = 42 ] || fail "vterm in cmd: exit code $rc (stderr: $(cat "$out/stderr"))"
{ echo "> (cmd) vterm a \"b c\" d\"e 한국   [exit $rc]"; cat "$out/stdout.txt"; } >>"$out/session.txt"
grep -qxF 'line:"C:\velmora-opt\echo.exe" -A a "b c" d\"e 한국 -- 100% hi Windows_NT' "$out/stdout.txt" ||
  fail "vterm in cmd: $(cat "$out/stdout.txt")"
grep -qxF 'cwd:C:\velmora-opt\work dir' "$out/stdout.txt" || fail "vterm in cmd: folder $(cat "$out/stdout.txt")"
grep -qxF 'var:GREETING=hi Windows_NT' "$out/stdout.txt" || fail "vterm in cmd: variable $(cat "$out/stdout.txt")"
[ "$(VELMORA_ECHO_EXIT_CODE=70000 cmd_exit_code vterm)" = 70000 ] || fail "vterm in cmd: exit code 70000 lost"

step "started as the Run box starts it"
expect_run_box vopt

step "renamed"
velmora rename vopt vopt2 --machine
expect_rc 0 "rename"
expect_run_box vopt2

step "exported, removed and imported"
velmora export 'C:\velmora-opt\vopt2.reg' vopt2 --machine
expect_rc 0 "export"
velmora remove vopt2 --machine
expect_rc 0 "remove"
run_box vopt2 x
[ "$rc" != 42 ] || fail "vopt2 still starts after its removal"
velmora import 'C:\velmora-opt\vopt2.reg'
expect_rc 0 "import"
expect_run_box vopt2

step "a working folder that is gone: 9009 and one line"
velmora set vterm --user --cwd 'C:\velmora-opt\gone'
expect_rc 0 "set --cwd"
code=$(cmd_exit_code "vterm a")
[ "$code" = 9009 ] || fail "vterm without its folder: exit code $code"
grep -qF '运行命令“vterm”的起始位置不存在：C:\velmora-opt\gone' "$out/stderr" || fail "vterm without its folder: $(cat "$out/stderr")"
velmora check --user
expect_rc 1 "check"
grep -qF '起始位置不存在' "$out/stdout" || fail "check: $(cat "$out/stdout")"

step "every option cleared: a plain entry again"
velmora set vopt2 --machine --args= --cwd= --env VELMORA_ECHO_VARIABLE= --env GREETING= --no-admin
expect_rc 0 "set (clear)"
values "$machine" vopt2 | tee -a "$out/session.txt" >"$out/values.txt"
grep -qE '^ *\(默认\) +REG_SZ +C:\\velmora-opt\\echo.exe$' "$out/values.txt" || fail "cleared: $(cat "$out/values.txt")"
! grep -qE 'VelmoraProgram|VelmoraArguments|VelmoraWorkingFolder|VelmoraEnvironment|VelmoraRunAsAdministrator' \
  "$out/values.txt" || fail "cleared, options left: $(cat "$out/values.txt")"
run_box vopt2 p
grep -qxF 'line:"C:\velmora-opt\echo.exe" p' "$tools/shell.txt" || fail "vopt2 plain from the Run box: $(cat "$tools/shell.txt")"
step "passed"
