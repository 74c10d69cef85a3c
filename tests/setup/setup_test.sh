#!/usr/bin/env bash
# Checks scripts/setup.sh in a private apt world: a package repository made
# here (file:, with a main suite and a *-security suite), a source that cannot
# be reached (127.0.0.1:9), apt's state and cache in a temporary directory,
# installs simulated. The machine's apt configuration, package lists and
# packages are not touched; needs neither the network nor root.
#   tests/setup/setup_test.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT
arch=$(dpkg --print-architecture)

# velmora-tool: the -security copy depends on a package that does not exist,
# as when a suite's copy is out of step with the other architecture's.
stanza() {  # NAME VERSION [DEPENDS]
  printf 'Package: %s\nVersion: %s\nArchitecture: all\nMaintainer: Velmora tests <tests@invalid>\n' "$1" "$2"
  printf 'Filename: pool/%s_%s_all.deb\nSize: 1000\nDescription: test package\n' "$1" "$2"
  [ -z "${3:-}" ] || printf 'Depends: %s\n' "$3"
  echo
}
suite() {  # NAME, stanzas on standard input
  local d="$t/repo/dists/$1" f="main/binary-$arch/Packages"
  mkdir -p "$d/main/binary-$arch"
  cat >"$d/$f"
  printf 'Suite: %s\nCodename: %s\nArchitectures: %s\nComponents: main\nDate: %s\nSHA256:\n %s %s %s\n' \
    "$1" "$1" "$arch" "$(date -Ru)" "$(sha256sum <"$d/$f" | cut -d' ' -f1)" "$(stat -c %s "$d/$f")" "$f" >"$d/Release"
}
{ stanza velmora-tool 1.0; stanza velmora-broken 1.0 velmora-absent; } | suite velmora
stanza velmora-tool 1.1 velmora-absent | suite velmora-security

mkdir -p "$t/empty" "$t/state/lists/partial" "$t/cache/archives/partial" "$t/tmp"
cat >"$t/sources.list" <<EOF
deb [trusted=yes] file:$t/repo velmora main
deb [trusted=yes] file:$t/repo velmora-security main
deb http://127.0.0.1:9/debian bookworm main
EOF
# dpkg is the one package installed here, as on the machine (setup.sh asks dpkg).
dpkg-query -W -f='Package: ${Package}\nStatus: install ok installed\nVersion: ${Version}\nArchitecture: ${Architecture}\nMaintainer: x\nDescription: x\n' dpkg >"$t/status"
cat >"$t/apt.conf" <<EOF
Dir::Etc::main "/dev/null";
Dir::Etc::parts "$t/empty";
Dir::Etc::sourcelist "$t/sources.list";
Dir::Etc::sourceparts "$t/empty";
Dir::Etc::preferences "$t/preferences";
Dir::Etc::preferencesparts "$t/empty";
Dir::State "$t/state";
Dir::State::status "$t/status";
Dir::Cache "$t/cache";
Dir::Log "$t/log";
APT::Architecture "$arch";
APT::Architectures { "$arch"; };
APT::Get::Simulate "true";
APT::Sandbox::User "root";
Acquire::Retries "0";
Acquire::Languages "none";
EOF
export APT_CONFIG="$t/apt.conf"
etc_before=$(find /etc/apt -type f -exec sha256sum {} + | sort)

# run_setup 'SHELL CODE' [ENV=VALUE...]: runs setup.sh's main after the code,
# which sets its package lists. Output in $t/out, every root command in
# $t/calls. Whether i386 programs run is up to I386 (default: no), whether
# wine32:i386 is installed to WINE32 (default: no); the private root of
# 32-bit Wine is only asked for (each call in $t/calls, failing with
# ROOT_FAILS), and the locale is left alone.
run_setup() {
  local code="$1"
  shift
  : >"$t/calls"
  rc=0
  env TMPDIR="$t/tmp" "$@" bash -c '
    source "$0/scripts/setup.sh"
    t="$1"
    UPDATE_PAUSE=0
    as_root() { echo "$*" >>"$t/calls"; "$@"; }
    can_run_i386() { [ -n "${I386:-}" ]; }
    has_wine32() { [ -n "${WINE32:-}" ]; }
    wine32_root() {
      echo "wine32-root $*" >>"$t/calls"
      [ -z "${ROOT_FAILS:-}" ] || { echo "$ROOT_FAILS" >&2; return 1; }
    }
    ensure_locale() { :; }
    eval "$2"
    main' "$root" "$t" "$code" >"$t/out" 2>&1 || rc=$?
}

