#!/usr/bin/env bash
# Installs what building and testing Velmora needs on a Debian 12 machine.
# Idempotent: quiet and quick when everything is already there.
#
# Wine's 32-bit half is wanted only where this machine runs 32-bit x86
# programs (scripts/can-run-i386.sh). There an installed wine32:i386 is used
# as it is; without it set-up makes a private root of Debian's i386 packages
# (scripts/wine32-root.sh): the i386 architecture is never added to the
# machine, whose i386 index may be stale or out of step with its amd64
# libraries. The root is optional: when it cannot be made, set-up warns, goes
# on without it and tries again after a few hours.
#
# A package mirror that serves a stale index must not stop set-up: the
# package lists are updated for the native architecture first, each update is
# tried a few times and, when it still fails, set-up warns and installs from
# the lists at hand. When the install fails on unmet dependencies, it is
# tried once more with the *-security suites held below the main suites
# (their copy of a package can be newer for one architecture than for the
# other), through a temporary preferences file: nothing under /etc/apt is
# written.
#
#   VELMORA_SETUP_FORCE_UPDATE=1   update the lists and run the install even
#                                  when everything is installed
# APT_CONFIG is honoured, and passed on through sudo.
set -euo pipefail

PACKAGES=(
  build-essential cmake make pkg-config
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  googletest libgtest-dev libbenchmark-dev libssl-dev
  clang libclang-rt-14-dev clang-format
  wine wine64
  xvfb xdotool evilwm x11-utils x11-xserver-utils imagemagick python3-xlib
  fonts-wqy-microhei locales
  icoutils zip unzip patchelf
)

UPDATE_TRIES=3
UPDATE_PAUSE=5
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then
    "$@"
  elif [ -n "${APT_CONFIG:-}" ]; then
    sudo env APT_CONFIG="$APT_CONFIG" "$@"
  else
    sudo "$@"
  fi
}

can_run_i386() { "$here/can-run-i386.sh"; }

# 32-bit Wine installed the normal way.
has_wine32() { [ -x /usr/lib/wine/wine ]; }

wine32_root() { "$here/wine32-root.sh" "$@"; }

# Prints those of the given packages (NAME or NAME:ARCH) that are not
# installed, asking dpkg once.
not_installed() {
  local -A have=()
  local pkg st p
  while read -r pkg st; do
    # Status-Abbrev: wanted state, current state, error flag (blank when none).
    [[ "$st" == ?i ]] || continue
    have[$pkg]=1
    have[${pkg%%:*}]=1
  done < <(dpkg-query -W -f='${Package}:${Architecture} ${db:Status-Abbrev}\n' "${@%%:*}" 2>/dev/null)
  for p in "$@"; do
    [ -n "${have[$p]:-}" ] || echo "$p"
  done
}

# Updates the package lists, passing the given apt options; tries a few
# times. Returns 1 after warning when every try failed: what could be fetched
# is kept, and apt keeps the older copy of what could not.
update_lists() {
  local log="$work/update.log" try rc=0 failed
  for ((try = 1; try <= UPDATE_TRIES; try++)); do
    # --error-on=any: an index that cannot be fetched is a failure, not a note.
    rc=0
    as_root apt-get update -qq --error-on=any "$@" >"$log" 2>&1 || rc=$?
    [ "$rc" -ne 0 ] || return 0
    [ "$try" -eq "$UPDATE_TRIES" ] || sleep "$UPDATE_PAUSE"
  done
  # "E: Failed to fetch URL  REASON [IP: ...]" names the index.
  failed=$(sed -n -E 's/^[EW]: Failed to fetch ([^ ]+) +(.*)$/\1 (\2)/p' "$log" |
    sed -E 's/ *\[IP: [^]]*\]//' | paste -sd';' - | sed 's/;/; /g')
  [ -n "$failed" ] || failed=$(sed -n 's/^E: //p' "$log" | head -1)
  [ -n "$failed" ] || failed="apt-get exit code $rc"
  echo "setup: warning: apt-get update failed $UPDATE_TRIES times: $failed; going on with the package lists at hand" >&2
  return 1
}

# Installs the given packages, already installed ones left as they are.
# Prints apt's error and returns 1 when that fails.
install_packages() {
  local log="$work/install.log" prefs
  if apt_install "$log" "$@"; then
    return 0
  fi
  if grep -q -e 'unmet dependencies' -e 'held broken packages' -e 'generated breaks' "$log" &&
     apt-cache policy 2>/dev/null | grep -q -E '[ ,][an]=[^,]*-security(,|$)'; then
    echo "setup: apt found unmet dependencies; trying once more with the *-security suites held below the main suites"
    prefs="$work/preferences"
    security_pin >"$prefs"
    if apt_install "$log" -o Dir::Etc::Preferences="$prefs" "$@"; then
      return 0
    fi
  fi
  cat "$log" >&2
  return 1
}

apt_install() {
  local log="$1"
  shift
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q \
    --no-install-recommends --no-upgrade -o DPkg::Lock::Timeout=120 "$@" >"$log" 2>&1
}

# A preferences file that puts every *-security suite below the default 500
# of the main suites, followed by the machine's own preferences file (its
# preferences.d stays in force as well). This record comes first, so it wins
# over later records that match the same versions.
security_pin() {
  local PREFS=""
  eval "$(apt-config shell PREFS Dir::Etc::Preferences/f)"
  printf 'Package: *\nPin: release a=*-security\nPin-Priority: 100\n\n'
  printf 'Package: *\nPin: release n=*-security\nPin-Priority: 100\n\n'
  if [ -n "$PREFS" ] && [ -f "$PREFS" ]; then
    cat "$PREFS" 2>/dev/null || as_root cat "$PREFS"
  fi
}

install_base() {
  local missing
  mapfile -t missing < <(not_installed "${PACKAGES[@]}")
  [ ${#missing[@]} -gt 0 ] || [ -n "$force" ] || return 0
  if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
  else
    missing=("${PACKAGES[@]}")
    echo "setup: updating the package lists and checking the packages"
  fi
  # The native architecture's lists alone: a broken index of another
  # architecture cannot stop these. The other lists are left in place.
  update_lists -o APT::Architectures="$(dpkg --print-architecture)" \
    -o APT::Get::List-Cleanup=false || true
  install_packages "${missing[@]}"
}

# 32-bit Wine where wine32:i386 is not installed: its private root, made or
# checked (quick when nothing changed), refreshed with the package lists when
# forced. A failure is a warning: the 32-bit programs then do not run here.
ensure_wine32() {
  ! has_wine32 || return 0
  if ! wine32_root make ${force:+--refresh} 2>"$work/wine32.err"; then
    echo "setup: warning: no 32-bit Wine: $(tail -1 "$work/wine32.err"); going on without it, so 32-bit Windows programs do not run under Wine" >&2
  fi
}

# zh_CN.UTF-8 makes Wine use code page 936 and lets non-ASCII file names through.
ensure_locale() {
  if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
    echo "setup: generating zh_CN.UTF-8"
    if ! grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
      echo 'zh_CN.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
    fi
    as_root locale-gen >/dev/null
  fi
}

main() {
  force=""
  case "${VELMORA_SETUP_FORCE_UPDATE:-}" in ""|0) ;; *) force=1 ;; esac
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  install_base || exit 1
  if can_run_i386; then
    ensure_wine32
  fi
  ensure_locale
}

# Tests source this file to call its parts.
if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  main "$@"
fi
