// A million random commands through engines on machines of every kind (rates and rounding
// rules from the files, a clipboard that comes and goes with any text), each command
// checked for the rules every command keeps.

#include <random>

#include <gtest/gtest.h>

#include "fuzz.h"

namespace {

TEST(EngineSoak, MillionRandomCommandsKeepEveryProperty) {
    // clang-format off
    const std::string clipboardTexts[] = {
        "1,234.5", "-0.5", "999999999999", "0.00000000001", "12abc", "", " 12", "1.2.3",
        "9999999999999999999999999", "-", "\x82\x50\x82\x51", std::string{'4', '\0', '2'},
        "123456789012.99999999999", ",,,,,,,,,,,,,,,,,,,5"};
    // Rate and rounding files: a count byte, then the text.
    const std::pair<std::string, std::string> kinds[] = {
        {"\x01" "8", "\x01T"}, {"\x02" "10", "\x01" "F"}, {"\x09" "999999999", "\x01U"},
        {"\x02-5", "\x01" "F"}};
    // clang-format on
    std::mt19937 random(0x4B61'7276);
    std::string broken;
    fuzzcheck::RecordFailuresInto(&broken);
    int visits[6] = {}, errorsCleared = 0, pastes = 0;
    for (const auto& [rate, rounding] : kinds) {
        SCOPED_TRACE(rate.substr(1));
        fuzzcheck::Machine machine({2020, 6});
        machine.installation.keyPresent = true;
        machine.installation.dataFolder = "C:\\Faltrane";
        machine.AddTaxFiles("C:\\Faltrane", &rate, &rounding);
        CalcEngine engine(machine.Platform());
        for (int step = 0; step < 250'000; ++step) {
            const auto roll = static_cast<std::uint32_t>(random());
            if (roll % 1000 < 6) {
                const auto change = static_cast<std::uint32_t>(random());
                machine.clipboard.available = change % 5 != 0;
                machine.clipboard.memoryLeft = change % 7 != 0;
                machine.clipboard.text = clipboardTexts[(change >> 8) % std::size(clipboardTexts)];
            }
            // Mostly the calculator's keys; the rest any character a window message can carry.
            const std::int32_t command =
                roll % 1000 < 4 ? 'A'
                : (roll >> 10) % 100 < 90
                    ? static_cast<unsigned char>(
                          CommandCharacters[(roll >> 17) % CommandCharacters.size()])
                    : static_cast<std::int32_t>((roll >> 16) & 0xFFFF);
            const bool wasError = engine.state == EngineState::Error;
            const std::int32_t result =
                fuzzcheck::CheckedCommand(engine, machine.clipboard, command);
            // The seed is fixed: the step and the command find the failure again.
            ASSERT_EQ(broken, "") << "step " << step << ", command " << command;
            ++visits[static_cast<int>(engine.state)];
            errorsCleared += wasError && IsAllClear(command) ? 1 : 0;
            pastes += (command == 'D' || command == 'd') && result == 1 ? 1 : 0;
        }
    }
    fuzzcheck::RecordFailuresInto(nullptr);
    // The stream must have gone everywhere for the checks to mean anything.
    for (int state = 0; state < 6; ++state) {
        EXPECT_GT(visits[state], 0) << "state " << state << " never reached";
    }
    EXPECT_GT(errorsCleared, 100);
    EXPECT_GT(pastes, 100);
}

}  // namespace
