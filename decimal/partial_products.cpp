// The partial products of multiplication: a product of two fractions that stays within 64
// bits.

#include "decimal/checked_math.h"
#include "decimal/decimal_value.h"

using namespace decimal_detail;

namespace {

constexpr std::int64_t SplitFactor = ExactPowerOfTen(SplitDigits);

bool IsFraction(const Fraction& f) {
    return f.numerator >= 0 && IsPowerOfTen(f.denominator);
}

}  // namespace

namespace decimal_detail {

bool TryMultiplyScaled(std::int64_t a, int aPlaces, std::int64_t b, int bPlaces,
                       DecimalFraction& product) {
    // A zero factor has nothing to split or cut.
    if (a == 0 || b == 0) {
        product = DecimalFraction{};
        return true;
    }
    std::int64_t numerator = 0;
    int scaleExponent = 0;
    if (DigitCount(a) + DigitCount(b) <= MaxExactDigits) {
        numerator = a * b;
    } else {
        // The product may pass 64 bits: form it divided by 10^6, whose leading digits are
        // exact, then take back as many of the dropped low digits as still fit in 18.
        const std::int64_t high = a / SplitFactor;
        const std::int64_t low = a % SplitFactor;
        std::int64_t highProduct = 0;
        std::int64_t lowProduct = 0;
        if (!CheckedMultiply(high, b, highProduct) || !CheckedMultiply(low, b, lowProduct) ||
            !CheckedAdd(highProduct, lowProduct / SplitFactor, numerator)) {
            return false;
        }
        const std::int64_t lowBlock = lowProduct % SplitFactor;
        int folded = MaxExactDigits - DigitCount(numerator);
        folded = folded < 0 ? 0 : (folded > SplitDigits ? SplitDigits : folded);
        // Cannot overflow: the result has at most 18 digits.
        numerator =
            numerator * ExactPowerOfTen(folded) + lowBlock / ExactPowerOfTen(SplitDigits - folded);
        scaleExponent = SplitDigits - folded;
    }

    // Dividing the scale out of d1 x d2 leaves 10^exponent. A product with a fraction below 1
    // and whole numbers of at most 12 digits always keeps a positive exponent; two whole
    // numbers may not, and then the scale multiplies back in.
    int exponent = aPlaces + bPlaces - scaleExponent;
    if (exponent < 0) {
        if (!CheckedMultiply(numerator, ExactPowerOfTen(-exponent), numerator)) {
            return false;
        }
        exponent = 0;
    }
    // Keep the value, lose the lowest digits.
    if (exponent > MaxExactDigits) {
        numerator /= ExactPowerOfTen(exponent - MaxExactDigits);
        exponent = MaxExactDigits;
    }
    product = {numerator, exponent};
    return true;
}

bool TryMultiplyFractions(Fraction a, Fraction b, Fraction& product) {
    if (!IsFraction(a) || !IsFraction(b)) {
        return false;
    }
    DecimalFraction scaled;
    if (!TryMultiplyScaled(a.numerator, DecimalExponent(a.denominator), b.numerator,
                           DecimalExponent(b.denominator), scaled)) {
        return false;
    }
    product.numerator = scaled.numerator;
    product.denominator = ExactPowerOfTen(scaled.places);
    StripTrailingZeros(product.numerator, product.denominator);
    return true;
}

}  // namespace decimal_detail

Fraction MultiplyFractions(Fraction a, Fraction b) {
    Fraction product;
    if (!TryMultiplyFractions(a, b, product)) {
        return Fraction();
    }
    return product;
}
