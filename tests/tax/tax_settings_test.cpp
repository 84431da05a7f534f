#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "engine_harness.h"

namespace {

std::string Bytes(std::initializer_list<int> bytes) {
    std::string text;
    for (int b : bytes) {
        text.push_back(static_cast<char>(b));
    }
    return text;
}

std::int64_t RateOf(const CalcEngine& engine) {
    const DecimalValue& rate = engine.taxRate;
    EXPECT_EQ(rate.numerator, 0);
    EXPECT_EQ(rate.errorCode, DecimalError::None);
    return rate.negative ? -rate.integerPart : rate.integerPart;
}

struct DateCase {
    const char* name;
    LocalDate today;
    std::int64_t rate;
};

TEST(TaxSettings, DefaultRateFollowsTheDate) {
    const DateCase cases[] = {
        {"December 2013", {2013, 12}, 5}, {"31 March 2014", {2014, 3}, 5},
        {"1 April 2014", {2014, 4}, 8},   {"January 2015", {2015, 1}, 8},
        {"November 2018", {2018, 11}, 8}, {"September 2019", {2019, 9}, 8},
        {"October 2019", {2019, 10}, 10}, {"January 2020", {2020, 1}, 10},
        {"March 2031", {2031, 3}, 10},
    };
    for (const DateCase& c : cases) {
        Machine machine(c.today);
        machine.installation.keyPresent = false;
        CalcEngine engine(machine.Get());
        EXPECT_EQ(RateOf(engine), c.rate) << c.name;
        EXPECT_EQ(engine.taxRounding, TaxRounding::Truncate) << c.name;
    }
}

// The files sit in the data folder; the date gives the default 5.
struct FileCase {
    const char* name;
    std::optional<std::string> rateFile;
    std::optional<std::string> roundingFile;
    std::int64_t rate;
    TaxRounding rounding;
};

TEST(TaxSettings, DecodesTheRateAndRoundingFiles) {
    const std::string nineNines = Bytes({9}) + "999999999";
    const FileCase cases[] = {
        {"one digit", Bytes({1, '8'}), {}, 8, TaxRounding::Truncate},
        {"two digits", Bytes({2, '1', '0'}), {}, 10, TaxRounding::Truncate},
        {"space, digit, percent", Bytes({3, ' ', '5', '%'}), {}, 5, TaxRounding::Truncate},
        {"minus five", Bytes({2, '-', '5'}), {}, -5, TaxRounding::Truncate},
        {"plus seven", Bytes({2, '+', '7'}), {}, 7, TaxRounding::Truncate},
        {"sign then space", Bytes({3, '-', ' ', '5'}), {}, 0, TaxRounding::Truncate},
        {"letter", Bytes({1, 'A'}), {}, 0, TaxRounding::Truncate},
        {"zero", Bytes({1, '0'}), {}, 0, TaxRounding::Truncate},
        {"nine nines", nineNines, {}, 999999999, TaxRounding::Truncate},
        {"bytes after the count ignored", Bytes({1, '7', '8'}), {}, 7, TaxRounding::Truncate},
        {"count 9, two bytes", Bytes({9, '1', '2'}), {}, 12, TaxRounding::Truncate},
        {"count 1, no text", Bytes({1}), {}, 0, TaxRounding::Truncate},
        {"count 0x00", Bytes({0x00, '7'}), {}, 5, TaxRounding::Truncate},
        {"count 0x0A", Bytes({0x0A}) + "1234567890", {}, 5, TaxRounding::Truncate},
        {"count 0x85", Bytes({0x85, '7'}), {}, 5, TaxRounding::Truncate},
        {"count 0xFF", Bytes({0xFF, '7'}), {}, 5, TaxRounding::Truncate},
        {"empty rate file", std::string(), {}, 5, TaxRounding::Truncate},
        {"U", {}, Bytes({1, 'U'}), 5, TaxRounding::UpFromTenth},
        {"F", {}, Bytes({1, 'F'}), 5, TaxRounding::HalfUp},
        {"lower-case u", {}, Bytes({1, 'u'}), 5, TaxRounding::Truncate},
        {"02 55", {}, Bytes({2, 'U'}), 5, TaxRounding::Truncate},
        {"01 55 41", {}, Bytes({1, 'U', 'A'}), 5, TaxRounding::UpFromTenth},
        {"empty rounding file", {}, std::string(), 5, TaxRounding::Truncate},
        {"both files", Bytes({1, '8'}), Bytes({1, 'F'}), 8, TaxRounding::HalfUp},
        {"bad rate count, rounding still read", Bytes({0x0A}), Bytes({1, 'U'}), 5,
         TaxRounding::UpFromTenth},
    };
    for (const FileCase& c : cases) {
        Machine machine({2013, 12});
        machine.installation.dataFolder = std::string(DataFolder);
        if (c.rateFile) {
            machine.installation.files[std::string(DataFolder) + std::string(RateFile)] =
                *c.rateFile;
        }
        if (c.roundingFile) {
            machine.installation.files[std::string(DataFolder) + std::string(RoundingFile)] =
                *c.roundingFile;
        }
        CalcEngine engine(machine.Get());
        EXPECT_EQ(RateOf(engine), c.rate) << c.name;
        EXPECT_EQ(engine.taxRounding, c.rounding) << c.name;
    }
}

// Both files say 7 and F wherever they are looked for; what the engine finds depends on
// the registry and on whether the path fits in 260 bytes.
struct FolderCase {
    const char* name;
    bool keyPresent;
    std::optional<std::string> dataFolder;
    std::optional<std::string> programFolder;
    std::int64_t rate;
    TaxRounding rounding;
};

TEST(TaxSettings, FindsTheFilesThroughTheDataFolderOnly) {
    const std::string folder(DataFolder);
    // 240 + 19 characters of the rate file's path fill the 260 bytes; the rounding file's
    // name is three characters longer.
    const std::string longest(240, 'd');
    const FolderCase cases[] = {
        {"data folder", true, folder, {}, 7, TaxRounding::HalfUp},
        {"registry key missing", false, folder, folder, 5, TaxRounding::Truncate},
        {"only the program folder", true, {}, folder, 5, TaxRounding::Truncate},
        {"folder of 255 characters", true, std::string(255, 'd'), {}, 5, TaxRounding::Truncate},
        {"rate path fills the buffer", true, longest, {}, 7, TaxRounding::Truncate},
        {"both paths fit", true, std::string(237, 'd'), {}, 7, TaxRounding::HalfUp},
        {"rounding path one byte over", true, std::string(238, 'd'), {}, 7, TaxRounding::Truncate},
        {"rate path one byte over", true, std::string(241, 'd'), {}, 5, TaxRounding::Truncate},
    };
    for (const FolderCase& c : cases) {
        Machine machine({2013, 12});
        machine.installation.keyPresent = c.keyPresent;
        machine.installation.dataFolder = c.dataFolder;
        machine.installation.programFolder = c.programFolder;
        for (const std::optional<std::string>& base : {c.dataFolder, c.programFolder}) {
            if (base) {
                machine.installation.files[*base + std::string(RateFile)] = Bytes({1, '7'});
                machine.installation.files[*base + std::string(RoundingFile)] = Bytes({1, 'F'});
            }
        }
        CalcEngine engine(machine.Get());
        EXPECT_EQ(RateOf(engine), c.rate) << c.name;
        EXPECT_EQ(engine.taxRounding, c.rounding) << c.name;
    }
}

// A registry value that fills the whole buffer comes back without a terminator.
class UnterminatedInstallation : public Installation {
  public:
    mutable int filesRead = 0;

    bool QueryInstallDir(char* buffer, std::size_t size, bool) const override {
        std::memset(buffer, 'd', size);
        return true;
    }
    std::optional<std::size_t> ReadFileStart(const char*, std::span<std::uint8_t>) const override {
        ++filesRead;
        return std::nullopt;
    }
};

TEST(TaxSettings, UnterminatedFolderCountsAsTooLong) {
    UnterminatedInstallation installation;
    FixedClock clock({2013, 12});
    MemoryClipboard clipboard;
    CalcEngine engine({installation, clock, clipboard});
    EXPECT_EQ(RateOf(engine), 5);
    EXPECT_EQ(engine.taxRounding, TaxRounding::Truncate);
    EXPECT_EQ(installation.filesRead, 0);

    char buffer[PathBufferSize];
    EXPECT_FALSE(engine.QueryInstallDir(buffer, sizeof buffer, true));
}

}  // namespace
