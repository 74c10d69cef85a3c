#!/usr/bin/env bash
# Runs a Windows program under Wine in a private prefix with code page 936.
#   wine-run.sh --arch win32|win64|wow64 --prefix DIR [--own-dlls-only] [--code-page 936|1252] [--dpi N] PROGRAM [ARGS...]
#   wine-run.sh --arch win32|win64|wow64 --prefix DIR [--code-page 936|1252] [--dpi N] --print-env
#   wine-run.sh --arch win32|win64|wow64 --which
# Each build tree has its own launcher, BUILD/wine-run, that passes its
# bitness and prefix; scripts call that one.
#
# Each bitness runs its own loader explicitly: /usr/bin/wine always prefers
# the 32-bit one when it is installed, and a 64-bit prefix is no place for it.
# 32-bit Wine is the installed one (wine32:i386) where it is installed, else
# the private root that scripts/wine32-root.sh makes (its loader takes its
# interpreter and libraries from the root by itself). wow64 is a 64-bit prefix
# whose 32-bit programs run as under WOW64 on 64-bit Windows: the 64-bit
# loader with the 32-bit one beside it (the root's copy of the 64-bit loader
# where 32-bit Wine comes from the root); MinGW's DLLs are not on its path. --which prints which Wine that is,
# in one line, and exits 1 (the line saying why) when there is none.
#
# The prefix is made on first use (never the user's ~/.wine) for the bitness
# asked for; a prefix of the other bitness is refused. The MinGW runtime DLLs
# of that bitness are on the search path for programs that link them, unless
# --own-dlls-only asks for a program that must find them beside itself. With
# --print-env it prints that environment as shell `export` lines instead of
# running anything (for scripts that start Wine many times themselves: they
# call "$WINELOADER" and "$WINESERVER").
#
# --code-page 1252 runs the program as on a Western system instead: Wine's
# ANSI code page follows the locale, here en_US.UTF-8 (generated once into
# DIR-cp1252.locales when the system lacks it), in a prefix of its own,
# DIR-cp1252, whose registry is made under that code page.
#
# --dpi N runs the program on a display of N DPI (96 is 100 %, 144 is 150 %)
# in a prefix of its own, DIR-dpiN, whose LogPixels are set once when it is
# made (the user's and the machine's, which the fonts follow).
set -euo pipefail

usage() {
  echo "usage: $0 --arch win32|win64|wow64 --prefix DIR [--own-dlls-only] [--code-page 936|1252] [--dpi N] PROGRAM [ARGS...] | --print-env" >&2
  echo "       $0 --arch win32|win64|wow64 --which" >&2
  exit 2
}
[ "${1:-}" = "--arch" ] && [ $# -ge 2 ] || usage
arch="$2"
shift 2

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
installed32=/usr/lib/wine/wine

# Sets loader, server, triplet and wine (what --which prints) for $arch, or
# sets why there is no such Wine and returns 1.
pick_wine() {
  local root info
  case "$arch" in
    win64)
      loader=/usr/lib/wine/wine64
      server=/usr/lib/wine/wineserver64
      triplet=x86_64-w64-mingw32
      wine="installed 64-bit Wine"
      ;;
    win32|wow64)
      triplet=i686-w64-mingw32
      if [ -x "$installed32" ]; then
        if [ "$arch" = win32 ]; then
          loader=$installed32
          server=/usr/lib/wine/wineserver32
          [ -x "$server" ] || server=/usr/lib/wine/wineserver
          wine="installed 32-bit Wine (wine32:i386)"
        else
          loader=/usr/lib/wine/wine64
          server=/usr/lib/wine/wineserver64
          wine="installed 64-bit Wine with the installed 32-bit one beside it (wine32:i386)"
        fi
      else
        root=$("$here/wine32-root.sh" path)
        if ! info=$("$here/wine32-root.sh" info); then
          why="32-bit Wine is neither installed (wine32:i386) nor in the private root $root (scripts/setup.sh makes it)"
          [ ! -f "$root.failed" ] || why="$why: $(head -1 "$root.failed")"
          return 1
        fi
        if [ "$arch" = win32 ]; then
          loader=$root/usr/lib/wine/wine
          server=$root/usr/lib/wine/wineserver
          wine=$info
        else
          if [ ! -x "$root/usr/lib/wine/wine64" ]; then
            why="no 64-bit prefix can run 32-bit programs here: $info"
            return 1
          fi
          loader=$root/usr/lib/wine/wine64
          server=/usr/lib/wine/wineserver64
          wine="installed 64-bit Wine with the 32-bit one of the private root $root beside it"
        fi
      fi
      ;;
    *) usage ;;
  esac
  if [ ! -x "$loader" ]; then
    why="$loader is missing: Wine for $arch is not installed (scripts/setup.sh)"
    return 1
  fi
}

