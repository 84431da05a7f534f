"""The display glyphs: slanted seven-segment digits, point, comma and minus, and the body tile.

Geometry is laid out in screen units: the program draws every glyph at half its bitmap width,
so one unit across is two bitmap columns, while one unit down is one bitmap row.

shell/glyph_art.cpp draws the same glyphs and tile at any DPI with the same arithmetic (and
imaging.coverage's sampling); its test holds it to the committed 96-DPI bitmaps, so a change
here goes there too.
"""

import imaging

WHITE = (255, 255, 255)
TEAL = (0, 128, 128)
SILVER = (192, 192, 192)

# Shades from white to teal whose channels clear bits one after another, so that the bitwise
# AND with which GDI's default stretch mode merges the columns it drops always gives the
# darker of two shades and never a colour outside the ramp.
RAMP = [WHITE, (240, 248, 248), (192, 224, 224), (128, 224, 224), (128, 192, 192),
        (0, 192, 192), TEAL]


def _check_ramp():
    for darker, shade in enumerate(RAMP):
        for lighter in RAMP[:darker + 1]:
            merged = tuple(a & b for a, b in zip(shade, lighter))
            assert merged == shade, f"{shade} AND {lighter} leaves the ramp"


_check_ramp()

# The ramp, the body tile's grey and the calculator's other colours fill the 16 entries.
PALETTE = RAMP + [SILVER, (128, 128, 128), (0, 0, 0), (128, 0, 0), (255, 0, 0),
                  (0, 0, 128), (128, 0, 255), (0, 128, 0), (255, 255, 176)]
SILVER_INDEX = PALETTE.index(SILVER)

# Bitmap sizes (width, height) by character.
SIZES = {
    "0": (35, 39), "1": (36, 41), "2": (35, 39), "3": (35, 39), "4": (36, 40),
    "5": (34, 39), "6": (35, 39), "7": (36, 40), "8": (35, 39), "9": (33, 39),
    ".": (12, 40), ",": (8, 39), "-": (25, 40),
}

# The band every glyph shares, in rows: whatever a glyph's height, its shape sits between
# TOP and BASE, because the program aligns glyphs at their top. With the gaps taken off, the
# bars cover whole rows (2-5, 18-21 and 34-37), so their long edges stay sharp.
TOP = 1.7
BASE = 38.3
MIDDLE = (TOP + BASE) / 2
BAR = 4.6              # thickness of the horizontal segments, in rows
STROKE = 3.6           # thickness of the vertical segments, in screen units
WIDTH = 12.0           # upright width of a digit, in screen units
SLANT = 2.6            # how far the top leans right of the foot, in screen units
GAP = 0.6              # space between neighbouring segments

SEGMENTS = {
    "0": "abcdef", "1": "bc", "2": "abdeg", "3": "abcdg", "4": "bcfg",
    "5": "acdfg", "6": "acdefg", "7": "abc", "8": "abcdefg", "9": "abcdfg",
}


def _shear(points, left):
    """Leans an upright shape right by SLANT over the band and moves it to `left`."""
    return [(left + x + SLANT * (BASE - y) / (BASE - TOP), y) for x, y in points]


def inset(points, distance):
    """A convex polygon with every edge moved inward by `distance`."""
    area = sum(a[0] * b[1] - b[0] * a[1] for a, b in zip(points, points[1:] + points[:1]))
    turn = 1.0 if area > 0 else -1.0
    lines = []
    for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
        dx, dy = bx - ax, by - ay
        length = (dx * dx + dy * dy) ** 0.5
        nx, ny = -dy / length * turn, dx / length * turn
        lines.append(((ax + nx * distance, ay + ny * distance), (dx, dy)))
    out = []
    for (p, d), (q, e) in zip(lines[-1:] + lines[:-1], lines):
        cross = d[0] * e[1] - d[1] * e[0]
        k = ((q[0] - p[0]) * e[1] - (q[1] - p[1]) * e[0]) / cross
        out.append((p[0] + d[0] * k, p[1] + d[1] * k))
    return out


