// Worked examples of every rule of the number type, its arithmetic and its text.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <tuple>

#include "decimal/decimal_value.h"

namespace {

// "-12.50" is 12 and 50 over 100, negative: as written, trailing zeros kept, commas skipped.
DecimalValue Typed(std::string_view text) {
    DecimalValue value;
    value.negative = text.starts_with('-') ? 1 : 0;
    bool inFraction = false;
    for (const char c : text) {
        inFraction = inFraction || c == '.';
        if (c >= '0' && c <= '9') {
            std::int64_t& digits = inFraction ? value.numerator : value.integerPart;
            digits = digits * 10 + (c - '0');
            value.denominator *= inFraction ? 10 : 1;
        }
    }
    return value;
}

// "-12.50" for 12 and 50 over 100, negative; "n/d" for a fraction that is not below its
// power-of-ten denominator; an error value as its code's name, with any digits it carries.
std::string Describe(const DecimalValue& v) {
    const std::string whole = (v.negative != 0 ? "-" : "") + std::to_string(v.integerPart);
    const std::string fraction = std::to_string(v.numerator), over = std::to_string(v.denominator);
    const std::string raw = whole + " " + fraction + "/" + over;
    if (v.errorCode != DecimalError::None) {
        const char* const names[] = {"None", "DivideByZero", "Overflow", "Input"};
        const auto code = static_cast<std::size_t>(v.errorCode);
        const std::string name = code < 4 ? names[code] : "?";
        return raw == "0 0/1" ? name : name + " with " + raw;
    }
    if (over.find_first_not_of('0', 1) != std::string::npos || over[0] != '1' || v.numerator < 0 ||
        v.numerator >= v.denominator) {
        return raw;
    }
    const std::size_t places = over.size() - 1;
    return places == 0 ? whole
                       : whole + "." + std::string(places - fraction.size(), '0') + fraction;
}

// Types digits ("." is the point key; the first digit starts a new number) and answers "+" for
// each digit taken and "-" for each refused.
std::string TypeKeys(DecimalValue& value, std::string_view keys) {
    std::string taken;
    bool afterPoint = false;
    for (const char key : keys) {
        afterPoint = afterPoint || key == '.';
        if (key != '.') {
            taken += value.AppendDigit(key, afterPoint, taken.empty()) ? '+' : '-';
        }
    }
    return taken;
}

TEST(DecimalValueRecord, EqualsAndIsGreaterThan) {
    DecimalValue withError = Typed("1.5");
    withError.errorCode = DecimalError::Overflow;
    // a, b, a equals b (either way round), a is greater than b
    const std::tuple<DecimalValue, DecimalValue, bool, bool> rows[] = {
        {Typed("0.5"), Typed("0.25"), false, true},  // fractions aligned on 100
        {Typed("-0.5"), Typed("-0.25"), false, false},
        {Typed("-0"), Typed("0"), false, false},  // the flag alone ranks -0 lower
        {Typed("0"), Typed("-0"), false, true},
        {Typed("0.5"), Typed("0.50"), false, false},  // equal in value, not in form
        {Typed("1.5"), withError, true, false},  // the error code is not compared
        {DecimalValue(3, 0, 1, 1), DecimalValue(3, 0, 1, 2), true, false},
    };
    for (const auto& [a, b, equal, greater] : rows) {
        SCOPED_TRACE(Describe(a) + " vs " + Describe(b));
        EXPECT_EQ(a.Equals(b), equal);
        EXPECT_EQ(b.Equals(a), equal);
        EXPECT_EQ(a.IsGreaterThan(b), greater);
    }
}

TEST(DecimalValueRecord, SetIntegerKeepsTheErrorUnlessZero) {
    DecimalValue value = Typed("-3.75");
    value.errorCode = DecimalError::Overflow;
    value.SetInteger(-12);
    EXPECT_EQ(Describe(value), "Overflow with -12 0/1");  // loading a constant keeps it
    value.SetInteger(100);
    EXPECT_EQ(Describe(value), "Overflow with 100 0/1");
    value.SetInteger(0);
    EXPECT_EQ(Describe(value), "0");  // clearing a register clears it
    value.SetInteger(INT64_MIN);      // no positive twin; must stay defined
    EXPECT_TRUE(value.negative == 1 && value.denominator == 1);
}

TEST(DecimalValueRecord, NormalizeCarriesCutsAndStrips) {
    const std::tuple<DecimalValue, const char*> rows[] = {
        {Typed("12,345,678.123456"), "12345678.1234"},  // cut, not rounded
        {Typed("0.123456789012"), "0.12345678901"},     // the leading 0 counts
        {DecimalValue(2, 15, 10, 0), "3.5"},
        {Typed("1.50"), "1.5"},
        {Typed("-0.000"), "-0"},  // sign untouched
        {Typed("999,999,999,999.9"), "999999999999"},
        {DecimalValue(0, 1'500'000'000'000'000'001, MaxDenominator, 0), "1.5"},
        {DecimalValue(MaxIntegerPart + 1, 5, 10, 0), "1000000000000"},  // no limit check
    };
    for (const auto& [input, expected] : rows) {
        DecimalValue value = input;
        value.Normalize();
        EXPECT_EQ(Describe(value), expected) << Describe(input);
    }
}

TEST(DecimalValueRecord, PowersAndExponentsNeverWrap) {
    for (int n = 0; n <= 18; ++n) {
        const std::int64_t power =
            std::strtoll(("1" + std::string(std::size_t(n), '0')).c_str(), nullptr, 10);
        EXPECT_EQ(PowerOfTen(n), power) << n;
        EXPECT_EQ(DecimalExponent(power), n) << n;
        EXPECT_EQ(DecimalExponent(power - 1), std::max(n - 1, 0)) << n;  // 0, 9, 99, ...
    }
    EXPECT_EQ(DecimalExponent(INT64_MIN), 18);
    EXPECT_EQ(PowerOfTen(-3), 1);
    EXPECT_EQ(PowerOfTen(19), MaxDenominator);  // never wrapped, never 0
    EXPECT_EQ(PowerOfTen(INT_MAX), MaxDenominator);
}

// Results as Describe writes them, so trailing zeros are part of the result: each rule and
// quirk with a worked example.
TEST(Arithmetic, Examples) {
    const std::tuple<const char*, char, const char*, const char*> rows[] = {
        {"12.50", '+', "1", "13.5"},                       // stripped
        {"11.5", '+', "0.12345678901", "11.62345678901"},  // not cut to 12 digits
        {"-0", '+', "-0", "-0"},                           // a same-sign sum keeps its sign
        {"0.5", '+', "0.5", "1"},
        {"-11.5", '+', "0.12345678901", "-11.3765432109"},  // a difference: cut
        {"999,999,999,999", '+', "1", "Overflow"},
        {"999,999,999,999.5", '+', "0.5", "Overflow"},  // the carry passes the limit
        {"0.5", '-', "0.50", "0"},                      // equal in value, never -0
        {"2.25", '-', "0.5", "1.75"},                   // a borrow from the whole number
        {"1,000,000,000,001", '-', "1", "Overflow"},    // a hand-made 13-digit minuend
        {"-0", '*', "5", "0"},
        {"-0.000001", '*', "0.000001", "-0"},
        {"4,294,967,296", '*', "4,294,967,296", "Overflow"},  // wraps to 0 in 64 bits
        {"999,999,999,999", '*', "1.1", "Overflow"},          // only a partial product passes
        {"999,999.999999", '*', "999,999.999999", "999999999998"},
        {"999,999,999,715.9", '*', "0.5172600", "517259999853"},  // low digits folded back
        {"0.12345678901", '*', "0.123456", "0.01524148134"},      // cut, not rounded
        {"9.10000000001", '*', "9", "81.9000000000"},             // the cut leaves zeros
        {"77.49612144882", '*', "0.116100000", "8.9972997002"},   // eleven places, stripped
        // 19 digits: this partial product keeps two places, where the exact product of
        // 99,999,999.19000000008 would have left 99999999.1900.
        {"9,999,999,999", '*', "0.00999999992", "99999999.19"},
        {"1", '/', "300", "0.00333333333"},           // the zeros after the point count
        {"46.21", '/', "100.999999", "0.457524757"},  // twelve digits with the leading 0
        {"1", '/', "0.00000000003", "33333333333.3"},
        {"1", '/', "0.0004", "2500"},  // comes out while the divisor's scale is used up
        {"123,456.789012", '/', "0.007", "17636684.1445"},  // twelve digits counted before
        {"99,999,999,999", '/', "0.1", "999999999990"},
        {"123,456,789,012", '/', "0.1", "Overflow"},
        {"922,337,203,686", '/', "0.0000001", "Overflow"},  // 19 digits, past 64 bits
        {"0.000000001", '/', "3", "Overflow"},              // would need 20 fraction digits
        {"-1", '/', "999,999,999,999", "-0"},
        {"5", '/', "0.000", "DivideByZero"},
        {"0", '/', "0", "DivideByZero"},
    };
    for (const auto& [a, op, b, expected] : rows) {
        DecimalValue first = Typed(a);
        first.errorCode = DecimalError::Input;  // never read by the arithmetic
        const DecimalValue second = Typed(b);
        const DecimalValue result = op == '+'   ? first.Add(second)
                                    : op == '-' ? first.Subtract(second)
                                    : op == '*' ? first.Multiply(second)
                                                : first.Divide(second);
        EXPECT_EQ(Describe(result), expected) << a << " " << op << " " << b;
    }
}

// The sign of a product or quotient looks for the flag value 1; other non-zero flags, which
// only a record made by hand holds, count as not negative there (but as negative in sums).
// A product of flags 1 and 2 is positive (the first flag 1 wants the other at 0), a quotient
// negative (exactly one flag is 1).
TEST(Arithmetic, ProductSignLooksForFlagOne) {
    const std::tuple<std::uint32_t, std::uint32_t, const char*, const char*> rows[] = {
        {1, 0, "-", "-"}, {0, 1, "-", "-"}, {1, 1, "", ""}, {2, 0, "", ""},
        {2, 1, "-", "-"}, {0, 2, "", ""},   {1, 2, "", "-"}};
    for (const auto& [first, second, productSign, quotientSign] : rows) {
        const DecimalValue a(2, 0, 1, first);
        const DecimalValue b(3, 0, 1, second);
        EXPECT_EQ(Describe(a.Multiply(b)), productSign + std::string("6"))
            << first << "," << second;
        EXPECT_EQ(Describe(a.Divide(b)), quotientSign + std::string("0.66666666666"))
            << first << "," << second;
    }
}

// A numerator past its denominator goes into the partial products as it is; the numerators'
// product of 24 digits keeps seven places, where the exact product would keep more.
TEST(Arithmetic, NumeratorPastItsDenominator) {
    const DecimalValue a(0, 100'000'000'005, 1'000'000, 0);
    EXPECT_EQ(Describe(a.Multiply(a)), "10000000001");
}

TEST(NumberText, Format) {
    const std::tuple<DecimalValue, bool, const char*> rows[] = {
        {Typed("-1234567.5"), true, "-1,234,567.5"},
        {Typed("1234567.5"), false, "1234567.5"},
        {Typed("999999999999"), true, "999,999,999,999"},
        {Typed("12.00"), false, "12.00"},
        {DecimalValue(0, 0, 1, 1), true, "-0"},
        {DecimalValue(7, 0, 1, 2), false, "-7"},
        {DecimalValue(-5, -25, -100, 0), false, "5.25"},  // hand-made: magnitudes
        {DecimalValue(INT64_MIN, INT64_MIN, MaxDenominator, 1), true,
         "-9,223,372,036,854,775,808.223372036854775808"},
    };
    for (const auto& [value, grouping, expected] : rows) {
        char buffer[FormatBufferSize];
        value.Format(buffer, sizeof buffer, grouping);
        EXPECT_STREQ(buffer, expected);
    }
}

TEST(NumberText, Parse) {
    const std::tuple<std::string_view, const char*> rows[] = {
        {"1.2,5", "1.25"},  // commas skipped in the fraction too
        {"1.2.3", "1.2"},
        {".5", "0.5"},
        {"0000000000001", "0"},             // leading zeros count toward the twelve digits
        {"0.0000000000000000000001", "0"},  // the denominator never passes 64 bits
        {"", "0"},
        {"\2005", "0"},  // a byte of 0x80 or above
        {std::string_view("12\00034", 5), "12"},
        {std::string_view("9876", 2), "98"},  // the end of the view ends the text
    };
    for (const auto& [text, expected] : rows) {
        DecimalValue value = Typed("-7.25");
        value.errorCode = DecimalError::Overflow;  // every field is replaced
        value.Parse(text);
        EXPECT_EQ(Describe(value), expected) << text;
    }
}

TEST(NumberText, AppendDigit) {
    const std::tuple<const char*, const char*, const char*> rows[] = {
        {"1234567890123", "++++++++++++-", "123456789012"},
        {"123456.1234567", "++++++++++++-", "123456.123456"},            // twelve digits in all
        {"0.000000000001", "+++++++++++-+", "0.00000000001"},            // ten zeros only, then a 1
        {"12345.00000000001", "++++++++++++++++", "12345.00000000001"},  // leading zeros free
        {".7", "+", "0.7"},
        {"12a", "++-", "12"},
    };
    for (const auto& [keys, taken, expected] : rows) {
        DecimalValue value(0, 0, 1, 1);  // sign and error are the caller's
        value.errorCode = DecimalError::Input;
        EXPECT_EQ(TypeKeys(value, keys), taken) << keys;
        EXPECT_TRUE(value.negative == 1 && value.errorCode == DecimalError::Input) << keys;
        EXPECT_EQ(Describe(DecimalValue(value.integerPart, value.numerator, value.denominator, 0)),
                  expected)
            << keys;
    }
}

}  // namespace
