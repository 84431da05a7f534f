#pragma once

// The display glyphs and the body tile drawn for any DPI from one geometry: at 96 DPI they
// equal the bitmaps in resources/ pixel for pixel; at other DPIs every size is scaled by
// value * dpi / 96, rounded half away from zero, so each glyph is still drawn at half its
// bitmap width. Portable: no <windows.h>.

#include <array>
#include <cstdint>
#include <vector>

struct SkinColour { std::uint8_t red, green, blue; };

// The 16 colours of the skin's 4-bit bitmaps, in palette order.
extern const std::array<SkinColour, 16> SkinPalette;

// One bitmap as palette indices, top row first, width * height entries.
struct GlyphArt {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

// glyph is one of '0'-'9', '.', ',', '-'; any other character gives an empty GlyphArt, and so
// does a dpi outside 1 to 1536 (16 times 96).
GlyphArt RenderGlyph(char glyph, int dpi);
GlyphArt RenderBodyTile(int dpi);
