#!/usr/bin/env bash
# Runs a Windows program under Wine in a private prefix with code page 936.
#   wine-run.sh --prefix DIR [--own-dlls-only] PROGRAM [ARGS...]
#   wine-run.sh --prefix DIR --print-env
# The prefix is made on first use (never the user's ~/.wine). The MinGW
# runtime DLLs are on the search path for programs that link them, unless
# --own-dlls-only asks for a program that must find them beside itself. With
# --print-env it prints that environment as shell `export` lines instead of
# running anything (for scripts that start wine many times themselves).
set -euo pipefail

if [ "${1:-}" != "--prefix" ] || [ $# -lt 3 ]; then
  echo "usage: $0 --prefix DIR PROGRAM [ARGS...] | --print-env" >&2
  exit 2
fi
prefix="$2"
shift 2
mingw_path=1
if [ "${1:-}" = "--own-dlls-only" ]; then
  mingw_path=0
  shift
fi
# Wine accepts only an absolute prefix.
mkdir -p "$prefix"
prefix=$(cd "$prefix" && pwd)

export WINEPREFIX="$prefix"
export WINEARCH=win32
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export LC_ALL=zh_CN.UTF-8

if [ "$mingw_path" = 1 ]; then
  gcc_dll_dir=$(dirname "$(i686-w64-mingw32-g++-posix -print-libgcc-file-name 2>/dev/null || echo /nonexistent/x)")
  export WINEPATH="Z:${gcc_dll_dir//\//\\};Z:\\usr\\i686-w64-mingw32\\lib${WINEPATH:+;$WINEPATH}"
else
  unset WINEPATH
fi

if [ ! -f "$WINEPREFIX/.velmora-ready" ]; then
  mkdir -p "$WINEPREFIX"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.velmora-ready" ]; then
      wineboot -i >/dev/null 2>&1
      # A crashing test program ends with its exit code instead of waiting
      # in Wine's debugger.
      wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
          /v Debugger /t REG_SZ /d 'false' /f >/dev/null 2>&1 || true
      wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
          /v Auto /t REG_SZ /d '1' /f >/dev/null 2>&1 || true
      wineserver -w
      touch "$WINEPREFIX/.velmora-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
fi

if [ "$1" = "--print-env" ]; then
  for name in WINEPREFIX WINEARCH WINEDEBUG WINEDLLOVERRIDES LC_ALL WINEPATH; do
    if [ -n "${!name+set}" ]; then
      printf 'export %s=%q\n' "$name" "${!name}"
    else
      printf 'unset %s\n' "$name"
    fi
  done
  exit 0
fi
exec wine "$@"
