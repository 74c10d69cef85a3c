#!/usr/bin/env bash
# The folders of app/ in the order they build on each other: a folder may
# include headers of the folders above it and its own, never of one below.
# Prints each folder with the folders it uses, and fails on an include that
# runs back up (or a folder of app/ missing from the order).
#   check-layers.sh [SOURCE_DIR]
set -euo pipefail
root=${1:-$(dirname "$0")/..}
cd "$root/app"

layers=(registry runcmd launcher/program launcher text platform cli ui)

position() {
  local i
  for i in "${!layers[@]}"; do [ "${layers[$i]}" = "$1" ] && { echo "$i"; return; }; done
  echo -1
}

failed=0
for dir in */ */*/; do
  dir=${dir%/}
  compgen -G "$dir/*.h" >/dev/null || compgen -G "$dir/*.cpp" >/dev/null || continue
  [ "$(position "$dir")" -ge 0 ] || { echo "check-layers: app/$dir is in no layer" >&2; failed=1; }
done

for i in "${!layers[@]}"; do
  dir=${layers[$i]}
  used=$(grep -hoE '#include "app/[a-z/]+/[A-Za-z_0-9]+\.h"' "$dir"/*.h "$dir"/*.cpp 2>/dev/null |
         sed -E 's|#include "app/(.*)/[^/]*\.h"|\1|' | sort -u | grep -vx "$dir" || true)
  printf '%-18s uses %s\n' "$dir" "$(echo $used)"
  for other in $used; do
    at=$(position "$other")
    if [ "$at" -lt 0 ] || [ "$at" -ge "$i" ]; then
      echo "check-layers: app/$dir includes app/$other, which is not below it:" >&2
      grep -nE "#include \"app/$other/[A-Za-z_0-9]+\.h\"" "$dir"/*.h "$dir"/*.cpp >&2 || true
      failed=1
    fi
  done
done
exit $failed
