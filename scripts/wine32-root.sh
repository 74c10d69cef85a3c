#!/usr/bin/env bash
# Debian's 32-bit Wine in a private root, for machines that run 32-bit x86
# programs where wine32:i386 is not installed. Installing it through apt needs
# the i386 architecture added to the machine and the i386 copy of every
# library at the version of the amd64 one, which a stale i386 index on the
# mirror makes impossible. Here the i386 packages are read through a private
# apt state, downloaded (never installed) with their dependencies, and
# unpacked with dpkg-deb: nothing of the machine's dpkg or apt set-up changes.
#
# In the root the 32-bit loader (usr/lib/wine/wine) and wineserver32 take
# their interpreter and libraries from the root (patchelf: the interpreter,
# and a DT_RPATH, which also serves the libraries Wine opens later), and
# usr/lib/wine/wineserver starts the wineserver that goes with the loader. Where the
# root's Wine is the version of the installed 64-bit Wine, the root also holds
# a copy of the 64-bit loader: Wine looks for the loader of the other bitness
# beside the running one (the real path of /proc/self/exe), so that copy,
# started in a 64-bit prefix, runs 32-bit programs with the root's loader, as
# WOW64 does on Windows. scripts/wine-run.sh is what runs them.
#
#   wine32-root.sh path              the root's folder: $VELMORA_WINE32_ROOT, or
#                                    velmora/wine32-root in the user's cache
#   wine32-root.sh make [--refresh]  makes the root, or checks it: quiet and
#       quick while its package lists are younger than a day and the installed
#       64-bit Wine is unchanged; else the lists are read again and the root
#       is made afresh when a package's version changed. --refresh reads the
#       lists now and retries at once after a failure.
#   wine32-root.sh info              one line: the root's Wine version and
#                                    whether it runs 32-bit programs in a
#                                    64-bit prefix; exit 1 when there is none
#
# Next to the root: ROOT.apt (the private apt state), ROOT.lock, and
# ROOT.failed (why the last try failed; plain runs try again after a while).
set -euo pipefail

# What goes into the root, with their dependencies: the X extensions that
# Wine's X11 driver opens when they are there (libwine only recommends them;
# the installed 64-bit Wine has them through the display tools).
WANTED=(wine32 libwine libxrender1 libxrandr2 libxi6 libxcursor1 libxcomposite1
        libxinerama1 libxfixes3 libxxf86vm1)
# Changes whenever the way the root is made changes: such a root is made again.
RECIPE=2
LIST_MAX_AGE_MINUTES=$((24 * 60))
RETRY_MINUTES=180
STAMP_NAME=.velmora-root

root_path() {
  if [ -n "${VELMORA_WINE32_ROOT:-}" ]; then
    echo "$VELMORA_WINE32_ROOT"
  elif [ -n "${XDG_CACHE_HOME:-}" ]; then
    echo "$XDG_CACHE_HOME/velmora/wine32-root"
  elif [ -n "${HOME:-}" ]; then
    echo "$HOME/.cache/velmora/wine32-root"
  else
    echo "/var/tmp/velmora-$(id -u)/wine32-root"
  fi
}

# The installed 64-bit Wine's loader and its package version (empty when it
# is not installed).
WINE64_LOADER=/usr/lib/wine/wine64
WINESERVER64=/usr/lib/wine/wineserver64
installed_wine64_version() { dpkg-query -W -f='${Version}' wine64 2>/dev/null || true; }

say() { echo "wine32-root: $*"; }

# The value of KEY in the stamp file $1 (lines "KEY VALUE").
stamp_value() { sed -n "s/^$2 //p" "$1" 2>/dev/null | head -1; }

info() {
  local root stamp
  root=$(root_path)
  stamp="$root/$STAMP_NAME"
  [ -f "$stamp" ] || return 1
  local version wow64
  version=$(stamp_value "$stamp" wine32)
  wow64=$(stamp_value "$stamp" wow64)
  if [ "$wow64" = yes ]; then
    echo "32-bit Wine $version from the private root $root, WOW64 beside the installed 64-bit Wine"
  else
    echo "32-bit Wine $version from the private root $root (no WOW64: $wow64)"
  fi
}

apt_private() {  # apt-get or apt-cache, then its arguments
  local tool="$1"
  shift
  "$tool" -q -o "Dir::State=$state/state" -o "Dir::State::Lists=$state/lists" \
    -o "Dir::Cache=$state/cache" -o "Dir::State::status=$state/status" \
    -o APT::Architecture=i386 -o APT::Architectures=i386 -o pkgCacheGen::Essential=none \
    -o Debug::NoLocking=1 -o APT::Get::Simulate=false -o "APT::Sandbox::User=$(id -un)" \
    -o Acquire::Languages=none "$@"
}

# A fingerprint of the private package lists.
lists_fingerprint() {
  find "$state/lists" -maxdepth 1 -type f -name '*Packages*' -printf '%f %s %T@\n' | sort | sha256sum | cut -c1-16
}

