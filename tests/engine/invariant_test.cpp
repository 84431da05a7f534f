// A long seeded stream of command characters, most of them from the command set: whatever
// the user types, the engine stays in a known state, its display fits the format buffer,
// the error state refuses everything but AC, and unknown characters change nothing.

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>

#include "engine_harness.h"

namespace {

constexpr std::uint32_t Seed = 20240611;
constexpr int StreamLength = 300000;
constexpr std::uint32_t CommandShareInTenths = 8;
constexpr std::size_t RecentKeys = 40;

// The keys as a C string literal would write them, for the failure message.
std::string Escaped(std::string_view keys) {
    std::string text;
    for (char c : keys) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
            text += c;
        } else {
            constexpr const char* Hex = "0123456789abcdef";
            text += {'\\', 'x', Hex[byte >> 4], Hex[byte & 0x0F]};
        }
    }
    return text;
}

bool IsAllClear(unsigned char key) {
    return key == 'A' || key == 'a' || key == '\b';
}
bool IsTaxKey(unsigned char key) {
    return key == 'X' || key == 'x' || key == 'Z' || key == 'z';
}

TEST(EngineInvariants, RandomCommandStream) {
    std::mt19937 generator(Seed);
    TestEngine t;
    std::string recent;
    std::array<int, 6> visits{};
    for (int step = 0; step < StreamLength; ++step) {
        const auto roll = static_cast<std::uint32_t>(generator());
        // The generator's raw output is portable; the standard distributions are not.
        const unsigned char key =
            roll % 10 < CommandShareInTenths
                ? static_cast<unsigned char>(
                      CommandCharacters[(roll >> 8) % CommandCharacters.size()])
                : static_cast<unsigned char>(roll >> 8);
        recent += static_cast<char>(key);
        if (recent.size() > RecentKeys) {
            recent.erase(0, 1);
        }

        const bool wasError = t.engine.state == EngineState::Error;
        const std::string before = Fields(t.engine);
        const std::int32_t result = t.engine.HandleCommand(key);
        const std::string context = "step " + std::to_string(step) + ", keys ending \"" +
                                    Escaped(recent) + "\", before: " + before;

        const auto state = static_cast<std::uint32_t>(t.engine.state);
        ASSERT_LE(state, 5u) << context;
        ++visits[state];
        ASSERT_TRUE(result == 0 || result == 1) << context;

        std::array<char, 2 * FormatBufferSize> text{};
        t.engine.display.Format(text.data(), text.size(), true);
        ASSERT_LT(std::strlen(text.data()), FormatBufferSize) << context;

        if (!IsCommandCharacter(key) || (wasError && !IsAllClear(key))) {
            ASSERT_EQ(result, 0) << context;
            ASSERT_EQ(Fields(t.engine), before) << context;
        }
        if (!wasError && IsCommandCharacter(key) && !IsTaxKey(key)) {
            ASSERT_EQ(t.engine.taxState, TaxState::None) << context;
        }
        // An operator waits exactly while the second number is typed; in Waiting either.
        const bool operatorWaits = t.engine.pendingOperator != Operator::None;
        if (t.engine.state == EngineState::EnteringSecond) {
            ASSERT_TRUE(operatorWaits) << context;
        } else if (t.engine.state != EngineState::Waiting && t.engine.state != EngineState::Error) {
            ASSERT_FALSE(operatorWaits) << context;
        }
    }
    // The stream must have reached every state for the checks above to mean anything.
    for (std::size_t state = 0; state < visits.size(); ++state) {
        EXPECT_GT(visits[state], 0) << "state " << state << " never reached";
    }
}

}  // namespace
