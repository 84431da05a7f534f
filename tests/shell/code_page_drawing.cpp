// Prints the ANSI code page it runs under and a digest of the window's pixels, drawn with an
// error text, so that runs under two code pages can be compared pixel for pixel. Fails when a
// label (a key's caption, the error text) leaves no pixel of its own: both runs would agree.

#include <cinttypes>
#include <cstdio>

#include "shell_fixture.h"

int main() {
    MemoryPlatform platform(TestDate);
    CalcApp app(platform.Get());
    app.LoadSkin(GetModuleHandleA(nullptr), WindowDc(nullptr).Get());  // the screen's
    app.engine.display = DecimalValue(DecimalError::Overflow);
    Canvas canvas, bare;
    app.DrawWindow(canvas.Dc());
    for (CalcKey& key : app.keys) key.caption[0] = '\0';
    for (TextBuffer& text : app.errorTexts) text.reset();
    app.DrawWindow(bare.Dc());
    BitBlt(bare.Dc(), 0, 0, 300, 450, canvas.Dc(), 0, 0, SRCINVERT);  // black but what labels drew
    int unlabelled = bare.Count(app.DisplayStrip(), Black, true) > 0 ? 0 : 1;
    for (const CalcKey& key : app.keys) unlabelled += bare.Count(key.rect, Black, true) > 0 ? 0 : 1;
    std::uint64_t digest = 14695981039346656037u;  // FNV-1a over the colours
    for (int y = 0; y < 450; ++y)
        for (int x = 0; x < 300; ++x) digest = (digest ^ canvas.At(x, y)) * 1099511628211u;
    std::printf("%u %016" PRIx64 "\n", GetACP(), digest);
    std::fprintf(stderr, "labels that drew nothing: %d\n", unlabelled);
    return unlabelled == 0 ? 0 : 1;
}
