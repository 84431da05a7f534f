// Seeded records filled by hand with anything at all: the exact results are the worked
// examples' business; here every operation stays defined and sound.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "decimal/decimal_value.h"
#include "decimal_test_support.h"

using namespace decimal_test;

namespace {

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
