#pragma once

// Internal to decimal/: exact 64-bit arithmetic that reports leaving the range instead of
// wrapping, the checks that keep hand-made records away from division by zero, and the
// digit work on fractions over powers of ten that the operations share.

#include <cstdint>

#include "decimal/decimal_value.h"

namespace decimal_detail {

inline bool CheckedAdd(std::int64_t a, std::int64_t b, std::int64_t& sum) {
    return !__builtin_add_overflow(a, b, &sum);
}

inline bool CheckedSubtract(std::int64_t a, std::int64_t b, std::int64_t& difference) {
    return !__builtin_sub_overflow(a, b, &difference);
}

inline bool CheckedMultiply(std::int64_t a, std::int64_t b, std::int64_t& product) {
    return !__builtin_mul_overflow(a, b, &product);
}

// Two's-complement wrap-around without undefined behaviour, for the few places where a
// hand-made record may carry a sum past the range and any defined result will do.
inline std::int64_t WrappingAdd(std::int64_t a, std::int64_t b) {
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) + static_cast<std::uint64_t>(b));
}

inline std::int64_t WrappingMultiply(std::int64_t a, std::int64_t b) {
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) * static_cast<std::uint64_t>(b));
}

// |x| as unsigned, INT64_MIN included.
inline std::uint64_t Magnitude(std::int64_t x) {
    const auto bits = static_cast<std::uint64_t>(x);
    return x < 0 ? 0 - bits : bits;
}

// Digits of x, counting 0 as one digit.
inline int DigitCount(std::int64_t x) {
    return DecimalExponent(x) + 1;
}

// 10^n for 0 <= n <= 18 from the table; callers guarantee the range.
inline constexpr std::int64_t ExactPowerOfTen(int n) {
    return static_cast<std::int64_t>(PowersOfTen[n]);
}

// 10^12, the first number with more digits than the budget.
inline constexpr std::int64_t DigitBudgetLimit = MaxIntegerPart + 1;
static_assert(DigitBudgetLimit == ExactPowerOfTen(MaxDigits));

// x / 10^n for 0 <= n <= 18, truncating: each case divides by a constant, which the compiler
// turns into a multiplication; a division by a number known only at run time costs several
// times as much.
inline std::int64_t DivideByPowerOfTen(std::int64_t x, int n) {
    switch (n) {
        case 0:
            return x;
        case 1:
            return x / ExactPowerOfTen(1);
        case 2:
            return x / ExactPowerOfTen(2);
        case 3:
            return x / ExactPowerOfTen(3);
        case 4:
            return x / ExactPowerOfTen(4);
        case 5:
            return x / ExactPowerOfTen(5);
        case 6:
            return x / ExactPowerOfTen(6);
        case 7:
            return x / ExactPowerOfTen(7);
        case 8:
            return x / ExactPowerOfTen(8);
        case 9:
            return x / ExactPowerOfTen(9);
        case 10:
            return x / ExactPowerOfTen(10);
        case 11:
            return x / ExactPowerOfTen(11);
        case 12:
            return x / ExactPowerOfTen(12);
        case 13:
            return x / ExactPowerOfTen(13);
        case 14:
            return x / ExactPowerOfTen(14);
        case 15:
            return x / ExactPowerOfTen(15);
        case 16:
            return x / ExactPowerOfTen(16);
        case 17:
            return x / ExactPowerOfTen(17);
        default:
            return x / ExactPowerOfTen(MaxExactDigits);
    }
}

// RemoveTrailingZeros past the first zero: x without them, and how many they were.
struct WithoutZeros {
    std::int64_t value = 0;
    int removed = 0;
};
WithoutZeros RemoveMoreTrailingZeros(std::int64_t x, int most);

// Removes the trailing zeros of x, at most `most` of them, and says how many it removed.
inline int RemoveTrailingZeros(std::int64_t& x, int most) {
    // Most numbers end in a digit that is not 0.
    if (most <= 0 || x % 10 != 0) {
        return 0;
    }
    const WithoutZeros stripped = RemoveMoreTrailingZeros(x, most);
    x = stripped.value;
    return stripped.removed;
}

// True, with x = 10^exponent, when x is a power of ten. (A positive x has 63 bits at most,
// so the exponent looked up is 18 at most.)
inline bool IsPowerOfTen(std::int64_t x, int& exponent) {
    exponent = ExponentFromBitLength(static_cast<std::uint64_t>(x) | 1);
    return x > 0 && ExactPowerOfTen(exponent) == x;
}

