// The number routines on arbitrary input: Parse, Format, digit entry and arithmetic.

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

#include "fuzz.h"

namespace fuzzcheck {

namespace {

std::string* failureLog = nullptr;

// The longest display text with grouping, terminator included.
constexpr std::size_t LongestGroupedText = 29;
constexpr int MaxFractionDigits = 11;

// The committed inputs lay the fields out in order without padding, as the record does.
static_assert(sizeof(DecimalValue) == 32 && offsetof(DecimalValue, errorCode) == 28);

std::string Digits(std::int64_t value) {
    return std::to_string(static_cast<std::uint64_t>(value));
}

int FractionDigits(const DecimalValue& value) {
    int digits = 0;
    for (std::int64_t power = 1; power < value.denominator && digits < 18; power *= 10) {
        ++digits;
    }
    return digits;
}

int WholeDigits(const DecimalValue& value) {
    return static_cast<int>(Digits(value.integerPart).size());
}

// Fields >= 0, the denominator a power of ten up to 10^18.
bool IsWellFormed(const DecimalValue& value) {
    const int places = FractionDigits(value);
    return value.integerPart >= 0 && value.numerator >= 0 &&
           PowerOfTen(places) == value.denominator;
}

// No trailing fraction zeros.
bool IsStripped(const DecimalValue& value) {
    return value.numerator == 0 ? value.denominator == 1 : value.numerator % 10 != 0;
}

// Held, stripped and at most twelve digits.
bool IsNormalised(const DecimalValue& value) {
    return IsHeld(value) && IsStripped(value) &&
           WholeDigits(value) + FractionDigits(value) <= MaxDigits;
}

// Format into exactly size bytes, so that a write past them is caught; nothing when no
// terminator was written.
std::optional<std::string> FormatInto(const DecimalValue& value, std::size_t size, bool grouping) {
    std::vector<char> buffer(size, 'x');
    value.Format(buffer.data(), size, grouping);
    const auto end = std::find(buffer.begin(), buffer.end(), '\0');
    return end == buffer.end() ? std::nullopt : std::optional(std::string(buffer.begin(), end));
}

DecimalValue Parsed(std::string_view text) {
    DecimalValue value(DecimalError::Overflow);  // Parse must replace every field
    value.integerPart = 7;
    value.negative = 1;
    value.Parse(text);
    return value;
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
    value.denominator = PowerOfTen((shape >> 4) % (MaxFractionDigits + 1));
    value.numerator = Below(reader, value.denominator);
    const std::uint8_t flags = reader.TakeByte();
    value.negative = flags & 1;
    value.errorCode = static_cast<DecimalError>((flags >> 1) % 4);  // never looked at
    if ((flags & 0x08) != 0) {
        value.Normalize();
    }
    return value;
}

}  // namespace

void RecordFailuresInto(std::string* log) {
    failureLog = log;
}

void Fail(const char* property, const char* file, int line) {
    if (failureLog == nullptr) {
        std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, property);
        std::abort();
    }
    *failureLog += std::string("\n  ") + file + ":" + std::to_string(line) + ": " + property;
}

bool SameRecord(const DecimalValue& a, const DecimalValue& b) {
    return a.integerPart == b.integerPart && a.numerator == b.numerator &&
           a.denominator == b.denominator && a.negative == b.negative && a.errorCode == b.errorCode;
}

bool IsHeld(const DecimalValue& value) {
    return IsWellFormed(value) && value.integerPart <= MaxIntegerPart &&
           value.numerator < value.denominator && FractionDigits(value) <= MaxFractionDigits;
}

std::string FormattedText(const DecimalValue& value, bool grouping) {
    const std::string shown = FormatInto(value, FormatBufferSize, grouping).value_or("");
    FUZZ_REQUIRE(!shown.empty() && shown.find_first_not_of("-0123456789,.") == std::string::npos);
    return shown;
}

