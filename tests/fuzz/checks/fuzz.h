#pragma once

// The properties every fuzz target checks, shared with the replay test. A broken
// property goes to the failure handler: the fuzzer aborts there, so that libFuzzer keeps
// the input; the tests record it and carry on.

#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "engine/calc_engine.h"
#include "engine/memory_platform.h"
#include "tests/engine/engine_fields.h"

namespace fuzzcheck {

using Input = std::span<const std::uint8_t>;
// Broken properties are appended to the log, one a line; without a log they abort.
void RecordFailuresInto(std::string* log);
void Fail(const char* property, const char* file, int line);

// Typed values from the front of an input; an exhausted input gives zeros.
class ByteReader {
  public:
    explicit ByteReader(Input input) : rest_(input) {}
    template <typename T>
    T Take() {
        T value{};
        const std::string bytes = TakeText(sizeof(T));
        std::memcpy(&value, bytes.data(), bytes.size());
        return value;
    }
    std::uint8_t TakeByte() { return Take<std::uint8_t>(); }
    std::string TakeText(std::size_t count) {
        const Input taken = rest_.first(count < rest_.size() ? count : rest_.size());
        rest_ = rest_.subspan(taken.size());
        return {taken.begin(), taken.end()};
    }
    Input Rest() const { return rest_; }

  private:
    Input rest_;
};

bool SameRecord(const DecimalValue& a, const DecimalValue& b);
// Fields >= 0, denominator a power of ten, numerator below it, whole part within capacity,
// at most maxPlaces fraction digits (eleven in the engine's records).
inline constexpr int MaxHeldPlaces = 11;
bool IsHeld(const DecimalValue& value, int maxPlaces = MaxHeldPlaces);
// A fresh error value of a known code, or a held number with a sign flag of 0 or 1.
bool IsSoundResult(const DecimalValue& value, int maxPlaces = MaxHeldPlaces);
// Formatted into a buffer of FormatBufferSize: terminated, only "-", digits, "," and ".".
std::string FormattedText(const DecimalValue& value, bool grouping);

// One command with what every command keeps: states within their enumerations, registers
// held or error values, the tax settings, the clipboard unless it copies; AC gives a zeroed
// Cleared.
std::int32_t CheckedCommand(CalcEngine& engine, MemoryClipboard& clipboard, std::int32_t character);

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

#define FUZZ_REQUIRE(condition) \
    ((condition) ? static_cast<void>(0) : ::fuzzcheck::Fail(#condition, __FILE__, __LINE__))