inline bool IsPowerOfTen(std::int64_t x) {
    int exponent = 0;
    return IsPowerOfTen(x, exponent);
}

// |a| > |b| by value, for any records: 0.5 and 0.50 are equal, and a denominator that is not a
// power of ten (made by hand) divides the larger one.
bool MagnitudeIsGreater(const DecimalValue& a, const DecimalValue& b);

// The records the arithmetic can work on: non-negative fields over a power-of-ten
// denominator, 10^places. Anything else is refused with the overflow error.
inline bool IsWellFormed(const DecimalValue& value, int& places) {
    return IsPowerOfTen(value.denominator, places) && value.integerPart >= 0 &&
           value.numerator >= 0;
}

inline DecimalValue OverflowValue() {
    return DecimalValue(DecimalError::Overflow);
}

// A fraction as a numerator over 10^places.
struct DecimalFraction {
    std::int64_t numerator = 0;
    int places = 0;
};

// As StripTrailingZeros strips a fraction.
inline void StripZeros(DecimalFraction& fraction) {
    if (fraction.numerator == 0) {
        fraction.places = 0;
    }
    fraction.places -= RemoveTrailingZeros(fraction.numerator, fraction.places);
}

// As TruncateFraction cuts a fraction to `places` digits, places being 0 or more.
inline void CutTo(DecimalFraction& fraction, int places) {
    if (fraction.places > places) {
        fraction.numerator = DivideByPowerOfTen(fraction.numerator, fraction.places - places);
        fraction.places = places;
    }
}

// A well-formed record without a fraction, as most numbers typed on a calculator are.
inline bool IsWholeNumber(const DecimalValue& value) {
    return value.numerator == 0 && value.denominator == 1 && value.integerPart >= 0;
}

// The finishing step of the operations: what Normalize does to a value over 10^places, the
// carry, the cut to the digit budget (truncating: 12,345,678.123456 keeps 12,345,678.1234)
// and the strip of trailing zeros. Returns the places left.
inline int NormalizeOverPlaces(DecimalValue& value, int places) {
    // A whole number is normalised already, whatever its digits.
    if (value.numerator == 0 && places == 0) {
        return places;
    }
    // Only a numerator at or past its denominator (or below 0) has whole units to carry.
    if (value.numerator >= value.denominator || value.numerator < 0) {
        const std::int64_t carry = DivideByPowerOfTen(value.numerator, places);
        value.integerPart = WrappingAdd(value.integerPart, carry);
        value.numerator -= carry * value.denominator;
    }
    const int budget = MaxDigits - DigitCount(value.integerPart);
    int kept = places <= budget ? places : (budget > 0 ? budget : 0);
    if (kept < places) {
        value.numerator = DivideByPowerOfTen(value.numerator, places - kept);
    }
    // A negative numerator, made by hand, keeps its zeros.
    if (value.numerator == 0) {
        kept = 0;
    } else if (value.numerator > 0) {
        kept -= RemoveTrailingZeros(value.numerator, kept);
    }
    value.denominator = ExactPowerOfTen(kept);
    return kept;
}

// TryMultiplyScaled splits a factor at 10^6, so it drops at most 6 low digits of a product.
inline constexpr int SplitDigits = 6;

// The three below give false when an intermediate would leave the 64-bit range.
// a / 10^aPlaces x b / 10^bPlaces for a, b >= 0 and places 0 to 18, formed as
// TryMultiplyFractions forms it.
bool TryMultiplyScaled(std::int64_t a, int aPlaces, std::int64_t b, int bPlaces,
                       DecimalFraction& product);
bool TryMultiplyFractions(Fraction a, Fraction b, Fraction& product);
bool TryLongDivide(std::int64_t dividend, std::int64_t divisor, std::int64_t scale,
                   LongDivision& result);

// numerator / 10^places, and the divisor scale 10^scalePlaces the division leaves.
struct ScaledQuotient {
    std::int64_t numerator = 0;
    int places = 0;
    int scalePlaces = 0;
};

// The same long division for a scale of 10^scalePlaces (0 to 18), in places.
bool TryLongDivide(std::int64_t dividend, std::int64_t divisor, int scalePlaces,
                   ScaledQuotient& result);

}  // namespace decimal_detail
