// Measurement hook for bench builds of karvold.exe and of the minimal window, linked into
// both alike. It does nothing unless KARVOLD_PROBE_OUT names a file; then it subclasses the
// window of class PROBE_WINDOW_CLASS as it is created and
//   1. takes the return from the first WM_PAINT as the first painted frame, and its time
//      since the process was created (GetProcessTimes) as the start-up time;
//   2. posts 1,000 key commands as WM_CHAR, one at a time, and after each lets the window
//      paint what the command invalidated, counting paints and painted pixels;
//   3. reads the peak working set, writes key=value lines to the file and closes the window.

#include <windows.h>
#include <psapi.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#ifndef PROBE_WINDOW_CLASS
#error "PROBE_WINDOW_CLASS names the class of the window to measure"
#endif

namespace {

constexpr int KeyCommands = 1000;
// The office sequence of the engine benchmark, round after round: AC, 12 x 128,500 = =,
// M+, tax-included, GT.
constexpr char KeySequence[] = "A12*128500==PZG";
constexpr int KeySequenceLength = sizeof(KeySequence) - 1;
constexpr std::uint64_t FileTimeUnitsPerMicrosecond = 10;

// A hook procedure and a window procedure reach their state only through a global.
struct ProbeState {
    char outputPath[MAX_PATH] = {};
    HHOOK creationHook = nullptr;
    HWND window = nullptr;
    WNDPROC original = nullptr;
    UINT stepMessage = 0;
    bool firstPaintDone = false;
    bool keysDone = false;
    std::uint64_t firstPaintTime = 0;
    int keyPaints = 0;
    std::uint64_t keyPaintedPixels = 0;
    RECT keyPaintBounds{};
};

ProbeState probe;

std::uint64_t FromFileTime(const FILETIME& time) {
    return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

std::uint64_t Now() {
    FILETIME now{};
    GetSystemTimePreciseAsFileTime(&now);
    return FromFileTime(now);
}

std::uint64_t ProcessCreationTime() {
    FILETIME creation{};
    FILETIME exit{};
    FILETIME kernel{};
    FILETIME user{};
    GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user);
    return FromFileTime(creation);
}

std::uint64_t RegionArea(HRGN region) {
    const DWORD size = GetRegionData(region, 0, nullptr);
    if (size == 0) {
        return 0;
    }
    auto* data = static_cast<RGNDATA*>(HeapAlloc(GetProcessHeap(), 0, size));
    if (data == nullptr) {
        return 0;
    }
    std::uint64_t area = 0;
    if (GetRegionData(region, size, data) != 0) {
        const auto* rects = reinterpret_cast<const RECT*>(data->Buffer);
        for (DWORD i = 0; i < data->rdh.nCount; ++i) {
            area += static_cast<std::uint64_t>(rects[i].right - rects[i].left) *
                    static_cast<std::uint64_t>(rects[i].bottom - rects[i].top);
        }
    }
    HeapFree(GetProcessHeap(), 0, data);
    return area;
}

// The modules the process has loaded, as one comma-separated list of base names.
void WriteModules(std::FILE* file) {
    HMODULE modules[256];
    DWORD bytes = 0;
    if (!EnumProcessModules(GetCurrentProcess(), modules, sizeof(modules), &bytes)) {
        return;
    }
    std::fprintf(file, "modules=");
    const DWORD count = bytes / sizeof(HMODULE) < 256 ? bytes / sizeof(HMODULE) : 256;
    for (DWORD i = 0; i < count; ++i) {
        char name[MAX_PATH] = {};
        GetModuleBaseNameA(GetCurrentProcess(), modules[i], name, sizeof(name));
        std::fprintf(file, "%s%s", i == 0 ? "" : ",", name);
    }
    std::fprintf(file, "\n");
}

void WriteResults() {
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
    RECT client{};
    GetClientRect(probe.window, &client);
    std::FILE* file = std::fopen(probe.outputPath, "w");
    if (file == nullptr) {
        return;
    }
    const std::uint64_t created = ProcessCreationTime();
    std::fprintf(file, "creation_filetime=%llu\n", static_cast<unsigned long long>(created));
    std::fprintf(file, "first_paint_filetime=%llu\n",
                 static_cast<unsigned long long>(probe.firstPaintTime));
    std::fprintf(file, "startup_us=%llu\n",
                 static_cast<unsigned long long>((probe.firstPaintTime - created) /
                                                 FileTimeUnitsPerMicrosecond));
    std::fprintf(file, "peak_working_set=%llu\n",
                 static_cast<unsigned long long>(memory.PeakWorkingSetSize));
    std::fprintf(file, "working_set=%llu\n", static_cast<unsigned long long>(memory.WorkingSetSize));
    std::fprintf(file, "private_bytes=%llu\n", static_cast<unsigned long long>(memory.PagefileUsage));
    std::fprintf(file, "key_commands=%d\n", KeyCommands);
    std::fprintf(file, "key_paints=%d\n", probe.keyPaints);
    std::fprintf(file, "key_painted_pixels=%llu\n",
                 static_cast<unsigned long long>(probe.keyPaintedPixels));
    std::fprintf(file, "key_paint_bounds=%ld,%ld,%ld,%ld\n", probe.keyPaintBounds.left,
                 probe.keyPaintBounds.top, probe.keyPaintBounds.right, probe.keyPaintBounds.bottom);
    std::fprintf(file, "window_pixels=%ld\n", (client.right - client.left) * (client.bottom - client.top));
    WriteModules(file);
    std::fclose(file);
}

// Step i: the paint that command i - 1 asked for, then command i, or the results.
void OnStep(WPARAM step) {
    UpdateWindow(probe.window);
    if (step < KeyCommands) {
        const char key = KeySequence[step % KeySequenceLength];
        PostMessageA(probe.window, WM_CHAR, static_cast<WPARAM>(key), 0);
        PostMessageA(probe.window, probe.stepMessage, step + 1, 0);
        return;
    }
    probe.keysDone = true;
    WriteResults();
    PostMessageA(probe.window, WM_CLOSE, 0, 0);
}

LRESULT OnPaint(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    RECT bounds{};
    const int kind = GetUpdateRgn(window, region, FALSE);
    GetRgnBox(region, &bounds);
    const LRESULT result = CallWindowProcA(probe.original, window, message, wParam, lParam);
    if (!probe.firstPaintDone) {
        probe.firstPaintTime = Now();
        probe.firstPaintDone = true;
        PostMessageA(window, probe.stepMessage, 0, 0);
    } else if (!probe.keysDone && kind != NULLREGION && kind != ERROR) {
        ++probe.keyPaints;
        probe.keyPaintedPixels += RegionArea(region);
        UnionRect(&probe.keyPaintBounds, &probe.keyPaintBounds, &bounds);
    }
    DeleteObject(region);
    return result;
}

LRESULT CALLBACK ProbeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        return OnPaint(window, message, wParam, lParam);
    }
    if (message == probe.stepMessage) {
        OnStep(wParam);
        return 0;
    }
    return CallWindowProcA(probe.original, window, message, wParam, lParam);
}

LRESULT CALLBACK OnWindowCreation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && probe.window == nullptr) {
        auto* window = reinterpret_cast<HWND>(wParam);
        char className[64] = {};
        GetClassNameA(window, className, sizeof(className));
        if (std::strcmp(className, PROBE_WINDOW_CLASS) == 0) {
            probe.window = window;
            probe.original = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
                window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ProbeWindowProc)));
        }
    }
    return CallNextHookEx(probe.creationHook, code, wParam, lParam);
}

// Runs before WinMain, from the program's static initialisation.
struct ProbeInstaller {
    ProbeInstaller() {
        const DWORD length =
            GetEnvironmentVariableA("KARVOLD_PROBE_OUT", probe.outputPath, sizeof(probe.outputPath));
        if (length == 0 || length >= sizeof(probe.outputPath)) {
            return;
        }
        probe.stepMessage = RegisterWindowMessageA("KarvoldProbeStep");
        probe.creationHook =
            SetWindowsHookExA(WH_CBT, OnWindowCreation, nullptr, GetCurrentThreadId());
    }
};

ProbeInstaller installer;

}  // namespace
