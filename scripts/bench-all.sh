#!/usr/bin/env bash
# What `make bench` runs: the native benchmarks, the 2 000-entry listing,
# the start-up and the terminal launcher under Wine, each section to its end
# whatever the others did, then one summary table of every measure with its
# anchor, ratio and goal.
# A section that fails or measures nothing is said in the table, and the
# script then fails.
# The first Windows build (the 64-bit one) gets every Windows section; each
# further one (the 32-bit build, where this machine runs it) the listing and
# the start-up.
#   bench-all.sh NATIVE_BUILD_DIR WINDOWS_BUILD_DIR [WINDOWS_BUILD_DIR...]
set -uo pipefail
native="$1"
windows="$2"
shift 2
more_windows=("$@")
root=$(cd "$(dirname "$0")/.." && pwd)

summary=$(mktemp /tmp/velmora-bench-summary.XXXXXX)
trap 'rm -f "$summary"' EXIT
export VELMORA_BENCH_SUMMARY="$summary"

failed=0
section() {
  local name="$1"
  shift
  local before
  before=$(wc -l <"$summary")
  "$@"
  local rc=$?
  if [ "$rc" -ne 0 ]; then
    printf '%s\t-\t-\t-\t-\tNOT measured (the section failed, exit %s)\n' "$name" "$rc" >>"$summary"
    failed=1
  elif [ "$(wc -l <"$summary")" -eq "$before" ]; then
    printf '%s\t-\t-\t-\t-\tNOT measured (no result)\n' "$name" >>"$summary"
    failed=1
  fi
}

section "native benchmarks" "$root/scripts/bench.sh" "$native"
section "2 000-entry listing" "$root/scripts/bench-listing.sh" "$windows"
section "velmora list --json vs reg query" "$root/scripts/bench-cli.sh" "$windows"
section "start-up" "$root/scripts/bench-startup.sh" "$windows"
section "terminal launcher" "$root/scripts/bench-launcher.sh" "$windows"
section "commands with options" "$root/scripts/bench-options.sh" "$windows"
for other in "${more_windows[@]}"; do
  section "2 000-entry listing ($other)" "$root/scripts/bench-listing.sh" "$other"
  section "start-up ($other)" "$root/scripts/bench-startup.sh" "$other"
done

echo
echo "== summary (ratio: ours / anchor; the goal is the lowest ratio allowed for a throughput, the highest for a time)"
{
  printf 'measure\tours\tanchor\tratio\tgoal\tverdict\n'
  cat "$summary"
} | awk -F'\t' '
  { for (i = 1; i <= NF; ++i) { cell[NR, i] = $i; if (length($i) > w[i]) w[i] = length($i) } rows = NR; cols = NF > cols ? NF : cols }
  END {
    for (r = 1; r <= rows; ++r) {
      line = ""
      for (i = 1; i <= cols; ++i) line = line sprintf(i < cols ? "%-" w[i] "s  " : "%s", cell[r, i])
      print line
    }
  }'
not_met=$(grep -c 'NOT' "$summary" || true)
echo "goals not met or not measured: $not_met"
exit $failed
