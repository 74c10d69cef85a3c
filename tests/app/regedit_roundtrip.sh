#!/usr/bin/env bash
# The run-command backup against the platform's own registry editor, each
# import into a fresh Wine prefix:
#  1. our export of entries holding every value type, imported by
#     `regedit /S`, gives the same keys, values, types and bytes;
#  2. `regedit /E` of those keys, imported by us, gives them too.
#
#   regedit_roundtrip.sh TOOL_EXE WINE_RUN_SH win32|win64 WORK_DIR
set -euo pipefail

tool=$(realpath "$1")
wine_run=$(realpath "$2")
arch=$3
mkdir -p "$4"
work=$(realpath "$4")

fail() { echo "regedit round trip: FAIL: $*" >&2; exit 1; }
step() { echo "regedit round trip: [${SECONDS}s] $*"; }

# Runs a program in prefix $1 (made fresh on first use).
in_prefix() {
  local prefix=$1
  shift
  "$wine_run" --arch "$arch" --prefix "$work/$prefix" "$@"
}

prefixes=(source editor ours)
# The prefixes go when the script ends, whatever the outcome: each holds a
# whole Windows tree. Their Wine servers are stopped first.
remove_prefixes() {
  local prefix
  for prefix in "${prefixes[@]}"; do
    [ -d "$work/$prefix" ] || continue
    (
      eval "$("$wine_run" --arch "$arch" --prefix "$work/$prefix" --print-env)"
      "$WINESERVER" -k 2>/dev/null || true
      "$WINESERVER" -w 2>/dev/null || true
    )
    rm -rf "${work:?}/$prefix"
  done
}
remove_prefixes
trap remove_prefixes EXIT
cd "$work"
rm -f ours.reg wine-machine.reg wine-user.reg ./*.dump

step "filling the source prefix"
in_prefix source "$tool" fill || fail "fill"
in_prefix source "$tool" dump source.dump || fail "dump of the source"
[ "$(grep -c '|' source.dump)" -gt 40 ] || fail "the source holds too little: $(wc -l <source.dump) lines"
in_prefix source "$tool" export ours.reg || fail "export"
head -c 2 ours.reg | od -An -tx1 | grep -q 'ff fe' || fail "our file has no UTF-16 byte order mark"

step "regedit /S of our file into a fresh prefix"
in_prefix editor regedit /S 'Z:'"$(echo "$work/ours.reg" | tr / '\\')" || fail "regedit /S"
in_prefix editor "$tool" dump editor.dump || fail "dump after regedit"
diff -u source.dump editor.dump || fail "regedit's import of our file differs from the source"

step "regedit /E of the source, imported by us into a fresh prefix"
in_prefix source regedit /E 'Z:'"$(echo "$work/wine-machine.reg" | tr / '\\')" \
  'HKEY_LOCAL_MACHINE\SOFTWARE\Velmora Backup Tests' || fail "regedit /E machine"
in_prefix source regedit /E 'Z:'"$(echo "$work/wine-user.reg" | tr / '\\')" \
  'HKEY_CURRENT_USER\SOFTWARE\Velmora Backup Tests' || fail "regedit /E user"
[ -s wine-machine.reg ] && [ -s wine-user.reg ] || fail "regedit /E wrote nothing"
in_prefix ours "$tool" import wine-machine.reg || fail "our import of regedit's machine export"
in_prefix ours "$tool" import wine-user.reg || fail "our import of regedit's user export"
in_prefix ours "$tool" dump ours.dump || fail "dump after our import"
diff -u source.dump ours.dump || fail "our import of regedit's export differs from the source"

step "done"
