// Products, truncated toward zero to the 12-digit budget, never rounded.

#include "decimal/checked_math.h"
#include "decimal/decimal_value.h"

using namespace decimal_detail;

namespace {

// Looks for the flag value 1 itself: a product of hand-made flags 1 and 2 is positive.
std::uint32_t SignOfProduct(std::uint32_t first, std::uint32_t second) {
    return (first == 1 ? second == 0 : second == 1) ? 1 : 0;
}

// The product of the whole-number parts, false past the limit. The test is exact:
// 4,294,967,296 x 4,294,967,296 wraps to 0 in 64 bits and must not pass.
bool TryMultiplyWholeParts(const DecimalValue& a, const DecimalValue& b, std::int64_t& product) {
    return CheckedMultiply(a.integerPart, b.integerPart, product) && product <= MaxIntegerPart;
}

// A product as its whole-number part and its fraction, before the digit budget.
struct ProductParts {
    std::int64_t whole = 0;
    DecimalFraction fraction;
};

// The result as the partial products' method finishes it: the sum of the rests holds a carry
// of one digit next to the fraction, so keeps 11 places, stripped; the result then keeps what
// its whole-number part leaves of the 12 digits, cut but not stripped (9.10000000001 x 9 shows
// 81.9000000000). Not the finishing step, which would strip those zeros.
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
    DecimalFraction rest;
};

SplitProduct Split(const DecimalFraction& product) {
    if (product.places == 0) {
        return {product.numerator, {}};
    }
    const std::int64_t whole = DivideByPowerOfTen(product.numerator, product.places);
    return {whole, {product.numerator - whole * ExactPowerOfTen(product.places), product.places}};
}

// The three partial products of the whole-number and fraction parts, their whole units added
// to high, their rests added on their largest denominator (each is below 1, so the sum fits
// and carries 2 at most). False when the whole-number part passes the limit or a partial
// product leaves 64 bits.
bool AddPartialProducts(const DecimalValue& a, int aPlaces, const DecimalValue& b, int bPlaces,
                        std::int64_t high, ProductParts& product) {
    DecimalFraction partials[3];
    if (!TryMultiplyScaled(a.integerPart, 0, b.numerator, bPlaces, partials[0]) ||
        !TryMultiplyScaled(a.numerator, aPlaces, b.integerPart, 0, partials[1]) ||
        !TryMultiplyScaled(a.numerator, aPlaces, b.numerator, bPlaces, partials[2])) {
        return false;
    }
    const SplitProduct parts[3] = {Split(partials[0]), Split(partials[1]), Split(partials[2])};
    DecimalFraction& sum = product.fraction;
    sum = DecimalFraction{};
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

// Operands of up to twelve digits, as single numbers below DigitBudgetLimit, multiply into
// two halves of MaxDigits digits each.
constexpr std::int64_t QuarterFactor = ExactPowerOfTen(MaxDigits / 2);

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
           CheckedAdd(factor, value.numerator, factor) && factor < DigitBudgetLimit;
}

