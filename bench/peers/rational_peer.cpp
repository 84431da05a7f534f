#include "peers/rational_peer.h"

#include <cstring>

#include "peers/digit_text.h"

namespace bench {

RationalCalculator::RationalCalculator() {
    for (int n = 0; n < PowerCount; ++n) {
        mpz_init(powers_[static_cast<std::size_t>(n)]);
        mpz_ui_pow_ui(powers_[static_cast<std::size_t>(n)], 10, static_cast<unsigned long>(n));
    }
    mpz_init(whole_);
    mpz_init(scaled_);
}

RationalCalculator::~RationalCalculator() {
    for (auto& power : powers_) {
        mpz_clear(power);
    }
    mpz_clear(whole_);
    mpz_clear(scaled_);
}

bool RationalCalculator::Add(const Rational& a, const Rational& b, Rational& result) {
    mpq_add(result.Get(), a.Get(), b.Get());
    return CutToBudget(result.Get());
}

bool RationalCalculator::Subtract(const Rational& a, const Rational& b, Rational& result) {
    mpq_sub(result.Get(), a.Get(), b.Get());
    return CutToBudget(result.Get());
}

bool RationalCalculator::Multiply(const Rational& a, const Rational& b, Rational& result) {
    mpq_mul(result.Get(), a.Get(), b.Get());
    return CutToBudget(result.Get());
}

bool RationalCalculator::Divide(const Rational& a, const Rational& b, Rational& result) {
    if (mpq_sgn(b.Get()) == 0) {
        return false;
    }
    mpq_div(result.Get(), a.Get(), b.Get());
    return CutToBudget(result.Get());
}

int RationalCalculator::WholeDigits(mpz_srcptr magnitude) const {
    if (mpz_sgn(magnitude) == 0) {
        return 1;
    }
    // mpz_sizeinbase may answer one too many.
    auto digits = static_cast<int>(mpz_sizeinbase(magnitude, 10));
    if (digits > 1 && digits <= PowerCount &&
        mpz_cmpabs(magnitude, powers_[static_cast<std::size_t>(digits - 1)]) < 0) {
        --digits;
    }
    return digits;
}

bool RationalCalculator::CutToBudget(mpq_ptr value) {
    if (mpq_sgn(value) == 0) {
        return true;
    }
    mpz_tdiv_q(whole_, mpq_numref(value), mpq_denref(value));
    if (mpz_cmpabs(whole_, powers_[BudgetDigits]) >= 0) {
        return false;
    }
    const int places = BudgetDigits - WholeDigits(whole_);
    mpz_srcptr scale = powers_[static_cast<std::size_t>(places)];
    mpz_mul(scaled_, mpq_numref(value), scale);
    mpz_tdiv_q(mpq_numref(value), scaled_, mpq_denref(value));
    mpz_set(mpq_denref(value), scale);
    mpq_canonicalize(value);
    return true;
}

void RationalCalculator::Parse(std::string_view text, Rational& result) {
    const ScannedNumber scanned = ScanNumber(text);
    mpz_set_str(mpq_numref(result.Get()), scanned.text, 10);
    mpz_set(mpq_denref(result.Get()), powers_[static_cast<std::size_t>(scanned.fractionDigits)]);
    mpq_canonicalize(result.Get());
    if (scanned.negative) {
        mpq_neg(result.Get(), result.Get());
    }
}

void RationalCalculator::Format(const Rational& value, char* buffer, bool grouping) {
    char* out = buffer;
    if (mpq_sgn(value.Get()) < 0) {
        *out++ = '-';
    }
    mpz_tdiv_qr(whole_, scaled_, mpq_numref(value.Get()), mpq_denref(value.Get()));
    mpz_abs(whole_, whole_);
    mpz_abs(scaled_, scaled_);
    int places = BudgetDigits - WholeDigits(whole_);
    places = places < 0 ? 0 : places;

    char digits[2 * PowerCount + 2];
    mpz_get_str(digits, 10, whole_);
    const std::size_t count = std::strlen(digits);
    if (grouping) {
        out = WriteGrouped(digits, count, out);
    } else {
        std::memcpy(out, digits, count);
        out += count;
    }
    if (mpz_sgn(scaled_) != 0 && places > 0) {
        mpz_mul(scaled_, scaled_, powers_[static_cast<std::size_t>(places)]);
        mpz_tdiv_q(scaled_, scaled_, mpq_denref(value.Get()));
        std::uint64_t fraction = mpz_get_ui(scaled_);
        while (places > 0 && fraction % 10 == 0) {
            fraction /= 10;
            --places;
        }
        if (places > 0) {
            *out++ = '.';
            out = WriteFixedWidth(fraction, places, out);
        }
    }
    *out = '\0';
}

}  // namespace bench
