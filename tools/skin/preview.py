"""PNG previews: each glyph enlarged, and the display strip as the program lays it out."""

import os

import glyphs
import imaging

SAMPLES = ["1,234.5", "0", "-9,876,543.21", "12,345,678,901", "567,890.", "4,747.1"]
DISPLAY_WIDTH, DISPLAY_HEIGHT, MARGIN = 270, 40, 3
BORDER = 6


def _rgb(levels, palette):
    return [[palette[k] for k in row] for row in levels]


def _enlarge(rows, factor):
    out = []
    for row in rows:
        wide = [px for px in row for _ in range(factor)]
        out.extend(list(wide) for _ in range(factor))
    return out


def _and(a, b):
    return tuple(x & y for x, y in zip(a, b))


def _shrink(rows, width, height):
    """Scales rows of colours down, merging the dropped rows and columns by bitwise AND as
    GDI's default stretch mode does; growing repeats pixels."""
    src_h, src_w = len(rows), len(rows[0])

    def spans(src, dst):
        return [range(src * k // dst, max(src * k // dst + 1, src * (k + 1) // dst))
                for k in range(dst)]

    out = []
    for ys in spans(src_h, height):
        line = []
        for xs in spans(src_w, width):
            colour = (255, 255, 255)
            for y in ys:
                for x in xs:
                    colour = _and(colour, rows[y][x])
            line.append(colour)
        out.append(line)
    return out


def display_strip(text, images):
    """The 270 x 40 strip with `text` drawn as the program draws it, white background."""
    strip = [[(255, 255, 255)] * DISPLAY_WIDTH for _ in range(DISPLAY_HEIGHT)]
    sizes = [(len(images[c][0]), len(images[c])) for c in text]
    total = sum(w for w, _ in sizes)
    tallest = max(h for _, h in sizes)
    half = total // 2
    available = DISPLAY_WIDTH - MARGIN
    if available > half:
        scale_x, x = 1.0, DISPLAY_WIDTH - MARGIN - half
    else:
        scale_x, x = available / half, 0
    if DISPLAY_HEIGHT > tallest:
        scale_y, y0 = 1.0, (DISPLAY_HEIGHT - tallest) // 2
    else:
        scale_y, y0 = DISPLAY_HEIGHT / tallest, 0
    for char, (w, h) in zip(text, sizes):
        dw, dh = int((w // 2) * scale_x), int(h * scale_y)
        if dw > 0 and dh > 0:
            for j, line in enumerate(_shrink(images[char], dw, dh)):
                for i, colour in enumerate(line):
                    if 0 <= x + i < DISPLAY_WIDTH and 0 <= y0 + j < DISPLAY_HEIGHT:
                        strip[y0 + j][x + i] = colour
        x += dw
    return strip


def _framed(strip):
    grey = glyphs.SILVER
    width = len(strip[0]) + 2 * BORDER
    rows = [[grey] * width for _ in range(BORDER)]
    rows += [[grey] * BORDER + line + [grey] * BORDER for line in strip]
    rows += [[grey] * width for _ in range(BORDER)]
    return rows


def write_all(folder, levels, tile):
    images = {c: _rgb(v, glyphs.PALETTE) for c, v in levels.items()}

    def save(name, rows):
        with open(os.path.join(folder, name), "wb") as f:
            f.write(imaging.png(rows))

    gap = [(255, 0, 255)]
    sheet_height = max(len(v) for v in images.values())
    order = "0123456789.,-"
    sheet = []
    for y in range(sheet_height):
        line = []
        for c in order:
            img = images[c]
            line += (img[y] if y < len(img) else [(255, 0, 255)] * len(img[0])) + gap
        sheet.append(line)
    save("glyphs_x8.png", _enlarge(sheet, 8))

    strips = []
    for text in SAMPLES:
        strips += _framed(display_strip(text, images))
    save("display_x1.png", strips)
    save("display_x4.png", _enlarge(strips, 4))
    tiled = [[glyphs.PALETTE[tile[y % 8][x % 8]] for x in range(64)] for y in range(64)]
    save("tile_x4.png", _enlarge(tiled, 4))
