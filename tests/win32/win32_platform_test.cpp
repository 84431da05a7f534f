// The engine's platform on the real Win32 calls: the installation's registry key and files, and
// the clipboard, whose contents every case puts there itself.

#include "shell/platform/win32_platform.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "shell/owned_handle.h"

namespace {

using namespace std::string_literals;

constexpr const char* ProductKey = "SOFTWARE\\Orvex\\Brennoly\\Faltrane";
constexpr const char* DataFolderValue = "InstalledDataDir";
constexpr const char* ProgramFolderValue = "InstalledDir";
constexpr const char* Marker = "KarvoldScratch";
// "データ表": its last byte is a backslash in ASCII.
const std::string ShiftJisName = "\x83\x66\x81\x5b\x83\x5e\x95\x5c";

// The product key, removed at the end. It carries a marker value, so that a key left by a run
// that died is removed, while a real installation's never is.
class ScratchInstallation {
  public:
    ScratchInstallation() { EXPECT_TRUE(RemoveKey()) << "the key belongs to a real installation"; }
    ~ScratchInstallation() { RemoveKey(); }
    // Stores exactly these bytes in one registry view, creating the key with its marker.
    void SetValue(const char* name, DWORD type, const std::string& bytes, REGSAM view) {
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, ProductKey, 0, nullptr, 0, KEY_SET_VALUE | view,
                        nullptr, &key, nullptr);
        RegSetValueExA(key, Marker, 0, REG_SZ, reinterpret_cast<const BYTE*>(""), 1);
        EXPECT_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                 static_cast<DWORD>(bytes.size())),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    // Removes the key from both views when it is a scratch one or absent; false for a real
    // installation's.
    static bool RemoveKey() {
        bool removed = true;
        for (REGSAM view : {REGSAM{KEY_WOW64_32KEY}, REGSAM{KEY_WOW64_64KEY}}) {
            HKEY key = nullptr;
            if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, ProductKey, 0, KEY_READ | view, &key) == 0) {
                const bool scratch = RegQueryValueExA(key, Marker, nullptr, nullptr, nullptr,
                                                      nullptr) == ERROR_SUCCESS;
                RegCloseKey(key);
                removed = scratch &&
                          RegDeleteKeyExA(HKEY_LOCAL_MACHINE, ProductKey, view, 0) == 0 && removed;
            }
        }
        return removed;
    }
};

struct ValueRow {
    const char* name;
    const char* value;  // the value stored; null: no key at all
    DWORD type;
    std::string stored;  // its exact bytes; a success gives them up to the first terminator
    bool programFolder;  // the folder asked for
    bool ok;
    // Where the installer wrote it; beside a 32-bit installer's key, a 64-bit one that loses.
    REGSAM view = KEY_WOW64_64KEY;
};

// clang-format off
const ValueRow valueRows[] = {
    {"no key", nullptr, REG_SZ, "", false, false},
    {"program folder only, data asked", ProgramFolderValue, REG_SZ, "C:\\P\0"s, false, false},
    {"data folder only, program asked", DataFolderValue, REG_SZ, "D:\\D\0"s, true, false},
    {"Shift-JIS", DataFolderValue, REG_SZ, "C:\\" + ShiftJisName + '\0', false, true},
    {"259 characters", DataFolderValue, REG_SZ, std::string(259, 'b') + '\0', false, true},
    {"260 characters", DataFolderValue, REG_SZ, std::string(260, 'c') + '\0', false, false},
    {"259 bytes, no terminator", DataFolderValue, REG_BINARY, std::string(259, 'g'), false, true},
    {"260 bytes, no terminator", DataFolderValue, REG_BINARY, std::string(260, 'h'), false, false},
    {"both views", ProgramFolderValue, REG_SZ, "F:\\32\0"s, true, true, KEY_WOW64_32KEY},
};
// clang-format on

TEST(Win32InstallationTest, QueryGivesOneFolderThatFitsWithItsTerminator) {
    for (const ValueRow& row : valueRows) {
        SCOPED_TRACE(row.name);
        ScratchInstallation scratch;
        if (row.value != nullptr) {
            scratch.SetValue(row.value, row.type, row.stored, row.view);
        }
        if (row.view == KEY_WOW64_32KEY) {
            scratch.SetValue(row.value, REG_SZ, "G:\\64\0"s, KEY_WOW64_64KEY);
        }
        std::string buffer(PathBufferSize + 40, 'x');
        const bool ok =
            Win32Installation().QueryInstallDir(buffer.data(), PathBufferSize, row.programFolder);
        EXPECT_EQ(ok, row.ok);
        ASSERT_NE(std::memchr(buffer.data(), '\0', PathBufferSize), nullptr) << "unterminated";
        EXPECT_EQ(std::string(buffer.data()), row.ok ? row.stored.c_str() : "");
        EXPECT_EQ(buffer.find_first_not_of('x', PathBufferSize), buffer.npos) << "written past";
    }
}

