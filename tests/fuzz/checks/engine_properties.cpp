#include "engine_properties.h"

#include <cstring>
#include <optional>

#include "check.h"
#include "decimal_properties.h"
#include "exact_decimal.h"

namespace fuzzcheck {

namespace {

constexpr int MaxFractionDigits = 11;
constexpr std::uint32_t LastState = static_cast<std::uint32_t>(EngineState::Error);
constexpr std::uint32_t LastOperator = static_cast<std::uint32_t>(Operator::Divide);
constexpr std::uint32_t LastTaxState = static_cast<std::uint32_t>(TaxState::TaxAmount);
constexpr std::uint32_t LastRounding = static_cast<std::uint32_t>(TaxRounding::UpFromTenth);

constexpr std::int32_t Backspace = 0x08;
constexpr std::int32_t CarriageReturn = 0x0D;
constexpr std::string_view CommandLetters = "ACDGLMPRSTXZ";
constexpr std::string_view CommandSigns = "+-*/=%.";

std::int32_t UpperCase(std::int32_t character) {
    return character >= 'a' && character <= 'z' ? character - ('a' - 'A') : character;
}

bool IsCopy(std::int32_t character) {
    return UpperCase(character) == 'S';
}
bool IsPaste(std::int32_t character) {
    return UpperCase(character) == 'D';
}
bool IsTaxKey(std::int32_t character) {
    return UpperCase(character) == 'X' || UpperCase(character) == 'Z';
}

// An error code may stand next to digits: after a tax step leaves an error in the display
// without latching it, digits typed into the display keep the code.
void CheckRegister(const DecimalValue& value) {
    FUZZ_REQUIRE(value.errorCode == DecimalError::None ||
                 value.errorCode == DecimalError::DivideByZero ||
                 value.errorCode == DecimalError::Overflow);
    FUZZ_REQUIRE(IsWellFormedRecord(value));
    FUZZ_REQUIRE(value.integerPart <= MaxIntegerPart);
    FUZZ_REQUIRE(value.numerator < value.denominator);
    FUZZ_REQUIRE(FractionDigits(value) <= MaxFractionDigits);
    FUZZ_REQUIRE(value.negative <= 1);
}

// Where a paste takes the state: as the first digit of a new number would.
EngineState StateAfterPaste(EngineState state, Operator pending) {
    switch (state) {
        case EngineState::Cleared:
            return EngineState::EnteringFirst;
        case EngineState::Waiting:
        case EngineState::Result:
            return pending != Operator::None ? EngineState::EnteringSecond
                                             : EngineState::EnteringFirst;
        default:
            return state;
    }
}

// The tax-key cycle: where each key takes each tax state.
TaxState TaxStateAfter(TaxState before, bool included) {
    switch (before) {
        case TaxState::None:
            return included ? TaxState::Included : TaxState::Excluded;
        case TaxState::Included:
            return included ? TaxState::TaxAmount : TaxState::Excluded;
        case TaxState::Excluded:
            return included ? TaxState::Included : TaxState::TaxAmount;
        case TaxState::TaxAmount:
            break;
    }
    return TaxState::None;
}

void CheckTaxKey(const CalcEngine& engine, const EngineSnapshot& before, std::int32_t result,
                 bool included) {
    const auto taxBefore = static_cast<TaxState>(before.words[4]);
    FUZZ_REQUIRE(result == 1);
    // A pending operation is dropped; a digit typed next starts a new number.
    FUZZ_REQUIRE(engine.pendingOperator == Operator::None);
    FUZZ_REQUIRE(engine.fractionEntry == 0);
    if (engine.state == EngineState::Error) {
        FUZZ_REQUIRE(engine.taxState == TaxState::None);
        FUZZ_REQUIRE(engine.display.errorCode != DecimalError::None);
        FUZZ_REQUIRE(SameRecord(engine.display, DecimalValue(engine.display.errorCode)));
        return;
    }
    FUZZ_REQUIRE(engine.state == EngineState::Waiting);
    FUZZ_REQUIRE(engine.taxState == TaxStateAfter(taxBefore, included));
    if (taxBefore == TaxState::None) {
        FUZZ_REQUIRE(SameRecord(engine.taxBase, before.registers[0]));
    } else {
        FUZZ_REQUIRE(SameRecord(engine.taxBase, before.registers[7]));
    }
    // The cycle ends on the number it began with.
    if (taxBefore == TaxState::TaxAmount) {
        FUZZ_REQUIRE(SameRecord(engine.display, before.registers[7]));
    }
}

DecimalValue ParsedClipboard(const std::string& text) {
    std::string pasted(text.c_str());
    if (pasted.size() > PastedCharacters) {
        pasted.resize(PastedCharacters);
    }
    DecimalValue value;
    value.Parse(pasted);
    return value;
}

bool ClipboardWorks(const MemoryClipboard& clipboard) {
    return clipboard.available && clipboard.memoryLeft;
}

}  // namespace

EngineSnapshot::EngineSnapshot(const CalcEngine& engine)
    : registers{engine.display,    engine.leftOperand, engine.rightOperand, engine.memory,
                engine.grandTotal, engine.constant,    engine.taxRate,      engine.taxBase},
      words{static_cast<std::uint32_t>(engine.constantOperator),
            static_cast<std::uint32_t>(engine.state),
            engine.fractionEntry,
            static_cast<std::uint32_t>(engine.pendingOperator),
            static_cast<std::uint32_t>(engine.taxState),
            static_cast<std::uint32_t>(engine.taxRounding)} {}

bool operator==(const EngineSnapshot& a, const EngineSnapshot& b) {
    for (std::size_t i = 0; i < a.registers.size(); ++i) {
        if (!SameRecord(a.registers[i], b.registers[i])) {
            return false;
        }
    }
    return a.words == b.words;
}

bool IsCommandCharacter(std::int32_t character) {
    const std::int32_t upper = UpperCase(character);
    if ((upper >= '0' && upper <= '9') || upper == Backspace || upper == CarriageReturn) {
        return true;
    }
    if (upper < 0 || upper > 0x7F) {
        return false;
    }
    const char c = static_cast<char>(upper);
    return CommandLetters.find(c) != std::string_view::npos ||
           CommandSigns.find(c) != std::string_view::npos;
}

bool IsAllClear(std::int32_t character) {
    return character == Backspace || UpperCase(character) == 'A';
}

void CheckEngineShape(const CalcEngine& engine) {
    FUZZ_REQUIRE(static_cast<std::uint32_t>(engine.state) <= LastState);
    FUZZ_REQUIRE(static_cast<std::uint32_t>(engine.pendingOperator) <= LastOperator);
    FUZZ_REQUIRE(static_cast<std::uint32_t>(engine.constantOperator) <= LastOperator);
    FUZZ_REQUIRE(static_cast<std::uint32_t>(engine.taxState) <= LastTaxState);
    FUZZ_REQUIRE(static_cast<std::uint32_t>(engine.taxRounding) <= LastRounding);
    FUZZ_REQUIRE(engine.fractionEntry <= 1);
    for (const DecimalValue* value :
         {&engine.display, &engine.leftOperand, &engine.rightOperand, &engine.memory,
          &engine.grandTotal, &engine.constant, &engine.taxBase}) {
        CheckRegister(*value);
    }
    FUZZ_REQUIRE(FormattedText(engine.display, true).size() < LongestGroupedText);

    // The error state shows its error; an operator waits exactly while the second number
    // is typed, and may wait in Waiting.
    if (engine.state == EngineState::Error) {
        FUZZ_REQUIRE(engine.display.errorCode != DecimalError::None);
    } else if (engine.state == EngineState::EnteringSecond) {
        FUZZ_REQUIRE(engine.pendingOperator != Operator::None);
    } else if (engine.state != EngineState::Waiting) {
        FUZZ_REQUIRE(engine.pendingOperator == Operator::None);
    }
}

void CheckAllCleared(const CalcEngine& engine) {
    for (const DecimalValue* value :
         {&engine.display, &engine.leftOperand, &engine.rightOperand, &engine.memory,
          &engine.grandTotal, &engine.constant, &engine.taxBase}) {
        FUZZ_REQUIRE(SameRecord(*value, DecimalValue()));
    }
    FUZZ_REQUIRE(engine.state == EngineState::Cleared);
    FUZZ_REQUIRE(engine.constantOperator == Operator::None);
    FUZZ_REQUIRE(engine.pendingOperator == Operator::None);
    FUZZ_REQUIRE(engine.fractionEntry == 0);
    FUZZ_REQUIRE(engine.taxState == TaxState::None);
}

std::int32_t CheckedCommand(CalcEngine& engine, MemoryClipboard& clipboard,
                            std::int32_t character) {
    const EngineSnapshot before(engine);
    const std::optional<std::string> textBefore = clipboard.text;
    const bool wasError = engine.state == EngineState::Error;

    const std::int32_t result = engine.HandleCommand(character);
    FUZZ_REQUIRE(result == 0 || result == 1);
    CheckEngineShape(engine);
    const EngineSnapshot after(engine);
    // The tax settings are read once, when the engine is made.
    FUZZ_REQUIRE(SameRecord(after.registers[6], before.registers[6]));
    FUZZ_REQUIRE(after.words[5] == before.words[5]);
    if (!IsCopy(character)) {
        FUZZ_REQUIRE(clipboard.text == textBefore);
    }

    if (IsAllClear(character)) {
        FUZZ_REQUIRE(result == 1);
        CheckAllCleared(engine);
        return result;
    }
    if (!IsCommandCharacter(character) || wasError) {
        FUZZ_REQUIRE(result == 0);
        FUZZ_REQUIRE(after == before);
        FUZZ_REQUIRE(clipboard.text == textBefore);
        return result;
    }
    if (IsTaxKey(character)) {
        CheckTaxKey(engine, before, result, UpperCase(character) == 'Z');
    } else {
        FUZZ_REQUIRE(engine.taxState == TaxState::None);
    }

    if (IsCopy(character)) {
        // A copy changes nothing of the engine but the tax cycle.
        EngineSnapshot expected = before;
        expected.words[4] = static_cast<std::uint32_t>(TaxState::None);
        FUZZ_REQUIRE(after == expected);
        if (ClipboardWorks(clipboard)) {
            FUZZ_REQUIRE(result == 1);
            FUZZ_REQUIRE(clipboard.text.has_value() &&
                         *clipboard.text == FormattedText(engine.display, false));
        } else {
            FUZZ_REQUIRE(result == 0);
            FUZZ_REQUIRE(clipboard.text == textBefore);
        }
    }
    if (IsPaste(character)) {
        EngineSnapshot expected = before;
        expected.words[4] = static_cast<std::uint32_t>(TaxState::None);
        if (ClipboardWorks(clipboard) && textBefore.has_value()) {
            FUZZ_REQUIRE(result == 1);
            expected.registers[0] = ParsedClipboard(*textBefore);
            expected.words[1] = static_cast<std::uint32_t>(StateAfterPaste(
                static_cast<EngineState>(before.words[1]), static_cast<Operator>(before.words[3])));
        } else {
            FUZZ_REQUIRE(result == 0);
        }
        FUZZ_REQUIRE(after == expected);
    }
    return result;
}

}  // namespace fuzzcheck
