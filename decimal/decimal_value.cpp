// The record itself: comparison, setting, normalisation and the digit routines the
// arithmetic and the text conversion share.

#include "decimal/decimal_value.h"

#include "decimal/checked_math.h"

namespace decimal_detail {

// The few zeros that most numbers end in one at a time, any more in steps of 8, 4, 2 and 1.
WithoutZeros RemoveMoreTrailingZeros(std::int64_t x, int most) {
    constexpr int OneAtATime = 2;
    int removed = 0;
    if (x == 0) {
        return {x, removed};
    }
    for (; removed < most && removed < OneAtATime && x % 10 == 0; ++removed) {
        x /= 10;
    }
    // Stopped short on a digit that is not 0, or on the limit.
    if (removed < OneAtATime) {
        return {x, removed};
    }
    // Inlined, each step divides by a constant, which the compiler turns into a multiplication.
    const auto removeStep = [&x, &removed, most](int step) {
        const std::int64_t power = ExactPowerOfTen(step);
        if (most - removed >= step && x % power == 0) {
            x /= power;
            removed += step;
        }
    };
    removeStep(8);
    removeStep(8);
    removeStep(4);
    removeStep(2);
    removeStep(1);
    return {x, removed};
}

}  // namespace decimal_detail

using namespace decimal_detail;

namespace {

// common / denominator for a denominator no larger than common, without a division when both
// are powers of ten; a zero denominator (only in a record made by hand) gives 0.
std::int64_t AlignmentFactor(std::int64_t common, std::int64_t denominator) {
    int commonPlaces = 0;
    int places = 0;
    if (IsPowerOfTen(denominator, places) && IsPowerOfTen(common, commonPlaces)) {
        return ExactPowerOfTen(commonPlaces - places);
    }
    return denominator != 0 ? common / denominator : 0;
}

// The numerator brought to the common denominator; a zero denominator contributes nothing
// rather than dividing by zero.
std::int64_t AlignedNumerator(const DecimalValue& value, std::int64_t common) {
    return WrappingMultiply(value.numerator, AlignmentFactor(common, value.denominator));
}

}  // namespace

bool decimal_detail::MagnitudeIsGreater(const DecimalValue& a, const DecimalValue& b) {
    if (a.integerPart != b.integerPart) {
        return a.integerPart > b.integerPart;
    }
    const std::int64_t common = a.denominator > b.denominator ? a.denominator : b.denominator;
    return AlignedNumerator(a, common) > AlignedNumerator(b, common);
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
    int places = 0;
    if (IsPowerOfTen(denominator, places)) {
        NormalizeOverPlaces(*this, places);
        return;
    }
    // A denominator made by hand: the carry only above 0, the cut digit by digit, as the
    // denominator may reach 1 or less anywhere.
    if (denominator > 0) {
        integerPart = WrappingAdd(integerPart, numerator / denominator);
        numerator %= denominator;
    }
    int excess = DigitCount(integerPart) + DecimalExponent(denominator) - MaxDigits;
    for (; excess > 0 && denominator > 1; --excess) {
        numerator /= 10;
        denominator /= 10;
    }
    StripTrailingZeros(numerator, denominator);
}

std::int64_t PowerOfTen(int n) {
    if (n <= 0) {
        return 1;
    }
    return ExactPowerOfTen(n < MaxExactDigits ? n : MaxExactDigits);
}

void StripTrailingZeros(std::int64_t& numerator, std::int64_t& denominator) {
    if (numerator == 0 || denominator == 1) {
        denominator = 1;
        return;
    }
    if (numerator < 0 || denominator < 10) {
        return;
    }
    // Dividing digit by digit would stop once the denominator falls below 10.
    denominator = DivideByPowerOfTen(denominator,
                                     RemoveTrailingZeros(numerator, DecimalExponent(denominator)));
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
