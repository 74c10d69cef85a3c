#!/usr/bin/env bash
# Runs every test tier that this machine can run, each to its end whatever the
# others did, and ends with one line per tier: ran and passed, failed, or
# skipped and why. A tier that cannot run here is never counted as passed;
# one that can run and fails makes the whole run fail.
#
#   format      the product code laid out as .clang-format says (its line
#               names the files that are not; make format lays them out)
#   native      the library, the tool's logic and their tests on Linux
#   sanitizer   the same under AddressSanitizer and UndefinedBehaviorSanitizer
#   windows64   the 64-bit build's whole Windows tier under 64-bit Wine
#   windows32   the 32-bit build's whole Windows tier under 32-bit Wine where
#               this machine runs 32-bit programs (the installed Wine, or the
#               private root that set-up makes; its line says which);
#               elsewhere the 32-bit build is built and checked without
#               running (format, subsystem, manifest, version information,
#               exports, size) and the tier counts as skipped
#   fuzz        short libFuzzer runs of every target
#   release     make dist's zips, checksums and package manifests, checked
#               offline (tests/dist/release_check.py)
#
#   test-tiers.sh [TIER...]   (from the Makefile: make test, every tier)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
logs=$(mktemp -d /tmp/velmora-tiers.XXXXXX)
trap 'rm -rf "$logs"' EXIT

lines=()
passed=0 failed=0 skipped=0

# The ctest count of a tier's log ("12 of 12 tests"), or nothing.
ctest_count() {
  sed -n 's/^[0-9]*% tests passed, \([0-9]*\) tests\? failed out of \([0-9]*\)$/\1 \2/p' "$1" | tail -1 |
    awk '{ printf "%d of %d tests", $2 - $1, $2 }'
}

# tier NAME MAKE_TARGET [WHY_NOT [UNDER]]: runs the target, its output shown
# as it comes. With WHY_NOT the tier itself cannot run here and the target
# only checks what can be checked: it counts as skipped when that passes.
# UNDER says what the tier ran under (which Wine), for its line.
tier() {
  local name="$1" target="$2" why_not="${3:-}" under="${4:+ under $4}" log="$logs/$1.log" started=$SECONDS
  echo "== tier $name: make $target${why_not:+ (the tier cannot run: this machine $why_not)}"
  make --no-print-directory "$target" 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]} count detail
  count=$(ctest_count "$log")
  [ -n "$count" ] || count=$(sed -n 's/^fuzz: \([0-9]*\) passed, 0 failed$/\1 targets/p' "$log" | tail -1)
  # A check that says in its own words what it found (check-format.sh).
  detail=$(sed -n 's/^check-format: summary: //p' "$log" | tail -1)
  local took="$((SECONDS - started)) s"
  if [ -n "$detail" ]; then
    if [ "$rc" -ne 0 ]; then
      lines+=("tier $name: FAILED: $detail, $took")
      failed=$((failed + 1))
    else
      lines+=("tier $name: passed ($detail), $took")
      passed=$((passed + 1))
    fi
  elif [ "$rc" -ne 0 ]; then
    lines+=("tier $name: FAILED${why_not:+ in the checks of make $target}${count:+ ($count passed)}$under, $took")
    failed=$((failed + 1))
  elif [ -n "$why_not" ]; then
    lines+=("tier $name: skipped: this machine $why_not; make $target passed${count:+ ($count)}, $took")
    skipped=$((skipped + 1))
  else
    lines+=("tier $name: passed${count:+ ($count)}$under, $took")
    passed=$((passed + 1))
  fi
}

all_tiers=(format native sanitizer windows64 windows32 fuzz release)
for name in "$@"; do
  [[ " ${all_tiers[*]} " == *" $name "* ]] || { echo "usage: $0 [${all_tiers[*]}]..." >&2; exit 2; }
done
wanted() { [ $# -eq 0 ] || [[ " $* " == *" $name "* ]]; }
for name in "${all_tiers[@]}"; do
  wanted "$@" || continue
  case "$name" in
    format) tier format check-format ;;
    native) tier native test-native ;;
    sanitizer) tier sanitizer test-sanitize ;;
    windows64) tier windows64 test-windows64 ;;
    windows32)
      if scripts/can-run-i386.sh --wine; then
        tier windows32 test-windows32 "" "$(scripts/wine-run.sh --arch win32 --which)"
      else
        # The 32-bit build is still built and checked without running.
        tier windows32 check-windows32 "$(scripts/can-run-i386.sh --wine --why 2>&1 | head -1)"
      fi
      ;;
    fuzz) tier fuzz test-fuzz ;;
    release) tier release check-release ;;
  esac
done

echo
echo "== test tiers"
printf '%s\n' "${lines[@]}"
echo "tiers: $passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
