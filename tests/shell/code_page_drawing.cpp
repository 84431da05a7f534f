// Draws the whole window with an error text shown into a bitmap file and prints the ANSI code
// page it ran under, so that two runs under different code pages can be compared.

#include <windows.h>

#include <cstdio>

#include "engine/memory_platform.h"
#include "shell/calc_app.h"

namespace {

constexpr int Width = 300;
constexpr int Height = 450;

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: code_page_drawing OUTPUT.bmp\n");
        return 2;
    }
    MemoryPlatform platform;
    CalcApp app(platform.Get());
    HDC screen = GetDC(nullptr);
    app.LoadSkin(GetModuleHandleA(nullptr), screen);
    ReleaseDC(nullptr, screen);
    app.engine.display = DecimalValue(DecimalError::Overflow);

    BITMAPINFOHEADER header{sizeof(BITMAPINFOHEADER), Width, -Height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* pixels = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP canvas = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                      &pixels, nullptr, 0);
    if (dc == nullptr || canvas == nullptr) {
        return 1;
    }
    HGDIOBJ previous = SelectObject(dc, canvas);
    app.DrawWindow(dc, Width);
    GdiFlush();

    const DWORD pixelBytes = Width * Height * 4;
    BITMAPFILEHEADER file{0x4D42, sizeof(BITMAPFILEHEADER) + sizeof header + pixelBytes, 0, 0,
                          sizeof(BITMAPFILEHEADER) + sizeof header};
    std::FILE* out = std::fopen(argv[1], "wb");
    const bool written = out != nullptr && std::fwrite(&file, sizeof file, 1, out) == 1 &&
                         std::fwrite(&header, sizeof header, 1, out) == 1 &&
                         std::fwrite(pixels, pixelBytes, 1, out) == 1;
    if (out != nullptr) {
        std::fclose(out);
    }
    SelectObject(dc, previous);
    DeleteObject(canvas);
    DeleteDC(dc);
    std::printf("%u\n", GetACP());
    return written ? 0 : 1;
}
