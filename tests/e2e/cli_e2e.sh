#!/usr/bin/env bash
# The console twin Velmora.com under Wine, against the real registry: every
# verb with the registry read back by `reg query`, the .reg round trip, a
# Unicode name and path through a redirected file, `cmd /c velmora` in a
# folder holding both programs, and bad input refused with its exit code and
# nothing written.
#   cli_e2e.sh VELMORA_COM VELMORA_EXE PROGRAM_EXE WINE_RUN WORK_DIR
set -uo pipefail

com=$(realpath "$1")
gui=$(realpath "$2")
program=$(realpath "$3")
wine_launcher=$(realpath "$4")
mkdir -p "$5"
out=$(realpath "$5")
prefix=$(eval "$("$wine_launcher" --print-env)"; echo "$WINEPREFIX")

machine='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths'
user='HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths'
fail() { echo "cli e2e: FAIL: $*" >&2; exit 1; }
step() { echo "cli e2e: [${SECONDS}s] $*"; }

wine_run() { timeout 60 "$wine_launcher" "$@"; }
# velmora ARGS...: runs the console twin; its stdout in $out/stdout, stderr in $out/stderr, exit code in $rc.
velmora() {
  wine_run "$com" "$@" >"$out/stdout" 2>"$out/stderr"
  rc=$?
}
expect_rc() {
  [ "$rc" = "$1" ] || fail "$2: exit code $rc, not $1 (stderr: $(cat "$out/stderr"))"
}
reg_values() { wine_run reg query "$machine\\$1" /s 2>/dev/null | tr -d '\r' | LC_ALL=C sed -n 's/^    //p' | LC_ALL=C sort; }
reg_exists() { wine_run reg query "$machine\\$1" >/dev/null 2>&1; }
snapshot() {
  { wine_run reg query "$machine" /s; wine_run reg query "$user" /s; } 2>/dev/null | tr -d '\r' >"$out/$1"
}

# The programs the entries point at, inside the prefix; a folder holding both twins.
tools="$prefix/drive_c/velmora-cli"
unicode_dir="$tools/Jörg 한국"
mkdir -p "$unicode_dir" "$out/bin"
cp "$program" "$tools/prog.exe"
cp "$program" "$tools/other.exe"
cp "$program" "$unicode_dir/工具.exe"
cp "$com" "$out/bin/Velmora.com"
cp "$gui" "$out/bin/Velmora.exe"

cleanup() {
  for name in cli-e2e cli-e2e2 '工具Jörg'; do
    wine_run reg delete "$machine\\$name.exe" /f >/dev/null 2>&1 || true
  done
}
trap cleanup EXIT
cleanup

step "add, list --json, show"
velmora add cli-e2e 'C:\velmora-cli\prog.exe'
expect_rc 0 add
reg_values cli-e2e.exe | grep -qF 'REG_SZ    C:\velmora-cli\prog.exe' || fail "add: the registry holds $(reg_values cli-e2e.exe)"
velmora list cli-e2e --json
expect_rc 0 "list --json"
grep -qF '{"name":"cli-e2e","scope":"machine","key":"cli-e2e.exe","target":"C:\\velmora-cli\\prog.exe"' "$out/stdout" ||
  fail "list --json: $(cat "$out/stdout")"
velmora show cli-e2e
expect_rc 0 show
grep -qF 'REG_SZ' "$out/stdout" || fail "show: $(cat "$out/stdout")"

step "rename, set-target, path"
velmora rename cli-e2e cli-e2e2
expect_rc 0 rename
reg_exists cli-e2e.exe && fail "rename: the old key stays"
reg_values cli-e2e2.exe | grep -qF 'C:\velmora-cli\prog.exe' || fail "rename: the new key holds $(reg_values cli-e2e2.exe)"
# Changing the target is what the verb is for: no --force.
velmora set-target cli-e2e2 'C:\velmora-cli\other.exe'
expect_rc 0 set-target
reg_values cli-e2e2.exe | grep -qF 'REG_SZ    C:\velmora-cli\other.exe' || fail "set-target: $(reg_values cli-e2e2.exe)"
velmora path cli-e2e2 --add 'C:\velmora-cli'
expect_rc 0 "path --add"
reg_values cli-e2e2.exe | grep -qF 'Path    REG_SZ    C:\velmora-cli' || fail "path: $(reg_values cli-e2e2.exe)"

