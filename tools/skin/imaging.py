"""Raster helpers: polygon coverage, BMP, ICO and PNG encoders (standard library only)."""

import struct
import zlib


def coverage(width, height, polygons, x_scale=1.0, samples=8):
    """Fraction of each pixel covered by the union of convex polygons.

    Polygon points are in design units; pixel column i spans design x from i / x_scale to
    (i + 1) / x_scale, row j spans design y from j to j + 1.
    """
    edges = [_edges(p) for p in polygons]
    step = 1.0 / samples
    grid = []
    for j in range(height):
        row = []
        for i in range(width):
            hits = 0
            for sy in range(samples):
                y = j + (sy + 0.5) * step
                for sx in range(samples):
                    x = (i + (sx + 0.5) * step) / x_scale
                    if any(_inside(e, x, y) for e in edges):
                        hits += 1
            row.append(hits / (samples * samples))
        grid.append(row)
    return grid


def _edges(points):
    # Clockwise or not, a convex polygon keeps a point on one side of all its edges.
    area = sum(a[0] * b[1] - b[0] * a[1] for a, b in zip(points, points[1:] + points[:1]))
    sign = 1.0 if area > 0 else -1.0
    for a, b, c in zip(points, points[1:] + points[:1], points[2:] + points[:2]):
        turn = (b[0] - a[0]) * (c[1] - b[1]) - (b[1] - a[1]) * (c[0] - b[0])
        assert sign * turn >= 0, f"polygon {points} is not convex"
    return [(a, b, sign) for a, b in zip(points, points[1:] + points[:1])]


def _inside(edges, x, y):
    for (ax, ay), (bx, by), sign in edges:
        if sign * ((bx - ax) * (y - ay) - (by - ay) * (x - ax)) < 0:
            return False
    return True


def _dib_rows(pixels, bits):
    """Bottom-up rows of palette indices packed at `bits` per pixel, padded to 4 bytes."""
    out = bytearray()
    per_byte = 8 // bits
    for row in reversed(pixels):
        packed = bytearray()
        for start in range(0, len(row), per_byte):
            byte = 0
            chunk = row[start:start + per_byte]
            for k in range(per_byte):
                value = chunk[k] if k < len(chunk) else 0
                byte |= value << (8 - bits * (k + 1))
            packed.append(byte)
        packed.extend(b"\0" * (-len(packed) % 4))
        out += packed
    return bytes(out)


def _info_header(width, height, bits, image_size, colours):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size,
                       2835, 2835, colours, colours)


def _palette(colours, entries):
    data = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in colours)
    return data + b"\0\0\0\0" * (entries - len(colours))


def bmp4(pixels, palette):
    """An uncompressed 16-colour BMP file of rows of palette indices."""
    assert len(palette) == 16
    height, width = len(pixels), len(pixels[0])
    bits = _dib_rows(pixels, 4)
    info = _info_header(width, height, 4, len(bits), 16) + _palette(palette, 16)
    offset = 14 + len(info)
    return struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset) + info + bits


def icon_image(pixels, opaque, palette, bits):
    """One icon image: header of double height, palette, colour bits and the AND mask."""
    height, width = len(pixels), len(pixels[0])
    colour = _dib_rows(pixels, bits)
    mask = _dib_rows([[0 if o else 1 for o in row] for row in opaque], 1)
    # Icon headers count both bitmaps in their height and leave resolution and counts at 0.
    header = struct.pack("<IiiHHIIiiII", 40, width, 2 * height, 1, bits, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    return header + _palette(palette, 1 << bits) + colour + mask


def icon_image32(rgba_rows):
    """A 32-bit icon image: blue, green, red and alpha rows, and the AND mask of what is clear."""
    height, width = len(rgba_rows), len(rgba_rows[0])
    colour = b"".join(bytes((b, g, r, a)) for row in reversed(rgba_rows) for r, g, b, a in row)
    mask = _dib_rows([[1 if px[3] == 0 else 0 for px in row] for row in rgba_rows], 1)
    header = struct.pack("<IiiHHIIiiII", 40, width, 2 * height, 1, 32, 0,
                         len(colour) + len(mask), 0, 0, 0, 0)
    return header + colour + mask


def ico(images):
    """An .ico file of (width, height, bits, image bytes) tuples."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, blobs = b"", b""
    for width, height, bits, data in images:
        colour_count = (1 << bits) if bits < 8 else 0
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, colour_count, 0, 1,
                               bits, len(data), offset + len(blobs))
        blobs += data
    return directory + entries + blobs


def png(rows):
    """A truecolour PNG of rows of (r, g, b) or, with transparency, (r, g, b, a) tuples."""
    height, width = len(rows), len(rows[0])
    raw = b"".join(b"\0" + bytes(c for px in row for c in px) for row in rows)
    colour_type = 6 if len(rows[0][0]) == 4 else 2

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, colour_type, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))
