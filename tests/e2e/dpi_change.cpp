// Tells the running calculator that its monitor's scale changed, as Windows does when the
// window moves to a monitor of another scale: WM_DPICHANGED with a suggested rectangle in a
// section mapped into the calculator, where the pointer means something (Wine would write its
// memory through ptrace, which a machine may refuse). The view is left to the calculator's
// lifetime: nothing tells when it has been read.
//
//     dpi_change.exe DPI LEFT TOP RIGHT BOTTOM

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using MapViewOfFile3Function = void*(WINAPI*)(HANDLE, HANDLE, void*, ULONG64, SIZE_T, ULONG, ULONG,
                                              void*, ULONG);

// The step that failed, or nullptr once the message is posted. One run on a fresh machine
// failed once, unseen where; so a failed try says which step it was and starts afresh. The
// handles close when this helper ends.
const char* TryPost(MapViewOfFile3Function map_view_into, HANDLE section, int dpi) {
    HWND window = FindWindowA("KARVOLD", "Karvold");
    DWORD id = 0;
    if (GetWindowThreadProcessId(window, &id) == 0) {
        return "FindWindow";
    }
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION, FALSE, id);
    if (process == nullptr) {
        return "OpenProcess";
    }
    void* remote = map_view_into(section, process, nullptr, 0, 0, 0, PAGE_READONLY, nullptr, 0);
    if (remote == nullptr) {
        return "MapViewOfFile3";
    }
    return PostMessageA(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                        reinterpret_cast<LPARAM>(remote)) == FALSE
               ? "PostMessage"
               : nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    // Windows 10 1803 and later, and in no import library at hand.
    const auto map_view_into = reinterpret_cast<MapViewOfFile3Function>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernelbase.dll"), "MapViewOfFile3")));
    if (argc != 6 || map_view_into == nullptr) {
        return 2;
    }
    const int dpi = std::atoi(argv[1]);
    const RECT suggested{std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                         std::atoi(argv[5])};
    HANDLE section = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        sizeof(suggested), nullptr);
    void* local = section != nullptr ? MapViewOfFile(section, FILE_MAP_WRITE, 0, 0, 0) : nullptr;
    if (local == nullptr) {
        std::fprintf(stderr, "dpi_change: no section (error %lu)\n", GetLastError());
        return 1;
    }
    std::memcpy(local, &suggested, sizeof(suggested));
    UnmapViewOfFile(local);
    for (int attempt = 1; attempt <= 20; ++attempt, Sleep(250)) {
        const char* failed = TryPost(map_view_into, section, dpi);
        if (failed == nullptr) {
            return 0;
        }
        std::fprintf(stderr, "dpi_change: %s failed (error %lu)\n", failed, GetLastError());
    }
    return 1;
}
