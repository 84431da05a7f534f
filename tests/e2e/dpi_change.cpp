// Tells the running calculator that its monitor's scale changed, as Windows does when the
// window moves to a monitor of another scale: WM_DPICHANGED with a suggested rectangle. The
// rectangle is written into the calculator's own memory, where the pointer means something.
//
//     dpi_change.exe DPI LEFT TOP RIGHT BOTTOM

#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fputs("usage: dpi_change DPI LEFT TOP RIGHT BOTTOM\n", stderr);
        return 2;
    }
    const int dpi = std::atoi(argv[1]);
    const RECT suggested{std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                         std::atoi(argv[5])};
    HWND window = FindWindowA("KARVOLD", "Karvold");
    DWORD processId = 0;
    if (window == nullptr || GetWindowThreadProcessId(window, &processId) == 0) {
        std::fputs("dpi_change: no calculator window\n", stderr);
        return 1;
    }
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
    // Left to the calculator's lifetime: nothing tells when it has read the rectangle.
    void* remote = process != nullptr ? VirtualAllocEx(process, nullptr, sizeof(suggested),
                                                       MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)
                                      : nullptr;
    const bool posted =
        remote != nullptr &&
        WriteProcessMemory(process, remote, &suggested, sizeof(suggested), nullptr) != FALSE &&
        PostMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(remote)) != FALSE;
    if (!posted) {
        std::fprintf(stderr, "dpi_change: failed with error %lu\n", GetLastError());
    }
    if (process != nullptr) {
        CloseHandle(process);
    }
    return posted ? 0 : 1;
}