// Name, content, span size and the count read.
// clang-format off
const std::tuple<const char*, std::string, std::size_t, std::size_t> fileRows[] = {
    {"rate file 01 38", "\x01\x38", 2, 2},
    {"shorter than asked", "\x01", 10, 1},
    {"empty file", "", 2, 0},
    {"bytes that end a text, longer than asked", "\x00\x1A\x0D\x0A\xFF"s, 4, 4},
};
// clang-format on

// The files lie in a folder whose name ends in the trail byte 5C, as the tax files may.
TEST(Win32InstallationTest, ReadFileStartReadsUpToTheSpan) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string root = temp + "karvold-"s + std::to_string(GetCurrentProcessId());
    const std::string folder = root + "\\" + ShiftJisName;
    EXPECT_TRUE(CreateDirectoryA(root.c_str(), nullptr) &&
                CreateDirectoryA(folder.c_str(), nullptr));
    for (const auto& [name, content, size, count] : fileRows) {
        SCOPED_TRACE(name);
        const std::string path = folder + "\\" + name;
        std::ofstream(path, std::ios::binary) << content;
        std::vector<std::uint8_t> span(size, 0xEE);
        EXPECT_EQ(Win32Installation().ReadFileStart(path.c_str(), span), count);
        EXPECT_EQ(std::string(span.begin(), span.begin() + std::ptrdiff_t(count)),
                  content.substr(0, count));
    }
    std::vector<std::uint8_t> span(2);
    // The business application may hold a file open to write it or to rename it.
    const std::string held = folder + "\\" + std::get<0>(fileRows[0]);
    for (DWORD access : {DWORD{GENERIC_WRITE}, DWORD{DELETE}}) {
        HANDLE other = CreateFileA(held.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(other, INVALID_HANDLE_VALUE);
        EXPECT_EQ(Win32Installation().ReadFileStart(held.c_str(), span), 2u) << std::hex << access;
        CloseHandle(other);
    }
    // A folder opens as no file.
    for (const std::string& path : {folder + "\\missing", folder}) {
        EXPECT_EQ(Win32Installation().ReadFileStart(path.c_str(), span), std::nullopt) << path;
    }
    EXPECT_EQ(Win32Installation().ReadFileStart(nullptr, span), std::nullopt);
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}

// Replaces the clipboard's contents (none given: empties it), as another program's copy would.
bool Put(UINT format, HANDLE data) {
    const bool taken = OpenClipboard(nullptr) && EmptyClipboard() &&
                       (data == nullptr || SetClipboardData(format, data) != nullptr);
    CloseClipboard();
    return taken;
}

// CF_TEXT takes the bytes as they are; CF_UNICODETEXT takes them as UTF-8.
bool PutText(const std::string& text, UINT format = CF_TEXT) {
    std::wstring wide(text.size() + 1, L'\0');
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide.data(),
                                           static_cast<int>(wide.size()));  // with the terminator
    const bool ansi = format == CF_TEXT;
    const std::size_t size = ansi ? text.size() + 1 : std::size_t(length) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(block), ansi ? static_cast<const void*>(text.c_str()) : wide.c_str(),
                size);
    GlobalUnlock(block);
    return Put(format, block);
}

// Up to its terminator, never past its block; "<none>" without text.
std::string ClipboardText() {
    OpenClipboard(nullptr);
    HANDLE block = GetClipboardData(CF_TEXT);
    const char* bytes = static_cast<const char*>(GlobalLock(block));  // null without text
    std::string text = bytes ? std::string(bytes, strnlen(bytes, GlobalSize(block))) : "<none>";
    GlobalUnlock(block);
    CloseClipboard();
    return text;
}

// The window the code under test opens the clipboard with, as the calculator opens it with
// its own.
const HWND OwnerWindow =
    CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);

TEST(Win32ClipboardTest, SetTextReplacesTheContentsWithTheText) {
    for (const std::string text : {"-0.5", "999999999998.99999999999", "", "\x90\xc5\x8d\x9e"}) {
        SCOPED_TRACE("text \"" + text + "\"");
        ASSERT_TRUE(Put(CF_BITMAP, CreateBitmap(4, 4, 1, 32, nullptr)));
        EXPECT_TRUE(Win32Clipboard(OwnerWindow).SetText(text));
        EXPECT_NE(GetOpenClipboardWindow(), OwnerWindow);
        EXPECT_EQ(GetClipboardOwner(), OwnerWindow);
        EXPECT_EQ(ClipboardText(), text);
        EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP)) << "the earlier contents stay";
    }
}

constexpr std::size_t PasteBufferSize = 20;

