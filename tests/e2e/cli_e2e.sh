#!/usr/bin/env bash
# The console twin Velmora.com under Wine, against the real registry: every
# verb with the registry read back by `reg query`, the .reg round trip, a
# Unicode name and path through a redirected file, `cmd /c velmora` in a
# folder holding both programs, and bad input refused with its exit code and
# nothing written; a commands file exported here and applied to a fresh
# prefix (again: in step; changed; pruned), and add-folder over a folder of
# programs there.
#   cli_e2e.sh VELMORA_COM VELMORA_EXE PROGRAM_EXE WINE_RUN WORK_DIR
set -uo pipefail

scripts=$(cd "$(dirname "$0")/../../scripts" && pwd)
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
  for name in cli-e2e cli-e2e2 '工具Jörg' cli-e2e-f1 cli-e2e-f2; do
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
step "commands file: export here, apply on a fresh prefix, again, changed, pruned"
velmora add cli-e2e-f1 'C:\velmora-cli\prog.exe' --path 'C:\velmora-cli;%SystemRoot%'
expect_rc 0 "add cli-e2e-f1"
velmora add cli-e2e-f2 'C:\velmora-cli\other.exe' --args '-x %*'
expect_rc 0 "add cli-e2e-f2"
velmora export --json cli-e2e-f1 cli-e2e-f2
expect_rc 0 "export --json"
cp "$out/stdout" "$out/commands.json"
grep -qF '"path": ["C:\\velmora-cli", "%SystemRoot%"]' "$out/commands.json" || fail "export --json: $(cat "$out/commands.json")"

# A prefix of its own, made here and removed at the end: none of these commands is in it.
arch=$(sed -n 's/.*--arch \([a-z0-9]*\).*/\1/p' "$wine_launcher")
fresh="$out/fresh-prefix"
fresh_run() { timeout 120 "$scripts/wine-run.sh" --arch "$arch" --prefix "$fresh" "$@"; }
fvelmora() {
  fresh_run "$com" "$@" >"$out/stdout" 2>"$out/stderr"
  rc=$?
}
freg_values() { fresh_run reg query "$machine\\$1" /s 2>/dev/null | tr -d '\r' | LC_ALL=C sed -n 's/^    //p' | LC_ALL=C sort; }
fsnapshot() { fresh_run reg query "$machine" /s 2>/dev/null | tr -d '\r' >"$out/$1"; }
end_fresh() {
  (eval "$(fresh_run --print-env)"; "$WINESERVER" -k) >/dev/null 2>&1 || true
  rm -rf "$fresh" "$fresh.lock"
}
rm -rf "$fresh"
trap 'cleanup; end_fresh' EXIT
fvelmora --version
expect_rc 0 "a fresh prefix"
mkdir -p "$fresh/drive_c/velmora-cli" "$fresh/drive_c/velmora-folder"
cp "$program" "$fresh/drive_c/velmora-cli/prog.exe"
cp "$program" "$fresh/drive_c/velmora-cli/other.exe"

fvelmora apply 'Z:'"$out"'/commands.json' --dry-run
expect_rc 12 "apply --dry-run on the fresh prefix"
freg_values cli-e2e-f1.exe | grep -q . && fail "apply --dry-run wrote cli-e2e-f1"
fvelmora apply 'Z:'"$out"'/commands.json'
expect_rc 11 "apply on the fresh prefix"
grep -qF '+ cli-e2e-f1' "$out/stdout" || fail "apply: $(cat "$out/stdout")"
freg_values cli-e2e-f1.exe | grep -qF 'Path    REG_EXPAND_SZ    C:\velmora-cli;%SystemRoot%' ||
  fail "apply: cli-e2e-f1 holds $(freg_values cli-e2e-f1.exe)"
