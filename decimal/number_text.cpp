// Text in and out: the display and clipboard text, pasted text, and digit entry.

#include <cstring>

#include "decimal/checked_math.h"
#include "decimal/decimal_value.h"

using namespace decimal_detail;

namespace {

// Typed fractions stop at eleven digits.
constexpr int MaxTypedPlaces = MaxDigits - 1;
constexpr std::int64_t MaxTypedNumerator = ExactPowerOfTen(MaxTypedPlaces) - 1;
constexpr int MaxTypedDenominatorDigits = MaxTypedPlaces + 1;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

std::int64_t DigitValue(char c) {
    return c - '0';
}

}  // namespace

void DecimalValue::Format(char* buffer, std::size_t size, bool grouping) const {
    if (buffer == nullptr || size == 0) {
        return;
    }
    // Magnitudes only, so any record fits: "-", 19 digits, 6 commas, ".", 18 digits.
    char text[FormatBufferSize];
    std::size_t length = 0;
    if (negative != 0) {
        text[length++] = '-';
    }
    for (int place = DigitCount(integerPart); place >= 1; --place) {
        text[length++] = DigitAt(integerPart, place);
        if (grouping && place > 1 && (place - 1) % 3 == 0) {
            text[length++] = ',';
        }
    }
    // A typed 12.00 keeps its point and zeros; only 0 over 1 means no fraction.
    if (numerator != 0 || denominator != 1) {
        text[length++] = '.';
        for (int place = DecimalExponent(denominator); place >= 1; --place) {
            text[length++] = DigitAt(numerator, place);
        }
    }
    const std::size_t copied = length < size - 1 ? length : size - 1;
    std::memcpy(buffer, text, copied);
    buffer[copied] = '\0';
}

void DecimalValue::Parse(std::string_view text) {
    *this = DecimalValue();
    std::size_t position = 0;
    if (!text.empty() && text.front() == '-') {
        negative = 1;
        position = 1;
    }
    bool inFraction = false;
    int taken = 0;
    // "1,234.5" reads as 1234.5; "12a3" as 12; "1.2.3" as 1.2; the terminator ends it too.
    for (; position < text.size(); ++position) {
        const char c = text[position];
        if (c == '.') {
            if (inFraction) {
                break;
            }
            inFraction = true;
        } else if (c == ',') {
            // Skipped wherever it stands, in the fraction too.
        } else if (!IsDigit(c) || taken == MaxDigits) {
            break;
        } else {
            ++taken;
            if (inFraction) {
                numerator = numerator * 10 + DigitValue(c);
                denominator *= 10;
            } else {
                integerPart = integerPart * 10 + DigitValue(c);
            }
        }
    }
    // A lone "-" and "-0.00" read as a plain 0.
    if (integerPart == 0 && numerator == 0) {
        *this = DecimalValue();
    }
    Normalize();
}

bool DecimalValue::AppendDigit(char digit, bool afterPoint, bool startNew) {
    if (!IsDigit(digit)) {
        return false;
    }
    const std::int64_t value = DigitValue(digit);
    if (startNew) {
        integerPart = afterPoint ? 0 : value;
        numerator = afterPoint ? value : 0;
        denominator = afterPoint ? 10 : 1;
        return true;
    }
    if (!afterPoint) {
        std::int64_t shifted = 0;
        if (!CheckedMultiply(integerPart, 10, shifted) || shifted > MaxIntegerPart || shifted < 0) {
            return false;
        }
        integerPart = shifted + value;
        return true;
    }

    std::int64_t shiftedNumerator = 0;
    std::int64_t shiftedDenominator = 0;
    if (!CheckedMultiply(numerator, 10, shiftedNumerator) ||
        !CheckedMultiply(denominator, 10, shiftedDenominator)) {
        return false;
    }
    // Leading fraction zeros do not count against the twelve digits (12345.00000000001), but
    // the fraction takes eleven places at most and ten while it is all zeros.
    const bool onlyZeros = shiftedNumerator == 0 && digit == '0';
    const int denominatorLimit =
        onlyZeros ? MaxTypedDenominatorDigits - 1 : MaxTypedDenominatorDigits;
    if (DigitCount(integerPart) + DigitCount(shiftedNumerator) > MaxDigits ||
        shiftedNumerator > MaxTypedNumerator || shiftedNumerator < 0 ||
        DigitCount(shiftedDenominator) > denominatorLimit) {
        return false;
    }
    numerator = shiftedNumerator + value;
    denominator = shiftedDenominator;
    return true;
}
