#pragma once

// An engine on an in-memory machine: a data folder with files, a fixed date, a clipboard.

#include <array>
#include <string>
#include <string_view>

#include "engine/calc_engine.h"
#include "engine/memory_platform.h"

inline constexpr std::string_view DataFolder = "C:\\Faltrane";
inline constexpr std::string_view RateFile = "\\DATA\\OTHER\\TAX.AUT";
inline constexpr std::string_view RoundingFile = "\\DATA\\OTHER\\Shouhi.AUT";

struct Machine {
    MemoryInstallation installation;
    FixedClock clock;
    MemoryClipboard clipboard;

    explicit Machine(LocalDate today = {2015, 1}) : clock(today) {}
    EnginePlatform Get() { return {installation, clock, clipboard}; }
};

// Feeds command characters one by one; the result of the last one.
inline int Press(CalcEngine& engine, std::string_view keys) {
    int result = 0;
    for (char key : keys) {
        result = engine.HandleCommand(static_cast<unsigned char>(key));
    }
    return result;
}

// What the display strip shows: the grouped number, or the name of the error.
inline std::string Shown(const DecimalValue& value) {
    switch (value.errorCode) {
        case DecimalError::DivideByZero:
            return "DivideByZero";
        case DecimalError::Overflow:
            return "Overflow";
        case DecimalError::Input:
            return "Input";
        case DecimalError::None:
            break;
    }
    std::array<char, FormatBufferSize> text{};
    value.Format(text.data(), text.size(), true);
    return text.data();
}
