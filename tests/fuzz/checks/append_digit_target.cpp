// Digit entry keeps to the calculator's capacity whatever is typed: twelve whole-number
// digits, eleven fraction digits (ten while they are all zeros), twelve significant digits
// in all, and the display echoes every digit it takes.

#include <string>

#include "byte_reader.h"
#include "check.h"
#include "decimal_properties.h"
#include "exact_decimal.h"
#include "targets.h"

namespace fuzzcheck {

namespace {

constexpr std::int64_t MaxTypedNumerator = 99'999'999'999;
constexpr int MaxFractionDigits = 11;
constexpr int MaxZeroFractionDigits = 10;

// The characters a key byte stands for: mostly digits, and a few that are not.
constexpr char KeyCharacters[] = "0123456789.a/:\0\xB0";

struct Key {
    char character;
    bool point;     // the point key comes before this character
    bool startNew;  // an operation comes before it: the next digit starts a new number
};

Key KeyOf(std::uint8_t byte) {
    return {KeyCharacters[(byte & 0x0F) % (sizeof KeyCharacters)], (byte & 0x10) != 0,
            (byte & 0x20) != 0};
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int DigitsOf(std::int64_t x) {
    return static_cast<int>(std::to_string(x).size());
}

// A value the engine can hold when typing begins: at most twelve digits, normalised.
DecimalValue NormalisedStart(ByteReader& reader) {
    DecimalValue value;
    value.integerPart = static_cast<std::int64_t>(reader.Take<std::uint64_t>() %
                                                  static_cast<std::uint64_t>(MaxIntegerPart + 1));
    const int fractionDigits = reader.TakeByte() % (MaxFractionDigits + 1);
    value.denominator = PowerOfTen(fractionDigits);
    value.numerator = static_cast<std::int64_t>(reader.Take<std::uint64_t>() %
                                                static_cast<std::uint64_t>(value.denominator));
    value.negative = reader.TakeByte() & 1;
    value.errorCode = static_cast<DecimalError>(reader.TakeByte() % 4);
    value.Normalize();
    return value;
}

// The text the display shows after the key, when the digit is taken.
std::string Echo(const std::string& before, char digit, bool afterPoint) {
    if (afterPoint) {
        return before + (before.find('.') == std::string::npos ? "." : "") + digit;
    }
    const bool startsAtZero = before == "0" || before == "-0";
    return startsAtZero ? before.substr(0, before.size() - 1) + digit : before + digit;
}

// Whether a digit typed after the point must be taken: the limits of digit entry.
bool FractionDigitFits(const DecimalValue& before, char digit) {
    const std::int64_t numerator = before.numerator * 10 + (digit - '0');
    const int fractionDigits = FractionDigits(before) + 1;
    const bool onlyZeros = numerator == 0;
    return WholeDigits(before) + DigitsOf(before.numerator * 10) <= MaxDigits &&
           before.numerator * 10 <= MaxTypedNumerator &&
           fractionDigits <= (onlyZeros ? MaxZeroFractionDigits : MaxFractionDigits);
}

void CheckCapacity(const DecimalValue& value) {
    FUZZ_REQUIRE(IsWellFormedRecord(value));
    FUZZ_REQUIRE(value.integerPart <= MaxIntegerPart);
    FUZZ_REQUIRE(value.numerator < value.denominator);
    FUZZ_REQUIRE(FractionDigits(value) <= MaxFractionDigits);
}

}  // namespace

void CheckAppendDigit(Input input) {
    ByteReader reader(input);
    const bool normalisedStart = reader.TakeFlag();
    DecimalValue value = normalisedStart ? NormalisedStart(reader) : TakeRawRecord(reader);
    // A value such as a paste continues as typed until the next operation.
    bool afterPoint = reader.TakeFlag();
    bool startNew = false;

    for (std::uint8_t byte : reader.Rest()) {
        const Key key = KeyOf(byte);
        if (key.startNew) {
            startNew = true;
            afterPoint = false;
        }
        afterPoint = afterPoint || key.point;

        const DecimalValue before = value;
        const std::string shownBefore = normalisedStart ? FormattedText(before, false) : "";
        const bool taken = value.AppendDigit(key.character, afterPoint, startNew);
        // The sign and the error code are the caller's.
        FUZZ_REQUIRE(value.negative == before.negative);
        FUZZ_REQUIRE(value.errorCode == before.errorCode);
        if (!taken) {
            FUZZ_REQUIRE(SameRecord(value, before));
        }
        if (!IsDigit(key.character)) {
            FUZZ_REQUIRE(!taken);
            continue;
        }
        const bool startedNew = startNew;
        startNew = false;
        if (startedNew) {
            FUZZ_REQUIRE(taken);
        }
        if (!normalisedStart) {
            continue;
        }

        CheckCapacity(value);
        const std::string shown = FormattedText(value, false);
        const std::string sign = value.negative != 0 ? "-" : "";
        if (startedNew) {
            FUZZ_REQUIRE(shown == sign + (afterPoint ? "0." : "") + key.character);
        } else if (afterPoint) {
            FUZZ_REQUIRE(taken == FractionDigitFits(before, key.character));
            if (taken) {
                FUZZ_REQUIRE(shown == Echo(shownBefore, key.character, true));
            }
        } else {
            FUZZ_REQUIRE(taken == (before.integerPart * 10 <= MaxIntegerPart));
            // A pasted 1.5 continued with 2 shows 12.5: the fraction stays as it was.
            if (taken) {
                FUZZ_REQUIRE(value.integerPart == before.integerPart * 10 + (key.character - '0'));
                FUZZ_REQUIRE(value.numerator == before.numerator);
                FUZZ_REQUIRE(value.denominator == before.denominator);
            }
            if (taken && FractionDigits(before) == 0) {
                FUZZ_REQUIRE(shown == Echo(shownBefore, key.character, false));
            }
        }
    }
}

}  // namespace fuzzcheck
