#pragma once

// The calculator's one window: its class, the window procedure and the message loop.

#include <windows.h>

class CalcApp;

inline constexpr char MainWindowClass[] = "KARVOLD";
inline constexpr char MainWindowTitle[] = "Karvold";
inline constexpr UINT PlaceWindowMessage = WM_USER;
// Posted on gaining the focus: screen readers then hear that the display holds it.
inline constexpr UINT FocusNoticeMessage = WM_USER + 1;

void RegisterMainWindowClass(HINSTANCE instance);
HWND CreateMainWindow(HINSTANCE instance);
// Shows the placed window as the starter asked, but never maximised; then paints it.
void ShowMainWindow(HWND window, int showCommand);

// The scale the window is drawn at: its monitor's, or the system's where that is not known.
int WindowDpi(HWND window);

// Null until the application is attached.
CalcApp* AppOf(HWND window);
void AttachApp(HWND window, CalcApp* app);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Runs until the quit message (or a failing GetMessageA); returns the exit code.
int RunMessageLoop();
