#pragma once

// One on-screen key: its caption, look and rectangle, and the command character it posts.

#include <windows.h>

#include <cstdint>

#include "engine/platform.h"
#include "shell/gdi_holders.h"

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
    char caption[PathBufferSize] = {};
    RECT rect = {};
    std::int32_t bkMode = TRANSPARENT;
};
