// Copy and paste of the displayed number as plain text.

#include <optional>

#include "engine_harness.h"

namespace {

using enum EngineState;

TEST(ClipboardKey, CopiesTheDisplayWithoutGrouping) {
    for (auto [keys, text] : {std::pair{".5M", "-0.5"},
                              {"1234567.5", "1234567.5"},
                              {"999999999998+.99999999999=", "999999999998.99999999999"}}) {
        SCOPED_TRACE(keys);
        TestEngine t;
        t.Press(keys);
        const EngineState state = t.engine.state;
        EXPECT_EQ(t.Press("S"), 1);
        EXPECT_EQ(t.clipboard.text.value_or("(no text)"), text);
        EXPECT_EQ(t.engine.state, state);
    }
}

// At most 19 characters, read as Parse reads them, the sign kept unless the number is 0.
TEST(ClipboardKey, PastesTheTextAsANumber) {
    for (auto [text, shown] : {std::pair{"1,234", "1,234"},
                               {"-12", "-12"},
                               {"-0", "0"},
                               {"1,1,1,1,1,1,1,1,1,2345678", "1,111,111,112"}}) {
        SCOPED_TRACE(text);
        TestEngine t;
        t.clipboard.text = text;
        EXPECT_EQ(t.Press("D"), 1);
        EXPECT_EQ(Shown(t.engine.display), shown);
        EXPECT_EQ(t.engine.display.negative != 0, shown[0] == '-');
        EXPECT_EQ(t.engine.state, EnteringFirst);
    }
}

// The clipboard holds 12; the pasted number is one being typed.
TEST(ClipboardKey, PasteMovesLikeTyping) {
    ExpectKeys({
        {"D3", 1, "123", EnteringFirst},
        {"7D", 1, "12", EnteringFirst},
        {"5+D=", 1, "17", Result},
        {"5+7D=", 1, "17", Result},
        {"2+3=D", 1, "12", EnteringFirst},
    });
    ExpectKeys({{"7D", 0, "7", EnteringFirst}}, 8, nullptr);
}

TEST(ClipboardKey, FailuresChangeNothingButTheTaxCycle) {
    for (const char* failure : {"SU", "DU", "SN", "DN"}) {  // key, then unavailable or no memory
        SCOPED_TRACE(failure);
        TestEngine t;
        t.clipboard.text = "42";
        t.Press("5+1000Z");
        (failure[1] == 'U' ? t.clipboard.available : t.clipboard.memoryLeft) = false;
        EXPECT_EQ(t.Press(std::string_view(failure, 1)), 0);
        EXPECT_EQ(Screen(t.engine), "1,080");
        EXPECT_EQ(t.engine.state, Waiting);
        EXPECT_EQ(t.clipboard.text, std::optional<std::string>("42"));
    }
}

}  // namespace
