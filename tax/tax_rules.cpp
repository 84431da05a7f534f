// The tax rules that need neither the platform nor the engine.

#include "tax/tax_rules.h"

namespace {

constexpr std::int64_t RateBefore2014 = 5;
constexpr std::int64_t RateFromApril2014 = 8;
constexpr std::int64_t RateFromOctober2019 = 10;

constexpr int April = 4;
constexpr int October = 10;

bool IsSpace(std::uint8_t c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(std::uint8_t c) {
    return c >= '0' && c <= '9';
}

// " 5%" reads 5, "-5" reads -5, "A" reads 0. At most nine digits, so it cannot overflow.
std::int64_t ReadSignedInteger(std::span<const std::uint8_t> text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

// The first decimal digit of a fraction below one, 0 to 9.
std::int64_t FirstDecimalDigit(std::int64_t numerator, std::int64_t denominator) {
    constexpr std::int64_t Ten = 10;
    if (denominator >= Ten) {
        return numerator / (denominator / Ten);
    }
    return Ten - 1;  // a whole unit held as a fraction: it rounds up under every raising rule
}

}  // namespace

std::int64_t DefaultTaxRate(LocalDate today) {
    if (today.year < 2014 || (today.year == 2014 && today.month < April)) {
        return RateBefore2014;
    }
    if (today.year > 2019 || (today.year == 2019 && today.month >= October)) {
        return RateFromOctober2019;
    }
    return RateFromApril2014;
}

std::optional<std::int64_t> DecodeRateFile(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return std::nullopt;
    }
    const auto count = static_cast<std::int8_t>(bytes[0]);
    if (count < 1 || static_cast<std::size_t>(count) > MaxRateLength ||
        static_cast<std::size_t>(count) >= bytes.size()) {
        return std::nullopt;
    }
    return ReadSignedInteger(bytes.subspan(1, static_cast<std::size_t>(count)));
}

TaxRounding DecodeRoundingFile(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 2 || bytes[0] != RoundingLength) {
        return TaxRounding::Truncate;
    }
    switch (bytes[1]) {
        case UpFromTenthLetter:
            return TaxRounding::UpFromTenth;
        case HalfUpLetter:
            return TaxRounding::HalfUp;
        default:
            return TaxRounding::Truncate;
    }
}

void RoundTax(DecimalValue& tax, TaxRounding rounding) {
    if (tax.numerator <= 0) {
        return;
    }
    const std::int64_t firstDigit = FirstDecimalDigit(tax.numerator, tax.denominator);
    constexpr std::int64_t Half = 5;
    constexpr std::int64_t OneTenth = 1;
    if ((rounding == TaxRounding::HalfUp && firstDigit >= Half) ||
        (rounding == TaxRounding::UpFromTenth && firstDigit >= OneTenth)) {
        ++tax.integerPart;
    }
    tax.numerator = 0;
    tax.denominator = 1;
}
