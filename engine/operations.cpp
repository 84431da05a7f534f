#include "engine/calc_engine.h"

namespace {

DecimalValue WholeNumber(std::int64_t v) {
    DecimalValue value;
    value.SetInteger(v);
    return value;
}

// The codes below Multiply are the additive ones, which percent treats as add-on/discount.
bool IsAdditive(Operator op) {
    return op == Operator::Add || op == Operator::Subtract;
}

Operator OperatorFor(std::int32_t character) {
    switch (character) {
        case '+':
            return Operator::Add;
        case '-':
            return Operator::Subtract;
        case '*':
            return Operator::Multiply;
        case '/':
            return Operator::Divide;
        default:
            return Operator::None;
    }
}

// Percent under × takes the hundredth of the product, under ÷ the quotient in hundreds.
DecimalValue PercentScaled(const DecimalValue& value, Operator op) {
    if (op == Operator::Multiply) {
        return value.Divide(WholeNumber(100));
    }
    if (op == Operator::Divide) {
        return value.Multiply(WholeNumber(100));
    }
    return value;
}

}  // namespace

// 2 + 3 × 4 = gives 20: each operator key completes the calculation that was waiting.
std::int32_t CalcEngine::OperatorKey(std::int32_t character) {
    if (!BeginCommand()) {
        return 0;
    }
    const Operator op = OperatorFor(character);
    if (op == Operator::None) {
        return 0;
    }
    if (state == EngineState::EnteringSecond) {
        rightOperand = display;
        display = Compute(leftOperand, rightOperand, pendingOperator);
        if (CheckErrors()) {
            return 1;
        }
    }
    // Right after another operator key this replaces it: 5 + - 3 = gives 2.
    leftOperand = display;
    pendingOperator = op;
    fractionEntry = 0;
    state = EngineState::Waiting;
    return 1;
}

std::int32_t CalcEngine::EqualsKey(bool percent) {
    if (!BeginCommand()) {
        return 0;
    }
    switch (state) {
        case EngineState::EnteringFirst:
            return EqualsOnTypedNumber(percent);
        case EngineState::EnteringSecond:
            return EqualsCompletingCalculation(percent);
        case EngineState::Waiting:
        case EngineState::Result:
            return pendingOperator != Operator::None ? EqualsAfterOperator(percent)
                                                     : EqualsRepeated(percent);
        case EngineState::Cleared:
        case EngineState::Error:
            break;
    }
    return 0;
}

void CalcEngine::AddToGrandTotal() {
    grandTotal = grandTotal.Add(display);
}

// 3 × 4 = then 5 = gives 15: a new number takes the constant's operation; without a
// constant the typed number itself goes to the grand total.
std::int32_t CalcEngine::EqualsOnTypedNumber(bool percent) {
    if (percent && IsAdditive(constantOperator)) {
        return 0;
    }
    if (constantOperator != Operator::None) {
        display = Compute(display, constant, constantOperator);
        // Latch before scaling: the scaled error value would pass for a clean 0.
        if (CheckErrors()) {
            return 1;
        }
        if (percent) {
            display = PercentScaled(display, constantOperator);
        }
    }
    AddToGrandTotal();
    if (CheckErrors()) {
        return 1;
    }
    fractionEntry = 0;
    state = EngineState::Waiting;
    return 1;
}

// L P D = (or %) with the second number typed; it also sets up the constant.
std::int32_t CalcEngine::EqualsCompletingCalculation(bool percent) {
    const Operator op = pendingOperator;
    if (op == Operator::None) {
        return 0;
    }
    constantOperator = op;
    rightOperand = display;
    constant = op == Operator::Multiply || (percent && IsAdditive(op)) ? leftOperand : rightOperand;
    if (!percent) {
        display = Compute(leftOperand, rightOperand, op);
        AddToGrandTotal();
        if (CheckErrors()) {
            return 1;
        }
    } else if (IsAdditive(op)) {
        // 200 + 5 % gives 210 (add-on), 200 - 5 % gives 190 (discount).
        DecimalValue share = Compute(leftOperand, WholeNumber(100), Operator::Divide);
        if (CheckValueError(share)) {
            return 1;
        }
        share = Compute(share, rightOperand, Operator::Multiply);
        if (CheckValueError(share)) {
            return 1;
        }
        display = Compute(leftOperand, share, op);
        AddToGrandTotal();
        if (CheckErrors()) {
            return 1;
        }
    } else {
        // 200 × 5 % gives 10 and 50 ÷ 200 % gives 25; the grand total takes 1000 and 0.25.
        display = Compute(leftOperand, rightOperand, op);
        AddToGrandTotal();
        if (CheckErrors()) {
            return 1;
        }
        display = PercentScaled(display, op);
        if (CheckErrors()) {
            return 1;
        }
    }
    state = EngineState::Result;
    pendingOperator = Operator::None;
    fractionEntry = 0;
    return 1;
}

// = right after an operator key: 5 × = squares, 4 ÷ = takes the reciprocal, and 5 + =
// only sets up the constant (a further = gives 10).
std::int32_t CalcEngine::EqualsAfterOperator(bool percent) {
    const Operator op = pendingOperator;
    if (percent && IsAdditive(op)) {
        return 0;
    }
    constant = display;
    constantOperator = op;
    if (!IsAdditive(op)) {
        display = op == Operator::Multiply ? Compute(display, constant, op)
                                           : Compute(WholeNumber(1), constant, op);
        AddToGrandTotal();
        if (CheckErrors()) {
            return 1;
        }
        if (percent) {
            display = PercentScaled(display, op);
            if (CheckErrors()) {
                return 1;
            }
        }
    }
    pendingOperator = Operator::None;
    state = EngineState::Waiting;
    fractionEntry = 0;
    return 1;
}

// 10 - 4 = = gives 6, then 2: a repeated = applies the constant again.
std::int32_t CalcEngine::EqualsRepeated(bool percent) {
    if (constantOperator == Operator::None) {
        state = EngineState::Waiting;
        fractionEntry = 0;
        return 1;
    }
    if (percent && IsAdditive(constantOperator)) {
        return 0;
    }
    display = Compute(display, constant, constantOperator);
    if (CheckErrors()) {
        return 1;
    }
    // The grand total takes the value before the scaling.
    AddToGrandTotal();
    if (percent) {
        display = PercentScaled(display, constantOperator);
    }
    if (CheckErrors()) {
        return 1;
    }
    state = EngineState::Waiting;
    fractionEntry = 0;
    return 1;
}
