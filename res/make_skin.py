#!/usr/bin/env python3
"""Draws the main dialog's skin and writes it as 24-bit .bmp files.

    make_skin.py OUTPUT_DIR

CaptionButtons.bmp  351 x 18: the caption buttons minimise, maximise, close and
                    restore (25, 25, 42 and 25 pixels wide), each as three
                    frames side by side: normal, hover, pressed. Their
                    background is the title bar's own, so the normal look is
                    only a white glyph on the bar.
Frame.bmp           323 x 53: the whole frame in small: a dark blue title bar
                    (rows 0 to 26), three-pixel borders and the light-blue
                    interior. Pieces are cut from it at run time; the stretched
                    ones (title bar x 165 to 167, borders y 30 to 39, bottom x 8
                    to 12) are uniform along their stretch. Three magenta pixels
                    in each corner round the window.
AddButton.bmp       100 x 25: the add button, four frames of 25: normal, hover,
                    pressed and a grey fourth. Each frame is a rounded button
                    whose corners are magenta (shown as the dialog's colour);
                    the 3 middle columns are uniform and stretch cleanly.

Colours follow the application icon's blue tile. Rounded shapes are rendered
with 4 x 4 supersampling; glyphs are placed on whole pixels so they stay crisp.
Only the standard library is used; the output is deterministic.
"""
import math
import struct
import sys
from pathlib import Path

from raster import SUPERSAMPLE, clamp01, mix, rounded_rect_distance

KEY = (255, 0, 255)
INTERIOR = (193, 217, 239)      # the dialog's background, COLORREF 0xEFD9C1

# The frame.
OUTLINE = (12, 29, 64)
BORDER = (30, 66, 128)
BORDER_INNER = (104, 144, 202)
TITLE_TOP, TITLE_BOTTOM = (44, 88, 160), (18, 46, 98)
TITLE_BEVEL = (84, 126, 192)
TITLE_SEPARATOR = (14, 36, 80)
TITLE_HEIGHT = 27

# The caption buttons.
GLYPH = (232, 239, 250)
GLYPH_SHADOW = (6, 18, 44)
HOVER_TOP, HOVER_BOTTOM, HOVER_EDGE = (92, 142, 214), (48, 96, 172), (150, 190, 240)
PRESSED_TOP, PRESSED_BOTTOM, PRESSED_EDGE = (8, 24, 56), (22, 48, 96), (4, 14, 36)
CLOSE_HOVER_TOP, CLOSE_HOVER_BOTTOM, CLOSE_HOVER_EDGE = (232, 96, 80), (184, 40, 28), (250, 160, 150)
CLOSE_PRESSED_TOP, CLOSE_PRESSED_BOTTOM, CLOSE_PRESSED_EDGE = (118, 20, 12), (160, 36, 24), (70, 10, 6)

# The add button: (top, bottom, edge) of each frame.
ADD_LOOKS = [
    ((255, 255, 255), (214, 230, 250), (96, 140, 204)),   # normal
    ((236, 248, 255), (166, 210, 252), (40, 118, 220)),   # hover
    ((150, 190, 234), (198, 224, 250), (28, 76, 156)),    # pressed
    ((238, 240, 242), (214, 217, 221), (160, 164, 170)),  # grey
]


def to_bytes(colour):
    return tuple(int(round(max(0.0, min(255.0, c)))) for c in colour)


def coverage(px, py, inside):
    """Share of the pixel (px, py) for which inside(x, y) holds."""
    hits = 0
    for sy in range(SUPERSAMPLE):
        for sx in range(SUPERSAMPLE):
            if inside(px + (sx + 0.5) / SUPERSAMPLE, py + (sy + 0.5) / SUPERSAMPLE):
                hits += 1
    return hits / (SUPERSAMPLE * SUPERSAMPLE)


