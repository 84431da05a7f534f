#pragma once

// The fixed key grid and key styles, and the window's placement rule: plain arithmetic,
// shared by skin loading, painting and hit testing, callable without a window.

#include <cstddef>
#include <cstdint>

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

constexpr KeyRect KeyRectangle(int index) {
    const int column = index % KeyColumns;
    const int row = (index / KeyColumns) % KeyRows;
    const int left = KeyGridLeft + KeyPitch * column;
    const int top = KeyGridTop + KeyPitch * row;
    return {left, top, left + KeySize, top + KeySize};
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

// Left edge that puts the window flush with the screen's right edge; a window at least as
// wide as the screen starts at 0.
constexpr int PlacementX(int screenWidth, int clientWidth) {
    return clientWidth < screenWidth ? screenWidth - clientWidth : 0;
}
