#include "shell/main_window.h"

#include <imm.h>
#include <windowsx.h>

#include "resources/resource_ids.h"
#include "shell/calc_app.h"
#include "shell/html_help.h"
#include "shell/key_input.h"
#include "shell/menu_help.h"

namespace {

// Non-client messages carry a screen point; the answer is the client point, when it lies
// inside the client area.
bool ClientPointOf(HWND window, LPARAM lParam, POINT& point) {
    point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(window, &point);
    RECT client{};
    GetClientRect(window, &client);
    return PtInRect(&client, point) != FALSE;
}

// Client mouse messages carry the point as unsigned words.
int ClientX(LPARAM lParam) {
    return LOWORD(lParam);
}

int ClientY(LPARAM lParam) {
    return HIWORD(lParam);
}

// One message as the window procedure received it.
struct Message {
    HWND window;
    UINT id;
    WPARAM wParam;
    LPARAM lParam;

    LRESULT Default() const { return DefWindowProcA(window, id, wParam, lParam); }
};

LRESULT OnDestroy(CalcApp* app, const Message&) {
    if (app != nullptr) {
        app->accessible.Disconnect();
    }
    HtmlHelpA(nullptr, nullptr, HH_UNINITIALIZE, HelpCookie());
    PostQuitMessage(0);
    return 0;
}

LRESULT OnPaint(CalcApp* app, const Message& m) {
    if (app == nullptr) {
        return m.Default();
    }
    app->Paint(m.window);
    return 0;
}

LRESULT OnNcHitTest(CalcApp* app, const Message& m) {
    POINT point{};
    if (app == nullptr || !ClientPointOf(m.window, m.lParam, point)) {
        return m.Default();
    }
    // Everything but the keys drags the window.
    return app->TrackKey(m.window, point.x, point.y, KeyTrackMode::HitTest) != 0 ? HTCLIENT
                                                                                 : HTCAPTION;
}

LRESULT OnNcMouseMove(CalcApp* app, const Message& m) {
    POINT point{};
    if (app != nullptr && ClientPointOf(m.window, m.lParam, point) &&
        app->TrackKey(m.window, point.x, point.y, KeyTrackMode::Leave) != 0) {
        return 0;
    }
    return m.Default();
}

LRESULT OnNcRButtonUp(CalcApp* app, const Message& m) {
    POINT point{};
    if (app == nullptr || !ClientPointOf(m.window, m.lParam, point)) {
        return m.Default();
    }
    app->ShowPopupMenu(m.window, point.x, point.y);
    return 0;
}

// Default handling of the button-down would swallow the button-up in a system-menu loop of
// its own (Wine does so), and the menu opens at the button-up.
LRESULT OnNcRButtonDown(CalcApp* app, const Message& m) {
    POINT point{};
    if (app == nullptr || !ClientPointOf(m.window, m.lParam, point)) {
        return m.Default();
    }
    return 0;
}

// Runs what a key message does; false when the window does not use it.
bool DoKeyResult(CalcApp& app, HWND window, KeyResult result) {
    switch (result.action) {
        case KeyAction::None:
            return false;
        case KeyAction::Command:
            app.RunCommand(window, result.character);
            return true;
        case KeyAction::PostChar:
            PostMessageA(window, WM_CHAR, static_cast<WPARAM>(result.character), 0);
            return true;
        case KeyAction::Close:
            PostMessageA(window, WM_CLOSE, 0, 0);
            return true;
    }
    return false;
}

// The modifiers count as they were when the key went down, so a Ctrl let go before the C
// still copies.
KeyModifiers HeldModifiers() {
    return {GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_MENU) < 0};
}

// Keys the window does not use go on to the default handling, which turns the menu key
// and Shift+F10 into WM_CONTEXTMENU.
LRESULT OnKeyDown(CalcApp* app, const Message& m) {
    if (app != nullptr &&
        DoKeyResult(*app, m.window,
                    app->keyboard.KeyDown(static_cast<std::uint32_t>(m.wParam),
                                          static_cast<std::uint32_t>(m.lParam), HeldModifiers()))) {
        return 0;
    }
    return m.Default();
}

