#include "shell_fixture.h"  // windows.h before imm.h

#include <imm.h>

#include <functional>
#include <iterator>
#include <utility>
#include <vector>

#include "resources/resource_ids.h"
#include "shell/menu_help.h"

namespace {

// A timer runs the action inside the modal loop that the next message opens, on this thread's
// window of the class given (menu "#32768", dialog "#32770"; null when there is none), and
// ends a loop that the action failed to end, so that a failing test does not hang.
std::function<void(HWND)> insideModal;
std::string modalClass;
HWND modalFound = nullptr;
int modalTicks = 0;
constexpr int StuckModalTicks = 30;

BOOL CALLBACK FindModal(HWND window, LPARAM) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    modalFound = IsWindowVisible(window) && name == modalClass ? window : nullptr;
    return modalFound == nullptr;
}

void CALLBACK TickInsideModal(HWND, UINT, UINT_PTR timer, DWORD) {
    if (++modalTicks == 1) {
        EnumThreadWindows(GetCurrentThreadId(), FindModal, 0);
        insideModal(modalFound);  // a loop of another kind is ended too: the test fails
    } else if (modalTicks == StuckModalTicks) {
        KillTimer(nullptr, timer);
        EndMenu();
        EndDialog(FindWindowA("#32770", nullptr), 0);
    }
}

// Going out of scope disarms the timer. Found() tells whether a window of the class opened,
// Stuck() whether the timer had to end the loop.
struct InsideModal {
    InsideModal(const char* windowClass, std::function<void(HWND)> action) {
        insideModal = std::move(action);
        modalClass = windowClass;
        modalFound = nullptr;
        modalTicks = 0;
    }
    ~InsideModal() { KillTimer(nullptr, timer); }
    static bool Found() { return modalFound != nullptr; }
    static bool Stuck() { return modalTicks >= StuckModalTicks; }
    UINT_PTR timer = SetTimer(nullptr, 0, 100, TickInsideModal);
};

// Keyboard input reaches the window procedure untranslated.
void DispatchKeys() {
    for (MSG m; PeekMessageA(&m, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE);) {
        DispatchMessageA(&m);
    }
}

class WindowTest : public CalcWindowTest {
  protected:
    // Whether anything awaits repainting; a command repaints the display strip and nothing else.
    bool DisplayInvalidated() {
        constexpr DisplayBox Box = DisplayBoxFor(WindowWidth);
        RECT update{};
        if (!GetUpdateRect(window_, &update, FALSE)) {
            return false;
        }
        EXPECT_EQ(std::tuple(update.left, update.top, update.right, update.bottom),
                  std::tuple(Box.x, Box.y, Box.x + Box.width, Box.y + Box.height));
        return true;
    }
};

// Right and bottom edges are exclusive; a release names the key by the character it posts.
// Everything but a key answers the hit test as caption, so it drags the window.
TEST_F(WindowTest, PointsOnAndBesideTheKeys) {
    const std::tuple<int, int, const char*> cases[] = {
        {57, 100, "Q"}, {58, 100, ""},  {10, 90, "Q"},   {9, 100, ""},    {30, 89, ""},
        {30, 137, "Q"}, {30, 138, ""},  {242, 380, "P"}, {289, 427, "P"}, {290, 427, ""},
        {289, 428, ""}, {241, 400, ""}, {150, 40, ""},   {150, 445, ""}};
    for (const auto& [x, y, posted] : cases) {
        SCOPED_TRACE(testing::Message() << x << "," << y);
        const bool onKey = posted[0] != '\0';
        EXPECT_EQ(Send(WM_NCHITTEST, 0, ScreenPoint(x, y)), onKey ? HTCLIENT : HTCAPTION);
        EXPECT_EQ(app_->TrackKey(window_, x, y, KeyTrackMode::Release), onKey ? 1 : 0);
        EXPECT_EQ(Posted(WM_CHAR), posted);
    }
    // Screen points are signed: the display left of the screen's edge is still a caption.
    SetWindowPos(window_, nullptr, -100, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Send(WM_NCHITTEST, 0, ScreenPoint(40, 40)), HTCAPTION);
}

