#!/usr/bin/env bash
# How long `velmora list --json` takes over 2 000 run commands under Wine,
# against Wine's own `reg query KEY /s` of the same key in the same run:
# 2 000 entries (each with a target and a Path value) imported into the
# current user's App Paths of a prefix of their own, then each command run
# RUNS times, the best time of each compared.
#
#   bench-cli.sh WINDOWS_BUILD_DIR [RUNS]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
runs="${2:-5}"
com="$build/app/Velmora.com"
[ -f "$com" ] || { echo "bench-cli: $com is missing" >&2; exit 1; }
arch=$(sed -n 's/.*--arch \([a-z0-9]*\).*/\1/p' "$build/wine-run" | head -1)
prefix="$build/wineprefix-bench-cli"
wine_run() { "$root/scripts/wine-run.sh" --arch "${arch:-win64}" --prefix "$prefix" "$@"; }
key='HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\App Paths'

work=$(mktemp -d /tmp/velmora-bench-cli.XXXXXX)
trap 'rm -rf "$work"' EXIT
{
  printf 'REGEDIT4\r\n\r\n'
  for i in $(seq -w 1 2000); do
    printf '[HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\bench%s.exe]\r\n' "$i"
    printf '@="C:\\\\velmora-bench\\\\prog%s.exe"\r\n"Path"="C:\\\\velmora-bench;C:\\\\tools\\\\%s"\r\n\r\n' "$i" "$i"
  done
} >"$work/entries.reg"
wine_run reg import "Z:$work/entries.reg" >/dev/null 2>&1 || { echo "bench-cli: reg import failed" >&2; exit 1; }

# Milliseconds of one run of the command given, its output thrown away.
time_ms() {
  local start end
  start=$(date +%s%N)
  wine_run "$@" >"$work/out" 2>/dev/null || true
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}
# Both once first, so that the wine server and the disk cache are warm for each.
time_ms "$com" list --json --user >/dev/null
time_ms reg query "$key" /s >/dev/null
listed=$(grep -o '"name":"bench' "$work/out" | wc -l || true)
ours=() theirs=()
for _ in $(seq 1 "$runs"); do
  ours+=("$(time_ms "$com" list --json --user)")
  listed=$(grep -o '"name":"bench' "$work/out" | wc -l)
  theirs+=("$(time_ms reg query "$key" /s)")
done
[ "$listed" -eq 2000 ] || { echo "bench-cli: velmora listed $listed of the 2000 entries" >&2; exit 1; }
best() { printf '%s\n' "$@" | sort -n | head -1; }
o=$(best "${ours[@]}") t=$(best "${theirs[@]}")
ratio=$(awk -v o="$o" -v t="$t" 'BEGIN { printf "%.2f", o / t }')
verdict=met
awk -v r="$ratio" 'BEGIN { exit !(r <= 1.0) }' || verdict="NOT met"
echo "velmora list --json, 2 000 entries, best of $runs: $o ms; reg query /s of the same key: $t ms; ratio $ratio (goal: no slower, 1.00 at most: $verdict)"
if [ -n "${VELMORA_BENCH_SUMMARY:-}" ]; then
  printf '%s\t%s\t%s\t%s\t%s\t%s\n' "velmora list --json at 2 000 entries vs reg query /s (best of $runs)" \
    "$o ms" "$t ms" "$ratio" "<= 1.00" "$verdict" >>"$VELMORA_BENCH_SUMMARY"
fi
