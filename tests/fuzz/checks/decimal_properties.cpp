#include "decimal_properties.h"

#include <cstring>
#include <memory>

#include "check.h"
#include "exact_decimal.h"

namespace fuzzcheck {

namespace {

constexpr int GroupSize = 3;

std::string DecimalDigits(std::uint64_t value) {
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + value % 10));
        value /= 10;
    } while (value != 0);
    return digits;
}

}  // namespace

DecimalValue TakeRawRecord(ByteReader& reader) {
    DecimalValue value;
    value.integerPart = reader.Take<std::int64_t>();
    value.numerator = reader.Take<std::int64_t>();
    value.denominator = reader.Take<std::int64_t>();
    value.negative = reader.Take<std::uint32_t>();
    value.errorCode = static_cast<DecimalError>(reader.Take<std::uint32_t>());
    return value;
}

bool SameRecord(const DecimalValue& a, const DecimalValue& b) {
    return a.integerPart == b.integerPart && a.numerator == b.numerator &&
           a.denominator == b.denominator && a.negative == b.negative && a.errorCode == b.errorCode;
}

int FractionDigits(const DecimalValue& value) {
    int digits = 0;
    for (std::int64_t power = 1; power < value.denominator && digits < 19; power *= 10) {
        ++digits;
    }
    return digits;
}

int WholeDigits(const DecimalValue& value) {
    return static_cast<int>(DecimalDigits(static_cast<std::uint64_t>(value.integerPart)).size());
}

bool IsNormalised(const DecimalValue& value) {
    if (!IsWellFormedRecord(value) || value.integerPart > MaxIntegerPart ||
        value.numerator >= value.denominator) {
        return false;
    }
    if (value.numerator == 0) {
        return value.denominator == 1;
    }
    return value.numerator % 10 != 0 && WholeDigits(value) + FractionDigits(value) <= MaxDigits;
}

bool IsDisplayCharacter(char c) {
    return (c >= '0' && c <= '9') || c == '-' || c == ',' || c == '.';
}

std::optional<std::string> FormatInto(const DecimalValue& value, std::size_t size, bool grouping) {
    constexpr char Unwritten = 'x';
    auto buffer = std::make_unique<char[]>(size);
    std::memset(buffer.get(), Unwritten, size);
    value.Format(buffer.get(), size, grouping);
    if (std::memchr(buffer.get(), '\0', size) == nullptr) {
        return std::nullopt;
    }
    return std::string(buffer.get());
}

std::string FormattedText(const DecimalValue& value, bool grouping) {
    const std::optional<std::string> text = FormatInto(value, FormatBufferSize, grouping);
    FUZZ_REQUIRE(text.has_value());
    if (!text) {
        return {};
    }
    for (char c : *text) {
        FUZZ_REQUIRE(IsDisplayCharacter(c));
    }
    return *text;
}

std::string ExpectedText(const DecimalValue& value, bool grouping) {
    std::string text = value.negative != 0 ? "-" : "";
    const std::string whole = DecimalDigits(static_cast<std::uint64_t>(value.integerPart));
    for (std::size_t i = 0; i < whole.size(); ++i) {
        text += whole[i];
        const std::size_t placesLeft = whole.size() - 1 - i;
        if (grouping && placesLeft > 0 && placesLeft % GroupSize == 0) {
            text += ',';
        }
    }
    if (value.numerator != 0 || value.denominator != 1) {
        std::string fraction = DecimalDigits(static_cast<std::uint64_t>(value.numerator));
        const auto places = static_cast<std::size_t>(FractionDigits(value));
        if (fraction.size() < places) {
            fraction.insert(0, places - fraction.size(), '0');
        }
        text += '.';
        text += fraction;
    }
    return text;
}

}  // namespace fuzzcheck
