#pragma once

// Building values from the text a user would type, and describing results, without going
// through Parse or Format, so that the arithmetic tests do not lean on the text code.

#include <cstdint>
#include <string>
#include <string_view>

#include "decimal/decimal_value.h"

namespace decimal_test {

// "-12.50" becomes 12 and 50 over 100, negative: exactly as written, trailing zeros kept.
// Commas are skipped so that rows can be written as 999,999,999,999.
inline DecimalValue Typed(std::string_view text) {
    DecimalValue value;
    std::size_t position = 0;
    if (!text.empty() && text[0] == '-') {
        value.negative = 1;
        position = 1;
    }
    bool inFraction = false;
    for (; position < text.size(); ++position) {
        const char c = text[position];
        if (c == ',') {
            continue;
        }
        if (c == '.') {
            inFraction = true;
            continue;
        }
        const std::int64_t digit = c - '0';
        if (inFraction) {
            value.numerator = value.numerator * 10 + digit;
            value.denominator *= 10;
        } else {
            value.integerPart = value.integerPart * 10 + digit;
        }
    }
    return value;
}

// The record as text: "-12.50" for 12 and 50 over 100, negative; error values as the name
// of their code, or "BadError" when an error value carries digits.
inline std::string Describe(const DecimalValue& value) {
    if (value.errorCode != DecimalError::None) {
        if (value.integerPart != 0 || value.numerator != 0 || value.denominator != 1 ||
            value.negative != 0) {
            return "BadError";
        }
        switch (value.errorCode) {
            case DecimalError::DivideByZero:
                return "DivideByZero";
            case DecimalError::Overflow:
                return "Overflow";
            default:
                return "Error" + std::to_string(static_cast<unsigned>(value.errorCode));
        }
    }
    std::string text = value.negative != 0 ? "-" : "";
    text += std::to_string(value.integerPart);
    if (value.numerator == 0 && value.denominator == 1) {
        return text;
    }
    std::string fraction = std::to_string(value.numerator);
    const std::string places = std::to_string(value.denominator);
    if (places.size() < 2 || places.find_first_not_of('0', 1) != std::string::npos ||
        places[0] != '1' || fraction.size() >= places.size()) {
        return text + " " + std::to_string(value.numerator) + "/" + places;
    }
    fraction.insert(0, places.size() - 1 - fraction.size(), '0');
    return text + "." + fraction;
}

}  // namespace decimal_test
