// Copy and paste of the displayed number as plain text.

#include <optional>

#include "engine_harness.h"

namespace {

using enum EngineState;

TEST(ClipboardKey, CopiesTheDisplayWithoutGrouping) {
    const struct {
        const char* keys;
        const char* text;
    } rows[] = {
        {".5M", "-0.5"},
        {"1234567.5", "1234567.5"},
        {"12.50", "12.50"},
        {"999999999998+.99999999999=", "999999999998.99999999999"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.keys);
        TestEngine t;
        t.Press(row.keys);
        const EngineState state = t.engine.state;
        EXPECT_EQ(t.Press("S"), 1);
        EXPECT_EQ(t.clipboard.text.value_or("(no text)"), row.text);
        EXPECT_EQ(t.engine.state, state);
    }
}

TEST(ClipboardKey, PastesLikeTyping) {
    const struct {
        const char* before;  // keys typed before the paste
        std::optional<std::string> text;
        const char* after;   // keys typed after it
        std::int32_t result;  // of the paste
        const char* shown;
        EngineState state;
    } rows[] = {
        {"", "1,234", "", 1, "1,234", EnteringFirst},
        {"", "12abc", "", 1, "12", EnteringFirst},
        {"", "abc", "", 1, "0", EnteringFirst},
        {"", "1.2.3", "", 1, "1.2", EnteringFirst},
        {"", " 12", "", 1, "0", EnteringFirst},
        {"", "-12", "", 1, "-12", EnteringFirst},
        {"", "-0", "", 1, "0", EnteringFirst},
        {"", "1234567890123", "", 1, "123,456,789,012", EnteringFirst},
        {"", "1,1,1,1,1,1,1,1,1,2", "", 1, "1,111,111,112", EnteringFirst},  // 19 characters
        {"", "1,1,1,1,1,1,1,1,1,1,2,3,4", "", 1, "1,111,111,111", EnteringFirst},
        {"", "12", "3", 1, "123", EnteringFirst},
        {"7", "12", "", 1, "12", EnteringFirst},
        {"5+", "12", "=", 1, "17", Result},
        {"5+7", "12", "=", 1, "17", Result},
        {"2+3=", "12", "", 1, "12", EnteringFirst},
        {"7", std::nullopt, "", 0, "7", EnteringFirst},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.before + ("[" + row.text.value_or("no text") + "]") + row.after);
        TestEngine t;
        t.clipboard.text = row.text;
        t.Press(row.before);
        EXPECT_EQ(t.Press("D"), row.result);
        t.Press(row.after);
        EXPECT_EQ(Shown(t.engine.display), row.shown);
        EXPECT_EQ(t.engine.display.negative != 0, row.shown[0] == '-');
        EXPECT_EQ(t.engine.state, row.state);
    }
}

TEST(ClipboardKey, FailuresChangeNothingButTheTaxCycle) {
    for (const bool unavailable : {true, false}) {
        for (const char* key : {"S", "D"}) {
            SCOPED_TRACE(std::string(key) + (unavailable ? " unavailable" : " no memory left"));
            TestEngine t;
            t.clipboard.text = "42";
            t.Press("5+1000Z");
            (unavailable ? t.clipboard.available : t.clipboard.memoryLeft) = false;
            EXPECT_EQ(t.Press(key), 0);
            EXPECT_EQ(Shown(t.engine.display), "1,080");
            EXPECT_EQ(t.engine.state, Waiting);
            EXPECT_EQ(t.engine.taxState, TaxState::None);
            EXPECT_EQ(t.clipboard.text, std::optional<std::string>("42"));
        }
    }
}

}  // namespace
