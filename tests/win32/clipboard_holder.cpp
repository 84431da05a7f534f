// Another program that holds the clipboard open with a window of its own:
//   clipboard_holder <event name> <milliseconds>
// sets "<name>-ready" once it holds the clipboard, and lets go after the milliseconds or when
// "<name>-release" is set, whichever comes first; then it writes the performance counter into
// the mapping "<name>-released", so that it is never earlier than the release.

#include <windows.h>

#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        return 2;
    }
    const std::string name = argv[1];
    const DWORD holdMs = std::strtoul(argv[2], nullptr, 10);
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, (name + "-ready").c_str());
    HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, (name + "-release").c_str());
    HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, (name + "-released").c_str());
    void* released = mapping ? MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0) : nullptr;
    HWND window =
        CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (ready == nullptr || release == nullptr || released == nullptr || window == nullptr ||
        !OpenClipboard(window)) {
        return 1;
    }
    SetEvent(ready);
    WaitForSingleObject(release, holdMs);
    CloseClipboard();
    QueryPerformanceCounter(static_cast<LARGE_INTEGER*>(released));
    return 0;
}
