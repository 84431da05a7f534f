#pragma once

// IEEE 754 decimal64 (GCC's _Decimal64, BID encoding in software from libgcc) as a
// developer would use it for a calculator: arithmetic with the built-in operators, text
// through whole-number conversions.

#include <decimal/decimal>
#include <string_view>

namespace bench {

using Decimal64 = std::decimal::decimal64;

// Reads the same texts as DecimalValue::Parse: sign, digits, point, commas skipped, at most
// twelve digits.
Decimal64 ParseDecimal64(std::string_view text);

// Writes the value cut to twelve significant digits, as the display shows it; the buffer
// holds at least 36 bytes.
void FormatDecimal64(Decimal64 value, char* buffer, bool grouping);

}  // namespace bench
