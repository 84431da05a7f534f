#include "shell/platform/win32_platform.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <limits>
#include <span>
#include <string_view>

#include "shell/owned_handle.h"
#include "shell/paste_text.h"

namespace {

constexpr const char* InstallationKey = "SOFTWARE\\Orvex\\Brennoly\\Faltrane";
constexpr const char* ProgramFolderValue = "InstalledDir";
constexpr const char* DataFolderValue = "InstalledDataDir";
// A 32-bit installer writes the key under the 32-bit view; both builds look there first.
constexpr REGSAM InstallationViews[] = {KEY_WOW64_32KEY, KEY_WOW64_64KEY};
// As _lopen's read mode: the business application may hold a tax file open to write it.
constexpr DWORD ShareWithWriters = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

constexpr UINT ClipboardBlockFlags = GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE;
constexpr UINT PrivateBlockFlags = GMEM_MOVEABLE | GMEM_ZEROINIT;

DWORD ClampToDword(std::size_t count) {
    return static_cast<DWORD>(std::min<std::size_t>(count, std::numeric_limits<DWORD>::max()));
}

using RegistryKey = OwnedHandle<HKEY, RegCloseKey>;
using FileHandle = OwnedHandle<HANDLE, CloseHandle>;
// Owns a global memory block until it is freed or handed over to the clipboard.
using GlobalBlock = OwnedHandle<HGLOBAL, GlobalFree>;

// A key of the installation in one registry view; empty when it is not there.
RegistryKey OpenInstallationKey(REGSAM view) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, InstallationKey, 0, KEY_READ | view, &key) !=
        ERROR_SUCCESS) {
        return RegistryKey();
    }
    return RegistryKey(key);
}

// A block's bytes for the scope; null when the block cannot be locked.
class BlockLock {
  public:
    explicit BlockLock(HGLOBAL block)
        : block_(block), bytes_(static_cast<char*>(GlobalLock(block))) {}
    ~BlockLock() {
        if (bytes_ != nullptr) {
            GlobalUnlock(block_);
        }
    }
    BlockLock(const BlockLock&) = delete;
    BlockLock& operator=(const BlockLock&) = delete;

    char* Bytes() const { return bytes_; }

  private:
    HGLOBAL block_;
    char* bytes_;
};

// Other programs (clipboard history, remote desktop) hold the clipboard for a few
// milliseconds at a time: wait that long, never long enough to freeze a key press.
constexpr LONGLONG ClipboardPatienceMs = 100;
constexpr DWORD ClipboardRetryPauseMs = 10;

