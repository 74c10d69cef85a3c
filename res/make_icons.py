#!/usr/bin/env python3
"""Draws the program's icons and writes them as .ico files.

    make_icons.py OUTPUT_DIR

Velmora.ico  application icon: a blue rounded tile with a white command
             prompt (">_") and an orange spark, 48, 32, 24 and 16 pixels,
             each with 8 and 32 bits per pixel.
Success.ico  message box icon: a green round badge with a white check mark,
             16 and 32 pixels at 32 bits per pixel.

Shapes are described in a 0..1 square and rendered with 4 x 4 supersampling,
so every size is drawn from the same geometry. Only the standard library is
used; the output is deterministic.
"""
import math
import struct
import sys
from pathlib import Path

from raster import SUPERSAMPLE, clamp01, mix, rounded_rect_distance


def segment_distance(x, y, ax, ay, bx, by):
    vx, vy = bx - ax, by - ay
    t = clamp01(((x - ax) * vx + (y - ay) * vy) / (vx * vx + vy * vy))
    return math.hypot(x - (ax + t * vx), y - (ay + t * vy))


class Layer:
    """A shape (coverage test at a point) with a colour function."""

    def __init__(self, inside, colour):
        self.inside = inside
        self.colour = colour


def render(layers, size):
    """Composites the layers (back to front) into RGBA rows, top row first."""
    rows = []
    step = 1.0 / (size * SUPERSAMPLE)
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]  # premultiplied
            for sy in range(SUPERSAMPLE):
                for sx in range(SUPERSAMPLE):
                    x = (px * SUPERSAMPLE + sx + 0.5) * step
                    y = (py * SUPERSAMPLE + sy + 0.5) * step
                    r = g = b = a = 0.0
                    for layer in layers:
                        coverage = layer.inside(x, y)
                        if coverage <= 0.0:
                            continue
                        cr, cg, cb = layer.colour(x, y)
                        r = cr * coverage + r * (1 - coverage)
                        g = cg * coverage + g * (1 - coverage)
                        b = cb * coverage + b * (1 - coverage)
                        a = coverage + a * (1 - coverage)
                    acc[0] += r
                    acc[1] += g
                    acc[2] += b
                    acc[3] += a
            n = SUPERSAMPLE * SUPERSAMPLE
            alpha = acc[3] / n
            if alpha <= 0.0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(int(round(clamp01(acc[i] / n / alpha) * 255)) for i in range(3))
                           + (int(round(alpha * 255)),))
        rows.append(row)
    return rows


def solid_if(test):
    return lambda x, y: 1.0 if test(x, y) else 0.0


def app_icon_layers(size):
    # Small sizes get a bolder stroke and a larger tile so the glyph stays legible.
    margin = 0.04 if size > 24 else 0.0
    stroke = 0.085 if size > 24 else 0.12
    top_colour, bottom_colour = (0.16, 0.47, 0.85), (0.07, 0.25, 0.58)
    tile = (margin, margin + 0.02, 1 - margin, 1 - margin)
    radius = 0.2

    def tile_colour(x, y):
        return mix(top_colour, bottom_colour, clamp01((y - tile[1]) / (tile[3] - tile[1])))

    def shadow_colour(x, y):
        return (0.02, 0.08, 0.2)

    layers = []
    if size > 24:
        layers.append(Layer(solid_if(lambda x, y: rounded_rect_distance(
            x, y, tile[0] + 0.01, tile[1] + 0.03, tile[2] + 0.01, tile[3] + 0.02, radius) < 0),
            shadow_colour))
    layers.append(Layer(solid_if(lambda x, y: rounded_rect_distance(x, y, *tile, radius) < 0), tile_colour))
    # A soft highlight across the upper half of the tile.
    if size > 16:
        layers.append(Layer(lambda x, y: 0.18 if (rounded_rect_distance(x, y, *tile, radius) < -0.03
                                                  and y < 0.42) else 0.0,
                            lambda x, y: (1.0, 1.0, 1.0)))
    white = lambda x, y: (1.0, 1.0, 1.0)
    # The prompt: a chevron and a cursor bar.
    layers.append(Layer(solid_if(lambda x, y: min(
        segment_distance(x, y, 0.24, 0.30, 0.46, 0.50),
        segment_distance(x, y, 0.46, 0.50, 0.24, 0.70)) < stroke / 2), white))
    layers.append(Layer(solid_if(lambda x, y: 0.52 <= x <= 0.78 and abs(y - 0.70) < stroke / 2), white))
    # The spark: an orange four-pointed star in the upper right corner.
    orange = lambda x, y: (1.0, 0.62, 0.12)

    def spark(x, y):
        cx, cy, r = 0.76, 0.27, 0.14 if size > 16 else 0.17
        dx, dy = abs(x - cx), abs(y - cy)
        return 1.0 if (dx * dx) ** 0.25 + (dy * dy) ** 0.25 < math.sqrt(r) else 0.0

    layers.append(Layer(spark, orange))
    return layers


