// The long division of Divide: digit by digit, stopping after 12 counted digits, and the
// same digits in a few 64-bit divisions where the divisor allows.

#include "decimal/checked_math.h"
#include "decimal/decimal_value.h"

using namespace decimal_detail;

namespace {

// Pass j of the loop adds the digit of dividend x 10^j / divisor; a pass that leaves no
// remainder ends it there. A pass that also leaves a remainder uses up a place of the scale
// while there is one (a whole-number place of the final quotient, where leading zeros are not
// counted), else moves the denominator on (a fraction place, where "0." and the zeros after it
// use up the budget); the pass that counts the twelfth digit ends it too.
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

// The digit-by-digit long division above, with the same digits and the same stop, in a few
// divisions. For a divisor and a first quotient q0 below 10^12 and a scale of
// 10^scalePlaces; false, with nothing done, when q0 is larger.
// (1) After pass j the loop's digits, read as one number, are dividend x 10^j / divisor,
//     truncated, and its remainder is the remainder of that division.
// (2) Pass 0 counts the digits of q0 when q0 > 0; every later pass counts one digit. When
//     q0 = 0, counting starts at the first pass f with a digit other than 0, or earlier at
//     the first fraction pass, scalePlaces: "leading" below is 1 - min(f, scalePlaces).
// (3) By (2) the pass that counts the twelfth digit is 12 - leading, lastPass; by (1) the
//     digits up to it are one division, done in steps of at most 18 digits.
// (4) When a remainder is left, every pass up to lastPass moved the scale or the
//     denominator. When none is left, the loop stopped at the first pass p whose remainder
//     is 0, 1 <= p <= lastPass, having moved them p times; its digits end in no 0 (else pass
//     p - 1 had come out), so p is lastPass less the trailing zeros that lastPass added.
// (5) The first min(passes, scalePlaces) moves used up the scale, the rest are fraction places.
// (6) A pass that stops on the count has appended one 0 place; then the loop strips as
//     StripTrailingZeros does, which keeps the 0 of a quotient without fraction places.
bool TryQuickLongDivide(std::int64_t dividend, std::int64_t divisor, int scalePlaces,
                        ScaledQuotient& result) {
    std::int64_t quotient = dividend / divisor;
    std::int64_t remainder = dividend % divisor;
    if (quotient >= DigitBudgetLimit) {
        return false;
    }
    if (remainder == 0) {
        result = {quotient, 0, scalePlaces};
        return true;
    }
    // (2): places of the first counted digit, 1 for the units of q0.
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
    // (3): the pass that counts the twelfth digit, unless the division comes out first.
    const int lastPass = MaxDigits - leading;
    AppendQuotientDigits(quotient, remainder, lastPass, divisor);
    // (4): the passes that moved the scale or the denominator.
    int passes = lastPass;
    if (remainder != 0) {
        ++passes;
    } else {
        passes -= RemoveTrailingZeros(quotient, passes);
    }
    const int wholePasses = passes < scalePlaces ? passes : scalePlaces;  // (5)
    int places = passes - wholePasses;
    // (6): the 0 place of the stopping pass, taken off again if it is a fraction place.
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

}  // namespace

namespace decimal_detail {

bool TryLongDivide(std::int64_t dividend, std::int64_t divisor, int scalePlaces,
                   ScaledQuotient& result) {
    if (dividend < 0 || divisor <= 0) {
        return false;
    }
    // A divisor below 10^12 leaves room for six quotient digits per division.
    if (divisor < DigitBudgetLimit && TryQuickLongDivide(dividend, divisor, scalePlaces, result)) {
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
    int scalePlaces = 0;
    if (divisor < DigitBudgetLimit && IsPowerOfTen(scale, scalePlaces) &&
        TryQuickLongDivide(dividend, divisor, scalePlaces, quick)) {
        result.quotient = {quick.numerator, ExactPowerOfTen(quick.places)};
        result.scale = ExactPowerOfTen(quick.scalePlaces);
        return true;
    }
    return TryDigitByDigitLongDivide(dividend, divisor, scale, result);
}

}  // namespace decimal_detail

LongDivision LongDivide(std::int64_t dividend, std::int64_t divisor, std::int64_t scale) {
    LongDivision result;
    if (!TryLongDivide(dividend, divisor, scale, result)) {
        result.quotient = Fraction();
        result.scale = scale;
    }
    return result;
}