. "$root/tests/setup/checks.sh"
called() { grep -c "$@" "$t/calls" || true; }

# Everything installed: silent, and apt is not run.
run_setup 'PACKAGES=(dpkg)'
check "installed: exit 0" [ "$rc" -eq 0 ]
check "installed: silent" [ ! -s "$t/out" ]
check "installed: no apt" [ ! -s "$t/calls" ]

# Forced, with one source unreachable: the others are fetched, a warning
# names the one that failed, and set-up goes on.
run_setup 'PACKAGES=(dpkg)' VELMORA_SETUP_FORCE_UPDATE=1
check "unreachable source: exit 0" [ "$rc" -eq 0 ]
check "unreachable source: warning names it" says 'warning: apt-get update failed 3 times: http://127.0.0.1:9/.*Connection refused'
check "unreachable source: warned once, in one line" [ "$(grep -c warning "$t/out")" -eq 1 ]
check "unreachable source: tried 3 times" [ "$(called 'apt-get update')" -eq 3 ]
check "unreachable source: the reachable lists kept" \
  compgen -G "$t/state/lists/*velmora-security_main_binary-${arch}_Packages" >/dev/null
check "unreachable source: the install ran" [ "$(called 'apt-get install.* dpkg$')" -eq 1 ]

# The -security copy cannot be installed: one more try with it held below.
run_setup 'PACKAGES=(velmora-tool)'
check "security skew: exit 0" [ "$rc" -eq 0 ]
check "security skew: says it holds -security below" says 'held below the main suites'
check "security skew: two installs, the second pinned" \
  [ "$(called 'apt-get install.*Dir::Etc::Preferences=')" -eq 1 -a "$(called 'apt-get install')" -eq 2 ]
check "security skew: the pin does not stay" \
  [ "$(apt-cache policy velmora-tool | sed -n 's/^ *Candidate: //p')" = 1.1 ]

# No version can be installed: exit non-zero with apt's reason.
run_setup 'PACKAGES=(velmora-broken)'
check "unsatisfiable: fails" [ "$rc" -ne 0 ]
check "unsatisfiable: shows apt's reason" says 'velmora-broken : Depends: velmora-absent'

# Where i386 runs and wine32:i386 is not installed, the private root is made
# (or checked), refreshed when forced; a failure is a warning.
root_calls() { grep '^wine32-root' "$t/calls" | tr '\n' ';' || true; }
for row in \
  "i386, no wine32|I386=1|wine32-root make;|0|" \
  "i386, no wine32, forced|I386=1 VELMORA_SETUP_FORCE_UPDATE=1|wine32-root make --refresh;|0|" \
  "i386 with wine32:i386 installed|I386=1 WINE32=1||0|" \
  "no i386|VELMORA_SETUP_FORCE_UPDATE=1||0|" \
  "i386, the root fails|I386=1 ROOT_FAILS=no_network|wine32-root make;|0|warning: no 32-bit Wine: no_network; going on without it"; do
  IFS='|' read -r name envs calls code says_text <<<"$row"
  # shellcheck disable=SC2086  # the row's settings, one word each
  run_setup 'PACKAGES=(dpkg)' $envs
  check "$name: exit $code" [ "$rc" -eq "$code" ]
  check "$name: root calls" [ "$(root_calls)" = "$calls" ]
  if [ -n "$says_text" ]; then
    check "$name: says so" says "$says_text"
  fi
done
check "no architecture added" [ "$(called -e dpkg.*--add-architecture)" -eq 0 ]

check "/etc/apt unchanged" [ "$(find /etc/apt -type f -exec sha256sum {} + | sort)" = "$etc_before" ]
check "no temporary files left" [ -z "$(ls -A "$t/tmp")" ]

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
