#pragma once

// The fuzz targets, shared by the fuzzers and the replay test. A broken property aborts in
// the fuzzer, so that libFuzzer keeps the input; the tests record it and carry on.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace fuzzcheck {

using Input = std::span<const std::uint8_t>;
// Broken properties are appended to the log, one a line; without a log they abort.
void RecordFailuresInto(std::string* log);

void CheckParse(Input input);
void CheckFormat(Input input);
void CheckArithmetic(Input input);
void CheckEngineCommands(Input input);

struct Target {
    std::string_view name;
    void (*check)(Input input);
};
inline constexpr Target Targets[] = {
    {"parse", CheckParse},
    {"format", CheckFormat},
    {"arithmetic", CheckArithmetic},
    {"engine_commands", CheckEngineCommands},
};

}  // namespace fuzzcheck
