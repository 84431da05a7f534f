// Key sequences on a fresh engine: number entry, C, operators with = and %, constants, the
// grand total, memory, copy and paste.

#include <optional>
#include <sstream>

#include "engine_harness.h"

namespace {

using enum EngineState;

// C clears only the number being typed. Grand total and memory after the display; the
// multiplicand is the constant of ×, the second operand that of the others. The clipboard
// holds 12; a pasted number is one being typed; a copy is not grouped. The help's worked
// examples run through the engine as a test of their own (help_examples).
TEST(Keys, SequencesOnAFreshEngine) {
    ExpectKeys({
        {"0", 0, "0", Cleared},
        {".0", 1, "0.0", EnteringFirst},
        {"007", 1, "7", EnteringFirst},
        {"1.2.3", 1, "1.23", EnteringFirst},
        {"7.", 0, "7", EnteringFirst},
        {"5M3", 1, "-53", EnteringFirst},
        {".M", 0, "0", Cleared},
        {"5+M3=", 1, "8", Result},  // the negated copy is lost to the new number
        {"5+0", 1, "0", EnteringSecond},
        {"0+0", 0, "0", Waiting},
        {"3-3=5", 1, "5", EnteringFirst},
        {"C", 0, "0", Cleared},
        {"12C3=", 1, "3", Waiting},
        {"1.5C5", 1, "5", EnteringFirst},
        {"5+C2=", 1, "7", Result},
        {"12+5.5C3=", 1, "15", Result},
        {"2+3=C=", 1, "8", Waiting},
        {"=", 0, "0", Cleared, "0"},
        {"2+3*", 1, "5", Waiting, "0"},
        {"5+-3=", 1, "2", Result, "2"},
        {"+3=", 1, "3", Result, "3"},
        {"2+3=*4=", 1, "20", Result, "25"},
        {"1/0=", 1, "0 DivideByZero", Error, "0"},
        {"999999999999+1=", 1, "0 Overflow", Error, "0"},
        {"10-4==", 1, "2", Waiting, "8"},
        {"10-4=7=", 1, "3", Waiting, "9"},
        {"5==", 1, "5", Waiting, "5"},
        {"1000000*1=1000000=", 1, "0 Overflow", Error, "1,000,000"},
        {"200+5%=", 1, "410", Waiting, "620"},  // the add-on constant is the first operand
        {"200-5%=", 1, "-10", Waiting, "180"},
        {"50/200%=", 1, "0.125", Waiting, "0.375"},
        {"999999999999+1000%", 1, "0 Overflow", Error, "0"},
        {"999999999999/1%", 1, "0 Overflow", Error, "999,999,999,999"},
        {"5+%", 0, "5", Waiting, "0"},
        {"5+%3=", 1, "8", Result, "8"},
        {"5*%", 1, "0.25", Waiting, "25"},
        {"5/%", 1, "20", Waiting, "0.2"},
        {"200*5%7%", 1, "14", Waiting, "1,014"},
        {"50/200%30%", 1, "15", Waiting, "15.25"},
        {"200+5%7%", 0, "7", EnteringFirst, "210"},
        {"200*5%%", 1, "20", Waiting, "3,000"},
        {"200+5%%", 0, "210", Result, "210"},
        {"1000*1000=%", 1, "10,000,000", Waiting, "1,001,000,000"},
        {"5%%", 1, "5", Waiting, "5"},
        {"2*3=4*5=GG", 1, "26", Waiting, "26"},
        {"2+3+4G", 1, "0", Waiting, "0"},
        {"999999999999=1=", 1, "0 Overflow", Error, "0 Overflow"},
        {"5P2L", 1, "2", Waiting, "0", "3"},
        {"5LR", 1, "-5", Waiting, "0", "-5"},
        {"5T", 1, "5", EnteringFirst, "0", "0"},
        // A typed second operand is completed first; = then has nothing to do.
        {"2+3P=", 1, "5", Waiting, "0", "5"},
        {"5+P3=", 1, "8", Result, "8", "5"},
        {"2*3=4+1P7=", 1, "7", Waiting, "13", "5"},  // the constant is dropped
        // The recalled value is not the second operand.
        {"7P5+3R=", 1, "7", Waiting, "0", "7"},
        {"7P5*R=", 1, "49", Waiting, "49", "7"},
        // Operator and recall keys leave the constant and the pending operator; the tax key
        // drops the operator, so = applies the constant again.
        {"3*4=5+Z=", 1, "15", Waiting, "27"},
        {"3*4=5+GZ=", 1, "36", Waiting, "48"},
        {"3*4=5*G=", 1, "144", Waiting, "156"},
        {"7P5/0P", 1, "0 DivideByZero", Error, "0", "7"},
        {"999999999999P1P", 1, "0 Overflow", Error, "0", "0 Overflow"},
        {"D3", 1, "123", EnteringFirst},
        {"7D", 1, "12", EnteringFirst},
        {"5+D=", 1, "17", Result},
        {"2+3=D", 1, "12", EnteringFirst},
        {".5MS", 1, "-0.5", EnteringFirst, "", "", "-0.5"},
        {"1234567.5S", 1, "1,234,567.5", EnteringFirst, "", "", "1234567.5"},
        {"999999999998+.99999999999=S", 1, "999,999,999,998.99999999999", Result, "", "",
         "999999999998.99999999999"},
    });
    ExpectKeys({{"7D", 0, "7", EnteringFirst}}, 8, nullptr);
    // At most 19 characters, read as Parse reads them, the sign kept unless the number is 0.
    ExpectKeys({{"D", 1, "-12", EnteringFirst}}, 8, "-12");
    ExpectKeys({{"D", 1, "0", EnteringFirst}}, 8, "-0");
    ExpectKeys({{"D", 1, "1,111,111,112", EnteringFirst}}, 8, "1,1,1,1,1,1,1,1,1,2345678");
}

// 1.5 then each of these keys: the point is cleared, or still in force.
TEST(Keys, WhichKeysClearThePoint) {
    for (auto [keys, fractionEntry] :
         {std::pair{"+ = % +2= +2% C +2C A", 0u}, {"+. P L R G T M +.2", 1u}}) {
        std::istringstream after(keys);
        for (std::string key; after >> key;) {
            TestEngine t;
            t.Press("1.5" + key);
            EXPECT_EQ(t.engine.fractionEntry, fractionEntry) << "1.5" << key;
        }
    }
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
