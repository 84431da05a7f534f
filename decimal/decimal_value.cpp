// The record itself: comparison, setting, normalisation and the digit routines the
// arithmetic and the text conversion share.

#include "decimal/decimal_value.h"

#include "decimal/checked_math.h"

using namespace decimal_detail;

namespace {

// The numerator brought to the common denominator; a zero denominator (only in a record
// made by hand) contributes nothing rather than dividing by zero.
std::int64_t AlignedNumerator(const DecimalValue& value, std::int64_t common) {
    return WrappingMultiply(value.numerator, AlignmentFactor(common, value.denominator));
}

// Divides both by 10, count times at most, while the denominator is above 1.
void DropFractionDigits(std::int64_t& numerator, std::int64_t& denominator, int count) {
    if (IsPowerOfTen(denominator)) {
        // Truncating divisions compose: one division by 10^n drops n digits.
        const int places = DecimalExponent(denominator);
        const int dropped = count < places ? count : places;
        numerator /= ExactPowerOfTen(dropped);
        denominator = ExactPowerOfTen(places - dropped);
        return;
    }
    // A denominator made by hand may stop above or below 1 anywhere: digit by digit.
    for (; count > 0 && denominator > 1; --count) {
        numerator /= 10;
        denominator /= 10;
    }
}

bool MagnitudeIsGreater(const DecimalValue& a, const DecimalValue& b) {
    if (a.integerPart != b.integerPart) {
        return a.integerPart > b.integerPart;
    }
    const std::int64_t common = a.denominator > b.denominator ? a.denominator : b.denominator;
    return AlignedNumerator(a, common) > AlignedNumerator(b, common);
}

}  // namespace

bool DecimalValue::Equals(const DecimalValue& other) const {
    return integerPart == other.integerPart && numerator == other.numerator &&
           denominator == other.denominator && (negative != 0) == (other.negative != 0);
}

bool DecimalValue::IsGreaterThan(const DecimalValue& other) const {
    const bool thisNegative = negative != 0;
    const bool otherNegative = other.negative != 0;
    if (thisNegative != otherNegative) {
        // Only the flags count: -0 still ranks below 0.
        return otherNegative;
    }
    return thisNegative ? MagnitudeIsGreater(other, *this) : MagnitudeIsGreater(*this, other);
}

void DecimalValue::SetInteger(std::int64_t v) {
    negative = v < 0 ? 1 : 0;
    // INT64_MIN has no positive twin; it stays as it is instead of overflowing.
    integerPart = static_cast<std::int64_t>(Magnitude(v));
    numerator = 0;
    denominator = 1;
    // Setting 0 clears a register's error; loading a constant such as 100 keeps it.
    if (v == 0) {
        errorCode = DecimalError::None;
    }
}

void DecimalValue::Normalize() {
    // Only a numerator at or past its denominator (or below 0) has whole units to carry.
    if (denominator > 0 && (numerator >= denominator || numerator < 0)) {
        integerPart = WrappingAdd(integerPart, numerator / denominator);
        numerator %= denominator;
    }
    // Cut to the digit budget, truncating: 12,345,678.123456 keeps 12,345,678.1234.
    const int excess = DigitCount(integerPart) + DecimalExponent(denominator) - MaxDigits;
    if (excess > 0) {
        DropFractionDigits(numerator, denominator, excess);
    }
    StripTrailingZeros(numerator, denominator);
}

std::int64_t PowerOfTen(int n) {
    if (n <= 0) {
        return 1;
    }
    return ExactPowerOfTen(n < MaxPowerOfTen ? n : MaxPowerOfTen);
}

void StripTrailingZeros(std::int64_t& numerator, std::int64_t& denominator) {
    if (numerator == 0 || denominator == 1) {
        denominator = 1;
        return;
    }
    if (numerator < 0) {
        return;
    }
    while (numerator % 10 == 0 && denominator >= 10) {
        numerator /= 10;
        denominator /= 10;
    }
}

void TruncateFraction(std::int64_t& numerator, std::int64_t& denominator, int digits) {
    // A negative count would drive the denominator to 0; no fraction is the most it can ask.
    const int kept = digits < 0 ? 0 : digits;
    const int cut = DecimalExponent(denominator) - kept;
    // Truncating divisions compose: one division by 10^n cuts n digits.
    if (cut > 0) {
        numerator /= ExactPowerOfTen(cut);
        denominator /= ExactPowerOfTen(cut);
    }
}

char DigitAt(std::int64_t x, int place) {
    constexpr int MaxPlace = 20;
    if (place < 1 || place > MaxPlace) {
        return '0';
    }
    std::uint64_t magnitude = Magnitude(x);
    for (int p = 1; p < place; ++p) {
        magnitude /= 10;
    }
    return static_cast<char>('0' + magnitude % 10);
}
