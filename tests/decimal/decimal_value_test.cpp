#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "decimal/decimal_value.h"
#include "decimal_test_support.h"

using decimal_test::Describe;
using decimal_test::Typed;

namespace {

constexpr std::int64_t Int64Min = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t Int64Max = std::numeric_limits<std::int64_t>::max();

TEST(DecimalValueRecord, ErrorValueHasZeroMagnitudeAndItsCode) {
    const DecimalValue error(DecimalError::Overflow);
    EXPECT_TRUE(error.IsZero());
    EXPECT_EQ(error.errorCode, DecimalError::Overflow);
    EXPECT_EQ(Describe(error), "Overflow");
    EXPECT_TRUE(DecimalValue().IsZero());
    EXPECT_EQ(Describe(DecimalValue()), "0");
}

TEST(DecimalValueRecord, IsZeroLooksOnlyAtTheDigits) {
    struct Row {
        DecimalValue value;
        bool zero;
    };
    const Row rows[] = {
        {DecimalValue(0, 0, 1000, 1), true},  // -0.000 as typed
        {DecimalValue(0, 1, 1000, 0), false},
        {DecimalValue(1, 0, 1, 0), false},
        {DecimalValue(0, 0, 0, 0), true},  // the denominator is not looked at
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(Describe(row.value));
        EXPECT_EQ(row.value.IsZero(), row.zero);
    }
}

TEST(DecimalValueRecord, EqualsComparesTheRepresentation) {
    struct Row {
        const char* name;
        DecimalValue a;
        DecimalValue b;
        bool equal;
    };
    DecimalValue withError = Typed("1.5");
    withError.errorCode = DecimalError::Overflow;
    const Row rows[] = {
        {"5/10 vs 50/100", Typed("0.5"), Typed("0.50"), false},
        {"same digits", Typed("12.25"), Typed("12.25"), true},
        {"only the error differs", Typed("1.5"), withError, true},
        {"flags 1 and 2", DecimalValue(3, 0, 1, 1), DecimalValue(3, 0, 1, 2), true},
        {"sign differs", Typed("-3"), Typed("3"), false},
        {"-0 vs 0", DecimalValue(0, 0, 1, 1), DecimalValue(), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.a.Equals(row.b), row.equal);
        EXPECT_EQ(row.b.Equals(row.a), row.equal);
    }
}

TEST(DecimalValueRecord, IsGreaterThanOrdersByValue) {
    struct Row {
        const char* a;
        const char* b;
        bool greater;
    };
    const Row rows[] = {
        {"0.5", "0.25", true},
        {"1.25", "1.5", false},
        {"-0.5", "-0.25", false},
        {"-0.25", "-0.5", true},
        {"0", "-0.001", true},
        {"-0.001", "0", false},
        {"0.50", "0.5", false},  // equal in value
        {"0.5", "0.50", false},
        {"2", "1.99999999999", true},
        {"-2", "-1.99999999999", false},
        {"999,999,999,999", "999,999,999,998.99999999999", true},
        {"-0", "0", false},  // the flag alone ranks -0 lower
        {"0", "-0", true},
        {"7.3", "7.3", false},
        {"-7.3", "-7.3", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.a) + " > " + row.b);
        EXPECT_EQ(Typed(row.a).IsGreaterThan(Typed(row.b)), row.greater);
    }
}

TEST(DecimalValueRecord, SetIntegerKeepsTheErrorUnlessZero) {
    struct Row {
        std::int64_t v;
        const char* expected;
        DecimalError errorAfter;
    };
    const Row rows[] = {
        {-12, "-12", DecimalError::Overflow},
        {100, "100", DecimalError::Overflow},
        {0, "0", DecimalError::None},
        {MaxIntegerPart, "999999999999", DecimalError::Overflow},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.v);
        DecimalValue value = Typed("-3.75");
        value.errorCode = DecimalError::Overflow;
        value.SetInteger(row.v);
        EXPECT_EQ(value.errorCode, row.errorAfter);
        value.errorCode = DecimalError::None;
        EXPECT_EQ(Describe(value), row.expected);
    }
    DecimalValue lowest;
    lowest.SetInteger(Int64Min);  // no positive twin; must stay defined
    EXPECT_EQ(lowest.negative, 1u);
    EXPECT_EQ(lowest.denominator, 1);
}

