// Prints the ANSI code page it runs under and a digest of the window's pixels, drawn with an
// error text, so that runs under two code pages can be compared pixel for pixel. Fails when a
// label (a key's caption, the error text) leaves no pixel of its own: both runs would agree.

#include <cinttypes>
#include <cstdio>
#include <vector>

#include "shell_fixture.h"

int main() {
    MemoryPlatform platform(TestDate);
    CalcApp app(platform.Get());
    app.LoadSkin(GetModuleHandleA(nullptr), WindowDc(nullptr).Get());  // the screen's
    app.engine.display = DecimalValue(DecimalError::Overflow);
    Canvas canvas, bare;
    app.DrawWindow(canvas.Dc(), 300);
    std::vector<RECT> labels{DisplayStrip(300)};
    for (CalcKey& key : app.keys) {
        labels.push_back(key.rect);
        key.caption[0] = '\0';
    }
    for (TextBuffer& text : app.errorTexts) text.reset();
    app.DrawWindow(bare.Dc(), 300);
    int missing = 0;
    for (const RECT& r : labels) {
        bool drawn = false;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) drawn = drawn || canvas.At(x, y) != bare.At(x, y);
        if (!drawn) {
            std::fprintf(stderr, "no label drawn in (%ld, %ld)-(%ld, %ld)\n", r.left, r.top,
                         r.right, r.bottom);
            ++missing;
        }
    }
    std::uint64_t digest = 14695981039346656037u;  // FNV-1a over the colours
    for (int y = 0; y < 450; ++y)
        for (int x = 0; x < 300; ++x) digest = (digest ^ canvas.At(x, y)) * 1099511628211u;
    std::printf("%u %016" PRIx64 "\n", GetACP(), digest);
    return missing == 0 ? 0 : 1;
}
