// A screen reader in another process: it finds the calculator's window, takes its
// accessible object and listens for its focus, state and value changes, as NVDA would.

#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "shell/display_layout.h"
#include "shell/key_layout.h"

namespace {

constexpr LONG DisplayChild = 1;
constexpr LONG FirstKeyChild = 2;
constexpr DWORD WaitMilliseconds = 10000;

// The "%" key, pressed and let go over the body, which posts nothing: the end marker of what
// a test listens to.
constexpr LONG MarkerKey = FirstKeyChild + 7;

// The WinEvent callback has no context argument: the children of the calculator's client
// area heard for each event (the hook takes only its process).
std::map<DWORD, std::vector<LONG>> heard;

void CALLBACK Hear(HWINEVENTHOOK, DWORD event, HWND, LONG object, LONG child, DWORD, DWORD) {
    if (object == OBJID_CLIENT) {
        heard[event].push_back(child);
    }
}

// Runs this thread's messages, which carry the WinEvents, until done or out of time.
bool PumpUntil(const std::function<bool()>& done) {
    for (const ULONGLONG end = GetTickCount64() + WaitMilliseconds; !done();) {
        if (GetTickCount64() >= end) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
            DispatchMessageW(&message);
        }
    }
    return true;
}

// A child id as the VARIANT that the calls take.
struct Child : VARIANT {
    explicit Child(LONG id) : VARIANT{} {
        vt = VT_I4;
        lVal = id;
    }
};

// Client coordinates of child ids 1 (the display) and 2 on (the keys).
RECT ChildArea(LONG child) {
    if (child < FirstKeyChild) {
        const DisplayBox strip = DisplayBoxFor(WindowWidth);
        return {strip.x, strip.y, strip.x + strip.width, strip.y + strip.height};
    }
    const ::KeyRect key = KeyRectangle(static_cast<int>(child - FirstKeyChild));
    return {key.left, key.top, key.right, key.bottom};
}

// The calculator's own build, started for each test and closed after it.
class ScreenReaderTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        ASSERT_TRUE(CreateProcessW(L"Z:" KARVOLD_EXE_W, nullptr, nullptr, nullptr, FALSE, 0,
                                   nullptr, nullptr, &startup, &process_));
        // Other tests make calculator windows of their own: take the one of our process.
        ASSERT_TRUE(PumpUntil([this] {
            window_ = FindWindowExA(nullptr, window_, "KARVOLD", nullptr);
            return GetWindowThreadProcessId(window_, nullptr) == process_.dwThreadId &&
                   IsWindowVisible(window_);
        }));
        ClientToScreen(window_, &origin_);
        hook_ = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_VALUECHANGE, nullptr, Hear,
                                process_.dwProcessId, 0, WINEVENT_OUTOFCONTEXT);
        HeardToMarker(0);  // what the start brought
        ASSERT_EQ(
            AccessibleObjectFromWindow(window_, static_cast<DWORD>(OBJID_CLIENT),
                                       __uuidof(IAccessible), reinterpret_cast<void**>(&client_)),
            S_OK);
    }

    void TearDown() override {
        if (client_ != nullptr) {
            client_->Release();
        }
        UnhookWinEvent(hook_);
        PostMessageW(window_, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.hProcess, WaitMilliseconds) != WAIT_OBJECT_0) {
            TerminateProcess(process_.hProcess, 1);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
        CoUninitialize();
    }

    // A text property, or "-" when the child has none.
    std::wstring Text(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*), LONG child) {
        BSTR text = nullptr;
        (client_->*get)(Child(child), &text);  // no text on failure
        const std::wstring copy = text ? std::wstring(text, SysStringLen(text)) : L"-";
        SysFreeString(text);
        return copy;
    }

    // A number property (role, state), or -1.
    LONG Number(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*), LONG child) {
        VARIANT result{};
        return (client_->*get)(Child(child), &result) == S_OK && result.vt == VT_I4 ? result.lVal
                                                                                    : -1;
    }

    void Press(const char* commands) {
        for (const char* command = commands; *command != '\0'; ++command) {
            const LONG key = static_cast<LONG>(std::strchr(KeyMap, *command) - KeyMap);
            EXPECT_EQ(client_->accDoDefaultAction(Child(FirstKeyChild + key)), S_OK) << *command;
        }
    }

    void Post(UINT message, LONG child) {
        const RECT area = ChildArea(child);
        PostMessageW(window_, message, 0, MAKELPARAM(area.left + 1, area.top + 1));
    }

    // The children one kind of event was heard for until the calculator reached an end
    // marker sent now, after everything posted to it so far: no waiting for quiet.
    std::vector<LONG> HeardToMarker(DWORD event) {
        Post(WM_LBUTTONDOWN, MarkerKey);
        PostMessageW(window_, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(origin_.x, origin_.y + 99));
        EXPECT_TRUE(PumpUntil(
            [] { return std::ranges::count(heard[EVENT_OBJECT_STATECHANGE], MarkerKey) == 2; }));
        std::vector<LONG> children = std::exchange(heard, {})[event];
        std::erase(children, MarkerKey);
        return children;
    }

    // The child id hit at a point of the screen, or -1 for none.
    LONG HitAt(LONG x, LONG y) {
        VARIANT hit{};
        client_->accHitTest(x, y, &hit);
        return hit.vt == VT_I4 ? hit.lVal : -1;
    }

    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
    POINT origin_{};  // of the client area on the screen
    HWINEVENTHOOK hook_ = nullptr;
    IAccessible* client_ = nullptr;
};

