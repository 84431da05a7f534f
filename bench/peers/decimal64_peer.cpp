#include "peers/decimal64_peer.h"

#include <array>

#include "peers/digit_text.h"

namespace bench {

namespace {

const std::array<Decimal64, BudgetDigits + 1> PowersOfTen = [] {
    std::array<Decimal64, BudgetDigits + 1> powers{};
    for (int n = 0; n <= BudgetDigits; ++n) {
        powers[static_cast<std::size_t>(n)] = std::decimal::make_decimal64(1LL, n);
    }
    return powers;
}();

}  // namespace

Decimal64 ParseDecimal64(std::string_view text) {
    const ScannedNumber scanned = ScanNumber(text);
    const Decimal64 magnitude = std::decimal::make_decimal64(
        static_cast<long long>(scanned.digits), -scanned.fractionDigits);
    return scanned.negative ? -magnitude : magnitude;
}

void FormatDecimal64(Decimal64 value, char* buffer, bool grouping) {
    char* out = buffer;
    const bool negative = value < Decimal64(0);
    const Decimal64 magnitude = negative ? -value : value;
    // Conversions to integers truncate, as the calculator's results do.
    const long long whole = std::decimal::decimal64_to_long_long(magnitude);
    const Decimal64 rest = magnitude - Decimal64(whole);
    const int wholeDigits = DigitCount(static_cast<std::uint64_t>(whole));
    int places = wholeDigits < BudgetDigits ? BudgetDigits - wholeDigits : 0;
    auto fraction = static_cast<std::uint64_t>(std::decimal::decimal64_to_long_long(
        rest * PowersOfTen[static_cast<std::size_t>(places)]));
    while (places > 0 && fraction % 10 == 0) {
        fraction /= 10;
        --places;
    }

    if (negative) {
        *out++ = '-';
    }
    char digits[20];
    const char* digitsEnd = WriteDigits(static_cast<std::uint64_t>(whole), digits);
    const auto count = static_cast<std::size_t>(digitsEnd - digits);
    if (grouping) {
        out = WriteGrouped(digits, count, out);
    } else {
        for (std::size_t i = 0; i < count; ++i) {
            *out++ = digits[i];
        }
    }
    if (places > 0) {
        *out++ = '.';
        out = WriteFixedWidth(fraction, places, out);
    }
    *out = '\0';
}

}  // namespace bench
