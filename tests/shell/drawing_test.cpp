#include <vector>

#include "shell_fixture.h"

namespace {

using SkinTest = CalcWindowTest;
using DisplayTest = CalcWindowTest;

// Every object the skin made, the key fonts last.
std::vector<HGDIOBJ> SkinObjects(const CalcApp& app) {
    std::vector<HGDIOBJ> objects{app.minusGlyph.Get(),     app.pointGlyph.Get(),
                                 app.commaGlyph.Get(),     app.windowRegion.Get(),
                                 app.bodyBrush.Get(),      app.bodyPen.Get(),
                                 app.displayEdgePen.Get(), app.displayShadowPen.Get()};
    for (const BitmapHandle& glyph : app.digitGlyphs) objects.push_back(glyph.Get());
    for (const CalcKey& key : app.keys) objects.push_back(key.font.Get());
    return objects;
}

TEST_F(SkinTest, ReleaseAndDestructionLeaveNoObjectBehind) {
    const std::vector<HGDIOBJ> objects = SkinObjects(*app_);
    HMENU menu = app_->popupMenu.Get();
    app_->ReleaseSkin();
    const std::size_t fonts = objects.size() - KeyCount;
    // The keys keep their fonts until the application goes.
    for (std::size_t i = 0; i < objects.size(); ++i)
        EXPECT_EQ(GetObjectType(objects[i]) == 0, i < fonts) << i;
    EXPECT_FALSE(IsMenu(menu) || app_->errorTexts[0] || app_->taxLabels[2]);
    app_->ReleaseSkin();
    // Without a skin nothing is drawn, not even the memory mark in key 9's font.
    app_->engine.memory = DecimalValue(5, 0, 1, 0);
    Canvas canvas;
    app_->DrawDisplay(canvas.Dc(), DisplayBoxFor(WindowWidth));
    EXPECT_EQ(canvas.Count(0, 0, 300, 450, Black, true), 0);
    AttachApp(window_, nullptr);
    app_.reset();
    for (std::size_t i = fonts; i < objects.size(); ++i) EXPECT_EQ(GetObjectType(objects[i]), 0u);
}

// Key 4 sits in the memory column, but the tax keys' rule comes first.
TEST_F(SkinTest, KeyStyleRulesApplyInOrder) {
    for (const auto& [index, colour, height] :
         {std::tuple{4, Teal, 18}, std::tuple{9, Violet, 24}}) {
        LOGFONTA font{};
        GetObjectA(Key(index).font.Get(), sizeof(font), &font);
        EXPECT_EQ(std::pair(Key(index).textColor, font.lfHeight), std::pair(colour, LONG{height}))
            << "key " << index;
    }
}

// Kept in Shift-JIS whatever the ANSI code page; "･" is half-width: one byte.
TEST_F(SkinTest, TextsAreShiftJis) {
    const std::pair<const char*, const char*> rows[] = {
        {Key(1).caption, "\x95\xa1\x8e\xca"},  // 複写
        {Key(26).caption, "\xa5"},
        {app_->errorTexts[1]->data(), "\x8c\x85\x82\xa0\x82\xd3\x82\xea\x83\x47\x83\x89\x81\x5b"},
        {app_->taxLabels[2]->data(), "\x90\xc5"},  // 税
    };
    for (const auto& [text, expected] : rows) EXPECT_STREQ(text, expected);
}

// From the measured bitmaps: "1" is the one glyph 41 high, so every height is scaled by
// 40/41. Each glyph covers its cell, and nothing else is drawn.
TEST_F(DisplayTest, WorkedExamplesFromTheMeasuredGlyphs) {
    // The number, its text, then x, width and height of each glyph; all start at y = 20.
    const std::tuple<DecimalValue, const char*, std::vector<int>> cases[] = {
        {DecimalValue(1234, 5, 10, 0),
         "1,234.5",
         {184, 18, 40, 202, 4, 38, 206, 17, 38, 223, 17, 38, 240, 18, 39, 258, 6, 39, 264, 17, 38}},
        {DecimalValue(), "0", {265, 17, 39}}};
    for (const auto& [value, text, cells] : cases) {
        SCOPED_TRACE(text);
        const NumberLayout layout =
            LayoutNumber(text, app_->MeasuredGlyphSizes(), DisplayBoxFor(WindowWidth));
        ASSERT_EQ(layout.count * 3, cells.size());
        app_->engine.display = value;
        Canvas canvas;
        app_->DrawDisplay(canvas.Dc(), DisplayBoxFor(WindowWidth));
        int covered = 0;
        for (std::size_t i = 0; i < layout.count; ++i) {
            const GlyphPlacement& g = layout.glyphs[i];
            EXPECT_EQ(std::tuple(g.x, g.y, g.width, g.height),
                      std::tuple(cells[3 * i], 20, cells[3 * i + 1], cells[3 * i + 2]))
                << "glyph " << i;
            EXPECT_EQ(canvas.Count(g.x, g.y, g.x + g.width, g.y + g.height, Black), 0) << i;
            covered += g.width * g.height;
        }
        EXPECT_EQ(canvas.Count(0, 0, 300, 450, Black, true), covered);
    }
}

// Teal ink far to the right comes only from the long error text; "M" is violet.
TEST_F(DisplayTest, IndicatorShowsErrorOverTaxOverMemory) {
    const DecimalValue error(DecimalError::DivideByZero);
    const std::tuple<const char*, DecimalValue, TaxState, bool, bool, bool> cases[] = {
        {"error", error, TaxState::Included, true, true, false},
        {"tax", DecimalValue(), TaxState::Included, true, false, false},
        {"memory", DecimalValue(), TaxState::None, false, false, true}};
    app_->engine.memory = DecimalValue(5, 0, 1, 0);
    for (const auto& [name, display, tax, teal, longTeal, violet] : cases) {
        app_->engine.display = display;
        app_->engine.taxState = tax;
        Canvas canvas;
        app_->DrawDisplay(canvas.Dc(), DisplayBoxFor(WindowWidth));
        EXPECT_EQ(std::tuple(canvas.Count(20, 25, 60, 60, Teal) > 0,
                             canvas.Count(90, 25, 150, 60, Teal) > 0,
                             canvas.Count(20, 25, 250, 60, Violet) > 0),
                  std::tuple(teal, longTeal, violet))
            << name;
    }
}

TEST_F(DisplayTest, WindowDrawingEdgesOutlineAndPressedKey) {
    Canvas raised;
    app_->DrawWindow(raised.Dc(), 300);
    Key(12).pressed = 1;  // "9", (126, 206)-(174, 254)
    Canvas pressed;
    app_->DrawWindow(pressed.Dc(), 300);
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
    // "GT" in its key's colour; the display's "0" in its cell, 3 pixels before the edge.
    EXPECT_EQ(
        std::tuple(raised.Count(244, 150, 288, 194, Violet) > 0,
                   raised.Count(265, 20, 282, 59, Teal) > 0, raised.Count(282, 0, 300, 62, Teal)),
        std::tuple(true, true, 0));
    auto captionRight = [](const Canvas& canvas) {
        int right = 0;
        for (int x = 130; x < 172; ++x)
            right = canvas.Count(x, 210, x + 1, 252, Black) > 0 ? x : right;
        return right;
    };
    EXPECT_EQ(captionRight(pressed), captionRight(raised) + 2);
}

}  // namespace
