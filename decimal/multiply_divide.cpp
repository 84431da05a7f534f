// Products and quotients, truncated toward zero to the 12-digit budget, never rounded.

#include "decimal/checked_math.h"
#include "decimal/decimal_value.h"

using namespace decimal_detail;

namespace {

constexpr int MaxFractionDigits = 18;

DecimalValue OverflowValue() {
    return DecimalValue(DecimalError::Overflow);
}

// Both signs look for the flag value 1 itself, and differ only for hand-made flags such as
// 2: a product of flags 1 and 2 is positive, a quotient negative.
std::uint32_t SignOfProduct(std::uint32_t first, std::uint32_t second) {
    return (first == 1 ? second == 0 : second == 1) ? 1 : 0;
}

std::uint32_t SignOfQuotient(std::uint32_t first, std::uint32_t second) {
    return (first == 1) != (second == 1) ? 1 : 0;
}

DecimalValue RestOf(const Fraction& product) {
    return DecimalValue(0, product.numerator % product.denominator, product.denominator, 0);
}

}  // namespace

DecimalValue DecimalValue::Multiply(const DecimalValue& other) const {
    if (IsZero() || other.IsZero()) {
        return DecimalValue();
    }
    const std::uint32_t resultNegative = SignOfProduct(negative, other.negative);
    if (!IsWellFormed(*this) || !IsWellFormed(other)) {
        return OverflowValue();
    }

    // Exact test: 4,294,967,296 x 4,294,967,296 wraps to 0 in 64 bits and must not pass.
    std::int64_t high = 0;
    if (!CheckedMultiply(integerPart, other.integerPart, high) || high > MaxIntegerPart) {
        return OverflowValue();
    }
    const Fraction thisFraction{numerator, denominator};
    const Fraction otherFraction{other.numerator, other.denominator};
    Fraction partials[3];
    if (!TryMultiplyFractions(Fraction{integerPart, 1}, otherFraction, partials[0]) ||
        !TryMultiplyFractions(thisFraction, Fraction{other.integerPart, 1}, partials[1]) ||
        !TryMultiplyFractions(thisFraction, otherFraction, partials[2])) {
        return OverflowValue();
    }
    for (const Fraction& partial : partials) {
        if (!CheckedAdd(high, partial.numerator / partial.denominator, high) ||
            high > MaxIntegerPart) {
            return OverflowValue();
        }
    }

    DecimalValue product = RestOf(partials[0]).Add(RestOf(partials[1])).Add(RestOf(partials[2]));
    product.Normalize();
    // The rests carry at most 2 into the whole-number part.
    std::int64_t whole = 0;
    if (product.integerPart < 0 || !CheckedAdd(high, product.integerPart, whole) ||
        whole > MaxIntegerPart) {
        return OverflowValue();
    }
    product.integerPart = whole;
    // The zeros this cut leaves stay: 9.10000000001 x 9 shows 81.9000000000.
    TruncateFraction(product.numerator, product.denominator,
                     MaxDigits - DigitCount(product.integerPart));
    product.negative = resultNegative;
    product.errorCode = DecimalError::None;
    return product;
}

DecimalValue DecimalValue::Divide(const DecimalValue& other) const {
    // Before anything else, so that 0 / 0 is a division by zero.
    if (other.IsZero()) {
        return DecimalValue(DecimalError::DivideByZero);
    }
    if (IsZero()) {
        return DecimalValue();
    }
    if (!IsWellFormed(*this) || !IsWellFormed(other)) {
        return OverflowValue();
    }
    DecimalValue dividend = *this;
    DecimalValue divisor = other;
    dividend.Normalize();
    divisor.Normalize();
    const std::uint32_t resultNegative = SignOfQuotient(dividend.negative, divisor.negative);

    // Both as single fractions: a / 10^f and b / 10^g.
    std::int64_t a = 0;
    std::int64_t b = 0;
    if (dividend.integerPart < 0 || divisor.integerPart < 0 ||
        !CheckedMultiply(dividend.integerPart, dividend.denominator, a) ||
        !CheckedAdd(a, dividend.numerator, a) ||
        !CheckedMultiply(divisor.integerPart, divisor.denominator, b) ||
        !CheckedAdd(b, divisor.numerator, b)) {
        return OverflowValue();
    }
    // A divisor of more than twelve fraction digits can vanish in the budget cut.
    if (b == 0) {
        return DecimalValue(DecimalError::DivideByZero);
    }

    LongDivision division;
    if (!TryLongDivide(a, b, divisor.denominator, division)) {
        return OverflowValue();
    }
    const int fractionDigits = DecimalExponent(dividend.denominator) +
                               DecimalExponent(division.quotient.denominator) -
                               DecimalExponent(division.scale);
    // 0.000000001 / 3 would need 20 fraction digits.
    if (fractionDigits > MaxFractionDigits) {
        return OverflowValue();
    }
    std::int64_t quotient = division.quotient.numerator;
    std::int64_t quotientDenominator = 1;
    if (fractionDigits >= 0) {
        quotientDenominator = ExactPowerOfTen(fractionDigits);
    } else if (!CheckedMultiply(quotient, ExactPowerOfTen(-fractionDigits), quotient)) {
        // 922,337,203,686 / 0.0000001 does not fit 64 bits at all.
        return OverflowValue();
    }

    DecimalValue result(quotient / quotientDenominator, quotient % quotientDenominator,
                        quotientDenominator, 0);
    result.Normalize();
    if (result.integerPart > MaxIntegerPart) {
        return OverflowValue();
    }
    result.negative = resultNegative;
    return result;
}