TEST_F(WindowTest, PressLeaveAndReleaseSequence) {
    using enum KeyTrackMode;
    // Mode, point, result, what is posted, and a key with its pressed state after the step.
    const std::tuple<KeyTrackMode, int, int, std::int32_t, const char*, int, std::int32_t> steps[] =
        {
            {Press, 30, 230, 1, "", 10, 1},     // "7" sinks, nothing posted yet
            {Release, 40, 240, 1, "7", 10, 0},  // once, at release
            {Press, 30, 230, 1, "", 10, 1},
            {Release, 90, 230, 1, "8", 10, 1},  // released on "8": it posts, "7" stays sunken
            {Leave, 5, 5, 1, "", 10, 0},        // until the pointer is over the body
            {Press, 250, 390, 1, "", 29, 1},    // "M+"
            {Leave, 250, 390, 0, "", 29, 1},    // still over the key
            {Leave, 237, 400, 1, "", 29, 0},    // over the gap
            {Release, 237, 400, 0, "", 29, 0},  // released over the body
        };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        const auto& [mode, x, y, result, posted, key, pressed] = steps[i];
        SCOPED_TRACE(testing::Message() << "step " << i);
        EXPECT_EQ(app_->TrackKey(window_, x, y, mode), result);
        EXPECT_EQ(Posted(WM_CHAR), posted);
        EXPECT_EQ(Key(key).pressed, pressed);
    }
}

// Codes that end in the byte of a command ("A", all clear) are not that command, nor is the
// trail byte of a full-width character from the input method: Q (close), P (M+), S (copy),
// A (all clear), g (GT), Z (tax). A lead byte without its trail swallows no digit, and a
// letter after it is itself again. A refused "." after the tax key repaints: the label goes.
TEST_F(WindowTest, CharactersCloseOrGoToTheEngine) {
    ASSERT_EQ(GetACP(), 932u);
    // Codes, closes posted, number shown, display repainted.
    // clang-format off
    const std::tuple<std::vector<WPARAM>, std::size_t, std::int64_t, bool> cases[] = {
        {{'5'}, 0, 5, true}, {{'q'}, 1, 5, false}, {{'Q'}, 1, 5, false}, {{'?'}, 0, 5, false},
        {{0x141}, 0, 5, false}, {{0x10041}, 0, 5, false}, {{~WPARAM{0}}, 0, 5, false},
        {{0x82, 0x51}, 0, 5, false}, {{0x82, 0x50}, 0, 5, false}, {{0x82, 0x53}, 0, 5, false},
        {{0x83, 0x41}, 0, 5, false}, {{0x83, 0x67}, 0, 5, false}, {{0x83, 0x5A}, 0, 5, false},
        {{0x82, '7'}, 0, 57, true}, {{'Z'}, 0, 62, true}, {{'.'}, 0, 62, true},
        {{0x88, 0x141, 'A'}, 0, 0, true}};
    // clang-format on
    Show();
    for (const auto& [codes, closes, shown, repaint] : cases) {
        SCOPED_TRACE(testing::Message() << "codes from " << std::hex << codes[0]);
        ValidateRect(window_, nullptr);
        for (const WPARAM code : codes) EXPECT_EQ(Send(WM_CHAR, code), 0);
        EXPECT_EQ(std::tuple(Posted(WM_CLOSE).size(), app_->engine.display.integerPart,
                             DisplayInvalidated()),
                  std::tuple(closes, shown, repaint));
    }
    EXPECT_FALSE(platform_.clipboard.text.has_value()) << "nothing was copied";
}

// A key-up acts only when the calculator saw that key go down, with the focus kept since.
TEST_F(WindowTest, KeyUpsCloseClearOrPost) {
    enum Before { Nothing, Down, DownLostFocus };
    // Key, Ctrl held, what came before the key-up, characters posted, closes posted, display
    // cleared and repainted.
    const std::tuple<WPARAM, bool, Before, const char*, std::size_t, bool> cases[] = {
        {VK_ESCAPE, false, Down, "", 1, false},
        {VK_INSERT, false, Down, "D", 0, false},
        {VK_BACK, false, Down, "", 0, true},
        {VK_DELETE, false, Down, "", 0, true},
        {'C', true, Down, "S", 0, false},
        {'V', true, Down, "D", 0, false},
        {'C', false, Down, "", 0, false},
        {'V', false, Down, "", 0, false},
        {VK_F1, false, Down, "", 0, false},
        {VK_ESCAPE, false, Nothing, "", 0, false},
        {VK_ESCAPE, false, DownLostFocus, "", 0, false}};
    Show();
    for (const auto& [key, control, before, posted, closes, clears] : cases) {
        SCOPED_TRACE(testing::Message()
                     << "key " << key << (control ? " with Ctrl" : "") << " after " << before);
        Send(WM_CHAR, '4');
        ValidateRect(window_, nullptr);
        BYTE state[256];
        GetKeyboardState(state);
        state[VK_CONTROL] = control ? 0x80 : 0;
        SetKeyboardState(state);
        if (before != Nothing) {
            EXPECT_EQ(Send(WM_KEYDOWN, key, 1), 0);
        }
        if (before == DownLostFocus) {
            Send(WM_KILLFOCUS);
        }
        EXPECT_EQ(std::tuple(Posted(WM_CHAR), Posted(WM_CLOSE).size()), std::tuple("", 0u))
            << "acted at key-down";
        EXPECT_EQ(Send(WM_KEYUP, key), 0);
        EXPECT_EQ(std::tuple(Posted(WM_CHAR), Posted(WM_CLOSE).size(),
                             app_->engine.display.integerPart == 0, DisplayInvalidated()),
                  std::tuple(std::string(posted), closes, clears, clears));
    }
}

