#!/usr/bin/env python3
"""Checks a shipped Windows program without running it: what a machine that
cannot run it can still tell from its bytes.

    pe_check.py FILE 32|64 [--gui] [--stripped] [--max-bytes N] [--program NAME --version V]

Always: a PE image for the bitness (PE32 for i386, PE32+ for x86-64).
--gui: the Windows GUI subsystem.
--stripped: no debug sections.
--max-bytes: at most N bytes.
--known-dlls: every DLL the import table names (loaded before the program
runs, so before it can restrict the DLL search) is one the system loads from
its list of known DLLs, never from beside the program; delay-loaded DLLs
are not in that table and are left to the program's own restricted search.
--program NAME: the tool's manifest (highest available level, the bitness's
processor, version V) and version information (Velmora, "添加运行命令", file,
product and fixed version V, the original file name NAME), read with
wrestool.
Prints one line per failed check and exits 1 when there is one.
"""
import argparse
import re
import struct
import subprocess
import sys

MACHINES = {32: (0x14C, 0x10B, "x86"), 64: (0x8664, 0x20B, "amd64")}
SUBSYSTEM_GUI = 2
RT_VERSION, RT_MANIFEST = 16, 24

# The known DLLs of Windows 7 and of Windows 10 and 11 both
# (HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\KnownDLLs), and
# ntdll, which every process has before its first import.
KNOWN_DLLS = {
    "advapi32.dll", "clbcatq.dll", "comdlg32.dll", "difxapi.dll", "gdi32.dll", "imagehlp.dll", "imm32.dll",
    "kernel32.dll", "msctf.dll", "msvcrt.dll", "normaliz.dll", "nsi.dll", "ole32.dll", "oleaut32.dll",
    "psapi.dll", "rpcrt4.dll", "sechost.dll", "setupapi.dll", "shell32.dll", "shlwapi.dll", "user32.dll",
    "wldap32.dll", "ws2_32.dll", "ntdll.dll",
}

failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
    return ok


def headers(data):
    """(machine, magic, subsystem, section names) or None."""
    if len(data) < 0x40 or data[:2] != b"MZ":
        return None
    nt = struct.unpack_from("<I", data, 0x3C)[0]
    if nt + 24 + 70 > len(data) or data[nt:nt + 4] != b"PE\0\0":
        return None
    machine, sections, _, symbols_at, symbols, optional_size = struct.unpack_from("<HHIIIH", data, nt + 4)
    strings = symbols_at + 18 * symbols  # the string table follows the symbols
    magic = struct.unpack_from("<H", data, nt + 24)[0]
    subsystem = struct.unpack_from("<H", data, nt + 24 + 68)[0]
    table = nt + 24 + optional_size
    names = []
    for i in range(sections):
        at = table + 40 * i
        if at + 40 > len(data):
            return None
        name = data[at:at + 8].rstrip(b"\0").decode("latin-1")
        if name.startswith("/") and name[1:].isdigit() and symbols_at:
            # A long name (.debug_info, .eh_frame) stands in the string table.
            start = strings + int(name[1:])
            end = data.find(b"\0", start)
            if 0 < start < len(data) and end > start:
                name = data[start:end].decode("latin-1")
        names.append(name)
    return machine, magic, subsystem, names


def imported_dlls(data):
    """The DLL names of the import table, or None when the table does not fit
    in the file. Every offset is checked against the bytes read."""
    nt = struct.unpack_from("<I", data, 0x3C)[0]
    sections, optional_size = struct.unpack_from("<H", data, nt + 6)[0], struct.unpack_from("<H", data, nt + 20)[0]
    optional = nt + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (96 if magic == 0x10B else 112)
    if directories + 16 > optional + optional_size or directories + 16 > len(data):
        return None
    table_rva, table_size = struct.unpack_from("<II", data, directories + 8)
    if table_rva == 0:
        return []
    spans = []
    for i in range(sections):
        at = optional + optional_size + 40 * i
        if at + 40 > len(data):
            return None
        virtual_size, virtual_at, raw_size, raw_at = struct.unpack_from("<IIII", data, at + 8)
        spans.append((virtual_at, max(virtual_size, raw_size), raw_at, raw_size))

    def offset(rva):
        for virtual_at, size, raw_at, raw_size in spans:
            if virtual_at <= rva < virtual_at + size and rva - virtual_at < raw_size:
                return raw_at + rva - virtual_at
        return None

    names = []
    at = offset(table_rva)
    while at is not None and at + 20 <= len(data):
        lookup, _, _, name_rva, thunks = struct.unpack_from("<IIIII", data, at)
        if lookup == 0 and name_rva == 0 and thunks == 0:
            return names
        name_at = offset(name_rva)
        end = data.find(b"\0", name_at) if name_at is not None else -1
        if end < 0:
            return None
        names.append(data[name_at:end].decode("latin-1"))
        at += 20
    return None


