#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "decimal/decimal_value.h"
#include "decimal_test_support.h"

using decimal_test::Describe;
using decimal_test::Typed;

namespace {

struct Row {
    const char* a;
    char op;
    const char* b;
    const char* expected;  // as Describe writes it: trailing zeros are part of the result
};

DecimalValue Apply(const DecimalValue& a, char op, const DecimalValue& b) {
    switch (op) {
        case '+':
            return a.Add(b);
        case '-':
            return a.Subtract(b);
        case '*':
            return a.Multiply(b);
        default:
            return a.Divide(b);
    }
}

void CheckRows(const Row* begin, const Row* end) {
    for (const Row* row = begin; row != end; ++row) {
        const std::string name = std::string(row->a) + " " + row->op + " " + row->b;
        SCOPED_TRACE(name);
        const DecimalValue a = Typed(row->a);
        const DecimalValue b = Typed(row->b);
        DecimalValue aWithError = a;
        aWithError.errorCode = DecimalError::Input;  // never read by the arithmetic
        const DecimalValue result = Apply(aWithError, row->op, b);
        EXPECT_EQ(Describe(result), row->expected);
        EXPECT_EQ(Describe(a), Describe(Typed(row->a))) << "operand changed";
    }
}

template <std::size_t N>
void CheckRows(const Row (&rows)[N]) {
    CheckRows(rows, rows + N);
}

TEST(AddSubtract, Examples) {
    const Row rows[] = {
        {"0.5", '+', "0.25", "0.75"},
        {"0.99999999999", '+', "0.99999999999", "1.99999999998"},
        {"1.5", '-', "1.25", "0.25"},
        {"1.25", '-', "1.5", "-0.25"},
        {"-1.5", '+', "1.25", "-0.25"},
        {"1.25", '+', "-1.5", "-0.25"},
        {"-3", '-', "-5", "2"},
        {"-5", '-', "-3", "-2"},
        {"3", '-', "5", "-2"},
        {"3", '-', "-5", "8"},
        {"-3", '-', "5", "-8"},
        {"-3", '+', "-5", "-8"},
        {"0.5", '-', "0.50", "0"},
        {"-0.5", '-', "-0.50", "0"},
        {"0.50", '-', "0.5", "0"},
        {"-7.25", '-', "-7.25", "0"},
        {"-7.25", '+', "7.25", "0"},
        {"999,999,999,999", '+', "1", "Overflow"},
        {"-999,999,999,999", '-', "1", "Overflow"},
        {"999,999,999,998", '+', "1", "999999999999"},
        {"999,999,999,999.5", '+', "0.5", "Overflow"},  // the carry passes the limit
        {"11.5", '+', "0.12345678901", "11.62345678901"},
        {"999,999,999,998", '+', "0.99999999999", "999999999998.99999999999"},
        {"11.5", '-', "0.12345678901", "11.3765432109"},
        {"-11.5", '+', "0.12345678901", "-11.3765432109"},
        {"12.50", '+', "1", "13.5"},
        {"0.25", '+', "0.75", "1"},
        {"-0", '+', "-0", "-0"},  // a same-sign sum keeps its sign
        {"0", '+', "-0", "0"},
        {"1", '-', "0.00000000001", "0.99999999999"},
        {"100,000,000,000", '-', "0.1", "99999999999.9"},
        {"1,000,000,000,000", '-', "1", "999999999999"},  // a hand-made 13-digit minuend
        {"1,000,000,000,001", '-', "1", "Overflow"},
    };
    CheckRows(rows);
}

TEST(Multiply, Examples) {
    const Row rows[] = {
        {"1.5", '*', "1.2", "1.8"},
        {"2.5", '*', "2.5", "6.25"},
        {"0.1", '*', "0.1", "0.01"},
        {"0.001", '*', "0.001", "0.000001"},
        {"-2", '*', "-3", "6"},
        {"-2", '*', "3", "-6"},
        {"2", '*', "-3", "-6"},
        {"0", '*', "999,999,999,999", "0"},
        {"-0", '*', "5", "0"},
        {"999,999", '*', "1,000,000", "999999000000"},
        {"1,000,000", '*', "1,000,000", "Overflow"},
        {"999,999.999999", '*', "999,999.999999", "999999999998"},
        {"0.12345678901", '*', "0.123456", "0.01524148134"},
        {"9.10000000001", '*', "9", "81.9000000000"},
        {"-0.000001", '*', "0.000001", "-0"},
        {"4,294,967,296", '*', "4,294,967,296", "Overflow"},  // wraps to 0 in 64 bits
        {"3,037,000,500", '*', "3,037,000,500", "Overflow"},  // wraps to a negative number
        {"1", '*', "999,999,999,999", "999999999999"},
        {"999,999,999,999", '*', "1.000000000001", "999999999999"},
        {"999,999,999,999", '*', "1.1", "Overflow"},  // only a partial product passes
        {"999,999,999,999", '*', "0.99999999999", "999999999989"},
        {"0.5", '*', "0.5", "0.25"},
        {"2,000,000", '*', "500,000", "Overflow"},
        {"1.99999999999", '*', "1.99999999999", "3.99999999996"},
        {"12.50", '*', "2", "25"},
    };
    CheckRows(rows);
}

TEST(Divide, Examples) {
    const Row rows[] = {
        {"1", '/', "3", "0.33333333333"},
        {"2", '/', "3", "0.66666666666"},
        {"10", '/', "3", "3.33333333333"},
        {"22", '/', "7", "3.14285714285"},
        {"100", '/', "7", "14.2857142857"},
        {"1,000,000", '/', "3", "333333.333333"},
        {"1", '/', "8", "0.125"},
        {"1", '/', "300", "0.00333333333"},
        {"-7", '/', "2", "-3.5"},
        {"7", '/', "-2", "-3.5"},
        {"-7", '/', "-2", "3.5"},
        {"1.5", '/', "0.5", "3"},
        {"0.5", '/', "0.25", "2"},
        {"1", '/', "0.25", "4"},
        {"1", '/', "0.001", "1000"},
        {"12,345,678,901", '/', "0.3", "41152263003.3"},
        {"5", '/', "0", "DivideByZero"},
        {"0", '/', "0", "DivideByZero"},
        {"5", '/', "0.000", "DivideByZero"},
        {"0", '/', "5", "0"},
        {"99,999,999,999", '/', "0.1", "999999999990"},
        {"123,456,789,012", '/', "0.1", "Overflow"},
        {"999,999,999,999", '/', "0.5", "Overflow"},
        {"0.000000001", '/', "3", "Overflow"},  // would need 20 fraction digits
        {"-1", '/', "999,999,999,999", "-0"},
        {"922,337,203,686", '/', "0.0000001", "Overflow"},  // 19 digits, past 64 bits
        {"92,233,720,368", '/', "0.0000001", "Overflow"},   // fits 64 bits, not 12 digits
        {"99,999", '/', "0.0000001", "999990000000"},
        {"12.50", '/', "5", "2.5"},
        {"1", '/', "0.00000000003", "33333333333.3"},
        {"0.00000000001", '/', "0.00000000003", "0.33333333333"},
        {"999,999,999,999", '/', "999,999,999,999", "1"},
        {"999,999,999,999", '/', "0.99999999999", "Overflow"},
    };
    CheckRows(rows);
}

// The sign of a product or quotient looks for the flag value 1; other non-zero flags, which
// only a record made by hand holds, count as not negative there (but as negative in sums).
TEST(MultiplyDivide, SignLooksForFlagOne) {
    struct FlagRow {
        std::uint32_t a;
        std::uint32_t b;
        const char* product;
        const char* quotient;
    };
    const FlagRow rows[] = {
        {1, 0, "-6", "-0.66666666666"}, {1, 1, "6", "0.66666666666"}, {2, 0, "6", "0.66666666666"},
        {2, 1, "-6", "-0.66666666666"}, {0, 2, "6", "0.66666666666"},
    };
    for (const FlagRow& row : rows) {
        SCOPED_TRACE(std::to_string(row.a) + " " + std::to_string(row.b));
        const DecimalValue a(2, 0, 1, row.a);
        const DecimalValue b(3, 0, 1, row.b);
        EXPECT_EQ(Describe(a.Multiply(b)), row.product);
        EXPECT_EQ(Describe(a.Divide(b)), row.quotient);
    }
}

TEST(MultiplyDivide, SeventhsDoNotComeBackWhole) {
    const DecimalValue seventh = Typed("1").Divide(Typed("7"));
    EXPECT_EQ(Describe(seventh), "0.14285714285");
    EXPECT_EQ(Describe(seventh.Multiply(Typed("7"))), "0.99999999995");
}

TEST(MultiplyFractions, PartialProducts) {
    struct FractionRow {
        const char* name;
        Fraction a;
        Fraction b;
        Fraction expected;
    };
    const FractionRow rows[] = {
        {"0.5 x 0.2", {5, 10}, {2, 10}, {1, 10}},
        {"exact within 18 digits",
         {123456789, 1'000'000'000},
         {987654321, 1'000'000'000},
         {121932631112635269, MaxDenominator}},
        // 12 + 11 digits: the split keeps 17 digits and folds one more back.
        {"split and folded",
         {999'999'999'999, 1},
         {99'999'999'999, 100'000'000'000},
         {999'999'999'989, 1}},
        {"whole times whole", {12, 1}, {5, 1}, {60, 1}},
        {"past 10^18 loses only low digits",
         {99'999'999'999, 100'000'000'000},
         {99'999'999'999, 100'000'000'000},
         {99'999'999'998, 100'000'000'000}},
        {"whole numbers past 64 bits", {100'000'000'000, 1}, {100'000'000'000, 1}, {0, 1}},
        {"negative numerator refused", {-5, 10}, {5, 10}, {0, 1}},
    };
    for (const FractionRow& row : rows) {
        SCOPED_TRACE(row.name);
        const Fraction product = MultiplyFractions(row.a, row.b);
        EXPECT_EQ(product.numerator, row.expected.numerator);
        EXPECT_EQ(product.denominator, row.expected.denominator);
    }
}

TEST(LongDivide, DigitsAndScale) {
    struct DivisionRow {
        std::int64_t a;
        std::int64_t b;
        std::int64_t scale;
        Fraction expected;
        std::int64_t expectedScale;
    };
    const DivisionRow rows[] = {
        {1, 25, 100, {4, 1}, 1},                         // 1 / 0.25
        {10, 3, 1, {333333333333, 100'000'000'000}, 1},  // twelve threes
        {1, 300, 1, {333333333, 100'000'000'000}, 1},    // the zeros after the point count
        {999'999'999'999, 1, 1000, {999'999'999'999, 1}, 1000},
        {0, 7, 1, {0, 1}, 1},
        {5, 0, 1, {0, 1}, 1},  // no divisor: nothing computed
        {-5, 3, 1, {0, 1}, 1},
    };
    for (const DivisionRow& row : rows) {
        SCOPED_TRACE(std::to_string(row.a) + " / " + std::to_string(row.b) + " scale " +
                     std::to_string(row.scale));
        const LongDivision division = LongDivide(row.a, row.b, row.scale);
        EXPECT_EQ(division.quotient.numerator, row.expected.numerator);
        EXPECT_EQ(division.quotient.denominator, row.expected.denominator);
        EXPECT_EQ(division.scale, row.expectedScale);
    }
}

}  // namespace
