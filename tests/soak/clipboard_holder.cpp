// Another program that holds the clipboard open: opens it with a window of its own, says so
// through the first named event and lets go when the second one is set (or after a while).
//
//   clipboard_holder <held-event> <release-event>

#include <windows.h>

namespace {

constexpr DWORD LongestHold = 30'000;

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        return 2;
    }
    HANDLE held = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[1]);
    HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, argv[2]);
    HWND window =
        CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (held == nullptr || release == nullptr || window == nullptr || !OpenClipboard(window)) {
        return 1;
    }
    SetEvent(held);
    WaitForSingleObject(release, LongestHold);
    CloseClipboard();
    DestroyWindow(window);
    return 0;
}
