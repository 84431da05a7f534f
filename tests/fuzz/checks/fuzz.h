#pragma once

// The fuzz targets and the checks they share with the replay and soak tests. A broken
// property goes to the failure handler: the fuzzer aborts there, so that libFuzzer keeps
// the input; the tests record it and carry on.

#include <array>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <utility>

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
        const Input bytes = TakeBytes(sizeof(T));
        std::memcpy(&value, bytes.data(), bytes.size());
        return value;
    }
    std::uint8_t TakeByte() { return Take<std::uint8_t>(); }
    std::string TakeText(std::size_t count) {
        const Input bytes = TakeBytes(count);
        return {bytes.begin(), bytes.end()};
    }
    Input TakeBytes(std::size_t count) {
        const Input taken = rest_.first(count < rest_.size() ? count : rest_.size());
        rest_ = rest_.subspan(taken.size());
        return taken;
    }
    Input Rest() const { return rest_; }

  private:
    Input rest_;
};

bool SameRecord(const DecimalValue& a, const DecimalValue& b);
// Well formed (fields >= 0, denominator a power of ten), numerator below the denominator,
// whole part within capacity, at most eleven fraction digits.
bool IsHeld(const DecimalValue& value);
// Format into a buffer of FormatBufferSize; checks termination and that only "-",
// digits, "," and "." are written.
std::string FormattedText(const DecimalValue& value, bool grouping);

struct Machine {
    MemoryInstallation installation;
    FixedClock clock;
    MemoryClipboard clipboard;
    explicit Machine(LocalDate today) : clock(today) { installation.keyPresent = false; }
    EnginePlatform Platform() { return {installation, clock, clipboard}; }
    void AddTaxFiles(const std::string& folder, const std::string* rate,
                     const std::string* rounding) {
        for (const auto& [name, bytes] :
             {std::pair(RateFileName, rate), std::pair(RoundingFileName, rounding)}) {
            if (bytes != nullptr) {
                installation.files[folder + std::string(name)] = *bytes;
            }
        }
    }
};

// States within their enumerations, registers held or error values, the display within
// its length, the pending operator as the state says.
void CheckEngineShape(const CalcEngine& engine);
// One command with what every command keeps: the engine's shape and tax settings, the
// clipboard unless it copies; AC gives a zeroed Cleared.
std::int32_t CheckedCommand(CalcEngine& engine, MemoryClipboard& clipboard, std::int32_t character);

void CheckParse(Input input);
void CheckFormat(Input input);
void CheckAppendDigit(Input input);
void CheckArithmetic(Input input);
void CheckEngineCommands(Input input);
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

#define FUZZ_REQUIRE(condition) \
    ((condition) ? static_cast<void>(0) : ::fuzzcheck::Fail(#condition, __FILE__, __LINE__))