# Reads the package lists again. A suite whose index cannot be fetched (the
# stale security suite) does not matter while another offers the packages.
update_lists() {
  mkdir -p "$state/lists/partial" "$state/cache/archives/partial" "$state/state"
  : >"$state/status"
  apt_private apt-get update >"$state/update.log" 2>&1 || true
  touch "$state/updated"
}

# The packages to unpack as "NAME VERSION ARCH" lines, sorted: what apt would
# install on an empty i386 system. wine32 and libwine at the version of the
# installed 64-bit Wine when the lists offer it (WOW64 needs one version).
resolve() {
  local -a wanted=("${WANTED[@]}")
  local v64
  v64=$(installed_wine64_version)
  # madison: "wine32 | VERSION | SOURCE"
  if [ -n "$v64" ] && apt_private apt-cache madison wine32 2>/dev/null |
       awk -F' *[|] *' -v v="$v64" '$2 == v { found = 1 } END { exit !found }'; then
    wanted=("${wanted[@]/#wine32/wine32=$v64}")
    wanted=("${wanted[@]/#libwine/libwine=$v64}")
  fi
  apt_private apt-get -s install --no-install-recommends "${wanted[@]}" >"$state/resolve.log" 2>&1 || return 1
  # Inst NAME (VERSION SUITES [ARCH])
  sed -n 's/^Inst \([^ ]*\) (\([^ ]*\) .*\[\([^]]*\)\])$/\1 \2 \3/p' "$state/resolve.log" | sort
}

