#!/usr/bin/env bash
# Checks that the product code is laid out as .clang-format says; with --fix
# lays it out so (make format). The product code: the C++ sources and
# headers below base/ wnd/ skin/ icons/ digest/ util/ app/ include/ and the
# resource headers res/*.h that git tracks or would (every such file below
# those folders where the tree is no git checkout). Tests, benchmarks and fuzz
# targets are left to their authors: their tables of cases are aligned by
# hand, row under row, which clang-format would reflow.
#
# The check prints each file that clang-format would change, with how many
# lines, and ends with one line that scripts/test-tiers.sh puts in the
# format tier's line:
#   check-format: summary: 281 files formatted (clang-format 14.0.6)
#   check-format: summary: 3 of 281 files not formatted (+12 -9 lines): a.cpp, b.h, c.cpp; make format
# It exits 1 when a file is not formatted, 2 when clang-format is missing.
# Formatting twice changes nothing, and the include order it sorts builds.
# The layout follows clang-format's version: Debian 12's (14), which
# scripts/setup.sh installs.
#
#   check-format.sh [--fix]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

fix=""
case "${1:-}" in
  "") ;;
  --fix) fix=1 ;;
  *) echo "usage: $0 [--fix]" >&2; exit 2 ;;
esac

folders=(base wnd skin icons digest util app include)
# The names listed on the tier's line; the others are counted.
named_at_most=10

if ! command -v clang-format >/dev/null 2>&1; then
  echo "check-format: clang-format is missing (scripts/setup.sh installs it)" >&2
  echo "check-format: summary: not checked: clang-format is missing"
  exit 2
fi
version=$(clang-format --version | sed -n 's/.*clang-format version \([0-9][0-9.]*\).*/\1/p')

product_files() {
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files --cached --others --exclude-standard -- "${folders[@]}" 'res/*.h'
  else
    find "${folders[@]}" -type f; find res -maxdepth 1 -name '*.h'
  fi | grep -E '\.(c|cc|cpp|h|hpp|inl)$' | sort -u | while read -r f; do [ -f "$f" ] && echo "$f"; done
}
mapfile -t files < <(product_files)
if [ ${#files[@]} -eq 0 ]; then
  echo "check-format: summary: not checked: no product files found in $root"
  exit 1
fi

if [ -n "$fix" ]; then
  changed=0
  for f in "${files[@]}"; do
    before=$(md5sum <"$f")
    clang-format --style=file --fallback-style=none -i "$f" || { echo "check-format: clang-format failed on $f" >&2; exit 1; }
    [ "$(md5sum <"$f")" = "$before" ] || changed=$((changed + 1))
  done
  echo "check-format: formatted $changed of ${#files[@]} files (clang-format $version)"
  exit 0
fi

# One clang-format for every file names those it would change; each of them
# is then formatted apart to count the lines.
report=$(clang-format --dry-run --style=file --fallback-style=none "${files[@]}" 2>&1)
rc=$?
mapfile -t bad < <(sed -n 's/^\(.*\):[0-9]*:[0-9]*: [a-z]*: code should be clang-formatted.*/\1/p' <<<"$report" | sort -u)
if [ "$rc" -ne 0 ] && [ ${#bad[@]} -eq 0 ]; then
  echo "$report" | tail -5
  echo "check-format: summary: not checked: clang-format failed (exit $rc)"
  exit 1
fi
formatted=$(mktemp /tmp/velmora-format.XXXXXX)
trap 'rm -f "$formatted"' EXIT
added=0 removed=0
for f in "${bad[@]}"; do
  clang-format --style=file --fallback-style=none "$f" >"$formatted"
  read -r a r < <(diff -U0 "$f" "$formatted" |
    awk '/^(\+\+\+|---) / { next } /^\+/ { a++ } /^-/ { r++ } END { printf "%d %d\n", a, r }')
  echo "check-format: $f is not formatted (+$a -$r lines)"
  added=$((added + a)) removed=$((removed + r))
done

if [ ${#bad[@]} -eq 0 ]; then
  echo "check-format: summary: ${#files[@]} files formatted (clang-format $version)"
  exit 0
fi
names=$(printf '%s\n' "${bad[@]:0:$named_at_most}" | paste -sd, - | sed 's/,/, /g')
more=$((${#bad[@]} - named_at_most))
[ "$more" -le 0 ] || names="$names and $more more (listed above)"
echo "check-format: summary: ${#bad[@]} of ${#files[@]} files not formatted (+$added -$removed lines," \
  "clang-format $version): $names; make format formats them"
exit 1
