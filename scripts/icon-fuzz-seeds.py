#!/usr/bin/env python3
"""Seed corpus of the icon fuzz target, made from Wine's own executables.

Each seed is a real image with icon groups cut down to what the resource walk
reads: the headers and section table, and a rebuilt resource section that
keeps the whole directory tree and every icon group but only the first bytes
of each other resource (icon images keep their bitmap header). The other
sections point at no data. This keeps seeds to a few kilobytes, so the fuzzer
stays fast. Idempotent: an existing seed is left as it is.

    icon-fuzz-seeds.py OUT_DIR
"""
import os
import struct
import sys

DIRECTORIES = ["/usr/lib/i386-linux-gnu/wine/i386-windows"]
KEPT_BYTES = 64          # of every resource that is not an icon group
LIMIT = 32 * 1024        # largest seed


def leaves(section, root, offset, depth, type_id, found):
    """Collects (data entry offset, type) below the directory at `offset`."""
    at = root + offset
    if depth > 3 or at + 16 > len(section):
        return
    named, ids = struct.unpack_from("<HH", section, at + 12)
    for i in range(named + ids):
        entry = at + 16 + 8 * i
        if entry + 8 > len(section):
            return
        name, target = struct.unpack_from("<II", section, entry)
        this_type = name if depth == 0 else type_id
        if target & 0x80000000:
            leaves(section, root, target & 0x7FFFFFFF, depth + 1, this_type, found)
        elif root + target + 16 <= len(section):
            found.append((root + target, this_type))


def compact(data):
    if data[:2] != b"MZ" or len(data) < 0x40:
        return None
    nt = struct.unpack_from("<I", data, 0x3C)[0]
    if nt + 0x18 > len(data) or data[nt:nt + 4] != b"PE\0\0":
        return None
    sections, = struct.unpack_from("<H", data, nt + 6)
    optional_size, = struct.unpack_from("<H", data, nt + 0x14)
    optional = nt + 0x18
    magic, = struct.unpack_from("<H", data, optional)
    directory = optional + (96 if magic == 0x10B else 112) + 16
    rva, = struct.unpack_from("<I", data, directory)
    table = optional + optional_size
    end = table + 40 * sections
    if rva == 0 or end > len(data):
        return None
    out = bytearray(data[:end])
    out += b"\0" * (-len(out) % 16)
    result = None
    for i in range(sections):
        header = table + 40 * i
        vsize, vaddr, raw_size, raw_pointer = struct.unpack_from("<IIII", data, header + 8)
        if result is None and vaddr <= rva < vaddr + (vsize or raw_size):
            section = bytearray(data[raw_pointer:raw_pointer + raw_size])
            found = []
            leaves(section, rva - vaddr, 0, 0, None, found)
            if not any(t == 14 for _, t in found):
                return None
            starts = [struct.unpack_from("<I", section, e)[0] - vaddr for e, _ in found]
            tree_end = max(e + 16 for e, _ in found)
            rebuilt = bytearray(section[:tree_end])
            for (entry, type_id), start in zip(found, starts):
                size = struct.unpack_from("<I", section, entry + 4)[0]
                keep = size if type_id == 14 else min(size, KEPT_BYTES)
                rebuilt += b"\0" * (-len(rebuilt) % 4)
                struct.pack_into("<II", rebuilt, entry, vaddr + len(rebuilt), keep)
                rebuilt += section[start:start + keep]
            struct.pack_into("<IIII", out, header + 8, len(rebuilt), vaddr, len(rebuilt), len(out))
            out += rebuilt
            result = out
        else:
            struct.pack_into("<II", out, header + 16, 0, 0)
    if result is None or len(result) > LIMIT:
        return None
    return bytes(result)


def main():
    out_dir = sys.argv[1]
    os.makedirs(out_dir, exist_ok=True)
    for directory in DIRECTORIES:
        for name in sorted(os.listdir(directory)):
            target = os.path.join(out_dir, "wine32-" + name)
            if os.path.exists(target):
                continue
            with open(os.path.join(directory, name), "rb") as f:
                seed = compact(f.read())
            if seed is not None:
                with open(target, "wb") as f:
                    f.write(seed)


if __name__ == "__main__":
    main()