// The system raises its own focus event for the client area while it moves the focus, and
// screen readers keep the last one they hear: the display's is posted to come after it.
LRESULT OnSetFocus(CalcApp*, const Message& m) {
    PostMessageA(m.window, FocusNoticeMessage, 0, 0);
    return m.Default();
}

LRESULT OnFocusNotice(CalcApp* app, const Message& m) {
    if (app != nullptr && GetFocus() == m.window) {
        NotifyWinEvent(EVENT_OBJECT_FOCUS, m.window, OBJID_CLIENT, DisplayChildId);
    }
    return 0;
}

LRESULT OnKillFocus(CalcApp* app, const Message& m) {
    if (app != nullptr) {
        app->keyboard.Forget();
    }
    return m.Default();
}

LRESULT OnKeyUp(CalcApp* app, const Message& m) {
    if (app != nullptr &&
        DoKeyResult(*app, m.window, app->keyboard.KeyUp(static_cast<std::uint32_t>(m.wParam)))) {
        return 0;
    }
    return m.Default();
}

// The lowest trail byte of the double-byte code pages; digits and operators lie below it,
// so a stray lead byte can never swallow them.
constexpr WPARAM LowestTrailByte = 0x40;
constexpr WPARAM HighestTrailByte = 0xFE;

// True when the character is half of a double-byte character, which no key types.
bool IsDoubleByteHalf(CalcApp& app, WPARAM wParam) {
    if (app.trailByteDue) {
        app.trailByteDue = false;
        if (wParam >= LowestTrailByte && wParam <= HighestTrailByte) {
            return true;
        }
    }
    if (wParam <= 0xFF && IsDBCSLeadByte(static_cast<BYTE>(wParam))) {
        app.trailByteDue = true;
        return true;
    }
    return false;
}

LRESULT OnChar(CalcApp* app, const Message& m) {
    if (app != nullptr && IsDoubleByteHalf(*app, m.wParam)) {
        return 0;
    }
    if (m.wParam == 'Q' || m.wParam == 'q') {
        PostMessageA(m.window, WM_CLOSE, 0, 0);
    } else if (app != nullptr) {
        // The engine refuses what is not in its command table; -1 is never in it.
        const std::int32_t character =
            m.wParam <= 0x7FFFFFFF ? static_cast<std::int32_t>(m.wParam) : -1;
        app->RunCommand(m.window, character);
    }
    return 0;
}

LRESULT OnCommand(CalcApp* app, const Message& m) {
    switch (LOWORD(m.wParam)) {
        case IDC_HELP_CONTENTS:
            if (app != nullptr) {
                app->ShowHelp(m.window);
            }
            return 0;
        case IDC_ABOUT:
            if (app != nullptr) {
                ShowAboutDialog(m.window);
            }
            return 0;
        case IDC_MINIMIZE:
            ShowWindow(m.window, SW_MINIMIZE);
            return 0;
        default:
            return m.Default();
    }
}

LRESULT OnTrackButton(CalcApp* app, const Message& m, KeyTrackMode mode) {
    if (app != nullptr &&
        app->TrackKey(m.window, ClientX(m.lParam), ClientY(m.lParam), mode) != 0) {
        return 0;
    }
    return m.Default();
}

LRESULT OnRButtonDown(CalcApp* app, const Message& m) {
    if (app == nullptr) {
        return m.Default();
    }
    app->ShowPopupMenu(m.window, ClientX(m.lParam), ClientY(m.lParam));
    return 0;
}

// The default handling would open the menu a second time (WM_CONTEXTMENU), after an Escape
// that ended the one opened at the button-down.
LRESULT OnRButtonUp(CalcApp* app, const Message& m) {
    return app == nullptr ? m.Default() : 0;
}

