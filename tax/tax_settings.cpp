// The tax rate and rounding rule, read once from the business application's data folder.
// Whatever is missing or malformed falls back silently: the rate by date, truncation.

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <string_view>

#include "engine/calc_engine.h"
#include "tax/tax_rules.h"

namespace {

// Appends name to the terminated path in buffer; false, with nothing written, when the
// whole would not fit in size bytes with its terminator.
bool AppendFileName(char* buffer, std::size_t size, std::string_view name) {
    const void* end = std::memchr(buffer, '\0', size);
    if (end == nullptr) {
        return false;
    }
    const auto length = static_cast<std::size_t>(static_cast<const char*>(end) - buffer);
    if (name.size() >= size - length) {
        return false;
    }
    std::memcpy(buffer + length, name.data(), name.size());
    buffer[length + name.size()] = '\0';
    return true;
}

}  // namespace

bool CalcEngine::QueryInstallDir(char* buffer, std::size_t size, bool programFolder) const {
    if (size == 0 || !installation_.QueryInstallDir(buffer, size, programFolder)) {
        return false;
    }
    // A value that fills the whole buffer arrives without its terminator: too long.
    if (std::memchr(buffer, '\0', size) == nullptr) {
        buffer[0] = '\0';
        return false;
    }
    return true;
}

void CalcEngine::LoadTaxSettings() {
    taxRate.SetInteger(DefaultTaxRate(clock_.Today()));

    // Reads the start of a data file into bytes; the part read, or nothing when there is
    // no data folder or no such file (also when the path would not fit).
    auto readDataFile = [this](std::string_view name,
                               std::span<std::uint8_t> bytes) -> std::optional<std::size_t> {
        std::array<char, PathBufferSize> path{};
        if (!QueryInstallDir(path.data(), path.size(), false) ||
            !AppendFileName(path.data(), path.size(), name)) {
            return std::nullopt;
        }
        std::optional<std::size_t> count = installation_.ReadFileStart(path.data(), bytes);
        if (count && *count > bytes.size()) {
            count = bytes.size();
        }
        return count;
    };

    std::array<std::uint8_t, 1 + MaxRateLength> rateBytes{};
    if (std::optional<std::size_t> count = readDataFile(RateFileName, rateBytes)) {
        if (std::optional<std::int64_t> rate = DecodeRateFile(std::span(rateBytes).first(*count))) {
            taxRate.SetInteger(*rate);
        }
    }

    std::array<std::uint8_t, 1 + RoundingLength> roundingBytes{};
    taxRounding = TaxRounding::Truncate;
    if (std::optional<std::size_t> count = readDataFile(RoundingFileName, roundingBytes)) {
        taxRounding = DecodeRoundingFile(std::span(roundingBytes).first(*count));
    }
}
