// Quotients, truncated toward zero to the 12-digit budget, never rounded.

#include "decimal/checked_math.h"
#include "decimal/decimal_value.h"

using namespace decimal_detail;

namespace {

// Looks for the flag value 1 itself: a quotient of hand-made flags 1 and 2 is negative.
std::uint32_t SignOfQuotient(std::uint32_t first, std::uint32_t second) {
    return (first == 1) != (second == 1) ? 1 : 0;
}

}  // namespace

DecimalValue DecimalValue::Divide(const DecimalValue& other) const {
    // Before anything else, so that 0 / 0 is a division by zero.
    if (other.IsZero()) {
        return DecimalValue(DecimalError::DivideByZero);
    }
    if (IsZero()) {
        return DecimalValue();
    }
    int dividendPlaces = 0;
    int divisorPlaces = 0;
    if (!IsWellFormed(*this, dividendPlaces) || !IsWellFormed(other, divisorPlaces)) {
        return OverflowValue();
    }
    DecimalValue dividend = *this;
    DecimalValue divisor = other;
    dividendPlaces = NormalizeOverPlaces(dividend, dividendPlaces);
    divisorPlaces = NormalizeOverPlaces(divisor, divisorPlaces);
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

    ScaledQuotient division;
    if (!TryLongDivide(a, b, divisorPlaces, division)) {
        return OverflowValue();
    }
    const int fractionDigits = dividendPlaces + division.places - division.scalePlaces;
    // 0.000000001 / 3 would need 20 fraction digits.
    if (fractionDigits > MaxExactDigits) {
        return OverflowValue();
    }
    // The quotient q / 10^fractionDigits.
    std::int64_t whole = division.numerator;
    DecimalFraction fraction;
    if (fractionDigits >= 0) {
        whole = DivideByPowerOfTen(division.numerator, fractionDigits);
        fraction = {division.numerator - whole * ExactPowerOfTen(fractionDigits), fractionDigits};
    } else if (!CheckedMultiply(whole, ExactPowerOfTen(-fractionDigits), whole)) {
        // 922,337,203,686 / 0.0000001 does not fit 64 bits at all.
        return OverflowValue();
    }
    if (whole > MaxIntegerPart) {
        return OverflowValue();
    }
    DecimalValue result(whole, fraction.numerator, ExactPowerOfTen(fraction.places),
                        resultNegative);
    NormalizeOverPlaces(result, fraction.places);
    return result;
}
