// The rate and rounding rule: by date, and from the files of the installation's data folder.

#include <optional>
#include <span>
#include <tuple>
#include <utility>

#include "tax/tax_rules.h"
#include "tests/engine/engine_harness.h"

namespace {

using namespace std::string_literals;

const std::string DataFolder = "C:\\Faltrane";

std::span<const std::uint8_t> Bytes(const std::string& file) {
    return {reinterpret_cast<const std::uint8_t*>(file.data()), file.size()};
}

// Each file's bytes read both ways, the count byte in octal: the rate (nothing: the rate by
// date applies), then the rounding rule.
TEST(TaxFiles, DecodeOnlyWholeFiles) {
    const std::tuple<std::string, std::optional<std::int64_t>, TaxRounding> rows[] = {
        // clang-format off
        {"\0018"s, 8, {}}, {"\00210"s, 10, {}}, {"\003 5%"s, 5, {}}, {"\002-5"s, -5, {}},
        {"\002+7"s, 7, {}}, {"\003- 5"s, 0, {}}, {"\001A"s, 0, {}},
        {"\00178"s, 7, {}}, {"\001UA"s, 0, TaxRounding::UpFromTenth},  // later bytes ignored
        {""s, {}, {}}, {"\001"s, {}, {}}, {"\01112"s, {}, {}},  // empty, count alone, cut short
        {"\0007"s, {}, {}}, {"\0121234567890"s, {}, {}}, {"\2057"s, {}, {}},  // count 0, 10, -123
        {"\001U"s, 0, TaxRounding::UpFromTenth}, {"\001F"s, 0, TaxRounding::HalfUp},
        {"\001u"s, 0, {}}, {"\002U"s, {}, {}}};
    // clang-format on
    for (const auto& [file, rate, rule] : rows) {
        EXPECT_EQ(std::pair(DecodeRateFile(Bytes(file)), DecodeRoundingFile(Bytes(file))),
                  std::pair(rate, rule))
            << file.size() << " bytes: " << file;
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
        {"\012"s, "\001U"s, "5 2"},               // a bad rate file does not stop the rounding file
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
