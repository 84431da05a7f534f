// The tax keys, at rate 8 unless a row says otherwise, and the arithmetic behind them.

#include "engine_harness.h"

namespace {

TEST(TaxKeys, RoundsTheTaxByTheRule) {
    const struct {
        const char* keys;      // "M" is the sign key
        const char* shown[3];  // under Truncate, HalfUp, UpFromTenth
    } rows[] = {
        {"101Z", {"109", "109", "109"}},      // tax 8.08
        {"105Z", {"113", "113", "114"}},      // tax 8.4
        {"107Z", {"115", "116", "116"}},      // tax 8.56
        {"107MZ", {"-115", "-116", "-116"}},  // tax -8.56, rounded on its magnitude
        {"100X", {"93", "93", "92"}},         // tax 7.407...
        {"100XX", {"7", "7", "8"}},           // the tax on 93, 93, 92
    };
    for (const auto& row : rows) {
        for (std::uint32_t rule = 0; rule < 3; ++rule) {
            SCOPED_TRACE(std::string(row.keys) + " under rule " + std::to_string(rule));
            TestEngine t;
            t.engine.taxRounding = static_cast<TaxRounding>(rule);
            t.Press(row.keys);
            EXPECT_EQ(Shown(t.engine.display), row.shown[rule]);
        }
    }
}

TEST(TaxKeys, WalkTheCycle) {
    using enum TaxState;
    using State = EngineState;
    const struct {
        std::int64_t rate;
        const char* keys;
        const char* shown;
        TaxState taxState;
        EngineState state;
    } rows[] = {
        {8, "1000Z", "1,080", Included, State::Waiting},
        {8, "1000ZZ", "80", TaxAmount, State::Waiting},
        {8, "1000ZZZ", "1,000", None, State::Waiting},
        {8, "1080X", "1,000", Excluded, State::Waiting},
        {8, "1080XX", "80", TaxAmount, State::Waiting},
        {8, "1080XXX", "1,080", None, State::Waiting},
        {8, "1000ZX", "1,000", Excluded, State::Waiting},
        {8, "1000ZXZ", "1,080", Included, State::Waiting},
        {8, "1000ZXZZX", "1,000", None, State::Waiting},  // the base stays from the start
        {8, "1080XXZ", "1,080", None, State::Waiting},    // either key brings it back
        {8, "0ZZ", "0", TaxAmount, State::Waiting},
        {0, "1000ZZ", "0", TaxAmount, State::Waiting},
        {8, "100+200Z", "216", Included, State::Waiting},  // the addition is dropped
        {8, "100+200Z=", "216", None, State::Waiting},
        {8, "1000Z5", "5", None, State::EnteringFirst},
        {8, "1000.Z5", "5", None, State::EnteringFirst},
        {8, "1000ZMZ", "-1,166", Included, State::Waiting},  // another key restarts the cycle
        {8, "1000ZSZ", "1,166", Included, State::Waiting},
        {8, "999999999999Z", "0 Overflow", None, State::Error},
        {999999999, "1000000Z", "0 Overflow", None, State::Error},
        {-100, "1000ZX", "0 DivideByZero", None, State::Error},
        // The unchecked steps leave the error on display for the next check.
        {-100, "1000X", "0 DivideByZero", Excluded, State::Waiting},
        {-100, "1000ZZ", "0 DivideByZero", TaxAmount, State::Waiting},
        {999999999, "999999999999XZ", "0 Overflow", Included, State::Waiting},
        {-200, "999999999999X", "0 Overflow", Excluded, State::Waiting},
        {-50, "999999999999ZZ", "0 Overflow", TaxAmount, State::Waiting},
        {-100, "1000XP", "0 DivideByZero", None, State::Error},
        {-100, "1000X5+3=", "5 DivideByZero", None, State::Error},  // typing keeps the code
        {-100, "1000XR", "0", None, State::Waiting},
        {-100, "1000XD", "12", None, State::EnteringFirst},
        {-100, "1000XZ", "0", Included, State::Waiting},  // the amount's code is not read
        {-100, "1000ZZZ", "1,000", None, State::Waiting},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.rate) + "% " + row.keys);
        TestEngine t;
        t.engine.taxRate.SetInteger(row.rate);
        t.clipboard.text = "12";
        EXPECT_EQ(t.Press(row.keys), 1);
        EXPECT_EQ(Shown(t.engine.display), row.shown);
        EXPECT_EQ(t.engine.taxState, row.taxState);
        EXPECT_EQ(t.engine.state, row.state);
        const char last = std::string_view(row.keys).back();
        if (last == 'Z' || last == 'X') {
            EXPECT_EQ(t.engine.pendingOperator, Operator::None);
        }
    }
}

// The kinds the keys never ask for, and the first failing step winning over later ones.
TEST(TaxKeys, ComputeTaxReturnsTheFirstFailure) {
    constexpr auto Net = AmountKind::TaxExcluded, Gross = AmountKind::TaxIncluded,
                   Tax = AmountKind::TaxOnly;
    const struct {
        std::int64_t rate, amount;
        AmountKind given, wanted;
        const char* shown;
    } rows[] = {
        {8, 1000, Net, Net, "1,000"},
        {8, 1080, Gross, Gross, "1,080"},
        {8, 1000, Net, Tax, "80"},
        {-100, 1000, Gross, Tax, "0 DivideByZero"},    // zero divisor
        {-100, 1000, Gross, Gross, "0 DivideByZero"},
        {999999999, 1000000, Net, Net, "0 Overflow"},  // tax overflows
        {999999999, 1000000, Net, Tax, "0 Overflow"},
        {-50, 500000000000, Gross, Tax, "0 Overflow"},  // net overflows
        {8, 999999999999, Net, Gross, "0 Overflow"},    // final sum overflows
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.rate) + "% of " + std::to_string(row.amount) + " kinds " +
                     std::to_string(static_cast<int>(row.given)) + "," +
                     std::to_string(static_cast<int>(row.wanted)));
        TestEngine t;
        t.engine.taxRate.SetInteger(row.rate);
        EXPECT_EQ(Shown(t.engine.ComputeTax(Whole(row.amount), row.given, row.wanted)), row.shown);
    }
}

}  // namespace
