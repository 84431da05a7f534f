#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "engine_harness.h"

namespace {

struct CopyCase {
    const char* name;
    DecimalValue value;
    const char* text;
};

TEST(ClipboardKey, CopiesTheDisplayWithoutGrouping) {
    const CopyCase cases[] = {
        {"negative fraction", DecimalValue(0, 5, 10, 1), "-0.5"},
        {"no commas", DecimalValue(1234567, 0, 1, 0), "1234567"},
        {"fraction with commas on display", DecimalValue(1234567, 5, 10, 0), "1234567.5"},
        {"typed trailing zeros", DecimalValue(12, 50, 100, 0), "12.50"},
        {"longest sum", DecimalValue(999999999998, 99999999999, 100000000000, 0),
         "999999999998.99999999999"},
        {"minus zero", DecimalValue(0, 0, 1, 1), "-0"},
    };
    for (const CopyCase& c : cases) {
        Machine machine;
        CalcEngine engine(machine.Get());
        engine.display = c.value;
        EXPECT_EQ(Press(engine, "S"), 1) << c.name;
        EXPECT_EQ(machine.clipboard.text, std::optional<std::string>(c.text)) << c.name;
        EXPECT_EQ(engine.state, EngineState::Cleared) << c.name;
    }
}

struct PasteCase {
    const char* name;
    const char* before;  // keys typed before the paste
    std::optional<std::string> clipboard;
    const char* after;  // keys typed after it
    int result;         // of the paste
    const char* shown;
    EngineState state;
};

TEST(ClipboardKey, PastesLikeTyping) {
    constexpr auto First = EngineState::EnteringFirst;
    constexpr auto Second = EngineState::EnteringSecond;
    const PasteCase cases[] = {
        {"commas skipped", "", "1,234", "", 1, "1,234", First},
        {"letters end it", "", "12abc", "", 1, "12", First},
        {"no digits", "", "abc", "", 1, "0", First},
        {"empty text", "", "", "", 1, "0", First},
        {"second point", "", "1.2.3", "", 1, "1.2", First},
        {"leading space", "", " 12", "", 1, "0", First},
        {"line end", "", "12\r\n", "", 1, "12", First},
        {"negative", "", "-12", "", 1, "-12", First},
        {"minus zero", "", "-0", "", 1, "0", First},
        {"thirteen digits", "", "1234567890123", "", 1, "123,456,789,012", First},
        {"19 characters", "", "1,1,1,1,1,1,1,1,1,2", "", 1, "1,111,111,112", First},
        {"20 characters", "", "1,1,1,1,1,1,1,1,1,23", "", 1, "1,111,111,112", First},
        {"25 characters", "", "1,1,1,1,1,1,1,1,1,1,2,3,4", "", 1, "1,111,111,111", First},
        {"digit continues it", "", "12", "3", 1, "123", First},
        {"replaces the number typed", "7", "12", "", 1, "12", First},
        {"after an operator", "5+", "12", "", 1, "12", Second},
        {"after an operator, then =", "5+", "12", "=", 1, "17", EngineState::Result},
        {"replaces the second number", "5+7", "12", "=", 1, "17", EngineState::Result},
        {"after a result", "2+3=", "12", "", 1, "12", First},
        {"no text", "7", std::nullopt, "", 0, "7", First},
    };
    for (const PasteCase& c : cases) {
        Machine machine;
        CalcEngine engine(machine.Get());
        machine.clipboard.text = c.clipboard;
        Press(engine, c.before);
        EXPECT_EQ(Press(engine, "D"), c.result) << c.name;
        Press(engine, c.after);
        EXPECT_EQ(Shown(engine.display), c.shown) << c.name;
        EXPECT_EQ(engine.display.negative != 0, c.shown[0] == '-') << c.name;
        EXPECT_EQ(engine.state, c.state) << c.name;
    }
}

// Each way the clipboard can fail leaves display and state, and the clipboard's text.
TEST(ClipboardKey, FailuresChangeNothingButTheTaxCycle) {
    enum class Failure { Unavailable, NoMemory };
    for (Failure failure : {Failure::Unavailable, Failure::NoMemory}) {
        for (const char* key : {"S", "D"}) {
            Machine machine;
            CalcEngine engine(machine.Get());
            engine.taxRate.SetInteger(8);
            machine.clipboard.text = "42";
            Press(engine, "5+1000Z");
            (failure == Failure::Unavailable ? machine.clipboard.available
                                             : machine.clipboard.memoryLeft) = false;
            const std::string name =
                std::string(key) +
                (failure == Failure::Unavailable ? " unavailable" : " no memory");
            EXPECT_EQ(Press(engine, key), 0) << name;
            EXPECT_EQ(Shown(engine.display), "1,080") << name;
            EXPECT_EQ(engine.state, EngineState::Waiting) << name;
            EXPECT_EQ(engine.taxState, TaxState::None) << name;
            EXPECT_EQ(machine.clipboard.text, std::optional<std::string>("42")) << name;
        }
    }
}

TEST(ClipboardKey, EndsTheTaxCycleAndClearsAnUncheckedError) {
    Machine machine;
    CalcEngine engine(machine.Get());
    engine.taxRate.SetInteger(8);
    Press(engine, "1000Z");
    EXPECT_EQ(Press(engine, "s"), 1);
    EXPECT_EQ(machine.clipboard.text, std::optional<std::string>("1080"));
    EXPECT_EQ(engine.taxState, TaxState::None);
    // The cycle starts again from 1080 instead of showing the tax.
    Press(engine, "Z");
    EXPECT_EQ(Shown(engine.display), "1,166");

    // At rate -100 the tax-excluded key divides by zero without latching the error.
    engine.taxRate.SetInteger(-100);
    Press(engine, "A1000X");
    ASSERT_EQ(engine.display.errorCode, DecimalError::DivideByZero);
    machine.clipboard.text = "12";
    EXPECT_EQ(Press(engine, "d"), 1);
    EXPECT_EQ(engine.display.errorCode, DecimalError::None);
    EXPECT_EQ(Press(engine, "P"), 1);
    EXPECT_EQ(engine.state, EngineState::Waiting);
}

TEST(ClipboardKey, RefusedInTheErrorState) {
    Machine machine;
    CalcEngine engine(machine.Get());
    machine.clipboard.text = "12";
    Press(engine, "1/0=");
    ASSERT_EQ(engine.state, EngineState::Error);
    EXPECT_EQ(Press(engine, "S"), 0);
    EXPECT_EQ(Press(engine, "D"), 0);
    EXPECT_EQ(machine.clipboard.text, std::optional<std::string>("12"));
    EXPECT_EQ(Shown(engine.display), "DivideByZero");
}

}  // namespace
