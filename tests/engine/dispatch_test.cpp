// The one entry for command characters, the rules every command shares, and the
// calculation step with the checks that latch its errors.

#include <climits>
#include <vector>

#include "engine_harness.h"

namespace {

// Prefixes that leave the engine in each state, the error states last.
constexpr const char* StatePrefixes[] = {"",    "7",   "12+",  "12+3",
                                         "2*3=", "5P", "1.5", "1/0=", "999999999999+1="};

bool IsAllClear(std::int32_t c) {
    return c == 'A' || c == 'a' || c == '\b';
}

// Settings and clipboard text that all clear must keep.
void Settle(TestEngine& t) {
    t.engine.taxRate.SetInteger(7);
    t.engine.taxRounding = TaxRounding::HalfUp;
    t.clipboard.text = "42";
}

void Prepare(TestEngine& t, const char* prefix) {
    Settle(t);
    t.Press(prefix);
    t.engine.taxState = TaxState::Included;
    t.engine.taxBase = Whole(40);
}

// Outside the table nothing changes; in the error state everything but all clear is refused
// untouched; elsewhere every command but the tax keys ends the tax cycle, also when it then
// refuses. A lower-case letter does what its capital does.
TEST(Dispatch, EveryCharacterInEveryState) {
    std::vector<std::int32_t> characters = {-1,          -128,        INT32_MIN,     INT32_MAX,
                                            0x100 + 'A', 0x100 + '5', 0x10000 + '=', -256 + '+'};
    for (std::int32_t c = 0; c < 0x100; ++c) {
        characters.push_back(c);
    }
    TestEngine fresh;
    Settle(fresh);
    for (const char* prefix : StatePrefixes) {
        for (std::int32_t c : characters) {
            SCOPED_TRACE(std::string(prefix) + " then character " + std::to_string(c));
            TestEngine t;
            Prepare(t, prefix);
            const bool wasError = t.engine.state == EngineState::Error;
            const std::string before = Fields(t);
            const std::int32_t result = t.engine.HandleCommand(c);
            if (!IsCommand(c) || (wasError && !IsAllClear(c))) {
                EXPECT_EQ(result, 0);
                EXPECT_EQ(Fields(t), before);
            } else if (IsAllClear(c)) {
                EXPECT_EQ(result, 1);
                EXPECT_EQ(Fields(t), Fields(fresh));
            } else if (c != 'X' && c != 'x' && c != 'Z' && c != 'z') {
                EXPECT_EQ(t.engine.taxState, TaxState::None);
            }
            if (c >= 'a' && c <= 'z') {
                TestEngine upper;
                Prepare(upper, prefix);
                EXPECT_EQ(upper.engine.HandleCommand(c - 'a' + 'A'), result);
                EXPECT_EQ(Fields(upper), Fields(t));
            }
        }
    }
}

TEST(Compute, AppliesTheOperatorLeftOperandFirst) {
    const struct {
        std::int64_t a, b;
        Operator op;
        const char* shown;
    } rows[] = {
        {8, 2, Operator::Add, "10"},      {8, 2, Operator::Subtract, "6"},
        {8, 2, Operator::Multiply, "16"}, {8, 2, Operator::Divide, "4"},
        {8, 2, Operator::None, "0"},      {8, 2, static_cast<Operator>(7), "0"},
        {5, 0, Operator::Divide, "0 DivideByZero"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.op));
        TestEngine t;
        EXPECT_EQ(Shown(t.engine.Compute(Whole(row.a), Whole(row.b), row.op)), row.shown);
    }
}

TEST(CheckErrors, LatchesTheFirstCodeInRegisterOrder) {
    using Register = DecimalValue CalcEngine::*;
    constexpr Register D = &CalcEngine::display, L = &CalcEngine::leftOperand,
                       R = &CalcEngine::rightOperand, K = &CalcEngine::constant,
                       M = &CalcEngine::memory, G = &CalcEngine::grandTotal;
    const struct {
        std::initializer_list<Register> flagged;  // given codes 1, 2, ... in this order
        const char* shown;                        // copied whole
    } rows[] = {
        {{}, "9"},           {{D}, "9 DivideByZero"}, {{G, D}, "9 Overflow"},
        {{L}, "1 DivideByZero"}, {{K, R}, "2 Overflow"},     {{M, K}, "3 Overflow"},
        {{G, M}, "4 Overflow"},  {{G}, "5 DivideByZero"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.shown);
        TestEngine t;
        t.Press("7+2");
        std::int64_t value = 0;
        for (Register reg : {L, R, K, M, G}) {
            t.engine.*reg = Whole(++value);
        }
        t.engine.display = Whole(9);
        std::uint32_t code = 1;
        for (Register reg : row.flagged) {
            (t.engine.*reg).errorCode = static_cast<DecimalError>(code++);
        }
        const std::string before = Fields(t);
        const bool latches = row.flagged.size() != 0;
        EXPECT_EQ(t.engine.CheckErrors(), latches);
        EXPECT_EQ(Shown(t.engine.display), row.shown);
        EXPECT_EQ(t.engine.state, latches ? EngineState::Error : EngineState::EnteringSecond);
        if (!latches) {
            EXPECT_EQ(Fields(t), before);
        }
    }
}

TEST(CheckValueError, LatchesOnlyAValueWithACode) {
    TestEngine t;
    t.Press("7+2");
    const std::string before = Fields(t);
    EXPECT_FALSE(t.engine.CheckValueError(Whole(3)));
    EXPECT_EQ(Fields(t), before);
    EXPECT_TRUE(t.engine.CheckValueError(DecimalValue(DecimalError::Overflow)));
    EXPECT_EQ(Shown(t.engine.display), "0 Overflow");
    EXPECT_EQ(t.engine.state, EngineState::Error);
}

}  // namespace
