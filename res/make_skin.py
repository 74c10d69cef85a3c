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
                    in each corner round the window. At a larger step every
                    piece is its 100 % size scaled, so all four borders are
                    equally thick, and the picture is as large as the pieces
                    laid out so (see frame_pieces).
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


# ------------------------------------------------------------- scaling

class Scale:
    """One artwork step: every 1x pixel number turned into the step's pixels
    exactly as the program turns it (value x dpi / 96, rounded to nearest,
    halves away from zero, with dpi = percent x 96 / 100 in whole numbers)."""

    def __init__(self, percent):
        self.percent = percent
        self.dpi = percent * 96 // 100
        self.factor = self.dpi / 96

    def px(self, value):
        if self.dpi == 96:
            return value
        product = value * self.dpi
        magnitude = (abs(product) + 48) // 96
        return -magnitude if product < 0 else magnitude

    def unit(self, pixel):
        """The 1x coordinate of a pixel's centre, less a half: whole pixels at 1x."""
        return (pixel + 0.5) / self.factor - 0.5


# ---------------------------------------------------------------- frame

# The frame pieces at 100 % as (x, y, width, height), in the program's order:
# title bar left, middle and right; left and right border; bottom border left
# corner, middle and right corner.
FRAME_PIECES = [
    (0, 0, 165, 27), (165, 0, 3, 27), (168, 0, 155, 27),
    (0, 30, 3, 10), (320, 30, 3, 10),
    (0, 50, 8, 3), (8, 50, 5, 3), (311, 50, 12, 3),
]


def frame_pieces(scale):
    """The frame's pieces at a step as (x, y, width, height), and the frame
    picture's (width, height). Each piece is its 100 % size scaled; they lie
    as at 100 %: the title bar's three pieces side by side from the left
    edge, their end the picture's right edge, where the right border and the
    bottom's right corner end too; the bottom's left corner and middle side
    by side from the left edge; the side borders and the bottom row at their
    100 % rows scaled, the bottom row's end the picture's bottom edge."""
    s = scale.px
    sizes = [(s(w), s(h)) for _, _, w, h in FRAME_PIECES]
    pieces = []
    x = 0
    for w, h in sizes[:3]:
        pieces.append((x, 0, w, h))
        x += w
    width = x
    (left_w, left_h), (right_w, right_h) = sizes[3], sizes[4]
    pieces.append((0, s(FRAME_PIECES[3][1]), left_w, left_h))
    pieces.append((width - right_w, s(FRAME_PIECES[4][1]), right_w, right_h))
    bottom_top = s(FRAME_PIECES[5][1])
    (w5, h5), (w6, h6), (w7, h7) = sizes[5:]
    pieces += [(0, bottom_top, w5, h5), (w5, bottom_top, w6, h6), (width - w7, bottom_top, w7, h7)]
    return pieces, (width, bottom_top + h5)


def ring_depth(scale, distance):
    """Which of the border's rings (0 outline, 1 border, 2 inner border, 3
    past them) a pixel lies in, at `distance` pixels from its edge: each ring
    is one pixel at 100 %, and every side counts them alike."""
    return sum(1 for k in (1, 2, 3) if distance >= scale.px(k))


def title_colour(scale, y):
    """The title bar's colour at row y, away from the window's edges."""
    if y < scale.px(1):
        return OUTLINE
    if y < scale.px(2):
        return TITLE_BEVEL
    # The separator under the bar is as thick as the outline above it.
    if y >= scale.px(TITLE_HEIGHT) - scale.px(1):
        return TITLE_SEPARATOR
    colour = mix(TITLE_TOP, TITLE_BOTTOM, (scale.unit(y) - 2) / (TITLE_HEIGHT - 4))
    # A glassy upper half.
    if y < scale.px(12):
        colour = mix(colour, (255, 255, 255), 0.07)
    return colour


def draw_frame(scale):
    s = scale.px
    _, (w, h) = frame_pieces(scale)
    title_height = s(TITLE_HEIGHT)
    separator = title_height - s(1)
    img = Image(w, h, INTERIOR)
    for y in range(h):
        bottom_depth = ring_depth(scale, h - 1 - y)
        for x in range(w):
            edge = min(ring_depth(scale, x), ring_depth(scale, w - 1 - x))
            if y < title_height:
                if edge == 0:
                    colour = OUTLINE
                elif edge == 1 and s(1) <= y < separator:
                    colour = TITLE_BEVEL
                else:
                    colour = title_colour(scale, y)
            else:
                depth = min(edge, bottom_depth)
                colour = (OUTLINE, BORDER, BORDER_INNER)[depth] if depth < 3 else INTERIOR
            img.put(x, y, colour)
    # A soft glow behind the caption icon (drawn at 9, 6, 16 x 16 at 1x), well
    # inside the title bar's left piece.
    for y in range(s(2), separator):
        for x in range(s(2), s(80)):
            d = math.hypot((scale.unit(x) + 0.5 - 17) / 34, (scale.unit(y) + 0.5 - 14) / 13)
            img.put(x, y, (120, 170, 240), 0.22 * clamp01(1 - d) ** 2)
    # Rounded corners: the pixels whose x + y from the corner is under the
    # cut's leg (2 at 1x: three pixels) are the key colour, and the outline
    # turns the corner along the cut's diagonal.
    leg, outline = s(2), s(1)
    for cx, cy, sx, sy in ((0, 0, 1, 1), (w - 1, 0, -1, 1), (0, h - 1, 1, -1), (w - 1, h - 1, -1, -1)):
        for dy in range(leg + outline):
            for dx in range(leg + outline - dy):
                img.put(cx + sx * dx, cy + sy * dy, KEY if dx + dy < leg else OUTLINE)
    return img


