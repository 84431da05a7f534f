// Ten thousand random key and mouse messages posted to the real window, set up as the
// program sets it up (the Win32 platform, the program's resources, HTML Help, the message
// loop), from another thread while the loop runs. Afterwards the calculator still computes
// 1 + 2 = 3 from clicks on its keys, holds no more GDI objects than before, and its loop
// ends with 0 when the window is closed.

#include <windows.h>

#include <array>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "decimal/decimal_value.h"
#include "gdi_census.h"
#include "shell/calc_app.h"
#include "shell/gdi_holders.h"
#include "shell/html_help.h"
#include "shell/main_window.h"
#include "shell/platform/win32_platform.h"

namespace {

constexpr int SoakMessages = 10'000;
constexpr std::uint32_t Seed = 0x50A6'0001;
constexpr UINT CheckpointMessage = WM_APP + 0x51;
// Observations before and after the soak, and a point at which the poster waits for the
// loop to catch up.
enum Checkpoint : WPARAM { BeforeSoak = 0, AfterSoak = 1, CaughtUp = 2 };
constexpr DWORD LongestCatchUp = 30'000;

constexpr std::string_view CommandKeys = "0123456789.+-*/=%\r\bAaCcDdGgLlMmPpRrSsTtXxZz";

// What the loop's thread sees at a checkpoint.
struct Observation {
    GdiCensus census;
    std::string display;
    EngineState state = EngineState::Cleared;
};

struct SoakRun {
    HWND window = nullptr;
    CalcApp* app = nullptr;
    std::array<Observation, 2> seen;
    std::array<bool, 2> reached{};
    HANDLE caughtUp = nullptr;
    int takenForTheWindow = 0;  // between the two observations
};

SoakRun* currentRun = nullptr;

std::string Shown(const DecimalValue& value) {
    if (value.errorCode != DecimalError::None) {
        return "error " + std::to_string(static_cast<int>(value.errorCode));
    }
    std::array<char, FormatBufferSize> text{};
    value.Format(text.data(), text.size(), true);
    return text.data();
}

// Sees every message the loop takes; acts on the checkpoints, which no window receives.
LRESULT CALLBACK WatchMessages(int code, WPARAM removal, LPARAM lParam) {
    const auto* message = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && removal == PM_REMOVE && currentRun != nullptr &&
        message->hwnd == currentRun->window && currentRun->reached[BeforeSoak] &&
        !currentRun->reached[AfterSoak]) {
        ++currentRun->takenForTheWindow;
    }
    if (code == HC_ACTION && removal == PM_REMOVE && message->hwnd == nullptr &&
        message->message == CheckpointMessage && currentRun != nullptr) {
        if (message->wParam == CaughtUp) {
            SetEvent(currentRun->caughtUp);
            return CallNextHookEx(nullptr, code, removal, lParam);
        }
        InvalidateRect(currentRun->window, nullptr, TRUE);
        UpdateWindow(currentRun->window);
        Observation& seen = currentRun->seen[message->wParam];
        seen.census = TakeGdiCensus();
        seen.display = Shown(currentRun->app->engine.display);
        seen.state = currentRun->app->engine.state;
        currentRun->reached[message->wParam] = true;
    }
    return CallNextHookEx(nullptr, code, removal, lParam);
}

// Posts from another thread, waiting while the queue is full.
void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    while (!PostMessageA(window, message, wParam, lParam) && IsWindow(window)) {
        Sleep(1);
    }
}

void PostCheckpoint(DWORD thread, Checkpoint checkpoint) {
    while (!PostThreadMessageA(thread, CheckpointMessage, checkpoint, 0)) {
        Sleep(1);
    }
}

// Waits until the loop has taken everything posted so far; false when the window went away
// or the loop stopped taking messages.
bool CatchUp(DWORD thread, HANDLE caughtUp, HWND window) {
    constexpr DWORD Step = 50;
    ResetEvent(caughtUp);
    PostCheckpoint(thread, CaughtUp);
    for (DWORD waited = 0; waited < LongestCatchUp && IsWindow(window); waited += Step) {
        if (WaitForSingleObject(caughtUp, Step) == WAIT_OBJECT_0) {
            return true;
        }
    }
    return false;
}

bool ClosesTheWindow(WPARAM character) {
    return character == 'Q' || character == 'q';
}

