#include "shell/help_path.h"

#include <cstring>
#include <string_view>

namespace {

constexpr std::string_view InstalledHelpFile = "\\EXE\\Karvold.chm";
constexpr std::string_view HelpFileName = "Karvold.chm";

bool Join(char* buffer, std::size_t size, std::string_view folder, std::string_view file) {
    if (size == 0) {
        return false;
    }
    buffer[0] = '\0';
    if (folder.size() >= size || file.size() >= size - folder.size()) {
        return false;
    }
    std::memcpy(buffer, folder.data(), folder.size());
    std::memcpy(buffer + folder.size(), file.data(), file.size());
    buffer[folder.size() + file.size()] = '\0';
    return true;
}

}  // namespace

bool BuildHelpPath(char* buffer, std::size_t size, const char* registeredFolder,
                   const char* programPath) {
    if (registeredFolder != nullptr) {
        return Join(buffer, size, registeredFolder, InstalledHelpFile);
    }
    // The program's folder, its trailing backslash included.
    const std::string_view program = programPath != nullptr ? programPath : "";
    const std::size_t slash = program.find_last_of("\\/");
    // An empty folder still points into the path: memcpy must never see a null source.
    const std::string_view folder =
        program.substr(0, slash == std::string_view::npos ? 0 : slash + 1);
    return Join(buffer, size, folder, HelpFileName);
}
