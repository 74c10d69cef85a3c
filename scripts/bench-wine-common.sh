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
