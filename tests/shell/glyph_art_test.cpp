#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "shell/glyph_art.h"

namespace {

std::uint32_t Little(const std::vector<std::uint8_t>& b, std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int k = bytes - 1; k >= 0; --k) value = value << 8 | b.at(at + std::size_t(k));
    return value;
}

// A committed 4-bit bitmap of resources/ as palette indices, top row first; its palette must
// be the skin's.
GlyphArt ReadBitmap(const std::string& name) {
    std::ifstream file(std::string(KARVOLD_RESOURCES_DIR "/") + name, std::ios::binary);
    const std::vector<std::uint8_t> b{std::istreambuf_iterator<char>(file), {}};
    GlyphArt art{int(Little(b, 18, 4)), int(Little(b, 22, 4)), {}};
    EXPECT_EQ(Little(b, 28, 2), 4u) << name;
    for (std::size_t k = 0; k < SkinPalette.size(); ++k) {
        const auto [red, green, blue] = SkinPalette[k];
        EXPECT_EQ(Little(b, 54 + 4 * k, 3), std::uint32_t(red << 16 | green << 8 | blue)) << k;
    }
    const std::size_t stride = std::size_t(art.width + 7) / 8 * 4, bits = Little(b, 10, 4);
    for (int y = art.height - 1; y >= 0; --y)
        for (int x = 0; x < art.width; ++x) {
            const std::uint8_t byte = b.at(bits + std::size_t(y) * stride + std::size_t(x) / 2);
            art.pixels.push_back(std::uint8_t(x % 2 ? byte & 15 : byte >> 4));
        }
    return art;
}

constexpr int Dpis[] = {96, 120, 144, 192, 288};
constexpr std::string_view Signs = ".,-";
constexpr std::uint8_t White = 0, HalfCovered = 3, Teal = 6, Silver = 7;

TEST(GlyphArt, DrawsTheCommittedBitmapsAt96Dpi) {
    std::vector<std::pair<std::string, GlyphArt>> cases = {{"body_tile.bmp", RenderBodyTile(96)},
                                                           {"point.bmp", RenderGlyph('.', 96)},
                                                           {"comma.bmp", RenderGlyph(',', 96)},
                                                           {"minus.bmp", RenderGlyph('-', 96)}};
    for (char digit = '0'; digit <= '9'; ++digit)
        cases.emplace_back(std::string("digit") + digit + ".bmp", RenderGlyph(digit, 96));
    for (const auto& [name, drawn] : cases) {
        const GlyphArt committed = ReadBitmap(name);
        ASSERT_EQ(drawn.width, committed.width) << name;
        ASSERT_EQ(drawn.height, committed.height) << name;
        const auto [differs, _] =
            std::mismatch(drawn.pixels.begin(), drawn.pixels.end(), committed.pixels.begin());
        const auto at = differs - drawn.pixels.begin();
        EXPECT_EQ(differs, drawn.pixels.end())
            << name << " differs at x " << at % drawn.width << ", y " << at / drawn.width;
    }
    for (const GlyphArt& none : {RenderGlyph('x', 96), RenderGlyph('0', -96), RenderBodyTile(0)})
        EXPECT_EQ(none.width + none.height + int(none.pixels.size()), 0);
}

// Bitmap sizes follow value * dpi / 96 rounded half away from zero (61.5 gives 62).
TEST(GlyphArt, SizesScaleWithTheDpi) {
    const std::tuple<char, int, int, int> cases[] = {
        {'1', 144, 54, 62},  {'9', 120, 41, 49}, {'.', 120, 15, 50},
        {',', 288, 24, 117}, {'-', 192, 50, 80}, {'5', 288, 102, 117},
    };
    for (const auto& [glyph, dpi, width, height] : cases) {
        const GlyphArt art = RenderGlyph(glyph, dpi);
        EXPECT_EQ(std::pair(art.width, art.height), std::pair(width, height))
            << glyph << " at " << dpi;
    }
}

using Ink = std::array<double, 4>;  // left, top, right, bottom

// The box of the pixels at least about half covered; columns counted from the bitmap's centre.
Ink InkOf(const GlyphArt& art) {
    Ink ink{1e9, 1e9, -1, -1};
    for (int y = 0; y < art.height; ++y)
        for (int x = 0; x < art.width; ++x) {
            if (art.pixels[std::size_t(y * art.width + x)] >= HalfCovered) {
                const double column = x - art.width / 2.0;
                ink = {std::min(ink[0], column), std::min(ink[1], double(y)),
                       std::max(ink[2], column + 1), std::max(ink[3], y + 1.0)};
            }
        }
    return ink;
}

// The shapes grow with the bitmap: the ink keeps its place and size, and each digit lights
// exactly its segments, seen at their centres (bitmap pixels at 96 DPI from the cell's middle).
TEST(GlyphArt, ShapesScaleWithTheDpi) {
    struct Centre {
        char segment;
        double x, y;
    };
    constexpr Centre Centres[] = {{'a', 2.3, 4},   {'b', 9.7, 11},  {'c', 7.1, 29}, {'d', -2.3, 36},
                                  {'e', -9.7, 29}, {'f', -7.1, 11}, {'g', 0, 20}};
    const std::string_view lit[] = {"abcdef", "bc",     "abdeg", "abcdg",   "bcfg",
                                    "acdfg",  "acdefg", "abc",   "abcdefg", "abcdfg"};
    for (const int dpi : Dpis) {
        // Half a pixel either side at each size, and a quarter for the cell's rounding.
        const double scale = dpi / 96.0, slack = 0.75 + scale / 2;
        for (char glyph : std::string("0123456789") + std::string(Signs)) {
            const GlyphArt art = RenderGlyph(glyph, dpi);
            const Ink base = InkOf(RenderGlyph(glyph, 96)), ink = InkOf(art);
            for (std::size_t edge = 0; edge < ink.size(); ++edge)
                EXPECT_NEAR(ink[edge], base[edge] * scale, slack)
                    << glyph << " at " << dpi << ", edge " << edge;
            if (Signs.find(glyph) != Signs.npos)
                continue;
            for (const auto& [segment, x, y] : Centres) {
                const bool on = lit[glyph - '0'].find(segment) != std::string_view::npos;
                const int column = int(art.width / 2.0 + x * scale), row = int(y * scale);
                EXPECT_EQ(art.pixels.at(std::size_t(row * art.width + column)), on ? Teal : White)
                    << glyph << " segment " << segment << " at " << dpi;
            }
        }
    }
}

// The diagonal is as wide as the scale and runs on across tiles: each row is the one above it
// moved one pixel left, wrapping round, and the first row's ends at the right edge.
TEST(GlyphArt, BodyTileScalesItsDiagonal) {
    const int sizes[] = {8, 10, 12, 16, 24}, lines[] = {1, 1, 2, 2, 3};
    for (std::size_t k = 0; k < std::size(Dpis); ++k) {
        const GlyphArt tile = RenderBodyTile(Dpis[k]);
        const int n = sizes[k];
        ASSERT_EQ(std::pair(tile.width, tile.height), std::pair(n, n));
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x) {
                const std::uint8_t pixel = tile.pixels[std::size_t(y * n + x)];
                const std::uint8_t expected =
                    y > 0 ? tile.pixels[std::size_t((y - 1) * n + (x + 1) % n)]
                          : (x >= n - lines[k] ? White : Silver);
                EXPECT_EQ(pixel, expected) << x << "," << y << " at " << Dpis[k];
            }
    }
}

}  // namespace
