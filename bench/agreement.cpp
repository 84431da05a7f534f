#include "agreement.h"

#include <string>
#include <string_view>

#include "decimal/decimal_value.h"
#include "operands.h"
#include "peers/decimal64_peer.h"
#include "peers/digit_text.h"
#include "peers/rational_peer.h"

using bench::Decimal64;
using bench::Rational;
using bench::RationalCalculator;

namespace {

constexpr std::size_t TextSize = 64;

// All digits, however many: the results of Add keep more than twelve.
void ExactFromText(std::string_view text, mpq_ptr value) {
    std::string digits;
    int fractionDigits = 0;
    bool inFraction = false;
    bool negative = false;
    for (const char c : text) {
        if (c == '-') {
            negative = true;
        } else if (c == '.') {
            inFraction = true;
        } else if (c >= '0' && c <= '9') {
            digits += c;
            fractionDigits += inFraction ? 1 : 0;
        }
    }
    mpz_set_str(mpq_numref(value), digits.empty() ? "0" : digits.c_str(), 10);
    mpz_ui_pow_ui(mpq_denref(value), 10, static_cast<unsigned long>(fractionDigits));
    mpq_canonicalize(value);
    if (negative) {
        mpq_neg(value, value);
    }
}

// One unit of the twelfth significant digit of value, counting a zero whole part as a digit.
void TwelfthDigitUnit(mpq_srcptr value, mpq_ptr unit) {
    mpz_t whole;
    mpz_init(whole);
    mpz_tdiv_q(whole, mpq_numref(value), mpq_denref(value));
    mpz_abs(whole, whole);
    int digits = 1;
    while (mpz_cmp_ui(whole, 10) >= 0) {
        mpz_tdiv_q_ui(whole, whole, 10);
        ++digits;
    }
    mpz_clear(whole);
    const int places = bench::BudgetDigits - digits;
    mpz_set_ui(mpq_numref(unit), 1);
    mpz_ui_pow_ui(mpq_denref(unit), 10, static_cast<unsigned long>(places < 0 ? 0 : places));
    if (places < 0) {
        mpz_ui_pow_ui(mpq_numref(unit), 10, static_cast<unsigned long>(-places));
        mpz_set_ui(mpq_denref(unit), 1);
    }
    mpq_canonicalize(unit);
}

// Truncation loses less than a unit, and a product may differ from the exact cut by one
// more in its last digit.
bool IsClose(std::string_view text, mpq_srcptr exact) {
    Rational value;
    Rational error;
    Rational unit;
    ExactFromText(text, value.Get());
    mpq_sub(error.Get(), value.Get(), exact);
    mpq_abs(error.Get(), error.Get());
    TwelfthDigitUnit(exact, unit.Get());
    mpq_add(unit.Get(), unit.Get(), unit.Get());
    return mpq_cmp(error.Get(), unit.Get()) < 0;
}

DecimalValue KarvoldApply(Operation operation, const DecimalValue& a, const DecimalValue& b) {
    switch (operation) {
        case Operation::Add: return a.Add(b);
        case Operation::Subtract: return a.Subtract(b);
        case Operation::Multiply: return a.Multiply(b);
        case Operation::Divide: return a.Divide(b);
    }
    return DecimalValue(DecimalError::Input);
}

Decimal64 Decimal64Apply(Operation operation, Decimal64 a, Decimal64 b) {
    switch (operation) {
        case Operation::Add: return a + b;
        case Operation::Subtract: return a - b;
        case Operation::Multiply: return a * b;
        case Operation::Divide: return a / b;
    }
    return a;
}

bool RationalApply(RationalCalculator& calculator, Operation operation, const Rational& a,
                   const Rational& b, Rational& result) {
    switch (operation) {
        case Operation::Add: return calculator.Add(a, b, result);
        case Operation::Subtract: return calculator.Subtract(a, b, result);
        case Operation::Multiply: return calculator.Multiply(a, b, result);
        case Operation::Divide: return calculator.Divide(a, b, result);
    }
    return false;
}

void ExactApply(Operation operation, mpq_srcptr a, mpq_srcptr b, mpq_ptr result) {
    switch (operation) {
        case Operation::Add: mpq_add(result, a, b); break;
        case Operation::Subtract: mpq_sub(result, a, b); break;
        case Operation::Multiply: mpq_mul(result, a, b); break;
        case Operation::Divide: mpq_div(result, a, b); break;
    }
}

struct Results {
    char karvold[TextSize] = {};
    char decimal64[TextSize] = {};
    char rational[TextSize] = {};
};

bool CheckPair(RationalCalculator& calculator, std::string_view setName, Operation operation,
               const OperandPair& pair, std::FILE* report) {
    Results results;
    bool ok = true;

    DecimalValue a;
    DecimalValue b;
    a.Parse(pair.first);
    b.Parse(pair.second);
    const DecimalValue karvold = KarvoldApply(operation, a, b);
    karvold.Format(results.karvold, sizeof(results.karvold), false);
    if (karvold.HasError()) {
        std::fprintf(report, "%.*s %s %.*s, %.*s: DecimalValue error %u\n",
                     static_cast<int>(setName.size()), setName.data(),
                     OperationName(operation).data(), static_cast<int>(pair.first.size()),
                     pair.first.data(), static_cast<int>(pair.second.size()), pair.second.data(),
                     static_cast<unsigned>(karvold.errorCode));
        ok = false;
    }

    const Decimal64 decimal64 = Decimal64Apply(operation, bench::ParseDecimal64(pair.first),
                                               bench::ParseDecimal64(pair.second));
    bench::FormatDecimal64(decimal64, results.decimal64, false);

    Rational ra;
    Rational rb;
    Rational rational;
    calculator.Parse(pair.first, ra);
    calculator.Parse(pair.second, rb);
    if (!RationalApply(calculator, operation, ra, rb, rational)) {
        std::fprintf(report, "%.*s %s: rational out of range\n", static_cast<int>(setName.size()),
                     setName.data(), OperationName(operation).data());
        ok = false;
    }
    calculator.Format(rational, results.rational, false);

    Rational exactA;
    Rational exactB;
    Rational exact;
    ExactFromText(pair.first, exactA.Get());
    ExactFromText(pair.second, exactB.Get());
    ExactApply(operation, exactA.Get(), exactB.Get(), exact.Get());

    const std::pair<const char*, const char*> texts[] = {{"DecimalValue", results.karvold},
                                                         {"decimal64", results.decimal64},
                                                         {"mpq", results.rational}};
    for (const auto& [name, text] : texts) {
        if (!IsClose(text, exact.Get())) {
            std::fprintf(report, "%.*s %s %.*s, %.*s: %s gives %s\n",
                         static_cast<int>(setName.size()), setName.data(),
                         OperationName(operation).data(), static_cast<int>(pair.first.size()),
                         pair.first.data(), static_cast<int>(pair.second.size()),
                         pair.second.data(), name, text);
            ok = false;
        }
    }
    return ok;
}

bool CheckText(RationalCalculator& calculator, std::string_view text, std::FILE* report) {
    Results results;
    DecimalValue karvold;
    karvold.Parse(text);
    karvold.Format(results.karvold, sizeof(results.karvold), true);
    bench::FormatDecimal64(bench::ParseDecimal64(text), results.decimal64, true);
    Rational rational;
    calculator.Parse(text, rational);
    calculator.Format(rational, results.rational, true);
    const std::string_view expected = results.karvold;
    if (expected != results.decimal64 || expected != results.rational) {
        std::fprintf(report, "text %.*s: DecimalValue %s, decimal64 %s, mpq %s\n",
                     static_cast<int>(text.size()), text.data(), results.karvold,
                     results.decimal64, results.rational);
        return false;
    }
    return true;
}

}  // namespace

bool CheckAgreement(std::FILE* report) {
    RationalCalculator calculator;
    bool ok = true;
    for (const OperandSet& set : OperandSets()) {
        for (const Operation operation : AllOperations) {
            for (const OperandPair& pair : set.For(operation)) {
                ok = CheckPair(calculator, set.name, operation, pair, report) && ok;
            }
        }
        for (const std::string_view text : set.texts) {
            ok = CheckText(calculator, text, report) && ok;
        }
    }
    return ok;
}
