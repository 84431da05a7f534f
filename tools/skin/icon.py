"""The program icon: a small calculator face in 32 x 32 (16 and 256 colours) and 16 x 16, and
smooth 32-bit faces of 48 x 48 and 256 x 256 (stored as PNG) for large views and high DPI."""

import math

import imaging

BLACK, WHITE = (0, 0, 0), (255, 255, 255)
GREY, SILVER, TEAL = (128, 128, 128), (192, 192, 192), (0, 128, 128)

# The 16 colours every display can show.
VGA = [BLACK, (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), TEAL,
       SILVER, GREY, (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255),
       (0, 255, 255), WHITE]

# 3 x 5 figures for the display's digits.
FIGURES = {
    "1": ["010", "110", "010", "010", "111"],
    "2": ["111", "001", "111", "100", "111"],
    "3": ["111", "001", "011", "001", "111"],
}


class Canvas:
    def __init__(self, size):
        self.size = size
        self.pixels = [[BLACK] * size for _ in range(size)]
        self.opaque = [[False] * size for _ in range(size)]

    def fill(self, x0, y0, x1, y1, colour):
        """Fills the inclusive rectangle (x0, y0)-(x1, y1)."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.pixels[y][x] = colour
                self.opaque[y][x] = True

    def clear(self, x, y):
        self.pixels[y][x] = BLACK
        self.opaque[y][x] = False

    def panel(self, x0, y0, x1, y1, face, light, shadow):
        """Outlined panel with cut corners and a raised bevel."""
        self.fill(x0, y0, x1, y1, BLACK)
        self.fill(x0 + 1, y0 + 1, x1 - 1, y1 - 1, face)
        self.fill(x0 + 1, y0 + 1, x1 - 2, y0 + 1, light)
        self.fill(x0 + 1, y0 + 1, x0 + 1, y1 - 2, light)
        self.fill(x0 + 2, y1 - 1, x1 - 1, y1 - 1, shadow)
        self.fill(x1 - 1, y0 + 2, x1 - 1, y1 - 1, shadow)
        for x, y in ((x0, y0), (x1, y0), (x0, y1), (x1, y1)):
            self.clear(x, y)

    def figures(self, text, x, y, colour):
        for char in text:
            for dy, line in enumerate(FIGURES[char]):
                for dx, bit in enumerate(line):
                    if bit == "1":
                        self.fill(x + dx, y + dy, x + dx, y + dy, colour)
            x += 4

    def indices(self, palette):
        return [[palette.index(c) if o else 0 for c, o in zip(row, mask)]
                for row, mask in zip(self.pixels, self.opaque)]


def face32(rich):
    """The 32 x 32 face; `rich` adds shading that needs more than the 16 colours."""
    c = Canvas(32)
    c.panel(4, 1, 28, 30, (200, 200, 200) if rich else SILVER, WHITE, GREY)
    if rich:
        # A soft fall of light down the panel.
        for y in range(3, 29):
            shade = 212 - (y - 3) * 36 // 26
            c.fill(6, y, 26, y, (shade, shade, shade))
    c.fill(7, 4, 25, 12, GREY)
    c.fill(8, 5, 25, 12, WHITE)
    c.figures("123", 13, 6, TEAL)
    for row in range(5):
        for col in range(5):
            x, y = 7 + 4 * col, 15 + 3 * row
            c.fill(x, y, x + 2, y + 1, BLACK)
            if rich:
                c.fill(x, y, x + 2, y, (72, 72, 72))
    return c


def face16():
    c = Canvas(16)
    c.panel(2, 0, 13, 15, SILVER, WHITE, GREY)
    c.fill(4, 2, 11, 4, WHITE)
    c.fill(4, 2, 11, 2, GREY)
    c.fill(8, 3, 10, 3, TEAL)
    for row in range(3):
        for col in range(3):
            x, y = 4 + 3 * col, 6 + 3 * row
            c.fill(x, y, x + 1, y + 1, BLACK)
    return c


def _in_rounded(u, v, box, radius):
    x0, y0, x1, y1 = box
    if not (x0 <= u < x1 and y0 <= v < y1):
        return False
    dx = max(x0 + radius - u, 0.0, u - (x1 - radius))
    dy = max(y0 + radius - v, 0.0, v - (y1 - radius))
    return dx * dx + dy * dy <= radius * radius


def _smooth_colour(u, v):
    """Colour and alpha of the face at a point of the 32-unit design, as the 32 x 32 face."""
    if not _in_rounded(u, v, (4, 1, 29, 31), 2.5):
        return (0, 0, 0, 0)
    if not _in_rounded(u, v, (4.8, 1.8, 28.2, 30.2), 1.8):
        return BLACK + (255,)
    if _in_rounded(u, v, (7, 4, 26, 13), 0.6):
        col, row = math.floor(u - 13), math.floor(v - 6)
        if _in_rounded(u, v, (8, 5, 25.4, 12.4), 0.4):
            figure = FIGURES.get("123"[col // 4] if 0 <= col < 12 else "", [])
            lit = 0 <= row < 5 and figure and col % 4 < 3 and figure[row][col % 4] == "1"
            return (TEAL if lit else WHITE) + (255,)
        return GREY + (255,)
    for row in range(5):
        for col in range(5):
            x, y = 7 + 4 * col, 15 + 3 * row
            if _in_rounded(u, v, (x, y, x + 3, y + 2), 0.5):
                return ((72, 72, 72) if v < y + 0.7 else BLACK) + (255,)
    shade = round(220 - (v - 2) * 44 / 28)  # light falling down the panel
    return (shade, shade, shade, 255)


def smooth_face(size, samples=4):
    """Rows of (r, g, b, a) of the face at `size` pixels, edges smoothed by supersampling."""
    scale = size / 32
    offsets = [(k + 0.5) / samples for k in range(samples)]
    rows = []
    for j in range(size):
        row = []
        for i in range(size):
            total = [0, 0, 0, 0]
            for sy in offsets:
                for sx in offsets:
                    r, g, b, a = _smooth_colour((i + sx) / scale, (j + sy) / scale)
                    total = [total[0] + r * a, total[1] + g * a, total[2] + b * a, total[3] + a]
            alpha = total[3]
            row.append(tuple(round(c / alpha) if alpha else 0 for c in total[:3])
                       + (round(alpha / samples ** 2),))
        rows.append(row)
    return rows


def rich_palette(canvas):
    used = sorted({c for row in canvas.pixels for c in row})
    return used + [BLACK] * (256 - len(used))


def ico():
    rich = face32(True)
    palette256 = rich_palette(rich)
    images = []
    for canvas, palette, bits in ((face32(False), VGA, 4), (rich, palette256, 8),
                                  (face16(), VGA, 4)):
        data = imaging.icon_image(canvas.indices(palette), canvas.opaque, palette, bits)
        images.append((canvas.size, canvas.size, bits, data))
    images.append((48, 48, 32, imaging.icon_image32(smooth_face(48))))
    images.append((256, 256, 32, imaging.png(smooth_face(256))))
    return imaging.ico(images)
