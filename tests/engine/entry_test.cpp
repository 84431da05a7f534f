// Number entry: digits, the point and the sign key, the capacity of a typed number,
// and the C key in every state.

#include <gtest/gtest.h>

#include "engine_harness.h"

namespace {

struct EntryCase {
    const char* keys;
    std::int32_t lastResult;
    const char* display;
    EngineState state;
};

void ExpectRows(std::initializer_list<EntryCase> rows) {
    for (const EntryCase& row : rows) {
        SCOPED_TRACE(row.keys);
        TestEngine t;
        EXPECT_EQ(t.Press(row.keys), row.lastResult);
        EXPECT_EQ(Shown(t.engine.display), row.display);
        EXPECT_EQ(t.engine.state, row.state);
        EXPECT_FALSE(t.engine.display.HasError());
    }
}

TEST(NumberEntry, DigitsPointAndSign) {
    using enum EngineState;
    ExpectRows({
        {"", 0, "0", Cleared},
        {"0", 0, "0", Cleared},
        {".0", 1, "0.0", EnteringFirst},
        {"007", 1, "7", EnteringFirst},
        {"70", 1, "70", EnteringFirst},
        {"..5", 1, "0.5", EnteringFirst},
        {"1.2.3", 1, "1.23", EnteringFirst},
        {"12.50", 1, "12.50", EnteringFirst},
        {".05", 1, "0.05", EnteringFirst},
        {"5M3", 1, "-53", EnteringFirst},
        {"5MM", 1, "5", EnteringFirst},
        {"M", 0, "0", Cleared},
        {".M", 0, "0", Cleared},
        {".0M", 0, "0.0", EnteringFirst},
        {".5M", 1, "-0.5", EnteringFirst},
        {"5+M", 1, "-5", Waiting},
        // The negated copy of the first operand is lost to the new number.
        {"5+M3=", 1, "8", Result},
        {"5+3=M", 1, "-8", Result},
        {"5+0", 1, "0", EnteringSecond},
        {"0+0", 0, "0", Waiting},
        {"0+.0", 1, "0.0", EnteringSecond},
        {"0+5", 1, "5", EnteringSecond},
        {"3-3=0", 0, "0", Result},
        {"3-3=5", 1, "5", EnteringFirst},
        {"5+.5=", 1, "5.5", Result},
        {"2+3=4", 1, "4", EnteringFirst},
        {"2+3+4", 1, "4", EnteringSecond},
        {"5=3", 1, "3", EnteringFirst},
        // The point survives M+, so the next digit starts a fraction.
        {"2.5p3", 1, "0.3", EnteringFirst},
        {"1.5+2", 1, "2", EnteringSecond},
        {"7.", 0, "7", EnteringFirst},
    });
}

TEST(NumberEntry, Capacity) {
    using enum EngineState;
    ExpectRows({
        {"123456789012", 1, "123,456,789,012", EnteringFirst},
        {"1234567890123", 0, "123,456,789,012", EnteringFirst},
        {"999999999999.9", 0, "999,999,999,999", EnteringFirst},
        {"1.23456789012", 1, "1.23456789012", EnteringFirst},
        {"1.234567890123", 0, "1.23456789012", EnteringFirst},
        {"0.0000000000", 1, "0.0000000000", EnteringFirst},
        {"0.00000000000", 0, "0.0000000000", EnteringFirst},
        {"0.00000000001", 1, "0.00000000001", EnteringFirst},
        {"0.000000000011", 0, "0.00000000001", EnteringFirst},
        {"12345.00000000001", 1, "12,345.00000000001", EnteringFirst},
        {"12345.6789012", 1, "12,345.6789012", EnteringFirst},
        {"12345.67890123", 0, "12,345.6789012", EnteringFirst},
        {"5+123456789012", 1, "123,456,789,012", EnteringSecond},
        {"5+1234567890123", 0, "123,456,789,012", EnteringSecond},
    });
}

TEST(NumberEntry, PointNeverAsksForARepaint) {
    for (const char* prefix : {"", "5", "5+", "5+3", "5+3=", "1/0="}) {
        SCOPED_TRACE(prefix);
        TestEngine t;
        t.Press(prefix);
        EXPECT_EQ(t.Press("."), 0);
        EXPECT_EQ(t.engine.fractionEntry, t.engine.state == EngineState::Error ? 0u : 1u);
    }
}

TEST(NumberEntry, WhichKeysClearThePoint) {
    const struct {
        const char* keys;
        std::uint32_t fractionEntry;
    } rows[] = {
        {"1.5+", 0},   {"1.5=", 0}, {"1.5%", 0},  {"1.5+2=", 0}, {"1.5+2%", 0}, {"1.5C", 0},
        {"1.5+2C", 0}, {"1.5A", 0}, {"1.5+.", 1}, {"1.5P", 1},   {"1.5L", 1},   {"1.5R", 1},
        {"1.5G", 1},   {"1.5T", 1}, {"1.5M", 1},  {"1.5+.2", 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.keys);
        TestEngine t;
        t.Press(row.keys);
        EXPECT_EQ(t.engine.fractionEntry, row.fractionEntry);
    }
}

struct ClearCase {
    const char* keys;  // before C
    std::int32_t result;
    const char* display;
    EngineState state;
    const char* thenKeys;
    const char* thenDisplay;
};

TEST(ClearKey, InEveryState) {
    using enum EngineState;
    const ClearCase rows[] = {
        {"", 0, "0", Cleared, "3", "3"},
        {"12", 1, "0", EnteringFirst, "3=", "3"},
        {"1.5", 1, "0", EnteringFirst, "5", "5"},
        {"5+", 0, "5", Waiting, "2=", "7"},
        {"12+5", 1, "0", EnteringSecond, "3=", "15"},
        {"12+5.5", 1, "0", EnteringSecond, "3=", "15"},
        {"2+3=", 0, "5", Result, "=", "8"},
        {"1/0=", 0, "0", Error, "5", "0"},
    };
    for (const ClearCase& row : rows) {
        SCOPED_TRACE(row.keys);
        TestEngine t;
        t.Press(row.keys);
        const std::string before = Fields(t.engine);
        EXPECT_EQ(t.Press("C"), row.result);
        if (row.result == 0) {
            EXPECT_EQ(Fields(t.engine), before) << "a refused C changed something";
        }
        EXPECT_EQ(t.engine.state, row.state);
        EXPECT_EQ(Shown(t.engine.display), row.display);
        t.Press(row.thenKeys);
        EXPECT_EQ(Shown(t.engine.display), row.thenDisplay);
    }
}

}  // namespace
