#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>

#include "shell/display_layout.h"
#include "shell/help_path.h"
#include "shell/key_layout.h"

namespace {

// Never past its 260 bytes; without a registered folder, beside the program, not the
// current folder.
TEST(HelpPath, RegisteredFolderOrBesideTheProgram) {
    const std::string longest(243, 'p'), tooLong(244, 'p');  // + "\\EXE\\Karvold.chm" + NUL
    const std::tuple<const char*, const char*, std::string> cases[] = {
        {"C:\\F", "C:\\X\\karvold.exe", "C:\\F\\EXE\\Karvold.chm"},
        {nullptr, "C:\\X\\karvold.exe", "C:\\X\\Karvold.chm"},
        {nullptr, "karvold.exe", "Karvold.chm"},
        {longest.c_str(), "", longest + "\\EXE\\Karvold.chm"},
        {tooLong.c_str(), "", ""},
    };
    for (const auto& [registered, program, expected] : cases) {
        char buffer[260] = "stale";
        EXPECT_EQ(BuildHelpPath(buffer, sizeof(buffer), registered, program), !expected.empty());
        EXPECT_EQ(buffer, expected) << (registered ? registered : program);
    }
}

// The work area leaves out a taskbar at any edge; a window too wide starts at its left.
TEST(Placement, TopRightOfTheWorkAreaAndBackInsideWhenLeftOutside) {
    const ScreenArea screen{0, 0, 1280, 1024}, belowTaskbar{0, 40, 1280, 1024};
    const ScreenArea besideTaskbar{0, 0, 1200, 1024};
    const std::tuple<ScreenArea, int, ScreenPoint> corners[] = {
        {screen, 300, {980, 0}},         {belowTaskbar, 450, {830, 40}},
        {besideTaskbar, 300, {900, 0}},  {{0, 0, 301, 600}, 300, {1, 0}},
        {{0, 0, 300, 600}, 300, {0, 0}}, {{50, 0, 250, 600}, 300, {50, 0}}};
    for (const auto& [work, width, corner] : corners)
        EXPECT_EQ(TopRightIn(work, width), corner) << width;
    // Window, where it goes (nothing: it stays).
    const std::pair<ScreenArea, std::optional<ScreenPoint>> moves[] = {
        {{980, 40, 1280, 490}, std::nullopt},          {{0, 574, 300, 1024}, std::nullopt},
        {{1000, 0, 1300, 450}, ScreenPoint{980, 40}},  {{-20, 600, 280, 1050}, ScreenPoint{0, 574}},
        {{2000, 30, 2300, 480}, ScreenPoint{980, 40}}, {{100, 0, 1400, 1100}, ScreenPoint{0, 40}}};
    for (const auto& [window, moved] : moves)
        EXPECT_EQ(BackInside(belowTaskbar, window), moved) << window.left << "," << window.top;
}

// Rounded as MulDiv rounds; each key a whole pitch from the last, so they never drift apart.
TEST(SkinLayout, EveryScaleKeepsTheGridEvenInsideTheBodyAndBelowTheDisplay) {
    const std::tuple<int, int, int, KeyRect, int> scales[] = {
        {96, 300, 450, {10, 90, 58, 138}, 58},
        {120, 375, 563, {13, 113, 73, 173}, 73},
        {144, 450, 675, {15, 135, 87, 207}, 87},
        {192, 600, 900, {20, 180, 116, 276}, 116},
        {288, 900, 1350, {30, 270, 174, 414}, 174}};
    for (const auto& [dpi, width, height, first, pitch] : scales) {
        SCOPED_TRACE(dpi);
        const SkinLayout layout = LayoutForDpi(dpi);
        EXPECT_EQ(std::pair(layout.windowWidth, layout.windowHeight), std::pair(width, height));
        const DisplayBox strip = layout.display;
        const int lines = 2 * layout.displayLineWidth;
        EXPECT_TRUE(strip.x > 0 && strip.y > 0 && strip.x + strip.width + lines < width &&
                    strip.y + strip.height + lines < first.top)
            << "display " << strip.x << "," << strip.y << " " << strip.width << "x" << strip.height;
        EXPECT_EQ(strip.x, width - strip.x - strip.width) << "centred";
        for (int i = 0; i < KeyCount; ++i) {
            const KeyRect key = layout.keys[static_cast<std::size_t>(i)];
            const int dx = pitch * (i % KeyColumns), dy = pitch * (i / KeyColumns);
            EXPECT_EQ(
                std::tuple(key.left, key.top, key.right, key.bottom),
                std::tuple(first.left + dx, first.top + dy, first.right + dx, first.bottom + dy))
                << "key " << i;
        }
    }
}

// Every glyph of a row's text has the row's bitmap size; glyph i lands at x + i * width.
TEST(NumberLayout, RightAlignedAndCentredUntilSqueezed) {
    constexpr DisplayBox Strip = DisplayBoxFor(WindowWidth);
    const std::tuple<const char*, std::string, GlyphSize, DisplayBox, GlyphPlacement> cases[] = {
        {"half 266 just fits", "0", {532, 39}, Strip, {0, 16, 20, 266, 39}},
        {"half 268 is squeezed", "0", {536, 39}, Strip, {0, 15, 20, 267, 39}},
        {"18 eights at 267/540", std::string(18, '8'), {60, 39}, Strip, {0, 15, 20, 14, 39}},
        {"low glyphs centred", "22", {20, 30}, Strip, {0, 262, 25, 10, 30}},
        {"tall glyph halved", "5", {20, 80}, Strip, {0, 272, 20, 10, 40}},
        {"nothing measured, no room", "12", {0, 0}, {15, 20, 0, 0, 3}, {0, 15, 20, 0, 0}},
    };
    for (const auto& [name, text, size, box, first] : cases) {
        SCOPED_TRACE(name);
        GlyphSizes sizes{};
        sizes.fill(size);
        const NumberLayout layout = LayoutNumber(text, sizes, box);
        ASSERT_EQ(layout.count, text.size());
        for (std::size_t i = 0; i < layout.count; ++i) {
            const GlyphPlacement& g = layout.glyphs[i];
            EXPECT_EQ(std::tuple(g.x, g.y, g.width, g.height),
                      std::tuple(first.x + static_cast<int>(i) * first.width, first.y, first.width,
                                 first.height))
                << "glyph " << i;
        }
    }
}

TEST(Indicator, ErrorBeatsTaxBeatsMemoryAndUnknownCodesShowNothing) {
    using enum IndicatorKind;
    const std::tuple<std::uint32_t, std::uint32_t, bool, IndicatorKind, std::size_t> cases[] = {
        {0, 0, false, None, 0}, {0, 0, true, Memory, 0},       {0, 3, true, Tax, 2},
        {2, 1, true, Error, 1}, {3, 0, false, Error, 2},       {4, 1, true, None, 0},
        {0, 4, true, None, 0},  {0xFFFFFFFF, 0, true, None, 0}};
    for (const auto& [error, tax, memory, kind, text] : cases) {
        const Indicator indicator = ChooseIndicator(error, tax, memory);
        EXPECT_EQ(std::pair(indicator.kind, indicator.textIndex), std::pair(kind, text))
            << "error " << error << " tax " << tax;
    }
}

}  // namespace
