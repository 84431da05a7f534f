#!/usr/bin/env python3
"""Draws Karvold's display glyphs, body tile and program icon.

    make_skin.py [--out DIR] [--preview DIR]

Writes the 4-bit bitmaps and karvold.ico into DIR (default: resources/ beside this tool's
folder). The output is committed, so the build never runs this. --preview also writes PNG
enlargements and a mock-up of the display strip as the program draws it (every glyph at half
width, shrunk the way GDI's default stretch mode does it) for judging the look.

Python 3 standard library only.
"""

import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the tool folder clean
sys.path.insert(0, HERE)

import glyphs  # noqa: E402
import icon  # noqa: E402
import imaging  # noqa: E402
import preview  # noqa: E402

# Bitmap file names by resource; the .rc names the same files.
GLYPH_FILES = {f"digit{d}.bmp": str(d) for d in range(10)}
GLYPH_FILES.update({"point.bmp": ".", "comma.bmp": ",", "minus.bmp": "-"})


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(HERE, "..", "..", "resources"))
    parser.add_argument("--preview", help="folder for PNG previews")
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)

    levels = {}
    for name, char in GLYPH_FILES.items():
        levels[char] = glyphs.render(char)
        write(os.path.join(args.out, name),
              imaging.bmp4(levels[char], glyphs.PALETTE))
    tile = glyphs.body_tile()
    write(os.path.join(args.out, "body_tile.bmp"), imaging.bmp4(tile, glyphs.PALETTE))
    write(os.path.join(args.out, "karvold.ico"), icon.ico())

    if args.preview:
        os.makedirs(args.preview, exist_ok=True)
        preview.write_all(args.preview, levels, tile)
    return 0


if __name__ == "__main__":
    sys.exit(main())
