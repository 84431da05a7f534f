// Ten thousand random key and mouse messages through the real window and the program's
// message loop, set up as the program sets it up (the Win32 platform, its resources, HTML
// Help). Afterwards clicks on its keys still give 1 + 2 = 3, it holds no more GDI objects
// than before, and its loop ends with 0 when the window is closed.

#include <windows.h>

#include <random>

#include <gtest/gtest.h>

#include "gdi_census.h"
#include "shell/calc_app.h"
#include "shell/gdi_holders.h"
#include "shell/html_help.h"
#include "shell/main_window.h"
#include "shell/platform/win32_platform.h"

namespace {

class RandomInput {
  public:
    RandomInput(HWND window, const CalcApp& app) : window_(window), app_(app) {}

    // Posts count random inputs of the user's kinds, then a quit that ends the loop's run.
    void Post(int count) {
        for (int i = 0; i < count; ++i) {
            PostOne();
        }
        PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, 0, 0);
    }

  private:
    void PostOne() {
        constexpr std::string_view Keys = "0123456789.+-*/=%\r\bAaCcDdGgLlMmPpRrSsTtXxZz";
        const std::uint32_t kind = Roll() % 100;
        if (kind < 30) {
            PostMessageA(window_, WM_CHAR, static_cast<unsigned char>(Keys[Roll() % Keys.size()]), 0);
        } else if (kind < 40) {
            // Two bytes reach the window as two characters (lead and trail bytes of a
            // double-byte character), so neither may close the window.
            const WPARAM code = Roll() & 0xFFFF;
            PostMessageA(window_, WM_CHAR, Closes(code & 0xFF) || Closes(code >> 8) ? '?' : code, 0);
        } else if (kind < 60) {
            // Neither Escape nor Q (they close) nor the keys that start a menu or help loop.
            const auto key = static_cast<WPARAM>(Roll() % 0xFF);
            if (key != 0 && key != VK_ESCAPE && key != 'Q' && key != VK_F1 && key != VK_F10 &&
                (key < VK_LWIN || key > VK_APPS) && key != VK_MENU && key != VK_LMENU && key != VK_RMENU) {
                PostMessageA(window_, WM_KEYDOWN, key, 1);
                PostMessageA(window_, WM_KEYUP, key, static_cast<LPARAM>(0xC000'0001));
            }
        } else if (kind < 75) {
            PostMessageA(window_, WM_LBUTTONDOWN, MK_LBUTTON, Lparam(AnyPoint()));
        } else if (kind < 90) {
            POINT point = AnyPoint();
            while (OnCloseKey(point)) {
                point = AnyPoint();
            }
            PostMessageA(window_, WM_LBUTTONUP, 0, Lparam(point));
        } else if (kind < 95) {
            POINT screen = AnyPoint();
            ClientToScreen(window_, &screen);
            PostMessageA(window_, Roll() % 2 == 0 ? WM_MOUSEMOVE : WM_NCMOUSEMOVE,
                         Roll() % 2 == 0 ? 0 : HTCAPTION, Lparam(screen));
        } else {
            PostMessageA(window_, WM_COMMAND, MAKEWPARAM(Roll() % 40000, 0), 0);  // ids unknown
        }
    }
    static bool Closes(WPARAM character) { return character == 'Q' || character == 'q'; }
    static LPARAM Lparam(POINT point) { return MAKELPARAM(point.x, point.y); }
    bool OnCloseKey(POINT point) const {
        for (const CalcKey& key : app_.keys) {
            if (Closes(static_cast<WPARAM>(key.commandChar)) && PtInRect(&key.rect, point)) {
                return true;
            }
        }
        return false;
    }
    // Any client point, now and then one far outside the window.
    POINT AnyPoint() {
        const bool outside = Roll() % 20 == 0;
        const auto x = static_cast<int>(Roll() % (outside ? 0x10000 : MainWindowWidth));
        return {x, static_cast<int>(Roll() % (outside ? 0x10000 : MainWindowHeight))};
    }
    std::uint32_t Roll() { return static_cast<std::uint32_t>(random_()); }

    HWND window_;
    const CalcApp& app_;
    std::mt19937 random_{0x50A6'0001};
};

TEST(WindowSoak, TenThousandRandomMessagesThenOnePlusTwoIsThree) {
    ASSERT_TRUE(CensusWorks()) << "GetObjectType does not answer for handle slots here";
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterMainWindowClass(instance);
    const HWND window = CreateMainWindow(instance);
    ASSERT_NE(window, nullptr);
    HtmlHelpA(nullptr, nullptr, HH_INITIALIZE, reinterpret_cast<DWORD_PTR>(&HelpCookie()));
    Win32Installation installation;
    Win32Clock clock;
    Win32Clipboard clipboard;
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
    RandomInput input(window, app);
    input.Post(200);
    ASSERT_EQ(RunMessageLoop(), 0);
    const GdiCensus before = repaintedCensus();
    for (int run = 0; run < 10; ++run) {
        input.Post(1000);
        ASSERT_EQ(RunMessageLoop(), 0) << "run " << run;
        ASSERT_TRUE(IsWindow(window)) << "run " << run;
    }
    // A click's release posts the key's character; each click is taken before the next.
    for (char character : std::string_view("A1+2=")) {
        const CalcKey* key = nullptr;
        for (const CalcKey& candidate : app.keys) {
            key = candidate.commandChar == character ? &candidate : key;
        }
        ASSERT_NE(key, nullptr) << "no key posts " << character;
        const LPARAM centre = MAKELPARAM((key->rect.left + key->rect.right) / 2,
                                         (key->rect.top + key->rect.bottom) / 2);
        PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, centre);
        PostMessageA(window, WM_LBUTTONUP, 0, centre);
        for (int round = 0; round < 2; ++round) {  // the clicks, then what they posted
            PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, 0, 0);
            ASSERT_EQ(RunMessageLoop(), 0);
        }
    }
    std::array<char, FormatBufferSize> shown{};
    app.engine.display.Format(shown.data(), shown.size(), true);
    EXPECT_EQ(std::string(shown.data()), "3");
    EXPECT_EQ(app.engine.state, EngineState::Result);
    EXPECT_EQ(repaintedCensus(), before);

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(RunMessageLoop(), 0);
    EXPECT_FALSE(IsWindow(window)) << "the close request destroyed the window";
}

}  // namespace
