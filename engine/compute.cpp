#include "engine/calc_engine.h"

// Failures come back as error values; latching them is left to the checks below.
DecimalValue CalcEngine::Compute(DecimalValue a, DecimalValue b, Operator op) const {
    switch (op) {
        case Operator::Add:
            return a.Add(b);
        case Operator::Subtract:
            return a.Subtract(b);
        case Operator::Multiply:
            return a.Multiply(b);
        case Operator::Divide:
            return a.Divide(b);
        case Operator::None:
            break;
    }
    return DecimalValue();
}

bool CalcEngine::CheckErrors() {
    if (display.HasError()) {
        state = EngineState::Error;
        return true;
    }
    // The order decides which code is shown when several registers carry one.
    for (const DecimalValue* reg : {&leftOperand, &rightOperand, &constant, &memory, &grandTotal}) {
        if (reg->HasError()) {
            display = *reg;
            state = EngineState::Error;
            return true;
        }
    }
    return false;
}

bool CalcEngine::CheckValueError(DecimalValue value) {
    if (!value.HasError()) {
        return false;
    }
    display = value;
    state = EngineState::Error;
    return true;
}
