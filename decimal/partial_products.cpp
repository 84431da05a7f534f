// The two building blocks of multiplication and division: a product of two fractions that
// stays within 64 bits, and a digit-by-digit long division that stops after 12 digits.

#include "decimal/checked_math.h"
#include "decimal/decimal_value.h"

using namespace decimal_detail;

namespace {

constexpr int MaxExactDigits = 18;  // 10^18 is the largest power of ten in 64 bits
constexpr int SplitExponent = 6;    // numerators are split at 10^6
constexpr std::int64_t SplitFactor = 1'000'000;

bool IsFraction(const Fraction& f) {
    return f.numerator >= 0 && IsPowerOfTen(f.denominator);
}

}  // namespace

namespace decimal_detail {

bool TryMultiplyFractions(Fraction a, Fraction b, Fraction& product) {
    if (!IsFraction(a) || !IsFraction(b)) {
        return false;
    }
    std::int64_t numerator = 0;
    int scaleExponent = 0;
    if (DigitCount(a.numerator) + DigitCount(b.numerator) <= MaxExactDigits) {
        numerator = a.numerator * b.numerator;
    } else {
        // The product may pass 64 bits: form it divided by 10^6, whose leading digits are
        // exact, then take back as many of the dropped low digits as still fit in 18.
        const std::int64_t high = a.numerator / SplitFactor;
        const std::int64_t low = a.numerator % SplitFactor;
        std::int64_t highProduct = 0;
        std::int64_t lowProduct = 0;
        if (!CheckedMultiply(high, b.numerator, highProduct) ||
            !CheckedMultiply(low, b.numerator, lowProduct) ||
            !CheckedAdd(highProduct, lowProduct / SplitFactor, numerator)) {
            return false;
        }
        const std::int64_t lowBlock = lowProduct % SplitFactor;
        int folded = MaxExactDigits - DigitCount(numerator);
        folded = folded < 0 ? 0 : (folded > SplitExponent ? SplitExponent : folded);
        // Cannot overflow: the result has at most 18 digits.
        numerator = numerator * ExactPowerOfTen(folded) +
                    lowBlock / ExactPowerOfTen(SplitExponent - folded);
        scaleExponent = SplitExponent - folded;
    }

    // Dividing the scale out of d1 x d2 leaves 10^exponent. A product with a fraction below 1
    // and whole numbers of at most 12 digits always keeps a positive exponent; two whole
    // numbers may not, and then the scale multiplies back in.
    int exponent = DecimalExponent(a.denominator) + DecimalExponent(b.denominator) - scaleExponent;
    if (exponent < 0) {
        if (!CheckedMultiply(numerator, ExactPowerOfTen(-exponent), numerator)) {
            return false;
        }
        exponent = 0;
    }
    // Keep the value, lose the lowest digits.
    while (exponent > MaxExactDigits) {
        numerator /= 10;
        --exponent;
    }
    product.numerator = numerator;
    product.denominator = ExactPowerOfTen(exponent);
    StripTrailingZeros(product.numerator, product.denominator);
    return true;
}

bool TryLongDivide(std::int64_t dividend, std::int64_t divisor, std::int64_t scale,
                   LongDivision& result) {
    if (dividend < 0 || divisor <= 0 || scale < 1) {
        return false;
    }
    Fraction quotient;
    int counted = 0;
    bool started = false;
    for (;;) {
        const std::int64_t digit = dividend / divisor;
        const std::int64_t remainder = dividend % divisor;
        if (!CheckedAdd(quotient.numerator, digit, quotient.numerator)) {
            return false;
        }
        if (remainder == 0) {
            break;
        }
        const int digitLength = DigitCount(digit);
        if (!CheckedMultiply(remainder, 10, dividend)) {
            return false;
        }
        if (scale > 1) {
            // A whole-number place of the final quotient: leading zeros are not counted.
            scale /= 10;
            if (started || digit != 0) {
                counted += digitLength;
                started = true;
            }
        } else {
            // A fraction place: "0." and the zeros after it use up the budget.
            if (!CheckedMultiply(quotient.denominator, 10, quotient.denominator)) {
                return false;
            }
            counted += digitLength;
        }
        if (!CheckedMultiply(quotient.numerator, 10, quotient.numerator)) {
            return false;
        }
        if (counted >= MaxDigits) {
            break;
        }
    }
    StripTrailingZeros(quotient.numerator, quotient.denominator);
    result.quotient = quotient;
    result.scale = scale;
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

LongDivision LongDivide(std::int64_t dividend, std::int64_t divisor, std::int64_t scale) {
    LongDivision result;
    if (!TryLongDivide(dividend, divisor, scale, result)) {
        result.quotient = Fraction();
        result.scale = scale;
    }
    return result;
}