why=""
if [ "${1:-}" = "--which" ] && [ $# -eq 1 ]; then
  pick_wine && echo "$wine" || { echo "$why"; exit 1; }
  exit 0
fi
if ! pick_wine; then
  echo "wine-run: $why" >&2
  exit 127
fi

[ "${1:-}" = "--prefix" ] && [ $# -ge 3 ] || usage
prefix="$2"
shift 2
mingw_path=1
if [ "${1:-}" = "--own-dlls-only" ]; then
  mingw_path=0
  shift
fi
locale_name=zh_CN.UTF-8
if [ "${1:-}" = "--code-page" ] && [ $# -ge 2 ]; then
  case "$2" in
    936) ;;
    1252)
      locale_name=en_US.UTF-8
      prefix="${prefix%/}-cp1252"
      ;;
    *) usage ;;
  esac
  shift 2
fi
dpi=
if [ "${1:-}" = "--dpi" ] && [ $# -ge 2 ]; then
  case "$2" in
    ''|*[!0-9]*) usage ;;
  esac
  dpi="$2"
  prefix="${prefix%/}-dpi$dpi"
  shift 2
fi

wine_arch=$arch
[ "$arch" != wow64 ] || wine_arch=win64

# Wine accepts only an absolute prefix.
mkdir -p "$prefix"
prefix=$(cd "$prefix" && pwd)

export WINEPREFIX="$prefix"
export WINEARCH="$wine_arch"
export WINELOADER="$loader"
export WINESERVER="$server"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ "$locale_name" != zh_CN.UTF-8 ] && ! locale -a 2>/dev/null | grep -qix 'en_US.utf-\?8'; then
  # Without the locale Wine still takes its code page from the name, but
  # file names outside ASCII arrive mangled: generate it for this prefix.
  locales="$prefix.locales"
  if [ ! -d "$locales/$locale_name" ]; then
    mkdir -p "$locales"
    localedef -i en_US -f UTF-8 "$locales/$locale_name" >/dev/null 2>&1 ||
      { echo "wine-run: cannot generate the locale $locale_name" >&2; exit 127; }
  fi
  export LOCPATH="$locales"
fi
# (bash itself cannot load a locale generated here: its warning is no news.)
{ export LC_ALL="$locale_name"; } 2>/dev/null

# In a wow64 prefix Wine's own 64-bit programs run beside the 32-bit one and
# would take MinGW's 32-bit zlib1.dll from that folder for theirs (wineboot
# then fails to load kernel32): its 32-bit programs bring their DLLs along.
[ "$arch" != wow64 ] || mingw_path=0
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
      if [ -n "$dpi" ]; then
        "$loader" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
        "$loader" reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
            /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
      fi
      # The DPI is read when the wineserver starts: it ends here.
      "$server" -w
      echo "$arch" >"$ready"
    fi
  ) 9>"$WINEPREFIX.lock"
fi

if [ "$1" = "--print-env" ]; then
  for name in WINEPREFIX WINEARCH WINELOADER WINESERVER WINEDEBUG WINEDLLOVERRIDES LC_ALL LOCPATH WINEPATH; do
    if [ -n "${!name+set}" ]; then
      printf 'export %s=%q\n' "$name" "${!name}"
    else
      printf 'unset %s\n' "$name"
    fi
  done
  exit 0
fi
exec "$loader" "$@"
