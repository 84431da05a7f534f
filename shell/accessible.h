#pragma once

// The calculator as a screen reader sees it: the client area with the display and the 30
// keys as its children, served through Active Accessibility.

#include <windows.h>

class CalcAccessible;

// Holds the window's one reference to its accessible object. Clients may keep theirs for
// longer, so letting go also cuts the object off: from then on it answers every call with
// a failure and never reaches the window or the application again.
class AccessibleHolder {
  public:
    AccessibleHolder() = default;
    ~AccessibleHolder() { Disconnect(); }

    AccessibleHolder(const AccessibleHolder&) = delete;
    AccessibleHolder& operator=(const AccessibleHolder&) = delete;

    // The answer to WM_GETOBJECT for the client area: a reference to the object, or a
    // negative error when the system's accessibility library cannot be had.
    LRESULT Answer(HWND window, WPARAM wParam);
    void Disconnect();

  private:
    CalcAccessible* object_ = nullptr;
};
