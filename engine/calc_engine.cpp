#include "engine/calc_engine.h"

namespace {

constexpr std::int32_t Backspace = 0x08;
constexpr std::int32_t CarriageReturn = 0x0D;

// Letters name the same command in either case; nothing outside a to z is folded.
constexpr std::int32_t FoldCase(std::int32_t character) {
    return character >= 'a' && character <= 'z' ? character - ('a' - 'A') : character;
}

}  // namespace

CalcEngine::CalcEngine(const EnginePlatform& platform)
    : installation_(platform.installation), clock_(platform.clock), clipboard_(platform.clipboard) {
    // The registers start as zero by their own construction.
    LoadTaxSettings();
    AllClearKey();
}

std::int32_t CalcEngine::HandleCommand(std::int32_t character) {
    const std::int32_t command = FoldCase(character);
    if (command >= '0' && command <= '9') {
        return DigitKey(command);
    }
    switch (command) {
        case Backspace:
        case 'A':
            return AllClearKey();
        case CarriageReturn:
        case '=':
            return EqualsKey(false);
        case '%':
            return EqualsKey(true);
        case '+':
        case '-':
        case '*':
        case '/':
            return OperatorKey(command);
        case '.':
            return PointKey();
        case 'C':
            return ClearKey();
        case 'D':
            return ClipboardKey(true);
        case 'G':
            return GrandTotalKey();
        case 'L':
            return MemoryMinusKey();
        case 'M':
            return SignKey();
        case 'P':
            return MemoryPlusKey();
        case 'R':
            return MemoryRecallKey();
        case 'S':
            return ClipboardKey(false);
        case 'T':
            return MemoryClearKey();
        case 'X':
            return TaxKey(false);
        case 'Z':
            return TaxKey(true);
        default:
            return 0;
    }
}

bool CalcEngine::BeginCommand() {
    if (state == EngineState::Error) {
        return false;
    }
    taxState = TaxState::None;
    return true;
}

// The only way out of the error state; it empties memory and the grand total as well.
std::int32_t CalcEngine::AllClearKey() {
    for (DecimalValue* reg :
         {&display, &leftOperand, &rightOperand, &memory, &grandTotal, &constant, &taxBase}) {
        reg->SetInteger(0);
    }
    constantOperator = Operator::None;
    state = EngineState::Cleared;
    fractionEntry = 0;
    pendingOperator = Operator::None;
    taxState = TaxState::None;
    return 1;
}

// 12 + 5 C 3 = gives 15: C clears only the number being typed.
std::int32_t CalcEngine::ClearKey() {
    if (!BeginCommand()) {
        return 0;
    }
    DecimalValue* operand = nullptr;
    if (state == EngineState::EnteringFirst) {
        operand = &leftOperand;
    } else if (state == EngineState::EnteringSecond) {
        operand = &rightOperand;
    } else {
        return 0;
    }
    display.SetInteger(0);
    operand->SetInteger(0);
    fractionEntry = 0;
    return 1;
}
