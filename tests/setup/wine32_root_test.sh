#!/usr/bin/env bash
# Checks scripts/wine32-root.sh against a package repository made here (file:,
# i386): the private root is made once, reused while nothing changed, made
# afresh when a package's version or the installed 64-bit Wine changed, and a
# failure is remembered. The "i386" packages hold the host's own loader,
# libc and /bin/true, so the patched loader really starts from the root.
# Needs neither the network nor root; the machine's apt and dpkg stay as
# they were.
#   tests/setup/wine32_root_test.sh
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
t=$(mktemp -d)
trap 'rm -rf "$t"' EXIT

host_lib=$(dirname "$(readlink -f "$(ldd /bin/true | awk '/libc.so.6/ { print $3 }')")")
host_ld=$(readlink -f "$(readelf -l /bin/true | sed -n 's/.*interpreter: \(.*\)\]/\1/p')")

# deb NAME VERSION [DEPENDS]: a package of the files below $t/files/NAME.
deb() {
  local dir="$t/build/$1_$2"
  rm -rf "$dir"
  mkdir -p "$dir/DEBIAN" "$t/repo/pool"
  [ ! -d "$t/files/$1" ] || cp -a "$t/files/$1/." "$dir/"
  {
    printf 'Package: %s\nVersion: %s\nArchitecture: i386\nMaintainer: Velmora tests <tests@invalid>\n' "$1" "$2"
    [ -z "${3:-}" ] || printf 'Depends: %s\n' "$3"
    printf 'Description: test package\n'
  } >"$dir/DEBIAN/control"
  dpkg-deb -Zgzip -b "$dir" "$t/repo/pool/$1_$2_i386.deb" >/dev/null
}
# Publishes every package in the pool, the newest of each name.
publish() {
  local d="$t/repo/dists/bookworm/main/binary-i386"
  mkdir -p "$d"
  (cd "$t/repo" && dpkg-scanpackages -m pool 2>/dev/null) >"$d/Packages"
  printf 'Suite: bookworm\nCodename: bookworm\nArchitectures: i386\nComponents: main\nDate: %s\nSHA256:\n %s %s main/binary-i386/Packages\n' \
    "$(date -Ru)" "$(sha256sum <"$d/Packages" | cut -d' ' -f1)" "$(stat -c %s "$d/Packages")" >"$t/repo/dists/bookworm/Release"
}
mkdir -p "$t/files/libc6/lib/i386-linux-gnu" "$t/files/wine32/usr/lib/wine" \
  "$t/files/libwine/usr/lib/i386-linux-gnu/wine/i386-windows" "$t/files/libwine/usr/i686-w64-mingw32/lib"
cp "$host_ld" "$t/files/libc6/lib/i386-linux-gnu/ld-linux.so.2"
cp "$host_lib/libc.so.6" "$t/files/libc6/lib/i386-linux-gnu/"
cp /bin/true "$t/files/wine32/usr/lib/wine/wine"
cp /bin/true "$t/files/wine32/usr/lib/wine/wineserver32"
head -c 300 /dev/urandom >"$t/files/libwine/usr/i686-w64-mingw32/lib/zlib1.dll"
deb libc6 1.0
deb libwine 1.0 libc6
deb wine32 1.0 "libc6, libwine (= 1.0)"
publish

mkdir -p "$t/empty"
echo "deb [trusted=yes] file:$t/repo bookworm main" >"$t/sources.list"
cat >"$t/apt.conf" <<EOF
Dir::Etc::main "/dev/null";
Dir::Etc::parts "$t/empty";
Dir::Etc::sourcelist "$t/sources.list";
Dir::Etc::sourceparts "$t/empty";
Dir::Etc::preferencesparts "$t/empty";
Acquire::Retries "0";
EOF
export APT_CONFIG="$t/apt.conf"
machine_before=$(find /etc/apt /var/lib/dpkg/status -type f -exec sha256sum {} + | sort)
touch "$t/wine64"
chmod +x "$t/wine64"
echo 1.0 >"$t/wine64.version"

# run_make [--refresh]: wine32-root.sh make with the root at $t/root and the
# installed 64-bit Wine at the version in $t/wine64.version. Output in
# $t/out.
root="$t/root"
run_make() {
  rc=0
  VELMORA_WINE32_ROOT="$root" bash -c '
    source "$0/scripts/wine32-root.sh"
    t="$1"
    WANTED=(wine32 libwine)
    WINE64_LOADER="$t/wine64"
    installed_wine64_version() { cat "$t/wine64.version"; }
    make_root "$2"' "$src" "$t" "${1:+refresh}" >"$t/out" 2>&1 || rc=$?
}

. "$src/tests/setup/checks.sh"
stamp() { sed -n "s/^$1 //p" "$root/.velmora-root"; }
interpreter() { readelf -l "$root/usr/lib/wine/$1" | sed -n 's/.*interpreter: \(.*\)\]/\1/p'; }
# A file put into the root shows whether the next run made it afresh.
mark() { touch "$root/marker"; }
kept() { [ -e "$root/marker" ]; }
made_afresh() { [ "$rc" -eq 0 ] && ! kept; }
# which ARCH ROOT PATTERN [STATUS]: wine-run.sh --which with that root exits
# with STATUS (default 0) and says PATTERN. Where wine32:i386 is installed
# that one is used instead: nothing to check.
which() {
  local out status=0
  [ ! -x /usr/lib/wine/wine ] || return 0
  out=$(VELMORA_WINE32_ROOT="$2" "$src/scripts/wine-run.sh" --arch "$1" --which) || status=$?
  [ "$status" -eq "${4:-0}" ] && grep -q -e "$3" <<<"$out"
}
lists_read() { find "$root.apt/updated" -newer "$t/since" | grep -q .; }
lists_not_read() { ! lists_read; }
since() { sleep 0.01; touch "$t/since"; }

