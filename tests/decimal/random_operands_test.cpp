// Seeded random operands: every operation against exact rational arithmetic in 128 bits,
// and records filled by hand with anything at all.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "decimal/decimal_value.h"
#include "decimal_test_support.h"

using namespace decimal_test;

namespace {

__extension__ typedef __int128 Wide;

const DecimalValue OverflowValue(DecimalError::Overflow);

// The magnitude over the value's own denominator.
Wide Scaled(const DecimalValue& v) {
    return Wide{v.integerPart} * v.denominator + v.numerator;
}

// num / den cut toward zero to `places` fraction digits, then stripped.
DecimalValue Cut(Wide num, Wide den, int places, bool negative) {
    Wide fraction = num % den * Power<Wide>(places) / den;
    for (; places > 0 && fraction % 10 == 0; --places) fraction /= 10;
    return DecimalValue(static_cast<std::int64_t>(num / den), static_cast<std::int64_t>(fraction),
                        Power(places), negative ? 1 : 0);
}

// What the budget allows, truncated: a difference and a quotient.
DecimalValue CutToBudget(Wide num, Wide den, bool negative) {
    return Cut(num, den, MaxDigits - Digits(num / den), negative);
}

DecimalValue ExpectedSum(const DecimalValue& a, const DecimalValue& b, bool bNegative) {
    const Wide den = std::max(a.denominator, b.denominator);
    const Wide x = Scaled(a) * (den / a.denominator), y = Scaled(b) * (den / b.denominator);
    const Wide sum = (a.negative != 0 ? -x : x) + (bNegative ? -y : y);
    const Wide magnitude = sum < 0 ? -sum : sum;
    if (magnitude / den > MaxIntegerPart) {
        return OverflowValue;
    }
    if ((a.negative != 0) == bNegative) {
        return Cut(magnitude, den, Digits(den) - 1, bNegative);  // every place kept
    }
    return sum == 0 ? DecimalValue() : CutToBudget(magnitude, den, sum < 0);
}

bool ProductNegative(const DecimalValue& a, const DecimalValue& b) {
    return (a.negative == 1) != (b.negative == 1);
}

DecimalValue ExpectedProduct(const DecimalValue& a, const DecimalValue& b) {
    if (a.IsZero() || b.IsZero()) {
        return DecimalValue();
    }
    // The whole-number parts first: past the limit the exact product might not fit 128 bits.
    if (Wide{a.integerPart} * b.integerPart > MaxIntegerPart) {
        return OverflowValue;
    }
    const Wide num = Scaled(a) * Scaled(b), den = Wide{a.denominator} * b.denominator;
    if (num / den > MaxIntegerPart) {
        return OverflowValue;
    }
    // The rests are summed to eleven places and stripped, then cut to the budget unstripped.
    const DecimalValue p = Cut(num, den, MaxDigits - 1, ProductNegative(a, b));
    const std::int64_t cut =
        Power(std::max(0, Digits(p.integerPart) + Digits(p.denominator) - 1 - MaxDigits));
    return DecimalValue(p.integerPart, p.numerator / cut, p.denominator / cut, p.negative);
}

// A partial product of more than 18 digits is formed from its leading digits only, so the
// product may come out one unit low in its last place kept (999,999,999,999 for exactly 10^12).
bool OneUnitLow(const DecimalValue& a, const DecimalValue& b, const DecimalValue& got) {
    const auto past18 = [](std::int64_t x, std::int64_t y) { return Digits(x) + Digits(y) > 18; };
    if ((!past18(a.integerPart, b.numerator) && !past18(a.numerator, b.integerPart) &&
         !past18(a.numerator, b.numerator)) ||
        Wide{a.integerPart} * b.integerPart > MaxIntegerPart ||
        got.errorCode != DecimalError::None || got.negative != (ProductNegative(a, b) ? 1u : 0u) ||
        Digits(got.integerPart) + Digits(got.denominator) - 1 > MaxDigits) {
        return false;
    }
    const Wide scale = Power<Wide>(22);  // covers 11 + 11 fraction places
    const Wide exact = Scaled(a) * Scaled(b) * (scale / (Wide{a.denominator} * b.denominator));
    const Wide unit = Power<Wide>(22 - std::max(0, MaxDigits - Digits(exact / scale)));
    const Wide value = Scaled(got) * (scale / got.denominator);
    return value < exact / unit * unit && value >= exact / unit * unit - unit;
}

DecimalValue ExpectedQuotient(const DecimalValue& a, const DecimalValue& b) {
    if (a.IsZero() || b.IsZero()) {  // 0 / 0 is a division by zero
        return b.IsZero() ? DecimalValue(DecimalError::DivideByZero) : DecimalValue();
    }
    // Both operands are first cut to the budget: y over f and x over g.
    const DecimalValue dividend = CutToBudget(Scaled(a), a.denominator, false);
    const DecimalValue divisor = CutToBudget(Scaled(b), b.denominator, false);
    const Wide y = Scaled(dividend), f = dividend.denominator;
    const Wide x = Scaled(divisor), g = divisor.denominator;
    if (y * g / (f * x) > MaxIntegerPart) {
        return OverflowValue;
    }
    // The long division yields twelve digits of y x g / x, counted from its leading digit or
    // from its units digit when it is below 10; the quotient needs the places down to the last
    // non-zero one of these, and a denominator holds 18 at most.
    const Wide leading = y * g / x;
    const int lowest = (leading >= 10 ? Digits(leading) - 1 : 0) - (MaxDigits - 1);
    Wide digits = lowest <= 0 ? y * g * Power<Wide>(-lowest) / x : y * g / Power<Wide>(lowest) / x;
    int places = Digits(f) - 1 - lowest;
    for (; places > 0 && digits % 10 == 0; --places) digits /= 10;
    if (places > 18) {
        return OverflowValue;
    }
    return CutToBudget(y * g, f * x, ProductNegative(a, b));
}

class Differential : public ::testing::TestWithParam<char> {};

TEST_P(Differential, MatchesExactArithmetic) {
    const char op = GetParam();
    Random random(static_cast<std::uint64_t>(op));
    int failures = 0;
    for (int i = 0; i < 100000; ++i) {  // pairs per operation
        const DecimalValue a = random.Any();
        DecimalValue b = random.OneIn(50) ? a : random.Any();
        if (op == '*' && !random.OneIn(4)) {  // products mostly within range
            const std::int64_t room = MaxIntegerPart / std::max<std::int64_t>(a.integerPart, 1);
            b.integerPart = random.OneIn(2) ? random.Between(0, room) : room;
        }
        const DecimalValue got = Apply(a, op, b);
        const DecimalValue expected = op == '*' ? ExpectedProduct(a, b)
                                      : op == '/'
                                          ? ExpectedQuotient(a, b)
                                          : ExpectedSum(a, b, (b.negative != 0) != (op == '-'));
        if (Describe(got) != Describe(expected) && !(op == '*' && OneUnitLow(a, b, got)) &&
            ++failures <= 10) {
            ADD_FAILURE() << Describe(a) << " " << op << " " << Describe(b) << " gave "
                          << Describe(got) << ", exact arithmetic says " << Describe(expected);
        }
    }
    EXPECT_EQ(failures, 0);
}

INSTANTIATE_TEST_SUITE_P(EveryOperation, Differential, ::testing::Values('+', '-', '*', '/'));

std::int64_t HostileField(Random& random) {
    const std::int64_t p = Power(random.Count(0, 18)), edge = random.Between(0, 2);
    const std::int64_t small = random.Between(-10, 10), any = random.Between(Int64Min, Int64Max);
    const std::int64_t choices[] = {
        small, p, p - 1, -p, MaxIntegerPart - 1 + edge, Int64Max - edge, Int64Min + edge, any};
    return choices[random.Between(0, 7)];
}

DecimalValue HostileRecord(Random& random) {
    DecimalValue value;
    for (std::int64_t* field : {&value.integerPart, &value.numerator, &value.denominator}) {
        *field = HostileField(random);
    }
    const std::uint32_t flags[] = {0, 1, 2, 0xFFFFFFFFu};
    value.negative = flags[random.Between(0, 3)];
    value.errorCode = static_cast<DecimalError>(random.Between(0, 3));
    return value;
}

// A fresh error value, or a number inside the invariants every result keeps.
bool IsSoundResult(const DecimalValue& v) {
    if (v.errorCode == DecimalError::DivideByZero || v.errorCode == DecimalError::Overflow) {
        return v.integerPart == 0 && v.numerator == 0 && v.denominator == 1 && v.negative == 0;
    }
    return v.errorCode == DecimalError::None && v.negative <= 1 && v.integerPart >= 0 &&
           v.integerPart <= MaxIntegerPart && v.numerator >= 0 && v.numerator < v.denominator &&
           IsPowerOfTen(v.denominator);
}

// Every operation must stay defined (the sanitizer build watches), never divide by zero, and
// never let a wrapped value pass as a result.
TEST(HostileRecords, EveryOperationStaysDefinedAndSound) {
    Random random(99);
    for (int i = 0; i < 100000; ++i) {
        // Half the pairs against an ordinary operand, so that each hostile field meets every
        // branch of the arithmetic.
        const DecimalValue a = HostileRecord(random);
        const DecimalValue b = random.OneIn(2) ? random.Any() : HostileRecord(random);
        SCOPED_TRACE(Describe(a) + " and " + Describe(b));
        for (const char op : {'+', '-', '*', '/'}) {
            const DecimalValue forward = Apply(a, op, b);
            const DecimalValue backward = Apply(b, op, a);
            ASSERT_TRUE(IsSoundResult(forward)) << op << " gave " << Describe(forward);
            ASSERT_TRUE(IsSoundResult(backward)) << op << " reversed gave " << Describe(backward);
        }
        DecimalValue normalised = a;
        normalised.Normalize();
        DecimalValue typed = a;
        static_cast<void>(typed.AppendDigit(static_cast<char>('0' + random.Count(0, 9)),
                                            random.OneIn(2), random.OneIn(4)));
        for (const DecimalValue& shown : {a, normalised, typed}) {
            const std::string text = Formatted(shown, random.OneIn(2));
            ASSERT_TRUE(text.size() < FormatBufferSize - 1 &&
                        text.find_first_not_of("-0123456789,.") == std::string::npos)
                << Describe(shown) << " shows " << text;
        }
        DecimalValue read;
        read.Parse(Formatted(a, random.OneIn(2)));
        ASSERT_TRUE(IsSoundResult(read)) << Describe(read);

        const Fraction product =
            MultiplyFractions({a.numerator, a.denominator}, {b.numerator, b.denominator});
        ASSERT_TRUE(product.numerator >= 0 && IsPowerOfTen(product.denominator));
        const LongDivision division = LongDivide(a.integerPart, a.numerator, b.denominator);
        ASSERT_TRUE(IsPowerOfTen(division.quotient.denominator));
    }
}

}  // namespace
