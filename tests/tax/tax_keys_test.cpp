#include <gtest/gtest.h>

#include <cstring>

#include "engine_harness.h"

namespace {

// "M" is the sign key, so "107M" is -107.
struct RoundingCase {
    const char* keys;
    const char* shown[3];  // under Truncate, HalfUp, UpFromTenth
};

TEST(TaxKeys, RoundsTheTaxByTheRule) {
    const RoundingCase cases[] = {
        {"101Z", {"109", "109", "109"}},      // tax 8.08
        {"105Z", {"113", "113", "114"}},      // tax 8.4
        {"107Z", {"115", "116", "116"}},      // tax 8.56
        {"107MZ", {"-115", "-116", "-116"}},  // tax -8.56, rounded on its magnitude
        {"100X", {"93", "93", "92"}},         // tax 7.407...
        {"100XX", {"7", "7", "8"}},           // the tax on 93, 93, 92: 7.44, 7.44, 7.36
    };
    for (const RoundingCase& c : cases) {
        for (std::uint32_t rule = 0; rule < 3; ++rule) {
            Machine machine;
            CalcEngine engine(machine.Get());
            engine.taxRate.SetInteger(8);
            engine.taxRounding = static_cast<TaxRounding>(rule);
            Press(engine, c.keys);
            EXPECT_EQ(Shown(engine.display), c.shown[rule]) << c.keys << " rule " << rule;
        }
    }
}

struct CycleCase {
    const char* name;
    std::int64_t rate;
    const char* keys;
    const char* shown;
    TaxState taxState;
    EngineState state;
};

TEST(TaxKeys, WalksTheCycle) {
    constexpr auto Waiting = EngineState::Waiting;
    const CycleCase cases[] = {
        {"included", 8, "1000Z", "1,080", TaxState::Included, Waiting},
        {"included, tax", 8, "1000ZZ", "80", TaxState::TaxAmount, Waiting},
        {"included, back", 8, "1000ZZZ", "1,000", TaxState::None, Waiting},
        {"excluded", 8, "1080X", "1,000", TaxState::Excluded, Waiting},
        {"excluded, tax", 8, "1080XX", "80", TaxState::TaxAmount, Waiting},
        {"excluded, back", 8, "1080XXX", "1,080", TaxState::None, Waiting},
        {"included, excluded", 8, "1000ZX", "1,000", TaxState::Excluded, Waiting},
        {"included, excluded, included", 8, "1000ZXZ", "1,080", TaxState::Included, Waiting},
        {"the base stays from the start", 8, "1000ZXZZX", "1,000", TaxState::None, Waiting},
        {"after the tax, the other key", 8, "1080XXZ", "1,080", TaxState::None, Waiting},
        {"zero", 8, "0Z", "0", TaxState::Included, Waiting},
        {"zero, tax", 8, "0ZZ", "0", TaxState::TaxAmount, Waiting},
        {"pending addition dropped", 8, "100+200Z", "216", TaxState::Included, Waiting},
        {"dropped addition stays dropped", 8, "100+200Z=", "216", TaxState::None, Waiting},
        {"digit starts a new number", 8, "1000Z5", "5", TaxState::None, EngineState::EnteringFirst},
        {"sign change ends the cycle", 8, "1000ZM", "-1,080", TaxState::None, Waiting},
        {"sign change restarts the cycle", 8, "1000ZMZ", "-1,166", TaxState::Included, Waiting},
        {"point cleared", 8, "1000.Z5", "5", TaxState::None, EngineState::EnteringFirst},
        {"rate 0, included", 0, "1000Z", "1,000", TaxState::Included, Waiting},
        {"rate 0, tax", 0, "1000ZZ", "0", TaxState::TaxAmount, Waiting},
        {"rate 0, excluded", 0, "1000X", "1,000", TaxState::Excluded, Waiting},
        {"rate -5", -5, "1000Z", "950", TaxState::Included, Waiting},
        {"sum overflows: checked", 8, "999999999999Z", "Overflow", TaxState::None,
         EngineState::Error},
        {"error refuses the key", 8, "999999999999ZZ", "Overflow", TaxState::None,
         EngineState::Error},
        {"zero divisor: unchecked", -100, "1000X", "DivideByZero", TaxState::Excluded, Waiting},
        {"zero divisor: next check latches", -100, "1000XP", "DivideByZero", TaxState::None,
         EngineState::Error},
        {"zero divisor: operator carries it", -100, "1000X+5=", "DivideByZero", TaxState::None,
         EngineState::Error},
        {"zero divisor: tax of the included", -100, "1000ZZ", "DivideByZero", TaxState::TaxAmount,
         Waiting},
        {"zero divisor: checked", -100, "1000ZX", "DivideByZero", TaxState::None,
         EngineState::Error},
        {"error in the amount is not read", -100, "1000XZ", "0", TaxState::Included, Waiting},
        {"the base replaces the error", -100, "1000ZZZ", "1,000", TaxState::None, Waiting},
        {"tax overflows: checked", 999999999, "1000000Z", "Overflow", TaxState::None,
         EngineState::Error},
        {"tax overflows: unchecked", -200, "999999999999X", "Overflow", TaxState::Excluded,
         Waiting},
        {"net overflows: unchecked", -50, "999999999999ZZ", "Overflow", TaxState::TaxAmount,
         Waiting},
    };
    for (const CycleCase& c : cases) {
        Machine machine;
        CalcEngine engine(machine.Get());
        engine.taxRate.SetInteger(c.rate);
        Press(engine, c.keys);
        EXPECT_EQ(Shown(engine.display), c.shown) << c.name;
        EXPECT_EQ(engine.taxState, c.taxState) << c.name;
        EXPECT_EQ(engine.state, c.state) << c.name;
        const char last = c.keys[std::strlen(c.keys) - 1];
        if (last == 'Z' || last == 'X') {
            EXPECT_EQ(engine.pendingOperator, Operator::None) << c.name;
        }
        if (engine.state == EngineState::Error) {
            EXPECT_TRUE(engine.display.IsZero() && engine.display.negative == 0) << c.name;
        }
    }
}

TEST(TaxKeys, RefusedOnlyInTheErrorState) {
    Machine machine;
    CalcEngine engine(machine.Get());
    engine.taxRate.SetInteger(8);
    EXPECT_EQ(Press(engine, "Z"), 1);
    EXPECT_EQ(Press(engine, "x"), 1);
    EXPECT_EQ(Press(engine, "999999999999z"), 1);
    ASSERT_EQ(engine.state, EngineState::Error);
    EXPECT_EQ(Press(engine, "Z"), 0);
    EXPECT_EQ(Press(engine, "X"), 0);
    EXPECT_EQ(engine.taxState, TaxState::None);
}

struct ComputeCase {
    const char* name;
    std::int64_t rate;
    std::int64_t amount;
    AmountKind given;
    AmountKind wanted;
    const char* shown;
};

// The kinds the keys never ask for, and the first failing step winning over later ones.
TEST(TaxKeys, ComputeTaxReturnsTheFirstFailure) {
    constexpr auto Net = AmountKind::TaxExcluded;
    constexpr auto Gross = AmountKind::TaxIncluded;
    constexpr auto Tax = AmountKind::TaxOnly;
    const ComputeCase cases[] = {
        {"net to net", 8, 1000, Net, Net, "1,000"},
        {"gross to gross", 8, 1080, Gross, Gross, "1,080"},
        {"net to tax", 8, 1000, Net, Tax, "80"},
        {"zero divisor, tax wanted", -100, 1000, Gross, Tax, "DivideByZero"},
        {"zero divisor, gross wanted", -100, 1000, Gross, Gross, "DivideByZero"},
        {"tax overflow, net wanted", 999999999, 1000000, Net, Net, "Overflow"},
        {"tax overflow, tax wanted", 999999999, 1000000, Net, Tax, "Overflow"},
        {"net overflow, tax wanted", -50, 500000000000, Gross, Tax, "Overflow"},
        {"final sum overflows", 8, 999999999999, Net, Gross, "Overflow"},
    };
    for (const ComputeCase& c : cases) {
        Machine machine;
        CalcEngine engine(machine.Get());
        engine.taxRate.SetInteger(c.rate);
        DecimalValue amount;
        amount.SetInteger(c.amount);
        EXPECT_EQ(Shown(engine.ComputeTax(amount, c.given, c.wanted)), c.shown) << c.name;
        EXPECT_EQ(engine.state, EngineState::Cleared) << c.name;
    }
}

}  // namespace
