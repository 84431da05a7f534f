// A screen reader in another process: it finds the calculator's window, takes its
// accessible object and listens for its value changes, as Narrator or NVDA would.

#include <windows.h>

#include <oleacc.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <tuple>

#include "shell/display_layout.h"
#include "shell/key_layout.h"

namespace {

constexpr LONG DisplayChild = 1;
constexpr LONG FirstKeyChild = 2;
constexpr DWORD WaitMilliseconds = 10000;
constexpr DWORD QuietMilliseconds = 400;

// The WinEvent callback has no context argument: the window it counts for, and the count.
HWND calculatorWindow = nullptr;
int displayChanges = 0;

void CALLBACK CountDisplayChange(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD,
                                 DWORD) {
    if (window == calculatorWindow && object == OBJID_CLIENT && child == DisplayChild) {
        ++displayChanges;
    }
}

// Runs this thread's messages, which carry the WinEvents, until done or out of time.
bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds = WaitMilliseconds) {
    for (const ULONGLONG end = GetTickCount64() + milliseconds; !done();) {
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

// Waits until no display event has come for a while, so that none is still on its way.
void PumpUntilQuiet() {
    for (int seen = -1; seen != displayChanges;) {
        seen = displayChanges;
        PumpUntil([] { return false; }, QuietMilliseconds);
    }
}

// A child id as the VARIANT that the calls take.
struct Child : VARIANT {
    explicit Child(LONG id) : VARIANT{} {
        vt = VT_I4;
        lVal = id;
    }
};

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
        calculatorWindow = window_;
        hook_ = SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr,
                                CountDisplayChange, process_.dwProcessId, 0, WINEVENT_OUTOFCONTEXT);
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

    std::wstring Value() { return Text(&IAccessible::get_accValue, DisplayChild); }

    void Press(const char* commands) {
        for (const char* command = commands; *command != '\0'; ++command) {
            const LONG key = static_cast<LONG>(std::strchr(KeyMap, *command) - KeyMap);
            EXPECT_EQ(client_->accDoDefaultAction(Child(FirstKeyChild + key)), S_OK) << *command;
        }
    }

    // The child id hit at a point of the screen, or -1 for none.
    LONG HitAt(LONG x, LONG y) {
        VARIANT hit{};
        client_->accHitTest(x, y, &hit);
        return hit.vt == VT_I4 ? hit.lVal : -1;
    }

    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
    HWINEVENTHOOK hook_ = nullptr;
    IAccessible* client_ = nullptr;
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

// Names and keyboard equivalents: the display, and keys of each kind, by child id.
const std::tuple<LONG, const wchar_t*, const wchar_t*> Named[] = {
    {1, L"表示", L"-"},        {2, L"電源オフ", L"Esc"},
    {3, L"コピー", L"Ctrl+C"}, {5, L"税込", L"Z"},
    {12, L"7", L"7"},          {15, L"割る", L"/"},
    {28, L"小数点", L"."},     {31, L"メモリープラス", L"P"}};
constexpr LONG ChildCount = 31;

// The "%" key, held down by the pointer while the tree is read.
constexpr LONG HeldKey = FirstKeyChild + 7;

TEST_F(ScreenReaderTest, TreeNamesStatesPlacesAndHits) {
    const RECT held = ChildArea(HeldKey);
    PostMessageW(window_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(held.left + 1, held.top + 1));
    ASSERT_TRUE(PumpUntil(
        [&] { return (Number(&IAccessible::get_accState, HeldKey) & STATE_SYSTEM_PRESSED) != 0; }));
    POINT origin{};
    ClientToScreen(window_, &origin);
    for (LONG child = DisplayChild; child <= ChildCount; ++child) {
        const RECT area = ChildArea(child);
        SCOPED_TRACE(testing::Message() << "child " << child);
        EXPECT_EQ(Number(&IAccessible::get_accRole, child),
                  child < FirstKeyChild ? ROLE_SYSTEM_STATICTEXT : ROLE_SYSTEM_PUSHBUTTON);
        EXPECT_EQ(Number(&IAccessible::get_accState, child) & STATE_SYSTEM_PRESSED,
                  child == HeldKey ? STATE_SYSTEM_PRESSED : 0);
        LONG left = 0, top = 0, width = 0, height = 0;
        client_->accLocation(&left, &top, &width, &height, Child(child));
        EXPECT_EQ(std::tuple(left - origin.x, top - origin.y, width, height),
                  std::tuple(area.left, area.top, area.right - area.left, area.bottom - area.top));
        EXPECT_EQ(HitAt(left + width / 2, top + height / 2), child);
    }
    EXPECT_EQ(HitAt(origin.x - 5, origin.y + 100), -1) << "off the window";
    for (const auto& [child, name, shortcut] : Named) {
        EXPECT_EQ(std::pair(Text(&IAccessible::get_accName, child),
                            Text(&IAccessible::get_accKeyboardShortcut, child)),
                  std::pair(std::wstring(name), std::wstring(shortcut)));
    }
}

// Each sequence goes on from the one before; the display changes it is heard for come one event
// each, and a key that changes nothing (an operator, a refused digit) raises none.
TEST_F(ScreenReaderTest, DisplayValueAndItsChangeEvents) {
    const std::tuple<const char*, const wchar_t*, int> sequences[] = {
        {"7+1=", L"8", 3},
        {"A1000Z", L"税込 1,100", 6},
        {"A1/0=5", L"ゼロ割り算エラー 0", 4},
        {"A5P", L"M 5", 3}};
    for (const auto& [keys, value, changes] : sequences) {
        SCOPED_TRACE(keys);
        displayChanges = 0;
        Press(keys);
        PumpUntil([&] { return Value() == value; });
        EXPECT_EQ(Value(), value);
        PumpUntilQuiet();
        EXPECT_EQ(displayChanges, changes);
    }
}

}  // namespace
