#include "shell_fixture.h"

namespace {

using ContrastTest = CalcWindowTest;

constexpr COLORREF DarkRed = RGB(128, 0, 0);  // key 0's caption
constexpr RECT BodyGap{59, 92, 67, 136};      // between keys 0 and 1
constexpr RECT OffCaption{13, 93, 55, 135};   // key 0 inside its border
constexpr RECT Indicator{20, 25, 60, 45};

int Count(HDC dc, const RECT& area, COLORREF colour) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) count += GetPixel(dc, x, y) == colour;
    return count;
}

// The body, a caption and the indicator in one mode's colours, and none in the other's.
void ExpectLook(HDC dc, bool highContrast) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const int gap = (BodyGap.right - BodyGap.left) * (BodyGap.bottom - BodyGap.top);
    EXPECT_EQ(Count(dc, BodyGap, face), highContrast ? gap : 0);
    const COLORREF caption[] = {DarkRed, GetSysColor(COLOR_BTNTEXT)};
    EXPECT_GT(Count(dc, OffCaption, caption[highContrast]), 0);
    EXPECT_EQ(Count(dc, OffCaption, caption[!highContrast]), 0);
    const COLORREF indicator[] = {Teal, GetSysColor(COLOR_WINDOWTEXT)};
    EXPECT_GT(Count(dc, Indicator, indicator[highContrast]), 0);
    EXPECT_EQ(Count(dc, Indicator, indicator[!highContrast]), 0);
}

TEST_F(ContrastTest, HighContrastDrawsInSystemColours) {
    app_->engine.taxState = TaxState::Included;
    for (const bool highContrast : {true, false}) {
        SCOPED_TRACE(highContrast ? "high contrast" : "own colours");
        app_->highContrast = highContrast;
        Canvas canvas;
        app_->DrawWindow(canvas.Dc(), WindowWidth);
        ExpectLook(canvas.Dc(), highContrast);
    }
}

bool SystemHighContrast() {
    HIGHCONTRASTA setting{sizeof(setting), 0, nullptr};
    SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof(setting), &setting, 0);
    return (setting.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// Either message makes the window read the mode the system reports and repaint at once.
TEST_F(ContrastTest, SettingAndColourChangesRepaintInTheSystemMode) {
    HIGHCONTRASTA original{sizeof(original), 0, nullptr};
    SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof(original), &original, 0);
    app_->engine.taxState = TaxState::Included;
    Show();
    for (const auto& [message, requested] :
         {std::pair<UINT, DWORD>{WM_SETTINGCHANGE, HCF_HIGHCONTRASTON}, {WM_SYSCOLORCHANGE, 0}}) {
        HIGHCONTRASTA setting{sizeof(setting), requested, original.lpszDefaultScheme};
        SystemParametersInfoA(SPI_SETHIGHCONTRAST, sizeof(setting), &setting, 0);
        const bool mode = SystemHighContrast();
        SCOPED_TRACE(testing::Message() << "message " << message << ", mode " << mode);
        // Painted in the other mode first, so that only a repaint can show the right one.
        app_->highContrast = !mode;
        RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        Send(message, message == WM_SETTINGCHANGE ? SPI_SETHIGHCONTRAST : 0);
        EXPECT_EQ(app_->highContrast, mode);
        HDC dc = GetDC(window_);
        ExpectLook(dc, mode);
        ReleaseDC(window_, dc);
    }
    SystemParametersInfoA(SPI_SETHIGHCONTRAST, sizeof(original), &original, 0);
}

}  // namespace
