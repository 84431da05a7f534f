// Hostile platform input through the whole engine on the real Win32 platform: clipboard
// contents no calculator would put there, a clipboard another program holds, registry
// values of any type and length, and data files that are no files or hardly any.

#include <windows.h>

#include <array>
#include <cstring>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "engine/calc_engine.h"
#include "engine/memory_platform.h"
#include "engine_properties.h"
#include "shell/platform/win32_platform.h"
#include "win32_scratch.h"

namespace {

const std::string RateFile(fuzzcheck::RateFileName);
const std::string RoundingFile(fuzzcheck::RoundingFileName);
constexpr LocalDate Today{2015, 1};  // the default rate is 8
constexpr const char* DefaultRate = "8";

std::string Text(const DecimalValue& value, bool grouping = true) {
    std::array<char, FormatBufferSize> text{};
    value.Format(text.data(), text.size(), grouping);
    return text.data();
}

struct Calculator {
    Win32Installation installation;
    FixedClock clock{Today};
    Win32Clipboard clipboard;
    CalcEngine engine{{installation, clock, clipboard}};

    std::int32_t Press(std::string_view keys) {
        std::int32_t result = 0;
        for (char key : keys) {
            result = engine.HandleCommand(static_cast<unsigned char>(key));
        }
        return result;
    }
};

std::string DigitText(std::size_t length) {
    std::string text(length, '0');
    for (std::size_t i = 0; i < length; ++i) {
        text[i] = static_cast<char>('1' + i % 9);
    }
    return text;
}

struct PasteCase {
    const char* name;
    std::string block;         // the CF_TEXT block's bytes exactly
    const char* shown;         // the display after 5 + and the paste
    const char* alsoAccepted;  // Wine puts a terminator over the last byte of such a block
};

// A block's bytes, one by one.
std::string BlockOf(std::initializer_list<int> bytes) {
    std::string block;
    for (int byte : bytes) {
        block += static_cast<char>(byte);
    }
    return block;
}

// Every byte value from first to last, up or down.
std::string BytesFrom(int first, int last) {
    std::string bytes;
    const int step = first <= last ? 1 : -1;
    for (int byte = first; byte != last + step; byte += step) {
        bytes += static_cast<char>(byte);
    }
    return bytes;
}

// Exactly these bytes as the clipboard's text block, terminated or not.
bool PutTextBlock(const std::string& bytes) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
    GlobalUnlock(block);
    return Put(CF_TEXT, block);
}

bool PutBitmapOnly() {
    return Put(CF_BITMAP, CreateBitmap(4, 4, 1, 32, nullptr));
}

bool PutNothing() {
    return Put(0, nullptr);
}

const PasteCase pasteCases[] = {
    {"a mebibyte of digits", DigitText(1 << 20) + '\0', "123,456,789,123", nullptr},
    {"30 digits without terminator", std::string(30, '7'), "777,777,777,777", nullptr},
    {"5 digits without terminator", "12345", "12,345", "1,234"},
    {"binary bytes first", BlockOf({0x01, 0x02, 0x00, 0xFF, '1', '2', 0}), "0", nullptr},
    {"digits then binary bytes", BlockOf({'4', '2', 0x00, 0x07, 0x08, 0xFF}), "42", nullptr},
    {"Shift-JIS full-width digits", BlockOf({0x82, 0x50, 0x82, 0x51, 0}), "0", nullptr},
    {"digits then Shift-JIS", BlockOf({'1', '2', 0x82, 0x52, '3', 0}), "12", nullptr},
    {"bytes 0xFF down to 0x80", BytesFrom(0xFF, 0x80) + '\0', "0", nullptr},
    {"a digit then every other byte value", "9" + BytesFrom(1, 0xFF) + '\0', "9", nullptr},
};

TEST(PlatformFaults, HostileClipboardTextPastesAsANumberOrZero) {
    for (const PasteCase& row : pasteCases) {
        SCOPED_TRACE(row.name);
        Calculator calculator;
        calculator.Press("5+");
        ASSERT_TRUE(PutTextBlock(row.block));
        EXPECT_EQ(calculator.Press("D"), 1);
        const std::string shown = Text(calculator.engine.display);
        EXPECT_TRUE(shown == row.shown ||
                    (row.alsoAccepted != nullptr && shown == row.alsoAccepted))
            << "shows " << shown;
        EXPECT_EQ(calculator.engine.display.errorCode, DecimalError::None);
        EXPECT_EQ(calculator.engine.state, EngineState::EnteringSecond);
        EXPECT_TRUE(ClipboardIsClosed());
        // The paste leaves the clipboard's block as it was: the copy reads it again.
        EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    }
}

