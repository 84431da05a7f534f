#include "shell/calc_app.h"

namespace {

bool SystemHighContrast() {
    HIGHCONTRASTA setting{};
    setting.cbSize = sizeof(setting);
    return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof(setting), &setting, 0) != FALSE &&
           (setting.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

}  // namespace

void CalcApp::FollowSystemColours(HWND window) {
    highContrast = SystemHighContrast();
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

// The system owns its colour brushes: nothing to free.
HBRUSH CalcApp::BodyFill() const {
    return highContrast ? GetSysColorBrush(COLOR_BTNFACE) : bodyBrush.Get();
}

COLORREF CalcApp::TextColour(COLORREF own, int systemColour) const {
    return highContrast ? GetSysColor(systemColour) : own;
}
