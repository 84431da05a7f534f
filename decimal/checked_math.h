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

// 10^n for 0 <= n <= 18 from a table; callers guarantee the range.
std::int64_t ExactPowerOfTen(int n);

bool IsPowerOfTen(std::int64_t x);

// The records the arithmetic can work on: non-negative fields over a power-of-ten
// denominator. Anything else is refused with the overflow error.
bool IsWellFormed(const DecimalValue& value);

// False when an intermediate would leave the 64-bit range.
bool TryMultiplyFractions(Fraction a, Fraction b, Fraction& product);
bool TryLongDivide(std::int64_t dividend, std::int64_t divisor, std::int64_t scale,
                   LongDivision& result);

}  // namespace decimal_detail
