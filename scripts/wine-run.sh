#!/usr/bin/env bash
# Runs a Windows program under Wine in a private prefix with code page 936.
#   wine-run.sh --arch win32|win64 --prefix DIR [--own-dlls-only] PROGRAM [ARGS...]
#   wine-run.sh --arch win32|win64 --prefix DIR --print-env
# Each build tree has its own launcher, BUILD/wine-run, that passes its
# bitness and prefix; scripts call that one.
#
# Each bitness runs its own loader explicitly: /usr/bin/wine always prefers
# the 32-bit one when it is installed, and a 64-bit prefix is no place for it.
# The prefix is made on first use (never the user's ~/.wine) for the bitness
# asked for; a prefix of the other bitness is refused. The MinGW runtime DLLs
# of that bitness are on the search path for programs that link them, unless
# --own-dlls-only asks for a program that must find them beside itself. With
# --print-env it prints that environment as shell `export` lines instead of
# running anything (for scripts that start Wine many times themselves: they
# call "$WINELOADER" and "$WINESERVER").
set -euo pipefail

usage() {
  echo "usage: $0 --arch win32|win64 --prefix DIR [--own-dlls-only] PROGRAM [ARGS...] | --print-env" >&2
  exit 2
}
[ "${1:-}" = "--arch" ] && [ $# -ge 2 ] || usage
arch="$2"
shift 2
[ "${1:-}" = "--prefix" ] && [ $# -ge 3 ] || usage
prefix="$2"
shift 2
mingw_path=1
if [ "${1:-}" = "--own-dlls-only" ]; then
  mingw_path=0
  shift
fi

case "$arch" in
  win64)
    loader=/usr/lib/wine/wine64
    server=/usr/lib/wine/wineserver64
    triplet=x86_64-w64-mingw32
    ;;
  win32)
    loader=/usr/lib/wine/wine
    server=/usr/lib/wine/wineserver32
    [ -x "$server" ] || server=/usr/lib/wine/wineserver
    triplet=i686-w64-mingw32
    ;;
  *) usage ;;
esac
if [ ! -x "$loader" ]; then
  echo "wine-run: $loader is missing: Wine for $arch is not installed (scripts/setup.sh)" >&2
  exit 127
fi

# Wine accepts only an absolute prefix.
mkdir -p "$prefix"
prefix=$(cd "$prefix" && pwd)

export WINEPREFIX="$prefix"
export WINEARCH="$arch"
export WINELOADER="$loader"
export WINESERVER="$server"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LC_ALL=zh_CN.UTF-8

if [ "$mingw_path" = 1 ]; then
  gcc_dll_dir=$(dirname "$("$triplet-g++-posix" -print-libgcc-file-name 2>/dev/null || echo /nonexistent/x)")
  export WINEPATH="Z:${gcc_dll_dir//\//\\};Z:\\usr\\$triplet\\lib${WINEPATH:+;$WINEPATH}"
else
  unset WINEPATH
fi

ready="$WINEPREFIX/.velmora-ready"
if [ -f "$ready" ] && [ "$(cat "$ready")" != "$arch" ]; then
  echo "wine-run: $WINEPREFIX is a $(cat "$ready") prefix, not $arch; remove it to start afresh" >&2
  exit 2
fi
if [ ! -f "$ready" ]; then
  (
    flock 9
    if [ ! -f "$ready" ]; then
      "$loader" wineboot -i >/dev/null 2>&1
      # A crashing test program ends with its exit code instead of waiting
      # in Wine's debugger.
      "$loader" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
          /v Debugger /t REG_SZ /d 'false' /f >/dev/null 2>&1 || true
      "$loader" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
          /v Auto /t REG_SZ /d '1' /f >/dev/null 2>&1 || true
      "$server" -w
      echo "$arch" >"$ready"
    fi
  ) 9>"$WINEPREFIX.lock"
fi

if [ "$1" = "--print-env" ]; then
  for name in WINEPREFIX WINEARCH WINELOADER WINESERVER WINEDEBUG WINEDLLOVERRIDES LC_ALL WINEPATH; do
    if [ -n "${!name+set}" ]; then
      printf 'export %s=%q\n' "$name" "${!name}"
    else
      printf 'unset %s\n' "$name"
    fi
  done
  exit 0
fi
exec "$loader" "$@"