// True when the exact product gives what the partial products give, for operands below
// 10^12 as single numbers. With P0 = A x b / 10^bPlaces, P1 = a x B / 10^aPlaces and
// P2 = a x b / 10^(aPlaces + bPlaces) (A, B the whole-number parts, a, b the numerators):
// (1) TryMultiplyScaled forms a product below 10^18 exactly; a larger one it forms without
//     its s lowest digits, s <= SplitDigits. Either way it then keeps 18 places at most.
// (2) P0 and P1 are checked below 10^18 and have at most 18 places, so by (1) they are exact.
// (3) By (1), P2 comes out truncated at k places, k = min(aPlaces + bPlaces - s, 18), with
//     s = 0 when a x b is below 10^18.
// (4) P0 + P1 has at most max(aPlaces, bPlaces) places, and k is at least that: for s = 0
//     as both are 18 at most, else as both are SplitDigits or more.
// (5) By (4), P0 + P1 is a whole multiple of 10^-k, so adding the P2 of (3) gives the exact
//     product truncated at k places.
// (6) k >= 11 when s = 0 and aPlaces + bPlaces >= 11, and when aPlaces + bPlaces >= 11 + s,
//     which the condition below asks for; for s = 0 and fewer places, k cuts nothing.
// (7) The sum and the exact product are then both cut at 11 places, and by (5) and (6) they
//     agree there; ProductValue goes on from those digits and the whole-number part alone,
//     so both give the same result, the overflow included.
bool PartialProductsAreExact(const DecimalValue& a, int aPlaces, const DecimalValue& b,
                             int bPlaces) {
    const auto isExact = [](std::int64_t x, std::int64_t y) {
        std::int64_t product = 0;
        return CheckedMultiply(x, y, product) && product < ExactPowerOfTen(MaxExactDigits);
    };
    return isExact(a.integerPart, b.numerator) && isExact(a.numerator, b.integerPart) &&
           (isExact(a.numerator, b.numerator) ||
            (aPlaces >= SplitDigits && bPlaces >= SplitDigits &&
             aPlaces + bPlaces >= MaxDigits - 1 + SplitDigits));
}

// a / 10^aPlaces x b / 10^bPlaces from the exact product, for a, b below 10^12 and at most 22
// places in all: its whole-number part, and its fraction cut to 11 places where it has more.
// False when the whole-number part is 10^12 or more and does not fit.
bool ExactProduct(std::int64_t a, int aPlaces, std::int64_t b, int bPlaces, ProductParts& parts) {
    constexpr int SumPlaces = MaxDigits - 1;
    constexpr std::int64_t SumOne = ExactPowerOfTen(SumPlaces);
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
    if (places <= MaxDigits) {
        if (wide.high >= ExactPowerOfTen(places)) {
            return false;
        }
        const std::int64_t lowWhole = DivideByPowerOfTen(wide.low, places);
        parts.whole = wide.high * ExactPowerOfTen(MaxDigits - places) + lowWhole;
        parts.fraction = {wide.low - lowWhole * ExactPowerOfTen(places), places};
        return true;
    }
    // The high half holds the whole-number part and the first fraction places; the 11 places
    // kept end in the low half.
    const int highPlaces = places - MaxDigits;
    parts.whole = DivideByPowerOfTen(wide.high, highPlaces);
    parts.fraction = {(wide.high - parts.whole * ExactPowerOfTen(highPlaces)) *
                              ExactPowerOfTen(SumPlaces - highPlaces) +
                          DivideByPowerOfTen(wide.low, MaxDigits - (SumPlaces - highPlaces)),
                      SumPlaces};
    return true;
}

}  // namespace

DecimalValue DecimalValue::Multiply(const DecimalValue& other) const {
    if (IsZero() || other.IsZero()) {
        return DecimalValue();
    }
    const std::uint32_t resultNegative = SignOfProduct(negative, other.negative);
    std::int64_t high = 0;
    // Whole numbers, as in 12 x 125: every partial product is 0.
    if (IsWholeNumber(*this) && IsWholeNumber(other)) {
        if (!TryMultiplyWholeParts(*this, other, high)) {
            return OverflowValue();
        }
        return DecimalValue(high, 0, 1, resultNegative);
    }
    int places = 0;
    int otherPlaces = 0;
    if (!IsWellFormed(*this, places) || !IsWellFormed(other, otherPlaces) ||
        !TryMultiplyWholeParts(*this, other, high)) {
        return OverflowValue();
    }
    // Whole numbers typed with a point, as in 12.00 x 125.0.
    if (numerator == 0 && other.numerator == 0) {
        return DecimalValue(high, 0, 1, resultNegative);
    }
    constexpr int MostWidePlaces = 22;  // what ExactProduct takes apart
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
