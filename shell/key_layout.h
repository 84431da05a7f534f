#pragma once

// The key grid and key styles at every scale, and the window's placement rules: plain
// arithmetic, shared by skin loading, painting and hit testing, callable without a window.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "shell/display_layout.h"

// The window and the rounded corners of its region.
inline constexpr int WindowWidth = 300;
inline constexpr int WindowHeight = 450;
inline constexpr int WindowCornerEllipse = 30;

inline constexpr int KeyCount = 30;
inline constexpr int KeyColumns = 5;
inline constexpr int KeyRows = 6;
inline constexpr int KeySize = 48;
inline constexpr int KeyPitch = 58;
inline constexpr int KeyGridLeft = 10;
inline constexpr int KeyGridTop = 90;

// Command character of key i, row by row from the top left.
inline constexpr char KeyMap[] = "QSDZXAC%MG789/T456*R123-L0.=+P";
static_assert(sizeof(KeyMap) == KeyCount + 1);

// Keys whose look the display borrows for its indicator texts.
inline constexpr int TaxKeyIndex = 3;     // error texts and tax labels
inline constexpr int MemoryKeyIndex = 9;  // the "M" mark

struct KeyRect {
    int left = 0;
    int top = 0;
    int right = 0;   // exclusive
    int bottom = 0;  // exclusive
};

// The grid keeps one pitch and one key size, so the keys stay evenly spaced at any scale.
constexpr KeyRect KeyRectangle(int index, int dpi = BaseDpi) {
    const int column = index % KeyColumns;
    const int row = (index / KeyColumns) % KeyRows;
    const int pitch = Scaled(KeyPitch, dpi);
    const int size = Scaled(KeySize, dpi);
    const int left = Scaled(KeyGridLeft, dpi) + pitch * column;
    const int top = Scaled(KeyGridTop, dpi) + pitch * row;
    return {left, top, left + size, top + size};
}

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

struct KeyStyle {
    Rgb colour;
    int fontHeight = 0;
};

// The first matching rule wins: key 4 sits in the memory column but is a tax key.
constexpr KeyStyle KeyStyleFor(int index) {
    if (index < 3) {
        return {{128, 0, 0}, 18};  // OFF, copy, paste
    }
    if (index < 5) {
        return {{0, 128, 128}, 18};  // tax keys
    }
    if (index < 7) {
        return {{255, 0, 0}, 24};  // AC, C
    }
    if (index % KeyColumns == 4) {
        return {{128, 0, 255}, 24};  // GT and the memory keys
    }
    return {{0, 0, 0}, 34};
}

// Body outline, pressed-key shift, indicator inset, display lines, at 96 DPI.
inline constexpr int BodyPenWidth = 2;
inline constexpr int PressedShift = 2;
inline constexpr int IndicatorInset = 5;
inline constexpr int DisplayLineWidth = 1;
// As thick as a 3-D border, so that a high-contrast outline takes its place.
inline constexpr int OutlineWidth = 2;

// Every length of the window at one scale, worked out once when the scale is set.
struct SkinLayout {
    int dpi = BaseDpi;
    int windowWidth = 0;
    int windowHeight = 0;
    int cornerEllipse = 0;
    int bodyPenWidth = 0;
    std::array<KeyRect, KeyCount> keys{};
    std::array<int, KeyCount> fontHeights{};
    DisplayBox display;
    int displayLineWidth = 0;
    int outlineWidth = 0;
    int indicatorInset = 0;
    int pressedShift = 0;
};

constexpr SkinLayout LayoutForDpi(int dpi) {
    SkinLayout layout;
    layout.dpi = dpi;
    layout.windowWidth = Scaled(WindowWidth, dpi);
    layout.windowHeight = Scaled(WindowHeight, dpi);
    layout.cornerEllipse = Scaled(WindowCornerEllipse, dpi);
    layout.bodyPenWidth = Scaled(BodyPenWidth, dpi);
    for (int index = 0; index < KeyCount; ++index) {
        layout.keys[static_cast<std::size_t>(index)] = KeyRectangle(index, dpi);
        layout.fontHeights[static_cast<std::size_t>(index)] =
            Scaled(KeyStyleFor(index).fontHeight, dpi);
    }
    layout.display = DisplayBoxFor(layout.windowWidth, dpi);
    layout.displayLineWidth = Scaled(DisplayLineWidth, dpi);
    layout.outlineWidth = Scaled(OutlineWidth, dpi);
    layout.indicatorInset = Scaled(IndicatorInset, dpi);
    layout.pressedShift = Scaled(PressedShift, dpi);
    return layout;
}

// A rectangle of the screen: a monitor's work area or the window, right and bottom exclusive.
struct ScreenArea {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct ScreenPoint {
    int x = 0;
    int y = 0;

    bool operator==(const ScreenPoint&) const = default;
};

// Flush with the work area's top-right corner; a window at least as wide starts at its left.
constexpr ScreenPoint TopRightIn(const ScreenArea& work, int windowWidth) {
    const int x = windowWidth < work.right - work.left ? work.right - windowWidth : work.left;
    return {x, work.top};
}

// Where a window that is not wholly inside the work area goes, keeping its size: the
// nearest place inside, or the top or left edge for a window too large; nothing when inside.
constexpr std::optional<ScreenPoint> BackInside(const ScreenArea& work, const ScreenArea& window) {
    if (window.left >= work.left && window.top >= work.top && window.right <= work.right &&
        window.bottom <= work.bottom) {
        return std::nullopt;
    }
    auto axis = [](int start, int length, int low, int high) {
        return start + length > high ? (high - length > low ? high - length : low)
                                     : (start < low ? low : start);
    };
    return ScreenPoint{axis(window.left, window.right - window.left, work.left, work.right),
                       axis(window.top, window.bottom - window.top, work.top, work.bottom)};
}