freg_values cli-e2e-f1.exe | grep -qF 'VelmoraApplied    REG_DWORD    0x1' || fail "apply: no owner mark"
fvelmora export --json cli-e2e-f1 cli-e2e-f2
expect_rc 0 "export --json on the fresh prefix"
cmp "$out/stdout" "$out/commands.json" || fail "the round trip differs: $(diff "$out/stdout" "$out/commands.json")"

fsnapshot fresh-before.txt
fvelmora apply 'Z:'"$out"'/commands.json'
expect_rc 10 "apply again"
fsnapshot fresh-after.txt
cmp -s "$out/fresh-before.txt" "$out/fresh-after.txt" || fail "apply again wrote: $(diff "$out/fresh-before.txt" "$out/fresh-after.txt")"

sed 's/prog\.exe/other.exe/' "$out/commands.json" >"$out/changed.json"
fvelmora apply 'Z:'"$out"'/changed.json' --dry-run
expect_rc 12 "apply --dry-run of a change"
grep -F '~ cli-e2e-f1' "$out/stdout" | grep -qF 'program' || fail "apply --dry-run of a change: $(cat "$out/stdout")"
fvelmora apply 'Z:'"$out"'/changed.json'
expect_rc 11 "apply of a change"
freg_values cli-e2e-f1.exe | grep -qF 'REG_SZ    C:\velmora-cli\other.exe' || fail "apply of a change: $(freg_values cli-e2e-f1.exe)"

fvelmora add cli-e2e-hand 'C:\velmora-cli\prog.exe'
expect_rc 0 "a command made by hand"
python3 - "$out/changed.json" "$out/pruned.json" <<'PY'
import json, sys
data = json.load(open(sys.argv[1], encoding="utf-8"))
data["commands"] = [c for c in data["commands"] if c["name"] != "cli-e2e-f2"]
open(sys.argv[2], "w", encoding="utf-8").write(json.dumps(data))
PY
fvelmora apply 'Z:'"$out"'/pruned.json' --prune
expect_rc 11 "apply --prune"
grep -qF -- '- cli-e2e-f2' "$out/stdout" || fail "apply --prune: $(cat "$out/stdout")"
freg_values cli-e2e-f2.exe | grep -q . && fail "apply --prune left cli-e2e-f2"
freg_values cli-e2e-hand.exe | grep -qF 'prog.exe' || fail "apply --prune removed a command made by hand"
freg_values cli-e2e-f1.exe | grep -q . || fail "apply --prune removed cli-e2e-f1"

step "add-folder over a folder of programs"
cp "$program" "$fresh/drive_c/velmora-folder/cli-e2e-fa.exe"
cp "$program" "$fresh/drive_c/velmora-folder/cli-e2e-fb.exe"
echo text >"$fresh/drive_c/velmora-folder/readme.txt"
fvelmora add-folder 'C:\velmora-folder' --dry-run
expect_rc 0 "add-folder --dry-run"
freg_values cli-e2e-fa.exe | grep -q . && fail "add-folder --dry-run wrote"
fvelmora add cli-e2e-fb 'C:\velmora-cli\prog.exe'
expect_rc 0 "a name taken"
fvelmora add-folder 'C:\velmora-folder'
expect_rc 4 "add-folder with a name taken"
grep -qF 'cli-e2e-fb' "$out/stderr" || fail "add-folder: the taken name is not named: $(cat "$out/stderr")"
freg_values cli-e2e-fa.exe | grep -qF 'C:\velmora-folder\cli-e2e-fa.exe' || fail "add-folder: $(freg_values cli-e2e-fa.exe)"
freg_values cli-e2e-fb.exe | grep -qF 'C:\velmora-cli\prog.exe' || fail "add-folder replaced a taken name"
freg_values readme.exe | grep -q . && fail "add-folder took a text file"
fvelmora add-folder 'C:\velmora-folder' --force
expect_rc 0 "add-folder --force"
freg_values cli-e2e-fb.exe | grep -qF 'C:\velmora-folder\cli-e2e-fb.exe' || fail "add-folder --force: $(freg_values cli-e2e-fb.exe)"
step "passed"
