#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "shell_fixture.h"

namespace {

using DrawingTest = CalcWindowTest;

TEST_F(DrawingTest, ReleaseAndDestructionLeaveNoObjectBehind) {
    const std::vector<HGDIOBJ> objects = SkinObjects(*app_);
    HMENU menu = app_->popupMenu.Get();
    app_->ReleaseSkin();
    const std::size_t fonts = objects.size() - KeyCount;
    // The keys keep their fonts until the application goes.
    for (std::size_t i = 0; i < objects.size(); ++i)
        EXPECT_EQ(GetObjectType(objects[i]) == 0, i < fonts) << i;
    EXPECT_FALSE(IsMenu(menu) || app_->errorTexts[0] || app_->taxLabels[2]);
    AttachApp(window_, nullptr);
    app_.reset();
    for (std::size_t i = fonts; i < objects.size(); ++i) EXPECT_EQ(GetObjectType(objects[i]), 0u);
}

// Key 4 sits in the memory column, but the tax keys' rule comes first.
TEST_F(DrawingTest, KeyStyleRulesApplyInOrder) {
    for (const auto& [index, colour, height] :
         {std::tuple{4, Teal, 18}, std::tuple{9, Violet, 24}}) {
        LOGFONTA font{};
        GetObjectA(Key(index).font.Get(), sizeof(font), &font);
        EXPECT_EQ(std::pair(Key(index).textColor, font.lfHeight), std::pair(colour, LONG{height}))
            << "key " << index;
    }
}

// Every key written out apart from the program's key map: its place in the grid, its caption
// and its command, which a release posts. Captions and texts are kept in Shift-JIS whatever
// the ANSI code page.
TEST_F(DrawingTest, EveryKeyHasItsCaptionAndCommandAndTextsAreShiftJis) {
    // clang-format off
    const std::tuple<int, int, const wchar_t*, char> keys[] = {
        {0, 0, L"OFF", 'Q'}, {0, 1, L"複写", 'S'}, {0, 2, L"貼付", 'D'}, {0, 3, L"税込", 'Z'}, {0, 4, L"税抜", 'X'},
        {1, 0, L"AC", 'A'},  {1, 1, L"C", 'C'},    {1, 2, L"%", '%'},    {1, 3, L"+-", 'M'},   {1, 4, L"GT", 'G'},
        {2, 0, L"7", '7'},   {2, 1, L"8", '8'},    {2, 2, L"9", '9'},    {2, 3, L"÷", '/'},    {2, 4, L"MC", 'T'},
        {3, 0, L"4", '4'},   {3, 1, L"5", '5'},    {3, 2, L"6", '6'},    {3, 3, L"×", '*'},    {3, 4, L"MR", 'R'},
        {4, 0, L"1", '1'},   {4, 1, L"2", '2'},    {4, 2, L"3", '3'},    {4, 3, L"-", '-'},    {4, 4, L"M-", 'L'},
        {5, 0, L"0", '0'},   {5, 1, L"･", '.'},    {5, 2, L"=", '='},    {5, 3, L"+", '+'},    {5, 4, L"M+", 'P'}};
    // clang-format on
    for (const auto& [row, column, caption, command] : keys) {
        const CalcKey& key = Key(5 * row + column);
        wchar_t shown[8] = L"";
        MultiByteToWideChar(932, 0, key.caption, -1, shown, 8);
        EXPECT_EQ(std::pair(std::wstring(shown), key.commandChar),
                  std::pair(std::wstring(caption), std::int32_t{command}))
            << "row " << row << ", column " << column;
    }
    EXPECT_STREQ(app_->errorTexts[1]->data(),
                 "\x8c\x85\x82\xa0\x82\xd3\x82\xea\x83\x47\x83\x89\x81\x5b");
    EXPECT_STREQ(app_->taxLabels[2]->data(), "\x90\xc5");  // 税
}

TEST_F(DrawingTest, WindowDrawingEdgesOutlineAndPressedKey) {
    Canvas raised;
    app_->DrawWindow(raised.Dc());
    Key(12).pressed = 1;  // "9", (126, 206)-(174, 254)
    Canvas pressed;
    app_->DrawWindow(pressed.Dc());
    const COLORREF edge = RGB(128, 128, 255), shadow = RGB(128, 128, 128);
    const COLORREF outline = RGB(255, 255, 176), light = GetSysColor(COLOR_3DLIGHT);
    const COLORREF dark = GetSysColor(COLOR_3DDKSHADOW), sunken = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF lit = GetSysColor(COLOR_BTNHIGHLIGHT);
    // Lines include their start and exclude their end point. A raised border starts light at
    // the left and ends dark at the right; a sunken one the other way round, moved by 2.
    const std::tuple<const Canvas*, int, int, COLORREF, bool> pixels[] = {
        {&raised, 16, 21, White, true},     {&raised, 284, 59, White, true},
        {&raised, 15, 60, edge, true},      {&raised, 285, 60, edge, true},
        {&raised, 285, 20, edge, true},     {&raised, 16, 61, shadow, true},
        {&raised, 286, 61, shadow, true},   {&raised, 286, 21, shadow, true},
        {&raised, 15, 61, shadow, false},   {&raised, 287, 61, shadow, false},
        {&raised, 286, 20, shadow, false},  {&raised, 150, 1, outline, true},
        {&raised, 0, 225, outline, true},   {&raised, 126, 230, light, true},
        {&raised, 173, 230, dark, true},    {&pressed, 128, 230, sunken, true},
        {&pressed, 150, 208, sunken, true}, {&pressed, 175, 230, lit, true},
        {&pressed, 150, 255, lit, true},    {&pressed, 184, 230, light, true}};
    for (const auto& [canvas, x, y, colour, is] : pixels) {
        EXPECT_EQ(canvas->At(x, y) == colour, is)
            << (canvas == &raised ? "raised " : "pressed ") << x << "," << y;
    }
    auto captionRight = [](const Canvas& canvas) {
        int right = 0;
        for (int x = 130; x < 172; ++x)
            right = canvas.Count({x, 210, x + 1, 252}, Black) > 0 ? x : right;
        return right;
    };
    EXPECT_EQ(captionRight(pressed), captionRight(raised) + 2);
}

// At every scale, with glyphs drawn for it, the strip holds each glyph of -1,234.5 in the cell the
// layout gives it, copied from its bitmap, and the memory mark at the indicator's inset: a sign,
// point, comma or digit dropped or out of place changes a cell.
TEST_F(DrawingTest, NumberAndIndicatorAtEveryScale) {
    app_->engine.display.Parse("-1234.5");
    app_->engine.memory.SetInteger(1);
    for (const int dpi : {96, 120, 144, 192, 288}) {
        SCOPED_TRACE(dpi);
        app_->LoadSkin(instance_, WindowDc(window_).Get(), dpi);
        const GlyphSizes sizes = app_->MeasuredGlyphSizes();
        EXPECT_EQ(sizes[1].height, Scaled(41, dpi)) << "glyphs drawn for the scale";
        const DisplayBox box = app_->layout.display;
        Canvas drawn(app_->layout.windowWidth, app_->layout.windowHeight);
        Canvas expected(app_->layout.windowWidth, app_->layout.windowHeight);
        app_->DrawWindow(drawn.Dc());
        PatBlt(expected.Dc(), box.x, box.y, box.width, box.height, WHITENESS);
        const NumberLayout cells = LayoutNumber("-1,234.5", sizes, box);
        ASSERT_EQ(cells.count, 8u);
        MemoryDc glyph(CreateCompatibleDC(expected.Dc()));
        for (std::size_t i = 0; i < cells.count; ++i) {
            const GlyphPlacement& cell = cells.glyphs[i];
            ScopedSelect selected(glyph.Get(), app_->GlyphBitmap(cell.glyph));
            StretchBlt(expected.Dc(), cell.x, cell.y, cell.width, cell.height, glyph.Get(), 0, 0,
                       sizes[cell.glyph].width, sizes[cell.glyph].height, SRCCOPY);
        }
        const int inset = app_->layout.indicatorInset;
        RECT mark{box.x + inset, box.y + inset, box.x + box.width, box.y + box.height};
        ScopedTextStyle style(expected.Dc(), Key(MemoryKeyIndex).font.Get(), Violet, TRANSPARENT);
        DrawTextA(expected.Dc(), "M", 1, &mark, DT_LEFT | DT_TOP | DT_SINGLELINE);
        // Only where the two differ stays lit.
        BitBlt(expected.Dc(), box.x, box.y, box.width, box.height, drawn.Dc(), box.x, box.y,
               SRCINVERT);
        EXPECT_EQ(expected.Count(app_->DisplayStrip(), Black, true), 0);
    }
}

// WCAG's ratio of relative luminances. Wine refuses to switch high contrast on, so the test
// sets the application's mode after each theme's colours (window, its text, buttons, their
// text, selection, its text); anti-aliased edges blend, so the strokes must stand out.
TEST_F(DrawingTest, EveryTextAndOutlineReachesSevenToOneInHighContrastThemes) {
    auto luminance = [](COLORREF c) {
        auto linear = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(GetRValue(c) / 255.0) + 0.7152 * linear(GetGValue(c) / 255.0) +
               0.0722 * linear(GetBValue(c) / 255.0) + 0.05;
    };
    constexpr int Elements[] = {COLOR_WINDOW,  COLOR_WINDOWTEXT, COLOR_BTNFACE,
                                COLOR_BTNTEXT, COLOR_HIGHLIGHT,  COLOR_HIGHLIGHTTEXT};
    const std::array<COLORREF, 6> themes[] = {
        {Black, White, Black, White, RGB(26, 235, 255), Black},
        {White, Black, White, Black, RGB(55, 0, 110), White},
        {RGB(255, 250, 239), RGB(61, 61, 61), RGB(32, 48, 64), RGB(255, 255, 160), RGB(128, 0, 128),
         White}};
    // Area, the colour behind it (most of a text's area), how many pixels at least stand out.
    const std::tuple<RECT, int, int> areas[] = {
        {{20, 25, 150, 59}, COLOR_WINDOW, 20},   {{150, 20, 285, 60}, COLOR_WINDOW, 200},
        {{12, 92, 56, 136}, COLOR_BTNFACE, 20},  {{130, 210, 174, 254}, COLOR_HIGHLIGHT, 20},
        {{13, 18, 287, 20}, COLOR_BTNFACE, 548}, {{10, 90, 11, 138}, COLOR_BTNFACE, 48}};
    std::array<COLORREF, 6> saved{};
    for (std::size_t i = 0; i < saved.size(); ++i) saved[i] = GetSysColor(Elements[i]);
    app_->engine.display.Parse("-1234.5");
    app_->engine.memory.SetInteger(3);
    Key(12).pressed = 1;
    for (const auto& colours : themes) {
        SetSysColors(6, Elements, colours.data());
        app_->highContrast = true;
        for (const DecimalError error : {DecimalError::None, DecimalError::Overflow}) {
            app_->engine.display.errorCode = error;
            Canvas canvas;
            app_->DrawWindow(canvas.Dc());
            for (const auto& [area, behind, least] : areas) {
                SCOPED_TRACE(testing::Message() << colours[0] << " " << int(error) << " "
                                                << area.left << "," << area.top);
                const double back = luminance(GetSysColor(behind));
                int ink = 0;
                for (int y = area.top; y < area.bottom; ++y)
                    for (int x = area.left; x < area.right; ++x) {
                        const double l = luminance(canvas.At(x, y));
                        ink += std::max(l, back) / std::min(l, back) >= 7.0 ? 1 : 0;
                    }
                const int size = (area.right - area.left) * (area.bottom - area.top);
                EXPECT_TRUE(ink >= least &&
                            (least == size || canvas.Count(area, GetSysColor(behind)) > size / 2))
                    << ink;
            }
        }
    }
    SetSysColors(6, Elements, saved.data());
}

constexpr COLORREF DarkRed = RGB(128, 0, 0);  // key 0's caption
constexpr RECT BodyGap{59, 92, 67, 136};      // between keys 0 and 1
constexpr RECT OffCaption{13, 93, 55, 135};   // key 0 inside its border
constexpr RECT Indicator{20, 25, 60, 45};

// Either message makes the window read the mode the system reports and repaint at once.
TEST_F(DrawingTest, SettingAndColourChangesRepaintInTheSystemMode) {
    HIGHCONTRASTA setting{sizeof(setting), 0, nullptr};
    SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof(setting), &setting, 0);
    const bool mode = (setting.dwFlags & HCF_HIGHCONTRASTON) != 0;
    app_->engine.taxState = TaxState::Included;
    Show();
    for (const auto& [message, wParam] :
         {std::pair<UINT, WPARAM>{WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST}, {WM_SYSCOLORCHANGE, 0}}) {
        SCOPED_TRACE(testing::Message() << "message " << message);
        // Painted in the other mode first, so that only a repaint can show the right one.
        app_->highContrast = !mode;
        RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        Send(message, wParam);
        EXPECT_EQ(app_->highContrast, mode);
        // The body, a caption and the indicator in this mode's colours, and none in the other's.
        Canvas shown;  // what the window shows
        BitBlt(shown.Dc(), 0, 0, 300, 450, WindowDc(window_).Get(), 0, 0, SRCCOPY);
        const int gap = (BodyGap.right - BodyGap.left) * (BodyGap.bottom - BodyGap.top);
        EXPECT_EQ(shown.Count(BodyGap, GetSysColor(COLOR_BTNFACE)), mode ? gap : 0);
        const COLORREF caption[] = {DarkRed, GetSysColor(COLOR_BTNTEXT)};
        const COLORREF indicator[] = {Teal, GetSysColor(COLOR_WINDOWTEXT)};
        EXPECT_GT(shown.Count(OffCaption, caption[mode]), 0);
        EXPECT_EQ(shown.Count(OffCaption, caption[!mode]), 0);
        EXPECT_GT(shown.Count(Indicator, indicator[mode]), 0);
        EXPECT_EQ(shown.Count(Indicator, indicator[!mode]), 0);
    }
}

}  // namespace
