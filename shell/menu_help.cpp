#include "shell/menu_help.h"

#include "resources/resource_ids.h"
#include "shell/calc_app.h"
#include "shell/help_path.h"
#include "shell/html_help.h"

std::int32_t CalcApp::ShowPopupMenu(HWND window, int x, int y) const {
    POINT point{x, y};
    ClientToScreen(window, &point);
    HMENU menu = popupMenu ? GetSubMenu(popupMenu.Get(), 0) : nullptr;
    if (menu != nullptr) {
        TrackPopupMenu(menu, 0, point.x, point.y, 0, window, nullptr);
    }
    return 1;
}

void CalcApp::ShowHelp(HWND window) const {
    char folder[PathBufferSize] = {};
    const bool registered = engine.QueryInstallDir(folder, sizeof(folder), true);
    char program[PathBufferSize] = {};
    const DWORD length = GetModuleFileNameA(nullptr, program, sizeof(program));
    if (!registered && (length == 0 || length >= sizeof(program))) {
        return;  // no folder to look in
    }
    char path[PathBufferSize] = {};
    if (!BuildHelpPath(path, sizeof(path), registered ? folder : nullptr, program)) {
        return;
    }
    HtmlHelpA(window, path, HH_DISPLAY_TOC, 0);
}

void ShowAboutDialog(HWND window) {
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_ABOUT), window, AboutDialogProc, 0);
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return TRUE;  // the system sets the default focus
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, 0);
            }
            return FALSE;
        default:
            return FALSE;
    }
}
