#!/usr/bin/python3
"""Checks a screenshot of the main window against its skin, pixel for pixel
where the skin fixes the pixels.

    skin_shot.py SHOT RES_DIR ROOT_COLOUR

SHOT is the window cut from the screen with a margin of one pixel (so the
window's pixel (x, y) is the picture's (x + 1, y + 1)), taken while the mouse
rests on no button; RES_DIR holds Frame.bmp and AddButton.bmp; ROOT_COLOUR is
the screen's background as RRGGBB, which must show through the cut corners.
Prints one line per check and exits 1 when any fails. Needs ImageMagick's
`convert` to read the pictures.
"""
import subprocess
import sys
from pathlib import Path

WIDTH, HEIGHT = 355, 250
CAPTION_HEIGHT = 27
INTERIOR = (193, 217, 239)          # 0xEFD9C1, the dialog's fill
KEY = (255, 0, 255)
TOLERANCE = 6                       # per channel, for blits of the same bitmap

# The window's pixels that leave its region with the shipped skin.
CUT_PIXELS = {(0, 0), (1, 0), (0, 1), (353, 0), (354, 0), (354, 1),
              (0, 248), (0, 249), (1, 249), (354, 248), (353, 249), (354, 249)}
ICON_BOX = (9, 6, 25, 22)           # the caption icon, 16 x 16 at (9, 6)
TEXT_RECT = (35, 8, 251, 27)        # the caption text rectangle
MINIMIZE = (281, 0, 306, 18)
CLOSE = (306, 0, 348, 18)
NO_MAXIMIZE = (256, 0, 281, 18)     # where a maximise button would sit
ADD_BUTTON = (260, 60, 331, 85)
LINK = (110, 210, 241, 230)


class Picture:
    def __init__(self, path):
        data = subprocess.run(['convert', str(path), '-depth', '8', 'ppm:-'], check=True,
                              stdout=subprocess.PIPE).stdout
        fields, pos = [], 0
        while len(fields) < 4:
            while data[pos:pos + 1].isspace():
                pos += 1
            if data[pos:pos + 1] == b'#':
                pos = data.index(b'\n', pos)
                continue
            end = pos
            while not data[end:end + 1].isspace():
                end += 1
            fields.append(data[pos:end])
            pos = end
        if fields[0] != b'P6' or fields[3] != b'255':
            raise ValueError('%s: not an 8-bit picture' % path)
        self.width, self.height = int(fields[1]), int(fields[2])
        self.pixels = data[pos + 1:pos + 1 + 3 * self.width * self.height]
        if len(self.pixels) != 3 * self.width * self.height:
            raise ValueError('%s: picture data cut short' % path)

    def at(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.pixels[i:i + 3])


def near(a, b, tolerance=TOLERANCE):
    return all(abs(a[i] - b[i]) <= tolerance for i in range(3))


def inside(rect, x, y):
    return rect[0] <= x < rect[2] and rect[1] <= y < rect[3]


def luminance(c):
    return 0.299 * c[0] + 0.587 * c[1] + 0.114 * c[2]


def bbox(points):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return (min(xs), min(ys), max(xs) + 1, max(ys) + 1) if points else None


class Checks:
    def __init__(self):
        self.failed = 0

    def check(self, name, ok, detail):
        print('skin_shot: %s %s: %s' % ('ok  ' if ok else 'FAIL', name, detail))
        if not ok:
            self.failed += 1


def expected_frame_pixel(frame, x, y, root):
    """The frame's pixel at window (x, y) as the eight pieces of Frame.bmp
    place it on a 355 x 250 window, or None inside the frame. The stretched
    pieces are uniform along their stretch, so one source pixel stands for
    them."""
    fw, fh = frame.width, frame.height
    if y < CAPTION_HEIGHT:
        if x < 165:
            bx = x                                  # piece 0, 1:1
        elif x < WIDTH - 155:
            bx = 165                                # piece 1, stretched
        else:
            bx = x - (WIDTH - fw)                   # piece 2, 1:1
        by = y
    elif y >= HEIGHT - 3:
        by = y - (HEIGHT - fh)
        if x < 8:
            bx = x                                  # piece 5
        elif x < WIDTH - 12:
            bx = 8                                  # piece 6, stretched
        else:
            bx = x - (WIDTH - fw)                   # piece 7
    elif x < 3:
        bx, by = x, 30                              # piece 3, stretched
    elif x >= WIDTH - 3:
        bx, by = x - (WIDTH - fw), 30               # piece 4, stretched
    else:
        return None
    colour = frame.at(bx, by)
    return root if colour == KEY else colour


