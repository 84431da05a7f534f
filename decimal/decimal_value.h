#pragma once

// The calculator's only number type: an exact decimal in sign-magnitude form,
// integerPart + numerator / denominator, with a power-of-ten denominator.
// No floating point anywhere.

#include <cstddef>
#include <cstdint>
#include <string_view>

inline constexpr std::int64_t MaxIntegerPart = 999'999'999'999;
inline constexpr int MaxDigits = 12;
// The digits any 64-bit value holds: 10^18 is the largest power of ten in 64 bits.
inline constexpr int MaxExactDigits = 18;

// Big enough for Format of any record, hand-made ones included: sign, 19 whole-number
// digits, 6 group commas, point, 19 fraction digits and the terminator.
inline constexpr std::size_t FormatBufferSize = 48;

enum class DecimalError : std::uint32_t {
    None = 0,
    DivideByZero = 1,
    Overflow = 2,
    Input = 3,
};

struct DecimalValue {
    std::int64_t integerPart = 0;
    std::int64_t numerator = 0;
    std::int64_t denominator = 1;
    std::uint32_t negative = 0;  // nonzero means negative
    DecimalError errorCode = DecimalError::None;

    DecimalValue() = default;
    explicit DecimalValue(DecimalError code) : errorCode(code) {}
    DecimalValue(std::int64_t integer, std::int64_t fractionNumerator,
                 std::int64_t fractionDenominator, std::uint32_t isNegative)
        : integerPart(integer),
          numerator(fractionNumerator),
          denominator(fractionDenominator),
          negative(isNegative) {}

    bool IsZero() const { return integerPart == 0 && numerator == 0; }
    bool HasError() const { return errorCode != DecimalError::None; }
    // By representation: 5/10 and 50/100 differ; flags 1 and 2 are both negative.
    bool Equals(const DecimalValue& other) const {
        return integerPart == other.integerPart && numerator == other.numerator &&
               denominator == other.denominator && (negative != 0) == (other.negative != 0);
    }
    bool IsGreaterThan(const DecimalValue& other) const;

    // Keeps an earlier error code unless v is 0.
    void SetInteger(std::int64_t v);
    void Normalize();

    DecimalValue Add(const DecimalValue& other) const;
    DecimalValue Subtract(const DecimalValue& other) const;
    DecimalValue Multiply(const DecimalValue& other) const;
    DecimalValue Divide(const DecimalValue& other) const;

    // Writes at most size bytes, always terminated (when size > 0).
    void Format(char* buffer, std::size_t size, bool grouping) const;
    // Reads up to the first NUL or the end of the text; never fails.
    void Parse(std::string_view text);
    bool AppendDigit(char digit, bool afterPoint, bool startNew);
};

namespace decimal_detail {

// 10^0 to 10^19; the last is above every 64-bit magnitude and bounds the digit count.
inline constexpr std::uint64_t PowersOfTen[] = {1ULL,
                                                10ULL,
                                                100ULL,
                                                1'000ULL,
                                                10'000ULL,
                                                100'000ULL,
                                                1'000'000ULL,
                                                10'000'000ULL,
                                                100'000'000ULL,
                                                1'000'000'000ULL,
                                                10'000'000'000ULL,
                                                100'000'000'000ULL,
                                                1'000'000'000'000ULL,
                                                10'000'000'000'000ULL,
                                                100'000'000'000'000ULL,
                                                1'000'000'000'000'000ULL,
                                                10'000'000'000'000'000ULL,
                                                100'000'000'000'000'000ULL,
                                                1'000'000'000'000'000'000ULL,
                                                10'000'000'000'000'000'000ULL};

// For a magnitude of 1 or more: 1233 / 4096 is just below log10(2), so the bit length gives
// the decimal exponent or one more; exactly the exponent for a power of ten.
inline int ExponentFromBitLength(std::uint64_t magnitude) {
    return ((64 - __builtin_clzll(magnitude)) * 1233) >> 12;
}

}  // namespace decimal_detail

// The largest denominator.
inline constexpr auto MaxDenominator =
    static_cast<std::int64_t>(decimal_detail::PowersOfTen[MaxExactDigits]);

// Shared routines on 64-bit integers.
// Inline: every operation counts digits several times.
inline int DecimalExponent(std::int64_t x) {
    const auto bits = static_cast<std::uint64_t>(x);
    // Odd, so that 0 counts as the one digit of 1; no power of ten above 1 is odd.
    const std::uint64_t magnitude = (x < 0 ? 0 - bits : bits) | 1;
    const int estimate = decimal_detail::ExponentFromBitLength(magnitude);
    return magnitude < decimal_detail::PowersOfTen[estimate] ? estimate - 1 : estimate;
}
// 10^n for 0 <= n <= 18; below that 1, above it 10^18 (never 0, never wrapped).
std::int64_t PowerOfTen(int n);
void StripTrailingZeros(std::int64_t& numerator, std::int64_t& denominator);
void TruncateFraction(std::int64_t& numerator, std::int64_t& denominator, int digits);
char DigitAt(std::int64_t x, int place);

struct Fraction {
    std::int64_t numerator = 0;
    std::int64_t denominator = 1;
};

// Numerators >= 0 over powers of ten. A product whose intermediates would leave 64 bits
// gives 0 over 1 (Multiply reports it as an overflow).
Fraction MultiplyFractions(Fraction a, Fraction b);

struct LongDivision {
    Fraction quotient;
    std::int64_t scale = 1;
};

// dividend >= 0, divisor > 0, scale >= 1; anything else, or a quotient leaving 64 bits,
// gives 0 over 1 with the scale as passed.
LongDivision LongDivide(std::int64_t dividend, std::int64_t divisor, std::int64_t scale);
