// Ten thousand random key and mouse messages through the real window and the program's
// message loop, set up as the program sets it up (the Win32 platform, its resources, HTML
// Help). Afterwards clicks on its keys still give 1 + 2 = 3, it holds no more GDI objects
// than before, and its loop ends with 0 when the window is closed.

#include <windows.h>

#include <algorithm>
#include <random>

#include <gtest/gtest.h>

#include "gdi_census.h"
#include "shell/calc_app.h"
#include "shell/gdi_holders.h"
#include "shell/html_help.h"
#include "shell/main_window.h"
#include "shell/platform/win32_platform.h"

namespace {

// Posts count random inputs of the user's kinds, then a quit that ends the loop's run.
void PostRandomInput(HWND window, const CalcApp& app, std::mt19937& random, int count) {
    constexpr std::string_view Keys = "0123456789.+-*/=%\r\bAaCcDdGgLlMmPpRrSsTtXxZz";
    const auto roll = [&random] { return static_cast<std::uint32_t>(random()); };
    const auto closes = [](WPARAM character) { return character == 'Q' || character == 'q'; };
    // Any client point, now and then one far outside the window; none on the OFF key.
    const auto anyPoint = [&](bool offTheCloseKey) {
        for (;;) {
            const bool outside = roll() % 20 == 0;
            const POINT point{static_cast<int>(roll() % (outside ? 0x10000 : WindowWidth)),
                              static_cast<int>(roll() % (outside ? 0x10000 : WindowHeight))};
            if (!offTheCloseKey ||
                std::none_of(std::begin(app.keys), std::end(app.keys), [&](const CalcKey& key) {
                    return closes(static_cast<WPARAM>(key.commandChar)) &&
                           PtInRect(&key.rect, point);
                })) {
                return point;
            }
        }
    };
    for (int i = 0; i < count; ++i) {
        const std::uint32_t kind = roll() % 100;
        POINT point = anyPoint(kind >= 75 && kind < 90);
        // Two bytes reach the window as two characters (a double-byte character's lead and
        // trail bytes), so neither may close the window.
        const WPARAM code = roll() & 0xFFFF;
        // Neither Escape nor Q (they close) nor the keys that start a menu or help loop.
        const auto key = static_cast<WPARAM>(roll() % 0xFF);
        const bool allowedKey = key != 0 && key != VK_ESCAPE && key != 'Q' && key != VK_F1 &&
                                key != VK_F10 && (key < VK_LWIN || key > VK_APPS) &&
                                key != VK_MENU && (key < VK_LMENU || key > VK_RMENU);
        if (kind < 30) {
            PostMessageA(window, WM_CHAR, static_cast<unsigned char>(Keys[roll() % Keys.size()]),
                         0);
        } else if (kind < 40) {
            PostMessageA(window, WM_CHAR, closes(code & 0xFF) || closes(code >> 8) ? '?' : code, 0);
        } else if (kind < 60 && allowedKey) {
            PostMessageA(window, WM_KEYDOWN, key, 1);
            PostMessageA(window, WM_KEYUP, key, static_cast<LPARAM>(0xC000'0001));
        } else if (kind >= 60 && kind < 90) {
            PostMessageA(window, kind < 75 ? WM_LBUTTONDOWN : WM_LBUTTONUP,
                         kind < 75 ? MK_LBUTTON : 0, MAKELPARAM(point.x, point.y));
        } else if (kind >= 90 && kind < 95) {
            ClientToScreen(window, &point);
            PostMessageA(window, roll() % 2 == 0 ? WM_MOUSEMOVE : WM_NCMOUSEMOVE,
                         roll() % 2 == 0 ? 0 : HTCAPTION, MAKELPARAM(point.x, point.y));
        } else if (kind >= 95) {
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(roll() % 40000, 0), 0);  // ids unknown
        }
    }
    PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, 0, 0);
}

TEST(WindowSoak, TenThousandRandomMessagesThenOnePlusTwoIsThree) {
    ASSERT_TRUE(CensusWorks()) << "GetObjectType does not answer for handle slots here";
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterMainWindowClass(instance);
    const HWND window = CreateMainWindow(instance);
    ASSERT_NE(window, nullptr);
    HtmlHelpA(nullptr, nullptr, HH_INITIALIZE, reinterpret_cast<DWORD_PTR>(&HelpCookie()));
    Win32Installation installation;
    Win32Clock clock;
    Win32Clipboard clipboard(window);
    CalcApp app({installation, clock, clipboard});
    {
        WindowDc dc(window);
        app.LoadSkin(instance, dc.Get());
    }
    AttachApp(window, &app);
    SendMessageA(window, PlaceWindowMessage, 0, 0);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    const auto repaintedCensus = [window] {
        InvalidateRect(window, nullptr, TRUE);
        UpdateWindow(window);
        return TakeGdiCensus();
    };

    // In runs of a thousand, which the queue holds; a first run warms up the system's caches.
    std::mt19937 random(0x50A6'0001);
    PostRandomInput(window, app, random, 200);
    ASSERT_EQ(RunMessageLoop(), 0);
    const GdiCensus before = repaintedCensus();
    for (int run = 0; run < 10; ++run) {
        PostRandomInput(window, app, random, 1000);
        ASSERT_EQ(RunMessageLoop(), 0) << "run " << run;
        ASSERT_TRUE(IsWindow(window)) << "run " << run;
    }
    // A click's release posts the key's character; each click is taken before the next.
    for (char character : std::string_view("A1+2=")) {
        const auto key = std::find_if(std::begin(app.keys), std::end(app.keys),
                                      [&](const CalcKey& k) { return k.commandChar == character; });
        ASSERT_NE(key, std::end(app.keys)) << "no key posts " << character;
        const LPARAM centre = MAKELPARAM((key->rect.left + key->rect.right) / 2,
                                         (key->rect.top + key->rect.bottom) / 2);
        PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, centre);
        PostMessageA(window, WM_LBUTTONUP, 0, centre);
        for (int round = 0; round < 2; ++round) {  // the clicks, then what they posted
            PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, 0, 0);
            ASSERT_EQ(RunMessageLoop(), 0);
        }
    }
    EXPECT_TRUE(app.engine.display.Equals(DecimalValue(3, 0, 1, 0)))
        << app.engine.display.integerPart;
    EXPECT_EQ(app.engine.state, EngineState::Result);
    EXPECT_EQ(repaintedCensus(), before);

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(RunMessageLoop(), 0);
    EXPECT_FALSE(IsWindow(window)) << "the close request destroyed the window";
}

}  // namespace
