// The rate and rounding rule: by date, and from the files of the installation's data folder.

#include <optional>
#include <span>
#include <utility>

#include "engine_harness.h"
#include "tax/tax_rules.h"

namespace {

using namespace std::string_literals;

const std::string DataFolder = "C:\\Faltrane";

std::span<const std::uint8_t> Bytes(const std::string& file) {
    return {reinterpret_cast<const std::uint8_t*>(file.data()), file.size()};
}

// Rate files, bytes as written with the count byte in octal; nothing: the rate by date applies.
TEST(TaxFiles, RateFileGivesItsNumberOnlyWhenWhole) {
    const std::pair<std::string, std::optional<std::int64_t>> rows[] = {
        {"\0018"s, 8},      {"\00210"s, 10},       {"\003 5%"s, 5}, {"\002-5"s, -5},
        {"\002+7"s, 7},     {"\003- 5"s, 0},        {"\001A"s, 0},   {"\00178"s, 7},
        {""s, {}},          {"\001"s, {}},          {"\01112"s, {}},  // empty, cut short
        {"\0007"s, {}},     {"\0121234567890"s, {}}, {"\2057"s, {}},   // count 0, 10, -123
    };
    for (const auto& [file, rate] : rows) {
        EXPECT_EQ(DecodeRateFile(Bytes(file)), rate) << file.size() << " bytes";
    }
    const std::pair<std::string, TaxRounding> roundings[] = {
        {"\001U"s, TaxRounding::UpFromTenth}, {"\001F"s, TaxRounding::HalfUp},
        {"\001UA"s, TaxRounding::UpFromTenth}, {"\001u"s, TaxRounding::Truncate},
        {"\002U"s, TaxRounding::Truncate},     {"\001"s, TaxRounding::Truncate},
        {""s, TaxRounding::Truncate}};
    for (const auto& [file, rule] : roundings) {
        EXPECT_EQ(DecodeRoundingFile(Bytes(file)), rule) << file;
    }
}

// At the date given, by default one before April 2014 (rate 5), with the files given in the
// data folder and, where one is set, the program folder. The files are found only through the
// data folder of a registry key present, and only where the path fits in 260 bytes.
// Settings: the rate, then the rounding rule (0 Truncate, 1 HalfUp, 2 UpFromTenth).
TEST(TaxSettings, FollowTheDateAndTheFiles) {
    const std::string seven = "\0017", halfUp = "\001F";
    const struct {
        std::optional<std::string> rateFile, roundingFile;
        const char* settings;
        LocalDate today = {2013, 12};
        std::optional<std::string> dataFolder = DataFolder, programFolder = {};
        bool keyPresent = true;
    } rows[] = {
        {{}, {}, "5 0", {2014, 3}},
        {{}, {}, "8 0", {2014, 4}},
        {{}, {}, "8 0", {2019, 9}},
        {{}, {}, "10 0", {2019, 10}},
        {"\011999999999"s, {}, "999,999,999 0"},  // the whole nine digits are read
        {"\012"s, "\001U"s, "5 2"},  // a bad rate file does not stop the rounding file
        {seven, halfUp, "7 1"},
        {seven, halfUp, "5 0", {2013, 12}, DataFolder, DataFolder, false},
        {seven, halfUp, "5 0", {2013, 12}, {}, DataFolder},
        {seven, halfUp, "7 0", {2013, 12}, std::string(240, 'd')},  // the rate path fills it
        {seven, halfUp, "5 0", {2013, 12}, std::string(241, 'd')},
        {seven, halfUp, "7 1", {2013, 12}, std::string(237, 'd')},  // the rounding path fills it
        {seven, halfUp, "7 0", {2013, 12}, std::string(238, 'd')},
    };
    for (const auto& row : rows) {
        MemoryPlatform machine(row.today);
        machine.installation.keyPresent = row.keyPresent;
        machine.installation.dataFolder = row.dataFolder;
        machine.installation.programFolder = row.programFolder;
        for (const std::optional<std::string>& base : {row.dataFolder, row.programFolder}) {
            if (base)
                machine.installation.PutTaxFiles(*base, row.rateFile, row.roundingFile);
        }
        const CalcEngine engine(machine.Get());
        EXPECT_EQ(Shown(engine.taxRate) + " " + std::to_string(int(engine.taxRounding)),
                  row.settings)
            << row.rateFile.value_or("(none)") << " / " << row.roundingFile.value_or("(none)")
            << " in " << row.dataFolder.value_or("(none)").substr(0, 20);
    }
}

}  // namespace
