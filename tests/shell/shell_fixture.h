#pragma once

// A calculator window for tests: the program's class, an application on an in-memory
// platform with its skin from the test program's own resources, and a canvas to draw on.

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "engine/memory_platform.h"
#include "shell/calc_app.h"
#include "shell/main_window.h"

// A day in the 10 % years, so that the rate by date the tests expect holds on any day.
inline constexpr LocalDate TestDate{2024, 1};

inline constexpr COLORREF Black = RGB(0, 0, 0);
inline constexpr COLORREF White = RGB(255, 255, 255);
inline constexpr COLORREF Teal = RGB(0, 128, 128);
inline constexpr COLORREF Violet = RGB(128, 0, 255);

// Every object the skin made, the key fonts last.
inline std::vector<HGDIOBJ> SkinObjects(const CalcApp& app) {
    std::vector<HGDIOBJ> objects{app.minusGlyph.Get(),     app.pointGlyph.Get(),
                                 app.commaGlyph.Get(),     app.windowRegion.Get(),
                                 app.bodyBrush.Get(),      app.bodyPen.Get(),
                                 app.displayEdgePen.Get(), app.displayShadowPen.Get()};
    for (const BitmapHandle& glyph : app.digitGlyphs) objects.push_back(glyph.Get());
    for (const CalcKey& key : app.keys) objects.push_back(key.font.Get());
    return objects;
}

// A 32-bit memory canvas, of the window's size unless told, black until drawn on.
class Canvas {
  public:
    explicit Canvas(int width = 300, int height = 450)
        : info_{{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}} {}
    HDC Dc() const { return dc_.Get(); }
    COLORREF At(int x, int y) const { return GetPixel(dc_.Get(), x, y); }
    // Pixels in the area of the colour, or with other set, of any other.
    int Count(const RECT& area, COLORREF colour, bool other = false) const {
        int count = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                count += (At(x, y) == colour) != other ? 1 : 0;
        return count;
    }

  private:
    BITMAPINFO info_;
    MemoryDc dc_{CreateCompatibleDC(nullptr)};
    BitmapHandle bitmap_{CreateDIBSection(dc_.Get(), &info_, DIB_RGB_COLORS, nullptr, nullptr, 0)};
    ScopedSelect selected_{dc_.Get(), bitmap_.Get()};
};

class CalcWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        RegisterMainWindowClass(instance_);
        window_ = CreateMainWindow(instance_);
        ASSERT_NE(window_, nullptr);
        app_->LoadSkin(instance_, WindowDc(window_).Get());
        AttachApp(window_, app_.get());
    }

    void TearDown() override {
        AttachApp(window_, nullptr);
        DestroyWindow(window_);
        // Posted input and close requests, and the quit the destroyed window leaves behind.
        for (MSG m; PeekMessageA(&m, nullptr, WM_CLOSE, WM_KEYLAST, PM_REMOVE);) {
        }
    }

    // The wParams of the messages of one kind posted to the window since the last call.
    std::string Posted(UINT kind) {
        std::string posted;
        for (MSG m; PeekMessageA(&m, window_, kind, kind, PM_REMOVE);) posted += char(m.wParam);
        return posted;
    }

    void Show() {
        SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        UpdateWindow(window_);
    }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageA(window_, message, wParam, lParam);
    }

    // Non-client messages carry screen points.
    LPARAM ScreenPoint(int clientX, int clientY) {
        POINT point{clientX, clientY};
        ClientToScreen(window_, &point);
        return MAKELPARAM(point.x, point.y);
    }

    CalcKey& Key(int index) { return app_->keys[static_cast<std::size_t>(index)]; }

    MemoryPlatform platform_{TestDate};
    HINSTANCE instance_ = GetModuleHandleA(nullptr);
    HWND window_ = nullptr;
    std::unique_ptr<CalcApp> app_ = std::make_unique<CalcApp>(platform_.Get());
};
