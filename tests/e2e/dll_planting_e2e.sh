#!/usr/bin/env bash
# DLLs planted beside the programs under Wine: copies of Velmora.exe, its
# console twin and the terminal launcher in a folder that also holds a DLL
# for each library they load at run time (comctl32, comdlg32, and uxtheme,
# which comctl32 loads). Wine is told to prefer such a DLL over its own wherever it finds
# one (WINEDLLOVERRIDES), so that only the search decides: a program that
# searched beside itself would load them, as the plain loader shows first;
# ours look in the system folder only and load none. (The DLLs they import
# are the system's known DLLs, which Windows never takes from beside a
# program: pe_check.py --known-dlls checks the import tables. Wine has no
# known DLLs: the DLLs its own user32 imports, version.dll among them, are
# looked for beside the program before the program's first instruction, so
# they are not planted here.)
#   dll_planting_e2e.sh VELMORA_EXE VELMORA_COM LAUNCHER_EXE PLANTED_DLL PLAIN_LOADER WINE_RUN WORK_DIR
set -uo pipefail

velmora=$(realpath "$1")
console=$(realpath "$2")
launcher=$(realpath "$3")
planted=$(realpath "$4")
loader=$(realpath "$5")
wine_launcher=$(realpath "$6")
mkdir -p "$7"
prefix=$(eval "$("$wine_launcher" --print-env)"; echo "$WINEPREFIX")

fail() { echo "dll planting e2e: FAIL: $*" >&2; exit 1; }
step() { echo "dll planting e2e: [${SECONDS}s] $*"; }
names="comctl32 comdlg32 uxtheme"
export WINEDLLOVERRIDES="comctl32,comdlg32,uxtheme=n,b"
wine_run() { timeout "$1" "$wine_launcher" "${@:2}"; }

folder="$prefix/drive_c/velmora-planted"
rm -rf "$folder"
mkdir -p "$folder"
trap 'rm -rf "$folder"' EXIT
cp "$velmora" "$folder/Velmora.exe"
cp "$console" "$folder/Velmora.com"
cp "$launcher" "$folder/plant-e2e.exe"
cp "$loader" "$folder/plain_loader.exe"
for name in $names; do cp "$planted" "$folder/$name.dll"; done
markers() { (cd "$folder" && ls -- *.loaded 2>/dev/null | tr '\n' ' '); }

step "a plain LoadLibrary takes each planted DLL"
for name in $names; do
  (cd "$folder" && wine_run 60 ./plain_loader.exe "$name.dll") || fail "the plain loader could not load $name.dll"
  [ -f "$folder/$name.dll.loaded" ] || fail "$name.dll was not planted well: the plain loader did not load it"
done
rm -f "$folder"/*.loaded

step "Velmora.exe, Velmora.com and the launcher load none of them"
# Each program run with its usual work: the window comes up (the common
# controls bound) and is left after a while; the console lists and helps;
# the launcher finds no entry.
run_clean() {
  (cd "$folder" && wine_run "$@" >/dev/null 2>&1)
  [ -z "$(markers)" ] || fail "${2#./} ${3:-} loaded planted DLLs: $(markers)"
}
run_clean 8 ./Velmora.exe
run_clean 60 ./Velmora.com --help
run_clean 60 ./Velmora.com list
run_clean 60 ./plant-e2e.exe
step "all checks passed"