// Names and keyboard equivalents: the display, and keys of each kind, by child id.
const std::tuple<LONG, const wchar_t*, const wchar_t*> Named[] = {
    {1, L"表示", L"-"},        {2, L"電源オフ", L"Esc"},
    {3, L"コピー", L"Ctrl+C"}, {5, L"税込", L"Z"},
    {12, L"7", L"7"},          {15, L"割る", L"/"},
    {28, L"小数点", L"."},     {31, L"メモリープラス", L"P"}};
constexpr LONG ChildCount = 31;

TEST_F(ScreenReaderTest, TreeNamesRolesPlacesAndHits) {
    for (LONG child = DisplayChild; child <= ChildCount; ++child) {
        const RECT area = ChildArea(child);
        SCOPED_TRACE(testing::Message() << "child " << child);
        EXPECT_EQ(Number(&IAccessible::get_accRole, child),
                  child < FirstKeyChild ? ROLE_SYSTEM_STATICTEXT : ROLE_SYSTEM_PUSHBUTTON);
        LONG left = 0, top = 0, width = 0, height = 0;
        client_->accLocation(&left, &top, &width, &height, Child(child));
        EXPECT_EQ(std::tuple(left - origin_.x, top - origin_.y, width, height),
                  std::tuple(area.left, area.top, area.right - area.left, area.bottom - area.top));
        EXPECT_EQ(HitAt(left + width / 2, top + height / 2), child);
    }
    EXPECT_EQ(HitAt(origin_.x - 5, origin_.y + 100), -1) << "off the window";
    for (const auto& [child, name, shortcut] : Named) {
        EXPECT_EQ(std::pair(Text(&IAccessible::get_accName, child),
                            Text(&IAccessible::get_accKeyboardShortcut, child)),
                  std::pair(std::wstring(name), std::wstring(shortcut)));
    }
}

// Each sequence goes on from the one before; the display changes it is heard for come one event
// each, and a key that changes nothing (an operator, a refused digit) raises none.
TEST_F(ScreenReaderTest, DisplayValueAndItsChangeEvents) {
    const std::tuple<const char*, const wchar_t*, std::size_t> sequences[] = {
        {"7+1=", L"8", 3},
        {"A1000Z", L"税込 1,100", 6},
        {"A1/0=5", L"ゼロ割り算エラー 0", 4},
        {"A5P", L"M 5", 3}};
    for (const auto& [keys, value, changes] : sequences) {
        SCOPED_TRACE(keys);
        Press(keys);
        EXPECT_EQ(HeardToMarker(EVENT_OBJECT_VALUECHANGE), std::vector(changes, DisplayChild));
        EXPECT_EQ(Text(&IAccessible::get_accValue, DisplayChild), value);
    }
}

// The display becomes the screen reader's focus with the window, and reads as focused while
// the window holds the focus. SetForegroundWindow from here moves the focus under Wine.
TEST_F(ScreenReaderTest, DisplayTakesTheFocusWithTheWindow) {
    HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                 nullptr, nullptr, nullptr);
    const LONG off = STATE_SYSTEM_FOCUSABLE, on = off | STATE_SYSTEM_FOCUSED;
    const std::pair<HWND, LONG> moves[] = {{other, off}, {window_, on}, {other, off}};
    for (const auto& [to, state] : moves) {
        SetForegroundWindow(to);
        EXPECT_TRUE(PumpUntil(
            [&] { return (Number(&IAccessible::get_accState, DisplayChild) & on) == state; }));
        VARIANT focus{};
        client_->get_accFocus(&focus);
        EXPECT_EQ(focus.vt == VT_I4 ? focus.lVal : -1, state == on ? DisplayChild : -1);
        EXPECT_EQ(HeardToMarker(EVENT_OBJECT_FOCUS), std::vector<LONG>(state == on, DisplayChild));
    }
    DestroyWindow(other);
}

// A key is heard going down and up exactly where its look does: under the pointer and for a
// screen reader's press, not for a typed key, whose look stays, nor for a key already raised;
// then its state reads pressed or not, as it is shown.
TEST_F(ScreenReaderTest, KeyStateChangesWithItsLook) {
    constexpr LONG seven = FirstKeyChild + 10, eight = FirstKeyChild + 11;
    // clang-format off
    const std::tuple<const char*, std::function<void()>, std::vector<LONG>, LONG> presses[] = {
        {"click", [&] { Post(WM_LBUTTONDOWN, seven); Post(WM_LBUTTONUP, seven); }, {seven, seven}, 0},
        {"screen reader", [&] { client_->accDoDefaultAction(Child(seven)); }, {seven, seven}, 0},
        {"typed", [&] { PostMessageW(window_, WM_CHAR, '7', 0); }, {}, 0},
        {"up on another key", [&] { Post(WM_LBUTTONDOWN, seven); Post(WM_LBUTTONUP, eight); },
         {seven}, STATE_SYSTEM_PRESSED}};
    // clang-format on
    for (const auto& [how, press, events, pressed] : presses) {
        SCOPED_TRACE(how);
        press();
        EXPECT_EQ(HeardToMarker(EVENT_OBJECT_STATECHANGE), events);
        EXPECT_EQ(Number(&IAccessible::get_accState, seven) & STATE_SYSTEM_PRESSED, pressed);
    }
}

}  // namespace
