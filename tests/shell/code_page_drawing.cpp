// Prints the ANSI code page it runs under and a digest of the window's pixels, drawn with an
// error text, so that runs under two code pages can be compared pixel for pixel.

#include <cinttypes>
#include <cstdio>

#include "shell_fixture.h"

int main() {
    MemoryPlatform platform;
    CalcApp app(platform.Get());
    app.LoadSkin(GetModuleHandleA(nullptr), WindowDc(nullptr).Get());  // the screen's
    app.engine.display = DecimalValue(DecimalError::Overflow);
    Canvas canvas;
    app.DrawWindow(canvas.Dc());
    std::uint64_t digest = 14695981039346656037u;  // FNV-1a over the colours
    for (int y = 0; y < 450; ++y)
        for (int x = 0; x < 300; ++x) digest = (digest ^ canvas.At(x, y)) * 1099511628211u;
    std::printf("%u %016" PRIx64 "\n", GetACP(), digest);
}
