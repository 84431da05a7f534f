// The rate and rounding rule: by date, and from the files of the installation's data folder.

#include <cstring>
#include <optional>

#include "engine_harness.h"

namespace {

using namespace std::string_literals;

const std::string DataFolder = "C:\\Faltrane";
const std::string RateFile = "\\DATA\\OTHER\\TAX.AUT";
const std::string RoundingFile = "\\DATA\\OTHER\\Shouhi.AUT";

// The rate and rounding rule (0 Truncate, 1 HalfUp, 2 UpFromTenth) an engine starts with.
std::string Settings(LocalDate today, const MemoryInstallation& installation) {
    FixedClock clock(today);
    MemoryClipboard clipboard;
    const CalcEngine engine({installation, clock, clipboard});
    return Shown(engine.taxRate) + " " + std::to_string(static_cast<int>(engine.taxRounding)) +
           (engine.taxRate.numerator != 0 ? " with a fraction" : "");
}

TEST(TaxSettings, DefaultRateFollowsTheDate) {
    const struct {
        LocalDate today;
        const char* settings;
    } rows[] = {
        {{2013, 12}, "5 0"}, {{2014, 3}, "5 0"},  {{2014, 4}, "8 0"},  {{2015, 1}, "8 0"},
        {{2019, 9}, "8 0"},  {{2019, 10}, "10 0"}, {{2020, 1}, "10 0"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.today.year) + "-" + std::to_string(row.today.month));
        EXPECT_EQ(Settings(row.today, MemoryInstallation{}), row.settings);
    }
}

// In the data folder; the date gives the default 5.
TEST(TaxSettings, DecodesTheRateAndRoundingFiles) {
    const struct {
        std::optional<std::string> rateFile, roundingFile;
        const char* settings;
    } rows[] = {
        {"\x01" "8"s, {}, "8 0"},
        {"\x02" "10"s, {}, "10 0"},
        {"\x03" " 5%"s, {}, "5 0"},
        {"\x02" "-5"s, {}, "-5 0"},
        {"\x02" "+7"s, {}, "7 0"},
        {"\x03" "- 5"s, {}, "0 0"},
        {"\x01" "A"s, {}, "0 0"},
        {"\x09" "999999999"s, {}, "999,999,999 0"},
        {"\x01" "78"s, {}, "7 0"},   // bytes after the count are ignored
        {"\x09" "12"s, {}, "12 0"},  // a short file is read as far as it goes
        {"\x01"s, {}, "0 0"},
        {"\0" "7"s, {}, "5 0"},
        {"\x0A" "1234567890"s, {}, "5 0"},
        {"\x85" "7"s, {}, "5 0"},
        {""s, {}, "5 0"},
        {{}, "\x01" "U"s, "5 2"},
        {{}, "\x01" "F"s, "5 1"},
        {{}, "\x01" "u"s, "5 0"},
        {{}, "\x02" "U"s, "5 0"},
        {{}, "\x01" "UA"s, "5 2"},
        {{}, ""s, "5 0"},
        {"\x01" "8"s, "\x01" "F"s, "8 1"},
        {"\x0A"s, "\x01" "U"s, "5 2"},  // a bad rate file does not stop the rounding file
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.rateFile.value_or("(none)") + " / " + row.roundingFile.value_or("(none)"));
        MemoryInstallation installation;
        installation.dataFolder = DataFolder;
        if (row.rateFile) {
            installation.files[DataFolder + RateFile] = *row.rateFile;
        }
        if (row.roundingFile) {
            installation.files[DataFolder + RoundingFile] = *row.roundingFile;
        }
        EXPECT_EQ(Settings({2013, 12}, installation), row.settings);
    }
}

// Both files say 7 and F in every folder there is; whether the engine finds them depends on
// the registry and on whether the path fits in 260 bytes.
TEST(TaxSettings, FindsTheFilesThroughTheDataFolderOnly) {
    const struct {
        bool keyPresent;
        std::optional<std::string> dataFolder, programFolder;
        const char* settings;
    } rows[] = {
        {true, DataFolder, {}, "7 1"},
        {false, DataFolder, DataFolder, "5 0"},
        {true, {}, DataFolder, "5 0"},
        {true, std::string(240, 'd'), {}, "7 0"},  // the rate path fills the buffer
        {true, std::string(241, 'd'), {}, "5 0"},
        {true, std::string(237, 'd'), {}, "7 1"},  // the rounding path fills it
        {true, std::string(238, 'd'), {}, "7 0"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.dataFolder.value_or("(none)").substr(0, 20) + " " + row.settings);
        MemoryInstallation installation;
        installation.keyPresent = row.keyPresent;
        installation.dataFolder = row.dataFolder;
        installation.programFolder = row.programFolder;
        for (const std::optional<std::string>& base : {row.dataFolder, row.programFolder}) {
            if (base) {
                installation.files[*base + RateFile] = "\x01" "7";
                installation.files[*base + RoundingFile] = "\x01" "F";
            }
        }
        EXPECT_EQ(Settings({2013, 12}, installation), row.settings);
    }
}

// A registry value that fills the whole buffer comes back without a terminator.
TEST(TaxSettings, UnterminatedFolderCountsAsTooLong) {
    struct Unterminated : MemoryInstallation {
        mutable int filesRead = 0;
        bool QueryInstallDir(char* buffer, std::size_t size, bool) const override {
            std::memset(buffer, 'd', size);
            return true;
        }
        std::optional<std::size_t> ReadFileStart(const char*,
                                                 std::span<std::uint8_t>) const override {
            ++filesRead;
            return std::nullopt;
        }
    } installation;
    EXPECT_EQ(Settings({2013, 12}, installation), "5 0");
    EXPECT_EQ(installation.filesRead, 0);
}

}  // namespace
