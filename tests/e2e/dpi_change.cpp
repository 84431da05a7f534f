// Tells the running calculator that its monitor's scale changed, as Windows does when the
// window moves to a monitor of another scale: WM_DPICHANGED with a suggested rectangle,
// written into the calculator's own memory, where the pointer means something. The memory
// is left to the calculator's lifetime: nothing tells when it has been read.
//
//     dpi_change.exe DPI LEFT TOP RIGHT BOTTOM

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

// The step that failed, or nullptr once the message is posted. One run on a fresh machine
// failed here once, unseen where; so a failed try says which step it was and starts afresh.
const char* TryPost(int dpi, const RECT& suggested, DWORD& error) {
    HWND window = FindWindowA("KARVOLD", "Karvold");
    DWORD id = 0;
    HANDLE process = window != nullptr && GetWindowThreadProcessId(window, &id) != 0
                         ? OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, id)
                         : nullptr;
    void* remote = process != nullptr ? VirtualAllocEx(process, nullptr, sizeof(suggested),
                                                       MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)
                                      : nullptr;
    const char* failed =
        remote == nullptr ? "finding the window, opening its process or VirtualAllocEx"
        : WriteProcessMemory(process, remote, &suggested, sizeof(suggested), nullptr) == FALSE
            ? "WriteProcessMemory"
        : PostMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                       reinterpret_cast<LPARAM>(remote)) == FALSE
            ? "PostMessage"
            : nullptr;
    error = GetLastError();
    if (failed != nullptr && remote != nullptr) {
        VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    }
    if (process != nullptr) {
        CloseHandle(process);
    }
    return failed;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        return 2;
    }
    const int dpi = std::atoi(argv[1]);
    const RECT suggested{std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                         std::atoi(argv[5])};
    DWORD error = 0;
    for (int attempt = 1; attempt <= 20; ++attempt, Sleep(250)) {
        const char* failed = TryPost(dpi, suggested, error);
        if (failed == nullptr) {
            return 0;
        }
        std::fprintf(stderr, "dpi_change: %s failed (error %lu)\n", failed, error);
    }
    return 1;
}
