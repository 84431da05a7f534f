#pragma once

// What the Win32 tests set up and read back through the raw calls, independent of the code
// under test: a scratch installation of the business application, and the clipboard as other
// programs see it.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "shell/owned_handle.h"

inline constexpr const char* ProductKey = "SOFTWARE\\Orvex\\Brennoly\\Faltrane";
inline constexpr const char* DataFolderValue = "InstalledDataDir";
inline constexpr const char* ProgramFolderValue = "InstalledDir";

// The product key and a fresh temp folder, both removed at the end. The key carries a marker
// value, so that a key left by a run that died is removed, while a real installation's never is.
class ScratchInstallation {
  public:
    ScratchInstallation() {
        EXPECT_TRUE(RemoveKey()) << "the product key belongs to a real installation";
        static unsigned serial = 0;
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        root_ = std::string(temp) + "karvold-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(GetTickCount()) + "-" + std::to_string(++serial);
        MakeFolder("");
    }
    ~ScratchInstallation() {
        RemoveKey();
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    const std::string& Root() const { return root_; }
    // Creates root\relative (its parent must exist) and returns that path.
    std::string MakeFolder(const std::string& relative) {
        const std::string path = relative.empty() ? root_ : root_ + "\\" + relative;
        EXPECT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
        return path;
    }
    void WriteFile(const std::string& path, const std::string& bytes) {
        HANDLE file =
            CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
        EXPECT_EQ(written, bytes.size()) << path;
    }
    // Stores exactly these bytes in one registry view, creating the key with its marker.
    void SetValue(const char* name, DWORD type, const std::string& bytes,
                  REGSAM view = KEY_WOW64_64KEY) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, ProductKey, 0, nullptr, 0,
                                  KEY_SET_VALUE | view, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        const DWORD one = 1;
        RegSetValueExA(key, Marker, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
        EXPECT_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                 static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }

  private:
    static constexpr const char* Marker = "KarvoldScratch";

    // Removes the key from both views when it is a scratch one or absent; false for a real
    // installation's. (Its empty parent keys stay: they change nothing for any test.)
    static bool RemoveKey() {
        bool removed = true;
        for (REGSAM view : {REGSAM{KEY_WOW64_32KEY}, REGSAM{KEY_WOW64_64KEY}}) {
            HKEY key = nullptr;
            if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, ProductKey, 0, KEY_READ | view, &key) == 0) {
                const bool scratch = RegQueryValueExA(key, Marker, nullptr, nullptr, nullptr,
                                                      nullptr) == ERROR_SUCCESS;
                RegCloseKey(key);
                removed =
                    scratch &&
                    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, ProductKey, view, 0) == ERROR_SUCCESS &&
                    removed;
            }
        }
        return removed;
    }

    std::string root_;  // ASCII, so that the library's wide calls remove it whatever it holds
};

// Replaces the clipboard's contents (none given: empties it), as another program's copy would.
inline bool Put(UINT format, HANDLE data) {
    if (!OpenClipboard(nullptr)) {
        return false;
    }
    EmptyClipboard();
    const bool taken = data == nullptr || SetClipboardData(format, data) != nullptr;
    CloseClipboard();
    return taken;
}

inline bool PutText(const std::string& text) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    return Put(CF_TEXT, block);
}

// Up to its terminator, never past its block; "<none>" without text.
inline std::string ClipboardText() {
    if (!OpenClipboard(nullptr)) {
        return "<cannot open>";
    }
    HANDLE block = GetClipboardData(CF_TEXT);
    const char* bytes = static_cast<const char*>(GlobalLock(block));  // null without text
    std::string text = bytes ? std::string(bytes, strnlen(bytes, GlobalSize(block))) : "<none>";
    GlobalUnlock(block);
    CloseClipboard();
    return text;
}

// Another program holding the clipboard open for holdMs, or until this object goes.
class ClipboardHoldingProcess {
  public:
    explicit ClipboardHoldingProcess(DWORD holdMs) {
        char self[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        std::string program = self;
        program.replace(program.rfind('\\') + 1, program.npos, "clipboard_holder.exe");
        const std::string name = "karvold-clipboard-" + std::to_string(GetCurrentProcessId());
        ready_.Reset(CreateEventA(nullptr, TRUE, FALSE, (name + "-ready").c_str()));
        release_.Reset(CreateEventA(nullptr, TRUE, FALSE, (name + "-release").c_str()));
        std::string command = '"' + program + "\" " + name + " " + std::to_string(holdMs);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        if (CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           nullptr, &startup, &started)) {
            process_.Reset(started.hProcess);
            CloseHandle(started.hThread);
            const HANDLE either[] = {ready_.Get(), process_.Get()};
            holding_ = WaitForMultipleObjects(2, either, FALSE, 10'000) == WAIT_OBJECT_0;
        }
    }
    ~ClipboardHoldingProcess() {
        SetEvent(release_.Get());
        if (process_) {
            WaitForSingleObject(process_.Get(), 10'000);
        }
    }
    bool Holding() const { return holding_; }

  private:
    using Handle = OwnedHandle<HANDLE, CloseHandle>;
    Handle ready_;
    Handle release_;
    Handle process_;
    bool holding_ = false;
};

// The window the code under test opens the clipboard with, as the calculator opens it with
// its own.
inline HWND OwnerWindow() {
    static const HWND window =
        CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    return window;
}

// The code under test opens the clipboard with OwnerWindow(), so it is still open while
// that window has it.
inline bool ClipboardIsClosed() {
    return GetOpenClipboardWindow() != OwnerWindow();
}
