#include "engine/memory_platform.h"

#include <algorithm>
#include <cstring>
#include <ctime>

#include "tax/tax_rules.h"

bool MemoryInstallation::QueryInstallDir(char* buffer, std::size_t size, bool program) const {
    const std::optional<std::string>& folder = program ? programFolder : dataFolder;
    if (!keyPresent || !folder || size == 0 || folder->size() >= size) {
        return false;
    }
    std::memcpy(buffer, folder->c_str(), folder->size() + 1);
    return true;
}

std::optional<std::size_t> MemoryInstallation::ReadFileStart(const char* path,
                                                             std::span<std::uint8_t> bytes) const {
    auto it = files.find(path);
    if (it == files.end()) {
        return std::nullopt;
    }
    std::size_t count = std::min(bytes.size(), it->second.size());
    std::memcpy(bytes.data(), it->second.data(), count);
    return count;
}

void MemoryInstallation::PutTaxFiles(const std::string& folder,
                                     const std::optional<std::string>& rate,
                                     const std::optional<std::string>& rounding) {
    if (rate) {
        files[folder + std::string(RateFileName)] = *rate;
    }
    if (rounding) {
        files[folder + std::string(RoundingFileName)] = *rounding;
    }
}

LocalDate SystemClock::Today() const {
    std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return {local.tm_year + 1900, local.tm_mon + 1};
}

bool MemoryClipboard::SetText(std::string_view newText) {
    if (!available || !memoryLeft) {
        return false;
    }
    text = std::string(newText);
    return true;
}

bool MemoryClipboard::GetText(char* buffer, std::size_t size) {
    if (!available || !memoryLeft || !text || size == 0) {
        return false;
    }
    // Like a CF_TEXT block, the text ends at its first NUL.
    std::size_t length = std::min(std::strlen(text->c_str()), size - 1);
    std::memcpy(buffer, text->data(), length);
    buffer[length] = '\0';
    return true;
}
