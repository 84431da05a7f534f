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

// A fraction's numerator over 10^places, as the operations below keep it.
struct Places {
    std::int64_t numerator = 0;
    int places = 0;
};

void StripZeros(Places& fraction) {
    if (fraction.numerator == 0) {
        fraction.places = 0;
    }
    fraction.places -= RemoveTrailingZeros(fraction.numerator, fraction.places);
}

void CutTo(Places& fraction, int places) {
    if (fraction.places > places) {
        fraction.numerator = DivideByPowerOfTen(fraction.numerator, fraction.places - places);
        fraction.places = places;
    }
}

// A product as its whole-number part and its fraction, before the digit budget.
struct ProductParts {
    std::int64_t whole = 0;
    Places fraction;
};

// The product as the sum of the partial products' rests leaves it: that sum holds a carry of
// one digit next to the fraction, so keeps 11 places, stripped; the result keeps what its
// whole-number part leaves of the 12 digits, cut but not stripped (9.10000000001 x 9 shows
// 81.9000000000).
DecimalValue ProductValue(ProductParts parts, std::uint32_t negative) {
    if (parts.whole > MaxIntegerPart) {
        return OverflowValue();
    }
    CutTo(parts.fraction, MaxDigits - 1);
    StripZeros(parts.fraction);
    CutTo(parts.fraction, MaxDigits - DigitCount(parts.whole));
    return DecimalValue(parts.whole, parts.fraction.numerator,
                        ExactPowerOfTen(parts.fraction.places), negative);
}

// A partial product n / 10^k as its whole units and its rest below 1.
struct SplitProduct {
    std::int64_t whole = 0;
    Places rest;
};

SplitProduct Split(const ScaledProduct& product) {
    if (product.exponent == 0) {
        return {product.numerator, {}};
    }
    const std::int64_t whole = DivideByPowerOfTen(product.numerator, product.exponent);
    return {whole,
            {product.numerator - whole * ExactPowerOfTen(product.exponent), product.exponent}};
}

// The three partial products of the whole-number and fraction parts, their whole units added
// to high, their rests added on their largest denominator (each is below 1, so the sum fits
// and carries 2 at most). False when the whole-number part passes the limit or a partial
// product leaves 64 bits.
bool AddPartialProducts(const DecimalValue& a, int aPlaces, const DecimalValue& b, int bPlaces,
                        std::int64_t high, ProductParts& product) {
    ScaledProduct partials[3];
    if (!TryMultiplyScaled(a.integerPart, 0, b.numerator, bPlaces, partials[0]) ||
        !TryMultiplyScaled(a.numerator, aPlaces, b.integerPart, 0, partials[1]) ||
        !TryMultiplyScaled(a.numerator, aPlaces, b.numerator, bPlaces, partials[2])) {
        return false;
    }
    const SplitProduct parts[3] = {Split(partials[0]), Split(partials[1]), Split(partials[2])};
    Places& sum = product.fraction;
    sum = Places{};
    for (const SplitProduct& part : parts) {
        if (!CheckedAdd(high, part.whole, high) || high > MaxIntegerPart) {
            return false;
        }
        sum.places = part.rest.places > sum.places ? part.rest.places : sum.places;
    }
    for (const SplitProduct& part : parts) {
        sum.numerator += part.rest.numerator * ExactPowerOfTen(sum.places - part.rest.places);
    }
    for (const std::int64_t one = ExactPowerOfTen(sum.places); sum.numerator >= one;
         sum.numerator -= one) {
        ++high;
    }
    product.whole = high;
    return true;
}

// Operands of up to twelve digits, as single numbers below this.
constexpr std::int64_t WideFactorLimit = 1'000'000'000'000;
constexpr int WideHalfDigits = 12;
constexpr std::int64_t QuarterFactor = 1'000'000;

// a x b for a, b below 10^12, exactly: high x 10^12 + low. Six-digit quarters keep every
// product of two below 10^12.
struct WideProduct {
    std::int64_t high = 0;
    std::int64_t low = 0;
};

WideProduct MultiplyWide(std::int64_t a, std::int64_t b) {
    const std::int64_t a1 = a / QuarterFactor;
    const std::int64_t a0 = a % QuarterFactor;
    const std::int64_t b1 = b / QuarterFactor;
    const std::int64_t b0 = b % QuarterFactor;
    const std::int64_t low = a0 * b0;
    const std::int64_t middle = a1 * b0 + a0 * b1 + low / QuarterFactor;
    return {a1 * b1 + middle / QuarterFactor,
            middle % QuarterFactor * QuarterFactor + low % QuarterFactor};
}

// A value as one number over 10^places, when that number is below 10^12.
bool AsWideFactor(const DecimalValue& value, int places, std::int64_t& factor) {
    return CheckedMultiply(value.integerPart, ExactPowerOfTen(places), factor) &&
           CheckedAdd(factor, value.numerator, factor) && factor < WideFactorLimit;
}

