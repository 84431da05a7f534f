// The yardstick for start-up time and memory: a Win32 program that only initialises HTML Help,
// opens a borderless 300 x 450 window, paints it and runs a message loop, built like
// karvold.exe.

#include <windows.h>

#include <htmlhelp.h>

namespace {

constexpr char WindowClass[] = "MinimalWindow";
constexpr int WindowWidth = 300;
constexpr int WindowHeight = 450;

LRESULT OnPaint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client{};
    GetClientRect(window, &client);
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    EndPaint(window, &paint);
    return 0;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:   return OnPaint(window);
        case WM_DESTROY: PostQuitMessage(0); return 0;
        default:         return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    DWORD_PTR helpCookie = 0;
    HtmlHelpA(nullptr, nullptr, HH_INITIALIZE, reinterpret_cast<DWORD_PTR>(&helpCookie));
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = WindowClass;
    RegisterClassExA(&windowClass);
    HWND window = CreateWindowExA(0, WindowClass, "Minimal", WS_POPUP, 0, 0, WindowWidth,
                                  WindowHeight, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    HtmlHelpA(nullptr, nullptr, HH_UNINITIALIZE, helpCookie);
    return static_cast<int>(message.wParam);
}
