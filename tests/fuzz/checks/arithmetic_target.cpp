// The four operations and the comparison on any records: no undefined behaviour and only
// well-formed results or error values. On the records the engine can hold (whole-number
// parts within capacity, up to eleven fraction digits, typed trailing zeros included) every
// result is held against exact arithmetic.

#include <algorithm>

#include "byte_reader.h"
#include "check.h"
#include "decimal_properties.h"
#include "exact_decimal.h"
#include "targets.h"

namespace fuzzcheck {

namespace {

constexpr int MaxWholeDigits = 12;
constexpr int MaxFractionDigits = 11;
// A quotient this small may need more than eighteen fraction digits before its cut, and
// the overflow error is then the calculator's answer (0.000000001 / 3).
constexpr int TinyQuotientExponent = 7;

std::uint64_t Below(std::uint64_t value, std::int64_t bound) {
    return value % static_cast<std::uint64_t>(bound);
}

DecimalValue HeldRecord(ByteReader& reader) {
    const std::uint8_t shape = reader.TakeByte();
    DecimalValue value;
    const int wholeDigits = shape % (MaxWholeDigits + 1);
    const int fractionDigits = (shape >> 4) % (MaxFractionDigits + 1);
    value.integerPart =
        static_cast<std::int64_t>(Below(reader.Take<std::uint64_t>(), PowerOfTen(wholeDigits)));
    value.denominator = PowerOfTen(fractionDigits);
    value.numerator =
        static_cast<std::int64_t>(Below(reader.Take<std::uint64_t>(), value.denominator));
    const std::uint8_t flags = reader.TakeByte();
    value.negative = flags & 1;
    value.errorCode = static_cast<DecimalError>((flags >> 1) % 4);  // never looked at
    if ((flags & 0x08) != 0) {
        value.Normalize();
    }
    return value;
}

bool IsErrorValue(const DecimalValue& value, DecimalError code) {
    return SameRecord(value, DecimalValue(code));
}

void CheckResultShape(const DecimalValue& result) {
    const bool known = result.errorCode == DecimalError::None ||
                       result.errorCode == DecimalError::DivideByZero ||
                       result.errorCode == DecimalError::Overflow;
    FUZZ_REQUIRE(known);
    if (result.errorCode != DecimalError::None) {
        FUZZ_REQUIRE(IsErrorValue(result, result.errorCode));
    }
    FormattedText(result, true);
}

bool HasTrailingFractionZero(const DecimalValue& value) {
    return value.numerator == 0 ? value.denominator != 1 : value.numerator % 10 == 0;
}

bool Exceeds(const WideInteger& whole) {
    return whole > WideInteger(static_cast<std::uint64_t>(MaxIntegerPart));
}

// Add of equal signs and Subtract of opposite signs: the exact sum of the magnitudes,
// stripped but not cut to the digit budget.
void CheckMagnitudeSum(const DecimalValue& a, const DecimalValue& b, const DecimalValue& result,
                       const ExactDecimal& exact) {
    if (Exceeds(WholePart(exact))) {
        FUZZ_REQUIRE(IsErrorValue(result, DecimalError::Overflow));
        return;
    }
    FUZZ_REQUIRE(result.errorCode == DecimalError::None);
    FUZZ_REQUIRE(IsWellFormedRecord(result) && result.numerator < result.denominator);
    FUZZ_REQUIRE(!HasTrailingFractionZero(result));
    FUZZ_REQUIRE(FractionDigits(result) <= std::max(FractionDigits(a), FractionDigits(b)));
    FUZZ_REQUIRE(SameValue(ExactOf(result), exact));
    FUZZ_REQUIRE(result.negative == (a.negative != 0 ? 1u : 0u));
}

// Add of opposite signs and Subtract of equal signs: the difference cut to twelve digits.
void CheckMagnitudeDifference(const DecimalValue& result, const ExactDecimal& exact) {
    FUZZ_REQUIRE(result.errorCode == DecimalError::None);
    FUZZ_REQUIRE(IsNormalised(result));
    const ExactDecimal expected = TruncatedToBudget(exact);
    FUZZ_REQUIRE(SameValue(ExactOf(result), expected));
    // 0.5 - 0.50 is 0, never -0.
    const bool negative = expected.negative && !expected.magnitude.IsZero();
    FUZZ_REQUIRE(result.negative == (negative ? 1u : 0u));
}

void CheckAdditive(const DecimalValue& a, const DecimalValue& b) {
    const bool sameSigns = (a.negative != 0) == (b.negative != 0);
    const ExactDecimal sum = Sum(ExactOf(a), ExactOf(b));
    const DecimalValue added = a.Add(b);
    if (sameSigns) {
        CheckMagnitudeSum(a, b, added, sum);
    } else {
        CheckMagnitudeDifference(added, sum);
    }
    const ExactDecimal difference = Difference(ExactOf(a), ExactOf(b));
    const DecimalValue subtracted = a.Subtract(b);
    if (sameSigns) {
        CheckMagnitudeDifference(subtracted, difference);
    } else {
        CheckMagnitudeSum(a, b, subtracted, difference);
    }
}

ExactDecimal UnitOfLastDigit(const ExactDecimal& value) {
    return UnitInPlace(FractionDigitsInBudget(value));
}

void CheckProduct(const DecimalValue& a, const DecimalValue& b) {
    const DecimalValue product = a.Multiply(b);
    if (a.IsZero() || b.IsZero()) {
        FUZZ_REQUIRE(SameRecord(product, DecimalValue()));
        return;
    }
    const ExactDecimal exact = Magnitude(Product(ExactOf(a), ExactOf(b)));
    if (Exceeds(WholePart(exact))) {
        FUZZ_REQUIRE(IsErrorValue(product, DecimalError::Overflow));
        return;
    }
    FUZZ_REQUIRE(product.errorCode == DecimalError::None);
    FUZZ_REQUIRE(IsWellFormedRecord(product) && product.numerator < product.denominator);
    FUZZ_REQUIRE(product.integerPart <= MaxIntegerPart);
    FUZZ_REQUIRE(WholeDigits(product) + FractionDigits(product) <= MaxDigits ||
                 FractionDigits(product) == 0);
    FUZZ_REQUIRE(product.negative == ((a.negative == 1) != (b.negative == 1) ? 1u : 0u));
    // Truncated, never rounded, and at most one unit below the exact product's cut.
    const ExactDecimal kept = Magnitude(ExactOf(product));
    const ExactDecimal unit = UnitOfLastDigit(kept);
    const ExactDecimal cut = Truncated(exact, FractionDigitsInBudget(kept));
    FUZZ_REQUIRE(SameValue(kept, cut) || SameValue(Sum(kept, unit), cut));
}

// The operand as Divide sees it: cut to the digit budget.
ExactDecimal BudgetMagnitude(const DecimalValue& value) {
    return TruncatedToBudget(Magnitude(ExactOf(value)));
}

void CheckQuotient(const DecimalValue& a, const DecimalValue& b) {
    const DecimalValue quotient = a.Divide(b);
    if (b.IsZero()) {
        FUZZ_REQUIRE(IsErrorValue(quotient, DecimalError::DivideByZero));
        return;
    }
    if (a.IsZero()) {
        FUZZ_REQUIRE(SameRecord(quotient, DecimalValue()));
        return;
    }
    const ExactDecimal dividend = BudgetMagnitude(a);
    const ExactDecimal divisor = BudgetMagnitude(b);
    const ExactDecimal limit = ExactInteger(static_cast<std::uint64_t>(MaxIntegerPart) + 1);
    if (CompareWithQuotient(limit, dividend, divisor) <= 0) {
        FUZZ_REQUIRE(IsErrorValue(quotient, DecimalError::Overflow));
        return;
    }
    if (quotient.errorCode == DecimalError::Overflow) {
        FUZZ_REQUIRE(IsErrorValue(quotient, DecimalError::Overflow));
        FUZZ_REQUIRE(CompareWithQuotient(UnitInPlace(TinyQuotientExponent), dividend, divisor) > 0);
        return;
    }
    FUZZ_REQUIRE(quotient.errorCode == DecimalError::None);
    FUZZ_REQUIRE(IsNormalised(quotient));
    FUZZ_REQUIRE(quotient.negative == ((a.negative == 1) != (b.negative == 1) ? 1u : 0u));
    // Truncated to twelve digits: kept <= exact < kept + one unit of the last digit.
    const ExactDecimal kept = Magnitude(ExactOf(quotient));
    FUZZ_REQUIRE(CompareWithQuotient(kept, dividend, divisor) <= 0);
    FUZZ_REQUIRE(CompareWithQuotient(Sum(kept, UnitOfLastDigit(kept)), dividend, divisor) > 0);
}

void CheckComparison(const DecimalValue& a, const DecimalValue& b) {
    const bool aNegative = a.negative != 0;
    const bool bNegative = b.negative != 0;
    // Only the flags count when they differ: -0 ranks below 0.
    const bool expected = aNegative != bNegative
                              ? bNegative
                              : Compare(ExactOf(a), ExactOf(b)) == std::strong_ordering::greater;
    FUZZ_REQUIRE(a.IsGreaterThan(b) == expected);
}

}  // namespace

void CheckArithmetic(Input input) {
    ByteReader reader(input);
    const bool held = reader.TakeFlag();
    const DecimalValue a = held ? HeldRecord(reader) : TakeRawRecord(reader);
    const DecimalValue b = held ? HeldRecord(reader) : TakeRawRecord(reader);

    for (const DecimalValue& result : {a.Add(b), a.Subtract(b), a.Multiply(b), a.Divide(b)}) {
        if (held) {
            CheckResultShape(result);
        } else {
            FormattedText(result, true);
        }
    }
    static_cast<void>(a.IsGreaterThan(b));
    static_cast<void>(b.IsGreaterThan(a));
    for (DecimalValue value : {a, b}) {
        value.Normalize();
        FormattedText(value, true);
    }
    if (!held) {
        // The shared routines accept any numbers too; their results are free.
        const auto count = reader.Take<std::int32_t>();
        std::int64_t numerator = a.numerator;
        std::int64_t denominator = a.denominator;
        StripTrailingZeros(numerator, denominator);
        TruncateFraction(numerator, denominator, count);
        static_cast<void>(DecimalExponent(a.integerPart));
        static_cast<void>(PowerOfTen(count));
        static_cast<void>(DigitAt(b.integerPart, count));
        static_cast<void>(
            MultiplyFractions({a.numerator, a.denominator}, {b.numerator, b.denominator}));
        static_cast<void>(LongDivide(a.integerPart, b.integerPart, b.denominator));
        return;  // results for records nobody can hold are free
    }
    CheckAdditive(a, b);
    CheckProduct(a, b);
    CheckQuotient(a, b);
    CheckComparison(a, b);
    CheckComparison(b, a);
}

}  // namespace fuzzcheck
