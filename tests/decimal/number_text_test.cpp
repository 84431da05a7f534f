#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "decimal/decimal_value.h"
#include "decimal_test_support.h"
#include "random_operands.h"

using decimal_test::Describe;
using decimal_test::RandomOperands;
using decimal_test::Typed;

namespace {

constexpr std::int64_t Int64Min = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t Int64Max = std::numeric_limits<std::int64_t>::max();

std::string Formatted(const DecimalValue& value, bool grouping) {
    char buffer[FormatBufferSize];
    value.Format(buffer, sizeof buffer, grouping);
    return buffer;
}

TEST(Format, Text) {
    struct Row {
        DecimalValue value;
        bool grouping;
        const char* expected;
    };
    const Row rows[] = {
        {Typed("-1234567.5"), true, "-1,234,567.5"},
        {Typed("1234567.5"), false, "1234567.5"},
        {Typed("999999999999"), true, "999,999,999,999"},
        {Typed("0"), true, "0"},
        {Typed("0.05"), true, "0.05"},
        {Typed("100"), true, "100"},
        {Typed("1000"), true, "1,000"},
        {Typed("123456"), true, "123,456"},
        {Typed("12.50"), true, "12.50"},
        {Typed("12.00"), false, "12.00"},
        {DecimalValue(0, 0, 1, 1), true, "-0"},
        {DecimalValue(7, 0, 1, 2), false, "-7"},
        {Typed("999999999998.99999999999"), true, "999,999,999,998.99999999999"},
        {Typed("0.00000000001"), false, "0.00000000001"},
        // Records made by hand: magnitudes, and only the denominator's places.
        {DecimalValue(3, 1234, 100, 0), false, "3.34"},
        {DecimalValue(5, 7, 1, 0), false, "5."},
        {DecimalValue(-5, -25, -100, 0), false, "5.25"},
        {DecimalValue(Int64Min, Int64Min, MaxDenominator, 1), true,
         "-9,223,372,036,854,775,808.223372036854775808"},
        {DecimalValue(Int64Max, 1, MaxDenominator, 0), false,
         "9223372036854775807.000000000000000001"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.expected);
        EXPECT_EQ(Formatted(row.value, row.grouping), row.expected);
    }
}

TEST(Format, NeverWritesPastTheBufferAndAlwaysTerminates) {
    const DecimalValue longest(Int64Min, Int64Min, MaxDenominator, 1);
    const std::string full = Formatted(longest, true);
    ASSERT_LT(full.size(), FormatBufferSize);
    constexpr char Canary = 'x';
    for (std::size_t size = 0; size <= FormatBufferSize; ++size) {
        SCOPED_TRACE(size);
        char buffer[FormatBufferSize + 8];
        std::memset(buffer, Canary, sizeof buffer);
        longest.Format(buffer, size, true);
        for (std::size_t i = size; i < sizeof buffer; ++i) {
            ASSERT_EQ(buffer[i], Canary) << "written at " << i;
        }
        if (size == 0) {
            continue;
        }
        const std::size_t expectedLength = size - 1 < full.size() ? size - 1 : full.size();
        ASSERT_EQ(std::strlen(buffer), expectedLength);
        EXPECT_EQ(std::string_view(buffer), std::string_view(full).substr(0, expectedLength));
    }
}

TEST(Parse, Text) {
    struct Row {
        std::string_view text;
        const char* expected;
    };
    const Row rows[] = {
        {"1,234.5", "1234.5"},
        {"12a3", "12"},
        {"1.2.3", "1.2"},
        {"-12", "-12"},
        {"-0", "0"},
        {"-0.00", "0"},
        {"-", "0"},
        {".5", "0.5"},
        {"-.5", "-0.5"},
        {"1234567890123", "123456789012"},
        {"A1", "0"},
        {"", "0"},
        {" 12", "0"},
        {"12\r\n", "12"},
        {"0000000000001", "0"},               // leading zeros count toward the twelve digits
        {"0.123456789012", "0.12345678901"},  // the scan stops at twelve digits
        {".123456789012", "0.12345678901"},   // twelve digits taken, cut by the budget
        {"-.000000000000", "0"},
        {"12.50", "12.5"},
        {"1.2,5", "1.25"},
        {"+5", "0"},
        {"--5", "0"},
        {"\x80"
         "5",
         "0"},
        {std::string_view("12\0"
                          "34",
                          5),
         "12"},
        {std::string_view("9876", 2), "98"},  // the end of the view ends the text
        {"999,999,999,999.99", "999999999999"},
        {"123456.7890123", "123456.789012"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.text));
        DecimalValue value = Typed("-7.25");
        value.errorCode = DecimalError::Overflow;  // every field is replaced
        value.Parse(row.text);
        EXPECT_EQ(Describe(value), row.expected);
    }
}

// Digits and "." as typed; the first digit starts a new number. Returns "+" for a digit taken
// and "-" for one refused.
std::string TypeKeys(DecimalValue& value, std::string_view keys) {
    std::string taken;
    bool afterPoint = false;
    bool startNew = true;
    for (const char key : keys) {
        if (key == '.') {
            afterPoint = true;
            continue;
        }
        const bool accepted = value.AppendDigit(key, afterPoint, startNew);
        startNew = false;
        taken += accepted ? '+' : '-';
    }
    return taken;
}

