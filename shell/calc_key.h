#pragma once

// One on-screen key: its caption, look and rectangle, and the command character it posts.

#include <windows.h>

#include <cstdint>

#include "shell/gdi_holders.h"
#include "shell/shift_jis.h"

class CalcKey {
  public:
    CalcKey() = default;
    virtual ~CalcKey() = default;  // the font holder frees the key's font

    CalcKey(const CalcKey&) = delete;
    CalcKey& operator=(const CalcKey&) = delete;

    FontHandle font;
    std::int32_t commandChar = 0;
    std::int32_t pressed = 0;
    COLORREF textColor = RGB(255, 255, 255);
    char caption[TextBufferSize] = {};
    RECT rect = {};
    std::int32_t bkMode = TRANSPARENT;
};