// Shift+F10 and the menu key give no point (-1, -1): the menu opens below the display's left
// end. Otherwise the point is on the screen, where the pointer was.
LRESULT OnContextMenu(CalcApp* app, const Message& m) {
    if (app == nullptr) {
        return m.Default();
    }
    POINT point{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
    if (point.x == -1 && point.y == -1) {
        const DisplayBox& display = app->layout.display;
        point = {display.x, display.y + display.height};
    } else {
        ScreenToClient(m.window, &point);
    }
    app->ShowPopupMenu(m.window, point.x, point.y);
    return 0;
}

// Screen readers ask for the client area; every other object is the system's.
LRESULT OnGetObject(CalcApp* app, const Message& m) {
    // The id is a DWORD, however the sender widened it.
    if (app == nullptr || static_cast<DWORD>(m.lParam) != static_cast<DWORD>(OBJID_CLIENT)) {
        return m.Default();
    }
    const LRESULT answer = app->accessible.Answer(m.window, m.wParam);
    return answer > 0 ? answer : m.Default();
}

LRESULT OnSystemColours(CalcApp* app, const Message& m) {
    if (app != nullptr) {
        app->FollowSystemColours(m.window);
    }
    return m.Default();
}

ScreenArea AreaOf(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

// The screen less the taskbar and the bars docked at its edges.
ScreenArea WorkArea(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoA(monitor, &info) == FALSE) {
        return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    return AreaOf(info.rcWork);
}

// A window left partly outside the work area of the monitor it is mostly on (or nearest to)
// comes back inside, keeping its size; one inside stays where the user dragged it.
void KeepInsideWorkArea(HWND window) {
    RECT rect{};
    if (IsIconic(window) || GetWindowRect(window, &rect) == FALSE) {
        return;
    }
    const ScreenArea work = WorkArea(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST));
    if (const auto inside = BackInside(work, AreaOf(rect))) {
        SetWindowPos(window, nullptr, inside->x, inside->y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

LRESULT OnSettingChange(CalcApp* app, const Message& m) {
    if (app != nullptr && m.wParam == SPI_SETWORKAREA) {
        KeepInsideWorkArea(m.window);
    }
    return OnSystemColours(app, m);
}

LRESULT OnDisplayChange(CalcApp* app, const Message& m) {
    if (app != nullptr) {
        KeepInsideWorkArea(m.window);
    }
    return m.Default();
}

// Shape and size at the scale in use, then the top-right corner of the primary monitor's work
// area, so that no taskbar covers it, above ordinary windows.
LRESULT OnPlace(CalcApp* app, const Message& m) {
    if (app == nullptr) {
        return 0;
    }
    app->Shape(m.window);
    const int width = app->layout.windowWidth;
    const ScreenPoint corner =
        TopRightIn(WorkArea(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY)), width);
    SetWindowPos(m.window, HWND_TOPMOST, corner.x, corner.y, width, app->layout.windowHeight, 0);
    return 0;
}

// Asked before a change of scale: the window's size at the new scale, which the suggested
// rectangle of the change then has.
LRESULT OnGetDpiScaledSize(CalcApp* app, const Message& m) {
    auto* size = reinterpret_cast<SIZE*>(m.lParam);
    if (app == nullptr || size == nullptr || m.wParam == 0) {
        return m.Default();
    }
    const SkinLayout layout = LayoutForDpi(static_cast<int>(LOWORD(m.wParam)));
    *size = {layout.windowWidth, layout.windowHeight};
    return TRUE;
}

// A move to a monitor of another scale, or a new scale for this one: everything that depends
// on the scale is rebuilt, then the window takes the suggested rectangle and its new shape.
LRESULT OnDpiChanged(CalcApp* app, const Message& m) {
    const auto* suggested = reinterpret_cast<const RECT*>(m.lParam);
    const int dpi = LOWORD(m.wParam);
    if (app == nullptr || suggested == nullptr || dpi == 0) {
        return m.Default();
    }
    {
        WindowDc dc(m.window);
        app->ScaleSkin(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(m.window, GWLP_HINSTANCE)),
                       dc.Get(), dpi);
    }
    SetWindowPos(m.window, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    app->Shape(m.window);
    InvalidateRect(m.window, nullptr, TRUE);
    return 0;
}

}  // namespace

void RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_KARVOLD));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = MainWindowClass;
    windowClass.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
    RegisterClassExA(&windowClass);
}