TEST(AppendDigit, Capacity) {
    struct Row {
        const char* keys;
        const char* taken;
        const char* expected;
    };
    const Row rows[] = {
        {"1234567890123", "++++++++++++-", "123456789012"},
        {"1.234567890123", "++++++++++++-", "1.23456789012"},
        {"0.000000000001", "+++++++++++-+", "0.00000000001"},
        {"12345.00000000001", "++++++++++++++++", "12345.00000000001"},
        {"12345.000000000012", "++++++++++++++++-", "12345.00000000001"},
        {".7", "+", "0.7"},
        {"12.50", "++++", "12.50"},
        {"00012", "+++++", "12"},
        {"12345678901.56", "++++++++++++-", "12345678901.5"},
        {"123456789012.5", "++++++++++++-", "123456789012"},
        {"1.00000000005", "++++++++++++", "1.00000000005"},
        {"1.000000000005", "+++++++++++-+", "1.00000000005"},
        {"0.12345678901", "++++++++++++", "0.12345678901"},
        {"0.123456789012", "++++++++++++-", "0.12345678901"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.keys);
        DecimalValue value;
        value.negative = 1;
        value.errorCode = DecimalError::Input;
        EXPECT_EQ(TypeKeys(value, row.keys), row.taken);
        EXPECT_EQ(value.negative, 1u);  // sign and error are the caller's
        EXPECT_EQ(value.errorCode, DecimalError::Input);
        value.negative = 0;
        value.errorCode = DecimalError::None;
        EXPECT_EQ(Describe(value), row.expected);
    }
}

TEST(AppendDigit, RefusesWhatIsNotADigit) {
    DecimalValue value = Typed("12");
    EXPECT_FALSE(value.AppendDigit('a', false, false));
    EXPECT_FALSE(value.AppendDigit('.', true, true));
    EXPECT_EQ(Describe(value), "12");
}

// The capacity rules as the user meets them: twelve whole-number digits; at most eleven
// fraction places, ten while they are all zeros; whole-number digits plus the fraction's
// digits from its first non-zero one (at least one) at most twelve.
bool FitsCapacity(std::string_view whole, std::string_view fraction) {
    const std::size_t significantWhole = whole.find_first_not_of('0');
    const std::size_t wholeDigits =
        significantWhole == std::string_view::npos ? 1 : whole.size() - significantWhole;
    if (fraction.empty()) {
        return wholeDigits <= 12;
    }
    const std::size_t firstSignificant = fraction.find_first_not_of('0');
    if (firstSignificant == std::string_view::npos) {
        return fraction.size() <= 10 && wholeDigits + 1 <= 12;
    }
    const std::size_t significant = fraction.size() - firstSignificant;
    return fraction.size() <= 11 && wholeDigits + significant <= 12;
}

TEST(AppendDigit, RandomKeysFollowTheCapacityRules) {
    RandomOperands random(20240611);
    for (int sequence = 0; sequence < 20000; ++sequence) {
        const bool startsWithPoint = random.OneIn(4);
        const int wholeKeys = startsWithPoint ? 0 : static_cast<int>(random.Between(1, 15));
        const int fractionKeys = random.OneIn(3) ? 0 : static_cast<int>(random.Between(1, 15));
        std::string whole;
        std::string fraction;
        std::string keys;
        DecimalValue value;
        bool first = true;
        for (int key = 0; key < wholeKeys + fractionKeys; ++key) {
            const bool afterPoint = key >= wholeKeys;
            // Zeros often, so that long runs of them come up.
            const char digit =
                random.OneIn(2) ? '0' : static_cast<char>('0' + random.Between(0, 9));
            keys +=
                (afterPoint && key == wholeKeys) ? std::string(".") + digit : std::string(1, digit);
            std::string& part = afterPoint ? fraction : whole;
            part += digit;
            const bool expected = first || FitsCapacity(whole, fraction);
            const bool accepted = value.AppendDigit(digit, afterPoint, first);
            first = false;
            if (!expected) {
                part.pop_back();
            }
            ASSERT_EQ(accepted, expected) << "keys " << keys;
        }
        const std::size_t firstSignificant = whole.find_first_not_of('0');
        std::string shown =
            firstSignificant == std::string::npos ? "0" : whole.substr(firstSignificant);
        if (!fraction.empty()) {
            shown += "." + fraction;
        }
        ASSERT_EQ(Describe(value), shown) << "keys " << keys;
    }
}

TEST(NumberText, ParseOfFormatGivesBackEveryNormalisedValue) {
    RandomOperands random(777);
    for (int i = 0; i < 100000; ++i) {
        const DecimalValue value = random.Normalised();
        // -0 reads back as a plain 0.
        const DecimalValue expected = value.IsZero() ? DecimalValue() : value;
        for (const bool grouping : {false, true}) {
            DecimalValue read;
            read.Parse(Formatted(value, grouping));
            ASSERT_TRUE(read.Equals(expected) && read.negative == expected.negative)
                << Describe(value) << " read back as " << Describe(read);
        }
    }
}

}  // namespace
