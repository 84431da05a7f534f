// Sums and differences in sign-magnitude form: a sum of opposite signs is a difference of
// magnitudes and a difference of opposite signs a sum.

#include "decimal/checked_math.h"
#include "decimal/decimal_value.h"

using namespace decimal_detail;

namespace {

// A well-formed operand with its count of fraction places.
struct Operand {
    const DecimalValue& value;
    int places = 0;
};

struct AlignedFractions {
    std::int64_t first = 0;
    std::int64_t second = 0;
    int places = 0;
};

// Both fractions as whole multiples of 10^-places, the larger count of places of the two.
bool AlignFractions(const Operand& a, const Operand& b, AlignedFractions& aligned) {
    aligned.places = a.places > b.places ? a.places : b.places;
    return CheckedMultiply(a.value.numerator, ExactPowerOfTen(aligned.places - a.places),
                           aligned.first) &&
           CheckedMultiply(b.value.numerator, ExactPowerOfTen(aligned.places - b.places),
                           aligned.second);
}

// |a| + |b|, negative or not.
DecimalValue SumOfMagnitudes(const DecimalValue& a, const DecimalValue& b, bool negative) {
    const std::uint32_t sign = negative ? 1 : 0;
    // Whole numbers: nothing to align or strip.
    if (IsWholeNumber(a) && IsWholeNumber(b)) {
        std::int64_t whole = 0;
        if (!CheckedAdd(a.integerPart, b.integerPart, whole) || whole > MaxIntegerPart) {
            return OverflowValue();
        }
        return DecimalValue(whole, 0, 1, sign);
    }
    Operand first{a};
    Operand second{b};
    if (!IsWellFormed(a, first.places) || !IsWellFormed(b, second.places)) {
        return OverflowValue();
    }

    AlignedFractions aligned;
    std::int64_t fraction = 0;
    if (!AlignFractions(first, second, aligned) ||
        !CheckedAdd(aligned.first, aligned.second, fraction)) {
        return OverflowValue();
    }
    // Numerators below their denominators carry at most 1; only a hand-made record more.
    const std::int64_t one = ExactPowerOfTen(aligned.places);
    std::int64_t carry = 0;
    if (fraction >= one && fraction - one < one) {
        carry = 1;
        fraction -= one;
    } else if (fraction >= one) {
        carry = DivideByPowerOfTen(fraction, aligned.places);
        fraction -= carry * one;
    }

    std::int64_t whole = 0;
    if (!CheckedAdd(a.integerPart, b.integerPart, whole) || !CheckedAdd(whole, carry, whole) ||
        whole > MaxIntegerPart) {
        return OverflowValue();
    }
    // Not the finishing step: a sum has no digit budget (11.5 + 0.12345678901 keeps all
    // thirteen digits), so only the trailing zeros go.
    DecimalFraction sum{fraction, aligned.places};
    StripZeros(sum);
    return DecimalValue(whole, sum.numerator, ExactPowerOfTen(sum.places), sign);
}

// a - b for operands of the same sign, negative or not, that differ in representation.
DecimalValue DifferenceOfMagnitudes(const DecimalValue& a, const DecimalValue& b, bool negative) {
    // Whole numbers: nothing to align, borrow or cut; equal ones were caught before. For
    // negative operands the larger magnitude is the smaller value.
    if (IsWholeNumber(a) && IsWholeNumber(b)) {
        const bool aIsLarger = a.integerPart > b.integerPart;
        const std::int64_t whole =
            aIsLarger ? a.integerPart - b.integerPart : b.integerPart - a.integerPart;
        if (whole > MaxIntegerPart) {
            return OverflowValue();
        }
        return DecimalValue(whole, 0, 1, aIsLarger == negative ? 1 : 0);
    }
    Operand first{a};
    Operand second{b};
    if (!IsWellFormed(a, first.places) || !IsWellFormed(b, second.places)) {
        return OverflowValue();
    }

    // The larger magnitude is always the minuend, so the difference never borrows past 0.
    // For negative operands a is the greater value when its magnitude is the smaller.
    const bool aIsGreater = negative ? MagnitudeIsGreater(b, a) : MagnitudeIsGreater(a, b);
    const bool aIsLarger = aIsGreater != negative;
    const Operand& larger = aIsLarger ? first : second;
    const Operand& smaller = aIsLarger ? second : first;
    const std::uint32_t sign = aIsGreater ? 0 : 1;

    AlignedFractions aligned;
    std::int64_t fraction = 0;
    if (!AlignFractions(larger, smaller, aligned) ||
        !CheckedSubtract(aligned.first, aligned.second, fraction)) {
        return OverflowValue();
    }
    std::int64_t borrow = 0;
    if (fraction < 0) {
        fraction += ExactPowerOfTen(aligned.places);
        borrow = 1;
    }
    // One borrow always suffices while numerators stay below their denominators; a record
    // made by hand with a larger numerator is refused rather than given a negative one.
    if (fraction < 0) {
        return OverflowValue();
    }
    std::int64_t whole = 0;
    if (!CheckedSubtract(larger.value.integerPart, smaller.value.integerPart, whole) ||
        !CheckedSubtract(whole, borrow, whole) || whole > MaxIntegerPart || whole < 0) {
        return OverflowValue();
    }
    // 0.5 - 0.50 as typed: equal in value though not in form, and never -0.
    if (whole == 0 && fraction == 0) {
        return DecimalValue();
    }
    DecimalValue difference(whole, fraction, ExactPowerOfTen(aligned.places), sign);
    NormalizeOverPlaces(difference, aligned.places);
    // Only a numerator past its denominator, in a record made by hand, carries this far,
    // and the carry may even wrap.
    if (difference.integerPart > MaxIntegerPart || difference.integerPart < 0) {
        return OverflowValue();
    }
    return difference;
}

}  // namespace

DecimalValue DecimalValue::Add(const DecimalValue& other) const {
    const bool thisNegative = negative != 0;
    if (thisNegative == (other.negative != 0)) {
        return SumOfMagnitudes(*this, other, thisNegative);
    }
    // -1.5 + 1.25 is 1.25 - 1.5: the operand not flagged negative minus the magnitude of the
    // other, both taken as not negative (Subtract of them, which returns 0 when they are
    // equal in representation).
    const DecimalValue& positive = thisNegative ? other : *this;
    const DecimalValue& negativeOne = thisNegative ? *this : other;
    if (positive.integerPart == negativeOne.integerPart &&
        positive.numerator == negativeOne.numerator &&
        positive.denominator == negativeOne.denominator) {
        return DecimalValue();
    }
    return DifferenceOfMagnitudes(positive, negativeOne, false);
}

DecimalValue DecimalValue::Subtract(const DecimalValue& other) const {
    if (Equals(other)) {
        return DecimalValue();
    }
    const bool thisNegative = negative != 0;
    if (thisNegative == (other.negative != 0)) {
        return DifferenceOfMagnitudes(*this, other, thisNegative);
    }
    // 3 - -5 is 3 + 5; -3 - 5 is -(3 + 5).
    return SumOfMagnitudes(other, *this, thisNegative);
}
