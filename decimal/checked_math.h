#pragma once

// Internal to decimal/: exact 64-bit arithmetic that reports leaving the range instead of
// wrapping, and the checks that keep hand-made records away from division by zero.

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

inline constexpr int MaxPowerOfTen = 18;  // the largest power of ten in 64 bits

// 10^n for 0 <= n <= 18 from the table; callers guarantee the range.
inline std::int64_t ExactPowerOfTen(int n) {
    return static_cast<std::int64_t>(PowersOfTen[n]);
}

inline bool IsPowerOfTen(std::int64_t x) {
    return x > 0 && ExactPowerOfTen(DecimalExponent(x)) == x;
}

// The records the arithmetic can work on: non-negative fields over a power-of-ten
// denominator. Anything else is refused with the overflow error.
inline bool IsWellFormed(const DecimalValue& value) {
    return value.integerPart >= 0 && value.numerator >= 0 && IsPowerOfTen(value.denominator);
}

// common / denominator for a denominator no larger than common, without a division when both
// are powers of ten; a zero denominator (only in a record made by hand) gives 0.
inline std::int64_t AlignmentFactor(std::int64_t common, std::int64_t denominator) {
    if (denominator == common) {
        return denominator != 0 ? 1 : 0;
    }
    if (IsPowerOfTen(denominator) && IsPowerOfTen(common)) {
        return ExactPowerOfTen(DecimalExponent(common) - DecimalExponent(denominator));
    }
    return denominator != 0 ? common / denominator : 0;
}

// False when an intermediate would leave the 64-bit range.
bool TryMultiplyFractions(Fraction a, Fraction b, Fraction& product);
bool TryLongDivide(std::int64_t dividend, std::int64_t divisor, std::int64_t scale,
                   LongDivision& result);

}  // namespace decimal_detail