POINT Centre(const RECT& rect) {
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

LPARAM ClientPoint(POINT point) {
    return MAKELPARAM(point.x, point.y);
}

class RandomInput {
  public:
    RandomInput(HWND window, const std::vector<RECT>& closeKeys)
        : window_(window), closeKeys_(closeKeys) {}

    // One random input of the user's kinds, one or two messages; the count posted.
    int PostOne() {
        const std::uint32_t kind = Roll() % 100;
        if (kind < 30) {
            Post(window_, WM_CHAR,
                 static_cast<unsigned char>(CommandKeys[Roll() % CommandKeys.size()]), 0);
            return 1;
        }
        if (kind < 40) {
            // A code of two bytes reaches the window as two characters (a double-byte
            // character's lead and trail bytes), so neither byte may close the window.
            WPARAM code = Roll() & 0xFFFF;
            if (ClosesTheWindow(code & 0xFF) || ClosesTheWindow(code >> 8)) {
                code = '?';
            }
            Post(window_, WM_CHAR, code, 0);
            return 1;
        }
        if (kind < 60) {
            const WPARAM key = AllowedKey();
            Post(window_, WM_KEYDOWN, key, 1);
            Post(window_, WM_KEYUP, key, static_cast<LPARAM>(0xC000'0001));
            return 2;
        }
        if (kind < 75) {
            Post(window_, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(AnyPoint()));
            return 1;
        }
        if (kind < 90) {
            Post(window_, WM_LBUTTONUP, 0, ClientPoint(PointOffTheCloseKeys()));
            return 1;
        }
        if (kind < 95) {
            POINT screen = AnyPoint();
            ClientToScreen(window_, &screen);
            Post(window_, Roll() % 2 == 0 ? WM_MOUSEMOVE : WM_NCMOUSEMOVE,
                 Roll() % 2 == 0 ? 0 : HTCAPTION, MAKELPARAM(screen.x, screen.y));
            return 1;
        }
        Post(window_, WM_COMMAND, MAKEWPARAM(Roll() % 40000, 0), 0);  // ids the menu does not use
        return 1;
    }

  private:
    std::uint32_t Roll() { return static_cast<std::uint32_t>(random_()); }

    // Any client point, now and then one outside the window.
    POINT AnyPoint() {
        if (Roll() % 20 == 0) {
            return {static_cast<int>(Roll() % 0x10000), static_cast<int>(Roll() % 0x10000)};
        }
        return {static_cast<int>(Roll() % MainWindowWidth),
                static_cast<int>(Roll() % MainWindowHeight)};
    }

    POINT PointOffTheCloseKeys() {
        for (;;) {
            const POINT point = AnyPoint();
            bool onCloseKey = false;
            for (const RECT& key : closeKeys_) {
                onCloseKey = onCloseKey || PtInRect(&key, point);
            }
            if (!onCloseKey) {
                return point;
            }
        }
    }

    // Keys that neither close the window (Escape, Q) nor start a menu or help loop.
    WPARAM AllowedKey() {
        for (;;) {
            const auto key = static_cast<WPARAM>(Roll() % 0xFF);
            const bool excluded = key == VK_ESCAPE || key == 'Q' || key == VK_F1 || key == VK_F10 ||
                                  key == VK_MENU || key == VK_LMENU || key == VK_RMENU ||
                                  key == VK_APPS || key == VK_LWIN || key == VK_RWIN || key == 0;
            if (!excluded) {
                return key;
            }
        }
    }

    HWND window_;
    std::vector<RECT> closeKeys_;
    std::mt19937 random_{Seed};
};

const CalcKey* KeyPosting(const CalcApp& app, char character) {
    for (const CalcKey& key : app.keys) {
        if (key.commandChar == character) {
            return &key;
        }
    }
    return nullptr;
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
    Win32Clipboard clipboard;
    CalcApp app({installation, clock, clipboard});
    {
        WindowDc dc(window);
        app.LoadSkin(instance, dc.Get());
    }
    AttachApp(window, &app);
    SendMessageA(window, PlaceWindowMessage, 0, 0);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);

    std::vector<RECT> closeKeys;
    for (const CalcKey& key : app.keys) {
        if (key.commandChar == 'Q' || key.commandChar == 'q') {
            closeKeys.push_back(key.rect);
        }
    }
    ASSERT_FALSE(closeKeys.empty()) << "no OFF key";
    std::vector<POINT> sum;
    for (char character : std::string_view("A1+2=")) {
        const CalcKey* key = KeyPosting(app, character);
        ASSERT_NE(key, nullptr) << "no key posts " << character;
        sum.push_back(Centre(key->rect));
    }

    SoakRun run;
    run.window = window;
    run.app = &app;
    run.caughtUp = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    currentRun = &run;
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, WatchMessages, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);

    const DWORD loopThread = GetCurrentThreadId();
    int posted = 0;
    bool caughtUp = true;
    std::thread user([&] {
        RandomInput input(window, closeKeys);
        // A first round warms up whatever the system caches on first use.
        for (int warm = 0; warm < 200;) {
            warm += input.PostOne();
        }
        PostCheckpoint(loopThread, BeforeSoak);
        while (posted < SoakMessages) {
            posted += input.PostOne();
        }
        for (POINT point : sum) {
            Post(window, WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(point));
            Post(window, WM_LBUTTONUP, 0, ClientPoint(point));
            // The release posts the key's character behind whatever waits in the queue.
            caughtUp = caughtUp && CatchUp(loopThread, run.caughtUp, window) &&
                       CatchUp(loopThread, run.caughtUp, window);
        }
        PostCheckpoint(loopThread, AfterSoak);
        Post(window, WM_CLOSE, 0, 0);
    });
    const int exitCode = RunMessageLoop();
    user.join();
    UnhookWindowsHookEx(hook);
    currentRun = nullptr;
    CloseHandle(run.caughtUp);

    EXPECT_EQ(exitCode, 0);
    EXPECT_FALSE(IsWindow(window)) << "the close request destroyed the window";
    EXPECT_GE(posted, SoakMessages);
    EXPECT_GE(run.takenForTheWindow, SoakMessages) << "the soak's messages reached the window";
    EXPECT_TRUE(caughtUp) << "the loop stopped taking messages";
    ASSERT_TRUE(run.reached[BeforeSoak] && run.reached[AfterSoak]);
    EXPECT_EQ(run.seen[AfterSoak].display, "3");
    EXPECT_EQ(run.seen[AfterSoak].state, EngineState::Result);
    const GdiCensus& before = run.seen[BeforeSoak].census;
    const GdiCensus& after = run.seen[AfterSoak].census;
    EXPECT_EQ(after, before) << Describe(before) << "\nbecame " << Describe(after);
    std::printf("GDI objects before the soak: %s (%d); after: %s (%d)\n", Describe(before).c_str(),
                before.Total(), Describe(after).c_str(), after.Total());
}

}  // namespace
