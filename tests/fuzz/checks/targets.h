#pragma once

// The fuzz targets: each takes one arbitrary input and tests its properties through
// FUZZ_REQUIRE. The fuzzers and the replay test of the committed inputs share them.

#include <cstdint>
#include <span>
#include <string_view>

namespace fuzzcheck {

using Input = std::span<const std::uint8_t>;

// Text to Parse, as it stands and cut at its first terminator.
void CheckParse(Input input);
// A record of five arbitrary fields, formatted into exact and smaller buffers.
void CheckFormat(Input input);
// A starting value and a sequence of digit keys, points and new-number starts.
void CheckAppendDigit(Input input);
// Two records through every operation; well-formed ones against exact arithmetic.
void CheckArithmetic(Input input);
// An installation, a date and a clipboard behind the engine, then command characters.
void CheckEngineCommands(Input input);
// The rate and rounding files' bytes read by a new engine.
void CheckTaxFiles(Input input);

struct Target {
    std::string_view name;
    void (*check)(Input input);
};

inline constexpr Target Targets[] = {
    {"parse", CheckParse},
    {"format", CheckFormat},
    {"append_digit", CheckAppendDigit},
    {"arithmetic", CheckArithmetic},
    {"engine_commands", CheckEngineCommands},
    {"tax_files", CheckTaxFiles},
};

}  // namespace fuzzcheck