def _bar(x0, x1, yc):
    """A horizontal bar from tip x0 to tip x1 with pointed ends."""
    half = BAR / 2
    return [(x0, yc), (x0 + half, yc - half), (x1 - half, yc - half), (x1, yc),
            (x1 - half, yc + half), (x0 + half, yc + half)]


def segment_shapes(segments):
    """Upright polygons of the named segments, x from 0 to WIDTH.

    The outer corners are mitred, so a lit corner reads as one bent stroke; at the middle
    the verticals and the bar end in points that share their edges.
    """
    w, s, t, top, mid, base = WIDTH, STROKE, BAR, TOP, MIDDLE, BASE
    shapes = {
        "a": [(0, top), (w, top), (w - s, top + t), (s, top + t)],
        "d": [(s, base - t), (w - s, base - t), (w, base), (0, base)],
        "g": [(s / 2, mid), (s, mid - t / 2), (w - s, mid - t / 2), (w - s / 2, mid),
              (w - s, mid + t / 2), (s, mid + t / 2)],
        "f": [(0, top), (s, top + t), (s, mid - t / 2), (s / 2, mid), (0, mid - t / 2)],
        "e": [(0, mid + t / 2), (s / 2, mid), (s, mid + t / 2), (s, base - t), (0, base)],
        "b": [(w, top), (w, mid - t / 2), (w - s / 2, mid), (w - s, mid - t / 2),
              (w - s, top + t)],
        "c": [(w - s, mid + t / 2), (w - s / 2, mid), (w, mid + t / 2), (w, base),
              (w - s, base - t)],
    }
    return [inset(shapes[name], GAP / 2) for name in segments]


def shapes_for(char):
    width, _ = SIZES[char]
    cell = width / 2
    if char in SEGMENTS:
        left = (cell - WIDTH - SLANT) / 2
        return [_shear(p, left) for p in segment_shapes(SEGMENTS[char])]
    if char == "-":
        length = WIDTH - 1.0
        # Centred on the cell at mid-height, where the slant has moved it by half.
        x0 = (cell - length - SLANT) / 2
        return [_shear(inset(_bar(x0, x0 + length, MIDDLE), GAP / 2), 0)]
    if char == ".":
        # The size of a vertical stroke, standing on the baseline like the foot bar.
        x0 = (cell - STROKE - SLANT * BAR / (BASE - TOP)) / 2
        square = [(x0, BASE - BAR), (x0 + STROKE, BASE - BAR), (x0 + STROKE, BASE), (x0, BASE)]
        return [_shear(inset(square, GAP / 2), 0)]
    if char == ",":
        # A wedge leaning left from the height of the point down to the foot of the cell,
        # so it cannot be taken for the point beside it.
        wedge = [(1.6, BASE - BAR - 0.4), (3.9, BASE - BAR - 0.4), (1.5, BASE + 1.0),
                 (0.1, BASE + 1.0)]
        return [_shear(inset(wedge, GAP / 2), 0)]
    raise KeyError(char)


def quantise(cover):
    """Nearest shade of RAMP (by luminance) for a coverage fraction."""
    target = 255 - cover * (255 - _luma(TEAL))
    return min(range(len(RAMP)), key=lambda k: abs(_luma(RAMP[k]) - target))


def _luma(rgb):
    r, g, b = rgb
    return 0.299 * r + 0.587 * g + 0.114 * b


def render(char):
    """Rows of palette indices for one glyph."""
    width, height = SIZES[char]
    cover = imaging.coverage(width, height, shapes_for(char), x_scale=2.0)
    return [[quantise(c) for c in row] for row in cover]


def body_tile():
    """8 x 8 light grey with a white diagonal that runs on across tiles."""
    white = PALETTE.index(WHITE)
    return [[white if x == 7 - y else SILVER_INDEX for x in range(8)] for y in range(8)]
