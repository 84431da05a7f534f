// The tax keys, at rate 8 unless a row says otherwise, and the arithmetic behind them.

#include "tests/engine/engine_harness.h"

namespace {

TEST(TaxKeys, RoundsTheTaxByTheRule) {
    const struct {
        const char* keys;      // "M" is the sign key
        const char* shown[3];  // under Truncate, HalfUp, UpFromTenth
    } rows[] = {
        {"101Z", {"109", "109", "109"}},         // tax 8.08
        {"105Z", {"113", "113", "114"}},         // tax 8.4
        {"1014Z", {"1,095", "1,095", "1,096"}},  // tax 81.12
        {"107Z", {"115", "116", "116"}},         // tax 8.56
        {"107MZ", {"-115", "-116", "-116"}},     // tax -8.56, rounded on its magnitude
        {"100X", {"93", "93", "92"}},            // tax 7.407...
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

// The plain cycles of each key are the help's worked examples (help_examples).
TEST(TaxKeys, WalkTheCycle) {
    using enum EngineState;
    ExpectKeys({
        {"1000ZX", 1, "1,000 税抜", Waiting},
        {"1000ZXZZX", 1, "1,000", Waiting},      // the base stays from the start
        {"1080XXZ", 1, "1,080", Waiting},        // either key brings it back
        {"100+200Z==", 1, "216", Waiting, "0"},  // the addition is dropped
        {"1000.Z5", 1, "5", EnteringFirst},
        {"1000ZMZ", 1, "-1,166 税込", Waiting},  // another key restarts the cycle
        {"999999999999Z", 1, "0 Overflow", Error},
    });
    ExpectKeys({{"1000ZZ", 1, "0 税", Waiting}}, 0);
    ExpectKeys({{"1000000Z", 1, "0 Overflow", Error},
                {"999999999999XZ", 1, "0 Overflow 税込", Waiting}},  // unchecked
               999999999);
    // The unchecked steps leave the error on display for the next check.
    ExpectKeys(
        {
            {"1000ZX", 1, "0 DivideByZero", Error},
            {"1000X", 1, "0 DivideByZero 税抜", Waiting},
            {"1000ZZ", 1, "0 DivideByZero 税", Waiting},
            {"1000XP", 1, "0 DivideByZero", Error},
            {"1000X5+3=", 1, "5 DivideByZero", Error},  // typing keeps the code
            {"1000XD", 1, "12", EnteringFirst},
        },
        -100);
}

}  // namespace
