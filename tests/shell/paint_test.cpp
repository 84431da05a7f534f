#include "shell_fixture.h"

namespace {

constexpr Rgb24 EdgeBlue{128, 128, 255};
constexpr Rgb24 ShadowGrey{128, 128, 128};
constexpr Rgb24 BodyYellow{255, 255, 176};

class PaintTest : public CalcWindowTest {
  protected:
    void DrawAll(Canvas& canvas) { app_->DrawWindow(canvas.Dc(), 300); }
};

TEST_F(PaintTest, DisplayStripIsWhiteWithATwoLineEdge) {
    Canvas canvas(300, 450, RGB(1, 2, 3));
    DrawAll(canvas);
    struct PixelCase {
        int x;
        int y;
        Rgb24 colour;
    };
    const PixelCase cases[] = {
        {16, 21, White},      {284, 59, White},     {15, 60, EdgeBlue},     {285, 60, EdgeBlue},
        {285, 20, EdgeBlue},  {16, 61, ShadowGrey}, {286, 61, ShadowGrey},  {286, 21, ShadowGrey},
        {150, 1, BodyYellow}, {0, 225, BodyYellow}, {298, 225, BodyYellow},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(canvas.At(c.x, c.y), c.colour) << "pixel " << c.x << "," << c.y;
    }
    // Ends of the lines: excluded end points are body, not line.
    EXPECT_NE(canvas.At(15, 61), ShadowGrey);
    EXPECT_NE(canvas.At(287, 61), ShadowGrey);
    EXPECT_NE(canvas.At(286, 20), ShadowGrey);
}

// Rows of a key's left border: EDGE_RAISED starts with the light outer line, EDGE_SUNKEN
// with the shadow, and a pressed key is drawn 2 pixels right and down.
TEST_F(PaintTest, PressedKeyIsSunkenAndShifted) {
    const Rgb24 raisedOuter = ToRgb(GetSysColor(COLOR_3DLIGHT));
    const Rgb24 raisedRight = ToRgb(GetSysColor(COLOR_3DDKSHADOW));
    const Rgb24 sunkenOuter = ToRgb(GetSysColor(COLOR_BTNSHADOW));
    const Rgb24 sunkenRight = ToRgb(GetSysColor(COLOR_BTNHIGHLIGHT));

    Canvas raised(300, 450);
    DrawAll(raised);
    // Key 12 ("9"): (126, 206)-(174, 254).
    EXPECT_EQ(raised.At(126, 230), raisedOuter);
    EXPECT_EQ(raised.At(150, 206), raisedOuter);
    EXPECT_EQ(raised.At(173, 230), raisedRight);
    EXPECT_EQ(raised.At(150, 253), raisedRight);

    Key(12).pressed = 1;
    Canvas pressed(300, 450);
    DrawAll(pressed);
    EXPECT_EQ(pressed.At(128, 230), sunkenOuter);
    EXPECT_EQ(pressed.At(150, 208), sunkenOuter);
    EXPECT_EQ(pressed.At(175, 230), sunkenRight);
    EXPECT_EQ(pressed.At(150, 255), sunkenRight);
    EXPECT_NE(pressed.At(126, 230), raisedOuter);
    EXPECT_NE(pressed.At(173, 230), raisedRight);
    // The caption moves with it: its ink ends 2 pixels further right.
    auto lastInk = [](const Canvas& canvas) {
        int last = 0;
        for (int x = 130; x < 170; ++x) {
            for (int y = 210; y < 250; ++y) {
                if (canvas.At(x, y) == Rgb24{0, 0, 0}) {
                    last = x;
                }
            }
        }
        return last;
    };
    EXPECT_EQ(lastInk(pressed), lastInk(raised) + 2);
    // Its neighbours do not move.
    EXPECT_EQ(pressed.At(68, 230), raisedOuter);
    EXPECT_EQ(pressed.At(184, 230), raisedOuter);
}

TEST_F(PaintTest, CaptionsAreDrawnInTheirKeysColours) {
    Canvas canvas(300, 450);
    DrawAll(canvas);
    struct CaptionCase {
        int index;
        Rgb24 colour;
    };
    const CaptionCase cases[] = {
        {0, {128, 0, 0}},   {3, {0, 128, 128}}, {5, {255, 0, 0}},
        {9, {128, 0, 255}}, {10, {0, 0, 0}},    {29, {128, 0, 255}},
    };
    for (const auto& c : cases) {
        const RECT& r = Key(c.index).rect;
        EXPECT_GT(canvas.CountOf(r.left + 2, r.top + 2, r.right - 2, r.bottom - 2, c.colour), 0)
            << "key " << c.index;
    }
}

TEST_F(PaintTest, WindowPaintShowsTheSameDrawing) {
    Show();
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    HDC dc = GetDC(window_);
    const Rgb24 strip = ToRgb(GetPixel(dc, 100, 40));
    const Rgb24 edge = ToRgb(GetPixel(dc, 150, 60));
    const Rgb24 shadow = ToRgb(GetPixel(dc, 150, 61));
    ReleaseDC(window_, dc);
    EXPECT_EQ(strip, White);
    EXPECT_EQ(edge, EdgeBlue);
    EXPECT_EQ(shadow, ShadowGrey);
}

}  // namespace
