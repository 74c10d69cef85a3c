# Sourced by the Wine benchmarks that time process starts (bench-launcher.sh,
# bench-options.sh), after `wine-run.sh --print-env` has been evaluated.

# A work folder in $work, removed at the end with the prefix's wineserver;
# meanwhile a Windows process that only waits keeps the wineserver and the
# prefix's system processes running between the starts (closing the pipe
# ends it). `bench_start WORK_PREFIX`.
bench_start() {
  work=$(mktemp -d "/tmp/$1.XXXXXX")
  trap bench_cleanup EXIT
  mkfifo "$work/keep"
  "$WINELOADER" cmd.exe <"$work/keep" >/dev/null 2>&1 &
  exec 7>"$work/keep"
}
bench_cleanup() {
  exec 7>&- 2>/dev/null || true
  "$WINESERVER" -k 2>/dev/null || true
  rm -rf "$work"
}

# The median of whole numbers.
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : int((v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }

# Times the two commands alternately ($runs times each, after one start of
# each to warm the disk cache) with time_ms, and prints and records (in
# $VELMORA_BENCH_SUMMARY, when set) the ratio of their medians against its goal.
#   compare_starts MEASURED BASELINE GOAL "WHAT MEASURED IS" "WHAT THE BASELINE IS" "SUMMARY ROW"
compare_starts() {
  local measured="$1" baseline="$2" goal="$3" first=() second=() m b ratio verdict=met
  time_ms "$measured" >/dev/null
  time_ms "$baseline" >/dev/null
  for _ in $(seq 1 "$runs"); do
    second+=("$(time_ms "$baseline")")
    first+=("$(time_ms "$measured")")
  done
  m=$(median "${first[@]}") b=$(median "${second[@]}")
  ratio=$(awk -v m="$m" -v b="$b" 'BEGIN { printf "%.2f", m / b }')
  awk -v r="$ratio" -v g="$goal" 'BEGIN { exit !(r <= g) }' || verdict="NOT met"
  echo "$4, median of $runs: $m ms; $5: $b ms; ratio $ratio (goal: $goal at most: $verdict)"
  if [ -n "${VELMORA_BENCH_SUMMARY:-}" ]; then
    printf '%s\t%s\t%s\t%s\t%s\t%s\n' "$6 (median of $runs)" "$m ms" "$b ms" "$ratio" "<= $goal" "$verdict" \
      >>"$VELMORA_BENCH_SUMMARY"
  fi
}
