// The one entry for command characters: which characters it knows, in which case, and the
// rules every command shares (the error latch, the end of the tax cycle).

#include <gtest/gtest.h>

#include <climits>

#include "engine_harness.h"

namespace {

// Prefixes that leave the engine in each state, the error state last.
constexpr const char* StatePrefixes[] = {"", "7", "12+", "12+3", "2*3=", "5P", "1.5", "1/0="};

TEST(Dispatch, LettersInEitherCaseAreTheSameCommand) {
    for (char upper : std::string_view("ACDGLMPRSTXZ")) {
        const char lower = static_cast<char>(upper - 'A' + 'a');
        for (const char* prefix : StatePrefixes) {
            SCOPED_TRACE(std::string(prefix) + " then " + upper + " or " + lower);
            TestEngine a;
            TestEngine b;
            a.Press(prefix);
            b.Press(prefix);
            EXPECT_EQ(a.Press(std::string_view(&upper, 1)), b.Press(std::string_view(&lower, 1)));
            EXPECT_EQ(Fields(a.engine), Fields(b.engine));
        }
    }
}

// Characters that differ from a command only in bits above the low byte, or in the sign,
// must not be folded into it.
TEST(Dispatch, CharactersOutsideTheTableChangeNothing) {
    std::vector<std::int32_t> characters = {-1,          -128,        INT32_MIN,     INT32_MAX,
                                            0x100 + 'A', 0x100 + '5', 0x10000 + '=', -256 + '+',
                                            0x1B,        0x7F};
    for (std::int32_t c = 0; c < 0x100; ++c) {
        if (!IsCommandCharacter(c)) {
            characters.push_back(c);
        }
    }
    for (const char* prefix : StatePrefixes) {
        TestEngine t;
        t.Press(prefix);
        // Outside the table even the tax cycle stays where it is.
        t.engine.taxState = TaxState::Included;
        const std::string before = Fields(t.engine);
        for (std::int32_t c : characters) {
            SCOPED_TRACE(std::string(prefix) + " then character " + std::to_string(c));
            EXPECT_EQ(t.engine.HandleCommand(c), 0);
            EXPECT_EQ(Fields(t.engine), before);
        }
    }
}

// Every command but AC and the tax keys ends the tax cycle first, also when it then
// refuses; in the error state nothing is touched.
TEST(Dispatch, EveryCommandEndsTheTaxCycleOutsideTheErrorState) {
    for (const char* prefix : StatePrefixes) {
        for (char key : CommandCharacters) {
            if (key == 'X' || key == 'x' || key == 'Z' || key == 'z') {
                continue;
            }
            SCOPED_TRACE(std::string(prefix) + " then " + std::to_string(key));
            TestEngine t;
            t.Press(prefix);
            const bool wasError = t.engine.state == EngineState::Error;
            t.engine.taxState = TaxState::Excluded;
            t.engine.HandleCommand(static_cast<unsigned char>(key));
            const bool allClear = key == 'A' || key == 'a' || key == '\b';
            EXPECT_EQ(t.engine.taxState,
                      wasError && !allClear ? TaxState::Excluded : TaxState::None);
        }
    }
}

TEST(Dispatch, KeysGivenAForeignCharacterRefuseAfterEndingTheTaxCycle) {
    TestEngine t;
    t.Press("12+3");
    t.engine.taxState = TaxState::TaxAmount;
    EXPECT_EQ(t.engine.DigitKey('a'), 0);
    EXPECT_EQ(t.engine.taxState, TaxState::None);
    t.engine.taxState = TaxState::TaxAmount;
    EXPECT_EQ(t.engine.OperatorKey('x'), 0);
    EXPECT_EQ(t.engine.taxState, TaxState::None);
    t.engine.taxState = TaxState::None;
    const std::string before = Fields(t.engine);
    EXPECT_EQ(t.engine.DigitKey('0' + 10), 0);
    EXPECT_EQ(t.engine.OperatorKey('='), 0);
    EXPECT_EQ(Fields(t.engine), before);
}

TEST(ErrorLatch, OnlyAllClearLeavesTheErrorState) {
    for (const char* errorKeys : {"1/0=", "5/0+", "0/=", "999999999999+1=", "5/0P"}) {
        for (char key : CommandCharacters) {
            SCOPED_TRACE(std::string(errorKeys) + " then " + std::to_string(key));
            TestEngine t;
            t.Press(errorKeys);
            ASSERT_EQ(t.engine.state, EngineState::Error);
            const std::string before = Fields(t.engine);
            const std::int32_t result = t.engine.HandleCommand(static_cast<unsigned char>(key));
            if (key == 'A' || key == 'a' || key == '\b') {
                EXPECT_EQ(result, 1);
                EXPECT_EQ(t.engine.state, EngineState::Cleared);
                EXPECT_EQ(Shown(t.engine.display), "0");
                EXPECT_FALSE(t.engine.display.HasError());
            } else {
                EXPECT_EQ(result, 0);
                EXPECT_EQ(Fields(t.engine), before);
            }
        }
    }
}

TEST(AllClear, ResetsEverythingButTheTaxSettings) {
    for (const char* keys : {"5P2*3=4+1.", "5P2*3=1/0="}) {
        SCOPED_TRACE(keys);
        TestEngine t;
        t.Press(keys);
        t.engine.taxState = TaxState::Included;
        t.engine.taxBase.SetInteger(40);
        t.engine.taxRate.SetInteger(7);
        t.engine.taxRounding = TaxRounding::HalfUp;
        EXPECT_EQ(t.Press("A"), 1);

        TestEngine fresh;
        fresh.engine.taxRate.SetInteger(7);
        fresh.engine.taxRounding = TaxRounding::HalfUp;
        EXPECT_EQ(Fields(t.engine), Fields(fresh.engine));
    }
}

TEST(AllClear, AFreshEngineRefusesEqualsAndClear) {
    TestEngine fresh;
    EXPECT_EQ(fresh.Press("="), 0);
    EXPECT_EQ(fresh.Press("C"), 0);
    EXPECT_EQ(fresh.Press("%"), 0);
    EXPECT_EQ(fresh.engine.state, EngineState::Cleared);
}

}  // namespace
