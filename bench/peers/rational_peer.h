#pragma once

// GMP rationals as a developer would use them for exact decimal arithmetic: every result is
// exact first and then cut (truncated) to twelve significant digits, with the whole-number
// limit checked, so that it does the work DecimalValue does.

#include <gmp.h>

#include <array>
#include <string_view>

namespace bench {

class Rational {
public:
    Rational() { mpq_init(value_); }
    ~Rational() { mpq_clear(value_); }
    Rational(const Rational&) = delete;
    Rational& operator=(const Rational&) = delete;

    mpq_ptr Get() { return value_; }
    mpq_srcptr Get() const { return value_; }

private:
    mpq_t value_;
};

// Temporaries and powers of ten made once and reused by every operation, as a careful
// caller keeps them; operations return false where DecimalValue reports an error.
class RationalCalculator {
public:
    RationalCalculator();
    ~RationalCalculator();
    RationalCalculator(const RationalCalculator&) = delete;
    RationalCalculator& operator=(const RationalCalculator&) = delete;

    bool Add(const Rational& a, const Rational& b, Rational& result);
    bool Subtract(const Rational& a, const Rational& b, Rational& result);
    bool Multiply(const Rational& a, const Rational& b, Rational& result);
    bool Divide(const Rational& a, const Rational& b, Rational& result);

    // The same texts as DecimalValue::Parse reads.
    void Parse(std::string_view text, Rational& result);
    // Decimal text of a value cut to the budget; the buffer holds at least 36 bytes.
    void Format(const Rational& value, char* buffer, bool grouping);

    // Truncates to twelve significant digits; false when the whole-number part has more.
    bool CutToBudget(mpq_ptr value);

private:
    static constexpr int PowerCount = 19;

    int WholeDigits(mpz_srcptr magnitude) const;

    std::array<mpz_t, PowerCount> powers_;
    mpz_t whole_;
    mpz_t scaled_;
};

}  // namespace bench
