#pragma once

// Exact decimal arithmetic without any digit budget, to hold the calculator's results
// against: a sign and a magnitude of magnitude / 10^scale.

#include <compare>
#include <cstdint>

#include "decimal/decimal_value.h"
#include "wide_integer.h"

namespace fuzzcheck {

struct ExactDecimal {
    WideInteger magnitude;
    int scale = 0;  // fraction digits
    bool negative = false;
};

// Records the arithmetic accepts: non-negative fields over a power of ten up to 10^18.
bool IsWellFormedRecord(const DecimalValue& value);

// The value a well-formed record stands for, its sign flag included (so -0 stays -0).
ExactDecimal ExactOf(const DecimalValue& value);
ExactDecimal ExactInteger(std::uint64_t value);

// One unit in the last of the given number of fraction digits.
ExactDecimal UnitInPlace(int fractionDigits);

// Sums and products of the values themselves, signs included.
ExactDecimal Sum(const ExactDecimal& a, const ExactDecimal& b);
ExactDecimal Difference(const ExactDecimal& a, const ExactDecimal& b);
ExactDecimal Product(const ExactDecimal& a, const ExactDecimal& b);
ExactDecimal Magnitude(ExactDecimal value);

// By value, signs included; a zero magnitude equals zero whatever its sign.
std::strong_ordering Compare(const ExactDecimal& a, const ExactDecimal& b);
bool SameValue(const ExactDecimal& a, const ExactDecimal& b);

// Comparison of a value with the quotient of two magnitudes: sign of value - |a| / |b|,
// for b not zero.
std::strong_ordering CompareWithQuotient(const ExactDecimal& value, const ExactDecimal& a,
                                         const ExactDecimal& b);

WideInteger WholePart(const ExactDecimal& value);
// Cut toward zero to the given number of fraction digits.
ExactDecimal Truncated(const ExactDecimal& value, int fractionDigits);
// The calculator's budget: twelve digits, whole-number digits first (0 counts as one).
int FractionDigitsInBudget(const ExactDecimal& value);
ExactDecimal TruncatedToBudget(const ExactDecimal& value);

}  // namespace fuzzcheck
