// The memory keys, also with an operator waiting, and their interplay with constants.

#include <gtest/gtest.h>

#include "engine_harness.h"

namespace {

struct MemoryCase {
    const char* keys;
    const char* display;
    EngineState state;
    const char* memory;
    const char* grandTotal;
    DecimalError error = DecimalError::None;
};

using enum EngineState;

TEST(Memory, KeySequences) {
    const MemoryCase rows[] = {
        {"5P3PR", "8", Waiting, "8", "0"},
        {"5P3PRT", "8", Waiting, "0", "0"},
        {"5LR", "-5", Waiting, "-5", "0"},
        {"5P2LR", "3", Waiting, "3", "0"},
        {"P", "0", Waiting, "0", "0"},
        {"5P=", "5", Waiting, "5", "0"},
        {"5PA", "0", Cleared, "0", "0"},
        {"5PAR", "0", Waiting, "0", "0"},
        {"5T", "5", EnteringFirst, "0", "0"},
        // A typed second operand completes the calculation first; = then has nothing to do.
        {"2+3P", "5", Waiting, "5", "0"},
        {"2+3P=", "5", Waiting, "5", "0"},
        {"10-4L", "6", Waiting, "-6", "0"},
        {"2*3+4P", "10", Waiting, "10", "0"},
        // With the operator waiting and no second number, M+ takes the display and the
        // operation still waits.
        {"5+P", "5", Waiting, "5", "0"},
        {"5+P3=", "8", Result, "5", "8"},
        // The completion drops the constant that = had set up.
        {"2*3=4+1P7=", "7", Waiting, "5", "13"},
        {"2*3=7=", "14", Waiting, "0", "20"},
        // The recalled value is not the second operand.
        {"7P5+R3=", "8", Result, "7", "8"},
        {"7P5+R=", "7", Waiting, "7", "0"},
        {"7P5+R==", "14", Waiting, "7", "14"},
        {"7P5*R=", "49", Waiting, "7", "49"},
        {"7P5+3R", "7", Waiting, "7", "0"},
        // The point survives the memory keys.
        {"2.5P3", "0.3", EnteringFirst, "2.5", "0"},
        {"5/0P", "0", Error, "0", "0", DecimalError::DivideByZero},
        {"7P5/0P", "0", Error, "7", "0", DecimalError::DivideByZero},
        {"999999999999P1P", "0", Error, "0", "0", DecimalError::Overflow},
        {"999999999999MP1L", "0", Error, "0", "0", DecimalError::Overflow},
    };
    for (const MemoryCase& row : rows) {
        SCOPED_TRACE(row.keys);
        TestEngine t;
        t.Press(row.keys);
        EXPECT_EQ(Shown(t.engine.display), row.display);
        EXPECT_EQ(t.engine.state, row.state);
        EXPECT_EQ(Shown(t.engine.memory), row.memory);
        EXPECT_EQ(Shown(t.engine.grandTotal), row.grandTotal);
        EXPECT_EQ(t.engine.display.errorCode, row.error);
    }
}

TEST(Memory, AnOverflowOfMemoryStaysInMemoryUntilAllClear) {
    TestEngine t;
    t.Press("999999999999P1");
    EXPECT_EQ(t.Press("P"), 1);
    EXPECT_EQ(t.engine.memory.errorCode, DecimalError::Overflow);
    EXPECT_EQ(t.engine.display.errorCode, DecimalError::Overflow);
    EXPECT_EQ(t.Press("R"), 0);
    EXPECT_EQ(t.Press("A"), 1);
    EXPECT_FALSE(t.engine.memory.HasError());
    EXPECT_TRUE(t.engine.memory.IsZero());
}

// The completion under M+ keeps the second operand of the last = and leaves the pending
// operator none; recalls keep the pending operator and the constant.
TEST(Memory, WhatTheKeysLeaveAlone) {
    TestEngine completed;
    completed.Press("9-1=2+3P");
    EXPECT_EQ(Shown(completed.engine.rightOperand), "1");
    EXPECT_EQ(completed.engine.pendingOperator, Operator::None);
    EXPECT_EQ(completed.engine.constantOperator, Operator::None);
    EXPECT_TRUE(completed.engine.constant.IsZero());

    for (const char* recall : {"R", "G", "T"}) {
        SCOPED_TRACE(recall);
        TestEngine t;
        t.Press("3*4=5-");
        t.Press(recall);
        EXPECT_EQ(t.engine.pendingOperator, Operator::Subtract);
        EXPECT_EQ(t.engine.constantOperator, Operator::Multiply);
        EXPECT_EQ(Shown(t.engine.constant), "3");
    }
}

TEST(Memory, EveryMemoryKeyAsksForARepaint) {
    for (const char* prefix : {"", "5", "5+", "5+3", "5+3="}) {
        for (char key : std::string_view("PLRTG")) {
            SCOPED_TRACE(std::string(prefix) + key);
            TestEngine t;
            t.Press(prefix);
            EXPECT_EQ(t.engine.HandleCommand(key), 1);
        }
    }
}

}  // namespace