step "export, remove, import --dry-run, import"
before=$(reg_values cli-e2e2.exe)
velmora export 'Z:'"$out"'/backup.reg' cli-e2e2
expect_rc 0 export
velmora remove cli-e2e2
expect_rc 0 remove
reg_exists cli-e2e2.exe && fail "remove: the key stays"
velmora import 'Z:'"$out"'/backup.reg' --dry-run
expect_rc 0 "import --dry-run"
reg_exists cli-e2e2.exe && fail "import --dry-run wrote the entry"
velmora import 'Z:'"$out"'/backup.reg'
expect_rc 0 import
[ "$(reg_values cli-e2e2.exe)" = "$before" ] || fail "import: $(reg_values cli-e2e2.exe), not $before"

step "a Unicode name and path through a redirected file"
velmora add '工具Jörg' 'C:\velmora-cli\Jörg 한국\工具.exe'
expect_rc 0 "add (Unicode)"
velmora list '工具Jörg' --json
expect_rc 0 "list (Unicode)"
expected='{"entries":[{"name":"工具Jörg","scope":"machine","key":"工具Jörg.exe","target":"C:\\velmora-cli\\Jörg 한국\\工具.exe","path":"","folders":[],"broken":false,"shadowed":false,"terminal":false,"terminalLauncherMissing":false,"terminalShadowedBy":"","hasOptions":false,"options":{"arguments":"","workingFolder":"","environment":[],"administrator":false}}],"unreadable":0}'
printf '%s\n' "$expected" >"$out/unicode-expected.json"
cmp "$out/stdout" "$out/unicode-expected.json" || fail "the redirected file is not the UTF-8 expected: $(xxd "$out/stdout" | head)"
cp "$out/stdout" "$out/unicode.json"

step "cmd /c velmora in a folder holding Velmora.exe and Velmora.com"
(cd "$out/bin" && wine_run cmd /c velmora show no-such-command >"$out/stdout" 2>"$out/stderr")
rc=$?
expect_rc 3 "cmd /c velmora show no-such-command"
grep -qF 'no-such-command' "$out/stderr" || fail "cmd /c velmora: stderr $(cat "$out/stderr")"
(cd "$out/bin" && wine_run cmd /c velmora list cli-e2e2 >"$out/stdout" 2>"$out/stderr")
rc=$?
expect_rc 0 "cmd /c velmora list"
grep -qF 'cli-e2e2' "$out/stdout" || fail "cmd /c velmora list: $(cat "$out/stdout")"

step "bad input: its exit code, a message, nothing written"
printf 'REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\bad.exe]\r\n@="C:\\\\x\r\n' \
  >"$out/damaged.reg"
snapshot before.txt
while IFS='|' read -r code args; do
  eval "set -- $args"
  velmora "$@"
  expect_rc "$code" "$args"
  [ -s "$out/stderr" ] || fail "$args: no message on stderr"
done <<'ROWS'
2|frob
2|list --frob
2|add cli-e2e3
2|add abcdefghijklmnopqrstuvwxyz 'C:\velmora-cli\prog.exe'
3|add cli-e2e3 'C:\velmora-cli\missing.exe'
3|remove no-such-command
ROWS
velmora import 'Z:'"$out"'/damaged.reg'
expect_rc 6 "damaged .reg"
grep -q . "$out/stderr" || fail "damaged .reg: no message"
snapshot after.txt
cmp -s "$out/before.txt" "$out/after.txt" || fail "bad input changed the registry: $(diff "$out/before.txt" "$out/after.txt")"
step "passed"
