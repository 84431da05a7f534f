// A real CalcEngine on the Win32 platform: its tax settings come from a scratch installation in
// the registry and on disk, its copy and paste go through the real clipboard.

#include <array>
#include <string>

#include "engine/calc_engine.h"
#include "engine/memory_platform.h"
#include "shell/platform/win32_platform.h"
#include "win32_scratch.h"

namespace {

std::string Text(const DecimalValue& value) {
    std::array<char, FormatBufferSize> text{};
    value.Format(text.data(), text.size(), false);
    return text.data();
}

struct Calculator {
    Win32Installation installation;
    FixedClock clock{{2013, 12}};  // the default rate is 5
    Win32Clipboard clipboard{OwnerWindow()};
    CalcEngine engine{{installation, clock, clipboard}};
};

struct SettingsRow {
    const char* name;
    const char *rateFile, *roundingFile;  // null: no file
    const char* rate;
    TaxRounding rounding;
};

// clang-format off
const SettingsRow settingsRows[] = {
    {"rate 01 38, rounding 01 46", "\x01\x38", "\x01\x46", "8", TaxRounding::HalfUp},
    {"rate 02 2D 35, rounding 01 55", "\x02\x2D\x35", "\x01\x55", "-5", TaxRounding::UpFromTenth},
    {"rate 02 31 30, no rounding file", "\x02\x31\x30", nullptr, "10", TaxRounding::Truncate},
    {"rate count 0A, rounding 01 75", "\x0A\x31\x32", "\x01\x75", "5", TaxRounding::Truncate},
};
// clang-format on

TEST(EngineOnWin32Test, TaxSettingsComeFromTheRegisteredDataFolder) {
    const std::string name = "\x83\x66\x81\x5b\x83\x5e\x95\x5c";  // "データ表", ending in 5C
    for (const SettingsRow& row : settingsRows) {
        SCOPED_TRACE(row.name);
        ScratchInstallation scratch;
        const std::string folder = scratch.MakeFolder(name);
        scratch.MakeFolder(name + "\\DATA");
        scratch.MakeFolder(name + "\\DATA\\OTHER");
        scratch.SetValue(DataFolderValue, REG_SZ, folder + '\0');
        for (auto [file, bytes] :
             {std::pair{"TAX.AUT", row.rateFile}, {"Shouhi.AUT", row.roundingFile}}) {
            if (bytes != nullptr) {
                scratch.WriteFile(folder + "\\DATA\\OTHER\\" + file, bytes);
            }
        }
        Calculator calculator;
        EXPECT_EQ(Text(calculator.engine.taxRate), row.rate);
        EXPECT_EQ(calculator.engine.taxRounding, row.rounding);
    }
}

TEST(EngineOnWin32Test, CopyAndPasteGoThroughTheClipboard) {
    Calculator calculator;
    for (char key : std::string("1234567.5")) {
        calculator.engine.HandleCommand(key);
    }
    EXPECT_EQ(calculator.engine.HandleCommand('S'), 1);
    EXPECT_EQ(ClipboardText(), "1234567.5") << "copied without grouping";
    ASSERT_TRUE(PutText("1,234"));
    calculator.engine.HandleCommand('A');
    EXPECT_EQ(calculator.engine.HandleCommand('D'), 1);
    EXPECT_EQ(calculator.engine.HandleCommand('5'), 1);
    EXPECT_EQ(Text(calculator.engine.display), "12345") << "digits continue the pasted number";
    EXPECT_TRUE(ClipboardIsClosed());
}

}  // namespace
