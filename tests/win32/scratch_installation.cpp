#include "scratch_installation.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* ScratchMarker = "KarvoldScratch";

// Creates the key with its missing parents.
HKEY CreateProductKey() {
    HKEY key = nullptr;
    LONG result = RegCreateKeyExA(HKEY_LOCAL_MACHINE, ProductKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr);
    EXPECT_EQ(result, ERROR_SUCCESS) << "cannot create the product key";
    if (result != ERROR_SUCCESS) {
        return nullptr;
    }
    DWORD marker = 1;
    RegSetValueExA(key, ScratchMarker, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&marker),
                   sizeof marker);
    return key;
}

}  // namespace

ScratchInstallation::ScratchInstallation() {
    if (!DeleteScratchKey()) {
        ADD_FAILURE() << "the product key belongs to a real installation; run in a scratch prefix";
    }
    char temp[MAX_PATH] = {};
    EXPECT_NE(GetTempPathA(MAX_PATH, temp), 0u);
    root_ = std::string(temp) + "karvold-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(GetTickCount());
    MakeFolder(root_);
}

ScratchInstallation::~ScratchInstallation() {
    DeleteScratchKey();
    for (auto it = files_.rbegin(); it != files_.rend(); ++it) {
        DeleteFileA(it->c_str());
    }
    for (auto it = folders_.rbegin(); it != folders_.rend(); ++it) {
        RemoveDirectoryA(it->c_str());
    }
}

std::string ScratchInstallation::MakeDataFolder(const std::string& name) {
    std::string folder = root_ + "\\" + name;
    MakeFolder(folder);
    MakeFolder(folder + "\\DATA");
    MakeFolder(folder + "\\DATA\\OTHER");
    return folder;
}

void ScratchInstallation::MakeFolder(const std::string& path) {
    ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << "cannot create " << path;
    folders_.push_back(path);
}

void ScratchInstallation::WriteFile(const std::string& path, const Bytes& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "cannot create " << path;
    files_.push_back(path);
    DWORD written = 0;
    BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    ASSERT_TRUE(ok && written == bytes.size()) << "cannot write " << path;
}

void ScratchInstallation::CreateKey() {
    HKEY key = CreateProductKey();
    ASSERT_NE(key, nullptr);
    RegCloseKey(key);
}

void ScratchInstallation::SetValue(const char* name, DWORD type, const void* data,
                                   std::size_t size) {
    HKEY key = CreateProductKey();
    ASSERT_NE(key, nullptr);
    LONG result = RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data),
                                 static_cast<DWORD>(size));
    RegCloseKey(key);
    ASSERT_EQ(result, ERROR_SUCCESS) << "cannot set " << name;
}

void ScratchInstallation::SetString(const char* name, const std::string& text) {
    SetValue(name, REG_SZ, text.c_str(), text.size() + 1);
}

bool ScratchInstallation::DeleteScratchKey() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, ProductKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        bool scratch =
            RegQueryValueExA(key, ScratchMarker, nullptr, nullptr, nullptr, nullptr) ==
            ERROR_SUCCESS;
        RegCloseKey(key);
        if (!scratch) {
            return false;
        }
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, ProductKey);
    }
    // Parents go only when empty: RegDeleteKeyA refuses a key with subkeys.
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orvex\\Brennoly");
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orvex");
    return true;
}
