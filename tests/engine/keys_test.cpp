// Key sequences on a fresh engine: number entry, C, operators with = and %, constants, the
// grand total and memory.

#include "engine_harness.h"

namespace {

using enum EngineState;

TEST(Keys, NumberEntry) {
    ExpectKeys({
        {"0", 0, "0", Cleared},
        {".0", 1, "0.0", EnteringFirst},
        {"007", 1, "7", EnteringFirst},
        {"..5", 1, "0.5", EnteringFirst},
        {"1.2.3", 1, "1.23", EnteringFirst},
        {"12.50", 1, "12.50", EnteringFirst},
        {"7.", 0, "7", EnteringFirst},
        {"5+3=.", 0, "8", Result},
        {"5M3", 1, "-53", EnteringFirst},
        {"5MM", 1, "5", EnteringFirst},
        {".M", 0, "0", Cleared},
        {".5M", 1, "-0.5", EnteringFirst},
        {"5+3=M", 1, "-8", Result},
        {"5+M3=", 1, "8", Result},  // the negated copy is lost to the new number
        {"5+0", 1, "0", EnteringSecond},
        {"0+0", 0, "0", Waiting},
        {"3-3=0", 0, "0", Result},
        {"3-3=5", 1, "5", EnteringFirst},
        {"2+3+4", 1, "4", EnteringSecond},
        {"1.5+2", 1, "2", EnteringSecond},
        {"2.5p3", 1, "0.3", EnteringFirst},  // the point survives M+
        {"1234567890123", 0, "123,456,789,012", EnteringFirst},
        {"5+1234567890123", 0, "123,456,789,012", EnteringSecond},
    });
}

TEST(Keys, WhichKeysClearThePoint) {
    const struct {
        const char* keys;
        std::uint32_t fractionEntry;
    } rows[] = {
        {"1.5+", 0},   {"1.5=", 0}, {"1.5%", 0},  {"1.5+2=", 0}, {"1.5+2%", 0}, {"1.5C", 0},
        {"1.5+2C", 0}, {"1.5A", 0}, {"1.5+.", 1}, {"1.5P", 1},   {"1.5L", 1},   {"1.5R", 1},
        {"1.5G", 1},   {"1.5T", 1}, {"1.5M", 1},  {"1.5+.2", 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.keys);
        TestEngine t;
        t.Press(row.keys);
        EXPECT_EQ(t.engine.fractionEntry, row.fractionEntry);
    }
}

TEST(Keys, ClearInEveryState) {
    const struct {
        const char* keys;  // before C
        std::int32_t result;
        const char* shown;
        EngineState state;
        const char* thenKeys;
        const char* thenShown;
    } rows[] = {
        {"", 0, "0", Cleared, "3", "3"},
        {"12", 1, "0", EnteringFirst, "3=", "3"},
        {"1.5", 1, "0", EnteringFirst, "5", "5"},
        {"5+", 0, "5", Waiting, "2=", "7"},
        {"12+5.5", 1, "0", EnteringSecond, "3=", "15"},
        {"2+3=", 0, "5", Result, "=", "8"},
        {"1/0=", 0, "0 DivideByZero", Error, "5", "0 DivideByZero"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.keys);
        TestEngine t;
        t.Press(row.keys);
        const std::string before = Fields(t);
        EXPECT_EQ(t.Press("C"), row.result);
        if (row.result == 0) {
            EXPECT_EQ(Fields(t), before);
        }
        EXPECT_EQ(Shown(t.engine.display), row.shown);
        EXPECT_EQ(t.engine.state, row.state);
        t.Press(row.thenKeys);
        EXPECT_EQ(Shown(t.engine.display), row.thenShown);
    }
}

TEST(Keys, OperatorsAndEquals) {
    ExpectKeys({
        {"=", 0, "0", Cleared, "0"},
        {"%", 0, "0", Cleared, "0"},
        {"2+3*4=", 1, "20", Result, "20"},
        {"2+3*", 1, "5", Waiting, "0"},
        {"5+-3=", 1, "2", Result, "2"},
        {"5+-*3=", 1, "15", Result, "15"},
        {"+3=", 1, "3", Result, "3"},
        {"2+3=*4=", 1, "20", Result, "25"},
        {"7M-2=", 1, "-9", Result, "-9"},
        {"1/3=", 1, "0.33333333333", Result, "0.33333333333"},
        {"1/0=", 1, "0 DivideByZero", Error, "0"},
        {"5/0+", 1, "0 DivideByZero", Error, "0"},
        {"0/=", 1, "0 DivideByZero", Error, "0"},
        {"999999999999+1=", 1, "0 Overflow", Error, "0"},
        {"1000000*1000000=", 1, "0 Overflow", Error, "0"},
    });
}

// The multiplicand is the constant of ×, the second operand that of the others.
TEST(Keys, Constants) {
    ExpectKeys({
        {"10-4==", 1, "2", Waiting, "8"},
        {"3*4==", 1, "36", Waiting, "48"},
        {"8/2==", 1, "2", Waiting, "6"},
        {"2+3==", 1, "8", Waiting, "13"},
        {"10-4=7=", 1, "3", Waiting, "9"},
        {"3*4=5=", 1, "15", Waiting, "27"},
        {"8/2=6=", 1, "3", Waiting, "7"},
        {"2+3=10=", 1, "13", Waiting, "18"},
        {"5+===", 1, "15", Waiting, "25"},
        {"5-==", 1, "0", Waiting, "0"},
        {"5*==", 1, "125", Waiting, "150"},
        {"4/==", 1, "0.0625", Waiting, "0.3125"},
        {"5==", 1, "5", Waiting, "5"},
        {"5=7=", 1, "7", Waiting, "12"},
        {"1000000*1=1000000=", 1, "0 Overflow", Error, "1,000,000"},
        {"999999*1000000==", 1, "0 Overflow", Error, "999,999,000,000"},
    });
}

TEST(Keys, Percent) {
    ExpectKeys({
        {"200+5%", 1, "210", Result, "210"},
        {"200-5%", 1, "190", Result, "190"},
        {"200*5%", 1, "10", Result, "1,000"},
        {"50/200%", 1, "25", Result, "0.25"},
        {"200+5%=", 1, "410", Waiting, "620"},  // the add-on constant is the first operand
        {"200-5%=", 1, "-10", Waiting, "180"},
        {"200*5%=", 1, "2,000", Waiting, "3,000"},
        {"50/200%=", 1, "0.125", Waiting, "0.375"},
        {"999999999999+1000%", 1, "0 Overflow", Error, "0"},
        {"999999999999/1%", 1, "0 Overflow", Error, "999,999,999,999"},
        {"5/0%", 1, "0 DivideByZero", Error, "0"},
        {"5+%", 0, "5", Waiting, "0"},
        {"5+%3=", 1, "8", Result, "8"},
        {"5*%", 1, "0.25", Waiting, "25"},
        {"5/%", 1, "20", Waiting, "0.2"},
        {"0/%", 1, "0 DivideByZero", Error, "0"},
        {"200*5%7%", 1, "14", Waiting, "1,014"},
        {"50/200%30%", 1, "15", Waiting, "15.25"},
        {"200+5%7%", 0, "7", EnteringFirst, "210"},
        {"1000000*1=1000000%", 1, "0 Overflow", Error, "1,000,000"},
        {"1/.001=999999999999%", 1, "0 Overflow", Error, "1,000"},
        {"200*5%%", 1, "20", Waiting, "3,000"},
        {"50/200%%", 1, "12.5", Waiting, "0.375"},
        {"200+5%%", 0, "210", Result, "210"},
        {"1000*1000=%", 1, "10,000,000", Waiting, "1,001,000,000"},
        {"1000000*1=%", 1, "0 Overflow", Error, "1,000,000"},
        {"5%", 1, "5", Waiting, "5"},
        {"5%%", 1, "5", Waiting, "5"},
    });
}

TEST(Keys, GrandTotalAndMemory) {
    ExpectKeys({
        {"2*3=4*5=GG", 1, "26", Waiting, "26"},
        {"2+3+4G", 1, "0", Waiting, "0"},
        {"2*3=G+1=", 1, "7", Result, "13"},
        {"999999999999=1=", 1, "0 Overflow", Error, "0 Overflow"},
        {"5P3PR", 1, "8", Waiting, "0", "8"},
        {"5P3PRT", 1, "8", Waiting, "0", "0"},
        {"5LR", 1, "-5", Waiting, "0", "-5"},
        {"5T", 1, "5", EnteringFirst, "0", "0"},
        // A typed second operand is completed first; = then has nothing to do.
        {"2+3P=", 1, "5", Waiting, "0", "5"},
        {"5+P3=", 1, "8", Result, "8", "5"},
        {"2*3=4+1P7=", 1, "7", Waiting, "13", "5"},  // the constant is dropped
        // The recalled value is not the second operand.
        {"7P5+R3=", 1, "8", Result, "8", "7"},
        {"7P5+R==", 1, "14", Waiting, "14", "7"},
        {"7P5+3R=", 1, "7", Waiting, "0", "7"},
        {"7P5/0P", 1, "0 DivideByZero", Error, "0", "7"},
        {"999999999999P1P", 1, "0 Overflow", Error, "0", "0 Overflow"},
    });
}

// Only = and % write the constant; operator and memory keys leave it and the pending
// operator alone.
TEST(Keys, ConstantSurvivesOtherKeys) {
    const struct {
        const char* keys;  // after 3 * 4 =
        Operator pending;
    } rows[] = {
        {"5-", Operator::Subtract}, {"5-2/", Operator::Divide}, {"5-R", Operator::Subtract},
        {"5-G", Operator::Subtract}, {"5-T", Operator::Subtract},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.keys);
        TestEngine t;
        t.Press("3*4=");
        t.Press(row.keys);
        EXPECT_EQ(t.engine.constantOperator, Operator::Multiply);
        EXPECT_EQ(Shown(t.engine.constant), "3");
        EXPECT_EQ(t.engine.pendingOperator, row.pending);
    }
}

}  // namespace
