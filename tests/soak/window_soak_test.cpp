// Ten thousand random key and mouse messages through the real window and the program's
// message loop, with the program's resources, its clipboard and HTML Help. Afterwards clicks on its
// keys still give 1 + 2 = 3, a full repaint holds no more GDI objects than before, and its loop
// ends with 0 when the window is closed.

#include <windows.h>

#include <random>

#include <gtest/gtest.h>

#include "shell/gdi_holders.h"
#include "shell/html_help.h"
#include "shell/key_layout.h"
#include "shell/platform/win32_platform.h"
#include "tests/engine/engine_fields.h"
#include "tests/shell/shell_fixture.h"

namespace {

// Wine answers GetObjectType for a handle that is only its slot number, so asking every slot
// counts the live GDI objects (GetGuiResources counts nothing under Wine).
int GdiObjects() {
    int count = 0;
    for (ULONG_PTR slot = 0; slot <= 0xFFFF; ++slot) {
        count += GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0 ? 1 : 0;
    }
    return count;
}

// Posts count random inputs of the user's kinds, then a quit that ends the loop's run. None
// closes the window or starts a menu or help loop: not Q, Escape, F1, F10, Alt or the Windows
// keys, nor a release on the OFF key.
void PostRandomInput(HWND window, const RECT& offKey, std::mt19937& random, int count) {
    const auto roll = [&random] { return static_cast<std::uint32_t>(random()); };
    for (int i = 0; i < count; ++i) {
        const std::uint32_t kind = roll() % 100;
        // Any client point, now and then one far outside the window.
        const std::uint32_t range = roll() % 20 == 0 ? 0x10000 : 0;
        const POINT point{static_cast<int>(roll() % (range != 0 ? range : WindowWidth)),
                          static_cast<int>(roll() % (range != 0 ? range : WindowHeight))};
        const auto key = static_cast<WPARAM>(roll() % 0xFF);
        if (kind < 30) {
            const char command = CommandCharacters[roll() % CommandCharacters.size()];
            PostMessageA(window, WM_CHAR, static_cast<unsigned char>(command), 0);
        } else if (kind < 60 && key != 0 && key != VK_ESCAPE && key != 'Q' && key != VK_F1 &&
                   key != VK_F10 && key != VK_MENU && (key < VK_LWIN || key > VK_APPS) &&
                   (key < VK_LMENU || key > VK_RMENU)) {
            PostMessageA(window, WM_KEYDOWN, key, 1);
            PostMessageA(window, WM_KEYUP, key, static_cast<LPARAM>(0xC000'0001));
        } else if (kind >= 60 && kind < 75) {
            PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
        } else if (kind >= 75 && kind < 90 && !PtInRect(&offKey, point)) {
            PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
        } else if (kind >= 90) {  // a drag, or a move over the display strip
            PostMessageA(window, kind % 2 == 0 ? WM_MOUSEMOVE : WM_NCMOUSEMOVE,
                         kind % 2 == 0 ? MK_LBUTTON : HTCAPTION, MAKELPARAM(point.x, point.y));
        }
    }
    PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, 0, 0);
}

class WindowSoak : public CalcWindowTest {};

TEST_F(WindowSoak, TenThousandRandomMessagesThenOnePlusTwoIsThree) {
    HtmlHelpA(nullptr, nullptr, HH_INITIALIZE, reinterpret_cast<DWORD_PTR>(&HelpCookie()));
    // The installation is read once, at the start; the clipboard is the one random keys reach.
    Win32Clipboard clipboard(window_);
    CalcApp app({platform_.installation, platform_.clock, clipboard});
    app.LoadSkin(instance_, WindowDc(window_).Get());
    AttachApp(window_, &app);
    SendMessageA(window_, PlaceWindowMessage, 0, 0);
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    const RECT offKey = app.keys[std::string_view(KeyMap).find('Q')].rect;

    // In runs of a thousand, which the queue holds; a first run warms up the system's caches.
    std::mt19937 random(0x50A6'0001);
    PostRandomInput(window_, offKey, random, 200);
    ASSERT_EQ(RunMessageLoop(), 0);
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const int before = GdiObjects();
    for (int run = 0; run < 10; ++run) {
        PostRandomInput(window_, offKey, random, 1000);
        ASSERT_EQ(RunMessageLoop(), 0) << "run " << run;
        ASSERT_TRUE(IsWindow(window_)) << "run " << run;
    }
    // A click's release posts the key's character.
    for (char character : std::string_view("A1+2=")) {
        const RECT key = app.keys[std::string_view(KeyMap).find(character)].rect;
        const LPARAM centre = MAKELPARAM((key.left + key.right) / 2, (key.top + key.bottom) / 2);
        SendMessageA(window_, WM_LBUTTONDOWN, MK_LBUTTON, centre);
        SendMessageA(window_, WM_LBUTTONUP, 0, centre);
    }
    PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, 0, 0);
    ASSERT_EQ(RunMessageLoop(), 0);
    EXPECT_TRUE(app.engine.display.Equals(DecimalValue(3, 0, 1, 0)));
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const int after = GdiObjects();
    EXPECT_EQ(after, before);
    // The count must see an object come, or the comparison above proves nothing.
    const HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    EXPECT_EQ(GdiObjects(), after + 1);
    DeleteObject(pen);

    PostMessageA(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(RunMessageLoop(), 0);  // returns once the window is destroyed
}

}  // namespace