def success_icon_layers(size):
    def badge_colour(x, y):
        return mix((0.30, 0.78, 0.35), (0.10, 0.55, 0.20), clamp01(y))

    stroke = 0.11 if size > 16 else 0.15
    white = lambda x, y: (1.0, 1.0, 1.0)
    return [
        Layer(solid_if(lambda x, y: math.hypot(x - 0.5, y - 0.5) < 0.47), badge_colour),
        Layer(lambda x, y: 0.2 if math.hypot(x - 0.5, y - 0.36) < 0.3 and y < 0.45 else 0.0, white),
        Layer(solid_if(lambda x, y: min(
            segment_distance(x, y, 0.27, 0.52, 0.43, 0.68),
            segment_distance(x, y, 0.43, 0.68, 0.74, 0.34)) < stroke / 2), white),
    ]


def and_mask(rows, opaque):
    size = len(rows)
    stride = ((size + 31) // 32) * 4
    data = bytearray()
    for row in reversed(rows):
        bits = bytearray(stride)
        for x, px in enumerate(row):
            if not opaque(px):
                bits[x // 8] |= 0x80 >> (x % 8)
        data += bits
    return bytes(data)


def bitmap_header(size, bits, image_bytes, colours):
    return struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, bits, 0, image_bytes, 0, 0, colours, 0)


def encode_32bpp(rows):
    size = len(rows)
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    mask = and_mask(rows, lambda px: px[3] > 0)
    return bitmap_header(size, 32, len(pixels) + len(mask), 0) + bytes(pixels) + mask


def median_cut(colours, count):
    """Reduces a list of (r, g, b) to at most `count` representative colours."""
    boxes = [list(set(colours))]
    while len(boxes) < count:
        boxes.sort(key=lambda box: max(max(c[i] for c in box) - min(c[i] for c in box) for i in range(3)))
        box = boxes.pop()
        if len(box) < 2:
            boxes.append(box)
            break
        channel = max(range(3), key=lambda i: max(c[i] for c in box) - min(c[i] for c in box))
        box.sort(key=lambda c: c[channel])
        half = len(box) // 2
        boxes += [box[:half], box[half:]]
    return [tuple(sum(c[i] for c in box) // len(box) for i in range(3)) for box in boxes if box]


def encode_8bpp(rows):
    """A palette image for displays without alpha: half-covered pixels become
    opaque over the tile's own colour, the rest transparent."""
    size = len(rows)
    opaque = lambda px: px[3] >= 128
    colours = [px[:3] for row in rows for px in row if opaque(px)]
    palette = median_cut(colours, 256) if colours else [(0, 0, 0)]
    palette += [(0, 0, 0)] * (256 - len(palette))
    cache = {}

    def nearest(c):
        if c not in cache:
            cache[c] = min(range(256), key=lambda i: sum((palette[i][k] - c[k]) ** 2 for k in range(3)))
        return cache[c]

    stride = (size + 3) // 4 * 4
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, px in enumerate(row):
            line[x] = nearest(px[:3]) if opaque(px) else 0
        pixels += line
    mask = and_mask(rows, opaque)
    table = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
    return bitmap_header(size, 8, len(pixels) + len(mask), 256) + table + bytes(pixels) + mask


def write_ico(path, images):
    """images: list of (size, bits, encoded image)."""
    header = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b'', b''
    for size, bits, blob in images:
        entries += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, bits, len(blob), offset)
        offset += len(blob)
        blobs += blob
    Path(path).write_bytes(header + entries + blobs)


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).parent)
    app_images = []
    for size in (48, 32, 24, 16):
        rows = render(app_icon_layers(size), size)
        app_images.append((size, 32, encode_32bpp(rows)))
        app_images.append((size, 8, encode_8bpp(rows)))
    write_ico(out / 'Velmora.ico', app_images)
    success_images = [(size, 32, encode_32bpp(render(success_icon_layers(size), size))) for size in (16, 32)]
    write_ico(out / 'Success.ico', success_images)


if __name__ == '__main__':
    main()
