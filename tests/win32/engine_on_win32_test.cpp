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

// The decoding of the files is the portable tests' business; here the files are found through
// the real registry in a folder whose Shift-JIS name ends in the byte 5C, a backslash in ASCII.
TEST(EngineOnWin32Test, TaxSettingsComeFromTheRegisteredDataFolder) {
    const std::string name = "\x83\x66\x81\x5b\x83\x5e\x95\x5c";  // "データ表"
    ScratchInstallation scratch;
    const std::string folder = scratch.MakeFolder(name);
    scratch.MakeFolder(name + "\\DATA");
    scratch.MakeFolder(name + "\\DATA\\OTHER");
    scratch.SetValue(DataFolderValue, REG_SZ, folder + '\0');
    scratch.WriteFile(folder + "\\DATA\\OTHER\\TAX.AUT", "\x02\x2D\x35");
    scratch.WriteFile(folder + "\\DATA\\OTHER\\Shouhi.AUT", "\x01\x46");
    Calculator calculator;
    EXPECT_EQ(Text(calculator.engine.taxRate), "-5");
    EXPECT_EQ(calculator.engine.taxRounding, TaxRounding::HalfUp);
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
