// Whatever the rate and rounding files hold, a new engine reads a whole-number rate that
// nine characters can write and one of the three rounding rules, and falls back on the
// rate by date and truncation exactly where the files give nothing usable.

#include <optional>
#include <string>

#include "byte_reader.h"
#include "check.h"
#include "decimal_properties.h"
#include "engine_properties.h"
#include "targets.h"

namespace fuzzcheck {

namespace {

constexpr std::size_t MaxRateFileLength = 16;
constexpr std::size_t MaxRoundingFileLength = 8;
constexpr std::size_t MaxRateTextLength = 9;
constexpr std::int64_t HighestRate = 999'999'999;  // "999999999"
constexpr std::int64_t LowestRate = -99'999'999;   // "-99999999"

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Leading white space, one sign, then digits up to the first byte that is not one.
std::int64_t DecodedNumber(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t number = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        number = number * 10 + (text[i] - '0');
    }
    return negative ? -number : number;
}

std::int64_t WholeRate(const DecimalValue& rate) {
    FUZZ_REQUIRE(rate.errorCode == DecimalError::None);
    FUZZ_REQUIRE(rate.numerator == 0 && rate.denominator == 1);
    return rate.negative != 0 ? -rate.integerPart : rate.integerPart;
}

bool PathFits(const std::string& folder, std::string_view fileName) {
    return folder.size() + fileName.size() < PathBufferSize;
}

}  // namespace

void CheckTaxFiles(Input input) {
    ByteReader reader(input);
    const std::uint8_t flags = reader.TakeByte();
    const LocalDate today{reader.Take<std::int16_t>(), reader.TakeByte()};
    // Folders around the length at which the file names no longer fit in 260 bytes.
    const std::string folder = "C:\\" + std::string(reader.Take<std::uint16_t>() % 270, 'f');
    auto rateBytes = reader.TakeBytes(reader.TakeByte() % MaxRateFileLength);
    auto roundingBytes = reader.TakeBytes(reader.TakeByte() % MaxRoundingFileLength);
    const std::string rateFile(rateBytes.begin(), rateBytes.end());
    const std::string roundingFile(roundingBytes.begin(), roundingBytes.end());

    Machine bare(today);
    const std::int64_t dateRate = WholeRate(CalcEngine(bare.Platform()).taxRate);

    Machine machine(today);
    machine.installation.keyPresent = (flags & 0x01) != 0;
    if ((flags & 0x02) != 0) {
        machine.installation.dataFolder = folder;
    }
    // The program folder never stands in for the data folder.
    machine.installation.programFolder = folder;
    const bool ratePresent = (flags & 0x04) != 0;
    const bool roundingPresent = (flags & 0x08) != 0;
    if (ratePresent) {
        machine.installation.files[folder + std::string(RateFileName)] = rateFile;
    }
    if (roundingPresent) {
        machine.installation.files[folder + std::string(RoundingFileName)] = roundingFile;
    }
    const bool folderFound = (flags & 0x03) == 0x03;

    CalcEngine engine(machine.Platform());
    CheckEngineShape(engine);
    CheckAllCleared(engine);

    const std::int64_t rate = WholeRate(engine.taxRate);
    FUZZ_REQUIRE(rate >= LowestRate && rate <= HighestRate);
    const bool rateFileRead = folderFound && ratePresent && PathFits(folder, RateFileName);
    const auto count = static_cast<std::int8_t>(rateFile.empty() ? 0 : rateFile[0]);
    const std::size_t textLength = static_cast<std::size_t>(count);
    if (!rateFileRead || count < 1 || textLength > MaxRateTextLength) {
        FUZZ_REQUIRE(rate == dateRate);
    } else if (rateFile.size() >= 1 + textLength) {
        FUZZ_REQUIRE(rate == DecodedNumber(rateFile.substr(1, textLength)));
    } else {
        // A file shorter than its count: the bytes present, or no usable file at all.
        FUZZ_REQUIRE(rate == DecodedNumber(rateFile.substr(1)) || rate == dateRate);
    }

    const bool roundingFileRead =
        folderFound && roundingPresent && PathFits(folder, RoundingFileName);
    TaxRounding expected = TaxRounding::Truncate;
    if (roundingFileRead && roundingFile.size() >= 2 && roundingFile[0] == 1) {
        if (roundingFile[1] == 'U') {
            expected = TaxRounding::UpFromTenth;
        } else if (roundingFile[1] == 'F') {
            expected = TaxRounding::HalfUp;
        }
    }
    FUZZ_REQUIRE(engine.taxRounding == expected);
}

}  // namespace fuzzcheck
