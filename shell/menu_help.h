#pragma once

#include <windows.h>

// Runs the About box modally; returns when it is closed.
void ShowAboutDialog(HWND window);

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
