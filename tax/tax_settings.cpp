// The tax rate and rounding rule, read once from the business application's data folder.
// Whatever is missing or malformed falls back silently: the rate by date, truncation.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string_view>

#include "engine/calc_engine.h"

namespace {

constexpr std::string_view RateFileName = "\\DATA\\OTHER\\TAX.AUT";
constexpr std::string_view RoundingFileName = "\\DATA\\OTHER\\Shouhi.AUT";

// Both files are a count byte followed by that many text bytes.
constexpr int MaxRateLength = 9;
constexpr std::uint8_t RoundingLength = 1;
constexpr std::uint8_t UpFromTenthLetter = 'U';
constexpr std::uint8_t HalfUpLetter = 'F';

constexpr std::int64_t RateBefore2014 = 5;
constexpr std::int64_t RateFromApril2014 = 8;
constexpr std::int64_t RateFromOctober2019 = 10;

constexpr int April = 4;
constexpr int October = 10;

std::int64_t DefaultTaxRate(LocalDate today) {
    if (today.year < 2014 || (today.year == 2014 && today.month < April)) {
        return RateBefore2014;
    }
    if (today.year > 2019 || (today.year == 2019 && today.month >= October)) {
        return RateFromOctober2019;
    }
    return RateFromApril2014;
}

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

// The rate file's number, or nothing when its count is not 1 to 9. A file that ends
// before its count says is read as far as it goes.
std::optional<std::int64_t> DecodeRateFile(std::span<const std::uint8_t> bytes) {
    if (bytes.empty()) {
        return std::nullopt;
    }
    const auto count = static_cast<std::int8_t>(bytes[0]);
    if (count < 1 || count > MaxRateLength) {
        return std::nullopt;
    }
    std::span<const std::uint8_t> text = bytes.subspan(1);
    return ReadSignedInteger(text.first(std::min(text.size(), static_cast<std::size_t>(count))));
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

// Appends name to the terminated path in buffer; false, with nothing written, when the
// whole would not fit in size bytes with its terminator.
bool AppendFileName(char* buffer, std::size_t size, std::string_view name) {
    const void* end = std::memchr(buffer, '\0', size);
    if (end == nullptr) {
        return false;
    }
    const auto length = static_cast<std::size_t>(static_cast<const char*>(end) - buffer);
    if (name.size() >= size - length) {
        return false;
    }
    std::memcpy(buffer + length, name.data(), name.size());
    buffer[length + name.size()] = '\0';
    return true;
}

}  // namespace

bool CalcEngine::QueryInstallDir(char* buffer, std::size_t size, bool programFolder) const {
    if (size == 0 || !installation_.QueryInstallDir(buffer, size, programFolder)) {
        return false;
    }
    // A value that fills the whole buffer arrives without its terminator: too long.
    if (std::memchr(buffer, '\0', size) == nullptr) {
        buffer[0] = '\0';
        return false;
    }
    return true;
}

void CalcEngine::LoadTaxSettings() {
    taxRate.SetInteger(DefaultTaxRate(clock_.Today()));

    // Reads the start of a data file into bytes; the part read, or nothing when there is
    // no data folder or no such file (also when the path would not fit).
    auto readDataFile = [this](std::string_view name,
                               std::span<std::uint8_t> bytes) -> std::optional<std::size_t> {
        std::array<char, PathBufferSize> path{};
        if (!QueryInstallDir(path.data(), path.size(), false) ||
            !AppendFileName(path.data(), path.size(), name)) {
            return std::nullopt;
        }
        std::optional<std::size_t> count = installation_.ReadFileStart(path.data(), bytes);
        if (count && *count > bytes.size()) {
            count = bytes.size();
        }
        return count;
    };

    std::array<std::uint8_t, 1 + MaxRateLength> rateBytes{};
    if (std::optional<std::size_t> count = readDataFile(RateFileName, rateBytes)) {
        if (std::optional<std::int64_t> rate = DecodeRateFile(std::span(rateBytes).first(*count))) {
            taxRate.SetInteger(*rate);
        }
    }

    std::array<std::uint8_t, 1 + RoundingLength> roundingBytes{};
    taxRounding = TaxRounding::Truncate;
    if (std::optional<std::size_t> count = readDataFile(RoundingFileName, roundingBytes)) {
        taxRounding = DecodeRoundingFile(std::span(roundingBytes).first(*count));
    }
}