# ------------------------------------------------------- caption buttons

CAPTION_BUTTON_HEIGHT = 18


def fill_rect(pixels, x0, y0, width, height):
    for x in range(x0, x0 + width):
        for y in range(y0, y0 + height):
            pixels[(x, y)] = 1.0


def glyph_minimize(scale, w):
    s = scale.px
    pixels = {}
    fill_rect(pixels, (w - s(9)) // 2, s(11), s(9), s(2))
    return pixels


def box(scale, x0, y0, width, height):
    """A window outline: a two-pixel top (at 1x), one-pixel sides and bottom."""
    s = scale.px
    pixels = {}
    fill_rect(pixels, x0, y0, width, s(2))
    fill_rect(pixels, x0, y0 + height - s(1), width, s(1))
    fill_rect(pixels, x0, y0, s(1), height)
    fill_rect(pixels, x0 + width - s(1), y0, s(1), height)
    return pixels


def glyph_maximize(scale, w):
    s = scale.px
    return box(scale, (w - s(9)) // 2, s(4), s(9), s(9))


def glyph_restore(scale, w):
    s = scale.px
    x0 = (w - s(11)) // 2
    front_x, front_y, front_w, front_h = x0, s(7), s(8), s(7)
    front = box(scale, front_x, front_y, front_w, front_h)
    back = box(scale, x0 + s(3), s(4), s(8), s(7))
    pixels = {p: a for p, a in back.items()
              if not (front_x <= p[0] < front_x + front_w and front_y <= p[1] < front_y + front_h)}
    pixels.update(front)
    return pixels


def glyph_close(scale, w):
    # Two diagonals, each two pixels wide across at 1x, meeting in the middle:
    # rows 5 to 12 at 1x, a pixel is set when its centre lies within one
    # stroke's half width of a diagonal's centre line.
    s = scale.px
    f = scale.factor
    x0 = w // 2 - s(4)
    pixels = {}
    for y in range(s(5), s(13)):
        u = (y + 0.5) / f - 5           # the 1x row, continuous
        centres = (x0 + f * (u + 0.5), x0 + f * (8.5 - u))
        for x in range(x0 - s(1), x0 + s(10)):
            if any(abs(x + 0.5 - c) < f for c in centres):
                pixels[(x, y)] = 1.0
    return pixels


def draw_button_background(scale, img, x0, w, top, bottom, edge):
    """A rounded, softly lit plate inside the button's frame."""
    f = scale.factor
    height = scale.px(CAPTION_BUTTON_HEIGHT)
    left, right, plate_top, plate_bottom, radius = f * 1.0, w - f * 1.0, f * 1.0, height - f * 1.0, f * 3.0

    def inside(x, y):
        return rounded_rect_distance(x, y, left, plate_top, right, plate_bottom, radius) < 0

    def inner(x, y):
        return rounded_rect_distance(x, y, left + f, plate_top + f, right - f, plate_bottom - f, radius - f) < 0

    for y in range(height):
        for x in range(w):
            outer = coverage(x, y, inside)
            if outer <= 0.0:
                continue
            fill = mix(top, bottom, clamp01((scale.unit(y) - 1.0) / (CAPTION_BUTTON_HEIGHT - 2.0)))
            if y < scale.px(8):
                fill = mix(fill, (255, 255, 255), 0.10)
            colour = mix(edge, fill, coverage(x, y, inner))
            img.put(x0 + x, y, colour, outer)


# The caption buttons in strip order: 1x width, glyph, close button.
CAPTION_BUTTONS = [
    (25, glyph_minimize, False),
    (25, glyph_maximize, False),
    (42, glyph_close, True),
    (25, glyph_restore, False),
]


def draw_caption_buttons(scale):
    s = scale.px
    widths = [s(width) for width, _, _ in CAPTION_BUTTONS]
    height = s(CAPTION_BUTTON_HEIGHT)
    img = Image(3 * sum(widths), height)
    for y in range(height):
        colour = title_colour(scale, y)
        for x in range(img.width):
            img.put(x, y, colour)
    x = 0
    for width, (_, glyph, is_close) in zip(widths, CAPTION_BUTTONS):
        for look in range(3):
            if look == 1:
                colours = (CLOSE_HOVER_TOP, CLOSE_HOVER_BOTTOM, CLOSE_HOVER_EDGE) if is_close else \
                    (HOVER_TOP, HOVER_BOTTOM, HOVER_EDGE)
                draw_button_background(scale, img, x, width, *colours)
            elif look == 2:
                colours = (CLOSE_PRESSED_TOP, CLOSE_PRESSED_BOTTOM, CLOSE_PRESSED_EDGE) if is_close else \
                    (PRESSED_TOP, PRESSED_BOTTOM, PRESSED_EDGE)
                draw_button_background(scale, img, x, width, *colours)
            shift = s(1) if look == 2 else 0
            pixels = glyph(scale, width)
            colour = GLYPH if look == 0 else (255, 255, 255)
            if look == 0:
                drop = s(1)
                for (gx, gy), a in pixels.items():
                    if (gx + drop, gy + drop) not in pixels:
                        img.put(x + gx + drop, gy + drop, GLYPH_SHADOW, 0.55 * a)
            for (gx, gy), a in pixels.items():
                img.put(x + gx + shift, gy + shift, colour, a)
            x += width
    return img


# ------------------------------------------------------------ add button

ADD_BUTTON_FRAME = 25


def draw_add_button(scale):
    f = scale.factor
    frame = height = scale.px(ADD_BUTTON_FRAME)
    img = Image(frame * 4, height, INTERIOR)
    radius = 4.5 * f

    def inside(x, y):
        return rounded_rect_distance(x, y, 0.0, 0.0, frame, height, radius) < 0

    def inner(x, y):
        return rounded_rect_distance(x, y, f * 1.0, f * 1.0, frame - f * 1.0, height - f * 1.0, radius - f) < 0

    for index, (top, bottom, edge) in enumerate(ADD_LOOKS):
        x0 = index * frame
        pressed = index == 2
        for y in range(height):
            for x in range(frame):
                outer = coverage(x, y, inside)
                if outer < 0.3:
                    img.put(x0 + x, y, KEY)
                    continue
                t = clamp01((scale.unit(y) - 1) / (ADD_BUTTON_FRAME - 3))
                fill = mix(top, bottom, t)
                if not pressed and y < height // 2:
                    fill = mix(fill, (255, 255, 255), 0.35)
                if pressed and scale.px(1) <= y < scale.px(2):
                    fill = mix(fill, edge, 0.35)  # a pressed-in shadow under the top edge
                colour = mix(edge, fill, coverage(x, y, inner))
                # Edge pixels blend into the dialog's colour the magenta stands for.
                img.put(x0 + x, y, mix(INTERIOR, colour, outer))
    return img


# ------------------------------------------------------ packed artwork

PACKED_MAGIC = b'VSKR'
PACKED_RUN = 128        # longest run or literal one control byte holds


def pack(img):
    """The image in the program's packed form: 'VSKR', width and height as
    16-bit little-endian numbers, then the pixels top row first, left to
    right, as records: a control byte c < 128 is followed by c + 1 literal
    pixels (blue, green, red); c >= 128 by one pixel repeated c - 127 times.
    Runs and literals may cross rows."""
    pixels = [bytes(reversed(to_bytes(colour))) for row in img.rows for colour in row]
    out = bytearray(PACKED_MAGIC + struct.pack('<HH', img.width, img.height))
    literal = []

    def flush():
        while literal:
            chunk = literal[:PACKED_RUN]
            del literal[:PACKED_RUN]
            out.append(len(chunk) - 1)
            out.extend(b''.join(chunk))

    i = 0
    while i < len(pixels):
        run = 1
        while i + run < len(pixels) and run < PACKED_RUN and pixels[i + run] == pixels[i]:
            run += 1
        if run >= 2:
            flush()
            out.append(127 + run)
            out.extend(pixels[i])
        else:
            literal.append(pixels[i])
        i += run
    flush()
    return bytes(out)


# The artwork steps, in percent; 100 % is written as .bmp, the others packed.
ARTWORK_PERCENTS = [100, 125, 150, 175, 200, 250]
ARTWORK = [('CaptionButtons', draw_caption_buttons), ('Frame', draw_frame), ('AddButton', draw_add_button)]


def main():
    args = sys.argv[1:]
    preview = '--preview' in args
    args = [a for a in args if a != '--preview']
    out = Path(args[0] if args else Path(__file__).parent)
    for percent in ARTWORK_PERCENTS:
        scale = Scale(percent)
        for name, draw in ARTWORK:
            img = draw(scale)
            if percent == 100:
                img.write_bmp(out / f'{name}.bmp')
            else:
                (out / f'{name}{percent}.vskr').write_bytes(pack(img))
                if preview:
                    img.write_bmp(out / f'{name}{percent}.bmp')


if __name__ == '__main__':
    main()
