#pragma once

// An engine on an in-memory machine and the properties every engine state keeps.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/calc_engine.h"
#include "engine/memory_platform.h"

namespace fuzzcheck {

inline constexpr std::string_view RateFileName = "\\DATA\\OTHER\\TAX.AUT";
inline constexpr std::string_view RoundingFileName = "\\DATA\\OTHER\\Shouhi.AUT";
// Pasted text counts this many characters at most.
inline constexpr std::size_t PastedCharacters = 19;

struct Machine {
    MemoryInstallation installation;
    FixedClock clock;
    MemoryClipboard clipboard;

    explicit Machine(LocalDate today) : clock(today) { installation.keyPresent = false; }
    EnginePlatform Platform() { return {installation, clock, clipboard}; }
};

// Every field of the engine.
struct EngineSnapshot {
    std::array<DecimalValue, 8> registers;
    std::array<std::uint32_t, 6> words{};

    explicit EngineSnapshot(const CalcEngine& engine);
    friend bool operator==(const EngineSnapshot& a, const EngineSnapshot& b);
};

bool IsCommandCharacter(std::int32_t character);
bool IsAllClear(std::int32_t character);

// States and codes within their enumerations, every register well formed within capacity
// or an error value, the display within its text length, and the states' rules on the
// pending operator and the error code.
void CheckEngineShape(const CalcEngine& engine);

// What all clear leaves: every register a plain zero, every state word zero.
void CheckAllCleared(const CalcEngine& engine);

// One command through HandleCommand with the properties every command keeps: unknown
// characters and the error state change nothing, all clear always clears, copy and paste
// move exactly the clipboard's text, and the tax settings never change.
std::int32_t CheckedCommand(CalcEngine& engine, MemoryClipboard& clipboard, std::int32_t character);

}  // namespace fuzzcheck
