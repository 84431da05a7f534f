// The fuzz targets: each decodes its input, runs one routine and checks the shared
// properties. Exact results are the unit tests' business.

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "engine/memory_platform.h"
#include "fuzz.h"
#include "tests/engine/engine_fields.h"

namespace fuzzcheck {

namespace {

std::string* failureLog = nullptr;

void Fail(const char* property, const char* file, int line) {
    if (failureLog == nullptr) {
        std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, property);
        std::abort();
    }
    *failureLog += std::string("\n  ") + file + ":" + std::to_string(line) + ": " + property;
}

#define FUZZ_REQUIRE(condition) \
    ((condition) ? static_cast<void>(0) : Fail(#condition, __FILE__, __LINE__))

// Fraction digits in the engine's records.
constexpr int MaxHeldPlaces = 11;

// The committed inputs lay the fields out in order without padding, as the record does.
static_assert(sizeof(DecimalValue) == 32 && offsetof(DecimalValue, errorCode) == 28);

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

// Format into exactly size bytes, so that a write past them is caught; nothing when no
// terminator was written.
std::optional<std::string> FormatInto(const DecimalValue& value, std::size_t size, bool grouping) {
    std::vector<char> buffer(size, 'x');
    value.Format(buffer.data(), size, grouping);
    const auto end = std::find(buffer.begin(), buffer.end(), '\0');
    return end == buffer.end() ? std::nullopt : std::optional(std::string(buffer.begin(), end));
}

bool SameRecord(const DecimalValue& a, const DecimalValue& b) {
    return a.integerPart == b.integerPart && a.numerator == b.numerator &&
           a.denominator == b.denominator && a.negative == b.negative && a.errorCode == b.errorCode;
}

// Fields >= 0, denominator a power of ten, numerator below it, whole part within capacity,
// at most maxPlaces fraction digits.
bool IsHeld(const DecimalValue& value, int maxPlaces = MaxHeldPlaces) {
    const int places = DecimalExponent(value.denominator);
    return value.integerPart >= 0 && value.integerPart <= MaxIntegerPart && value.numerator >= 0 &&
           value.numerator < value.denominator && PowerOfTen(places) == value.denominator &&
           places <= maxPlaces;
}

// A fresh error value of a known code, or a held number with a sign flag of 0 or 1.
bool IsSoundResult(const DecimalValue& value, int maxPlaces = MaxHeldPlaces) {
    if (value.errorCode != DecimalError::None) {
        return SameRecord(value, DecimalValue(DecimalError::DivideByZero)) ||
               SameRecord(value, DecimalValue(DecimalError::Overflow));
    }
    return IsHeld(value, maxPlaces) && value.negative <= 1;
}

// Formatted into a buffer of FormatBufferSize: terminated, only "-", digits, "," and ".".
std::string FormattedText(const DecimalValue& value, bool grouping) {
    const std::string shown = FormatInto(value, FormatBufferSize, grouping).value_or("");
    FUZZ_REQUIRE(shown.find_first_of("0123456789") != std::string::npos &&
                 shown.find_first_not_of("-0123456789,.") == std::string::npos);
    return shown;
}

std::int64_t Below(ByteReader& reader, std::int64_t bound) {
    return static_cast<std::int64_t>(reader.Take<std::uint64_t>() %
                                     static_cast<std::uint64_t>(bound));
}

// A record the engine can hold: up to twelve whole digits and eleven fraction digits,
// trailing fraction zeros unless normalised.
DecimalValue HeldRecord(ByteReader& reader) {
    const std::uint8_t shape = reader.TakeByte();
    DecimalValue value;
    value.integerPart = Below(reader, PowerOfTen(shape % 13));
    value.denominator = PowerOfTen((shape >> 4) % (MaxHeldPlaces + 1));
    value.numerator = Below(reader, value.denominator);
    const std::uint8_t flags = reader.TakeByte();
    value.negative = flags & 1;
    value.errorCode = static_cast<DecimalError>((flags >> 1) % 4);  // never looked at
    if ((flags & 0x08) != 0) {
        value.Normalize();
    }
    return value;
}

void CheckEngineShape(const CalcEngine& e) {
    const EngineFields s(e);  // constant, state, point, pending, tax state, rounding
    FUZZ_REQUIRE(s.words[0] <= 4 && s.words[1] <= 5 && s.words[2] <= 1 && s.words[3] <= 4 &&
                 s.words[4] <= 3 && s.words[5] <= 2);
    // An error code may stand next to digits typed after a tax step left it unlatched.
    for (const DecimalValue& v : s.registers) {
        FUZZ_REQUIRE(v.errorCode <= DecimalError::Overflow && IsHeld(v) && v.negative <= 1);
    }
    FormattedText(e.display, true);
    // The error state shows its error; an operator waits while the second number is typed,
    // and may wait in Waiting, never elsewhere.
    if (e.state == EngineState::Error) {
        FUZZ_REQUIRE(e.display.errorCode != DecimalError::None);
    } else if (e.state == EngineState::EnteringSecond) {
        FUZZ_REQUIRE(e.pendingOperator != Operator::None);
    } else if (e.state != EngineState::Waiting) {
        FUZZ_REQUIRE(e.pendingOperator == Operator::None);
    }
}

// One command with what every command keeps: states within their enumerations, registers
// held or error values, the tax settings, the clipboard unless it copies.
void CheckedCommand(CalcEngine& engine, MemoryClipboard& clipboard, std::int32_t character) {
    const DecimalValue rate = engine.taxRate;
    const TaxRounding rounding = engine.taxRounding;
    const std::optional<std::string> textBefore = clipboard.text;
    const std::int32_t result = engine.HandleCommand(character);
    FUZZ_REQUIRE(result == 0 || result == 1);
    CheckEngineShape(engine);
    // The tax settings are read once, when the engine is made.
    FUZZ_REQUIRE(SameRecord(engine.taxRate, rate) && engine.taxRounding == rounding);
    FUZZ_REQUIRE(character == 'S' || character == 's' || clipboard.text == textBefore);
}

}  // namespace

void RecordFailuresInto(std::string* log) {
    failureLog = log;
}

void CheckParse(Input input) {
    // An exactly sized copy, so that a read past the end of the text is caught.
    const std::vector<char> bytes(input.begin(), input.end());
    const std::string_view whole(bytes.data(), bytes.size());
    DecimalValue value;
    value.Parse(whole);
    FUZZ_REQUIRE(value.errorCode == DecimalError::None && IsSoundResult(value));
    // What the display shows pastes back unchanged; only "-0" pastes as 0.
    const bool minusZero = value.IsZero() && value.negative != 0;
    for (bool grouping : {true, false}) {
        DecimalValue back;
        back.Parse(FormattedText(value, grouping));
        FUZZ_REQUIRE(SameRecord(back, minusZero ? DecimalValue() : value));
    }
}

void CheckFormat(Input input) {
    ByteReader reader(input);
    const auto value = reader.Take<DecimalValue>();
    const bool grouping = (reader.TakeByte() & 1) != 0;
    const auto smallerSize = static_cast<std::size_t>(reader.TakeByte() % FormatBufferSize);
    const std::string full = FormattedText(value, grouping);
    // A smaller buffer gets as much as fits, terminated; none at all without room.
    FUZZ_REQUIRE(smallerSize == 0 ||
                 FormatInto(value, smallerSize, grouping) == full.substr(0, smallerSize - 1));
}

void CheckArithmetic(Input input) {
    ByteReader reader(input);
    const bool held = (reader.TakeByte() & 1) != 0;
    const DecimalValue a = held ? HeldRecord(reader) : reader.Take<DecimalValue>();
    const DecimalValue b = held ? HeldRecord(reader) : reader.Take<DecimalValue>();
    const DecimalValue results[] = {a.Add(b), a.Subtract(b), a.Multiply(b), a.Divide(b)};
    // Whatever the records, no wrapped value passes as a result; a raw record's places (up to
    // eighteen) may pass into a sum or difference, which is still exact.
    for (const DecimalValue& result : results) {
        FUZZ_REQUIRE(IsSoundResult(result, held ? MaxHeldPlaces : MaxExactDigits));
        FormattedText(result, true);
    }
    // Digit entry keeps what the engine holds holdable.
    const std::uint8_t key = reader.TakeByte();
    for (DecimalValue value : {a, b}) {
        value.AppendDigit(static_cast<char>('0' + key % 10), (key & 0x10) != 0, (key & 0x20) != 0);
        FUZZ_REQUIRE(!held || IsHeld(value));
        FormattedText(value, false);
    }
    if (!held) {
        return;
    }
    // The laws that tie the operations together.
    FUZZ_REQUIRE(SameRecord(results[0], b.Add(a)) && SameRecord(results[2], b.Multiply(a)));
    const DecimalValue minusB(b.integerPart, b.numerator, b.denominator, b.negative != 0 ? 0 : 1);
    FUZZ_REQUIRE(SameRecord(results[1], a.Add(minusB)));
}

void CheckEngineCommands(Input input) {
    // Setup flags: key present, data folder set, program folder set, rate file present,
    // rounding file present, clipboard text, clipboard held elsewhere, out of memory.
    ByteReader reader(input);
    const LocalDate today{reader.Take<std::int16_t>(), reader.TakeByte()};
    MemoryPlatform machine(today);
    const std::uint8_t flags = reader.TakeByte();
    const std::string dataFolder = reader.TakeText(reader.Take<std::uint16_t>() % 320);
    const std::string programFolder = reader.TakeText(reader.TakeByte());
    const std::string rateFile = reader.TakeText(reader.TakeByte() % 16);
    const std::string roundingFile = reader.TakeText(reader.TakeByte() % 8);
    const std::string clipboardText = reader.TakeText(reader.TakeByte());
    const auto given = [flags](int flag, const std::string& text) {
        return (flags & flag) != 0 ? std::optional(text) : std::nullopt;
    };
    machine.installation.keyPresent = (flags & 0x01) != 0;
    machine.installation.dataFolder = given(0x02, dataFolder);
    machine.installation.programFolder = given(0x04, programFolder);
    // The engine sees the folder as a C string.
    machine.installation.PutTaxFiles(dataFolder.c_str(), given(0x08, rateFile),
                                     given(0x10, roundingFile));
    machine.clipboard.text = given(0x20, clipboardText);
    machine.clipboard.available = (flags & 0x40) == 0;
    machine.clipboard.memoryLeft = (flags & 0x80) == 0;

    CalcEngine engine(machine.Get());
    CheckEngineShape(engine);
    // Every register but the tax rate a plain zero, every state word but the rounding zero.
    EngineFields zeroed(engine);
    zeroed.registers = {};
    zeroed.registers[TaxRateRegister] = engine.taxRate;
    zeroed.words = {0, 0, 0, 0, 0, static_cast<std::uint32_t>(engine.taxRounding)};
    FUZZ_REQUIRE(EngineFields(engine) == zeroed);
    // A rate other than the date's comes from a rate file that holds the text its count (1 to
    // 9) announces, read as strtol reads it; a rule other than truncation from 1 "U" or 1 "F".
    const auto count = rateFile.empty() ? 0 : static_cast<std::int8_t>(rateFile[0]);
    const bool wholeRate = (flags & 0x08) != 0 && count >= 1 && count <= 9 &&
                           rateFile.size() > static_cast<std::size_t>(count);
    DecimalValue byDate, fromFile;
    byDate.SetInteger(DefaultTaxRate(today));
    const std::string text = wholeRate ? rateFile.substr(1, static_cast<std::size_t>(count)) : "";
    fromFile.SetInteger(std::strtol(text.c_str(), nullptr, 10));
    FUZZ_REQUIRE(SameRecord(engine.taxRate, byDate) ||
                 (wholeRate && SameRecord(engine.taxRate, fromFile)));
    FUZZ_REQUIRE(engine.taxRounding == TaxRounding::Truncate ||
                 ((flags & 0x10) != 0 &&
                  (roundingFile.starts_with("\1U") || roundingFile.starts_with("\1F"))));
    // Byte 0xFE escapes: toggle held, toggle memory, new clipboard text, a wide character.
    while (!reader.Rest().empty()) {
        const std::uint8_t byte = reader.TakeByte();
        if (byte != 0xFE) {
            CheckedCommand(engine, machine.clipboard, byte);
            continue;
        }
        const std::uint8_t escape = reader.TakeByte() % 4;
        machine.clipboard.available ^= escape == 0;
        machine.clipboard.memoryLeft ^= escape == 1;
        if (escape == 2) {
            machine.clipboard.text = reader.TakeText(reader.TakeByte() % 32);
        } else if (escape == 3) {
            CheckedCommand(engine, machine.clipboard, reader.Take<std::uint16_t>());
        }
    }
}

}  // namespace fuzzcheck