// Shift+F10 and the menu key give no point: the menu opens at the display's bottom-left.
// A real point comes after a mouse route has opened the menu already: nothing opens then.
TEST_F(WindowTest, ContextMenuFromTheKeyboardOnly) {
    ShowWindow(window_, SW_SHOW);
    for (const auto& [lParam, opens] :
         {std::pair(LPARAM{-1}, true), {ScreenPoint(150, 40), false}}) {
        SCOPED_TRACE(testing::Message() << "lParam " << lParam);
        RECT menu{};
        {
            InsideModal look("#32768", [&](HWND popup) {
                GetWindowRect(popup, &menu);
                EndMenu();
            });
            EXPECT_EQ(Send(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window_), lParam), 0);
        }
        EXPECT_EQ(std::pair(InsideModal::Found(), InsideModal::Stuck()), std::pair(opens, false));
        if (opens) {
            POINT corner{DisplayLeft, DisplayTop + DisplayHeight};
            ClientToScreen(window_, &corner);
            EXPECT_EQ(std::pair(menu.left, menu.top), std::pair(corner.x, corner.y));
        }
    }
}

// Real keys, so the system routes them: the Escape key-down ends the menu or the About box,
// and its key-up, which then comes to the calculator, must not close it as well.
TEST_F(WindowTest, EscapeThatClosedTheMenuOrAboutBoxLeavesTheCalculatorOpen) {
    const std::tuple<const char*, UINT, WPARAM, LPARAM> modals[] = {
        {"#32768", WM_RBUTTONDOWN, 0, MAKELPARAM(30, 230)}, {"#32770", WM_COMMAND, IDC_ABOUT, 0}};
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    ASSERT_EQ(GetFocus(), window_);
    for (const auto& [windowClass, message, wParam, lParam] : modals) {
        SCOPED_TRACE(windowClass);
        {
            InsideModal escape(windowClass, [](HWND) { keybd_event(VK_ESCAPE, 0, 0, 0); });
            Send(message, wParam, lParam);
            EXPECT_EQ(std::pair(InsideModal::Found(), InsideModal::Stuck()), std::pair(true, false))
                << "found open, then ended by Escape";
        }
        keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
        DispatchKeys();
        EXPECT_EQ(Posted(WM_CLOSE).size(), 0u);
        keybd_event(VK_ESCAPE, 0, 0, 0);
        keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
        DispatchKeys();
        EXPECT_EQ(Posted(WM_CLOSE).size(), 1u) << "the next full press closes it";
    }
}

// Typing must reach the calculator, not a composition window; the About box, like the help
// viewer on the same thread, keeps the input method.
TEST_F(WindowTest, OnlyTheCalculatorIsDetachedFromTheInputMethod) {
    EXPECT_EQ(ImmGetContext(window_), nullptr);
    HWND about =
        CreateDialogParamA(instance_, MAKEINTRESOURCEA(IDD_ABOUT), window_, AboutDialogProc, 0);
    ASSERT_NE(about, nullptr);
    HIMC context = ImmGetContext(about);
    EXPECT_NE(context, nullptr);
    ImmReleaseContext(about, context);
    DestroyWindow(about);
}

bool maximisedOnTheWay = false;

