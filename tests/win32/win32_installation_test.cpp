// The installation's registry key and files, and the local date, on the real Win32 calls:
// every case sets up its own key and files.

#include <algorithm>
#include <array>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "scratch_installation.h"
#include "shell/platform/win32_platform.h"

namespace {

constexpr const char* DataFolderValue = "InstalledDataDir";
constexpr const char* ProgramFolderValue = "InstalledDir";

// The call may use the first size bytes; the rest must stay as they were.
constexpr std::size_t GuardedSize = 400;
constexpr char Untouched = 'x';

struct QueryResult {
    bool ok = false;
    std::string text;         // up to the first terminator within size
    bool terminated = false;  // a terminator within size
    bool guardIntact = false;
};

QueryResult Query(bool programFolder, std::size_t size = PathBufferSize) {
    std::array<char, GuardedSize> buffer;
    buffer.fill(Untouched);
    QueryResult result;
    result.ok = Win32Installation().QueryInstallDir(buffer.data(), size, programFolder);
    result.terminated = std::memchr(buffer.data(), '\0', size) != nullptr;
    if (result.terminated) {
        result.text = buffer.data();
    }
    result.guardIntact = std::all_of(buffer.begin() + static_cast<std::ptrdiff_t>(size),
                                     buffer.end(), [](char c) { return c == Untouched; });
    return result;
}

std::string Terminated(std::string text) { return text + '\0'; }

std::string Repeat(const std::string& text, std::size_t times) {
    std::string result;
    for (std::size_t i = 0; i < times; ++i) {
        result += text;
    }
    return result;
}

const std::string katakanaDe = "\x83\x66";  // Shift-JIS "デ"

struct ValueCase {
    const char* name;
    DWORD type;
    std::string stored;  // the value's bytes exactly as written
    bool ok;
    std::string text;    // what a successful query gives
};

const ValueCase valueCases[] = {
    {"plain folder", REG_SZ, Terminated("C:\\Faltrane\\Data"), true, "C:\\Faltrane\\Data"},
    {"empty string", REG_SZ, Terminated(""), true, ""},
    {"258 characters", REG_SZ, Terminated(std::string(258, 'a')), true, std::string(258, 'a')},
    {"259 characters fill the buffer with the terminator", REG_SZ,
     Terminated(std::string(259, 'b')), true, std::string(259, 'b')},
    {"260 characters", REG_SZ, Terminated(std::string(260, 'c')), false, ""},
    {"300 characters", REG_SZ, Terminated(std::string(300, 'd')), false, ""},
    {"string stored without terminator", REG_SZ, std::string(20, 'e'), true, std::string(20, 'e')},
    {"expandable string is not expanded", REG_EXPAND_SZ, Terminated("%TEMP%\\Data"), true,
     "%TEMP%\\Data"},
    {"Shift-JIS folder with a backslash trail byte", REG_SZ,
     Terminated("C:\\\x95\x5c\x8e\xa6\\\x83\x66\x81\x5b\x83\x5e"), true,
     "C:\\\x95\x5c\x8e\xa6\\\x83\x66\x81\x5b\x83\x5e"},
    {"259 Shift-JIS bytes", REG_SZ, Terminated(Repeat(katakanaDe, 129) + "a"), true,
     Repeat(katakanaDe, 129) + "a"},
    {"261 Shift-JIS bytes", REG_SZ, Terminated(Repeat(katakanaDe, 130) + "a"), false, ""},
    {"binary 259 bytes without terminator", REG_BINARY, std::string(259, 'g'), true,
     std::string(259, 'g')},
    {"binary 260 bytes without terminator", REG_BINARY, std::string(260, 'h'), false, ""},
    {"binary 259 bytes and terminator", REG_BINARY, Terminated(std::string(259, 'i')), true,
     std::string(259, 'i')},
    {"binary with an inner terminator", REG_BINARY, std::string("C:\\A\0junk", 9), true, "C:\\A"},
    {"binary of no bytes", REG_BINARY, std::string(), true, ""},
    {"dword with terminator", REG_DWORD, std::string("C:\0\0", 4), true, "C:"},
    {"dword without terminator", REG_DWORD, std::string("ABCD"), true, "ABCD"},
};

TEST(Win32InstallationTest, FolderValueOfAnyTypeFitsWithItsTerminatorOrFails) {
    for (bool programFolder : {false, true}) {
        for (const ValueCase& row : valueCases) {
            SCOPED_TRACE(std::string(row.name) + (programFolder ? " (program)" : " (data)"));
            ScratchInstallation scratch;
            scratch.SetValue(programFolder ? ProgramFolderValue : DataFolderValue, row.type,
                             row.stored.data(), row.stored.size());
            QueryResult result = Query(programFolder);
            EXPECT_EQ(result.ok, row.ok);
            EXPECT_TRUE(result.terminated);
            EXPECT_TRUE(result.guardIntact);
            EXPECT_EQ(result.text, row.ok ? row.text : std::string());
        }
    }
}

TEST(Win32InstallationTest, MissingKeyOrValueFails) {
    ScratchInstallation scratch;
    EXPECT_FALSE(Query(false).ok) << "no key";
    EXPECT_FALSE(Query(true).ok) << "no key";
    scratch.CreateKey();
    EXPECT_FALSE(Query(false).ok) << "key without values";
    EXPECT_FALSE(Query(true).ok) << "key without values";
}

TEST(Win32InstallationTest, EachFolderHasItsOwnValueWithoutFallback) {
    {
        ScratchInstallation scratch;
        scratch.SetString(ProgramFolderValue, "C:\\Program");
        EXPECT_EQ(Query(true).text, "C:\\Program");
        EXPECT_FALSE(Query(false).ok) << "only the program folder is registered";
    }
    {
        ScratchInstallation scratch;
        scratch.SetString(DataFolderValue, "D:\\Data");
        EXPECT_EQ(Query(false).text, "D:\\Data");
        EXPECT_FALSE(Query(true).ok) << "only the data folder is registered";
    }
    {
        ScratchInstallation scratch;
        scratch.SetString(ProgramFolderValue, "C:\\Program");
        scratch.SetString(DataFolderValue, "D:\\Data");
        EXPECT_EQ(Query(true).text, "C:\\Program");
        EXPECT_EQ(Query(false).text, "D:\\Data");
    }
}

constexpr std::uint8_t Unread = 0xEE;

struct ReadResult {
    std::optional<std::size_t> count;
    Bytes bytes;  // the first count bytes of the span
};

ReadResult ReadStart(const std::string& path, std::size_t spanSize) {
    Bytes span(spanSize, Unread);
    ReadResult result;
    result.count = Win32Installation().ReadFileStart(path.c_str(), span);
    if (result.count) {
        span.resize(std::min(*result.count, spanSize));
        result.bytes = span;
    }
    return result;
}

TEST(Win32InstallationTest, ReadFileStartReadsUpToTheSpan) {
    struct FileCase {
        const char* name;
        Bytes content;
        std::size_t spanSize;
        std::size_t count;
    };
    const FileCase rows[] = {
        {"rate file 01 38", {0x01, 0x38}, 2, 2},
        {"rate file longer than asked", {0x03, 0x20, 0x35, 0x25}, 1, 1},
        {"file shorter than asked", {0x01}, 10, 1},
        {"empty file", {}, 2, 0},
        {"nothing asked", {0x01, 0x55}, 0, 0},
        {"bytes that look like text ends", {0x00, 0x1A, 0x0D, 0x0A, 0xFF}, 5, 5},
    };
    ScratchInstallation scratch;
    for (const FileCase& row : rows) {
        SCOPED_TRACE(row.name);
        std::string path = scratch.Root() + "\\" + row.name;
        scratch.WriteFile(path, row.content);
        ReadResult result = ReadStart(path, row.spanSize);
        ASSERT_TRUE(result.count.has_value());
        EXPECT_EQ(*result.count, row.count);
        EXPECT_EQ(result.bytes, Bytes(row.content.begin(),
                                      row.content.begin() + static_cast<std::ptrdiff_t>(row.count)));
    }
}

TEST(Win32InstallationTest, ReadFileStartGivesNothingForWhatIsNoFile) {
    ScratchInstallation scratch;
    std::string folder = scratch.MakeDataFolder("Data");
    scratch.MakeFolder(folder + RateFile);  // a folder where the rate file should be
    const std::string rows[] = {
        folder + RateFile,
        folder + RoundingFile,
        scratch.Root() + "\\NoSuchFolder\\DATA\\OTHER\\TAX.AUT",
        folder + "\\DATA\\OTHER\\",
        "",
    };
    for (const std::string& path : rows) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(ReadStart(path, 2).count.has_value());
    }
    EXPECT_FALSE(Win32Installation().ReadFileStart(nullptr, {}).has_value());
}

