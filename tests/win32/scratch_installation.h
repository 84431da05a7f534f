#pragma once

// A scratch installation of the business application on the test machine: the product key
// under HKEY_LOCAL_MACHINE and data folders under the temp folder. Everything it made is
// removed again when it ends. The key carries a marker value, so that a key left by an earlier
// run that died half-way is removed, while a real installation's key is never touched.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

inline constexpr const char* ProductKey = "SOFTWARE\\Orvex\\Brennoly\\Faltrane";
inline constexpr const char* RateFile = "\\DATA\\OTHER\\TAX.AUT";
inline constexpr const char* RoundingFile = "\\DATA\\OTHER\\Shouhi.AUT";

using Bytes = std::vector<std::uint8_t>;

class ScratchInstallation {
public:
    ScratchInstallation();
    ~ScratchInstallation();
    ScratchInstallation(const ScratchInstallation&) = delete;
    ScratchInstallation& operator=(const ScratchInstallation&) = delete;

    // A fresh folder of this run, without a trailing backslash.
    const std::string& Root() const { return root_; }

    // Creates root\name\DATA\OTHER and returns root\name.
    std::string MakeDataFolder(const std::string& name);
    // Creates the folder path (its parent must exist) and removes it at the end.
    void MakeFolder(const std::string& path);
    void WriteFile(const std::string& path, const Bytes& bytes);

    void CreateKey();  // with no values of the product's
    void SetValue(const char* name, DWORD type, const void* data, std::size_t size);
    void SetString(const char* name, const std::string& text);  // REG_SZ with terminator
    // Removes the key when it is a scratch one (or absent); false for a real installation's.
    static bool DeleteScratchKey();

private:
    std::string root_;
    std::vector<std::string> folders_;
    std::vector<std::string> files_;
};
