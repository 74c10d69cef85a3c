#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for a given number of seconds
# each, starting from its seed corpus, and fails on the first finding.
#   fuzz.sh BUILD_DIR SECONDS
set -euo pipefail
build="$1"
seconds="$2"
root=$(cd "$(dirname "$0")/.." && pwd)
shopt -s nullglob
targets=("$build"/fuzz/fuzz_*)
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz: no targets yet"
  exit 0
fi
passed=0
for target in "${targets[@]}"; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="$build/corpus/$name"
  mkdir -p "$corpus"
  seeds=()
  [ -d "$root/fuzz/seeds/$name" ] && seeds+=("$root/fuzz/seeds/$name")
  # Inputs that once broke a check, or exercise one, are run every time.
  [ -d "$root/fuzz/regressions/$name" ] && seeds+=("$root/fuzz/regressions/$name")
  echo "fuzz: $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$build/$name-" \
      "$corpus" "${seeds[@]}" 2>"$build/$name.log" || { tail -40 "$build/$name.log"; exit 1; }
  grep -E 'stat::number_of_executed_units' "$build/$name.log" || true
  passed=$((passed + 1))
done
echo "fuzz: $passed passed, 0 failed"