# Unpacks the packages into DIR, to be moved to FINAL, and sets the loader
# up there. Echoes nothing; fails with a message on standard error.
build_into() {
  local dir="$1" final="$2" deb
  local debs="$state/download"
  rm -rf "$debs"
  mkdir -p "$debs"
  if ! (cd "$debs" && apt_private apt-get download "${pinned[@]}") >"$state/download.log" 2>&1; then
    echo "the download of the i386 packages failed: $(grep -m1 '^E: ' "$state/download.log" || tail -1 "$state/download.log")" >&2
    return 1
  fi
  local count
  count=$(find "$debs" -name '*.deb' | wc -l)
  if [ "$count" -ne "${#pinned[@]}" ]; then
    echo "the download of the i386 packages gave $count of ${#pinned[@]} files" >&2
    return 1
  fi
  rm -rf "$dir"
  mkdir -p "$dir"
  for deb in "$debs"/*.deb; do
    dpkg-deb -x "$deb" "$dir"
  done
  rm -rf "$debs" "$dir/usr/share/doc" "$dir/usr/share/man" "$dir/usr/share/locale"

  local loader="$dir/usr/lib/wine/wine" server="$dir/usr/lib/wine/wineserver32"
  local interp="lib/i386-linux-gnu/ld-linux.so.2"
  for f in "$loader" "$server" "$dir/$interp"; do
    [ -e "$f" ] || { echo "the i386 packages hold no ${f#"$dir"/}" >&2; return 1; }
  done
  # Debian's libwine makes its builtin zlib1.dll from MinGW's when it is
  # configured: the same here, for the 32-bit one.
  local zlib="$dir/usr/i686-w64-mingw32/lib/zlib1.dll"
  if [ -f "$zlib" ]; then
    { head -c 64 "$zlib"; printf 'Wine builtin DLL'; head -c 16 /dev/zero; tail -c +97 "$zlib"; } \
      >"$dir/usr/lib/i386-linux-gnu/wine/i386-windows/zlib1.dll"
  fi
  local rpath="$final/lib/i386-linux-gnu:$final/usr/lib/i386-linux-gnu:$final/usr/lib/i386-linux-gnu/pulseaudio"
  for f in "$loader" "$server"; do
    patchelf --set-interpreter "$final/$interp" --force-rpath --set-rpath "$rpath" "$f" 2>"$state/patchelf.log" ||
      { echo "patchelf failed on ${f#"$dir"/}: $(head -1 "$state/patchelf.log")" >&2; return 1; }
  done
  # Wine starts the wineserver beside its loader (WINESERVER is only for
  # scripts): where the versions allow, the installed 64-bit one, which serves
  # 32-bit and 64-bit programs alike, as with wine32:i386 and wine64
  # installed; else the root's own.
  local wineserver="$final/usr/lib/wine/wineserver32"
  [ "$wow64" != yes ] || wineserver="$WINESERVER64"
  printf '#!/bin/sh\n# The wineserver of the 32-bit Wine of this root (wine32-root.sh).\nexec "%s" -p0 "$@"\n' \
    "$wineserver" >"$dir/usr/lib/wine/wineserver"
  chmod 755 "$dir/usr/lib/wine/wineserver"
  if [ "$wow64" = yes ]; then
    # A copy, not a link: Wine takes the folder of the loader's real path.
    cp "$WINE64_LOADER" "$dir/usr/lib/wine/wine64"
    mkdir -p "$dir/usr/lib/x86_64-linux-gnu"
    ln -sfn /usr/lib/x86_64-linux-gnu/wine "$dir/usr/lib/x86_64-linux-gnu/wine"
  fi
}

write_stamp() {  # FILE
  {
    echo "recipe $RECIPE"
    echo "wine32 $wine32_version"
    echo "wine64 $wine64_version"
    echo "wow64 $wow64"
    echo "lists $(lists_fingerprint)"
    sed 's/^/package /' <<<"$packages"
  } >"$1.tmp"
  mv "$1.tmp" "$1"
}

make_root() {
  local refresh="${1:-}" root stamp
  root=$(root_path)
  state="$root.apt"
  stamp="$root/$STAMP_NAME"
  mkdir -p "$(dirname "$root")"
  exec 9>"$root.lock"
  flock 9

  wine64_version=$(installed_wine64_version)
  local lists_fresh=""
  if [ -n "$(find "$state/updated" -mmin -"$LIST_MAX_AGE_MINUTES" 2>/dev/null)" ]; then
    lists_fresh=1
  fi
  # Quick: nothing that could change the root has changed.
  if [ -z "$refresh" ] && [ -n "$lists_fresh" ] && [ -f "$stamp" ] &&
     [ "$(stamp_value "$stamp" recipe)" = "$RECIPE" ] &&
     [ "$(stamp_value "$stamp" wine64)" = "$wine64_version" ] &&
     [ "$(stamp_value "$stamp" lists)" = "$(lists_fingerprint)" ]; then
    return 0
  fi
  if [ -z "$refresh" ] && [ ! -f "$stamp" ] &&
     [ -n "$(find "$root.failed" -mmin -"$RETRY_MINUTES" 2>/dev/null)" ]; then
    local failed_at
    failed_at=$(stat -c %Y "$root.failed")
    echo "its making failed at $(date -d "@$failed_at" +%H:%M) ($(head -1 "$root.failed")); tried again after" \
      "$(date -d "@$((failed_at + RETRY_MINUTES * 60))" +%H:%M), or now with VELMORA_SETUP_FORCE_UPDATE=1" >&2
    return 1
  fi

  if [ -n "$refresh" ] || [ -z "$lists_fresh" ] || [ ! -f "$stamp" ]; then
    update_lists
  fi
  if ! packages=$(resolve) || [ -z "$packages" ]; then
    fail_with "the i386 packages cannot be resolved: $(grep -m1 -e '^E: ' "$state/resolve.log" "$state/update.log" 2>/dev/null | sed 's/^[^:]*:E: //' || echo 'no package lists')"
    return 1
  fi
  wine32_version=$(awk '$1 == "wine32" { print $2 }' <<<"$packages")
  wow64=yes
  if [ -z "$wine64_version" ] || [ ! -x "$WINE64_LOADER" ]; then
    wow64="the 64-bit Wine is not installed"
  elif [ "$wine64_version" != "$wine32_version" ]; then
    wow64="the installed 64-bit Wine is $wine64_version"
  fi
  # The same packages, the same way, for the same 64-bit Wine: the root stays.
  if [ -f "$stamp" ] && [ "$(stamp_value "$stamp" recipe)" = "$RECIPE" ] &&
     [ "$(stamp_value "$stamp" wine64)" = "$wine64_version" ] &&
     [ "$(sed -n 's/^package //p' "$stamp")" = "$packages" ]; then
    write_stamp "$stamp"
    return 0
  fi

  local -a pinned
  mapfile -t pinned < <(awk '{ print $1 "=" $2 }' <<<"$packages")
  say "making 32-bit Wine $wine32_version in $root ($(wc -l <<<"$packages") i386 packages)"
  local err
  if ! err=$(build_into "$root.new" "$root" 2>&1); then
    rm -rf "$root.new"
    fail_with "$err"
    return 1
  fi
  rm -rf "$root.old"
  [ ! -e "$root" ] || mv "$root" "$root.old"
  mv "$root.new" "$root"
  rm -rf "$root.old"
  if ! err=$("$root/usr/lib/wine/wine" --version 2>&1 </dev/null); then
    fail_with "the 32-bit loader does not start from the root: ${err:-exit code $?}"
    return 1
  fi
  write_stamp "$stamp"
  rm -f "$root.failed"
}

# Records why the root could not be made, and says it on standard error. A
# root that was there keeps being used.
fail_with() {
  echo "$1" >"$(root_path).failed"
  echo "$1" >&2
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  case "${1:-}" in
    path) root_path ;;
    info) info ;;
    make)
      case "${2:-}" in
        "") make_root ;;
        --refresh) make_root refresh ;;
        *) echo "usage: $0 path | info | make [--refresh]" >&2; exit 2 ;;
      esac
      ;;
    *) echo "usage: $0 path | info | make [--refresh]" >&2; exit 2 ;;
  esac
fi
