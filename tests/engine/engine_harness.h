#pragma once

// An engine on the in-memory platform (no installation, a date in the 8 % years, a clipboard
// without text) and the helpers the engine and tax tests share.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "engine/calc_engine.h"
#include "engine/memory_platform.h"
#include "engine_fields.h"

struct TestEngine : MemoryPlatform {
    TestEngine() : MemoryPlatform(LocalDate{2015, 1}) {}
    CalcEngine engine{Get()};

    // Feeds the keys one by one as command characters; the result of the last one.
    std::int32_t Press(std::string_view keys) {
        std::int32_t result = 0;
        for (char key : keys) {
            result = engine.HandleCommand(static_cast<unsigned char>(key));
        }
        return result;
    }
};

// The grouped number as the display shows it, followed by the name of an error code.
inline std::string Shown(const DecimalValue& value) {
    constexpr const char* ErrorNames[] = {"", " DivideByZero", " Overflow", " Input"};
    std::array<char, FormatBufferSize> text{};
    value.Format(text.data(), text.size(), true);
    return text.data() + std::string(ErrorNames[static_cast<std::uint32_t>(value.errorCode) & 3]);
}

// The display with its tax label.
inline std::string Screen(const CalcEngine& e) {
    constexpr const char* TaxLabels[] = {"", " 税込", " 税抜", " 税"};
    return Shown(e.display) + TaxLabels[static_cast<std::uint32_t>(e.taxState) & 3];
}

// Keys pressed on a fresh engine and what they leave; an empty text is not checked.
struct KeysCase {
    const char* keys;
    std::int32_t result;  // of the last key
    const char* screen;
    EngineState state;
    const char* grandTotal = "";
    const char* memory = "";
    const char* clipboard = "";
};

// At the tax rate given, with the clipboard's text (nullptr: none) for the paste key.
inline void ExpectKeys(std::initializer_list<KeysCase> rows, std::int64_t rate = 8,
                       const char* clipboard = "12") {
    for (const KeysCase& row : rows) {
        SCOPED_TRACE(std::string(row.keys) + " at rate " + std::to_string(rate));
        TestEngine t;
        t.engine.taxRate.SetInteger(rate);
        if (clipboard != nullptr) {
            t.clipboard.text = clipboard;
        }
        EXPECT_EQ(t.Press(row.keys), row.result);
        EXPECT_EQ(Screen(t.engine), row.screen);
        EXPECT_EQ(t.engine.state, row.state);
        if (*row.grandTotal != '\0') {
            EXPECT_EQ(Shown(t.engine.grandTotal), row.grandTotal);
        }
        if (*row.memory != '\0') {
            EXPECT_EQ(Shown(t.engine.memory), row.memory);
        }
        if (*row.clipboard != '\0') {
            EXPECT_EQ(t.clipboard.text.value_or(""), row.clipboard);
        }
    }
}
