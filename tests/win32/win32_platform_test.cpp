// The engine's platform on the real Win32 calls: the installation's registry key and files, and
// the clipboard, whose contents every case puts there itself.

#include "win32_scratch.h"  // windows.h first

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <tuple>
#include <vector>

#include "shell/platform/win32_platform.h"

namespace {

using namespace std::string_literals;

struct ValueRow {
    const char* name;
    const char* value;  // the value stored; null: no key at all
    DWORD type;
    std::string stored;  // its exact bytes; a success gives them up to the first terminator
    bool programFolder;  // the folder asked for
    bool ok;
    REGSAM view = KEY_WOW64_64KEY;  // where the installer wrote it
    const char* other64 = nullptr;  // another folder in the 64-bit view as well
};

// clang-format off
const ValueRow valueRows[] = {
    {"no key", nullptr, REG_SZ, "", false, false},
    {"program folder only, data asked", ProgramFolderValue, REG_SZ, "C:\\P\0"s, false, false},
    {"data folder only, program asked", DataFolderValue, REG_SZ, "D:\\D\0"s, true, false},
    {"program folder", ProgramFolderValue, REG_SZ, "C:\\Faltrane\0"s, true, true},
    {"259 characters", DataFolderValue, REG_SZ, std::string(259, 'b') + '\0', false, true},
    {"260 characters", DataFolderValue, REG_SZ, std::string(260, 'c') + '\0', false, false},
    {"259 bytes, no terminator", DataFolderValue, REG_BINARY, std::string(259, 'g'), false, true},
    {"260 bytes, no terminator", DataFolderValue, REG_BINARY, std::string(260, 'h'), false, false},
    {"dword read as text", DataFolderValue, REG_DWORD, "ABCD", false, true},
    {"32-bit view only", DataFolderValue, REG_SZ, "E:\\32\0"s, false, true, KEY_WOW64_32KEY},
    {"both views", ProgramFolderValue, REG_SZ, "F:\\32\0"s, true, true, KEY_WOW64_32KEY, "G:\\64"},
};
// clang-format on

TEST(Win32InstallationTest, QueryGivesOneFolderThatFitsWithItsTerminator) {
    for (const ValueRow& row : valueRows) {
        SCOPED_TRACE(row.name);
        ScratchInstallation scratch;
        if (row.value != nullptr) {
            scratch.SetValue(row.value, row.type, row.stored, row.view);
        }
        if (row.other64 != nullptr) {
            scratch.SetValue(row.value, REG_SZ, row.other64);
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
    {"longer than asked", "\x03\x20\x35\x25", 1, 1},
    {"shorter than asked", "\x01", 10, 1},
    {"empty file", "", 2, 0},
    {"bytes that end a text", "\x00\x1A\x0D\x0A\xFF"s, 5, 5},
};
// clang-format on

TEST(Win32InstallationTest, ReadFileStartReadsUpToTheSpan) {
    ScratchInstallation scratch;
    for (const auto& [name, content, size, count] : fileRows) {
        SCOPED_TRACE(name);
        const std::string path = scratch.Root() + "\\" + name;
        scratch.WriteFile(path, content);
        std::vector<std::uint8_t> span(size, 0xEE);
        ASSERT_EQ(Win32Installation().ReadFileStart(path.c_str(), span), count);
        EXPECT_EQ(std::string(span.begin(), span.begin() + std::ptrdiff_t(count)),
                  content.substr(0, count));
    }
    std::vector<std::uint8_t> span(2);
    // The business application may hold a file open to write it or to rename it.
    const std::string held = scratch.Root() + "\\" + std::get<0>(fileRows[0]);
    for (DWORD access : {DWORD{GENERIC_WRITE}, DWORD{DELETE}}) {
        HANDLE other = CreateFileA(held.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(other, INVALID_HANDLE_VALUE);
        EXPECT_EQ(Win32Installation().ReadFileStart(held.c_str(), span), 2u) << std::hex << access;
        CloseHandle(other);
    }
    for (const std::string& path : {scratch.Root() + "\\missing", scratch.MakeFolder("folder")}) {
        EXPECT_EQ(Win32Installation().ReadFileStart(path.c_str(), span), std::nullopt) << path;
    }
    EXPECT_EQ(Win32Installation().ReadFileStart(nullptr, span), std::nullopt);
}

constexpr std::size_t PasteBufferSize = 20;

TEST(Win32ClipboardTest, SetTextReplacesTheContentsWithTheText) {
    for (const std::string text : {"-0.5", "999999999998.99999999999", "", "\x90\xc5\x8d\x9e"}) {
        SCOPED_TRACE("text \"" + text + "\"");
        ASSERT_TRUE(Put(CF_BITMAP, CreateBitmap(4, 4, 1, 32, nullptr)));
        EXPECT_TRUE(Win32Clipboard(OwnerWindow()).SetText(text));
        EXPECT_TRUE(ClipboardIsClosed());
        EXPECT_EQ(GetClipboardOwner(), OwnerWindow());
        EXPECT_EQ(ClipboardText(), text);
        EXPECT_FALSE(IsClipboardFormatAvailable(CF_BITMAP)) << "the earlier contents stay";
    }
}

// Name, clipboard text, buffer size and the text pasted.
// clang-format off
const std::tuple<const char*, std::string, std::size_t, std::string> pasteRows[] = {
    {"grouped number", "1,234", PasteBufferSize, "1,234"},
    {"19 characters fill the buffer", "1234567890123456789", PasteBufferSize, "1234567890123456789"},
    {"25 characters", "1234567890123456789012345", PasteBufferSize, "1234567890123456789"},
    {"room for the terminator only", "12", 1, ""},
};
// clang-format on

TEST(Win32ClipboardTest, GetTextTakesTheTextUpToTheBuffer) {
    for (const auto& [name, text, size, expected] : pasteRows) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(PutText(text));
        std::string buffer(size + 16, 'x');
        EXPECT_TRUE(Win32Clipboard(OwnerWindow()).GetText(buffer.data(), size));
        const std::size_t length = strnlen(buffer.data(), size);
        EXPECT_LT(length, size) << "unterminated";
        EXPECT_EQ(buffer.substr(0, length), expected);
        EXPECT_EQ(buffer.find_first_not_of('x', size), buffer.npos) << "written past the end";
        EXPECT_TRUE(ClipboardIsClosed());
        EXPECT_EQ(ClipboardText(), text) << "a paste leaves the clipboard as it was";
    }
}

TEST(Win32ClipboardTest, GetTextFailsWithoutTextAndClosesTheClipboard) {
    for (HANDLE bitmap : {HANDLE(CreateBitmap(4, 4, 1, 32, nullptr)), HANDLE{}}) {
        SCOPED_TRACE(bitmap ? "bitmap only" : "nothing");
        ASSERT_TRUE(Put(CF_BITMAP, bitmap));
        char buffer[PasteBufferSize];
        EXPECT_FALSE(Win32Clipboard(OwnerWindow()).GetText(buffer, sizeof buffer));
        EXPECT_TRUE(ClipboardIsClosed());
    }
}

std::size_t PrivateBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PagefileUsage;
}

// How long another program holds the clipboard, and whether copy and paste get through.
const std::tuple<DWORD, bool> holdRows[] = {{30, true}, {60'000, false}};

TEST(Win32ClipboardTest, WaitsBrieflyForAnotherProgramThatHoldsTheClipboard) {
    using namespace std::chrono;
    for (const auto& [holdMs, opens] : holdRows) {
        SCOPED_TRACE(testing::Message() << "held for " << holdMs << " ms");
        ASSERT_TRUE(PutText("55"));
        char buffer[PasteBufferSize] = {};
        {
            ClipboardHoldingProcess holder(holdMs);
            ASSERT_TRUE(holder.Holding());
            Win32Clipboard clipboard(OwnerWindow());
            const auto start = steady_clock::now();
            EXPECT_EQ(clipboard.SetText("77"), opens);
            const auto copied = steady_clock::now();
            EXPECT_EQ(clipboard.GetText(buffer, sizeof buffer), opens);
            EXPECT_LT(copied - start, 150ms);
            EXPECT_LT(steady_clock::now() - copied, 150ms);
        }
        EXPECT_STREQ(buffer, opens ? "77" : "");
        EXPECT_EQ(ClipboardText(), opens ? "77" : "55");
    }
}

TEST(Win32ClipboardTest, RefusedCopyLeaksNothing) {
    ASSERT_TRUE(PutText("55"));
    ClipboardHoldingProcess holder(60'000);
    ASSERT_TRUE(holder.Holding());
    const std::string text(4 << 20, '7');
    Win32Clipboard clipboard(OwnerWindow());
    ASSERT_FALSE(clipboard.SetText(text));  // the heap grows to its working size
    const std::size_t before = PrivateBytes();
    for (int i = 0; i < 16; ++i) {
        ASSERT_FALSE(clipboard.SetText(text));
    }
    const std::size_t after = PrivateBytes();
    // A leak would keep all 64 MiB; allow two blocks for heap slack.
    EXPECT_LT(after - std::min(after, before), 2 * text.size()) << before << " -> " << after;
}

}  // namespace
