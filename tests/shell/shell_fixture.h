#pragma once

// A calculator window for tests: the program's class, an application on an in-memory
// platform, its skin from the test program's own resources.

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "engine/memory_platform.h"
#include "shell/calc_app.h"
#include "shell/main_window.h"

struct Rgb24 {
    int red;
    int green;
    int blue;
    bool operator==(const Rgb24&) const = default;
};

inline Rgb24 ToRgb(COLORREF colour) {
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

inline void PrintTo(const Rgb24& c, std::ostream* os) {
    *os << "(" << c.red << ", " << c.green << ", " << c.blue << ")";
}

// A 32-bit memory canvas of the window's size, filled with one colour.
class Canvas {
  public:
    Canvas(int width, int height, COLORREF fill = RGB(255, 255, 255))
        : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateDIBSection(screen, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
        ReleaseDC(nullptr, screen);
        previous_ = SelectObject(dc_, bitmap_);
        HBRUSH brush = CreateSolidBrush(fill);
        RECT all{0, 0, width, height};
        FillRect(dc_, &all, brush);
        DeleteObject(brush);
    }
    ~Canvas() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return dc_; }
    Rgb24 At(int x, int y) const { return ToRgb(GetPixel(dc_, x, y)); }

    // Pixels in [left, right) x [top, bottom) that differ from the colour.
    int CountOther(int left, int top, int right, int bottom, Rgb24 colour) const {
        int count = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                count += At(x, y) == colour ? 0 : 1;
            }
        }
        return count;
    }
    int CountOf(int left, int top, int right, int bottom, Rgb24 colour) const {
        return (right - left) * (bottom - top) - CountOther(left, top, right, bottom, colour);
    }

  private:
    int width_;
    int height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
};

inline constexpr Rgb24 White{255, 255, 255};

class CalcWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        instance_ = GetModuleHandleA(nullptr);
        RegisterMainWindowClass(instance_);
        window_ = CreateMainWindow(instance_);
        ASSERT_NE(window_, nullptr);
        app_ = std::make_unique<CalcApp>(platform_.Get());
        HDC dc = GetWindowDC(window_);
        app_->LoadSkin(instance_, dc);
        ReleaseDC(window_, dc);
        AttachApp(window_, app_.get());
        DrainQueue();
    }

    void TearDown() override {
        if (window_ != nullptr) {
            AttachApp(window_, nullptr);
            DestroyWindow(window_);
        }
        app_.reset();
        DrainQueue();
    }

    // Posted input and close requests, and the quit a destroyed window leaves behind.
    void DrainQueue() {
        MSG message;
        while (PeekMessageA(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
        }
        while (PeekMessageA(&message, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE)) {
        }
        while (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    // The command characters posted to the window since the last call, in order.
    std::string PostedChars() {
        std::string chars;
        MSG message;
        while (PeekMessageA(&message, window_, WM_CHAR, WM_CHAR, PM_REMOVE)) {
            chars += static_cast<char>(message.wParam);
        }
        return chars;
    }

    int PostedCloses() {
        int count = 0;
        MSG message;
        while (PeekMessageA(&message, window_, WM_CLOSE, WM_CLOSE, PM_REMOVE)) {
            ++count;
        }
        return count;
    }

    void Show() {
        SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        UpdateWindow(window_);
    }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageA(window_, message, wParam, lParam);
    }

    CalcKey& Key(int index) { return app_->keys[static_cast<std::size_t>(index)]; }

    MemoryPlatform platform_;
    HINSTANCE instance_ = nullptr;
    HWND window_ = nullptr;
    std::unique_ptr<CalcApp> app_;
};
