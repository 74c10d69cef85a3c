#!/usr/bin/env python3
"""Seed corpus of the icon fuzz target, made from Wine's own executables.

Each seed is a real image with icon groups cut down to what the resource walk
reads: the headers and section table, and a rebuilt resource section with
the icons and icon groups of the image (identifier entries; every icon group
whole, the first bytes of each icon image, which keep its bitmap header). The other
sections point at no data. This keeps seeds to a few kilobytes, so the fuzzer
stays fast. Idempotent: an existing seed is left as it is.

    icon-fuzz-seeds.py OUT_DIR WINE32_DIR

WINE32_DIR is a folder of Wine's 32-bit images (scripts/fetch-wine-images.sh).
"""
import os
import struct
import sys

KEPT_BYTES = 64          # of every icon image
LIMIT = 16 * 1024        # largest seed


def leaves(section, root, offset, path, found):
    """Collects (type, name, language, data entry offset) below a directory,
    identifier entries only."""
    at = root + offset
    if len(path) > 2 or at + 16 > len(section):
        return
    named, ids = struct.unpack_from("<HH", section, at + 12)
    for i in range(named + ids):
        entry = at + 16 + 8 * i
        if entry + 8 > len(section):
            return
        name, target = struct.unpack_from("<II", section, entry)
        if name & 0x80000000:
            continue
        if target & 0x80000000:
            leaves(section, root, target & 0x7FFFFFFF, path + [name], found)
        elif len(path) == 2 and root + target + 16 <= len(section):
            found.append((path[0], path[1], name, root + target))


def build_tree(resources, base_rva):
    """A resource section holding `resources` [(type, name, language, data)],
    laid out as linkers do: directories, then data entries, then data."""
    tree = {}
    for type_id, name, language, data in resources:
        tree.setdefault(type_id, {}).setdefault(name, []).append((language, data))
    directories = 16 + 8 * len(tree)
    for names in tree.values():
        directories += 16 + 8 * len(names) + sum(16 + 8 * len(l) for l in names.values())
    out = bytearray(directories + 16 * len(resources))
    entries = directories
    next_dir = 16 + 8 * len(tree)
    blobs = bytearray()

    def header(at, count):
        struct.pack_into("<H", out, at + 14, count)

    header(0, len(tree))
    pending = []
    for i, (type_id, names) in enumerate(sorted(tree.items())):
        type_dir = next_dir
        next_dir += 16 + 8 * len(names)
        struct.pack_into("<II", out, 16 + 8 * i, type_id, 0x80000000 | type_dir)
        header(type_dir, len(names))
        for j, (name, languages) in enumerate(sorted(names.items())):
            pending.append((type_dir + 16 + 8 * j, name, languages))
    for slot, name, languages in pending:
        language_dir = next_dir
        next_dir += 16 + 8 * len(languages)
        struct.pack_into("<II", out, slot, name, 0x80000000 | language_dir)
        header(language_dir, len(languages))
        for k, (language, data) in enumerate(languages):
            struct.pack_into("<II", out, language_dir + 16 + 8 * k, language, entries)
            blobs += b"\0" * (-len(blobs) % 4)
            struct.pack_into("<II", out, entries, 0, len(data))
            pending_rva = len(blobs)
            blobs += data
            struct.pack_into("<I", out, entries, pending_rva)  # made absolute below
            entries += 16
    data_start = len(out)
    for entry in range(directories, entries, 16):
        relative, = struct.unpack_from("<I", out, entry)
        struct.pack_into("<I", out, entry, base_rva + data_start + relative)
    return bytes(out + blobs)


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
            section = data[raw_pointer:raw_pointer + raw_size]
            found = []
            leaves(section, rva - vaddr, 0, [], found)
            kept = []
            for type_id, name, language, entry in found:
                if type_id not in (3, 14):
                    continue
                start, size = struct.unpack_from("<II", section, entry)
                keep = size if type_id == 14 else min(size, KEPT_BYTES)
                kept.append((type_id, name, language, section[start - vaddr:start - vaddr + keep]))
            if not any(t == 14 for t, _, _, _ in kept):
                return None
            rebuilt = build_tree(kept, rva)
            struct.pack_into("<IIII", out, header + 8, len(rebuilt), vaddr, len(rebuilt), len(out))
            out += rebuilt
            result = out
        else:
            struct.pack_into("<II", out, header + 16, 0, 0)
    if result is None or len(result) > LIMIT:
        return None
    return bytes(result)


def minimal_image(pe64, section_rva, section):
    """A one-section image of either optional-header layout around a
    resource section that lies at `section_rva`."""
    optional_size = 240 if pe64 else 224
    table = 0x40 + 0x18 + optional_size
    raw = (table + 40 + 15) & ~15
    out = bytearray(raw)
    out[0:2] = b"MZ"
    struct.pack_into("<I", out, 0x3C, 0x40)
    out[0x40:0x44] = b"PE\0\0"
    struct.pack_into("<HHIIIHH", out, 0x44, 0x8664 if pe64 else 0x14C, 1, 0, 0, 0, optional_size, 0x22)
    optional = 0x40 + 0x18
    struct.pack_into("<H", out, optional, 0x20B if pe64 else 0x10B)
    struct.pack_into("<I", out, optional + (108 if pe64 else 92), 16)
    struct.pack_into("<II", out, optional + (112 if pe64 else 96) + 16, section_rva, len(section))
    out[table:table + 8] = b".rsrc\0\0\0"
    struct.pack_into("<IIII", out, table + 8, len(section), section_rva, len(section), raw)
    return bytes(out) + section


def main():
    out_dir, wine32_dir = sys.argv[1], sys.argv[2]
    os.makedirs(out_dir, exist_ok=True)
    for name in sorted(os.listdir(wine32_dir)):
        target = os.path.join(out_dir, "wine32-" + name)
        if os.path.exists(target):
            continue
        with open(os.path.join(wine32_dir, name), "rb") as f:
            seed = compact(f.read())
        if seed is None:
            continue
        with open(target, "wb") as f:
            f.write(seed)
        # The same resources in an image of the 64-bit layout.
        nt = struct.unpack_from("<I", seed, 0x3C)[0]
        table = nt + 0x18 + struct.unpack_from("<H", seed, nt + 0x14)[0]
        for i in range(struct.unpack_from("<H", seed, nt + 6)[0]):
            size, rva, raw_size, raw_pointer = struct.unpack_from("<IIII", seed, table + 40 * i + 8)
            if raw_size:
                with open(os.path.join(out_dir, "pe64-" + name), "wb") as f:
                    f.write(minimal_image(True, rva, seed[raw_pointer:raw_pointer + raw_size]))


if __name__ == "__main__":
    main()
