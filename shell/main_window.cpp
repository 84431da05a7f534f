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

LRESULT Default(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT OnDestroy(HWND window) {
    if (CalcApp* app = AppOf(window)) {
        app->accessible.Disconnect();
    }
    HtmlHelpA(nullptr, nullptr, HH_UNINITIALIZE, HelpCookie());
    PostQuitMessage(0);
    return 0;
}

LRESULT OnPaint(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CalcApp* app = AppOf(window);
    if (app == nullptr) {
        return Default(window, message, wParam, lParam);
    }
    app->Paint(window);
    return 0;
}

LRESULT OnNcHitTest(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CalcApp* app = AppOf(window);
    POINT point{};
    if (app == nullptr || !ClientPointOf(window, lParam, point)) {
        return Default(window, message, wParam, lParam);
    }
    // Everything but the keys drags the window.
    return app->TrackKey(window, point.x, point.y, KeyTrackMode::HitTest) != 0 ? HTCLIENT
                                                                               : HTCAPTION;
}

LRESULT OnNcMouseMove(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CalcApp* app = AppOf(window);
    POINT point{};
    if (app != nullptr && ClientPointOf(window, lParam, point) &&
        app->TrackKey(window, point.x, point.y, KeyTrackMode::Leave) != 0) {
        return 0;
    }
    return Default(window, message, wParam, lParam);
}

LRESULT OnNcRButtonUp(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CalcApp* app = AppOf(window);
    POINT point{};
    if (app == nullptr || !ClientPointOf(window, lParam, point)) {
        return Default(window, message, wParam, lParam);
    }
    app->ShowPopupMenu(window, point.x, point.y);
    return 0;
}

// Default handling of the button-down would swallow the button-up in a system-menu loop of
// its own (Wine does so), and the menu opens at the button-up.
LRESULT OnNcRButtonDown(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    POINT point{};
    if (AppOf(window) == nullptr || !ClientPointOf(window, lParam, point)) {
        return Default(window, message, wParam, lParam);
    }
    return 0;
}

LRESULT OnKeyDown(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (CalcApp* app = AppOf(window)) {
        app->keysSeenDown.NoteDown(static_cast<std::uint32_t>(wParam),
                                   static_cast<std::uint32_t>(lParam));
    }
    return Default(window, message, wParam, lParam);
}

LRESULT OnKillFocus(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (CalcApp* app = AppOf(window)) {
        app->keysSeenDown.Forget();
    }
    return Default(window, message, wParam, lParam);
}

LRESULT OnKeyUp(HWND window, WPARAM wParam) {
    CalcApp* app = AppOf(window);
    if (app == nullptr || !app->keysSeenDown.TakeUp(static_cast<std::uint32_t>(wParam))) {
        return 0;
    }
    const bool controlHeld = GetKeyState(VK_CONTROL) < 0;
    const KeyUpResult result = KeyUpActionFor(static_cast<std::uint32_t>(wParam), controlHeld);
    switch (result.action) {
        case KeyUpAction::None:
            break;
        case KeyUpAction::Command:
            app->RunCommand(window, result.character);
            break;
        case KeyUpAction::PostChar:
            PostMessageA(window, WM_CHAR, static_cast<WPARAM>(result.character), 0);
            break;
        case KeyUpAction::Close:
            PostMessageA(window, WM_CLOSE, 0, 0);
            break;
    }
    return 0;
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

LRESULT OnChar(HWND window, WPARAM wParam) {
    CalcApp* app = AppOf(window);
    if (app != nullptr && IsDoubleByteHalf(*app, wParam)) {
        return 0;
    }
    if (wParam == 'Q' || wParam == 'q') {
        PostMessageA(window, WM_CLOSE, 0, 0);
    } else if (app != nullptr) {
        // The engine refuses what is not in its command table; -1 is never in it.
        const std::int32_t character =
            wParam <= 0x7FFFFFFF ? static_cast<std::int32_t>(wParam) : -1;
        app->RunCommand(window, character);
    }
    return 0;
}

LRESULT OnCommand(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CalcApp* app = AppOf(window);
    switch (LOWORD(wParam)) {
        case IDC_HELP_CONTENTS:
            if (app != nullptr) {
                app->ShowHelp(window);
            }
            return 0;
        case IDC_ABOUT:
            if (app != nullptr) {
                ShowAboutDialog(window);
            }
            return 0;
        case IDC_MINIMIZE:
            ShowWindow(window, SW_MINIMIZE);
            return 0;
        default:
            return Default(window, message, wParam, lParam);
    }
}

LRESULT OnTrackButton(HWND window, UINT message, WPARAM wParam, LPARAM lParam, KeyTrackMode mode) {
    CalcApp* app = AppOf(window);
    if (app != nullptr && app->TrackKey(window, ClientX(lParam), ClientY(lParam), mode) != 0) {
        return 0;
    }
    return Default(window, message, wParam, lParam);
}

LRESULT OnRButtonDown(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CalcApp* app = AppOf(window);
    if (app == nullptr) {
        return Default(window, message, wParam, lParam);
    }
    app->ShowPopupMenu(window, ClientX(lParam), ClientY(lParam));
    return 0;
}

// Shift+F10 and the menu key send no point; the mouse routes have opened the menu already.
LRESULT OnContextMenu(HWND window, LPARAM lParam) {
    CalcApp* app = AppOf(window);
    if (app != nullptr && GET_X_LPARAM(lParam) == -1 && GET_Y_LPARAM(lParam) == -1) {
        app->ShowPopupMenu(window, DisplayLeft, DisplayTop + DisplayHeight);
    }
    return 0;
}

// Screen readers ask for the client area; every other object is the system's.
LRESULT OnGetObject(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CalcApp* app = AppOf(window);
    // The id is a DWORD, however the sender widened it.
    if (app == nullptr || static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) {
        return Default(window, message, wParam, lParam);
    }
    const LRESULT answer = app->accessible.Answer(window, wParam);
    return answer > 0 ? answer : Default(window, message, wParam, lParam);
}

LRESULT OnSystemColours(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (CalcApp* app = AppOf(window)) {
        app->FollowSystemColours(window);
    }
    return Default(window, message, wParam, lParam);
}

// Shape, then top-right corner of the primary screen, above ordinary windows.
LRESULT OnPlace(HWND window) {
    CalcApp* app = AppOf(window);
    if (app == nullptr) {
        return 0;
    }
    // Once the window accepts the region it owns it.
    if (app->windowRegion && SetWindowRgn(window, app->windowRegion.Get(), TRUE) != 0) {
        app->windowRegion.Release();
    }
    RECT client{};
    GetClientRect(window, &client);
    const int x = PlacementX(GetSystemMetrics(SM_CXSCREEN), client.right - client.left);
    SetWindowPos(window, HWND_TOPMOST, x, 0, 0, 0, SWP_NOSIZE);
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
                        MainWindowWidth, MainWindowHeight, nullptr, nullptr, instance, nullptr);
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

CalcApp* AppOf(HWND window) {
    return reinterpret_cast<CalcApp*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void AttachApp(HWND window, CalcApp* app) {
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(app));
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return 0;
        case WM_DESTROY:
            return OnDestroy(window);
        case WM_PAINT:
            return OnPaint(window, message, wParam, lParam);
        case WM_NCHITTEST:
            return OnNcHitTest(window, message, wParam, lParam);
        case WM_NCMOUSEMOVE:
            return OnNcMouseMove(window, message, wParam, lParam);
        case WM_NCRBUTTONDOWN:
            return OnNcRButtonDown(window, message, wParam, lParam);
        case WM_NCRBUTTONUP:
            return OnNcRButtonUp(window, message, wParam, lParam);
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            return OnKeyDown(window, message, wParam, lParam);
        case WM_KILLFOCUS:
            return OnKillFocus(window, message, wParam, lParam);
        case WM_KEYUP:
            return OnKeyUp(window, wParam);
        case WM_CHAR:
            return OnChar(window, wParam);
        case WM_COMMAND:
            return OnCommand(window, message, wParam, lParam);
        case WM_LBUTTONDOWN:
            return OnTrackButton(window, message, wParam, lParam, KeyTrackMode::Press);
        case WM_LBUTTONUP:
            return OnTrackButton(window, message, wParam, lParam, KeyTrackMode::Release);
        case WM_RBUTTONDOWN:
            return OnRButtonDown(window, message, wParam, lParam);
        case WM_CONTEXTMENU:
            return OnContextMenu(window, lParam);
        case PlaceWindowMessage:
            return OnPlace(window);
        case WM_GETOBJECT:
            return OnGetObject(window, message, wParam, lParam);
        case WM_SETTINGCHANGE:
        case WM_SYSCOLORCHANGE:
            return OnSystemColours(window, message, wParam, lParam);
        default:
            return Default(window, message, wParam, lParam);
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