run_make
check "first: exit 0" [ "$rc" -eq 0 ]
check "first: says it makes the root" says "making 32-bit Wine 1.0 in $root (3 i386 packages)"
check "first: the stamp names the versions" [ "$(stamp wine32)/$(stamp wow64)" = "1.0/yes" ]
check "first: the packages listed" [ "$(stamp package | tr '\n' ' ')" = "libc6 1.0 i386 libwine 1.0 i386 wine32 1.0 i386 " ]
check "first: the loader's interpreter is the root's" [ "$(interpreter wine)" = "$root/lib/i386-linux-gnu/ld-linux.so.2" ]
check "first: so is the server's" [ "$(interpreter wineserver32)" = "$root/lib/i386-linux-gnu/ld-linux.so.2" ]
check "first: the libraries come from the root" \
  sh -c "readelf -d '$root/usr/lib/wine/wine' | grep -q 'Library rpath: \[$root/lib/i386-linux-gnu:'"
check "first: the loader starts from the root" "$root/usr/lib/wine/wine"
check "first: zlib1.dll made builtin" \
  [ "$(tail -c +65 "$root/usr/lib/i386-linux-gnu/wine/i386-windows/zlib1.dll" | head -c 16)" = "Wine builtin DLL" ]
check "first: the 64-bit loader copied beside it" cmp -s "$t/wine64" "$root/usr/lib/wine/wine64"
check "first: its wineserver is the installed 64-bit one" grep -q '^exec "/usr/lib/wine/wineserver64" -p0' "$root/usr/lib/wine/wineserver"
check "first: wine-run names the root" which win32 "$root" "Wine 1.0 from the private root $root, WOW64"

mark
since
run_make
check "again: exit 0, silent" [ "$rc" -eq 0 -a ! -s "$t/out" ]
check "again: the lists not read" lists_not_read
check "again: the root kept" kept

since
run_make --refresh
check "refreshed, nothing new: exit 0, silent" [ "$rc" -eq 0 -a ! -s "$t/out" ]
check "refreshed, nothing new: the lists read" lists_read
check "refreshed, nothing new: the root kept" kept

deb libc6 1.1
publish
run_make
check "a new version, lists less than a day old: the root kept" kept
touch -d '2 days ago' "$root.apt/updated"
run_make
check "a new version, old lists: made afresh" made_afresh
check "a new version, old lists: with it" [ "$(stamp package | head -1)" = "libc6 1.1 i386" ]

# wine32 1.1 appears; while the 64-bit Wine stays at 1.0 the root keeps 1.0.
deb libwine 1.1 libc6
deb wine32 1.1 "libc6, libwine (= 1.1)"
publish
mark
run_make --refresh
check "wine32 1.1 beside a 64-bit 1.0: kept at 1.0" [ "$(stamp wine32)" = 1.0 ]
check "wine32 1.1 beside a 64-bit 1.0: the root kept" kept
echo 1.1 >"$t/wine64.version"
run_make
check "the 64-bit Wine moved to 1.1: made afresh" made_afresh
check "the 64-bit Wine moved to 1.1: at 1.1" [ "$(stamp wine32)/$(stamp wow64)" = "1.1/yes" ]
echo 2.0 >"$t/wine64.version"
run_make
check "a 64-bit Wine the lists lack: the newest, no WOW64" \
  [ "$(stamp wine32)/$(stamp wow64)" = "1.1/the installed 64-bit Wine is 2.0" -a ! -e "$root/usr/lib/wine/wine64" ]
check "no WOW64: the root's own wineserver" grep -q "^exec \"$root/usr/lib/wine/wineserver32\" -p0" "$root/usr/lib/wine/wineserver"
check "no WOW64: wine-run says why" which wow64 "$root" 'no 64-bit prefix can run 32-bit programs here: .*is 2.0' 1

# A root that cannot be made: the reason is kept, and plain runs wait.
root="$t/other-root"
echo 'deb [trusted=yes] file:/nonexistent bookworm main' >"$t/sources.list"
run_make
check "no packages: fails" [ "$rc" -ne 0 ]
check "no packages: says why" says 'cannot be resolved'
check "no packages: remembered" [ -s "$root.failed" ]
check "no packages: wine-run says why" which win32 "$root" 'nor in the private root.*cannot be resolved' 1
since
run_make
check "failed before: fails" [ "$rc" -ne 0 ]
check "failed before: says when it is tried again" says 'its making failed at .* tried again after'
check "failed before: the lists not read" lists_not_read
echo "deb [trusted=yes] file:$t/repo bookworm main" >"$t/sources.list"
run_make --refresh
check "failed before, refreshed: made" [ "$rc" -eq 0 -a -f "$root/.velmora-root" -a ! -e "$root.failed" ]

check "the machine's apt and dpkg unchanged" \
  [ "$(find /etc/apt /var/lib/dpkg/status -type f -exec sha256sum {} + | sort)" = "$machine_before" ]

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
