// The one entry for command characters, the rules every command shares, and the
// calculation step with the checks that latch its errors.

#include <climits>
#include <vector>

#include "engine_harness.h"

namespace {

// Prefixes that leave the engine in each state, the error states last (the last one with a
// number on display, from an error left unchecked at rate -100).
constexpr const char* StatePrefixes[] = {
    "", "7", "12+", "12+3", "2*3=", "5P", "1.5", "1/0=", "999999999999+1=", "1000X5+3="};

// Settings and clipboard text that all clear must keep; after the keys, a running tax cycle.
void Prepare(TestEngine& t, const char* prefix) {
    t.engine.taxRate.SetInteger(-100);
    t.engine.taxRounding = TaxRounding::HalfUp;
    t.clipboard.text = "42";
    if (prefix != nullptr) {
        t.Press(prefix);
        t.engine.taxState = TaxState::Included;
        t.engine.taxBase = DecimalValue(40, 0, 1, 0);
    }
}

// Outside the table nothing changes; in the error state everything but all clear is refused
// untouched; elsewhere every command but the tax keys ends the tax cycle, also when it then
// refuses. A lower-case letter does what its capital does.
TEST(Dispatch, EveryCharacterInEveryState) {
    std::vector<std::int32_t> characters = {-1, INT32_MIN, 0x100 + 'a', 0x10000 + '=', -256 + '+'};
    for (std::int32_t c = 0; c < 0x100; ++c) {
        characters.push_back(c);
    }
    TestEngine fresh;
    Prepare(fresh, nullptr);
    for (const char* prefix : StatePrefixes) {
        for (std::int32_t c : characters) {
            SCOPED_TRACE(std::string(prefix) + " then character " + std::to_string(c));
            TestEngine t;
            Prepare(t, prefix);
            const bool wasError = t.engine.state == EngineState::Error;
            const EngineFields before(t.engine);
            const std::int32_t result = t.engine.HandleCommand(c);
            const bool known =
                c > 0 && c < 0x80 &&
                CommandCharacters.find(static_cast<char>(c)) != std::string_view::npos;
            const bool allClear = c == '\b' || c == 'A' || c == 'a';
            if (!known || (wasError && !allClear)) {
                EXPECT_EQ(result, 0);
                EXPECT_EQ(EngineFields(t.engine), before);
                EXPECT_EQ(t.clipboard.text, fresh.clipboard.text);
            } else if (allClear) {
                EXPECT_EQ(result, 1);
                EXPECT_EQ(EngineFields(t.engine), EngineFields(fresh.engine));
            } else if (c != 'X' && c != 'x' && c != 'Z' && c != 'z') {
                EXPECT_EQ(t.engine.taxState, TaxState::None);
            }
            if (c >= 'a' && c <= 'z') {
                TestEngine upper;
                Prepare(upper, prefix);
                EXPECT_EQ(upper.engine.HandleCommand(c - 'a' + 'A'), result);
                EXPECT_EQ(EngineFields(upper.engine), EngineFields(t.engine));
                EXPECT_EQ(upper.clipboard.text, t.clipboard.text);
            }
        }
    }
}

// With a code in every register, each check copies the first one carrying a code whole.
TEST(CheckErrors, LatchesTheFirstCodeInRegisterOrder) {
    TestEngine t;
    t.Press("7+2");
    const EngineFields before(t.engine);
    EXPECT_FALSE(t.engine.CheckErrors());
    EXPECT_EQ(EngineFields(t.engine), before);
    CalcEngine& e = t.engine;
    DecimalValue* const order[] = {&e.display,  &e.leftOperand, &e.rightOperand,
                                   &e.constant, &e.memory,      &e.grandTotal};
    std::int64_t value = 0;
    for (DecimalValue* reg : order) {
        *reg = DecimalValue(++value, 0, 1, 0);
        reg->errorCode = value % 2 != 0 ? DecimalError::DivideByZero : DecimalError::Overflow;
    }
    for (DecimalValue* reg : order) {
        const std::string expected = Shown(*reg);
        EXPECT_TRUE(e.CheckErrors());
        EXPECT_EQ(Shown(e.display), expected);
        EXPECT_EQ(e.state, EngineState::Error);
        reg->errorCode = e.display.errorCode = DecimalError::None;
    }
}

}  // namespace