void CheckParse(Input input) {
    // An exactly sized copy, so that a read past the end of the text is caught.
    const std::vector<char> bytes(input.begin(), input.end());
    const std::string_view whole(bytes.data(), bytes.size());
    const DecimalValue value = Parsed(whole);
    FUZZ_REQUIRE(value.errorCode == DecimalError::None && IsNormalised(value));
    for (bool grouping : {true, false}) {
        const std::string text = FormattedText(value, grouping);
        FUZZ_REQUIRE(text.size() < LongestGroupedText);
        // What the display shows pastes back unchanged; only "-0" pastes as 0.
        const bool minusZero = value.IsZero() && value.negative != 0;
        FUZZ_REQUIRE(SameRecord(Parsed(text), minusZero ? DecimalValue() : value));
    }
    // The scan ends at the terminator, and at any character but digits, "," and "." after
    // a leading "-": what follows never counts.
    const std::size_t start = !whole.empty() && whole.front() == '-' ? 1 : 0;
    const std::size_t stop = whole.find_first_not_of(std::string_view("0123456789,."), start);
    FUZZ_REQUIRE(SameRecord(Parsed(whole.substr(0, stop)), value));
    const std::string terminated(whole.substr(0, whole.find('\0')));
    FUZZ_REQUIRE(SameRecord(Parsed({terminated.c_str(), terminated.size() + 1}), value));
    // Minus zero reads as 0 unless digits were cut by the digit budget.
    FUZZ_REQUIRE(!value.IsZero() || value.negative == 0 ||
                 whole.substr(0, stop).find_first_of("123456789") != std::string_view::npos);
}

void CheckFormat(Input input) {
    ByteReader reader(input);
    const auto value = reader.Take<DecimalValue>();
    const bool grouping = (reader.TakeByte() & 1) != 0;
    const auto smallerSize = static_cast<std::size_t>(reader.TakeByte() % FormatBufferSize);
    const std::string full = FormattedText(value, grouping);
    FUZZ_REQUIRE(full.find_first_of("0123456789") != std::string::npos);
    FUZZ_REQUIRE((full[0] == '-') == (value.negative != 0));
    // A smaller buffer gets as much as fits, terminated; none at all without room.
    const std::optional<std::string> cut = FormatInto(value, smallerSize, grouping);
    FUZZ_REQUIRE(smallerSize == 0 || cut == full.substr(0, smallerSize - 1));
}

void CheckAppendDigit(Input input) {
    // Key bytes: a character (mostly digits), the point key before it, an operation before it.
    static constexpr char KeyCharacters[] = "0123456789.a/:\0\xB0";
    ByteReader reader(input);
    const bool held = (reader.TakeByte() & 1) != 0;
    DecimalValue value = held ? DecimalValue() : reader.Take<DecimalValue>();
    if (held) {  // a value the engine can hold when typing begins
        value.integerPart = Below(reader, MaxIntegerPart + 1);
        value.denominator = PowerOfTen(reader.TakeByte() % (MaxFractionDigits + 1));
        value.numerator = Below(reader, value.denominator);
        value.negative = reader.TakeByte() & 1;
        value.errorCode = static_cast<DecimalError>(reader.TakeByte() % 4);
        value.Normalize();
    }
    bool afterPoint = (reader.TakeByte() & 1) != 0;  // a paste continues as typed
    bool startNew = false;
    for (std::uint8_t byte : reader.Rest()) {
        const char key = KeyCharacters[(byte & 0x0F) % sizeof KeyCharacters];
        startNew = startNew || (byte & 0x20) != 0;
        afterPoint = ((byte & 0x20) == 0 && afterPoint) || (byte & 0x10) != 0;
        const DecimalValue before = value;
        const std::string shownBefore = held ? FormattedText(before, false) : "";
        const bool taken = value.AppendDigit(key, afterPoint, startNew);
        FUZZ_REQUIRE(value.negative == before.negative && value.errorCode == before.errorCode);
        FUZZ_REQUIRE(taken || SameRecord(value, before));
        if (key < '0' || key > '9') {
            FUZZ_REQUIRE(!taken);
            continue;
        }
        FUZZ_REQUIRE(taken || !startNew);
        const bool startedNew = std::exchange(startNew, false);
        if (!held) {
            continue;
        }
        FUZZ_REQUIRE(IsHeld(value));
        const std::string shown = FormattedText(value, false);
        const std::string sign = value.negative != 0 ? "-" : "";
        if (startedNew) {
            FUZZ_REQUIRE(shown == sign + (afterPoint ? "0." : "") + key);
        } else if (afterPoint) {
            const bool hasPoint = shownBefore.find('.') != std::string::npos;
            FUZZ_REQUIRE(!taken || shown == shownBefore + (hasPoint ? "" : ".") + key);
        } else {
            // A pasted 1.5 continued with 2 shows 12.5: the fraction stays as it was.
            FUZZ_REQUIRE(!taken || (value.integerPart == before.integerPart * 10 + (key - '0') &&
                                    value.numerator == before.numerator &&
                                    value.denominator == before.denominator));
            FUZZ_REQUIRE(!taken || FractionDigits(before) != 0 ||
                         shown == (shownBefore == sign + "0" ? sign : shownBefore) + key);
        }
    }
}