// Where no partial product loses a place the result could keep, the partial products add up
// to the exact product cut at 11 places or more, and the exact product gives the same
// result. That holds when the whole-number-part products have 18 digits at most, and the
// product of the numerators either has too, or keeps at least 11 places whatever it drops
// (at most 6, so from 17 and from at least 6 on either side). Only then is the exact product
// used; the partial products otherwise.
bool PartialProductsAreExact(const DecimalValue& a, int aPlaces, const DecimalValue& b,
                             int bPlaces) {
    constexpr int ExactDigits = 18;
    constexpr int MostDropped = 6;
    const int aWhole = DigitCount(a.integerPart);
    const int aFraction = DigitCount(a.numerator);
    const int bWhole = DigitCount(b.integerPart);
    const int bFraction = DigitCount(b.numerator);
    return aWhole + bFraction <= ExactDigits && aFraction + bWhole <= ExactDigits &&
           (aFraction + bFraction <= ExactDigits ||
            (aPlaces >= MostDropped && bPlaces >= MostDropped &&
             aPlaces + bPlaces >= MaxDigits - 1 + MostDropped));
}

// a / 10^aPlaces x b / 10^bPlaces from the exact product, for a, b below 10^12 and at most 22
// places in all: its whole-number part, and its fraction cut to 11 places where it has more.
// False when the whole-number part is 10^12 or more and does not fit.
bool ExactProduct(std::int64_t a, int aPlaces, std::int64_t b, int bPlaces, ProductParts& parts) {
    constexpr int SumPlaces = MaxDigits - 1;
    constexpr std::int64_t SumOne = 100'000'000'000;  // 10^SumPlaces
    const int places = aPlaces + bPlaces;
    std::int64_t product = 0;
    if (CheckedMultiply(a, b, product)) {
        if (places <= SumPlaces) {
            parts.whole = DivideByPowerOfTen(product, places);
            parts.fraction = {product - parts.whole * ExactPowerOfTen(places), places};
        } else {
            const std::int64_t leading = DivideByPowerOfTen(product, places - SumPlaces);
            parts.whole = leading / SumOne;
            parts.fraction = {leading % SumOne, SumPlaces};
        }
        return true;
    }

    const WideProduct wide = MultiplyWide(a, b);
    if (places <= WideHalfDigits) {
        if (wide.high >= ExactPowerOfTen(places)) {
            return false;
        }
        const std::int64_t lowWhole = DivideByPowerOfTen(wide.low, places);
        parts.whole = wide.high * ExactPowerOfTen(WideHalfDigits - places) + lowWhole;
        parts.fraction = {wide.low - lowWhole * ExactPowerOfTen(places), places};
        return true;
    }
    // The high half holds the whole-number part and the first fraction places; the 11 places
    // kept end in the low half.
    const int highPlaces = places - WideHalfDigits;
    parts.whole = DivideByPowerOfTen(wide.high, highPlaces);
    parts.fraction = {(wide.high - parts.whole * ExactPowerOfTen(highPlaces)) *
                              ExactPowerOfTen(SumPlaces - highPlaces) +
                          DivideByPowerOfTen(wide.low, WideHalfDigits - (SumPlaces - highPlaces)),
                      SumPlaces};
    return true;
}

}  // namespace

DecimalValue DecimalValue::Multiply(const DecimalValue& other) const {
    if (IsZero() || other.IsZero()) {
        return DecimalValue();
    }
    const std::uint32_t resultNegative = SignOfProduct(negative, other.negative);
    int places = 0;
    int otherPlaces = 0;
    if (!IsWellFormed(*this, places) || !IsWellFormed(other, otherPlaces)) {
        return OverflowValue();
    }

    // Exact test: 4,294,967,296 x 4,294,967,296 wraps to 0 in 64 bits and must not pass.
    std::int64_t high = 0;
    if (!CheckedMultiply(integerPart, other.integerPart, high) || high > MaxIntegerPart) {
        return OverflowValue();
    }
    // Whole numbers, as in 12 x 125: every partial product is 0.
    if (numerator == 0 && other.numerator == 0) {
        return DecimalValue(high, 0, 1, resultNegative);
    }
    constexpr int MostWidePlaces = 22;
    std::int64_t single = 0;
    std::int64_t otherSingle = 0;
    ProductParts product;
    if (places + otherPlaces <= MostWidePlaces && AsWideFactor(*this, places, single) &&
        AsWideFactor(other, otherPlaces, otherSingle) &&
        PartialProductsAreExact(*this, places, other, otherPlaces)) {
        if (!ExactProduct(single, places, otherSingle, otherPlaces, product)) {
            return OverflowValue();
        }
    } else if (!AddPartialProducts(*this, places, other, otherPlaces, high, product)) {
        return OverflowValue();
    }
    return ProductValue(product, resultNegative);
}

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
    NormalizeOverPlaces(dividend, dividendPlaces);
    NormalizeOverPlaces(divisor, divisorPlaces);
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
    if (!TryLongDivide(a, b, DecimalExponent(divisor.denominator), division)) {
        return OverflowValue();
    }
    const int fractionDigits =
        DecimalExponent(dividend.denominator) + division.places - division.scalePlaces;
    // 0.000000001 / 3 would need 20 fraction digits.
    if (fractionDigits > MaxFractionDigits) {
        return OverflowValue();
    }
    // The quotient q / 10^fractionDigits, cut to the budget as Normalize cuts it.
    std::int64_t whole = division.numerator;
    Places fraction;
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
    CutTo(fraction, MaxDigits - DigitCount(whole));
    StripZeros(fraction);
    DecimalValue result(whole, fraction.numerator, ExactPowerOfTen(fraction.places), 0);
    result.negative = resultNegative;
    return result;
}
