#pragma once

// Shared by the decimal tests: values as a user types them and results as text, both without
// Parse or Format, and seeded operands across the range the calculator reaches.

#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <string_view>

#include "decimal/decimal_value.h"

namespace decimal_test {

inline constexpr std::int64_t Int64Min = std::numeric_limits<std::int64_t>::min();
inline constexpr std::int64_t Int64Max = std::numeric_limits<std::int64_t>::max();

template <class T = std::int64_t>
T Power(int n) {
    T power = 1;
    for (; n > 0; --n) power *= 10;
    return power;
}

// Counting 0 as one digit.
template <class T>
int Digits(T x) {
    int digits = 1;
    for (; x >= 10; x /= 10) ++digits;
    return digits;
}

inline bool IsPowerOfTen(std::int64_t x) {
    return x > 0 && Power(Digits(x) - 1) == x;
}

// "-12.50" is 12 and 50 over 100, negative: as written, trailing zeros kept, commas skipped.
inline DecimalValue Typed(std::string_view text) {
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
inline std::string Describe(const DecimalValue& v) {
    const std::string whole = (v.negative != 0 ? "-" : "") + std::to_string(v.integerPart);
    const std::string fraction = std::to_string(v.numerator);
    const std::string raw = whole + " " + fraction + "/" + std::to_string(v.denominator);
    if (v.errorCode != DecimalError::None) {
        const char* const names[] = {"None", "DivideByZero", "Overflow", "Input"};
        const auto code = static_cast<std::size_t>(v.errorCode);
        const std::string name = code < 4 ? names[code] : "?";
        return raw == "0 0/1" ? name : name + " with " + raw;
    }
    if (!IsPowerOfTen(v.denominator) || v.numerator < 0 || v.numerator >= v.denominator) {
        return raw;
    }
    const auto places = static_cast<std::size_t>(Digits(v.denominator) - 1);
    return places == 0 ? whole
                       : whole + "." + std::string(places - fraction.size(), '0') + fraction;
}

inline DecimalValue Apply(const DecimalValue& a, char op, const DecimalValue& b) {
    return op == '+'   ? a.Add(b)
           : op == '-' ? a.Subtract(b)
           : op == '*' ? a.Multiply(b)
                       : a.Divide(b);
}

inline std::string Formatted(const DecimalValue& value, bool grouping) {
    char buffer[FormatBufferSize];
    value.Format(buffer, sizeof buffer, grouping);
    return buffer;
}

// Types digits ("." is the point key; the first digit starts a new number) and answers "+" for
// each digit taken and "-" for each refused.
inline std::string TypeKeys(DecimalValue& value, std::string_view keys) {
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

class Random {
  public:
    explicit Random(std::uint64_t seed) : engine_(seed) {}

    std::int64_t Between(std::int64_t low, std::int64_t high) {
        return std::uniform_int_distribution<std::int64_t>(low, high)(engine_);
    }
    int Count(int low, int high) { return static_cast<int>(Between(low, high)); }
    bool OneIn(int n) { return Between(1, n) == 1; }

    // Any shape the operations produce or the user types, either sign: whole-number parts of
    // any length, next to the limit or powers of ten; up to eleven fraction places, all nines
    // or few significant digits (trailing zeros as typed, tiny values) or any.
    DecimalValue Any() {
        DecimalValue value;
        const int wholeDigits = Count(0, 14);
        value.integerPart = wholeDigits == 13   ? MaxIntegerPart - Between(0, 1000)
                            : wholeDigits == 14 ? Power(Count(0, 11))
                                                : Between(0, Power(wholeDigits) - 1);
        const int places = OneIn(4) ? 0 : Count(1, 11);
        const int shift = OneIn(2) ? 0 : Count(0, places);
        value.numerator =
            OneIn(4) ? Power(places) - 1 : Between(0, Power(places - shift) - 1) * Power(shift);
        value.denominator = Power(places);
        value.negative = OneIn(2) ? 1 : 0;
        return value;
    }

  private:
    std::mt19937_64 engine_;
};

}  // namespace decimal_test
