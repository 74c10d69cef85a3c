#!/usr/bin/env bash
# The Explorer entries made by the real Velmora.com under Wine: `explorer
# status`, `on` with the verbs' keys read back by `reg query` and the SendTo
# shortcut found in the user's folder, `check` and `repair` once the Velmora
# the entries start has moved, and `off`; HKEY_CURRENT_USER and
# HKEY_LOCAL_MACHINE exported before `on` and after `off` must be the same.
#   explorer_e2e.sh VELMORA_COM VELMORA_EXE WINE_RUN WORK_DIR
# WORK_DIR receives explorer-on.txt (what `on` wrote) and registry-diff.txt.
set -uo pipefail

com=$(realpath "$1")
gui=$(realpath "$2")
wine_launcher=$(realpath "$3")
mkdir -p "$4"
out=$(realpath "$4")
prefix=$(eval "$("$wine_launcher" --print-env)"; echo "$WINEPREFIX")

classes='HKCU\Software\Classes\SystemFileAssociations'
fail() { echo "explorer e2e: FAIL: $*" >&2; exit 1; }
step() { echo "explorer e2e: [${SECONDS}s] $*"; }

wine_run() { timeout 120 "$wine_launcher" "$@"; }
# velmora PROGRAM ARGS...: a console twin; stdout in $out/stdout (UTF-8), stderr in $out/stderr, exit code in $rc.
velmora() {
  local program=$1
  shift
  wine_run "$program" "$@" >"$out/stdout" 2>"$out/stderr"
  rc=$?
}
expect_rc() {
  [ "$rc" = "$1" ] || fail "$2: exit code $rc, not $1 (stdout: $(cat "$out/stdout"); stderr: $(cat "$out/stderr"))"
}
# Both roots as the registry editor exports them, as UTF-8 text.
snapshot() {
  local root
  for root in HKEY_CURRENT_USER HKEY_LOCAL_MACHINE; do
    rm -f "$prefix/drive_c/velmora-snapshot.reg"
    wine_run regedit /E 'C:\velmora-snapshot.reg' "$root" >/dev/null 2>&1 ||
      fail "regedit could not export $root"
    iconv -f UTF-16 -t UTF-8 "$prefix/drive_c/velmora-snapshot.reg" | tr -d '\r'
  done >"$out/$1"
  [ -s "$out/$1" ] || fail "empty registry export"
}

# Two copies of the program: where it is first, and where it is moved to.
first="$prefix/drive_c/velmora-explorer/一"
moved="$prefix/drive_c/velmora-explorer/moved"
rm -rf "$prefix/drive_c/velmora-explorer"
mkdir -p "$first" "$moved"
cp "$com" "$first/Velmora.com"
cp "$gui" "$first/Velmora.exe"
cp "$com" "$moved/Velmora.com"
cp "$gui" "$moved/Velmora.exe"

step "explorer status before anything"
velmora "$first/Velmora.com" explorer off >/dev/null
snapshot before.txt
velmora "$first/Velmora.com" explorer status
expect_rc 0 status
[ "$(grep -c '未开启' "$out/stdout")" = 3 ] || fail "status: $(cat "$out/stdout")"

step "explorer on: the verbs' keys and the SendTo shortcut"
velmora "$first/Velmora.com" explorer on
expect_rc 0 on
{
  for ext in .exe .lnk; do
    wine_run reg query "$classes\\$ext" /s | iconv -f GBK -t UTF-8 | tr -d '\r'
  done
} >"$out/explorer-on.txt"
for ext in .exe .lnk; do
  key="HKEY_CURRENT_USER\\Software\\Classes\\SystemFileAssociations\\$ext\\shell\\VelmoraAddRunCommand"
  grep -qxF "$key" "$out/explorer-on.txt" || fail "no key $key: $(cat "$out/explorer-on.txt")"
done
for line in '    MUIVerb    REG_SZ    添加为运行命令…' '    Icon    REG_SZ    C:\velmora-explorer\一\Velmora.exe,0' \
  '    MultiSelectModel    REG_SZ    Single' '    (默认)    REG_SZ    "C:\velmora-explorer\一\Velmora.exe" "%1"'; do
  [ "$(grep -cxF -- "$line" "$out/explorer-on.txt")" = 2 ] || fail "not once per verb: $line"
done
sendto=$(find "$prefix/drive_c/users" -path '*/SendTo/添加为运行命令.lnk' | head -1)
[ -n "$sendto" ] || fail "no shortcut in the SendTo folder"
echo "SendTo: ${sendto#"$prefix/drive_c/"}" >>"$out/explorer-on.txt"
velmora "$first/Velmora.com" explorer status
expect_rc 0 "status after on"
[ "$(grep -cF '已开启：C:\velmora-explorer\一\Velmora.exe' "$out/stdout")" = 3 ] || fail "status: $(cat "$out/stdout")"
cat "$out/stdout" >>"$out/explorer-on.txt"

step "Velmora moved: check reports the entries, repair points them at the new place"
rm -f "$first/Velmora.exe"
velmora "$moved/Velmora.com" check --user --json
expect_rc 1 "check with a moved Velmora"
[ "$(grep -o '"kind":"explorer-stale"' "$out/stdout" | wc -l)" = 3 ] || fail "check: $(cat "$out/stdout")"
velmora "$moved/Velmora.com" explorer repair
expect_rc 0 repair
grep -qF '已把 3 项改为指向 C:\velmora-explorer\moved\Velmora.exe' "$out/stdout" || fail "repair: $(cat "$out/stdout")"
wine_run reg query "$classes\\.lnk\\shell\\VelmoraAddRunCommand\\command" /ve | tr -d '\r' |
  grep -qF '"C:\velmora-explorer\moved\Velmora.exe" "%1"' || fail "repair left the shortcuts' verb as it was"
velmora "$moved/Velmora.com" check --user
expect_rc 0 "check after repair"

step "explorer off: nothing left, nothing else changed"
velmora "$moved/Velmora.com" explorer off
expect_rc 0 off
[ -e "$sendto" ] && fail "the SendTo shortcut stays"
snapshot after.txt
diff "$out/before.txt" "$out/after.txt" >"$out/registry-diff.txt"
[ -s "$out/registry-diff.txt" ] && fail "the registry changed: $(head -40 "$out/registry-diff.txt")"
step "passed: $(wc -l <"$out/before.txt") lines of HKCU and HKLM the same before on and after off"
exit 0
