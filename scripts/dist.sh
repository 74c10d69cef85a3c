#!/usr/bin/env bash
# Puts together what people take away, from finished builds:
#   OUT/Velmora.exe                 the tool for 32-bit Windows, stripped (--win32)
#   OUT/Velmora64.exe               the tool for 64-bit Windows, stripped (--win64)
#   OUT/Velmora.com, OUT/Velmora64.com  their console twins, beside them, stripped
#   OUT/velmora-VERSION-win32.zip   the release for 32-bit Windows: Velmora.exe, Velmora.com,
#                                   LICENSE and README.txt at the zip's root (--win32)
#   OUT/velmora-VERSION-win64.zip   the same for 64-bit Windows, the same names inside (--win64)
#   OUT/velmora-sdk-VERSION-win32.zip  the library for 32-bit Windows programs (--win32)
#   OUT/velmora-sdk-VERSION-win64.zip  the library for 64-bit Windows programs (--win64)
#   OUT/velmora-VERSION-linux-x86_64.tar.gz  the library for Linux programs: include/velmora,
#                                   lib/libvelmora.so (--native)
#   each archive with its SHA-256 beside it (NAME.sha256, as sha256sum writes it), and, when
#   both Windows builds are named, OUT/manifests/: the Scoop, winget and Chocolatey manifests
#   rendered from scripts/manifests/ (scripts/render-manifests.sh).
#
# VERSION is the project's one version (project() in CMakeLists.txt).
#   dist.sh OUT [--win32 BUILD] [--win64 BUILD] [--native BUILD]
# What no build is named for is left out.
set -euo pipefail

usage() { echo "usage: $0 OUT [--win32 BUILD] [--win64 BUILD] [--native BUILD]" >&2; exit 2; }
[ $# -ge 1 ] || usage
out="$1"
shift
win32="" win64="" native=""
while [ $# -gt 0 ]; do
  [ $# -ge 2 ] || usage
  case "$1" in
    --win32) win32="$2" ;;
    --win64) win64="$2" ;;
    --native) native="$2" ;;
    *) usage ;;
  esac
  shift 2