TEST(PlatformFaults, CopyReplacesAHugeClipboardAndPastesBack) {
    Calculator calculator;
    ASSERT_TRUE(PutText(DigitText(1 << 20)));
    calculator.Press("1234567.5M");
    EXPECT_EQ(calculator.Press("S"), 1);
    EXPECT_EQ(ClipboardText(), "-1234567.5");
    EXPECT_EQ(calculator.Press("AD"), 1);
    EXPECT_EQ(Text(calculator.engine.display), "-1,234,567.5");
}

// Another program holding the clipboard open with a window of its own, until released.
class ClipboardHeldByAnotherProcess {
  public:
    ClipboardHeldByAnotherProcess() {
        const std::string suffix = std::to_string(GetCurrentProcessId());
        const std::string heldName = "KarvoldClipboardHeld-" + suffix;
        const std::string releaseName = "KarvoldClipboardRelease-" + suffix;
        held_ = CreateEventA(nullptr, TRUE, FALSE, heldName.c_str());
        release_ = CreateEventA(nullptr, TRUE, FALSE, releaseName.c_str());
        std::string command = "\"" + HolderPath() + "\" " + heldName + " " + releaseName;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &process_)) {
            CloseHandle(process_.hThread);
            HANDLE waits[] = {held_, process_.hProcess};
            holding_ = WaitForMultipleObjects(2, waits, FALSE, 30'000) == WAIT_OBJECT_0;
        }
    }
    ~ClipboardHeldByAnotherProcess() {
        SetEvent(release_);
        if (process_.hProcess != nullptr) {
            WaitForSingleObject(process_.hProcess, 30'000);
            CloseHandle(process_.hProcess);
        }
        CloseHandle(release_);
        CloseHandle(held_);
    }
    ClipboardHeldByAnotherProcess(const ClipboardHeldByAnotherProcess&) = delete;
    ClipboardHeldByAnotherProcess& operator=(const ClipboardHeldByAnotherProcess&) = delete;

    bool Holding() const { return holding_; }

  private:
    // The helper program is built next to this test.
    static std::string HolderPath() {
        std::array<char, MAX_PATH> path{};
        GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        std::string folder(path.data());
        return folder.substr(0, folder.find_last_of('\\') + 1) + "clipboard_holder.exe";
    }

    HANDLE held_ = nullptr;
    HANDLE release_ = nullptr;
    PROCESS_INFORMATION process_{};
    bool holding_ = false;
};

TEST(PlatformFaults, ClipboardHeldElsewhereRefusesCopyAndPasteAndChangesNothing) {
    for (bool otherProcess : {false, true}) {
        SCOPED_TRACE(otherProcess ? "another process" : "another thread");
        Calculator calculator;
        calculator.Press("12+34Z");  // a tax label that the refused keys still take away
        ASSERT_TRUE(PutText("77"));
        fuzzcheck::EngineSnapshot expected(calculator.engine);
        expected.words[4] = static_cast<std::uint32_t>(TaxState::None);
        {
            std::optional<ClipboardHolder> thread;
            std::optional<ClipboardHeldByAnotherProcess> process;
            if (otherProcess) {
                process.emplace();
                ASSERT_TRUE(process->Holding());
            } else {
                thread.emplace();
                ASSERT_TRUE(thread->Holding());
            }
            EXPECT_EQ(calculator.Press("D"), 0);
            EXPECT_TRUE(fuzzcheck::EngineSnapshot(calculator.engine) == expected);
            EXPECT_EQ(calculator.Press("S"), 0);
            EXPECT_TRUE(fuzzcheck::EngineSnapshot(calculator.engine) == expected);
        }
        EXPECT_EQ(ClipboardText(), "77");
        EXPECT_EQ(calculator.Press("D"), 1) << "free again once the other one let go";
        EXPECT_EQ(Text(calculator.engine.display), "77");
    }
}

