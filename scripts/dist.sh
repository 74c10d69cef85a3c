#!/usr/bin/env bash
# Puts together what people take away, from finished builds:
#   OUT/Velmora.exe                 the tool, stripped
#   OUT/velmora-sdk-win32.zip       the library for Windows programs (see docs/sdk/README.txt)
#   OUT/velmora-linux-x86_64.tar.gz the library for Linux programs: include/velmora, lib/libvelmora.so
#
#   dist.sh OUT WINDOWS_BUILD [NATIVE_BUILD]
# Without NATIVE_BUILD the Linux archive is left out.
set -euo pipefail

out="$1"
windows="$2"
native="${3:-}"
root=$(cd "$(dirname "$0")/.." && pwd)
cxx=i686-w64-mingw32-g++-posix
strip_win=i686-w64-mingw32-strip

size_of() { stat -c %s "$1"; }
kib() { echo "$(( ($1 + 1023) / 1024 )) KiB"; }

mkdir -p "$out"
out=$(cd "$out" && pwd)
stage=$(mktemp -d "$out/.stage.XXXXXX")
trap 'rm -rf "$stage"' EXIT

# The tool.
exe="$windows/app/Velmora.exe"
[ -f "$exe" ] || { echo "dist: $exe is not built" >&2; exit 1; }
"$strip_win" --strip-all -o "$out/Velmora.exe" "$exe"
echo "dist: Velmora.exe $(size_of "$exe") bytes built, $(size_of "$out/Velmora.exe") bytes stripped ($(kib "$(size_of "$out/Velmora.exe")"))"

# The Windows SDK. velmora.dll needs the two runtime DLLs of the shared
# unwinder (libgcc_s_dw2-1.dll and, for it, libwinpthread-1.dll): the
# string layer's exceptions reach a caller only when both modules unwind
# through the same one. The C++ library itself is linked in statically on
# both sides.
sdk="$stage/velmora-sdk-win32"
mkdir -p "$sdk/include" "$sdk/bin" "$sdk/lib" "$sdk/example"
cp -r "$root/include/velmora" "$sdk/include/"
"$strip_win" --strip-all -o "$sdk/bin/velmora.dll" "$windows/app/velmora.dll"
for dll in libgcc_s_dw2-1.dll libwinpthread-1.dll; do
  "$strip_win" --strip-unneeded -o "$sdk/bin/$dll" "$("$cxx" -print-file-name=$dll)"
done
cp "$windows/lib/libvelmora.dll.a" "$sdk/lib/"
cp "$root/docs/sdk/README.txt" "$sdk/"
cp "$root/docs/sdk/example/consumer.cpp" "$root/docs/sdk/example/build-command.txt" "$sdk/example/"
rm -f "$out/velmora-sdk-win32.zip"
(cd "$stage" && zip -q -X -r "$out/velmora-sdk-win32.zip" velmora-sdk-win32)
echo "dist: velmora-sdk-win32.zip $(size_of "$out/velmora-sdk-win32.zip") bytes ($(du -sb "$sdk" | cut -f1) bytes unpacked)"

# The Linux library.
if [ -n "$native" ]; then
  so="$native/libvelmora.so"
  [ -f "$so" ] || { echo "dist: $so is not built" >&2; exit 1; }
  linux="$stage/velmora-linux-x86_64"
  mkdir -p "$linux/include" "$linux/lib"
  cp -r "$root/include/velmora" "$linux/include/"
  strip --strip-unneeded -o "$linux/lib/libvelmora.so" "$so"
  tar -C "$stage" -czf "$out/velmora-linux-x86_64.tar.gz" velmora-linux-x86_64
  echo "dist: velmora-linux-x86_64.tar.gz $(size_of "$out/velmora-linux-x86_64.tar.gz") bytes"
fi