HWND CreateMainWindow(HINSTANCE instance) {
    HWND window =
        CreateWindowExA(0, MainWindowClass, MainWindowTitle, WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                        WindowWidth, WindowHeight, nullptr, nullptr, instance, nullptr);
    // Typed keys must reach the calculator, not a composition window; the thread's other
    // windows (the help viewer's search box) keep the input method.
    ImmAssociateContext(window, nullptr);
    return window;
}

void ShowMainWindow(HWND window, int showCommand) {
    // Maximised, the popup would fill the screen while its region keeps only 300 x 450.
    ShowWindow(window, showCommand == SW_SHOWMAXIMIZED ? SW_SHOWNORMAL : showCommand);
    // The first ShowWindow may take the starter's STARTUPINFO over the command given.
    if (IsZoomed(window)) {
        ShowWindow(window, SW_RESTORE);
    }
    UpdateWindow(window);
}

// GetDpiForWindow came with Windows 10 1607; before it the system's scale is the one the
// window was created at.
int WindowDpi(HWND window) {
    using DpiForWindow = UINT(WINAPI*)(HWND);
    HMODULE user = GetModuleHandleA("user32.dll");
    FARPROC found = user != nullptr ? GetProcAddress(user, "GetDpiForWindow") : nullptr;
    if (found != nullptr) {
        const auto dpiForWindow = reinterpret_cast<DpiForWindow>(reinterpret_cast<void*>(found));
        const UINT dpi = dpiForWindow(window);
        if (dpi != 0) {
            return static_cast<int>(dpi);
        }
    }
    const WindowDc screen(nullptr);
    const int dpi = screen.Get() != nullptr ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : BaseDpi;
}

CalcApp* AppOf(HWND window) {
    return reinterpret_cast<CalcApp*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void AttachApp(HWND window, CalcApp* app) {
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(app));
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CalcApp* app = AppOf(window);  // null until attached
    const Message m{window, message, wParam, lParam};
    switch (message) {
        case WM_CREATE:
            return 0;
        case WM_DESTROY:
            return OnDestroy(app, m);
        case WM_PAINT:
            return OnPaint(app, m);
        case WM_NCHITTEST:
            return OnNcHitTest(app, m);
        case WM_NCMOUSEMOVE:
            return OnNcMouseMove(app, m);
        case WM_NCRBUTTONDOWN:
            return OnNcRButtonDown(app, m);
        case WM_NCRBUTTONUP:
            return OnNcRButtonUp(app, m);
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            return OnKeyDown(app, m);
        case WM_SETFOCUS:
            return OnSetFocus(app, m);
        case FocusNoticeMessage:
            return OnFocusNotice(app, m);
        case WM_KILLFOCUS:
            return OnKillFocus(app, m);
        case WM_KEYUP:
            return OnKeyUp(app, m);
        case WM_CHAR:
            return OnChar(app, m);
        case WM_COMMAND:
            return OnCommand(app, m);
        case WM_LBUTTONDOWN:
            return OnTrackButton(app, m, KeyTrackMode::Press);
        case WM_LBUTTONUP:
            return OnTrackButton(app, m, KeyTrackMode::Release);
        case WM_RBUTTONDOWN:
            return OnRButtonDown(app, m);
        case WM_RBUTTONUP:
            return OnRButtonUp(app, m);
        case WM_CONTEXTMENU:
            return OnContextMenu(app, m);
        case PlaceWindowMessage:
            return OnPlace(app, m);
        case WM_GETOBJECT:
            return OnGetObject(app, m);
        case WM_GETDPISCALEDSIZE:
            return OnGetDpiScaledSize(app, m);
        case WM_DPICHANGED:
            return OnDpiChanged(app, m);
        case WM_SETTINGCHANGE:
            return OnSettingChange(app, m);
        case WM_SYSCOLORCHANGE:
            return OnSystemColours(app, m);
        case WM_DISPLAYCHANGE:
            return OnDisplayChange(app, m);
        default:
            return m.Default();
    }
}

int RunMessageLoop() {
    MSG message{};
    for (;;) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            return static_cast<int>(message.wParam);
        }
        if (got == -1) {
            return 0;
        }
        if (HtmlHelpA(nullptr, nullptr, HH_PRETRANSLATEMESSAGE,
                      reinterpret_cast<DWORD_PTR>(&message)) == nullptr) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}
