// A long seeded stream of characters, most of them commands: whatever the user types, the
// engine stays in a known state whose pending operator fits it, its display fits the format
// buffer, the error state refuses everything but AC, and unknown characters change nothing.

#include <cstring>
#include <random>

#include "engine_harness.h"

namespace {

TEST(EngineInvariants, RandomCommandStream) {
    constexpr int StreamLength = 300000;
    std::mt19937 generator(20240611);
    TestEngine t;
    std::string recent;  // the last keys, for the failure message
    std::array<int, 6> visits{};
    for (int step = 0; step < StreamLength; ++step) {
        const auto roll = static_cast<std::uint32_t>(generator());
        // Eight in ten from the command set; the generator's raw output is portable, the
        // standard distributions are not.
        const auto key = roll % 10 < 8
                             ? static_cast<unsigned char>(
                                   CommandCharacters[(roll >> 8) % CommandCharacters.size()])
                             : static_cast<unsigned char>(roll >> 8);
        recent = recent.substr(recent.size() < 40 ? 0 : 1) + static_cast<char>(key);
        const bool wasError = t.engine.state == EngineState::Error;
        const bool refused =
            !IsCommand(key) || (wasError && key != 'A' && key != 'a' && key != '\b');
        const std::string before = refused ? Fields(t) : std::string();
        const std::int32_t result = t.engine.HandleCommand(key);
        auto where = [&] {
            return "step " + std::to_string(step) + " after " + testing::PrintToString(recent);
        };

        const auto state = static_cast<std::uint32_t>(t.engine.state);
        ASSERT_LE(state, 5u) << where();
        ++visits[state];
        ASSERT_TRUE(result == 0 || result == 1) << where();
        std::array<char, 2 * FormatBufferSize> text{};
        t.engine.display.Format(text.data(), text.size(), true);
        ASSERT_LT(std::strlen(text.data()), FormatBufferSize) << where();
        if (refused) {
            ASSERT_EQ(result, 0) << where();
            ASSERT_EQ(Fields(t), before) << where();
        } else if (!wasError && key != 'X' && key != 'x' && key != 'Z' && key != 'z') {
            ASSERT_EQ(t.engine.taxState, TaxState::None) << where();
        }
        // An operator waits exactly while the second number is typed; in Waiting either.
        const bool operatorWaits = t.engine.pendingOperator != Operator::None;
        if (t.engine.state == EngineState::EnteringSecond) {
            ASSERT_TRUE(operatorWaits) << where();
        } else if (t.engine.state != EngineState::Waiting && t.engine.state != EngineState::Error) {
            ASSERT_FALSE(operatorWaits) << where();
        }
    }
    for (std::size_t state = 0; state < visits.size(); ++state) {
        EXPECT_GT(visits[state], 0) << "state " << state << " never reached";
    }
}

}  // namespace
