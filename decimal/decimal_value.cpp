// The record itself: comparison, setting, normalisation and the digit routines the
// arithmetic and the text conversion share.

#include "decimal/decimal_value.h"

#include <array>

#include "decimal/checked_math.h"

namespace decimal_detail {

namespace {

constexpr int MaxPowerOfTen = 18;

constexpr std::array<std::int64_t, MaxPowerOfTen + 1> PowersOfTen = [] {
    std::array<std::int64_t, MaxPowerOfTen + 1> powers{};
    powers[0] = 1;
    for (std::size_t n = 1; n < powers.size(); ++n) {
        powers[n] = powers[n - 1] * 10;
    }
    return powers;
}();

}  // namespace

std::int64_t ExactPowerOfTen(int n) {
    return PowersOfTen[static_cast<std::size_t>(n)];
}

bool IsPowerOfTen(std::int64_t x) {
    for (const std::int64_t power : PowersOfTen) {
        if (power == x) {
            return true;
        }
    }
    return false;
}

bool IsWellFormed(const DecimalValue& value) {
    return value.integerPart >= 0 && value.numerator >= 0 && IsPowerOfTen(value.denominator);
}

}  // namespace decimal_detail

using namespace decimal_detail;

namespace {

// The numerator brought to the common denominator; a zero denominator (only in a record
// made by hand) contributes nothing rather than dividing by zero.
std::int64_t AlignedNumerator(const DecimalValue& value, std::int64_t common) {
    const std::int64_t factor = value.denominator != 0 ? common / value.denominator : 0;
    return WrappingMultiply(value.numerator, factor);
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
    if (denominator > 0) {
        integerPart = WrappingAdd(integerPart, numerator / denominator);
        numerator %= denominator;
    }
    // Cut to the digit budget, truncating: 12,345,678.123456 keeps 12,345,678.1234.
    int digits = DigitCount(integerPart) + DecimalExponent(denominator);
    while (digits > MaxDigits && denominator > 1) {
        numerator /= 10;
        denominator /= 10;
        --digits;
    }
    StripTrailingZeros(numerator, denominator);
}

int DecimalExponent(std::int64_t x) {
    constexpr int MaxExponent = 19;
    int exponent = 0;
    while (x / 10 != 0 && exponent < MaxExponent) {
        x /= 10;
        ++exponent;
    }
    return exponent;
}

std::int64_t PowerOfTen(int n) {
    if (n <= 0) {
        return 1;
    }
    std::int64_t power = 1;
    for (int i = 0; i < n && power < MaxDenominator; ++i) {
        power *= 10;
    }
    return power;
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
    for (int cut = DecimalExponent(denominator) - kept; cut > 0; --cut) {
        numerator /= 10;
        denominator /= 10;
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