bool OpenClipboardPatiently(HWND owner) {
    LARGE_INTEGER frequency{}, start{}, now{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (;;) {
        // Read before the attempt, so that the last one comes after the whole patience, however
        // late a pause ends: a holder that lets go within it is never missed.
        QueryPerformanceCounter(&now);
        const bool last =
            (now.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart >= ClipboardPatienceMs;
        if (OpenClipboard(owner)) {
            return true;
        }
        if (last) {
            return false;
        }
        Sleep(ClipboardRetryPauseMs);
    }
}

// The clipboard, opened for the owner window and closed on every way out.
class OpenClipboardScope {
  public:
    explicit OpenClipboardScope(HWND owner) : open_(OpenClipboardPatiently(owner)) {}
    ~OpenClipboardScope() { Close(); }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;

    bool IsOpen() const { return open_; }
    void Close() {
        if (open_) {
            CloseClipboard();
            open_ = false;
        }
    }

  private:
    bool open_;
};

// Reads one folder value of an open installation key into the buffer.
bool QueryFolder(HKEY key, char* buffer, std::size_t size, bool programFolder) {
    DWORD count = ClampToDword(size);
    LONG result = RegQueryValueExA(key, programFolder ? ProgramFolderValue : DataFolderValue,
                                   nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &count);
    if (result != ERROR_SUCCESS || count > size) {
        buffer[0] = '\0';
        return false;
    }
    // Any value type is read as a string, so the stored bytes need not end in a terminator;
    // one must still fit in the buffer.
    if (std::memchr(buffer, '\0', count) == nullptr) {
        if (count == size) {
            buffer[0] = '\0';
            return false;
        }
        buffer[count] = '\0';
    }
    return true;
}

// A private, zero-filled block of count UTF-16 units and a terminator, filled by fill; empty
// when it cannot be had.
template <typename Fill>
GlobalBlock PrivateUnits(std::size_t count, Fill fill) {
    GlobalBlock copy(GlobalAlloc(PrivateBlockFlags, (count + 1) * sizeof(wchar_t)));
    BlockLock target(copy.Get());
    if (target.Bytes() == nullptr) {
        return GlobalBlock();
    }
    fill(reinterpret_cast<wchar_t*>(target.Bytes()));
    return copy;
}

// A private copy of the open clipboard's text as terminated UTF-16, empty when it holds no
// text: the Unicode text, else the ANSI text converted.
GlobalBlock CopyClipboardText() {
    if (HANDLE shared = GetClipboardData(CF_UNICODETEXT); shared != nullptr) {
        BlockLock source(shared);
        if (source.Bytes() == nullptr) {
            return GlobalBlock();
        }
        // Another program's block need not hold a terminator: never read past its size.
        const auto* text = reinterpret_cast<const wchar_t*>(source.Bytes());
        const std::size_t length = wcsnlen(text, GlobalSize(shared) / sizeof(wchar_t));
        return PrivateUnits(
            length, [&](wchar_t* units) { std::memcpy(units, text, length * sizeof(wchar_t)); });
    }
    HANDLE shared = GetClipboardData(CF_TEXT);
    if (shared == nullptr) {
        return GlobalBlock();
    }
    BlockLock source(shared);
    if (source.Bytes() == nullptr) {
        return GlobalBlock();
    }
    const int length = static_cast<int>(std::min<std::size_t>(
        strnlen(source.Bytes(), GlobalSize(shared)), std::numeric_limits<int>::max()));
    const int units = MultiByteToWideChar(CP_ACP, 0, source.Bytes(), length, nullptr, 0);
    return PrivateUnits(static_cast<std::size_t>(units), [&](wchar_t* target) {
        MultiByteToWideChar(CP_ACP, 0, source.Bytes(), length, target, units);
    });
}

}  // namespace

bool Win32Installation::QueryInstallDir(char* buffer, std::size_t size, bool programFolder) const {
    if (buffer == nullptr || size == 0) {
        return false;
    }
    buffer[0] = '\0';
    for (REGSAM view : InstallationViews) {
        const RegistryKey key = OpenInstallationKey(view);
        if (key) {
            return QueryFolder(key.Get(), buffer, size, programFolder);
        }
    }
    return false;
}

std::optional<std::size_t> Win32Installation::ReadFileStart(const char* path,
                                                            std::span<std::uint8_t> bytes) const {
    if (path == nullptr) {
        return std::nullopt;
    }
    // CreateFileA rather than _lopen: a real handle instead of a 32-bit HFILE, and a folder
    // fails to open (no backup semantics), so it counts as a missing file.
    const HANDLE opened = CreateFileA(path, GENERIC_READ, ShareWithWriters, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    const FileHandle file(opened != INVALID_HANDLE_VALUE ? opened : nullptr);
    if (!file) {
        return std::nullopt;
    }
    std::size_t total = 0;
    while (total < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(file.Get(), bytes.data() + total, ClampToDword(bytes.size() - total), &got,
                      nullptr) ||
            got == 0) {
            break;
        }
        total += got;
    }
    return total;
}

#ifdef KARVOLD_TEST_TODAY
// Test builds only, so that the rate by date the tests of the real program expect holds on any
// day: "2024-01" in the variable is the date; anything else leaves it to the system.
std::optional<LocalDate> TestToday() {
    char text[16] = {};
    int year = 0, month = 0;
    char rest = 0;
    const DWORD length = GetEnvironmentVariableA(KARVOLD_TEST_TODAY, text, sizeof text);
    if (length == 0 || length >= sizeof text ||
        std::sscanf(text, "%d-%d%c", &year, &month, &rest) != 2 || month < 1 || month > 12) {
        return std::nullopt;
    }
    return LocalDate{year, month};
}
#endif

LocalDate Win32Clock::Today() const {
#ifdef KARVOLD_TEST_TODAY
    if (const std::optional<LocalDate> today = TestToday()) {
        return *today;
    }
#endif
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth};
}

bool Win32Clipboard::SetText(std::string_view text) {
    GlobalBlock block(GlobalAlloc(ClipboardBlockFlags, text.size() + 1));
    if (block.Get() == nullptr) {
        return false;
    }
    {
        BlockLock bytes(block.Get());
        if (bytes.Bytes() == nullptr) {
            return false;
        }
        std::memcpy(bytes.Bytes(), text.data(), text.size());
        bytes.Bytes()[text.size()] = '\0';
    }
    OpenClipboardScope clipboard(owner_);
    if (!clipboard.IsOpen()) {
        return false;
    }
    EmptyClipboard();
    if (SetClipboardData(CF_TEXT, block.Get()) == nullptr) {
        return false;  // the clipboard did not take the block, so it is still ours to free
    }
    block.Release();
    return true;
}

bool Win32Clipboard::GetText(char* buffer, std::size_t size) {
    if (buffer == nullptr || size == 0) {
        return false;
    }
    OpenClipboardScope clipboard(owner_);
    if (!clipboard.IsOpen()) {
        return false;
    }
    const GlobalBlock text = CopyClipboardText();
    clipboard.Close();
    if (!text) {
        return false;
    }
    BlockLock units(text.Get());
    if (units.Bytes() == nullptr) {
        return false;
    }
    // The copy is zero-filled past its text, so it ends in a terminator.
    FoldPastedText(std::u16string_view(reinterpret_cast<const char16_t*>(units.Bytes())),
                   std::span(buffer, size));
    return true;
}
