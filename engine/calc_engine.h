#pragma once

// The calculator proper: registers, states and one entry for command characters.
// It knows nothing of windows; what it needs from outside comes through EnginePlatform.

#include <cstddef>
#include <cstdint>

#include "decimal/decimal_value.h"
#include "engine/platform.h"
#include "tax/tax_rules.h"

enum class EngineState : std::uint32_t {
    Cleared = 0,
    EnteringFirst = 1,
    Waiting = 2,
    EnteringSecond = 3,
    Result = 4,
    Error = 5,
};

// The order matters: codes below Multiply are the additive ones.
enum class Operator : std::uint32_t {
    None = 0,
    Add = 1,
    Subtract = 2,
    Multiply = 3,
    Divide = 4,
};

enum class TaxState : std::uint32_t {
    None = 0,
    Included = 1,
    Excluded = 2,
    TaxAmount = 3,
};

enum class AmountKind : std::uint32_t {
    TaxExcluded = 0,
    TaxIncluded = 1,
    TaxOnly = 2,
};

class CalcEngine {
  public:
    explicit CalcEngine(const EnginePlatform& platform);
    virtual ~CalcEngine() = default;

    CalcEngine(const CalcEngine&) = delete;
    CalcEngine& operator=(const CalcEngine&) = delete;

    // 1 when the display may have changed, 0 when the command was refused.
    std::int32_t HandleCommand(std::int32_t character);

    std::int32_t AllClearKey();
    std::int32_t ClearKey();
    std::int32_t DigitKey(std::int32_t character);
    std::int32_t PointKey();
    std::int32_t SignKey();
    std::int32_t OperatorKey(std::int32_t character);
    std::int32_t EqualsKey(bool percent);
    std::int32_t MemoryPlusKey();
    std::int32_t MemoryMinusKey();
    std::int32_t MemoryRecallKey();
    std::int32_t MemoryClearKey();
    std::int32_t GrandTotalKey();
    std::int32_t ClipboardKey(bool paste);
    std::int32_t TaxKey(bool included);

    DecimalValue Compute(DecimalValue a, DecimalValue b, Operator op) const;
    bool CheckErrors();
    bool CheckValueError(DecimalValue value);

    bool QueryInstallDir(char* buffer, std::size_t size, bool programFolder) const;
    void LoadTaxSettings();
    DecimalValue ComputeTax(DecimalValue amount, AmountKind given, AmountKind wanted) const;

    DecimalValue display;
    DecimalValue leftOperand;
    DecimalValue rightOperand;
    DecimalValue memory;
    DecimalValue grandTotal;
    DecimalValue constant;
    Operator constantOperator = Operator::None;
    EngineState state = EngineState::Cleared;
    std::uint32_t fractionEntry = 0;
    Operator pendingOperator = Operator::None;
    TaxState taxState = TaxState::None;
    DecimalValue taxRate;
    DecimalValue taxBase;
    TaxRounding taxRounding = TaxRounding::Truncate;

  private:
    // The gate of every key but AC and the tax keys: false in the error state, where
    // nothing may change; otherwise the tax cycle ends, also when the key then refuses.
    bool BeginCommand();
    // Where the first digit of a new number (or a paste) takes the engine.
    EngineState NewNumberState() const;

    std::int32_t EqualsOnTypedNumber(bool percent);
    std::int32_t EqualsCompletingCalculation(bool percent);
    std::int32_t EqualsAfterOperator(bool percent);
    std::int32_t EqualsRepeated(bool percent);
    std::int32_t MemoryAccumulateKey(bool subtract);
    void AddToGrandTotal();

    const Installation& installation_;
    const Clock& clock_;
    Clipboard& clipboard_;
};
