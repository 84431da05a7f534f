#include <gtest/gtest.h>

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

TEST(Placement, FlushWithTheRightEdgeOrAtZero) {
    const std::tuple<int, int, int> cases[] = {
        {1280, 300, 980}, {301, 300, 1}, {300, 300, 0}, {200, 300, 0}};
    for (const auto& [screen, client, x] : cases)
        EXPECT_EQ(PlacementX(screen, client), x) << screen;
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
