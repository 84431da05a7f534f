#pragma once

// Owners for GDI and USER handles, and scoped selections that put back what the device
// context held before.

#include <windows.h>

#include "shell/owned_handle.h"

using BitmapHandle = OwnedHandle<HBITMAP, DeleteObject>;
using BrushHandle = OwnedHandle<HBRUSH, DeleteObject>;
using PenHandle = OwnedHandle<HPEN, DeleteObject>;
using FontHandle = OwnedHandle<HFONT, DeleteObject>;
using RegionHandle = OwnedHandle<HRGN, DeleteObject>;
using MenuHandle = OwnedHandle<HMENU, DestroyMenu>;

// Selects an object for the scope; an empty object leaves the context as it is.
class ScopedSelect {
  public:
    ScopedSelect(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(object != nullptr ? SelectObject(dc, object) : nullptr) {}
    ~ScopedSelect() {
        if (previous_ != nullptr) {
            SelectObject(dc_, previous_);
        }
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Font, colour and background mode of a text, put back at the end of the scope.
class ScopedTextStyle {
  public:
    ScopedTextStyle(HDC dc, HFONT font, COLORREF colour, int backgroundMode)
        : font_(dc, font),
          dc_(dc),
          previousColour_(SetTextColor(dc, colour)),
          previousMode_(SetBkMode(dc, backgroundMode)) {}
    ~ScopedTextStyle() {
        SetBkMode(dc_, previousMode_);
        SetTextColor(dc_, previousColour_);
    }
    ScopedTextStyle(const ScopedTextStyle&) = delete;
    ScopedTextStyle& operator=(const ScopedTextStyle&) = delete;

  private:
    ScopedSelect font_;
    HDC dc_;
    COLORREF previousColour_;
    int previousMode_;
};

using MemoryDc = OwnedHandle<HDC, DeleteDC>;

class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetWindowDC(window)) {}
    ~WindowDc() {
        if (dc_ != nullptr) {
            ReleaseDC(window_, dc_);
        }
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC Get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

class PaintScope {
  public:
    explicit PaintScope(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;

    HDC Get() const { return dc_; }

  private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};
