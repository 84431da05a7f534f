// Records filled by hand with anything at all: every operation must stay defined (the
// sanitizer build watches), never divide by zero, and never let a wrapped value pass as a
// result.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "decimal/decimal_value.h"
#include "decimal_test_support.h"
#include "random_operands.h"

using decimal_test::Describe;
using decimal_test::RandomOperands;

namespace {

constexpr std::int64_t Int64Min = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t Int64Max = std::numeric_limits<std::int64_t>::max();

std::int64_t HostileField(RandomOperands& random) {
    const int exponent = static_cast<int>(random.Between(0, 18));
    switch (random.Between(0, 11)) {
        case 0:
            return 0;
        case 1:
            return random.Between(-10, 10);
        case 2:
            return RandomOperands::Power(exponent);
        case 3:
            return RandomOperands::Power(exponent) - 1;
        case 4:
            return -RandomOperands::Power(exponent);
        case 5:
            return MaxIntegerPart + random.Between(-1, 1);
        case 6:
            return Int64Max - random.Between(0, 2);
        case 7:
            return Int64Min + random.Between(0, 2);
        case 8:
            return 5 * RandomOperands::Power(exponent > 17 ? 17 : exponent);
        default:
            return random.Between(Int64Min, Int64Max);
    }
}

DecimalValue HostileRecord(RandomOperands& random) {
    DecimalValue value(HostileField(random), HostileField(random), HostileField(random), 0);
    const std::uint32_t flags[] = {0, 1, 2, 0xFFFFFFFFu};
    value.negative = flags[random.Between(0, 3)];
    value.errorCode = static_cast<DecimalError>(random.Between(0, 3));
    return value;
}

bool IsPowerOfTenValue(std::int64_t x) {
    for (int n = 0; n <= 18; ++n) {
        if (x == RandomOperands::Power(n)) {
            return true;
        }
    }
    return false;
}

// Either a fresh error value or a number inside the invariants every result keeps.
::testing::AssertionResult IsSoundResult(const DecimalValue& value) {
    if (value.errorCode == DecimalError::DivideByZero ||
        value.errorCode == DecimalError::Overflow) {
        if (Describe(value) == "BadError") {
            return ::testing::AssertionFailure() << "error value with digits";
        }
        return ::testing::AssertionSuccess();
    }
    if (value.errorCode != DecimalError::None || value.negative > 1 || value.integerPart < 0 ||
        value.integerPart > MaxIntegerPart || value.numerator < 0 ||
        value.numerator >= value.denominator || !IsPowerOfTenValue(value.denominator)) {
        return ::testing::AssertionFailure() << Describe(value);
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult IsDisplayText(const DecimalValue& value, bool grouping) {
    char buffer[FormatBufferSize + 1];
    std::memset(buffer, 'x', sizeof buffer);
    value.Format(buffer, FormatBufferSize, grouping);
    if (buffer[FormatBufferSize] != 'x' || std::memchr(buffer, '\0', FormatBufferSize) == nullptr) {
        return ::testing::AssertionFailure() << "not terminated within the buffer";
    }
    if (std::strspn(buffer, "-0123456789,.") != std::strlen(buffer)) {
        return ::testing::AssertionFailure() << "unexpected character in " << buffer;
    }
    return ::testing::AssertionSuccess();
}

std::string Fields(const DecimalValue& v) {
    return std::to_string(v.integerPart) + "|" + std::to_string(v.numerator) + "|" +
           std::to_string(v.denominator) + "|" + std::to_string(v.negative);
}

TEST(HostileRecords, EveryOperationStaysDefinedAndSound) {
    RandomOperands random(99);
    for (int i = 0; i < 100000; ++i) {
        // Half the pairs against an ordinary operand, so that each hostile field meets every
        // branch of the arithmetic.
        const DecimalValue a = HostileRecord(random);
        const DecimalValue b = random.OneIn(2) ? random.Any() : HostileRecord(random);
        SCOPED_TRACE(Fields(a) + " with " + Fields(b));

        ASSERT_TRUE(IsSoundResult(a.Add(b)));
        ASSERT_TRUE(IsSoundResult(b.Add(a)));
        ASSERT_TRUE(IsSoundResult(a.Subtract(b)));
        ASSERT_TRUE(IsSoundResult(b.Subtract(a)));
        ASSERT_TRUE(IsSoundResult(a.Multiply(b)));
        ASSERT_TRUE(IsSoundResult(b.Multiply(a)));
        ASSERT_TRUE(IsSoundResult(a.Divide(b)));
        ASSERT_TRUE(IsSoundResult(b.Divide(a)));
        ASSERT_FALSE(a.IsGreaterThan(b) && b.IsGreaterThan(a));
        ASSERT_TRUE(a.Equals(a));

        ASSERT_TRUE(IsDisplayText(a, true));
        ASSERT_TRUE(IsDisplayText(a, false));

        DecimalValue normalised = a;
        normalised.Normalize();
        ASSERT_TRUE(IsDisplayText(normalised, true));

        char text[FormatBufferSize];
        a.Format(text, sizeof text, random.OneIn(2));
        DecimalValue read;
        read.Parse(text);
        ASSERT_TRUE(IsSoundResult(read)) << text;

        DecimalValue typed = a;
        const char digit = static_cast<char>('0' + random.Between(0, 9));
        static_cast<void>(typed.AppendDigit(digit, random.OneIn(2), random.OneIn(4)));
        ASSERT_TRUE(IsDisplayText(typed, true));

        const Fraction product =
            MultiplyFractions({a.numerator, a.denominator}, {b.numerator, b.denominator});
        ASSERT_GE(product.numerator, 0);
        ASSERT_TRUE(IsPowerOfTenValue(product.denominator));
        const LongDivision division = LongDivide(a.integerPart, a.numerator, b.denominator);
        ASSERT_TRUE(IsPowerOfTenValue(division.quotient.denominator));

        std::int64_t numerator = a.numerator;
        std::int64_t denominator = a.denominator;
        TruncateFraction(numerator, denominator, static_cast<int>(random.Between(-20, 20)));
        StripTrailingZeros(numerator, denominator);
        const char place = DigitAt(a.integerPart, static_cast<int>(random.Between(-2, 22)));
        ASSERT_TRUE(place >= '0' && place <= '9');
        ASSERT_GE(PowerOfTen(static_cast<int>(random.Between(-5, 40))), 1);
    }
}

}  // namespace
