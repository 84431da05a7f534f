#pragma once

// Text helpers the peer number types share, so that their Format and Parse do the same
// work as DecimalValue's: grouping commas, fraction digits with leading zeros, scanning.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace bench {

inline constexpr int BudgetDigits = 12;

// Appends the decimal digits of value to out; returns the new end.
char* WriteDigits(std::uint64_t value, char* out);
// Appends digits with "," between groups of three; returns the new end.
char* WriteGrouped(const char* digits, std::size_t count, char* out);
// Appends exactly width digits of value, leading zeros included.
char* WriteFixedWidth(std::uint64_t value, int width, char* out);

int DigitCount(std::uint64_t value);  // 0 counts as one digit

// A number text taken apart: its digits in order (whole-number part then fraction, at most
// twelve, as DecimalValue::Parse takes them) and the count of fraction digits.
struct ScannedNumber {
    bool negative = false;
    std::uint64_t digits = 0;
    int fractionDigits = 0;
    char text[BudgetDigits + 1] = {};
    std::size_t length = 0;
};
ScannedNumber ScanNumber(std::string_view text);

}  // namespace bench
