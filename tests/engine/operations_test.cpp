// Operators, equals and percent: chains, constants, every percent form, what the grand
// total receives, and the errors they latch.

#include <gtest/gtest.h>

#include "engine_harness.h"

namespace {

struct CalculationCase {
    const char* keys;
    std::int32_t lastResult;
    const char* display;
    EngineState state;
    const char* grandTotal;
    DecimalError error = DecimalError::None;
};

void ExpectRows(std::initializer_list<CalculationCase> rows) {
    for (const CalculationCase& row : rows) {
        SCOPED_TRACE(row.keys);
        TestEngine t;
        EXPECT_EQ(t.Press(row.keys), row.lastResult);
        EXPECT_EQ(Shown(t.engine.display), row.display);
        EXPECT_EQ(t.engine.state, row.state);
        EXPECT_EQ(Shown(t.engine.grandTotal), row.grandTotal);
        EXPECT_EQ(t.engine.display.errorCode, row.error);
    }
}

using enum EngineState;
constexpr DecimalError DivideByZero = DecimalError::DivideByZero;
constexpr DecimalError Overflow = DecimalError::Overflow;

TEST(Operations, ImmediateExecutionChains) {
    ExpectRows({
        {"2+3*4=", 1, "20", Result, "20"},
        {"2+3*4", 1, "4", EnteringSecond, "0"},
        {"2+3*", 1, "5", Waiting, "0"},
        {"2+3+4=", 1, "9", Result, "9"},
        {"5+-3=", 1, "2", Result, "2"},
        {"5+-*3=", 1, "15", Result, "15"},
        {"10-4*2/3=", 1, "4", Result, "4"},
        {"+3=", 1, "3", Result, "3"},
        {"*3=", 1, "0", Result, "0"},
        {"2+3=*4=", 1, "20", Result, "25"},
        {"2+3=4+1=", 1, "5", Result, "10"},
        {"1.5*1.2=", 1, "1.8", Result, "1.8"},
        {"7M-2=", 1, "-9", Result, "-9"},
        {"1/3=", 1, "0.33333333333", Result, "0.33333333333"},
        {"999999999998+1=", 1, "999,999,999,999", Result, "999,999,999,999"},
    });
}

TEST(Operations, ErrorsLatch) {
    ExpectRows({
        {"1/0=", 1, "0", Error, "0", DivideByZero},
        {"5/0+", 1, "0", Error, "0", DivideByZero},
        {"0/=", 1, "0", Error, "0", DivideByZero},
        {"999999999999+1=", 1, "0", Error, "0", Overflow},
        {"999999999999+1-", 1, "0", Error, "0", Overflow},
        {"1000000*1000000=", 1, "0", Error, "0", Overflow},
        {"999999999999M-1=", 1, "0", Error, "0", Overflow},
        {"5/0=3", 0, "0", Error, "0", DivideByZero},
    });
}

TEST(Constants, RepeatedEqualsAndNewNumbers) {
    ExpectRows({
        {"10-4=", 1, "6", Result, "6"},
        {"10-4==", 1, "2", Waiting, "8"},
        {"3*4==", 1, "36", Waiting, "48"},
        {"8/2==", 1, "2", Waiting, "6"},
        {"2+3==", 1, "8", Waiting, "13"},
        // The multiplicand is the constant of ×; the second operand that of the others.
        {"3*4=5=", 1, "15", Waiting, "27"},
        {"10-4=7=", 1, "3", Waiting, "9"},
        {"8/2=6=", 1, "3", Waiting, "7"},
        {"2+3=10=", 1, "13", Waiting, "18"},
        {"5+=", 1, "5", Waiting, "0"},
        {"5+==", 1, "10", Waiting, "10"},
        {"5+===", 1, "15", Waiting, "25"},
        {"5-==", 1, "0", Waiting, "0"},
        {"5*=", 1, "25", Waiting, "25"},
        {"5*==", 1, "125", Waiting, "150"},
        {"4/=", 1, "0.25", Waiting, "0.25"},
        {"4/==", 1, "0.0625", Waiting, "0.3125"},
        {"5=", 1, "5", Waiting, "5"},
        {"5==", 1, "5", Waiting, "5"},
        {"5=7=", 1, "7", Waiting, "12"},
        {"1000000*1=1000000=", 1, "0", Error, "1,000,000", Overflow},
        {"999999*1000000==", 1, "0", Error, "999,999,000,000", Overflow},
    });
}

TEST(Percent, SecondNumberTyped) {
    ExpectRows({
        {"200+5%", 1, "210", Result, "210"},
        {"200-5%", 1, "190", Result, "190"},
        {"200*5%", 1, "10", Result, "1,000"},
        {"50/200%", 1, "25", Result, "0.25"},
        // The add-on constant is the first operand.
        {"200+5%=", 1, "410", Waiting, "620"},
        {"200-5%=", 1, "-10", Waiting, "180"},
        {"200*5%=", 1, "2,000", Waiting, "3,000"},
        {"50/200%=", 1, "0.125", Waiting, "0.375"},
        {"999999999999+1000%", 1, "0", Error, "0", Overflow},
        {"999999999999/1%", 1, "0", Error, "999,999,999,999", Overflow},
        {"5/0%", 1, "0", Error, "0", DivideByZero},
    });
}

TEST(Percent, RightAfterTheOperatorKey) {
    ExpectRows({
        {"5+%", 0, "5", Waiting, "0"},
        {"5-%", 0, "5", Waiting, "0"},
        {"5+%3=", 1, "8", Result, "8"},
        {"5*%", 1, "0.25", Waiting, "25"},
        {"5/%", 1, "20", Waiting, "0.2"},
        {"0/%", 1, "0", Error, "0", DivideByZero},
    });
}

TEST(Percent, NewNumberUnderAConstant) {
    ExpectRows({
        {"200*5%7%", 1, "14", Waiting, "1,014"},
        {"50/200%30%", 1, "15", Waiting, "15.25"},
        {"200+5%7%", 0, "7", EnteringFirst, "210"},
        {"200-5%7%", 0, "7", EnteringFirst, "190"},
        {"3*4=5%", 1, "0.15", Waiting, "12.15"},
        // An overflow of the constant calculation latches before any scaling.
        {"1000000*1=1000000%", 1, "0", Error, "1,000,000", Overflow},
        {"1/.001=999999999999%", 1, "0", Error, "1,000", Overflow},
    });
}

TEST(Percent, AgainOnTheResult) {
    ExpectRows({
        {"200*5%%", 1, "20", Waiting, "3,000"},
        {"50/200%%", 1, "12.5", Waiting, "0.375"},
        {"200+5%%", 0, "210", Result, "210"},
        {"200-5%%", 0, "190", Result, "190"},
        {"5*=%", 1, "1.25", Waiting, "150"},
        {"1000*1000=%", 1, "10,000,000", Waiting, "1,001,000,000"},
        {"1000000*1=%", 1, "0", Error, "1,000,000", Overflow},
    });
}

TEST(Percent, WithoutAConstant) {
    ExpectRows({
        {"5%", 1, "5", Waiting, "5"},
        {"5%%", 1, "5", Waiting, "5"},
        {"1.5%", 1, "1.5", Waiting, "1.5"},
    });
}

TEST(GrandTotal, RecallsTheSumOfResults) {
    ExpectRows({
        {"2*3=4*5=G", 1, "26", Waiting, "26"},
        {"2*3=4*5=GG", 1, "26", Waiting, "26"},
        {"2+3+4G", 1, "0", Waiting, "0"},
        {"5=G", 1, "5", Waiting, "5"},
        {"2*3=G+1=", 1, "7", Result, "13"},
        {"5=AG", 1, "0", Waiting, "0"},
        {"999999999999=1=", 1, "0", Error, "0", Overflow},
    });
}

// Only = and % set up the constant and feed the grand total; a chain's intermediate
// results do neither.
TEST(Operations, OperatorKeysLeaveConstantAndGrandTotalAlone) {
    TestEngine t;
    t.Press("3*4=");
    for (const char* keys : {"+", "-", "5*", "2/", "7+1-"}) {
        SCOPED_TRACE(keys);
        t.Press(keys);
        EXPECT_EQ(t.engine.constantOperator, Operator::Multiply);
        EXPECT_EQ(Shown(t.engine.constant), "3");
        EXPECT_EQ(Shown(t.engine.grandTotal), "12");
    }
}

// Values left in a register with an error code (as an unchecked tax step can leave them)
// are latched by the next check wherever they sit.
TEST(ErrorLatch, AnErrorCodeInAnyRegisterIsLatchedByTheNextCheck) {
    TestEngine t;
    t.Press("9");
    t.engine.display = DecimalValue(DecimalError::Overflow);
    t.engine.state = EngineState::Waiting;
    EXPECT_EQ(t.Press("5"), 1);
    EXPECT_EQ(t.engine.display.errorCode, DecimalError::Overflow) << "typing keeps the code";
    EXPECT_EQ(t.Press("+3"), 1);
    EXPECT_EQ(t.engine.state, EngineState::EnteringSecond);
    EXPECT_EQ(t.Press("="), 1);
    EXPECT_EQ(t.engine.state, EngineState::Error);
    EXPECT_EQ(t.engine.display.errorCode, DecimalError::Overflow);
}

TEST(ErrorLatch, RecallReplacesACodeLeftOnDisplay) {
    TestEngine t;
    t.Press("7P");
    t.engine.display = DecimalValue(DecimalError::Overflow);
    EXPECT_EQ(t.Press("R"), 1);
    EXPECT_FALSE(t.engine.display.HasError());
    EXPECT_EQ(Shown(t.engine.display), "7");
    EXPECT_EQ(t.engine.state, EngineState::Waiting);
}

}  // namespace
