// The consumption-tax keys 税込 and 税抜 and the tax arithmetic behind them.
// At rate 8: 1000 税込 gives 1080 (税込), 税込 again 80 (税), and once more 1000.

#include <cstdint>

#include "engine/calc_engine.h"
#include "tax/tax_rules.h"

namespace {

constexpr std::int64_t PercentBase = 100;

// What one press of a tax key computes, by where the cycle stands and which key it is.
// Rows without the check leave an error value in display for a later check to latch.
struct TaxStep {
    AmountKind given;
    AmountKind wanted;
    bool checked;
    TaxState after;
};

constexpr TaxStep IncludedFromNone{AmountKind::TaxExcluded, AmountKind::TaxIncluded, true,
                                   TaxState::Included};
constexpr TaxStep ExcludedFromNone{AmountKind::TaxIncluded, AmountKind::TaxExcluded, false,
                                   TaxState::Excluded};
constexpr TaxStep IncludedAgain{AmountKind::TaxIncluded, AmountKind::TaxOnly, false,
                                TaxState::TaxAmount};
constexpr TaxStep ExcludedFromIncluded{AmountKind::TaxIncluded, AmountKind::TaxExcluded, true,
                                       TaxState::Excluded};
constexpr TaxStep IncludedFromExcluded{AmountKind::TaxExcluded, AmountKind::TaxIncluded, false,
                                       TaxState::Included};
constexpr TaxStep ExcludedAgain{AmountKind::TaxExcluded, AmountKind::TaxOnly, false,
                                TaxState::TaxAmount};

TaxStep StepFor(TaxState before, bool included) {
    if (before == TaxState::Included) {
        return included ? IncludedAgain : ExcludedFromIncluded;
    }
    if (before == TaxState::Excluded) {
        return included ? IncludedFromExcluded : ExcludedAgain;
    }
    return included ? IncludedFromNone : ExcludedFromNone;
}

}  // namespace

// Each step that can fail ends the computation with its own error value, so that a failed
// division or multiplication never turns into a plausible amount further on. An error the
// amount itself carries is not looked at.
DecimalValue CalcEngine::ComputeTax(DecimalValue amount, AmountKind given,
                                    AmountKind wanted) const {
    DecimalValue hundred;
    hundred.SetInteger(PercentBase);

    DecimalValue divisor = hundred;
    if (given == AmountKind::TaxIncluded) {
        divisor = hundred.Add(taxRate);
        if (divisor.HasError()) {
            return divisor;
        }
    }
    const DecimalValue share = amount.Divide(divisor);
    if (share.HasError()) {
        return share;
    }
    DecimalValue tax = share.Multiply(taxRate);
    if (tax.HasError()) {
        return tax;
    }
    RoundTax(tax, taxRounding);

    DecimalValue net = amount;
    if (given == AmountKind::TaxIncluded) {
        net = amount.Subtract(tax);
        if (net.HasError()) {
            return net;
        }
    }

    switch (wanted) {
        case AmountKind::TaxExcluded:
            return net;
        case AmountKind::TaxIncluded:
            return net.Add(tax);
        case AmountKind::TaxOnly:
            return tax;
    }
    return tax;
}

std::int32_t CalcEngine::TaxKey(bool included) {
    if (state == EngineState::Error) {
        return 0;
    }
    const TaxState before = taxState;
    // 100 + 200 税込 works on the 200 alone: the pending addition is dropped.
    state = EngineState::Waiting;
    fractionEntry = 0;
    pendingOperator = Operator::None;

    if (before == TaxState::TaxAmount) {
        display = taxBase;
        taxState = TaxState::None;
        return 1;
    }
    if (before == TaxState::None) {
        taxBase = display;
    }

    const TaxStep step = StepFor(before, included);
    display = ComputeTax(display, step.given, step.wanted);
    taxState = step.after;
    if (step.checked && CheckValueError(display)) {
        display = DecimalValue(display.errorCode);
        taxState = TaxState::None;
    }
    return 1;
}