class Image:
    def __init__(self, width, height, colour=(0, 0, 0)):
        self.width, self.height = width, height
        self.rows = [[tuple(colour)] * width for _ in range(height)]

    def get(self, x, y):
        return self.rows[y][x]

    def put(self, x, y, colour, alpha=1.0):
        if 0 <= x < self.width and 0 <= y < self.height and alpha > 0.0:
            self.rows[y][x] = mix(self.rows[y][x], colour, alpha) if alpha < 1.0 else tuple(colour)

    def write_bmp(self, path):
        stride = (self.width * 3 + 3) // 4 * 4
        pixels = bytearray()
        for row in reversed(self.rows):
            line = bytearray()
            for colour in row:
                r, g, b = to_bytes(colour)
                line += bytes((b, g, r))
            pixels += line + bytes(stride - len(line))
        info = struct.pack('<IiiHHIIiiII', 40, self.width, self.height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
        header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
        Path(path).write_bytes(header + info + bytes(pixels))


# ---------------------------------------------------------------- frame

def title_colour(y):
    """The title bar's colour at row y, away from the window's edges."""
    if y == 0:
        return OUTLINE
    if y == 1:
        return TITLE_BEVEL
    if y == TITLE_HEIGHT - 1:
        return TITLE_SEPARATOR
    colour = mix(TITLE_TOP, TITLE_BOTTOM, (y - 2) / (TITLE_HEIGHT - 4))
    # A glassy upper half.
    if y < 12:
        colour = mix(colour, (255, 255, 255), 0.07)
    return colour


def draw_frame():
    w, h = 323, 53
    img = Image(w, h, INTERIOR)
    for y in range(h):
        for x in range(w):
            edge = min(x, w - 1 - x)
            if y < TITLE_HEIGHT:
                if edge == 0:
                    colour = OUTLINE
                elif edge == 1 and 1 <= y < TITLE_HEIGHT - 1:
                    colour = TITLE_BEVEL
                else:
                    colour = title_colour(y)
            else:
                depth = min(edge, h - 1 - y)
                colour = (OUTLINE, BORDER, BORDER_INNER)[depth] if depth < 3 else INTERIOR
            img.put(x, y, colour)
    # A soft glow behind the caption icon (drawn at 9, 6, 16 x 16), well inside
    # the title bar's left piece.
    for y in range(2, TITLE_HEIGHT - 1):
        for x in range(2, 80):
            d = math.hypot((x + 0.5 - 17) / 34, (y + 0.5 - 14) / 13)
            img.put(x, y, (120, 170, 240), 0.22 * clamp01(1 - d) ** 2)
    # Rounded corners: the outline turns the corner through the diagonal pixel
    # and the three pixels outside it are the key colour.
    for cx, cy, sx, sy in ((0, 0, 1, 1), (w - 1, 0, -1, 1), (0, h - 1, 1, -1), (w - 1, h - 1, -1, -1)):
        for dx, dy in ((0, 0), (1, 0), (0, 1)):
            img.put(cx + sx * dx, cy + sy * dy, KEY)
        img.put(cx + sx, cy + sy, OUTLINE)
    return img


# ------------------------------------------------------- caption buttons

def glyph_minimize(w):
    x0 = (w - 9) // 2
    return {(x, y): 1.0 for x in range(x0, x0 + 9) for y in (11, 12)}


def box(x0, y0, width, height):
    pixels = {}
    for x in range(x0, x0 + width):
        for y in (y0, y0 + 1, y0 + height - 1):
            pixels[(x, y)] = 1.0
    for y in range(y0, y0 + height):
        pixels[(x0, y)] = pixels[(x0 + width - 1, y)] = 1.0
    return pixels


def glyph_maximize(w):
    return box((w - 9) // 2, 4, 9, 9)


def glyph_restore(w):
    x0 = (w - 11) // 2
    front = box(x0, 7, 8, 7)
    back = box(x0 + 3, 4, 8, 7)
    pixels = {p: a for p, a in back.items() if not (x0 <= p[0] < x0 + 8 and 7 <= p[1] < 14)}
    pixels.update(front)
    return pixels


def glyph_close(w):
    # Two diagonals, each two pixels wide across, meeting in the middle.
    x0 = w // 2 - 4
    pixels = {}
    for i in range(8):
        for x in (x0 + i, x0 + i + 1, x0 + 8 - i, x0 + 7 - i):
            pixels[(x, 5 + i)] = 1.0
    return pixels


def draw_button_background(img, x0, w, top, bottom, edge):
    """A rounded, softly lit plate inside the button's frame."""
    left, right, plate_top, plate_bottom, radius = 1.0, w - 1.0, 1.0, 17.0, 3.0

    def inside(x, y):
        return rounded_rect_distance(x, y, left, plate_top, right, plate_bottom, radius) < 0

    def inner(x, y):
        return rounded_rect_distance(x, y, left + 1, plate_top + 1, right - 1, plate_bottom - 1, radius - 1) < 0

    for y in range(18):
        for x in range(w):
            outer = coverage(x, y, inside)
            if outer <= 0.0:
                continue
            fill = mix(top, bottom, clamp01((y - plate_top) / (plate_bottom - plate_top)))
            if y < 8:
                fill = mix(fill, (255, 255, 255), 0.10)
            colour = mix(edge, fill, coverage(x, y, inner))
            img.put(x0 + x, y, colour, outer)


def draw_caption_buttons():
    buttons = [
        (25, glyph_minimize, False),
        (25, glyph_maximize, False),
        (42, glyph_close, True),
        (25, glyph_restore, False),
    ]
    img = Image(351, 18)
    for y in range(18):
        for x in range(351):
            img.put(x, y, title_colour(y))
    x = 0
    for width, glyph, is_close in buttons:
        for look in range(3):
            if look == 1:
                colours = (CLOSE_HOVER_TOP, CLOSE_HOVER_BOTTOM, CLOSE_HOVER_EDGE) if is_close else \
                    (HOVER_TOP, HOVER_BOTTOM, HOVER_EDGE)
                draw_button_background(img, x, width, *colours)
            elif look == 2:
                colours = (CLOSE_PRESSED_TOP, CLOSE_PRESSED_BOTTOM, CLOSE_PRESSED_EDGE) if is_close else \
                    (PRESSED_TOP, PRESSED_BOTTOM, PRESSED_EDGE)
                draw_button_background(img, x, width, *colours)
            shift = 1 if look == 2 else 0
            pixels = glyph(width)
            colour = GLYPH if look == 0 else (255, 255, 255)
            if look == 0:
                for (gx, gy), a in pixels.items():
                    if (gx + 1, gy + 1) not in pixels:
                        img.put(x + gx + 1, gy + 1, GLYPH_SHADOW, 0.55 * a)
            for (gx, gy), a in pixels.items():
                img.put(x + gx + shift, gy + shift, colour, a)
            x += width
    return img


# ------------------------------------------------------------ add button

def draw_add_button():
    frame, height = 25, 25
    img = Image(frame * 4, height, INTERIOR)
    radius = 4.5

    def inside(x, y):
        return rounded_rect_distance(x, y, 0.0, 0.0, frame, height, radius) < 0

    def inner(x, y):
        return rounded_rect_distance(x, y, 1.0, 1.0, frame - 1.0, height - 1.0, radius - 1.0) < 0

    for index, (top, bottom, edge) in enumerate(ADD_LOOKS):
        x0 = index * frame
        pressed = index == 2
        for y in range(height):
            for x in range(frame):
                outer = coverage(x, y, inside)
                if outer < 0.3:
                    img.put(x0 + x, y, KEY)
                    continue
                t = clamp01((y - 1) / (height - 3))
                fill = mix(top, bottom, t)
                if not pressed and y < height // 2:
                    fill = mix(fill, (255, 255, 255), 0.35)
                if pressed and y == 1:
                    fill = mix(fill, edge, 0.35)  # a pressed-in shadow under the top edge
                colour = mix(edge, fill, coverage(x, y, inner))
                # Edge pixels blend into the dialog's colour the magenta stands for.
                img.put(x0 + x, y, mix(INTERIOR, colour, outer))
    return img


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).parent)
    draw_caption_buttons().write_bmp(out / 'CaptionButtons.bmp')
    draw_frame().write_bmp(out / 'Frame.bmp')
    draw_add_button().write_bmp(out / 'AddButton.bmp')


if __name__ == '__main__':
    main()
