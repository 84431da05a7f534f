// The calculation step and the two checks that latch its errors.

#include <gtest/gtest.h>

#include "engine_harness.h"

namespace {

DecimalValue Whole(std::int64_t v) {
    DecimalValue value;
    value.SetInteger(v);
    return value;
}

TEST(Compute, AppliesTheOperatorWithTheLeftOperandFirst) {
    const struct {
        Operator op;
        const char* result;
        DecimalError error;
    } rows[] = {
        {Operator::Add, "10", DecimalError::None},
        {Operator::Subtract, "6", DecimalError::None},
        {Operator::Multiply, "16", DecimalError::None},
        {Operator::Divide, "4", DecimalError::None},
        {Operator::None, "0", DecimalError::None},
        {static_cast<Operator>(7), "0", DecimalError::None},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.op));
        TestEngine t;
        const std::string before = Fields(t.engine);
        const DecimalValue result = t.engine.Compute(Whole(8), Whole(2), row.op);
        EXPECT_EQ(Shown(result), row.result);
        EXPECT_EQ(result.errorCode, row.error);
        EXPECT_EQ(Fields(t.engine), before);
    }
}

TEST(Compute, PassesErrorsOnWithoutLatchingThem) {
    TestEngine t;
    const DecimalValue quotient = t.engine.Compute(Whole(5), Whole(0), Operator::Divide);
    EXPECT_EQ(quotient.errorCode, DecimalError::DivideByZero);
    EXPECT_EQ(t.engine.state, EngineState::Cleared);
    // The operands' own codes are not looked at.
    DecimalValue flagged = Whole(5);
    flagged.errorCode = DecimalError::Overflow;
    EXPECT_EQ(t.engine.Compute(flagged, Whole(1), Operator::Add).errorCode, DecimalError::None);
}

using Register = DecimalValue CalcEngine::*;
constexpr Register Display = &CalcEngine::display;
constexpr Register Left = &CalcEngine::leftOperand;
constexpr Register Right = &CalcEngine::rightOperand;
constexpr Register Constant = &CalcEngine::constant;
constexpr Register Memory = &CalcEngine::memory;
constexpr Register GrandTotal = &CalcEngine::grandTotal;

TEST(CheckErrors, LatchesTheFirstCodeInRegisterOrder) {
    const struct {
        const char* name;
        std::initializer_list<Register> flagged;  // given codes 1, 2, ... in this order
        DecimalError shown;
        const char* display;
    } rows[] = {
        {"display only", {Display}, DecimalError::DivideByZero, "9"},
        {"display before the others", {GrandTotal, Display}, DecimalError::Overflow, "9"},
        {"left operand", {Left}, DecimalError::DivideByZero, "1"},
        {"right before constant", {Constant, Right}, DecimalError::Overflow, "2"},
        {"constant before memory", {Memory, Constant}, DecimalError::Overflow, "3"},
        {"memory before grand total", {GrandTotal, Memory}, DecimalError::Overflow, "4"},
        {"grand total last", {GrandTotal}, DecimalError::DivideByZero, "5"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TestEngine t;
        t.Press("7+2");
        t.engine.display = Whole(9);
        t.engine.leftOperand = Whole(1);
        t.engine.rightOperand = Whole(2);
        t.engine.constant = Whole(3);
        t.engine.memory = Whole(4);
        t.engine.grandTotal = Whole(5);
        std::uint32_t code = 1;
        for (Register reg : row.flagged) {
            (t.engine.*reg).errorCode = static_cast<DecimalError>(code++);
        }
        EXPECT_TRUE(t.engine.CheckErrors());
        EXPECT_EQ(t.engine.state, EngineState::Error);
        EXPECT_EQ(t.engine.display.errorCode, row.shown);
        EXPECT_EQ(Shown(t.engine.display), row.display) << "copied whole";
    }
}

TEST(CheckErrors, WithoutCodesNothingChanges) {
    TestEngine t;
    t.Press("5P7+2");
    const std::string before = Fields(t.engine);
    EXPECT_FALSE(t.engine.CheckErrors());
    EXPECT_EQ(Fields(t.engine), before);
}

TEST(CheckValueError, LatchesOnlyAValueWithACode) {
    TestEngine t;
    t.Press("7+2");
    const std::string before = Fields(t.engine);
    EXPECT_FALSE(t.engine.CheckValueError(Whole(3)));
    EXPECT_EQ(Fields(t.engine), before);

    EXPECT_TRUE(t.engine.CheckValueError(DecimalValue(DecimalError::Overflow)));
    EXPECT_EQ(t.engine.state, EngineState::Error);
    EXPECT_EQ(t.engine.display.errorCode, DecimalError::Overflow);
    EXPECT_TRUE(t.engine.display.IsZero());
}

}  // namespace
