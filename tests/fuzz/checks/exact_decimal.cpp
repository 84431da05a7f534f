#include "exact_decimal.h"

#include <algorithm>

namespace fuzzcheck {

namespace {

constexpr int MaxDenominatorExponent = 18;

int DenominatorExponent(std::int64_t denominator) {
    int exponent = 0;
    for (std::int64_t power = 1; power < denominator; power *= 10) {
        ++exponent;
    }
    return exponent;
}

WideInteger Scaled(const ExactDecimal& value, int scale) {
    return value.magnitude * WideInteger::PowerOfTen(scale - value.scale);
}

// Both magnitudes on the larger scale.
struct Aligned {
    WideInteger a;
    WideInteger b;
    int scale = 0;
};

Aligned Align(const ExactDecimal& a, const ExactDecimal& b) {
    const int scale = std::max(a.scale, b.scale);
    return {Scaled(a, scale), Scaled(b, scale), scale};
}

}  // namespace

bool IsWellFormedRecord(const DecimalValue& value) {
    if (value.integerPart < 0 || value.numerator < 0 || value.denominator < 1) {
        return false;
    }
    std::int64_t power = 1;
    for (int exponent = 0; exponent < MaxDenominatorExponent && power < value.denominator;
         ++exponent) {
        power *= 10;
    }
    return power == value.denominator;
}

ExactDecimal ExactOf(const DecimalValue& value) {
    const int scale = DenominatorExponent(value.denominator);
    WideInteger magnitude = WideInteger(static_cast<std::uint64_t>(value.integerPart)) *
                                WideInteger::PowerOfTen(scale) +
                            WideInteger(static_cast<std::uint64_t>(value.numerator));
    return {magnitude, scale, value.negative != 0};
}

ExactDecimal ExactInteger(std::uint64_t value) {
    return {WideInteger(value), 0, false};
}

ExactDecimal UnitInPlace(int fractionDigits) {
    return {WideInteger(1), fractionDigits, false};
}

ExactDecimal Sum(const ExactDecimal& a, const ExactDecimal& b) {
    Aligned aligned = Align(a, b);
    if (a.negative == b.negative) {
        return {aligned.a + aligned.b, aligned.scale, a.negative};
    }
    if (aligned.a >= aligned.b) {
        return {aligned.a - aligned.b, aligned.scale, a.negative};
    }
    return {aligned.b - aligned.a, aligned.scale, b.negative};
}

ExactDecimal Difference(const ExactDecimal& a, const ExactDecimal& b) {
    ExactDecimal negated = b;
    negated.negative = !b.negative;
    return Sum(a, negated);
}

ExactDecimal Product(const ExactDecimal& a, const ExactDecimal& b) {
    return {a.magnitude * b.magnitude, a.scale + b.scale, a.negative != b.negative};
}

ExactDecimal Magnitude(ExactDecimal value) {
    value.negative = false;
    return value;
}

std::strong_ordering Compare(const ExactDecimal& a, const ExactDecimal& b) {
    Aligned aligned = Align(a, b);
    const bool aNegative = a.negative && !aligned.a.IsZero();
    const bool bNegative = b.negative && !aligned.b.IsZero();
    if (aNegative != bNegative) {
        return aNegative ? std::strong_ordering::less : std::strong_ordering::greater;
    }
    return aNegative ? aligned.b <=> aligned.a : aligned.a <=> aligned.b;
}

bool SameValue(const ExactDecimal& a, const ExactDecimal& b) {
    return Compare(a, b) == std::strong_ordering::equal;
}

std::strong_ordering CompareWithQuotient(const ExactDecimal& value, const ExactDecimal& a,
                                         const ExactDecimal& b) {
    if (value.negative && !value.magnitude.IsZero()) {
        return std::strong_ordering::less;
    }
    // value.m / 10^v against (a.m / 10^s) / (b.m / 10^t): value.m * b.m * 10^s against
    // a.m * 10^t * 10^v.
    const WideInteger left = value.magnitude * b.magnitude * WideInteger::PowerOfTen(a.scale);
    const WideInteger right =
        a.magnitude * WideInteger::PowerOfTen(b.scale) * WideInteger::PowerOfTen(value.scale);
    return left <=> right;
}

WideInteger WholePart(const ExactDecimal& value) {
    WideInteger whole = value.magnitude;
    return whole.DivideByPowerOfTen(value.scale);
}

ExactDecimal Truncated(const ExactDecimal& value, int fractionDigits) {
    ExactDecimal cut = value;
    if (cut.scale > fractionDigits) {
        cut.magnitude.DivideByPowerOfTen(cut.scale - fractionDigits);
        cut.scale = fractionDigits;
    }
    return cut;
}

int FractionDigitsInBudget(const ExactDecimal& value) {
    return std::max(0, MaxDigits - WholePart(value).DigitCount());
}

ExactDecimal TruncatedToBudget(const ExactDecimal& value) {
    return Truncated(value, FractionDigitsInBudget(value));
}

}  // namespace fuzzcheck
