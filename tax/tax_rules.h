#pragma once

// The pure side of the consumption tax: where the installation keeps its two settings files,
// what their bytes mean, the rate the date gives without them, and how a tax amount is made
// whole. No platform and no engine state, so tools and tests share it with the engine.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "decimal/decimal_value.h"
#include "engine/platform.h"

enum class TaxRounding : std::uint32_t {
    Truncate = 0,
    HalfUp = 1,
    UpFromTenth = 2,
};

// Appended to the registered data folder.
inline constexpr std::string_view RateFileName = "\\DATA\\OTHER\\TAX.AUT";
inline constexpr std::string_view RoundingFileName = "\\DATA\\OTHER\\Shouhi.AUT";

// Both files are a count byte followed by that many text bytes.
inline constexpr std::size_t MaxRateLength = 9;
inline constexpr std::uint8_t RoundingLength = 1;
inline constexpr std::uint8_t HalfUpLetter = 'F';
inline constexpr std::uint8_t UpFromTenthLetter = 'U';

// The rate in whole percent that applies on that date without a rate file.
std::int64_t DefaultTaxRate(LocalDate today);

// The rate file's number, or nothing when its count is not 1 to 9 or the file ends before
// the text its count announces (caught while being written, or cut short).
std::optional<std::int64_t> DecodeRateFile(std::span<const std::uint8_t> bytes);

// Truncate unless the file is exactly the count 1 and a letter that names another rule.
TaxRounding DecodeRoundingFile(std::span<const std::uint8_t> bytes);

// Makes a tax amount whole. The sign is left alone, so a negative tax is rounded on its
// magnitude: raised, it moves away from zero (-8.56 becomes -9 under HalfUp).
void RoundTax(DecimalValue& tax, TaxRounding rounding);