TEST(Win32InstallationTest, ReadFileStartTakesAnyAnsiPathThatFits) {
    ScratchInstallation scratch;
    const Bytes content = {0x01, 0x46};
    // A 259-byte path with its terminator fills the 260-byte path buffer.
    std::string longPath = scratch.Root() + "\\";
    longPath += std::string(259 - longPath.size(), 'n');
    // Shift-JIS "表示" ends in the byte of a backslash.
    std::string japaneseFolder = scratch.MakeDataFolder("\x95\x5c\x8e\xa6");
    const std::string rows[] = {longPath, japaneseFolder + RoundingFile};
    for (const std::string& path : rows) {
        SCOPED_TRACE(path);
        ASSERT_LT(path.size(), PathBufferSize);
        scratch.WriteFile(path, content);
        ReadResult result = ReadStart(path, 2);
        ASSERT_TRUE(result.count.has_value());
        EXPECT_EQ(result.bytes, content);
    }
}

LocalDate LibraryToday() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_s(&local, &now);
    return {local.tm_year + 1900, local.tm_mon + 1};
}

bool SameMonth(LocalDate a, LocalDate b) { return a.year == b.year && a.month == b.month; }

TEST(Win32ClockTest, TodayIsTheLocalMonthOfTheCLibrary) {
    LocalDate before = LibraryToday();
    LocalDate today = Win32Clock().Today();
    LocalDate after = LibraryToday();
    // The month may turn over between the calls.
    EXPECT_TRUE(SameMonth(today, before) || SameMonth(today, after))
        << today.year << "-" << today.month << " against " << before.year << "-" << before.month;
    EXPECT_GE(today.month, 1);
    EXPECT_LE(today.month, 12);
    EXPECT_GE(today.year, 2014);
}

}  // namespace
