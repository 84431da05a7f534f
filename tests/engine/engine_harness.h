#pragma once

// An engine on the in-memory platform (no installation, a fixed date, a clipboard without
// text) and the helpers the engine tests share.

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/calc_engine.h"
#include "engine/memory_platform.h"

MemoryInstallation NoInstallation();

struct TestEngine {
    MemoryInstallation installation = NoInstallation();
    FixedClock clock{LocalDate{2020, 6}};
    MemoryClipboard clipboard;
    CalcEngine engine{EnginePlatform{installation, clock, clipboard}};

    // Feeds the keys one by one as command characters; the result of the last one.
    std::int32_t Press(std::string_view keys);
};

// Format with grouping, as the display shows it.
std::string Shown(const DecimalValue& value);

// Every field of the engine, representation and error codes included, as one line.
std::string Fields(const CalcEngine& engine);

// The characters HandleCommand knows, in both cases.
inline constexpr std::string_view CommandCharacters =
    "0123456789.+-*/=%\r\bAaCcDdGgLlMmPpRrSsTtXxZz";

bool IsCommandCharacter(std::int32_t character);
