#pragma once

// Seeded operands across the whole range the calculator reaches: small numbers, twelve-digit
// ones, values next to the limit, long fractions, trailing zeros as typed, sums that carry
// twelve whole-number digits next to eleven fraction digits, either sign.

#include <cstdint>
#include <random>

#include "decimal/decimal_value.h"

namespace decimal_test {

class RandomOperands {
  public:
    explicit RandomOperands(std::uint64_t seed) : engine_(seed) {}

    std::int64_t Between(std::int64_t low, std::int64_t high) {
        return std::uniform_int_distribution<std::int64_t>(low, high)(engine_);
    }

    bool OneIn(int n) { return Between(1, n) == 1; }

    static std::int64_t Power(int n) {
        std::int64_t power = 1;
        for (int i = 0; i < n; ++i) {
            power *= 10;
        }
        return power;
    }

    static int Digits(std::int64_t x) {
        int digits = 1;
        while (x >= 10) {
            x /= 10;
            ++digits;
        }
        return digits;
    }

    // A number of exactly the given digit count (1 to 18).
    std::int64_t WithDigits(int digits) {
        return Between(digits == 1 ? 0 : Power(digits - 1), Power(digits) - 1);
    }

    std::int64_t WholePart() {
        switch (Between(0, 6)) {
            case 0:
                return 0;
            case 1:
                return Between(1, 999);
            case 2:
                return WithDigits(static_cast<int>(Between(4, 6)));
            case 3:
                return WithDigits(12);
            case 4:
                return MaxIntegerPart - Between(0, 1000);
            case 5:
                return Power(static_cast<int>(Between(0, 11)));  // 1, 10, ... 10^11
            default:
                return WithDigits(static_cast<int>(Between(1, 12)));
        }
    }

    // A numerator for fractionDigits places, sometimes with few significant digits so that
    // trailing zeros (as typed) and tiny values come up.
    std::int64_t FractionNumerator(int fractionDigits) {
        const std::int64_t places = Power(fractionDigits);
        switch (Between(0, 3)) {
            case 0:
                return places - 1;  // all nines
            case 1: {
                const int shift = static_cast<int>(Between(0, fractionDigits - 1));
                return Between(0, Power(fractionDigits - shift) - 1) * Power(shift);
            }
            default:
                return Between(0, places - 1);
        }
    }

    // Any shape the operations produce or the user types; not necessarily normalised.
    DecimalValue Any() {
        DecimalValue value;
        value.integerPart = WholePart();
        if (!OneIn(4)) {
            const int fractionDigits = static_cast<int>(Between(1, 11));
            value.numerator = FractionNumerator(fractionDigits);
            value.denominator = Power(fractionDigits);
        }
        value.negative = OneIn(2) ? 1 : 0;
        return value;
    }

    // Within the digit budget and without trailing fraction zeros.
    DecimalValue Normalised() {
        DecimalValue value;
        value.integerPart = WholePart();
        const int room = MaxDigits - Digits(value.integerPart);
        if (room > 0 && !OneIn(4)) {
            const int fractionDigits = static_cast<int>(Between(1, room));
            value.numerator = FractionNumerator(fractionDigits);
            value.denominator = Power(fractionDigits);
            while (value.numerator != 0 && value.numerator % 10 == 0) {
                value.numerator /= 10;
                value.denominator /= 10;
            }
            if (value.numerator == 0) {
                value.denominator = 1;
            }
        }
        value.negative = OneIn(2) ? 1 : 0;
        return value;
    }

  private:
    std::mt19937_64 engine_;
};

}  // namespace decimal_test
