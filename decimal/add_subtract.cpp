// Sums and differences in sign-magnitude form: a sum of opposite signs is a difference of
// magnitudes and a difference of opposite signs a sum.

#include "decimal/checked_math.h"
#include "decimal/decimal_value.h"

using namespace decimal_detail;

namespace {

struct AlignedFractions {
    std::int64_t first = 0;
    std::int64_t second = 0;
    std::int64_t denominator = 1;
};

// Both fractions as whole multiples of 1 / the larger denominator. Both operands are well
// formed, so the larger denominator is a multiple of the smaller.
bool AlignFractions(const DecimalValue& a, const DecimalValue& b, AlignedFractions& aligned) {
    aligned.denominator = a.denominator > b.denominator ? a.denominator : b.denominator;
    return CheckedMultiply(a.numerator, AlignmentFactor(aligned.denominator, a.denominator),
                           aligned.first) &&
           CheckedMultiply(b.numerator, AlignmentFactor(aligned.denominator, b.denominator),
                           aligned.second);
}

DecimalValue OverflowValue() {
    return DecimalValue(DecimalError::Overflow);
}

}  // namespace

DecimalValue DecimalValue::Add(const DecimalValue& other) const {
    const bool thisNegative = negative != 0;
    if (thisNegative != (other.negative != 0)) {
        // -1.5 + 1.25 is 1.25 - 1.5.
        const bool thisIsPositive = IsGreaterThan(other);
        const DecimalValue& positive = thisIsPositive ? *this : other;
        DecimalValue negativeMagnitude = thisIsPositive ? other : *this;
        negativeMagnitude.negative = 0;
        return positive.Subtract(negativeMagnitude);
    }
    if (!IsWellFormed(*this) || !IsWellFormed(other)) {
        return OverflowValue();
    }

    AlignedFractions aligned;
    std::int64_t fraction = 0;
    if (!AlignFractions(*this, other, aligned) ||
        !CheckedAdd(aligned.first, aligned.second, fraction)) {
        return OverflowValue();
    }
    std::int64_t denominatorOfSum = aligned.denominator;
    // Numerators below their denominators carry at most 1; only a hand-made record more.
    std::int64_t carry = 0;
    if (fraction >= denominatorOfSum) {
        carry = fraction / denominatorOfSum;
        fraction %= denominatorOfSum;
    }

    std::int64_t whole = 0;
    if (!CheckedAdd(integerPart, other.integerPart, whole) || !CheckedAdd(whole, carry, whole) ||
        whole > MaxIntegerPart) {
        return OverflowValue();
    }
    // No digit budget here: 11.5 + 0.12345678901 keeps all thirteen digits.
    StripTrailingZeros(fraction, denominatorOfSum);
    return DecimalValue(whole, fraction, denominatorOfSum, thisNegative ? 1 : 0);
}

DecimalValue DecimalValue::Subtract(const DecimalValue& other) const {
    if (Equals(other)) {
        return DecimalValue();
    }
    const bool thisNegative = negative != 0;
    if (thisNegative != (other.negative != 0)) {
        DecimalValue subtrahend = other;
        // 3 - -5 is 3 + 5; -3 - 5 is -(3 + 5).
        subtrahend.negative = thisNegative ? 1 : 0;
        return subtrahend.Add(*this);
    }
    if (!IsWellFormed(*this) || !IsWellFormed(other)) {
        return OverflowValue();
    }

    // The larger magnitude is always the minuend, so the difference never borrows past 0.
    const bool thisIsGreater = IsGreaterThan(other);
    const bool thisIsLarger = thisIsGreater != thisNegative;
    const DecimalValue& larger = thisIsLarger ? *this : other;
    const DecimalValue& smaller = thisIsLarger ? other : *this;

    AlignedFractions aligned;
    std::int64_t fraction = 0;
    if (!AlignFractions(larger, smaller, aligned) ||
        !CheckedSubtract(aligned.first, aligned.second, fraction)) {
        return OverflowValue();
    }
    std::int64_t borrow = 0;
    if (fraction < 0) {
        fraction += aligned.denominator;
        borrow = 1;
    }
    // One borrow always suffices while numerators stay below their denominators; a record
    // made by hand with a larger numerator is refused rather than given a negative one.
    if (fraction < 0) {
        return OverflowValue();
    }
    std::int64_t whole = 0;
    if (!CheckedSubtract(larger.integerPart, smaller.integerPart, whole) ||
        !CheckedSubtract(whole, borrow, whole) || whole > MaxIntegerPart || whole < 0) {
        return OverflowValue();
    }
    // 0.5 - 0.50 as typed: equal in value though not in form, and never -0.
    if (whole == 0 && fraction == 0) {
        return DecimalValue();
    }
    DecimalValue difference(whole, fraction, aligned.denominator, thisIsGreater ? 0 : 1);
    difference.Normalize();
    // Only a numerator past its denominator, in a record made by hand, carries this far,
    // and the carry may even wrap.
    if (difference.integerPart > MaxIntegerPart || difference.integerPart < 0) {
        return OverflowValue();
    }
    return difference;
}
