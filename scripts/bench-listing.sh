#!/usr/bin/env bash
# How long the run-command manager takes to list 2 000 commands under Wine
# (the first screen drawn, and its icons in from the worker that reads
# them), and to answer a keystroke in its filter:
# the large-listing test of the dialog tests (scratch trees of both scopes,
# nested, gone and hidden entries among them) run RUNS times on a private
# display, and the best of its printed times against the goal of a second.
#
#   bench-listing.sh WINDOWS_BUILD_DIR [RUNS]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
if [ -z "${VELMORA_PRIVATE_DISPLAY:-}" ] || [ "${DISPLAY:-}" != "$VELMORA_PRIVATE_DISPLAY" ]; then
  exec env -u DISPLAY "$root/scripts/with-display.sh" "$0" "$@"
fi
build=$(cd "$1" && pwd)
runs="${2:-3}"
tests="$build/tests/app/app_dialog_tests.exe"
[ -f "$tests" ] || { echo "bench-listing: $tests is missing" >&2; exit 1; }

shown=() iconsin=() refreshed=() keystroke=()
for _ in $(seq 1 "$runs"); do
  output=$("$build/wine-run" "$tests" --gtest_filter='RunManagerSpeedTest.*' 2>&1 || true)
  line=$(grep '^2000 entries: opened' <<<"$output" || true)
  filter=$(grep '^2000 entries: filter' <<<"$output" || true)
  [ -n "$line" ] && [ -n "$filter" ] || { echo "bench-listing: the listing test printed no times" >&2; exit 1; }
  echo "  $line"
  echo "  $filter"
  keystroke+=("$(sed -n 's/.* \([0-9.]*\) ms at most.*/\1/p' <<<"$filter")")
  shown+=("$(sed -n 's/.*first screen drawn after \([0-9]*\) ms.*/\1/p' <<<"$line")")
  iconsin+=("$(sed -n 's/.*its icons in after \([0-9]*\) ms.*/\1/p' <<<"$line")")
  refreshed+=("$(sed -n 's/.*refresh \([0-9]*\) ms.*/\1/p' <<<"$line")")
done
best() { printf '%s\n' "$@" | sort -n | head -1; }
s=$(best "${shown[@]}") i=$(best "${iconsin[@]}") r=$(best "${refreshed[@]}")
verdict=met
[ "$s" -lt 1000 ] && [ "$r" -lt 1000 ] || verdict="NOT met"
echo "2 000-entry listing, best of $runs: first screen drawn after $s ms, refresh $r ms (goal: under 1000 ms each: $verdict)"
echo "2 000-entry listing, best of $runs: the first screen's icons in after $i ms (read off the paint path; no goal)"
summary_row() {
  [ -n "${VELMORA_BENCH_SUMMARY:-}" ] || return 0
  printf '%s\t%s\t-\t-\t%s\t%s\n' "$@" >>"$VELMORA_BENCH_SUMMARY"
}
summary_row "2 000-entry listing, first screen (best of $runs)" "$s ms" "< 1000 ms" \
  "$([ "$s" -lt 1000 ] && echo met || echo 'NOT met')"
summary_row "2 000-entry listing, refresh (best of $runs)" "$r ms" "< 1000 ms" \
  "$([ "$r" -lt 1000 ] && echo met || echo 'NOT met')"
summary_row "2 000-entry listing, first screen's icons in (best of $runs)" "$i ms" "-" "no goal"
k=$(printf '%s\n' "${keystroke[@]}" | sort -g | head -1)
verdict=met
awk -v k="$k" 'BEGIN { exit !(k < 50) }' || verdict="NOT met"
echo "filter at 2 000 entries, best of $runs: slowest keystroke $k ms (goal: under 50 ms: $verdict)"
summary_row "filter keystroke at 2 000 entries (best of $runs)" "$k ms" "< 50 ms" "$verdict"