LRESULT CALLBACK NoteMaximising(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == WM_SIZE && sent->wParam == SIZE_MAXIMIZED) {
        maximisedOnTheWay = true;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Placed at the top right, always on top and rounded. A shortcut set to run maximised must
// not stretch the popup over the screen, not even for a moment.
TEST_F(WindowTest, PlacedAtTheTopRightNeverMaximisedAndMinimisedWhenAsked) {
    // Show command; maximised before, as when the first ShowWindow takes the starter's
    // STARTUPINFO over the command; minimised after.
    const std::tuple<int, bool, bool> cases[] = {{SW_SHOWMAXIMIZED, false, false},
                                                 {SW_SHOW, true, false},
                                                 {SW_SHOWMINNOACTIVE, false, true}};
    EXPECT_EQ(Send(WM_USER), 0);
    EXPECT_NE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_FALSE(app_->windowRegion);  // the window owns it now
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    EXPECT_TRUE(GetWindowRgn(window_, copy) == COMPLEXREGION && !PtInRegion(copy, 0, 0) &&
                PtInRegion(copy, 150, 0));
    DeleteObject(copy);
    const int screen = GetSystemMetrics(SM_CXSCREEN);
    for (const auto& [command, maximisedBefore, minimised] : cases) {
        SCOPED_TRACE(testing::Message() << "command " << command);
        if (maximisedBefore) {
            ShowWindow(window_, SW_SHOWMAXIMIZED);
        }
        maximisedOnTheWay = false;
        HHOOK hook =
            SetWindowsHookExA(WH_CALLWNDPROC, NoteMaximising, nullptr, GetCurrentThreadId());
        ShowMainWindow(window_, command);
        UnhookWindowsHookEx(hook);
        RECT shown{};
        GetWindowRect(window_, &shown);
        EXPECT_EQ(std::tuple(maximisedOnTheWay, IsZoomed(window_), IsIconic(window_) != FALSE),
                  std::tuple(false, FALSE, minimised));
        if (!minimised) {
            EXPECT_EQ(std::tuple(shown.left, shown.top, shown.right, shown.bottom),
                      std::tuple(screen - 300, 0, screen, 450));
        }
    }
}

// A press repaints its key, shifted edges included, before the message returns, and nothing
// else; moving over the body raises it again.
TEST_F(WindowTest, MousePressRepaintsItsKeyAndNothingElse) {
    constexpr COLORREF Marker = RGB(1, 2, 3);
    const POINT untouched[] = {{100, 40}, {5, 200}};  // the display and the body
    const COLORREF sunken = GetSysColor(COLOR_BTNSHADOW), lit = GetSysColor(COLOR_BTNHIGHLIGHT);
    Show();
    const WindowDc dc(window_);  // the client area starts at the window's corner
    for (const POINT& point : untouched) SetPixel(dc.Get(), point.x, point.y, Marker);
    EXPECT_EQ(Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 170)), 0);  // "%"
    EXPECT_EQ(std::pair(GetPixel(dc.Get(), 128, 170), GetPixel(dc.Get(), 175, 170)),
              std::pair(sunken, lit));
    EXPECT_EQ(Send(WM_NCMOUSEMOVE, HTCAPTION, ScreenPoint(5, 200)), 0);
    EXPECT_NE(GetPixel(dc.Get(), 175, 170), lit);
    for (const POINT& point : untouched) EXPECT_EQ(GetPixel(dc.Get(), point.x, point.y), Marker);
}

TEST_F(WindowTest, MenuCommandMinimises) {
    Show();
    EXPECT_EQ(Send(WM_COMMAND, MAKEWPARAM(IDC_MINIMIZE, 1)), 0);  // the id is the low word
    EXPECT_TRUE(IsIconic(window_));
}

// A loop that failed leaves the window without its application: only a quit still acts.
TEST_F(WindowTest, WithoutAnAppOnlyQuitCharactersAct) {
    AttachApp(window_, nullptr);
    // clang-format off
    const std::pair<UINT, WPARAM> messages[] = {{WM_CHAR, '7'}, {WM_KEYDOWN, VK_BACK},
        {WM_KEYUP, VK_BACK}, {WM_USER, 0}, {WM_LBUTTONUP, 0}};
    // clang-format on
    for (const auto& [message, wParam] : messages) {
        EXPECT_EQ(Send(message, wParam, MAKELPARAM(30, 100)), 0);
    }
    EXPECT_EQ(Send(WM_NCHITTEST, 0, ScreenPoint(150, 40)), HTCLIENT);  // the default answer
    EXPECT_EQ(
        std::tuple(app_->engine.display.integerPart, bool(app_->windowRegion), Posted(WM_CHAR)),
        std::tuple(0, true, ""));  // nothing typed, placed or posted
    EXPECT_EQ(Send(WM_CHAR, 'q'), 0);
    EXPECT_EQ(Posted(WM_CLOSE).size(), 1u);
}

}  // namespace
