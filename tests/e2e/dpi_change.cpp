// Tells the running calculator that its monitor's scale changed, as Windows does when the
// window moves to a monitor of another scale: WM_DPICHANGED with a suggested rectangle,
// written into the calculator's own memory, where the pointer means something. The memory
// is left to the calculator's lifetime: nothing tells when it has been read.
//
//     dpi_change.exe DPI LEFT TOP RIGHT BOTTOM

#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 6) {
        return 2;
    }
    const int dpi = std::atoi(argv[1]);
    const RECT suggested{std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                         std::atoi(argv[5])};
    HWND window = FindWindowA("KARVOLD", "Karvold");
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, id);
    void* remote = VirtualAllocEx(process, nullptr, sizeof(suggested), MEM_COMMIT, PAGE_READWRITE);
    if (remote == nullptr ||
        WriteProcessMemory(process, remote, &suggested, sizeof(suggested), nullptr) == FALSE ||
        PostMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(remote)) == FALSE) {
        std::fprintf(stderr, "dpi_change: error %lu\n", GetLastError());
        return 1;
    }
    return 0;
}
