#!/usr/bin/env bash
# The release of one bitness as a user gets it: scripts/dist.sh run on this
# build, the SDK zip unpacked into an empty directory and its contents
# checked, and the stripped program checked from its bytes (pe_check.py).
# With --run, also what needs Wine of that bitness: the SDK's example built
# there with the command line the SDK gives and nothing of the source tree,
# and run with only the DLLs the SDK ships; the program's version
# information read the way Windows reads it, and the console twin's
# --version: the version resource, the manifest and the console all give the
# project's version (VelmoraVersion.h of the build).
#
#   dist_test.sh WINDOWS_BUILD 32|64 WORK_DIR [--run VERSION_CHECK_EXE]
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
bits="$2"
work="$3"
run=""
if [ "${4:-}" = "--run" ]; then run=$(realpath "$5"); fi
# What a user downloads stays small: 512 KiB held until the tool took every
# text and path in UTF-16 (the wide string and the W-function paths beside
# the narrow library added 28 KiB); the skin's artwork at five more display
# scales, packed, added 100 KiB (637.5 KiB for 32 bits, 559 KiB for 64);
# editing in the manager (rename, target, Path, scope copy, the .reg reader
# and writer, the Path editor and import preview, the filter) added 88.5 KiB
# (732 KiB for 32 bits, 653 KiB for 64); the manager made at home on any
# screen (placement in the work area, the remembered place, the column share,
# long texts shortened with tips, focus marks) and the shell bound on first
# use added 56 KiB (788 KiB for 32 bits, 705.5 KiB for 64); commands in
# terminals (the two launchers carried as resources, 17 KiB, the launcher
# files, PATH and the terminal verb) and the listing's change watch added
# 55.5 KiB (843.5 KiB for 32 bits, 761 KiB for 64); the machine launcher
# folder's security and the one door to a command brought it to 888.5 KiB for
# 32 bits; commands with options (the options dialog, both launchers grown
# to 13 KiB each and carried as resources) and commands made from Explorer
# (shortcuts, the Explorer entries, the start with a program) added 66 KiB
# (954.5 KiB for 32 bits, 870 KiB for 64); 1 MiB leaves a little room.
largest_exe=$((1024 * 1024))
if [ "$bits" = 32 ]; then
  triplet=i686-w64-mingw32 unwinder=libgcc_s_dw2-1.dll exe_name=Velmora.exe
else
  triplet=x86_64-w64-mingw32 unwinder=libgcc_s_seh-1.dll exe_name=Velmora64.exe
fi

fail() { echo "dist_test: FAIL: $*" >&2; exit 1; }
version=$(sed -n 's/^#define VELMORA_VERSION_TEXT "\(.*\)"$/\1/p' "$build/generated/VelmoraVersion.h")
[ -n "$version" ] || fail "no version in $build/generated/VelmoraVersion.h"
rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd)

"$root/scripts/dist.sh" "$work/dist" "--win$bits" "$build"

# The SDK, unpacked on its own.
mkdir "$work/user"
(cd "$work/user" && unzip -q "$work/dist/velmora-sdk-$version-win$bits.zip")
sdk="$work/user/velmora-sdk-win$bits"
for f in include/velmora/velmora.h include/velmora/CString.h lib/libvelmora.dll.a bin/velmora.dll \
         example/consumer.cpp example/build-command.txt README.txt; do
  [ -f "$sdk/$f" ] || fail "the SDK lacks $f"
