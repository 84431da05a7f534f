#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "shell/help_path.h"
#include "shell/key_input.h"

namespace {

struct KeyUpCase {
    const char* name;
    std::uint32_t virtualKey;
    bool control;
    KeyUpAction action;
    char character;
};

TEST(KeyUp, SpecialKeysAndCopyPasteShortcuts) {
    const KeyUpCase cases[] = {
        {"Backspace", VK_BACK, false, KeyUpAction::Command, 8},
        {"Delete", VK_DELETE, false, KeyUpAction::Command, 8},
        {"Escape", VK_ESCAPE, false, KeyUpAction::Close, 0},
        {"Insert", VK_INSERT, false, KeyUpAction::PostChar, 'D'},
        {"Ctrl+C", 'C', true, KeyUpAction::PostChar, 'S'},
        {"Ctrl+V", 'V', true, KeyUpAction::PostChar, 'D'},
        {"plain C", 'C', false, KeyUpAction::None, 0},
        {"plain V", 'V', false, KeyUpAction::None, 0},
        {"Ctrl+X", 'X', true, KeyUpAction::None, 0},
        {"Return", VK_RETURN, false, KeyUpAction::None, 0},
    };
    for (const auto& c : cases) {
        const KeyUpResult result = KeyUpActionFor(c.virtualKey, c.control);
        EXPECT_EQ(result.action, c.action) << c.name;
        EXPECT_EQ(result.character, c.character) << c.name;
    }
}

struct HelpPathCase {
    const char* name;
    const char* registered;
    const char* program;
    bool built;
    const char* path;
};

TEST(HelpPath, RegisteredFolderOrBesideTheProgram) {
    const HelpPathCase cases[] = {
        {"registered", "C:\\Faltrane", "C:\\Tools\\karvold.exe", true,
         "C:\\Faltrane\\EXE\\Karvold.chm"},
        // The registered path is used as it is stored.
        {"registered with backslash", "D:\\App\\", nullptr, true, "D:\\App\\\\EXE\\Karvold.chm"},
        {"not registered", nullptr, "C:\\Tools\\karvold.exe", true, "C:\\Tools\\Karvold.chm"},
        {"program without folder", nullptr, "karvold.exe", true, "Karvold.chm"},
    };
    for (const auto& c : cases) {
        char buffer[260];
        std::memset(buffer, 'x', sizeof(buffer));
        EXPECT_EQ(BuildHelpPath(buffer, sizeof(buffer), c.registered, c.program), c.built)
            << c.name;
        EXPECT_STREQ(buffer, c.path) << c.name;
    }
}

TEST(HelpPath, NeverWritesPastTheBuffer) {
    const std::string suffix = "\\EXE\\Karvold.chm";  // 16 bytes
    struct Case {
        std::size_t folderLength;
        bool fits;
    };
    const Case cases[] = {{243, true}, {244, false}, {259, false}, {300, false}};
    for (const auto& c : cases) {
        const std::string folder(c.folderLength, 'a');
        char buffer[261];
        std::memset(buffer, 'x', sizeof(buffer));
        const bool built = BuildHelpPath(buffer, 260, folder.c_str(), nullptr);
        EXPECT_EQ(built, c.fits) << "folder of " << c.folderLength;
        EXPECT_EQ(buffer[260], 'x') << "folder of " << c.folderLength;
        if (built) {
            EXPECT_EQ(std::string(buffer), folder + suffix);
        } else {
            EXPECT_STREQ(buffer, "") << "folder of " << c.folderLength;
        }
    }
    // A program folder too deep for the file name beside it.
    const std::string program = std::string(250, 'p') + "\\karvold.exe";
    char buffer[261];
    buffer[260] = 'x';
    EXPECT_FALSE(BuildHelpPath(buffer, 260, nullptr, program.c_str()));
    EXPECT_EQ(buffer[260], 'x');
}

}  // namespace
