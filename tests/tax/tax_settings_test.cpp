// The rate and rounding rule: by date, and from the files of the installation's data folder.

#include <cstring>
#include <optional>

#include "engine_harness.h"

namespace {

using namespace std::string_literals;

const std::string DataFolder = "C:\\Faltrane";
const std::string RateFile(RateFileName);
const std::string RoundingFile(RoundingFileName);

// The rate and rounding rule (0 Truncate, 1 HalfUp, 2 UpFromTenth) an engine starts with.
std::string Settings(LocalDate today, const MemoryInstallation& installation) {
    FixedClock clock(today);
    MemoryClipboard clipboard;
    const CalcEngine engine({installation, clock, clipboard});
    return Shown(engine.taxRate) + " " + std::to_string(static_cast<int>(engine.taxRounding));
}

// At the date given, by default one before April 2014 (rate 5), with the files given in the
// data folder. Each file starts with its count byte, written in octal.
TEST(TaxSettings, FollowTheDateAndTheFiles) {
    const struct {
        std::optional<std::string> rateFile, roundingFile;
        const char* settings;
        LocalDate today = {2013, 12};
    } rows[] = {
        {{}, {}, "5 0", {2014, 3}},   {{}, {}, "8 0", {2014, 4}},
        {{}, {}, "8 0", {2015, 1}},   {{}, {}, "8 0", {2019, 9}},
        {{}, {}, "10 0", {2019, 10}}, {{}, {}, "10 0", {2020, 1}},
        {"\0018"s, {}, "8 0"},        {"\00210"s, {}, "10 0"},
        {"\003 5%"s, {}, "5 0"},      {"\002-5"s, {}, "-5 0"},
        {"\002+7"s, {}, "7 0"},       {"\003- 5"s, {}, "0 0"},
        {"\001A"s, {}, "0 0"},        {"\011999999999"s, {}, "999,999,999 0"},
        {"\00178"s, {}, "7 0"},   // bytes after the count are ignored
        {"\01112"s, {}, "12 0"},  // a short file is read as far as it goes
        {"\0007"s, {}, "5 0"},        {"\0121234567890"s, {}, "5 0"},
        {"\2057"s, {}, "5 0"},        {{}, "\001U"s, "5 2"},
        {{}, "\001F"s, "5 1"},        {{}, "\001u"s, "5 0"},
        {{}, "\002U"s, "5 0"},        {{}, "\001UA"s, "5 2"},
        {"\012"s, "\001U"s, "5 2"},  // a bad rate file does not stop the rounding file
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.rateFile.value_or("(none)") + " / " + row.roundingFile.value_or("(none)") +
                     " in " + std::to_string(row.today.year) + "-" +
                     std::to_string(row.today.month));
        MemoryInstallation installation;
        installation.dataFolder = DataFolder;
        if (row.rateFile) {
            installation.files[DataFolder + RateFile] = *row.rateFile;
        }
        if (row.roundingFile) {
            installation.files[DataFolder + RoundingFile] = *row.roundingFile;
        }
        EXPECT_EQ(Settings(row.today, installation), row.settings);
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
                installation.files[*base + RateFile] = "\0017";
                installation.files[*base + RoundingFile] = "\001F";
            }
        }
        EXPECT_EQ(Settings({2013, 12}, installation), row.settings);
    }
}

// A registry value that fills the whole buffer comes back without a terminator; reading past
// it is what the sanitizer build would catch.
TEST(TaxSettings, UnterminatedFolderCountsAsTooLong) {
    struct Unterminated : MemoryInstallation {
        bool QueryInstallDir(char* buffer, std::size_t size, bool) const override {
            std::memset(buffer, 'd', size);
            return true;
        }
    } installation;
    installation.files[std::string(PathBufferSize, 'd') + RateFile] = "\0017";
    EXPECT_EQ(Settings({2013, 12}, installation), "5 0");
    FixedClock clock({2013, 12});
    MemoryClipboard clipboard;
    char folder[PathBufferSize];
    EXPECT_FALSE(
        CalcEngine({installation, clock, clipboard}).QueryInstallDir(folder, sizeof folder, true));
}

}  // namespace
