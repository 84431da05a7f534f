#include "engine/calc_engine.h"

EngineState CalcEngine::NewNumberState() const {
    switch (state) {
        case EngineState::Cleared:
            return EngineState::EnteringFirst;
        case EngineState::Waiting:
        case EngineState::Result:
            return pendingOperator != Operator::None ? EngineState::EnteringSecond
                                                     : EngineState::EnteringFirst;
        case EngineState::EnteringFirst:
        case EngineState::EnteringSecond:
        case EngineState::Error:
            break;
    }
    return state;
}

std::int32_t CalcEngine::DigitKey(std::int32_t character) {
    if (!BeginCommand()) {
        return 0;
    }
    if (character < '0' || character > '9') {
        return 0;
    }
    const char digit = static_cast<char>(character);
    // 0 + 0 stays at "0 +": a number never starts with 0 unless the point came first.
    if (digit == '0' && display.IsZero() && fractionEntry == 0) {
        return 0;
    }
    const bool afterPoint = fractionEntry != 0;
    if (state == EngineState::EnteringFirst || state == EngineState::EnteringSecond) {
        return display.AppendDigit(digit, afterPoint, false) ? 1 : 0;
    }
    display.negative = 0;
    display.AppendDigit(digit, afterPoint, true);
    state = NewNumberState();
    return 1;
}

// The point shows with the first fraction digit, so there is nothing to repaint yet.
std::int32_t CalcEngine::PointKey() {
    if (!BeginCommand()) {
        return 0;
    }
    fractionEntry = 1;
    return 0;
}

// 5 M 3 shows -53: the sign stays with the number being typed.
std::int32_t CalcEngine::SignKey() {
    if (!BeginCommand()) {
        return 0;
    }
    if (display.IsZero()) {
        return 0;
    }
    display.negative = display.negative != 0 ? 0 : 1;
    return 1;
}