def resource(path, kind):
    done = subprocess.run(["wrestool", "-x", "--raw", "--type=%d" % kind, path],
                          capture_output=True, check=False)
    return done.stdout


def version_texts(blob):
    """The version resource's key/value texts (UTF-16) and its fixed file
    version, read leniently: the keys are found by name."""
    text = blob.decode("utf-16-le", errors="replace")
    values = {}
    for key in ("ProductName", "FileDescription", "FileVersion", "ProductVersion", "OriginalFilename"):
        at = text.find(key + "\0")
        if at < 0:
            continue
        start = at + len(key) + 1
        while start < len(text) and text[start] == "\0":  # alignment to 32 bits
            start += 1
        end = text.find("\0", start)
        values[key] = text[start:end if end >= 0 else len(text)]
    fixed = blob.find(struct.pack("<I", 0xFEEF04BD))
    if fixed >= 0 and fixed + 16 <= len(blob):
        ms, ls = struct.unpack_from("<II", blob, fixed + 8)
        values["fixed"] = "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
    return values


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("file")
    parser.add_argument("bits", type=int, choices=(32, 64))
    parser.add_argument("--gui", action="store_true")
    parser.add_argument("--stripped", action="store_true")
    parser.add_argument("--max-bytes", type=int)
    parser.add_argument("--known-dlls", action="store_true")
    parser.add_argument("--program")
    parser.add_argument("--version")
    args = parser.parse_args()
    if args.program and not args.version:
        parser.error("--program needs --version")

    with open(args.file, "rb") as f:
        data = f.read()
    machine, magic, processor = MACHINES[args.bits]
    found = headers(data)
    if not check(found is not None, "not a PE image"):
        return report(args.file)
    got_machine, got_magic, subsystem, names = found
    check(got_machine == machine, "machine 0x%X, not 0x%X" % (got_machine, machine))
    check(got_magic == magic, "optional header magic 0x%X, not 0x%X" % (got_magic, magic))
    if args.gui:
        check(subsystem == SUBSYSTEM_GUI, "subsystem %d, not the Windows GUI" % subsystem)
    if args.stripped:
        debug = [n for n in names if n.startswith(".debug")]
        check(not debug, "debug sections: %s" % debug)
    if args.max_bytes is not None:
        check(len(data) <= args.max_bytes, "%d bytes, more than %d" % (len(data), args.max_bytes))
    if args.known_dlls:
        imports = imported_dlls(data)
        if check(imports is not None, "the import table does not fit in the file"):
            for name in imports:
                check(name.lower() in KNOWN_DLLS, "imports %s, which is no known DLL" % name)
            print("pe_check: %s imports %s" % (args.file, " ".join(sorted(n.lower() for n in imports))))
    if args.program:
        manifest = resource(args.file, RT_MANIFEST).decode("utf-8", errors="replace")
        check('level="highestAvailable"' in manifest, "the manifest does not ask for the highest available level")
        check('processorArchitecture="%s"' % processor in manifest,
              "the manifest does not name the processor %s" % processor)
        identity = re.search(r"<assemblyIdentity\b[^>]*\bversion=\"([^\"]*)\"", manifest)
        check(identity is not None and identity.group(1) == args.version,
              "the manifest's version is %r, not %r" % (identity and identity.group(1), args.version))
        version = version_texts(resource(args.file, RT_VERSION))
        expected = {"ProductName": "Velmora", "FileDescription": "添加运行命令", "FileVersion": args.version,
                    "ProductVersion": args.version, "OriginalFilename": args.program, "fixed": args.version}
        for key, value in expected.items():
            check(version.get(key) == value, "version %s is %r, not %r" % (key, version.get(key), value))
    return report(args.file)


def report(path):
    for what in failures:
        print("pe_check: %s: FAIL: %s" % (path, what))
    if not failures:
        print("pe_check: %s: all checks passed" % path)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