void CheckArithmetic(Input input) {
    ByteReader reader(input);
    const bool held = (reader.TakeByte() & 1) != 0;
    const DecimalValue a = held ? HeldRecord(reader) : reader.Take<DecimalValue>();
    const DecimalValue b = held ? HeldRecord(reader) : reader.Take<DecimalValue>();
    const DecimalValue results[] = {a.Add(b), a.Subtract(b), a.Multiply(b), a.Divide(b)};
    const bool greater = a.IsGreaterThan(b);
    const bool less = b.IsGreaterThan(a);
    for (const DecimalValue& result : results) {
        FormattedText(result, true);
    }
    for (DecimalValue value : {a, b}) {
        value.Normalize();
        FormattedText(value, true);
    }
    if (!held) {
        return;  // results for records nobody can hold are free
    }
    // Held, or exactly an error value of a known code; stripped unless a product.
    for (const DecimalValue& result : results) {
        if (result.errorCode != DecimalError::None) {
            FUZZ_REQUIRE(SameRecord(result, DecimalValue(DecimalError::DivideByZero)) ||
                         SameRecord(result, DecimalValue(DecimalError::Overflow)));
        } else {
            FUZZ_REQUIRE(IsHeld(result) && result.negative <= 1);
            FUZZ_REQUIRE(&result == &results[2] || IsStripped(result));
        }
    }
    // The exact results are the decimal tests' business; here the laws that tie them.
    const DecimalValue& product = results[2];
    const DecimalValue& quotient = results[3];
    FUZZ_REQUIRE(SameRecord(a.Add(b), b.Add(a)) && SameRecord(product, b.Multiply(a)));
    const DecimalValue minusB(b.integerPart, b.numerator, b.denominator, b.negative != 0 ? 0 : 1);
    FUZZ_REQUIRE(SameRecord(a.Subtract(b), a.Add(minusB)));
    const std::uint32_t productSign = (a.negative != 0) != (b.negative != 0) ? 1 : 0;
    if (a.IsZero() || b.IsZero()) {
        FUZZ_REQUIRE(SameRecord(product, DecimalValue()));
    } else if (product.errorCode == DecimalError::None) {
        FUZZ_REQUIRE(product.negative == productSign);
        FUZZ_REQUIRE(WholeDigits(product) + FractionDigits(product) <= MaxDigits ||
                     FractionDigits(product) == 0);
    }
    if (b.IsZero()) {
        FUZZ_REQUIRE(SameRecord(quotient, DecimalValue(DecimalError::DivideByZero)));
    } else if (a.IsZero()) {
        FUZZ_REQUIRE(SameRecord(quotient, DecimalValue()));
    } else if (quotient.errorCode == DecimalError::None) {
        FUZZ_REQUIRE(quotient.negative == productSign && IsNormalised(quotient));
    }
    // With the same sign flags the order follows the difference; -0 ranks below 0.
    const DecimalValue difference = results[1];
    if ((a.negative != 0) != (b.negative != 0)) {
        FUZZ_REQUIRE(greater == (b.negative != 0) && less == (a.negative != 0));
    } else if (difference.errorCode == DecimalError::None) {
        FUZZ_REQUIRE(!greater || (!difference.IsZero() && difference.negative == 0));
        FUZZ_REQUIRE(!less || (!difference.IsZero() && difference.negative != 0));
    }
}

}  // namespace fuzzcheck
