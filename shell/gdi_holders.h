#pragma once

// Owners for GDI and USER handles: each frees its handle exactly once and skips empty ones,
// and scoped selections put back what the device context held before.

#include <windows.h>

#include <utility>

template <typename Handle, BOOL(WINAPI* Free)(Handle)>
class OwnedHandle {
  public:
    OwnedHandle() = default;
    explicit OwnedHandle(Handle handle) : handle_(handle) {}
    ~OwnedHandle() { Reset(); }

    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    OwnedHandle(OwnedHandle&& other) noexcept : handle_(other.Release()) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

    void Reset(Handle handle = nullptr) {
        if (handle_ != nullptr) {
            Free(handle_);
        }
        handle_ = handle;
    }

    // Hands the handle to a new owner (the window takes its region this way).
    Handle Release() { return std::exchange(handle_, nullptr); }

  private:
    Handle handle_ = nullptr;
};

namespace gdi_detail {
template <typename Handle>
BOOL WINAPI DeleteGdiObject(Handle handle) {
    return DeleteObject(handle);
}
}  // namespace gdi_detail

using BitmapHandle = OwnedHandle<HBITMAP, gdi_detail::DeleteGdiObject<HBITMAP>>;
using BrushHandle = OwnedHandle<HBRUSH, gdi_detail::DeleteGdiObject<HBRUSH>>;
using PenHandle = OwnedHandle<HPEN, gdi_detail::DeleteGdiObject<HPEN>>;
using FontHandle = OwnedHandle<HFONT, gdi_detail::DeleteGdiObject<HFONT>>;
using RegionHandle = OwnedHandle<HRGN, gdi_detail::DeleteGdiObject<HRGN>>;
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

class MemoryDc {
  public:
    explicit MemoryDc(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDc() {
        if (dc_ != nullptr) {
            DeleteDC(dc_);
        }
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;

    HDC Get() const { return dc_; }

  private:
    HDC dc_;
};

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
