#!/usr/bin/env bash
# The release as a user gets it: scripts/dist.sh run on this build, the SDK
# zip unpacked into an empty directory, its example built there with the
# command line the SDK gives and nothing of the source tree, and run under
# Wine with only the DLLs the SDK ships; then the stripped Velmora.exe.
#
#   dist_test.sh WINDOWS_BUILD VERSION_CHECK_EXE WORK_DIR
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
version_check=$(realpath "$2")
work="$3"
largest_exe=$((512 * 1024))

fail() { echo "dist_test: FAIL: $*" >&2; exit 1; }
rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd)

"$root/scripts/dist.sh" "$work/dist" "$build"

# The SDK, unpacked on its own.
mkdir "$work/user"
(cd "$work/user" && unzip -q "$work/dist/velmora-sdk-win32.zip")
sdk="$work/user/velmora-sdk-win32"
for f in include/velmora/velmora.h include/velmora/CString.h lib/libvelmora.dll.a bin/velmora.dll \
         example/consumer.cpp example/build-command.txt README.txt; do
  [ -f "$sdk/$f" ] || fail "the SDK lacks $f"
done
dlls=$(cd "$sdk/bin" && ls *.dll | sort | tr '\n' ' ')
[ "$dlls" = "libgcc_s_dw2-1.dll libwinpthread-1.dll velmora.dll " ] || fail "the SDK's DLLs are: $dlls"
for dll in "$sdk"/bin/*.dll; do
  if i686-w64-mingw32-objdump -h "$dll" | grep -q ' \.debug_'; then fail "$(basename "$dll") is not stripped"; fi
done
# Every DLL that velmora.dll imports is a system DLL or one of the SDK's.
for import in $(i686-w64-mingw32-objdump -p "$sdk/bin/velmora.dll" | sed -n 's/.*DLL Name: //p'); do
  case "$(echo "$import" | tr 'A-Z' 'a-z')" in
    kernel32.dll|user32.dll|gdi32.dll|advapi32.dll|shell32.dll|ole32.dll|comctl32.dll|msvcrt.dll) ;;
    *) [ -f "$sdk/bin/$import" ] || fail "velmora.dll imports $import, which the SDK lacks" ;;
  esac
done

# The example, built with the SDK's one command line (g++ being the
# cross compiler here) in the SDK's folder.
command=$(head -1 "$sdk/example/build-command.txt")
case "$command" in g++\ *) ;; *) fail "the build command does not start with g++: $command" ;; esac
case "$command" in *"$root"*|*/work/*) fail "the build command reaches outside the SDK: $command" ;; esac
(cd "$sdk" && env -u CPATH -u CPLUS_INCLUDE_PATH -u LIBRARY_PATH \
   i686-w64-mingw32-g++-posix ${command#g++ }) || fail "the example does not build: $command"
[ -f "$sdk/bin/consumer.exe" ] || fail "the build command made no bin/consumer.exe"
output=$(cd "$sdk/bin" && "$root/scripts/wine-run.sh" --prefix "$build/wineprefix" --own-dlls-only ./consumer.exe 2>&1) ||
  fail "the example failed under Wine: $output"
echo "$output"
echo "$output" | grep -q "caught CStringError 0x80070057" || fail "the library's error did not reach the example"

# The tool: stripped, small enough, and named in its version information.
exe="$work/dist/Velmora.exe"
size=$(stat -c %s "$exe")
[ "$size" -le "$largest_exe" ] || fail "Velmora.exe is $size bytes, more than $largest_exe"
if i686-w64-mingw32-objdump -h "$exe" | grep -q ' \.debug_'; then fail "Velmora.exe is not stripped"; fi
"$root/scripts/wine-run.sh" --prefix "$build/wineprefix" "$version_check" "$exe"
echo "dist_test: all checks passed"