done
grep -q '@[A-Z_0-9]*@' "$sdk/README.txt" && fail "the SDK's README has unfilled fields"
grep -q "Velmora library for $bits-bit Windows programs" "$sdk/README.txt" || fail "the SDK's README is not for $bits bits"
dlls=$(cd "$sdk/bin" && ls *.dll | sort | tr '\n' ' ')
[ "$dlls" = "$unwinder libwinpthread-1.dll velmora.dll " ] || fail "the SDK's DLLs are: $dlls"
for dll in "$sdk"/bin/*.dll; do
  /usr/bin/python3 "$root/tests/dist/pe_check.py" "$dll" "$bits" --stripped >/dev/null ||
    fail "$(/usr/bin/python3 "$root/tests/dist/pe_check.py" "$dll" "$bits" --stripped)"
done
# Every DLL that velmora.dll imports is a system DLL or one of the SDK's.
for import in $("$triplet-objdump" -p "$sdk/bin/velmora.dll" | sed -n 's/.*DLL Name: //p'); do
  case "$(echo "$import" | tr 'A-Z' 'a-z')" in
    kernel32.dll|user32.dll|gdi32.dll|advapi32.dll|shell32.dll|ole32.dll|comctl32.dll|msvcrt.dll) ;;
    *) [ -f "$sdk/bin/$import" ] || fail "velmora.dll imports $import, which the SDK lacks" ;;
  esac
done

# The tool: the bitness's PE, a GUI program, stripped, small enough, its
# manifest and version information.
/usr/bin/python3 "$root/tests/dist/pe_check.py" "$work/dist/$exe_name" "$bits" --gui --stripped \
  --max-bytes "$largest_exe" --program "$exe_name" --version "$version" --known-dlls || fail "$exe_name"
echo "dist_test: $exe_name is $(stat -c %s "$work/dist/$exe_name") bytes"
# Its console twin beside it: the bitness's PE, stripped, the console
# subsystem, and nothing but known DLLs imported.
com_name="${exe_name%.exe}.com"
/usr/bin/python3 "$root/tests/dist/pe_check.py" "$work/dist/$com_name" "$bits" --stripped --known-dlls ||
  fail "$com_name"
com_headers=$("$triplet-objdump" -p "$work/dist/$com_name")
grep -q 'Subsystem.*(Windows CUI)' <<<"$com_headers" || fail "$com_name is no console program"
# The two launchers the program carries: known DLLs only as well.
for launcher in "$build"/app/launcher/program/VelmoraLauncher.exe "$build"/app/launcher/program/VelmoraLauncherW.exe; do
  /usr/bin/python3 "$root/tests/dist/pe_check.py" "$launcher" "$bits" --stripped --known-dlls || fail "$launcher"
done
echo "dist_test: $com_name is $(stat -c %s "$work/dist/$com_name") bytes"
if [ -z "$run" ]; then
  echo "dist_test: all checks passed that need no Wine"
  exit 0
fi

# The example, built with the SDK's one command line (g++ being the
# cross compiler here) in the SDK's folder.
command=$(head -1 "$sdk/example/build-command.txt")
case "$command" in g++\ *) ;; *) fail "the build command does not start with g++: $command" ;; esac
case "$command" in *"$root"*|*/work/*) fail "the build command reaches outside the SDK: $command" ;; esac
(cd "$sdk" && env -u CPATH -u CPLUS_INCLUDE_PATH -u LIBRARY_PATH \
   "$triplet-g++-posix" ${command#g++ }) || fail "the example does not build: $command"
[ -f "$sdk/bin/consumer.exe" ] || fail "the build command made no bin/consumer.exe"
output=$(cd "$sdk/bin" && "$build/wine-run" --own-dlls-only ./consumer.exe 2>&1) ||
  fail "the example failed under Wine: $output"
echo "$output"
echo "$output" | grep -q "caught CStringError 0x80070057" || fail "the library's error did not reach the example"

"$build/wine-run" "$run" "$work/dist/$exe_name"
said=$("$build/wine-run" "$work/dist/$com_name" --version 2>&1 | tr -d '\r') || fail "$com_name --version failed: $said"
[ "$said" = "Velmora $version" ] || fail "$com_name --version says '$said', the version information $version"
echo "dist_test: $com_name --version: $said"
echo "dist_test: all checks passed"
