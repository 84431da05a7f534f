// Every operation against exact rational arithmetic in 128 bits, on seeded random operands.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "decimal/decimal_value.h"
#include "decimal_test_support.h"
#include "random_operands.h"

using decimal_test::Describe;
using decimal_test::RandomOperands;

namespace {

__extension__ typedef __int128 Wide;  // exact intermediates for the reference results

constexpr int PairsPerOperation = 100000;
constexpr int MaxReportedFailures = 10;

Wide WidePower(int n) {
    Wide power = 1;
    for (int i = 0; i < n; ++i) {
        power *= 10;
    }
    return power;
}

int WideDigits(Wide x) {
    int digits = 1;
    while (x >= 10) {
        x /= 10;
        ++digits;
    }
    return digits;
}

int PlacesOf(std::int64_t denominator) {
    return RandomOperands::Digits(denominator) - 1;
}

// A non-negative rational.
struct Exact {
    Wide numerator;
    Wide denominator;
};

Exact MagnitudeOf(const DecimalValue& value) {
    return {Wide{value.integerPart} * value.denominator + value.numerator, value.denominator};
}

DecimalValue Record(Wide whole, Wide fraction, int places, bool negative) {
    return DecimalValue(static_cast<std::int64_t>(whole), static_cast<std::int64_t>(fraction),
                        static_cast<std::int64_t>(WidePower(places)), negative ? 1 : 0);
}

void StripZeros(Wide& fraction, int& places) {
    while (places > 0 && fraction % 10 == 0) {
        fraction /= 10;
        --places;
    }
    if (fraction == 0) {
        places = 0;
    }
}

// The value cut toward zero to `places` fraction digits, then stripped.
DecimalValue CutTo(const Exact& value, int places, bool negative) {
    const Wide whole = value.numerator / value.denominator;
    Wide fraction = value.numerator % value.denominator * WidePower(places) / value.denominator;
    StripZeros(fraction, places);
    return Record(whole, fraction, places, negative);
}

int BudgetPlaces(const Exact& value) {
    return MaxDigits - WideDigits(value.numerator / value.denominator);
}

// Exactly what the budget allows, truncated: what a difference and a quotient give.
DecimalValue CutToBudget(const Exact& value, bool negative) {
    return CutTo(value, BudgetPlaces(value), negative);
}

bool WholeTooLarge(const Exact& value) {
    return value.numerator / value.denominator > MaxIntegerPart;
}

const DecimalValue OverflowValue(DecimalError::Overflow);

DecimalValue ExpectedSum(const DecimalValue& a, const DecimalValue& b) {
    const bool aNegative = a.negative != 0;
    const bool bNegative = b.negative != 0;
    const Wide common = a.denominator > b.denominator ? a.denominator : b.denominator;
    const Wide aScaled = MagnitudeOf(a).numerator * (common / a.denominator);
    const Wide bScaled = MagnitudeOf(b).numerator * (common / b.denominator);
    if (aNegative == bNegative) {
        // Same signs: exact, every fraction digit of the longer operand kept.
        const Exact sum{aScaled + bScaled, common};
        if (WholeTooLarge(sum)) {
            return OverflowValue;
        }
        return CutTo(sum, PlacesOf(static_cast<std::int64_t>(common)), aNegative);
    }
    const Wide difference = (aNegative ? -aScaled : aScaled) + (bNegative ? -bScaled : bScaled);
    if (difference == 0) {
        return DecimalValue();
    }
    const Exact magnitude{difference < 0 ? -difference : difference, common};
    if (WholeTooLarge(magnitude)) {
        return OverflowValue;
    }
    return CutToBudget(magnitude, difference < 0);
}

DecimalValue Negated(DecimalValue value) {
    value.negative = value.negative != 0 ? 0 : 1;
    return value;
}

bool ProductNegative(const DecimalValue& a, const DecimalValue& b) {
    return (a.negative == 1) != (b.negative == 1);
}

bool NeedsMoreThan18Digits(std::int64_t x, std::int64_t y) {
    return RandomOperands::Digits(x) + RandomOperands::Digits(y) > 18;
}

// A partial product of more than 18 digits is formed from its leading digits only.
bool ProductMayBeLow(const DecimalValue& a, const DecimalValue& b) {
    return NeedsMoreThan18Digits(a.integerPart, b.numerator) ||
           NeedsMoreThan18Digits(a.numerator, b.integerPart) ||
           NeedsMoreThan18Digits(a.numerator, b.numerator);
}

// justOverLimit: the exact whole-number part is 10^12, so a product that comes out low may
// still be 999,999,999,999.
DecimalValue ExpectedProduct(const DecimalValue& a, const DecimalValue& b, bool& justOverLimit) {
    justOverLimit = false;
    if (a.IsZero() || b.IsZero()) {
        return DecimalValue();
    }
    if (Wide{a.integerPart} * b.integerPart > MaxIntegerPart) {
        return OverflowValue;
    }
    const Exact product{MagnitudeOf(a).numerator * MagnitudeOf(b).numerator,
                        Wide{a.denominator} * b.denominator};
    if (WholeTooLarge(product)) {
        justOverLimit = product.numerator / product.denominator == MaxIntegerPart + 1;
        return OverflowValue;
    }
    // The fraction parts are summed as a number below 10, so eleven places at most, stripped;
    // then cut to the budget the whole-number part leaves, and not stripped again.
    const Wide whole = product.numerator / product.denominator;
    Wide fraction =
        product.numerator % product.denominator * WidePower(MaxDigits - 1) / product.denominator;
    int places = MaxDigits - 1;
    StripZeros(fraction, places);
    const int budget = BudgetPlaces(product);
    if (places > budget) {
        fraction /= WidePower(places - budget);
        places = budget;
    }
    return Record(whole, fraction, places, ProductNegative(a, b));
}

DecimalValue ExpectedQuotient(const DecimalValue& a, const DecimalValue& b) {
    if (b.IsZero()) {
        return DecimalValue(DecimalError::DivideByZero);
    }
    if (a.IsZero()) {
        return DecimalValue();
    }
    // Both operands are first cut to the budget: a / 10^f and b / 10^g.
    const DecimalValue dividend = CutToBudget(MagnitudeOf(a), false);
    const DecimalValue divisor = CutToBudget(MagnitudeOf(b), false);
    const Exact y = MagnitudeOf(dividend);
    const Exact x = MagnitudeOf(divisor);
    if (x.numerator == 0) {
        return DecimalValue(DecimalError::DivideByZero);
    }
    const Exact quotient{y.numerator * x.denominator, y.denominator * x.numerator};
    if (WholeTooLarge(quotient)) {
        return OverflowValue;
    }
    // The long division yields twelve digits of a x 10^g / b, counted from its leading digit
    // or from its units digit when it is below 10. The quotient's fraction needs the places
    // down to the last non-zero one of these; more than 18 do not fit a denominator.
    const Wide scaled = y.numerator * x.denominator;
    const Wide leading = scaled / x.numerator;
    const int first = leading >= 10 ? WideDigits(leading) - 1 : 0;
    const int lowest = first - (MaxDigits - 1);
    Wide digits = lowest <= 0 ? scaled * WidePower(-lowest) / x.numerator
                              : scaled / WidePower(lowest) / x.numerator;
    int places = PlacesOf(static_cast<std::int64_t>(y.denominator)) - lowest;
    StripZeros(digits, places);
    if (places > 18) {
        return OverflowValue;
    }
    return CutToBudget(quotient, ProductNegative(a, b));
}

// Value of a result as an exact rational with its sign.
Wide ScaledValue(const DecimalValue& value, Wide denominator) {
    return MagnitudeOf(value).numerator * (denominator / value.denominator);
}

// A product that may be low: within one unit of the last digit kept, never above.
bool WithinOneUnitBelow(const DecimalValue& result, const DecimalValue& expected,
                        bool expectedOverflow) {
    if (result.errorCode != DecimalError::None) {
        return false;
    }
    if (RandomOperands::Digits(result.integerPart) + PlacesOf(result.denominator) > MaxDigits) {
        return false;
    }
    if (expectedOverflow) {
        return result.integerPart == MaxIntegerPart && result.numerator == 0;
    }
    if (result.negative != expected.negative) {
        return false;
    }
    const Wide common = WidePower(18);
    const Wide got = ScaledValue(result, common);
    const Wide wanted = ScaledValue(expected, common);
    const int keptPlaces = MaxDigits - RandomOperands::Digits(expected.integerPart);
    return got < wanted && got >= wanted - common / WidePower(keptPlaces);
}

struct Tally {
    int failures = 0;
    int lowProducts = 0;
};

void Compare(char op, const DecimalValue& a, const DecimalValue& b, const DecimalValue& result,
             const DecimalValue& expected, Tally& tally, bool mayBeLow = false,
             bool justOverLimit = false) {
    const std::string got = Describe(result);
    const std::string wanted = Describe(expected);
    if (got == wanted) {
        return;
    }
    if (mayBeLow && (wanted != "Overflow" || justOverLimit) &&
        WithinOneUnitBelow(result, expected, wanted == "Overflow")) {
        ++tally.lowProducts;
        return;
    }
    if (++tally.failures <= MaxReportedFailures) {
        ADD_FAILURE() << Describe(a) << " " << op << " " << Describe(b) << " gave " << got
                      << ", exact arithmetic says " << wanted;
    }
}

// Products mostly within range: the second whole-number part is kept small enough.
DecimalValue FactorFor(RandomOperands& random, const DecimalValue& first) {
    DecimalValue second = random.Any();
    if (!random.OneIn(4)) {
        const std::int64_t room = MaxIntegerPart / (first.integerPart > 0 ? first.integerPart : 1);
        second.integerPart = random.OneIn(2) ? random.Between(0, room) : room;
    }
    return second;
}

TEST(Differential, AddMatchesExactArithmetic) {
    RandomOperands random(1);
    Tally tally;
    for (int i = 0; i < PairsPerOperation; ++i) {
        const DecimalValue a = random.Any();
        const DecimalValue b = random.Any();
        Compare('+', a, b, a.Add(b), ExpectedSum(a, b), tally);
    }
    EXPECT_EQ(tally.failures, 0);
}

TEST(Differential, SubtractMatchesExactArithmetic) {
    RandomOperands random(2);
    Tally tally;
    for (int i = 0; i < PairsPerOperation; ++i) {
        const DecimalValue a = random.Any();
        const DecimalValue b = random.OneIn(50) ? a : random.Any();
        Compare('-', a, b, a.Subtract(b), ExpectedSum(a, Negated(b)), tally);
    }
    EXPECT_EQ(tally.failures, 0);
}

TEST(Differential, MultiplyMatchesExactArithmetic) {
    RandomOperands random(3);
    Tally tally;
    for (int i = 0; i < PairsPerOperation; ++i) {
        const DecimalValue a = random.Any();
        const DecimalValue b = FactorFor(random, a);
        bool justOverLimit = false;
        const DecimalValue expected = ExpectedProduct(a, b, justOverLimit);
        Compare('*', a, b, a.Multiply(b), expected, tally, ProductMayBeLow(a, b), justOverLimit);
    }
    EXPECT_EQ(tally.failures, 0);
    std::printf("products one unit low after a partial product of more than 18 digits: %d of %d\n",
                tally.lowProducts, PairsPerOperation);
}

TEST(Differential, DivideMatchesExactArithmetic) {
    RandomOperands random(4);
    Tally tally;
    for (int i = 0; i < PairsPerOperation; ++i) {
        const DecimalValue a = random.Any();
        const DecimalValue b = random.Any();
        Compare('/', a, b, a.Divide(b), ExpectedQuotient(a, b), tally);
    }
    EXPECT_EQ(tally.failures, 0);
}

}  // namespace
