#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "shell/html_help.h"

namespace {

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

// The control is loaded by the first call, from the system's own folder, and a message it
// does not want comes back to the loop.
TEST(HtmlHelpEntry, LoadsTheSystemControlOnFirstUse) {
    ASSERT_EQ(GetModuleHandleA("hhctrl.ocx"), nullptr);
    DWORD_PTR cookie = 0;
    HtmlHelpA(nullptr, nullptr, HH_INITIALIZE, reinterpret_cast<DWORD_PTR>(&cookie));
    HMODULE control = GetModuleHandleA("hhctrl.ocx");
    ASSERT_NE(control, nullptr);
    char path[MAX_PATH] = {};
    char system[MAX_PATH] = {};
    GetModuleFileNameA(control, path, sizeof(path));
    GetSystemDirectoryA(system, sizeof(system));
    EXPECT_EQ(Lower(path).rfind(Lower(system), 0), 0u) << path;

    MSG message{};
    message.message = WM_CHAR;
    message.wParam = '7';
    EXPECT_EQ(
        HtmlHelpA(nullptr, nullptr, HH_PRETRANSLATEMESSAGE, reinterpret_cast<DWORD_PTR>(&message)),
        nullptr);
    HtmlHelpA(nullptr, nullptr, HH_UNINITIALIZE, cookie);
}

}  // namespace
