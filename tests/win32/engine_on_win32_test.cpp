// A real CalcEngine on the Win32 platform: its tax settings come from a scratch installation
// in the registry and on disk, its copy and paste go through the real clipboard.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "engine/calc_engine.h"
#include "engine/memory_platform.h"
#include "raw_clipboard.h"
#include "scratch_installation.h"
#include "shell/platform/win32_platform.h"

namespace {

constexpr const char* DataFolderValue = "InstalledDataDir";
constexpr const char* ProgramFolderValue = "InstalledDir";

// Two dates with different default rates, so that a rate from a file is told apart from
// the default whatever its value.
struct DefaultRate {
    LocalDate today;
    const char* rate;
};
const DefaultRate defaultRates[] = {{{2013, 12}, "5"}, {{2015, 1}, "8"}};

struct Settings {
    std::string rate;
    TaxRounding rounding;
};

std::string Text(const DecimalValue& value) {
    std::array<char, FormatBufferSize> text{};
    value.Format(text.data(), text.size(), false);
    return text.data();
}

Settings LoadedSettings(LocalDate today) {
    Win32Installation installation;
    FixedClock clock(today);
    Win32Clipboard clipboard;
    CalcEngine engine({installation, clock, clipboard});
    return {Text(engine.taxRate), engine.taxRounding};
}

struct FileCase {
    const char* name;
    std::optional<Bytes> rateFile;      // nothing: no rate file
    std::optional<Bytes> roundingFile;  // nothing: no rounding file
    const char* rate;                   // null: the default rate of the date
    TaxRounding rounding;
};

const FileCase fileCases[] = {
    {"rate 01 38", Bytes{0x01, 0x38}, std::nullopt, "8", TaxRounding::Truncate},
    {"rate 02 31 30", Bytes{0x02, 0x31, 0x30}, std::nullopt, "10", TaxRounding::Truncate},
    {"rate 03 20 35 25", Bytes{0x03, 0x20, 0x35, 0x25}, std::nullopt, "5", TaxRounding::Truncate},
    {"rate 02 2D 35", Bytes{0x02, 0x2D, 0x35}, std::nullopt, "-5", TaxRounding::Truncate},
    {"rate 01 41", Bytes{0x01, 0x41}, std::nullopt, "0", TaxRounding::Truncate},
    {"rate 00", Bytes{0x00}, std::nullopt, nullptr, TaxRounding::Truncate},
    {"rate count 0A", Bytes{0x0A, 0x31, 0x32}, std::nullopt, nullptr, TaxRounding::Truncate},
    {"empty rate file", Bytes{}, std::nullopt, nullptr, TaxRounding::Truncate},
    {"rounding 01 55", std::nullopt, Bytes{0x01, 0x55}, nullptr, TaxRounding::UpFromTenth},
    {"rounding 01 46", std::nullopt, Bytes{0x01, 0x46}, nullptr, TaxRounding::HalfUp},
    {"rounding 01 75", std::nullopt, Bytes{0x01, 0x75}, nullptr, TaxRounding::Truncate},
    {"rounding 02 55", std::nullopt, Bytes{0x02, 0x55}, nullptr, TaxRounding::Truncate},
    {"both files", Bytes{0x01, 0x38}, Bytes{0x01, 0x46}, "8", TaxRounding::HalfUp},
    {"no files", std::nullopt, std::nullopt, nullptr, TaxRounding::Truncate},
};

TEST(EngineOnWin32Test, TaxSettingsComeFromTheDataFolderFiles) {
    for (const FileCase& row : fileCases) {
        ScratchInstallation scratch;
        std::string folder = scratch.MakeDataFolder("Data");
        scratch.SetString(DataFolderValue, folder);
        if (row.rateFile) {
            scratch.WriteFile(folder + RateFile, *row.rateFile);
        }
        if (row.roundingFile) {
            scratch.WriteFile(folder + RoundingFile, *row.roundingFile);
        }
        for (const DefaultRate& date : defaultRates) {
            SCOPED_TRACE(std::string(row.name) + ", default " + date.rate);
            Settings settings = LoadedSettings(date.today);
            EXPECT_EQ(settings.rate, row.rate != nullptr ? row.rate : date.rate);
            EXPECT_EQ(settings.rounding, row.rounding);
        }
    }
}

// The rate file 01 38 and the rounding file 01 46, reached or not through the registry.
struct FolderCase {
    const char* name;
    const char* valueName;  // where the folder is registered; null: no key at all
    DWORD type;
    const char* folderName;  // under the scratch root
    bool terminated;         // whether the stored value carries its terminator
    bool found;
};

const FolderCase folderCases[] = {
    {"data folder", DataFolderValue, REG_SZ, "Data", true, true},
    {"Shift-JIS data folder", DataFolderValue, REG_SZ, "\x83\x66\x81\x5b\x83\x5e\x95\x5c", true,
     true},
    {"binary value without terminator", DataFolderValue, REG_BINARY, "Data", false, true},
    {"no key", nullptr, REG_SZ, "Data", true, false},
    {"only the program folder", ProgramFolderValue, REG_SZ, "Data", true, false},
};

TEST(EngineOnWin32Test, TaxSettingsNeedTheRegisteredDataFolder) {
    for (const FolderCase& row : folderCases) {
        SCOPED_TRACE(row.name);
        ScratchInstallation scratch;
        std::string folder = scratch.MakeDataFolder(row.folderName);
        scratch.WriteFile(folder + RateFile, {0x01, 0x38});
        scratch.WriteFile(folder + RoundingFile, {0x01, 0x46});
        if (row.valueName != nullptr) {
            scratch.SetValue(row.valueName, row.type, folder.c_str(),
                             folder.size() + (row.terminated ? 1 : 0));
        }
        Settings settings = LoadedSettings({2013, 12});
        EXPECT_EQ(settings.rate, row.found ? "8" : "5");
        EXPECT_EQ(settings.rounding, row.found ? TaxRounding::HalfUp : TaxRounding::Truncate);
    }
}

struct ClipboardEngine {
    Win32Installation installation;
    FixedClock clock{{2015, 1}};
    Win32Clipboard clipboard;
    CalcEngine engine{{installation, clock, clipboard}};

