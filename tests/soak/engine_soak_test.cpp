// A million random commands through engines on machines of every kind (tax rates and
// rounding rules from the files, a clipboard that comes and goes and holds any text), each
// command checked for the properties every command keeps.

#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "check.h"
#include "engine_properties.h"

namespace {

constexpr std::uint32_t Seed = 0x4B61'7276;
constexpr int CommandsPerMachine = 250'000;
constexpr std::size_t RecentCommands = 48;

// Most keys are the calculator's own; the rest any character a window message can carry.
constexpr std::string_view Keys = "0123456789.+-*/=%\r\bAaCcDdGgLlMmPpRrSsTtXxZz";
constexpr std::uint32_t KeyShareInPercent = 90;
constexpr std::uint32_t AllClearShareInPerMille = 4;
constexpr std::uint32_t ClipboardChangeShareInPerMille = 6;

const std::string clipboardTexts[] = {
    "1,234.5",
    "-0.5",
    "999999999999",
    "0.00000000001",
    "12abc",
    "",
    " 12",
    "1.2.3",
    "9999999999999999999999999",
    "-",
    "\x82\x50\x82\x51",  // full-width digits
    std::string{'4', '\0', '2'},
    "123456789012.99999999999",
    ",,,,,,,,,,,,,,,,,,,5",
};

// The count byte and the text of a rate or rounding file.
std::string CountedText(std::string_view text) {
    return static_cast<char>(text.size()) + std::string(text);
}

struct MachineKind {
    const char* name;
    std::string rateFile;
    std::string roundingFile;
};

const MachineKind machineKinds[] = {
    {"rate 8, truncation", CountedText("8"), CountedText("T")},
    {"rate 10, half up", CountedText("10"), CountedText("F")},
    {"nine-digit rate, up from a tenth", CountedText("999999999"), CountedText("U")},
    {"negative rate", CountedText("-5"), CountedText("F")},
};

std::string brokenProperty;

void RecordFirstFailure(const char* property, const char* file, int line) {
    if (brokenProperty.empty()) {
        brokenProperty = std::string(file) + ":" + std::to_string(line) + ": " + property;
    }
}

std::string Escaped(const std::u32string& commands) {
    std::string text;
    for (char32_t c : commands) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            text += static_cast<char>(c);
        } else {
            text += "\\x" + std::to_string(static_cast<std::uint32_t>(c)) + ";";
        }
    }
    return text;
}

TEST(EngineSoak, MillionRandomCommandsKeepEveryProperty) {
    std::mt19937 random(Seed);
    fuzzcheck::SetFailureHandler(RecordFirstFailure);
    std::array<int, 6> visits{};
    int errorsCleared = 0;
    int pastes = 0;

    for (const MachineKind& kind : machineKinds) {
        SCOPED_TRACE(kind.name);
        fuzzcheck::Machine machine({2020, 6});
        machine.installation.keyPresent = true;
        machine.installation.dataFolder = "C:\\Faltrane";
        machine.installation.files["C:\\Faltrane" + std::string(fuzzcheck::RateFileName)] =
            kind.rateFile;
        machine.installation.files["C:\\Faltrane" + std::string(fuzzcheck::RoundingFileName)] =
            kind.roundingFile;
        CalcEngine engine(machine.Platform());
        std::u32string recent;

        for (int step = 0; step < CommandsPerMachine; ++step) {
            const auto roll = static_cast<std::uint32_t>(random());
            if (roll % 1000 < ClipboardChangeShareInPerMille) {
                const auto change = static_cast<std::uint32_t>(random());
                machine.clipboard.available = change % 5 != 0;
                machine.clipboard.memoryLeft = change % 7 != 0;
                machine.clipboard.text = clipboardTexts[(change >> 8) % std::size(clipboardTexts)];
            }
            std::int32_t command = 0;
            if (roll % 1000 < AllClearShareInPerMille) {
                command = 'A';
            } else if ((roll >> 10) % 100 < KeyShareInPercent) {
                command = static_cast<unsigned char>(Keys[(roll >> 17) % Keys.size()]);
            } else {
                command = static_cast<std::int32_t>((roll >> 16) & 0xFFFF);
            }
            recent += static_cast<char32_t>(command);
            if (recent.size() > RecentCommands) {
                recent.erase(0, 1);
            }

            const bool wasError = engine.state == EngineState::Error;
            const std::int32_t result =
                fuzzcheck::CheckedCommand(engine, machine.clipboard, command);
            ASSERT_TRUE(brokenProperty.empty())
                << brokenProperty << "\nafter step " << step << ", commands ending \""
                << Escaped(recent) << "\"";
            ++visits[static_cast<std::size_t>(engine.state)];
            errorsCleared += wasError && fuzzcheck::IsAllClear(command) ? 1 : 0;
            pastes += (command == 'D' || command == 'd') && result == 1 ? 1 : 0;
        }
    }
    fuzzcheck::SetFailureHandler(nullptr);

    // The stream must have gone everywhere for the checks to mean anything.
    for (std::size_t state = 0; state < visits.size(); ++state) {
        EXPECT_GT(visits[state], 0) << "state " << state << " never reached";
    }
    EXPECT_GT(errorsCleared, 100);
    EXPECT_GT(pastes, 100);
}

}  // namespace
