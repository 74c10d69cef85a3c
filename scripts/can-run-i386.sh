#!/usr/bin/env bash
# Tells whether this machine runs 32-bit x86 programs, by running one: a
# 96-byte static i386 ELF (one PT_LOAD segment) whose code is
#   mov eax, 1 ; mov ebx, 42 ; int 0x80      (exit(42))
# Exit 0 when it runs and ends with 42, 1 otherwise. Silent unless --why,
# which prints the reason (for example "Exec format error"). With --wine,
# 32-bit Wine must be there as well, installed or in its private root
# (scripts/wine-run.sh --arch win32 --which): whether 32-bit Windows programs
# run; --why then also says which Wine.
#   can-run-i386.sh [--why] [--wine] [--keep FILE]
# --keep FILE also writes the program to FILE, to look at with readelf.
set -uo pipefail

why=""
wine=""
keep=""
while [ $# -gt 0 ]; do
  case "$1" in
    --why) why=1 ;;
    --wine) wine=1 ;;
    --keep) keep="${2:?--keep needs a file name}"; shift ;;
    *) echo "usage: $0 [--why] [--wine] [--keep FILE]" >&2; exit 2 ;;
  esac
  shift
done

say() { [ -z "$why" ] || echo "$1"; }

# Little-endian 16- and 32-bit fields as printf escapes.
le16() { printf '\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)); }
le32() { printf '\\x%02x\\x%02x\\x%02x\\x%02x' \
  $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)); }

base=$((0x08048000))
ehsize=52
phsize=32
code='\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80'
size=$((ehsize + phsize + 12))

write_elf() {
  {
    # e_ident: magic, ELFCLASS32, ELFDATA2LSB, EV_CURRENT, System V ABI, padding
    printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00'
    printf "$(le16 2)$(le16 3)$(le32 1)"                   # ET_EXEC, EM_386, EV_CURRENT
    printf "$(le32 $((base + ehsize + phsize)))"            # e_entry: the code
    printf "$(le32 $ehsize)$(le32 0)$(le32 0)"              # e_phoff, e_shoff, e_flags
    printf "$(le16 $ehsize)$(le16 $phsize)$(le16 1)"        # e_ehsize, e_phentsize, e_phnum
    printf "$(le16 0)$(le16 0)$(le16 0)"                    # no section headers
    # PT_LOAD of the whole file at base, read + execute
    printf "$(le32 1)$(le32 0)$(le32 $base)$(le32 $base)"
    printf "$(le32 $size)$(le32 $size)$(le32 5)$(le32 4096)"
    printf "$code"
  } >"$1"
  chmod 755 "$1"
}

if [ -n "$keep" ]; then
  write_elf "$keep" || exit 2
fi

# A temporary directory may be mounted noexec; then the next one is tried.
reason="no writable directory for the test program"
for dir in "${TMPDIR:-/tmp}" /var/tmp /dev/shm; do
  work=$(mktemp -d "$dir/can-run-i386.XXXXXX" 2>/dev/null) || continue
  write_elf "$work/exit42" 2>/dev/null || { rm -rf "$work"; continue; }
  # Through bash's exec: timeout and env use execvp, which hands a file the
  # kernel refuses (ENOEXEC) to /bin/sh instead of failing.
  err=$(timeout 10 bash -c 'exec "$0"' "$work/exit42" 2>&1 </dev/null)
  rc=$?
  rm -rf "$work"
  if [ "$rc" -eq 42 ]; then
    if [ -n "$wine" ]; then
      if ! which_wine=$("$(dirname "${BASH_SOURCE[0]}")/wine-run.sh" --arch win32 --which 2>&1); then
        say "runs i386 programs, but $which_wine"
        exit 1
      fi
      say "runs i386 programs, with $which_wine"
      exit 0
    fi
    say "runs i386 programs"
    exit 0
  fi
  case "$rc" in
    124) reason="the test program did not end within 10 s" ;;
    126|127) err=${err%%$'\n'*}; reason="${err##*: }" ;;  # ...: cannot execute binary file: REASON
    *) reason="the test program exited with $rc, not 42" ;;
  esac
  [ "$reason" = "Permission denied" ] || break
done
say "cannot run i386 programs: $reason"
exit 1
