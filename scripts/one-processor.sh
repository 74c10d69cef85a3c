#!/usr/bin/env bash
# The processor the benchmarks run Wine on (see bench-listing.sh for why):
# VELMORA_BENCH_CPU, or else the first one this process may use. Prints
# nothing where taskset is missing or cannot pin to it; the benchmarks then
# run Wine on every processor and say so.
set -uo pipefail
command -v taskset >/dev/null 2>&1 || exit 0
cpu="${VELMORA_BENCH_CPU:-}"
[ -n "$cpu" ] || cpu=$(taskset -cp $$ 2>/dev/null | sed -n 's/.*: *\([0-9]*\).*/\1/p')
if [ -n "$cpu" ] && taskset -c "$cpu" true 2>/dev/null; then
  echo "$cpu"
fi
exit 0