TEST(PlatformFaults, NoTextOnTheClipboardRefusesPasteAndChangesNothing) {
    for (bool (*put)() : {PutBitmapOnly, PutNothing}) {
        Calculator calculator;
        calculator.Press("9*8");
        ASSERT_TRUE(put());
        fuzzcheck::EngineSnapshot before(calculator.engine);
        EXPECT_EQ(calculator.Press("D"), 0);
        EXPECT_TRUE(fuzzcheck::EngineSnapshot(calculator.engine) == before);
        EXPECT_TRUE(ClipboardIsClosed());
    }
}

struct Settings {
    std::string rate;
    TaxRounding rounding;
};

Settings LoadedSettings() {
    Calculator calculator;
    return {Text(calculator.engine.taxRate, false), calculator.engine.taxRounding};
}

// The rate file 01 33 and the rounding file 01 55 give the rate 3 and rounding up from a
// tenth when they are read; the default is 8 and truncation.
const std::string rateThree = BlockOf({0x01, 0x33});
const std::string roundUp = BlockOf({0x01, 0x55});

// root\\name with the folders the two files live in; the full path.
std::string MakeDataFolder(ScratchInstallation& scratch, const std::string& name) {
    scratch.MakeFolder(name);
    scratch.MakeFolder(name + "\\DATA");
    scratch.MakeFolder(name + "\\DATA\\OTHER");
    return scratch.Root() + "\\" + name;
}

// The scratch data folder, and its path written out to exactly the given length with "\."
// steps that lead back to the same folder, so that the files are there whatever the length.
struct PaddedFolder {
    std::string folder;
    std::string path;
};

PaddedFolder FolderOfLength(ScratchInstallation& scratch, std::size_t length) {
    const std::string root = scratch.Root() + "\\";
    // The folder's own name evens out the steps of two characters.
    const std::string name = (length - root.size()) % 2 == 0 ? "DD" : "D";
    PaddedFolder padded;
    padded.folder = MakeDataFolder(scratch, name);
    padded.path = padded.folder;
    while (padded.path.size() < length) {
        padded.path += "\\.";
    }
    return padded;
}

struct LengthCase {
    std::size_t folderLength;
    const char* rate;
    TaxRounding rounding;
};

// "\DATA\OTHER\TAX.AUT" has 19 characters and "\DATA\OTHER\Shouhi.AUT" 22: with the
// terminator the path buffer holds a folder of 240 and 237 characters. A value of 260
// bytes or more does not fit the buffer at all. (Past 259 characters Wine refuses an ANSI
// path by itself, so beyond the limits these rows show the fallback and no harm.)
const LengthCase lengthCases[] = {
    {237, "3", TaxRounding::UpFromTenth},
    {238, "3", TaxRounding::Truncate},
    {240, "3", TaxRounding::Truncate},
    {241, DefaultRate, TaxRounding::Truncate},
    {250, DefaultRate, TaxRounding::Truncate},
    {258, DefaultRate, TaxRounding::Truncate},  // a value of 259 bytes with its terminator
    {259, DefaultRate, TaxRounding::Truncate},  // 260 bytes
    {299, DefaultRate, TaxRounding::Truncate},  // 300 bytes
};

TEST(PlatformFaults, LongDataFoldersReadOnlyTheFilesWhosePathsFit) {
    for (const LengthCase& row : lengthCases) {
        SCOPED_TRACE("folder of " + std::to_string(row.folderLength) + " characters");
        ScratchInstallation scratch;
        const PaddedFolder padded = FolderOfLength(scratch, row.folderLength);
        ASSERT_EQ(padded.path.size(), row.folderLength);
        scratch.WriteFile(padded.folder + RateFile, rateThree);
        scratch.WriteFile(padded.folder + RoundingFile, roundUp);
        scratch.SetValue(DataFolderValue, REG_SZ, padded.path + '\0');
        const Settings settings = LoadedSettings();
        EXPECT_EQ(settings.rate, row.rate);
        EXPECT_EQ(settings.rounding, row.rounding);
    }
}

struct ValueTypeCase {
    const char* name;
    DWORD type;
    std::string suffix;  // stored after the folder's path
    bool found;
};

const ValueTypeCase valueTypeCases[] = {
    {"several strings", REG_MULTI_SZ, std::string("\0second\0\0", 9), true},
    {"no type", REG_NONE, std::string("\0", 1), true},
    {"big-endian number type", REG_DWORD_BIG_ENDIAN, std::string("\0", 1), true},
    {"link type", REG_LINK, std::string("\0", 1), true},
};