TEST(DecimalValueRecord, NormalizeCarriesCutsAndStrips) {
    struct Row {
        DecimalValue value;
        const char* expected;
    };
    const Row rows[] = {
        {Typed("12,345,678.123456"), "12345678.1234"},
        {Typed("0.123456789012"), "0.12345678901"},
        {DecimalValue(2, 15, 10, 0), "3.5"},
        {Typed("1.50"), "1.5"},
        {Typed("7.000"), "7"},
        {Typed("-0.000"), "-0"},  // sign untouched
        {Typed("999,999,999,999.9"), "999999999999"},
        {Typed("99,999,999,999.99"), "99999999999.9"},
        {DecimalValue(0, 1'500'000'000'000'000'001, MaxDenominator, 0), "1.5"},
        {DecimalValue(MaxIntegerPart + 1, 5, 10, 0), "1000000000000"},  // no limit check
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(Describe(row.value));
        DecimalValue value = row.value;
        value.Normalize();
        EXPECT_EQ(Describe(value), row.expected);
    }
}

TEST(DecimalValueRecord, DecimalExponentAndPowerOfTen) {
    struct Row {
        std::int64_t x;
        int exponent;
    };
    const Row rows[] = {
        {0, 0},
        {9, 0},
        {-9, 0},
        {10, 1},
        {99, 1},
        {-10, 1},
        {MaxIntegerPart, 11},
        {1'000'000'000'000, 12},
        {MaxDenominator, 18},
        {Int64Max, 18},
        {Int64Min, 18},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.x);
        EXPECT_EQ(DecimalExponent(row.x), row.exponent);
    }
    std::int64_t power = 1;
    for (int n = 0; n <= 18; ++n) {
        EXPECT_EQ(PowerOfTen(n), power) << n;
        EXPECT_EQ(DecimalExponent(power), n) << n;
        if (n < 18) {
            power *= 10;
        }
    }
    EXPECT_EQ(PowerOfTen(-3), 1);
    EXPECT_EQ(PowerOfTen(19), MaxDenominator);  // never wrapped, never 0
    EXPECT_EQ(PowerOfTen(std::numeric_limits<int>::max()), MaxDenominator);
}

TEST(DecimalValueRecord, StripAndTruncateFraction) {
    struct Row {
        const char* name;
        std::int64_t numerator;
        std::int64_t denominator;
        int truncateTo;  // -1: strip instead
        std::int64_t expectedNumerator;
        std::int64_t expectedDenominator;
    };
    const Row rows[] = {
        {"strip 50/100", 50, 100, -1, 5, 10},
        {"strip 0/1000", 0, 1000, -1, 0, 1},
        {"strip 7/1", 7, 1, -1, 7, 1},
        {"strip 120/1000", 120, 1000, -1, 12, 100},
        {"strip negative untouched", -50, 100, -1, -50, 100},
        {"strip stops at 1", 500, 10, -1, 50, 1},
        {"truncate 123456/10^6 to 3", 123456, 1'000'000, 3, 123, 1000},
        {"truncate keeps zeros", 90'000'000'009, 100'000'000'000, 10, 9'000'000'000,
         10'000'000'000},
        {"truncate nothing to do", 5, 10, 3, 5, 10},
        {"truncate to 0", 99, 100, 0, 0, 1},
        {"truncate negative count", 99, 100, -5, 0, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::int64_t numerator = row.numerator;
        std::int64_t denominator = row.denominator;
        if (row.truncateTo == -1) {
            StripTrailingZeros(numerator, denominator);
        } else {
            TruncateFraction(numerator, denominator, row.truncateTo);
        }
        EXPECT_EQ(numerator, row.expectedNumerator);
        EXPECT_EQ(denominator, row.expectedDenominator);
    }
}

TEST(DecimalValueRecord, DigitAt) {
    struct Row {
        std::int64_t x;
        int place;
        char digit;
    };
    const Row rows[] = {
        {1234, 1, '4'},      {1234, 4, '1'},     {1234, 5, '0'},
        {1234, 0, '0'},      {0, 1, '0'},        {-1234, 2, '3'},  // magnitudes only
        {Int64Min, 19, '9'}, {Int64Min, 1, '8'}, {Int64Max, 19, '9'},
        {Int64Max, 20, '0'}, {5, 1000, '0'},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.x) + " place " + std::to_string(row.place));
        EXPECT_EQ(DigitAt(row.x, row.place), row.digit);
    }
}

}  // namespace
