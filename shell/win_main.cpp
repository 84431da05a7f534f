#include <windows.h>

#include "shell/calc_app.h"
#include "shell/gdi_holders.h"
#include "shell/html_help.h"
#include "shell/main_window.h"
#include "shell/platform/win32_platform.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    RegisterMainWindowClass(instance);
    HWND window = CreateMainWindow(instance);
    HtmlHelpA(nullptr, nullptr, HH_INITIALIZE, reinterpret_cast<DWORD_PTR>(&HelpCookie()));

    // The engine keeps references to these; they outlive the application.
    Win32Installation installation;
    Win32Clock clock;
    Win32Clipboard clipboard(window);
    int exitCode = 0;
    {
        CalcApp app({installation, clock, clipboard});
        {
            WindowDc dc(window);
            app.LoadSkin(instance, dc.Get(), WindowDpi(window));
        }
        AttachApp(window, &app);
        app.FollowSystemColours(window);
        SendMessageA(window, PlaceWindowMessage, 0, 0);
        ShowMainWindow(window, showCommand);
        exitCode = RunMessageLoop();
        // A loop ended by a failure leaves the window alive: it must not reach a dead app.
        if (IsWindow(window)) {
            AttachApp(window, nullptr);
        }
    }
    return exitCode;
}