done
root=$(cd "$(dirname "$0")/.." && pwd)
version=$(sed -n 's/^project(Velmora VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
[ -n "$version" ] || { echo "dist: no version in CMakeLists.txt" >&2; exit 1; }

size_of() { stat -c %s "$1"; }
kib() { echo "$(( ($1 + 1023) / 1024 )) KiB"; }
# NAME.sha256 beside the archive NAME in OUT.
checksum() { (cd "$out" && sha256sum "$1" >"$1.sha256"); }

mkdir -p "$out"
out=$(cd "$out" && pwd)
stage=$(mktemp -d "$out/.stage.XXXXXX")
trap 'rm -rf "$stage"' EXIT

# The tool and the SDK of one bitness.
#   windows_dist 32|64 BUILD
windows_dist() {
  local bits="$1" build="$2" triplet unwinder exe_name target exceptions debian_target msys2
  if [ "$bits" = 32 ]; then
    triplet=i686-w64-mingw32 unwinder=libgcc_s_dw2-1.dll exe_name=Velmora.exe
    target=i686 exceptions=DWARF-2 debian_target=i686 msys2=mingw32
  else
    triplet=x86_64-w64-mingw32 unwinder=libgcc_s_seh-1.dll exe_name=Velmora64.exe
    target=x86_64 exceptions=SEH debian_target=x86-64 msys2="mingw64 (not UCRT64)"
  fi
  local strip="$triplet-strip" cxx="$triplet-g++-posix"

  local exe="$build/app/Velmora.exe"
  [ -f "$exe" ] || { echo "dist: $exe is not built" >&2; exit 1; }
  "$strip" --strip-all -o "$out/$exe_name" "$exe"
  echo "dist: $exe_name $(size_of "$exe") bytes built, $(size_of "$out/$exe_name") bytes stripped ($(kib "$(size_of "$out/$exe_name")"))"
  # The console twin of the same base name: "velmora" (or "velmora64")
  # typed in a terminal finds it before the window program.
  local com="$build/app/Velmora.com" com_name="${exe_name%.exe}.com"
  [ -f "$com" ] || { echo "dist: $com is not built" >&2; exit 1; }
  "$strip" --strip-all -o "$out/$com_name" "$com"
  echo "dist: $com_name $(size_of "$com") bytes built, $(size_of "$out/$com_name") bytes stripped ($(kib "$(size_of "$out/$com_name")"))"

  # velmora.dll needs the two runtime DLLs of the shared unwinder (the
  # unwinder and, for it, libwinpthread-1.dll): the string layer's
  # exceptions reach a caller only when both modules unwind through the same
  # one. The C++ library itself is linked in statically on both sides.
  # The release: the same two names for both bitnesses, so that one
  # manifest serves both.
  local release="$stage/release-win$bits" zip="velmora-$version-win$bits.zip"
  mkdir -p "$release"
  cp "$out/$exe_name" "$release/Velmora.exe"
  cp "$out/$com_name" "$release/Velmora.com"
  cp "$root/LICENSE" "$release/LICENSE"
  sed -e "s/@VERSION@/$version/g" -e "s/@BITS@/$bits/g" -e 's/$/\r/' "$root/scripts/manifests/README.txt.in" \
    >"$release/README.txt"
  rm -f "$out/$zip"
  (cd "$release" && zip -q -X "$out/$zip" Velmora.exe Velmora.com LICENSE README.txt)
  checksum "$zip"
  echo "dist: $zip $(size_of "$out/$zip") bytes"

  local name="velmora-sdk-win$bits"
  local sdk="$stage/$name"
  mkdir -p "$sdk/include" "$sdk/bin" "$sdk/lib" "$sdk/example"
  cp -r "$root/include/velmora" "$sdk/include/"
  "$strip" --strip-all -o "$sdk/bin/velmora.dll" "$build/app/velmora.dll"
  for dll in "$unwinder" libwinpthread-1.dll; do
    "$strip" --strip-unneeded -o "$sdk/bin/$dll" "$("$cxx" -print-file-name=$dll)"
  done
  cp "$build/lib/libvelmora.dll.a" "$sdk/lib/"
  sed -e "s/@BITS@/$bits/g" -e "s/@TARGET@/$target/g" -e "s/@EXCEPTIONS@/$exceptions/g" \
      -e "s/@DEBIAN_TARGET@/$debian_target/g" -e "s/@MSYS2@/$msys2/g" -e "s/@UNWINDER@/$unwinder/g" \
      "$root/docs/sdk/README.txt" >"$sdk/README.txt"
  cp "$root/docs/sdk/example/consumer.cpp" "$root/docs/sdk/example/build-command.txt" "$sdk/example/"
  cp "$root/LICENSE" "$sdk/LICENSE"
  local sdk_zip="velmora-sdk-$version-win$bits.zip"
  rm -f "$out/$sdk_zip"
  (cd "$stage" && zip -q -X -r "$out/$sdk_zip" "$name")
  checksum "$sdk_zip"
  echo "dist: $sdk_zip $(size_of "$out/$sdk_zip") bytes ($(du -sb "$sdk" | cut -f1) bytes unpacked)"
}

[ -z "$win32" ] || windows_dist 32 "$win32"
[ -z "$win64" ] || windows_dist 64 "$win64"
if [ -n "$win32" ] && [ -n "$win64" ]; then
  "$root/scripts/render-manifests.sh" "$out" "$version"
fi

# The Linux library.
if [ -n "$native" ]; then
  so="$native/libvelmora.so"
  [ -f "$so" ] || { echo "dist: $so is not built" >&2; exit 1; }
  linux="$stage/velmora-linux-x86_64"
  mkdir -p "$linux/include" "$linux/lib"
  cp -r "$root/include/velmora" "$linux/include/"
  cp "$root/LICENSE" "$linux/LICENSE"
  strip --strip-unneeded -o "$linux/lib/libvelmora.so" "$so"
  tarball="velmora-$version-linux-x86_64.tar.gz"
  tar -C "$stage" -czf "$out/$tarball" velmora-linux-x86_64
  checksum "$tarball"
  echo "dist: $tarball $(size_of "$out/$tarball") bytes"
fi