    int Press(std::string_view keys) {
        int result = 0;
        for (char key : keys) {
            result = engine.HandleCommand(static_cast<unsigned char>(key));
        }
        return result;
    }
};

TEST(EngineOnWin32Test, CopyAndPasteGoThroughTheClipboard) {
    ClipboardEngine calculator;
    calculator.Press("1234567.5");
    EXPECT_EQ(calculator.Press("S"), 1);
    EXPECT_EQ(ClipboardText(), "1234567.5") << "copied without grouping";
    EXPECT_TRUE(ClipboardIsClosed());

    ASSERT_TRUE(PutText("1,234"));
    EXPECT_EQ(calculator.Press("AD"), 1);
    EXPECT_EQ(calculator.Press("5"), 1);
    EXPECT_EQ(Text(calculator.engine.display), "12345") << "digits continue the pasted number";
    EXPECT_TRUE(ClipboardIsClosed());
}

TEST(EngineOnWin32Test, ClipboardKeysRefusedLeaveDisplayAndClipboard) {
    ClipboardEngine calculator;
    calculator.Press("42");
    ASSERT_TRUE(PutBitmapOnly());
    EXPECT_EQ(calculator.Press("D"), 0) << "no text to paste";
    EXPECT_EQ(Text(calculator.engine.display), "42");
    EXPECT_TRUE(ClipboardIsClosed());

    ASSERT_TRUE(PutText("7"));
    {
        ClipboardHolder holder;
        ASSERT_TRUE(holder.Holding());
        EXPECT_EQ(calculator.Press("S"), 0) << "copy while another window holds the clipboard";
        EXPECT_EQ(calculator.Press("D"), 0) << "paste while another window holds the clipboard";
    }
    EXPECT_EQ(Text(calculator.engine.display), "42");
    EXPECT_EQ(ClipboardText(), "7");
}

}  // namespace
