#include "engine/calc_engine.h"

std::int32_t CalcEngine::MemoryPlusKey() {
    return MemoryAccumulateKey(false);
}

std::int32_t CalcEngine::MemoryMinusKey() {
    return MemoryAccumulateKey(true);
}

// 2 + 3 M+ puts 5 in memory: a typed second operand completes the calculation first,
// without touching the grand total and without leaving a constant behind.
std::int32_t CalcEngine::MemoryAccumulateKey(bool subtract) {
    if (!BeginCommand()) {
        return 0;
    }
    if (state == EngineState::EnteringSecond && pendingOperator != Operator::None) {
        display = Compute(leftOperand, display, pendingOperator);
        if (CheckErrors()) {
            return 1;
        }
        constant.SetInteger(0);
        constantOperator = Operator::None;
        pendingOperator = Operator::None;
    }
    memory = subtract ? memory.Subtract(display) : memory.Add(display);
    state = EngineState::Waiting;
    CheckErrors();
    return 1;
}

// With 7 in memory, 5 + MR = shows 7 and sets up + 7 as the constant: the recalled value
// is not taken as the second operand, so = acts as right after the operator key.
std::int32_t CalcEngine::MemoryRecallKey() {
    if (!BeginCommand()) {
        return 0;
    }
    display = memory;
    state = EngineState::Waiting;
    return 1;
}

std::int32_t CalcEngine::MemoryClearKey() {
    if (!BeginCommand()) {
        return 0;
    }
    memory.SetInteger(0);
    return 1;
}

std::int32_t CalcEngine::GrandTotalKey() {
    if (!BeginCommand()) {
        return 0;
    }
    display = grandTotal;
    state = EngineState::Waiting;
    return 1;
}