TEST(PlatformFaults, DataFolderOfAnyValueTypeIsReadAsItsBytes) {
    for (const ValueTypeCase& row : valueTypeCases) {
        SCOPED_TRACE(row.name);
        ScratchInstallation scratch;
        const std::string folder = MakeDataFolder(scratch, "Data");
        scratch.WriteFile(folder + RateFile, rateThree);
        scratch.WriteFile(folder + RoundingFile, roundUp);
        const std::string stored = folder + row.suffix;
        scratch.SetValue(DataFolderValue, row.type, stored);
        const Settings settings = LoadedSettings();
        EXPECT_EQ(settings.rate, row.found ? "3" : DefaultRate);
        EXPECT_EQ(settings.rounding, row.found ? TaxRounding::UpFromTenth : TaxRounding::Truncate);
    }
}

TEST(PlatformFaults, ValuesThatAreNoFolderFallBack) {
    const DWORD number = 0x00000033;
    const std::uint64_t wide = 0x0000'5C3A'4300ULL;  // the bytes 00 43 3A 5C ...
    const std::string expandable = "%TEMP%\\Data";   // never expanded
    struct Row {
        const char* name;
        DWORD type;
        const void* data;
        std::size_t size;
    };
    const Row rows[] = {
        {"number", REG_DWORD, &number, sizeof number},
        {"64-bit number", REG_QWORD, &wide, sizeof wide},
        {"expandable string", REG_EXPAND_SZ, expandable.c_str(), expandable.size() + 1},
        {"no bytes", REG_BINARY, "", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScratchInstallation scratch;
        scratch.SetValue(DataFolderValue, row.type,
                         std::string(static_cast<const char*>(row.data), row.size));
        const Settings settings = LoadedSettings();
        EXPECT_EQ(settings.rate, DefaultRate);
        EXPECT_EQ(settings.rounding, TaxRounding::Truncate);
    }
}

struct FileCase {
    const char* name;
    std::optional<std::string> rateFile;  // nothing: a folder stands where the file should be
    std::optional<std::string> roundingFile;
    const char* rate;
    const char* alsoAccepted;  // a file shorter than its count may be read as far as it goes
    TaxRounding rounding;
};

const FileCase fileCases[] = {
    {"folders for files", std::nullopt, std::nullopt, DefaultRate, nullptr, TaxRounding::Truncate},
    {"empty files", BlockOf({}), BlockOf({}), DefaultRate, nullptr, TaxRounding::Truncate},
    {"count byte only", BlockOf({0x01}), BlockOf({0x01}), DefaultRate, "0", TaxRounding::Truncate},
    {"count 0x85", BlockOf({0x85, 0x33}), roundUp, DefaultRate, nullptr, TaxRounding::UpFromTenth},
    {"count 0xFF", BlockOf({0xFF, 0x33}), BlockOf({0xFF, 0x55}), DefaultRate, nullptr,
     TaxRounding::Truncate},
    {"count 9 with two bytes", BlockOf({0x09, 0x31, 0x32}), roundUp, DefaultRate, "12",
     TaxRounding::UpFromTenth},
    {"count 9 with nine bytes", BlockOf({0x09, '-', '9', '9', '9', '9', '9', '9', '9', '9'}),
     BlockOf({0x01, 0x46, 0x00}), "-99999999", nullptr, TaxRounding::HalfUp},
};

TEST(PlatformFaults, DataFilesThatAreNoneOrHardlyAnyFallBack) {
    for (const FileCase& row : fileCases) {
        SCOPED_TRACE(row.name);
        ScratchInstallation scratch;
        const std::string folder = MakeDataFolder(scratch, "Data");
        if (row.rateFile) {
            scratch.WriteFile(folder + RateFile, *row.rateFile);
        } else {
            scratch.MakeFolder("Data" + RateFile);
        }
        if (row.roundingFile) {
            scratch.WriteFile(folder + RoundingFile, *row.roundingFile);
        } else {
            scratch.MakeFolder("Data" + RoundingFile);
        }
        scratch.SetValue(DataFolderValue, REG_SZ, folder + '\0');
        const Settings settings = LoadedSettings();
        EXPECT_TRUE(settings.rate == row.rate ||
                    (row.alsoAccepted != nullptr && settings.rate == row.alsoAccepted))
            << "rate " << settings.rate;
        EXPECT_EQ(settings.rounding, row.rounding);
    }
}

}  // namespace
