#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/display_layout.h"
#include "shell/key_layout.h"

namespace {

struct KeyRectCase {
    int index;
    KeyRect rect;
};

TEST(KeyLayout, RectanglesFollowTheGrid) {
    const KeyRectCase cases[] = {
        {0, {10, 90, 58, 138}},      // OFF
        {4, {242, 90, 290, 138}},    // 税抜, end of the first row
        {5, {10, 148, 58, 196}},     // AC starts the second row
        {10, {10, 206, 58, 254}},    // 7
        {27, {126, 380, 174, 428}},  // =
        {29, {242, 380, 290, 428}},  // M+
    };
    for (const auto& c : cases) {
        const KeyRect rect = KeyRectangle(c.index);
        EXPECT_EQ(rect.left, c.rect.left) << "key " << c.index;
        EXPECT_EQ(rect.top, c.rect.top) << "key " << c.index;
        EXPECT_EQ(rect.right, c.rect.right) << "key " << c.index;
        EXPECT_EQ(rect.bottom, c.rect.bottom) << "key " << c.index;
    }
}

struct PointCase {
    int x;
    int y;
    bool inKey0;
};

TEST(KeyLayout, RightAndBottomEdgesAreExclusive) {
    const PointCase cases[] = {
        {57, 100, true}, {58, 100, false}, {10, 90, true},   {9, 90, false},
        {10, 89, false}, {30, 137, true},  {30, 138, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Contains(KeyRectangle(0), c.x, c.y), c.inKey0) << c.x << "," << c.y;
    }
}

struct StyleCase {
    int index;
    Rgb colour;
    int height;
};

TEST(KeyLayout, StylesFollowTheFirstMatchingRule) {
    const StyleCase cases[] = {
        {2, {128, 0, 0}, 18},   {3, {0, 128, 128}, 18},
        {4, {0, 128, 128}, 18},  // column 4, but a tax key
        {6, {255, 0, 0}, 24},   {7, {0, 0, 0}, 34},
        {9, {128, 0, 255}, 24}, {29, {128, 0, 255}, 24},
        {28, {0, 0, 0}, 34},
    };
    for (const auto& c : cases) {
        const KeyStyle style = KeyStyleFor(c.index);
        EXPECT_EQ(style.colour.red, c.colour.red) << "key " << c.index;
        EXPECT_EQ(style.colour.green, c.colour.green) << "key " << c.index;
        EXPECT_EQ(style.colour.blue, c.colour.blue) << "key " << c.index;
        EXPECT_EQ(style.fontHeight, c.height) << "key " << c.index;
    }
}

struct PlacementCase {
    int screen;
    int client;
    int x;
};

TEST(Placement, FlushWithTheRightEdgeOrAtZero) {
    const PlacementCase cases[] = {
        {1280, 300, 980}, {1920, 300, 1620}, {301, 300, 1},
        {300, 300, 0},    {200, 300, 0},     {0, 300, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlacementX(c.screen, c.client), c.x) << c.screen << " wide, client " << c.client;
    }
}

// The sizes of the program's glyph bitmaps.
GlyphSizes ProgramGlyphSizes() {
    GlyphSizes sizes{};
    const GlyphSize digits[] = {{35, 39}, {36, 41}, {35, 39}, {35, 39}, {36, 40},
                                {34, 39}, {35, 39}, {36, 40}, {35, 39}, {33, 39}};
    for (std::size_t d = 0; d < 10; ++d) {
        sizes[d] = digits[d];
    }
    sizes[MinusGlyph] = {25, 40};
    sizes[PointGlyph] = {12, 40};
    sizes[CommaGlyph] = {8, 39};
    return sizes;
}

constexpr DisplayBox Strip{15, 20, 270, 40, 3};

struct Placed {
    int x;
    int y;
    int width;
    int height;
};

std::vector<Placed> Placements(const NumberLayout& layout) {
    std::vector<Placed> placed;
    for (std::size_t i = 0; i < layout.count; ++i) {
        const GlyphPlacement& g = layout.glyphs[i];
        placed.push_back({g.x, g.y, g.width, g.height});
    }
    return placed;
}

void ExpectPlacements(const NumberLayout& layout, const std::vector<Placed>& expected,
                      const std::string& what) {
    const std::vector<Placed> placed = Placements(layout);
    ASSERT_EQ(placed.size(), expected.size()) << what;
    for (std::size_t i = 0; i < placed.size(); ++i) {
        EXPECT_EQ(placed[i].x, expected[i].x) << what << " glyph " << i;
        EXPECT_EQ(placed[i].y, expected[i].y) << what << " glyph " << i;
        EXPECT_EQ(placed[i].width, expected[i].width) << what << " glyph " << i;
        EXPECT_EQ(placed[i].height, expected[i].height) << what << " glyph " << i;
    }
}

TEST(NumberLayout, TallOneScalesHeightsAndNumberEndsBeforeTheMargin) {
    const NumberLayout layout = LayoutNumber("1,234.5", ProgramGlyphSizes(), Strip);
    ExpectPlacements(layout,
                     {{184, 20, 18, 40},
                      {202, 20, 4, 38},
                      {206, 20, 17, 38},
                      {223, 20, 17, 38},
                      {240, 20, 18, 39},
                      {258, 20, 6, 39},
                      {264, 20, 17, 38}},
                     "1,234.5");
    EXPECT_EQ(layout.glyphs[0].glyph, 1u);
    EXPECT_EQ(layout.glyphs[1].glyph, CommaGlyph);
    EXPECT_EQ(layout.glyphs[5].glyph, PointGlyph);
}

TEST(NumberLayout, SmallNumbersAreRightAlignedAndCentred) {
    ExpectPlacements(LayoutNumber("0", ProgramGlyphSizes(), Strip), {{265, 20, 17, 39}}, "0");
    // 25 x 40 and 36 x 40: the tallest is 40, not below the strip, so drawn as is at y 20.
    ExpectPlacements(LayoutNumber("-4", ProgramGlyphSizes(), Strip),
                     {{252, 20, 12, 40}, {264, 20, 18, 40}}, "-4");

    // Glyphs lower than the strip are centred on the tallest: (40 - 31) / 2 = 4.
    GlyphSizes small{};
    small[2] = {20, 30};
    small[3] = {21, 31};
    ExpectPlacements(LayoutNumber("23", small, Strip), {{262, 24, 10, 30}, {272, 24, 10, 31}},
                     "small 23");
}

TEST(NumberLayout, WideNumbersAreSqueezedFromTheLeftEdge) {
    GlyphSizes wide{};
    wide[8] = {60, 39};  // drawn 30 wide unscaled
    // Eighteen eights: total 1080, half 540 >= 267, so scale 267 / 540.
    const NumberLayout layout = LayoutNumber(std::string(18, '8'), wide, Strip);
    ASSERT_EQ(layout.count, 18u);
    EXPECT_EQ(layout.glyphs[0].x, 15);
    const int width = static_cast<int>(30.0 * (267.0 / 540.0));  // 14
    for (std::size_t i = 0; i < layout.count; ++i) {
        EXPECT_EQ(layout.glyphs[i].width, width) << "glyph " << i;
        EXPECT_EQ(layout.glyphs[i].x, 15 + static_cast<int>(i) * width) << "glyph " << i;
        EXPECT_EQ(layout.glyphs[i].y, 20) << "glyph " << i;
    }
    EXPECT_LE(layout.glyphs[17].x + layout.glyphs[17].width, 15 + 270);
}

TEST(NumberLayout, SqueezingStartsExactlyWhereHalfTheWidthReachesTheSpace) {
    GlyphSizes sizes{};
    sizes[0] = {532, 39};  // half 266 < 267: right-aligned
    sizes[1] = {534, 39};  // half 267: squeezed, scale 1
    const NumberLayout fits = LayoutNumber("0", sizes, Strip);
    EXPECT_EQ(fits.glyphs[0].x, 15 + 270 - 3 - 266);
    const NumberLayout squeezed = LayoutNumber("1", sizes, Strip);
    EXPECT_EQ(squeezed.glyphs[0].x, 15);
    EXPECT_EQ(squeezed.glyphs[0].width, 267);
}

TEST(NumberLayout, MissingGlyphsTakeNoSpace) {
    GlyphSizes sizes = ProgramGlyphSizes();
    sizes[CommaGlyph] = {};
    const NumberLayout layout = LayoutNumber("1,000", sizes, Strip);
    ASSERT_EQ(layout.count, 5u);
    EXPECT_EQ(layout.glyphs[1].width, 0);
    EXPECT_EQ(layout.glyphs[2].x, layout.glyphs[1].x);
    EXPECT_EQ(layout.glyphs[4].x + layout.glyphs[4].width, 15 + 270 - 3 - 1);

    // Nothing measured at all: no division by a zero width or height.
    const NumberLayout unmeasured = LayoutNumber("12", GlyphSizes{}, {15, 20, 0, 0, 3});
    ASSERT_EQ(unmeasured.count, 2u);
    EXPECT_EQ(unmeasured.glyphs[1].width, 0);
    EXPECT_EQ(unmeasured.glyphs[1].height, 0);
}

struct IndicatorCase {
    std::uint32_t error;
    std::uint32_t tax;
    bool memory;
    IndicatorKind kind;
    std::size_t index;
};

TEST(Indicator, ErrorBeatsTaxBeatsMemory) {
    const IndicatorCase cases[] = {
        {0, 0, false, IndicatorKind::None, 0},
        {0, 0, true, IndicatorKind::Memory, 0},
        {0, 1, true, IndicatorKind::Tax, 0},
        {0, 3, false, IndicatorKind::Tax, 2},
        {1, 0, false, IndicatorKind::Error, 0},
        {2, 2, true, IndicatorKind::Error, 1},
        {3, 1, false, IndicatorKind::Error, 2},
        // Out of range: nothing, and never a text past the end of a table.
        {4, 0, true, IndicatorKind::None, 0},
        {0, 4, true, IndicatorKind::None, 0},
        {0xFFFFFFFF, 1, true, IndicatorKind::None, 0},
    };
    for (const auto& c : cases) {
        const Indicator indicator = ChooseIndicator(c.error, c.tax, c.memory);
        EXPECT_EQ(indicator.kind, c.kind) << "error " << c.error << " tax " << c.tax;
        EXPECT_EQ(indicator.textIndex, c.index) << "error " << c.error << " tax " << c.tax;
    }
}

}  // namespace
