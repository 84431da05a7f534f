#include "shell/html_help.h"

#include "engine/platform.h"
#include "shell/owned_handle.h"

namespace {

using HtmlHelpEntry = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

constexpr char HelpControlKey[] = "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
constexpr WORD HtmlHelpOrdinal = 14;

// The platform forces these: the cookie and the control's module live for the whole run.
DWORD_PTR helpCookie = 0;
HMODULE helpModule = nullptr;
HtmlHelpEntry helpEntry = nullptr;
bool helpUnavailable = false;

HMODULE LoadRegisteredControl() {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, HelpControlKey, 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        return nullptr;
    }
    const OwnedHandle<HKEY, RegCloseKey> key(opened);
    char path[PathBufferSize] = {};
    // One byte short of the buffer, so a value that fills it still ends in a terminator.
    DWORD size = sizeof(path) - 1;
    const LSTATUS status = RegQueryValueExA(key.Get(), nullptr, nullptr, nullptr,
                                            reinterpret_cast<BYTE*>(path), &size);
    if (status != ERROR_SUCCESS || path[0] == '\0') {
        return nullptr;
    }
    return LoadLibraryA(path);
}

HtmlHelpEntry FindEntry() {
    if (helpEntry != nullptr || helpUnavailable) {
        return helpEntry;
    }
    if (helpModule == nullptr) {
        helpModule = LoadRegisteredControl();
    }
    if (helpModule == nullptr) {
        // Never from the current or program folder: only the system's own copy.
        helpModule = LoadLibraryExA("hhctrl.ocx", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    if (helpModule == nullptr) {
        helpUnavailable = true;
        return nullptr;
    }
    FARPROC entry = GetProcAddress(helpModule, MAKEINTRESOURCEA(HtmlHelpOrdinal));
    if (entry == nullptr) {
        helpUnavailable = true;
        return nullptr;
    }
    helpEntry = reinterpret_cast<HtmlHelpEntry>(reinterpret_cast<void*>(entry));
    return helpEntry;
}

}  // namespace

DWORD_PTR& HelpCookie() {
    return helpCookie;
}

extern "C" HWND WINAPI HtmlHelpA(HWND window, LPCSTR file, UINT command, DWORD_PTR data) {
    HtmlHelpEntry entry = FindEntry();
    return entry != nullptr ? entry(window, file, command, data) : nullptr;
}