// Name, format, clipboard text (null: an empty clipboard) and the text pasted (null: none).
// The whole Unicode text folds before the cut to the buffer; so does ANSI text, read through the
// code page (the system offers it as Unicode too). The yen sign has no Shift-JIS code.
// clang-format off
const std::tuple<const char*, UINT, const char*, const char*> pasteRows[] = {
    {"empty clipboard", CF_TEXT, nullptr, nullptr},
    {"Unicode", CF_UNICODETEXT, "（¥１２３４５６７８９０１２３４５６７８９０）円", "-123456789012345678"},
    {"Shift-JIS", CF_TEXT, "\x81\x8f 1,234\x89\x7e", "1,234"},  // "￥ 1,234円"
};
// clang-format on

TEST(Win32ClipboardTest, GetTextTakesTheFoldedTextUpToTheBuffer) {
    constexpr std::size_t size = PasteBufferSize;
    for (const auto& [name, format, text, expected] : pasteRows) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(text ? PutText(text, format) : Put(format, nullptr));
        std::string buffer(size + 16, 'x');
        EXPECT_EQ(Win32Clipboard(OwnerWindow).GetText(buffer.data(), size), expected != nullptr);
        if (expected != nullptr) {
            EXPECT_EQ(buffer.substr(0, strnlen(buffer.data(), size)), expected);
        }
        EXPECT_EQ(buffer.find_first_not_of('x', size), buffer.npos) << "written past the end";
        EXPECT_NE(GetOpenClipboardWindow(), OwnerWindow);
    }
}

// Another program (clipboard_holder.exe, beside this one) holding the clipboard open for holdMs
// or until this object goes, and telling when it let go on the performance counter, a clock
// that both processes share.
class ClipboardHolder {
  public:
    explicit ClipboardHolder(DWORD holdMs) {
        char self[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        std::string program = self;
        program.replace(program.rfind('\\') + 1, program.npos, "clipboard_holder.exe");
        const std::string name = "karvold-clipboard-" + std::to_string(GetCurrentProcessId());
        ready_.Reset(CreateEventA(nullptr, TRUE, FALSE, (name + "-ready").c_str()));
        release_.Reset(CreateEventA(nullptr, TRUE, FALSE, (name + "-release").c_str()));
        released_.Reset(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                           sizeof(LARGE_INTEGER), (name + "-released").c_str()));
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
    // Makes it let go, if it still holds on, and tells when it did.
    LONGLONG Released() {
        SetEvent(release_.Get());
        WaitForSingleObject(process_.Get(), 10'000);
        void* view = MapViewOfFile(released_.Get(), FILE_MAP_READ, 0, 0, 0);
        const LONGLONG at = view != nullptr ? static_cast<LARGE_INTEGER*>(view)->QuadPart : 0;
        UnmapViewOfFile(view);
        return at;
    }
    ~ClipboardHolder() { Released(); }
    bool Holding() const { return holding_; }

  private:
    OwnedHandle<HANDLE, CloseHandle> ready_, release_, released_, process_;
    bool holding_ = false;
};

// A holder that lets go within the patience is waited for; one that holds on is not, and no
// call freezes a key press. Measured against the holder's own release, not against a schedule
// that a loaded machine may miss: a call may fail only when the holder let go later than the
// patience after the call began. A brief hold, and one that lasts until both calls are done.
constexpr DWORD holdRows[] = {30, 60'000};

TEST(Win32ClipboardTest, WaitsBrieflyForAnotherProgramThatHoldsTheClipboard) {
    LARGE_INTEGER frequency{}, copyStart{}, pasteStart{}, end{};
    QueryPerformanceFrequency(&frequency);
    const LONGLONG patience = frequency.QuadPart / 10, freeze = frequency.QuadPart;  // 0.1 s, 1 s
    for (const DWORD holdMs : holdRows) {
        SCOPED_TRACE(testing::Message() << "held for " << holdMs << " ms");
        ASSERT_TRUE(PutText("55"));
        char buffer[PasteBufferSize] = {};
        ClipboardHolder holder(holdMs);
        ASSERT_TRUE(holder.Holding());
        Win32Clipboard clipboard(OwnerWindow);
        QueryPerformanceCounter(&copyStart);
        const bool copied = clipboard.SetText("77");
        QueryPerformanceCounter(&pasteStart);
        const bool pasted = clipboard.GetText(buffer, sizeof buffer);
        QueryPerformanceCounter(&end);
        const LONGLONG released = holder.Released();
        EXPECT_TRUE(copied || released - copyStart.QuadPart >= patience);
        EXPECT_TRUE(pasted || released - pasteStart.QuadPart >= patience);
        EXPECT_TRUE(pasteStart.QuadPart - copyStart.QuadPart < freeze &&
                    end.QuadPart - pasteStart.QuadPart < freeze);
        EXPECT_EQ(std::pair(std::string(buffer), ClipboardText()),
                  std::pair(std::string(pasted ? "77" : ""), std::string(copied ? "77" : "55")));
    }
}

}  // namespace
