#include "shell_fixture.h"

namespace {

constexpr int StripLeft = 15;
constexpr int StripTop = 20;
constexpr int StripRight = 285;
constexpr int StripBottom = 60;

class DisplayTest : public CalcWindowTest {
  protected:
    // The display strip drawn alone onto white.
    void Draw(Canvas& canvas) { app_->DrawDisplay(canvas.Dc(), 15, 20, 270, 40, 3); }

    void SetDisplay(DecimalValue value) { app_->engine.display = value; }
};

TEST_F(DisplayTest, WorkedExampleGlyphsLandWhereTheLayoutPutsThem) {
    SetDisplay(DecimalValue(1234, 5, 10, 0));
    // The layout from the measured sizes is the worked example.
    const NumberLayout layout =
        LayoutNumber("1,234.5", app_->MeasuredGlyphSizes(), {15, 20, 270, 40, 3});
    const int xs[] = {184, 202, 206, 223, 240, 258, 264};
    const int widths[] = {18, 4, 17, 17, 18, 6, 17};
    ASSERT_EQ(layout.count, 7u);
    for (std::size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(layout.glyphs[i].x, xs[i]) << "glyph " << i;
        EXPECT_EQ(layout.glyphs[i].width, widths[i]) << "glyph " << i;
        EXPECT_EQ(layout.glyphs[i].y, 20) << "glyph " << i;
    }

    Canvas canvas(300, 450);
    Draw(canvas);
    // Every glyph leaves ink in its own cell, and nothing is drawn outside the number.
    for (std::size_t i = 0; i < 7; ++i) {
        const GlyphPlacement& g = layout.glyphs[i];
        EXPECT_GT(canvas.CountOther(g.x, g.y, g.x + g.width, g.y + g.height, White), 0)
            << "glyph " << i;
    }
    EXPECT_EQ(canvas.CountOther(StripLeft, StripTop, 184, StripBottom, White), 0);
    EXPECT_EQ(canvas.CountOther(281, StripTop, 300, StripBottom, White), 0);
    EXPECT_EQ(canvas.CountOther(0, 0, 300, StripTop, White), 0);
    EXPECT_EQ(canvas.CountOther(0, StripBottom, 300, 450, White), 0);
    // The glyphs are teal on white.
    EXPECT_GT(canvas.CountOf(184, 20, 281, 60, {0, 128, 128}), 0);
}

TEST_F(DisplayTest, ZeroIsOneUnscaledGlyphAtTheRight) {
    Canvas canvas(300, 450);
    Draw(canvas);
    EXPECT_GT(canvas.CountOther(265, 20, 282, 59, White), 0);
    EXPECT_EQ(canvas.CountOther(0, 0, 265, 450, White), 0);
    EXPECT_EQ(canvas.CountOther(282, 0, 300, 450, White), 0);
    EXPECT_EQ(canvas.CountOther(265, 59, 282, 450, White), 0);  // 39 high: rows 20 to 58
}

TEST_F(DisplayTest, LongNumbersAreSqueezedIntoTheStrip) {
    // A hand-made value with eighteen digits: no entry makes one, but the layout must cope.
    SetDisplay(DecimalValue(999'999'999'999, 999'999, 1'000'000, 1));
    char text[64] = {};
    app_->engine.display.Format(text, sizeof(text), true);
    const NumberLayout layout =
        LayoutNumber(text, app_->MeasuredGlyphSizes(), {15, 20, 270, 40, 3});
    ASSERT_GT(layout.count, 0u);
    int total = 0;
    for (std::size_t i = 0; i < layout.count; ++i) {
        total += app_->MeasuredGlyphSizes()[layout.glyphs[i].glyph].width;
    }
    ASSERT_GE(total / 2, 267) << text << " is too narrow to be squeezed";
    EXPECT_EQ(layout.glyphs[0].x, 15);
    const GlyphPlacement& last = layout.glyphs[layout.count - 1];
    EXPECT_LE(last.x + last.width, StripRight);

    Canvas canvas(300, 450);
    Draw(canvas);
    EXPECT_GT(canvas.CountOther(15, 20, 30, 60, White), 0);  // starts at the left edge
    EXPECT_EQ(canvas.CountOther(StripRight, 0, 300, 450, White), 0);
}

class IndicatorTest : public DisplayTest {
  protected:
    // Ink of a colour in the indicator's corner, left of where any number starts.
    int InkOf(Rgb24 colour, int left, int right) {
        Canvas canvas(300, 450);
        Draw(canvas);
        return canvas.CountOf(left, 25, right, 60, colour);
    }
};

constexpr Rgb24 Teal{0, 128, 128};
constexpr Rgb24 Violet{128, 0, 255};

TEST_F(IndicatorTest, ErrorTextShowsOverTaxAndMemory) {
    SetDisplay(DecimalValue(DecimalError::DivideByZero));
    app_->engine.taxState = TaxState::Included;
    app_->engine.memory = DecimalValue(5, 0, 1, 0);
    // "ゼロ割り算エラー" runs well past where the two characters of "税込" end.
    EXPECT_GT(InkOf(Teal, 20, 60), 0);
    EXPECT_GT(InkOf(Teal, 90, 150), 0);
    EXPECT_EQ(InkOf(Violet, 20, 250), 0);
}

TEST_F(IndicatorTest, TaxLabelShowsOverMemory) {
    app_->engine.taxState = TaxState::Included;
    app_->engine.memory = DecimalValue(5, 0, 1, 0);
    EXPECT_GT(InkOf(Teal, 20, 60), 0);
    EXPECT_EQ(InkOf(Teal, 90, 150), 0);
    EXPECT_EQ(InkOf(Violet, 20, 250), 0);
}

TEST_F(IndicatorTest, MemoryMarkShowsAlone) {
    app_->engine.memory = DecimalValue(5, 0, 1, 0);
    EXPECT_GT(InkOf(Violet, 20, 45), 0);
    EXPECT_EQ(InkOf(Teal, 20, 250), 0);
}

TEST_F(DisplayTest, WithoutSkinNothingIsDrawn) {
    app_->ReleaseSkin();
    app_->engine.memory = DecimalValue(5, 0, 1, 0);
    Canvas canvas(300, 450);
    Draw(canvas);
    EXPECT_EQ(canvas.CountOther(0, 0, 300, 450, White), 0);
}

}  // namespace
