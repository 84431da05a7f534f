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

// Divisors below this leave room for six quotient digits per division (a remainder times 10^6
// stays within 18 digits); first quotients below it have at most the 12 digits counted.
constexpr std::int64_t QuickDivisionLimit = 1'000'000'000'000;

// quotient x 10^places + remainder x 10^places / divisor, and the remainder that leaves: as many
// places per division as keep the shifted remainder within 18 digits. The remainder is below
// the divisor, and the divisor below 10^12.
void AppendQuotientDigits(std::int64_t& quotient, std::int64_t& remainder, int places,
                          std::int64_t divisor) {
    const int placesPerDivision = MaxExactDigits - DigitCount(divisor);
    while (places > 0) {
        const int now = places < placesPerDivision ? places : placesPerDivision;
        const std::int64_t shifted = remainder * ExactPowerOfTen(now);
        quotient = quotient * ExactPowerOfTen(now) + shifted / divisor;
        remainder = shifted % divisor;
        places -= now;
    }
}

// The digit-by-digit long division below, with the same digits and the same stop, in a few
// divisions: pass j of the loop leaves dividend x 10^j / divisor, so the passes needed follow
// from where the first counted digit stands. For a divisor and a first quotient below 10^12
// and a scale of 10^scalePlaces; false, with nothing done, when the first quotient is larger.
bool TryQuickLongDivide(std::int64_t dividend, std::int64_t divisor, int scalePlaces,
                        ScaledQuotient& result) {
    std::int64_t quotient = dividend / divisor;
    std::int64_t remainder = dividend % divisor;
    if (quotient >= QuickDivisionLimit) {
        return false;
    }
    if (remainder == 0) {
        result = {quotient, 0, scalePlaces};
        return true;
    }
    // Places of the first counted digit, 1 for the units of the first quotient. Leading zeros
    // count from the pass that uses up the scale on.
    int leading = 0;
    if (quotient > 0) {
        leading = DigitCount(quotient);
    } else {
        int firstDigitPass = DigitCount(divisor) - DigitCount(dividend);
        if (dividend * ExactPowerOfTen(firstDigitPass) < divisor) {
            ++firstDigitPass;
        }
        leading = 1 - (firstDigitPass < scalePlaces ? firstDigitPass : scalePlaces);
    }
    // The pass that counts the twelfth digit, unless the division comes out first.
    const int lastPass = MaxDigits - leading;
    AppendQuotientDigits(quotient, remainder, lastPass, divisor);
    // Passes that moved the scale or the denominator: all but an exact last one, which stops
    // before; an exact quotient came out at the pass its trailing zeros go back to.
    int passes = lastPass;
    if (remainder != 0) {
        ++passes;
    } else {
        passes -= RemoveTrailingZeros(quotient, passes);
    }
    const int wholePasses = passes < scalePlaces ? passes : scalePlaces;
    int places = passes - wholePasses;
    // The stopping pass appends a 0 place, which stripping takes off again if it is a fraction
    // place.
    if (remainder != 0) {
        if (places > 0) {
            --places;
        } else {
            quotient *= 10;
        }
    }
    // Then stripped as StripTrailingZeros strips a fraction.
    if (quotient == 0) {
        places = 0;
    }
    places -= RemoveTrailingZeros(quotient, places);
    result = {quotient, places, scalePlaces - wholePasses};
    return true;
}

bool TryDigitByDigitLongDivide(std::int64_t dividend, std::int64_t divisor, std::int64_t scale,
                               LongDivision& result) {
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

}  // namespace

namespace decimal_detail {

bool TryMultiplyScaled(std::int64_t a, int aPlaces, std::int64_t b, int bPlaces,
                       ScaledProduct& product) {
    // A zero factor has nothing to split or cut.
    if (a == 0 || b == 0) {
        product = ScaledProduct{};
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
        folded = folded < 0 ? 0 : (folded > SplitExponent ? SplitExponent : folded);
        // Cannot overflow: the result has at most 18 digits.
        numerator = numerator * ExactPowerOfTen(folded) +
                    lowBlock / ExactPowerOfTen(SplitExponent - folded);
        scaleExponent = SplitExponent - folded;
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
    product.numerator = numerator;
    product.exponent = exponent;
    return true;
}

bool TryMultiplyFractions(Fraction a, Fraction b, Fraction& product) {
    if (!IsFraction(a) || !IsFraction(b)) {
        return false;
    }
    ScaledProduct scaled;
    if (!TryMultiplyScaled(a.numerator, DecimalExponent(a.denominator), b.numerator,
                           DecimalExponent(b.denominator), scaled)) {
        return false;
    }
    product.numerator = scaled.numerator;
    product.denominator = ExactPowerOfTen(scaled.exponent);
    StripTrailingZeros(product.numerator, product.denominator);
    return true;
}

bool TryLongDivide(std::int64_t dividend, std::int64_t divisor, int scalePlaces,
                   ScaledQuotient& result) {
    if (dividend < 0 || divisor <= 0) {
        return false;
    }
    if (divisor < QuickDivisionLimit &&
        TryQuickLongDivide(dividend, divisor, scalePlaces, result)) {
        return true;
    }
    LongDivision division;
    if (!TryDigitByDigitLongDivide(dividend, divisor, ExactPowerOfTen(scalePlaces), division)) {
        return false;
    }
    result = {division.quotient.numerator, DecimalExponent(division.quotient.denominator),
              DecimalExponent(division.scale)};
    return true;
}

bool TryLongDivide(std::int64_t dividend, std::int64_t divisor, std::int64_t scale,
                   LongDivision& result) {
    if (dividend < 0 || divisor <= 0 || scale < 1) {
        return false;
    }
    ScaledQuotient quick;
    if (divisor < QuickDivisionLimit && IsPowerOfTen(scale) &&
        TryQuickLongDivide(dividend, divisor, DecimalExponent(scale), quick)) {
        result.quotient = {quick.numerator, ExactPowerOfTen(quick.places)};
        result.scale = ExactPowerOfTen(quick.scalePlaces);
        return true;
    }
    return TryDigitByDigitLongDivide(dividend, divisor, scale, result);
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