def main():
    if len(sys.argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    shot = Picture(sys.argv[1])
    res = Path(sys.argv[2])
    frame = Picture(res / 'Frame.bmp')
    add = Picture(res / 'AddButton.bmp')
    root = tuple(int(sys.argv[3][i:i + 2], 16) for i in (0, 2, 4))
    checks = Checks()
    if (shot.width, shot.height) != (WIDTH + 2, HEIGHT + 2):
        checks.check('size', False, 'picture is %dx%d, not the window plus a margin' % (shot.width, shot.height))
        return 1

    def px(x, y):
        return shot.at(x + 1, y + 1)

    # The corners: the screen's background through exactly the 12 pixels.
    through = {(x, y) for y in list(range(5)) + list(range(HEIGHT - 5, HEIGHT))
               for x in list(range(5)) + list(range(WIDTH - 5, WIDTH)) if near(px(x, y), root, 0)}
    checks.check('corners', through == CUT_PIXELS,
                 'background shows at %s' % sorted(through) if through != CUT_PIXELS else
                 'the background shows through exactly the 12 corner pixels')

    # The frame: every pixel of the caption and the borders is the skin's,
    # except where the caption draws its icon, its text and its buttons.
    drawn = []
    for y in range(HEIGHT):
        for x in range(WIDTH):
            want = expected_frame_pixel(frame, x, y, root)
            if want is not None and not near(px(x, y), want):
                drawn.append((x, y))
    stray = [p for p in drawn
             if not (inside(ICON_BOX, *p) or inside(TEXT_RECT, *p) or inside(MINIMIZE, *p) or inside(CLOSE, *p))]
    checks.check('frame', not stray,
                 '%d pixels differ from the skin outside icon, text and buttons, first %s' % (len(stray), stray[:5])
                 if stray else 'caption and borders are the skin\'s pieces')

    bar = [px(265, y) for y in range(2, CAPTION_HEIGHT - 1)]
    dark = sum(luminance(c) for c in bar) / len(bar)
    checks.check('dark title bar', dark < 110, 'mean luminance %.0f' % dark)

    icon = [p for p in drawn if inside(ICON_BOX, *p)]
    box = bbox(icon)
    checks.check('caption icon', len(icon) >= 60 and box[0] <= 11 and box[1] <= 8 and box[2] >= 23 and box[3] >= 20,
                 '%d pixels of the icon in %s, spanning %s' % (len(icon), ICON_BOX, box))

    white = [p for p in drawn if inside(TEXT_RECT, *p) and min(px(*p)) >= 200]
    box = bbox(white)
    checks.check('white title', len(white) >= 40 and 35 <= box[0] <= 38 and 8 <= box[1] <= 12,
                 '%d white pixels, spanning %s (text origin 35, 8)' % (len(white), box))

    glyphs = {name: [p for p in drawn if inside(rect, *p) and min(px(*p)) >= 180]
              for name, rect in (('minimise', MINIMIZE), ('close', CLOSE))}
    plain = all(near(px(x, y), expected_frame_pixel(frame, x, y, root))
                for x in range(NO_MAXIMIZE[0], NO_MAXIMIZE[2]) for y in range(NO_MAXIMIZE[1], NO_MAXIMIZE[3]))
    checks.check('caption buttons', len(glyphs['minimise']) >= 8 and len(glyphs['close']) >= 8 and plain,
                 'glyph pixels: minimise %d, close %d; a third button\'s place is %s'
                 % (len(glyphs['minimise']), len(glyphs['close']), 'plain title bar' if plain else 'not plain'))

    # The add button: the strip's first frame, 25 pixels high, its 11-pixel
    # caps 1:1 and its middle stretched; the fill just outside it. The caption
    # text sits in the middle, so the caps' outer 8 columns and the top and
    # bottom 3 rows are the strip's own.
    def add_pixel(bx, by):
        c = add.at(bx, by)
        return INTERIOR if c == KEY else c

    def strip_column(x):
        offset = x - left
        return offset if offset < 11 else 14 + (offset - (width - 11)) if offset >= width - 11 else 12

    left, top, right, bottom = ADD_BUTTON
    width = right - left
    image = [(x, y) for y in range(top, bottom) for x in range(left, right)
             if (x - left < 8 or right - x <= 8 or y - top < 3 or bottom - y <= 3)
             and not near(px(x, y), add_pixel(strip_column(x), y - top))]
    around = [(x, y) for x in range(left - 1, right + 1) for y in (top - 1, bottom)
              if not near(px(x, y), INTERIOR)]
    around += [(x, y) for y in range(top, bottom) for x in (left - 1, right) if not near(px(x, y), INTERIOR)]
    checks.check('add button', not image and not around,
                 'image at %s: %d of its edge pixels differ from the strip, %d pixels around it are not the fill'
                 % (ADD_BUTTON, len(image), len(around)))

    # The link: blue text with an underline, all of it inside the window.
    def blue(c):
        return c[2] >= 150 and c[0] <= 110 and c[1] <= 110

    marks = [(x, y) for y in range(CAPTION_HEIGHT, HEIGHT - 3) for x in range(3, WIDTH - 3) if blue(px(x, y))]
    box = bbox(marks)
    rows = {}
    for x, y in marks:
        rows[y] = rows.get(y, 0) + 1
    underline = max(rows, key=lambda y: rows[y]) if rows else None
    text_above = sum(n for y, n in rows.items() if underline is not None and y < underline)
    whole = box is not None and box[0] >= LINK[0] and box[1] >= LINK[1] and box[2] <= LINK[2] and box[3] <= LINK[3]
    checks.check('link', whole and rows.get(underline, 0) >= 90 and text_above >= 60,
                 'blue pixels span %s (link %s), underline row %s with %d pixels, %d text pixels above it'
                 % (box, LINK, underline, rows.get(underline, 0), text_above))

    fill = [(x, y) for x, y in ((5, 30), (10, 100), (300, 150), (349, 244), (200, 120)) if not near(px(x, y), INTERIOR)]
    checks.check('interior', not fill, 'the fill 0xEFD9C1 everywhere sampled' if not fill else 'not the fill at %s' % fill)

    return 1 if checks.failed else 0


if __name__ == '__main__':
    sys.exit(main())
