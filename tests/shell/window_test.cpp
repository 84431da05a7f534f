#include "shell_fixture.h"  // windows.h before imm.h

#include <imm.h>
#include <oleacc.h>

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

    // The command of key (nothing for -1), as the program's key posts it.
    std::string CommandOf(int key) {
        return key < 0 ? "" : std::string(1, static_cast<char>(Key(key).commandChar));
    }
};

// Right and bottom edges are exclusive (where every key lies is the layout's own); a release
// names the key (-1: none) by the character it posts. Everything but a key answers the hit test
// as caption, so it drags the window.
TEST_F(WindowTest, PointsOnAndBesideTheKeys) {
    const std::tuple<int, int, int> cases[] = {{57, 100, 0},  {58, 100, -1}, {10, 90, 0},
                                               {9, 100, -1},  {30, 89, -1},  {30, 137, 0},
                                               {30, 138, -1}, {150, 40, -1}, {150, 445, -1}};
    for (const auto& [x, y, key] : cases) {
        SCOPED_TRACE(testing::Message() << x << "," << y);
        const bool onKey = key >= 0;
        EXPECT_EQ(Send(WM_NCHITTEST, 0, ScreenPoint(x, y)), onKey ? HTCLIENT : HTCAPTION);
        EXPECT_EQ(app_->TrackKey(window_, x, y, KeyTrackMode::Release), onKey ? 1 : 0);
        EXPECT_EQ(Posted(WM_CHAR), CommandOf(key));
    }
    // Screen points are signed: the display left of the screen's edge is still a caption.
    SetWindowPos(window_, nullptr, -100, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(Send(WM_NCHITTEST, 0, ScreenPoint(40, 40)), HTCAPTION);
}

TEST_F(WindowTest, PressLeaveAndReleaseSequence) {
    using enum KeyTrackMode;
    // Mode, point, result, the key whose command is posted, and a key with its pressed state
    // after the step.
    const std::tuple<KeyTrackMode, int, int, std::int32_t, int, int, std::int32_t> steps[] = {
        {Press, 30, 230, 1, -1, 10, 1},     // "7" sinks, nothing posted yet
        {Release, 40, 240, 1, 10, 10, 0},   // once, at release
        {Press, 30, 230, 1, -1, 10, 1},
        {Release, 90, 230, 1, 11, 10, 1},   // released on "8": it posts, "7" stays sunken
        {Leave, 5, 5, 1, -1, 10, 0},        // until the pointer is over the body
        {Press, 250, 390, 1, -1, 29, 1},    // "M+"
        {Leave, 250, 390, 0, -1, 29, 1},    // still over the key
        {Leave, 237, 400, 1, -1, 29, 0},    // over the gap
        {Release, 237, 400, 0, -1, 29, 0},  // released over the body
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        const auto& [mode, x, y, result, posted, key, pressed] = steps[i];
        SCOPED_TRACE(testing::Message() << "step " << i);
        EXPECT_EQ(app_->TrackKey(window_, x, y, mode), result);
        EXPECT_EQ(Posted(WM_CHAR), CommandOf(posted));
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

// The window reads the modifiers at key-down, forgets the keys it saw go down when the focus
// goes, and acts at key-up: it posts the command or clears and repaints. What each key does is
// the keyboard rules' own; a close by Escape goes through the real message path below.
TEST_F(WindowTest, KeyUpsClearOrPost) {
    // Key, Ctrl held, focus lost after the key-down, the key (copy 1) whose command is posted,
    // display cleared and repainted.
    const std::tuple<WPARAM, bool, bool, int, bool> cases[] = {{VK_BACK, false, false, -1, true},
                                                               {'C', true, false, 1, false},
                                                               {VK_BACK, false, true, -1, false}};
    Show();
    for (const auto& [key, control, lostFocus, posted, clears] : cases) {
        SCOPED_TRACE(testing::Message() << "key " << key << (control ? " with Ctrl" : "")
                                        << (lostFocus ? " after focus lost" : ""));
        Send(WM_CHAR, '4');
        ValidateRect(window_, nullptr);
        BYTE state[256];
        GetKeyboardState(state);
        state[VK_CONTROL] = control ? 0x80 : 0;
        SetKeyboardState(state);
        EXPECT_EQ(Send(WM_KEYDOWN, key, 1 | ExtendedKeyBit), 0);  // not from the keypad
        if (lostFocus) {
            Send(WM_KILLFOCUS);
        }
        EXPECT_EQ(Posted(WM_CHAR), "") << "acted at key-down";
        EXPECT_EQ(Send(WM_KEYUP, key), 0);
        EXPECT_EQ(std::tuple(Posted(WM_CHAR), app_->engine.display.integerPart == 0,
                             DisplayInvalidated()),
                  std::tuple(CommandOf(posted), clears, clears));
    }
}

// Shift+F10 and the menu key give no point: the menu opens at the display's bottom-left;
// otherwise at the screen point given. A right button-up on a key opens none: its button-down
// opened the menu already.
TEST_F(WindowTest, ContextMenuAtTheKeyboardPositionOrThePoint) {
    ShowWindow(window_, SW_SHOW);
    const std::tuple<UINT, LPARAM, bool, POINT> cases[] = {
        {WM_CONTEXTMENU, -1, true, {DisplayLeft, DisplayTop + DisplayHeight}},
        {WM_CONTEXTMENU, ScreenPoint(150, 40), true, {150, 40}},
        {WM_RBUTTONUP, MAKELPARAM(34, 230), false, {}}};
    for (auto [message, lParam, opens, corner] : cases) {
        SCOPED_TRACE(testing::Message() << "message " << message << " lParam " << lParam);
        RECT menu{};
        {
            InsideModal look("#32768", [&](HWND popup) {
                GetWindowRect(popup, &menu);
                EndMenu();
            });
            EXPECT_EQ(Send(message, reinterpret_cast<WPARAM>(window_), lParam), 0);
        }
        ClientToScreen(window_, &corner);
        EXPECT_EQ(std::tuple(InsideModal::Found(), InsideModal::Stuck(), menu.left, menu.top),
                  std::tuple(opens, false, opens ? corner.x : 0L, opens ? corner.y : 0L));
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

// The body's shape: a filled 300 x 450 rounded rectangle, which leaves out the right column
// and the bottom row, each corner cut by an ellipse 30 across, all four alike (the points are
// mirrored into each corner).
void ExpectRoundedBody(HRGN region) {
    RECT box{};
    EXPECT_EQ(GetRgnBox(region, &box), COMPLEXREGION);
    EXPECT_EQ(std::tuple(box.left, box.top, box.right, box.bottom), std::tuple(0, 0, 299, 449));
    auto in = [region](int x, int y) { return PtInRegion(region, x, y) != FALSE; };
    const std::tuple<int, int, bool> corner[] = {{0, 0, false}, {3, 3, false}, {0, 6, false},
                                                 {6, 0, false}, {6, 6, true},  {3, 12, true},
                                                 {12, 3, true}, {0, 16, true}, {16, 0, true}};
    for (const auto& [x, y, inside] : corner) {
        for (const auto& [mx, my] : {std::pair(x, y), std::pair(298 - x, y),
                                     std::pair(x, 448 - y), std::pair(298 - x, 448 - y)})
            EXPECT_EQ(in(mx, my), inside) << mx << "," << my;
    }
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
    EXPECT_EQ(GetWindowRgn(window_, copy), COMPLEXREGION);
    ExpectRoundedBody(copy);
    DeleteObject(copy);
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
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
                      std::tuple(work.right - 300, work.top, work.right, work.top + 450));
        }
    }
}

// A change of scale (96 -> 144 -> 96): the suggested rectangle, keys, fonts, strip, region and
// accessible locations at the new scale, painted, with no object of the old scale left.
TEST_F(WindowTest, ChangesOfScaleRebuildEverythingAndLeaveNothingBehind) {
    SIZE size{};
    EXPECT_EQ(Send(WM_GETDPISCALEDSIZE, 192, reinterpret_cast<LPARAM>(&size)), TRUE);
    EXPECT_EQ(std::pair(size.cx, size.cy), std::pair(600L, 900L));
    Send(WM_USER);
    Show();
    IAccessible* object = nullptr;
    ASSERT_EQ(AccessibleObjectFromWindow(window_, static_cast<DWORD>(OBJID_CLIENT),
                                         __uuidof(IAccessible), reinterpret_cast<void**>(&object)),
              S_OK);
    for (const auto& [dpi, suggested] :
         {std::pair(144, RECT{100, 50, 550, 725}), std::pair(96, RECT{200, 60, 500, 510})}) {
        SCOPED_TRACE(dpi);
        const std::vector<HGDIOBJ> old = SkinObjects(*app_);
        EXPECT_EQ(Send(WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested)),
                  0);
        UpdateWindow(window_);
        for (HGDIOBJ gone : old) EXPECT_EQ(GetObjectType(gone), 0u);
        RECT placed{}, shape{};
        GetWindowRect(window_, &placed);
        GetWindowRgnBox(window_, &shape);
        const KeyRect seven = KeyRectangle(10, dpi);
        LOGFONTA font{};
        GetObjectA(Key(10).font.Get(), sizeof(font), &font);
        // A rounded region leaves out its right and bottom edge.
        EXPECT_EQ(
            std::tuple(placed.left, placed.top, placed.right, placed.bottom, shape.right + 1,
                       shape.bottom + 1, Key(10).rect.left, Key(10).rect.bottom, font.lfHeight),
            std::tuple(suggested.left, suggested.top, suggested.right, suggested.bottom,
                       Scaled(300, dpi), Scaled(450, dpi), seven.left, seven.bottom,
                       Scaled(34, dpi)));
        VARIANT child{}, hit{};
        child.vt = VT_I4;
        child.lVal = FirstKeyChildId + 10;
        LONG left = 0, top = 0, width = 0, height = 0;
        object->accLocation(&left, &top, &width, &height, child);
        object->accHitTest(left + width - 1, top, &hit);
        EXPECT_EQ(std::tuple(left - placed.left, top - placed.top, width, hit.lVal),
                  std::tuple(seven.left, seven.top, seven.right - seven.left, child.lVal));
    }
    object->Release();
}

// After a change of work area or display, a window left partly outside comes back inside,
// keeping its size; another setting leaves it where it was dragged.
TEST_F(WindowTest, WorkAreaOrDisplayChangesBringTheWindowBackInside) {
    Send(WM_USER);
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    // Message, its wParam, whether the window comes back inside.
    const std::tuple<UINT, WPARAM, bool> cases[] = {{WM_SETTINGCHANGE, SPI_SETWORKAREA, true},
                                                    {WM_DISPLAYCHANGE, 32, true},
                                                    {WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, false}};
    for (const auto& [message, wParam, moves] : cases) {
        SetWindowPos(window_, nullptr, work.right - 100, work.top + 10, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Send(message, wParam);
        RECT placed{};
        GetWindowRect(window_, &placed);
        EXPECT_EQ(std::tuple(placed.left, placed.top, placed.right - placed.left),
                  std::tuple(work.right - (moves ? 300 : 100), work.top + 10, 300))
            << message << " " << wParam;
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
