#include "shell/calc_app.h"

#include <oleacc.h>

CalcApp::CalcApp(const EnginePlatform& platform) : engine(platform) {
    engine.AllClearKey();
}

// Members then go in reverse order: texts and menu, the keys with their fonts, the engine.
CalcApp::~CalcApp() {
    ReleaseSkin();
}

void CalcApp::RunCommand(HWND window, std::int32_t character) {
    const TaxState taxBefore = engine.taxState;
    const ShownDisplay shownBefore = Shown();
    if (engine.HandleCommand(character) != 0 || engine.taxState != taxBefore) {
        InvalidateDisplay(window);
    }
    // A screen reader announces the display only when what it shows has changed.
    if (Shown() != shownBefore) {
        NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, window, OBJID_CLIENT, DisplayChildId);
    }
}

ShownDisplay CalcApp::Shown() const {
    ShownDisplay shown;
    engine.display.Format(shown.number.data(), shown.number.size(), true);
    shown.indicator =
        ChooseIndicator(static_cast<std::uint32_t>(engine.display.errorCode),
                        static_cast<std::uint32_t>(engine.taxState), !engine.memory.IsZero());
    return shown;
}

GlyphSizes CalcApp::MeasuredGlyphSizes() const {
    GlyphSizes sizes{};
    for (std::size_t digit = 0; digit < digitSizes.size(); ++digit) {
        sizes[digit] = digitSizes[digit];
    }
    sizes[MinusGlyph] = minusSize;
    sizes[PointGlyph] = pointSize;
    sizes[CommaGlyph] = commaSize;
    return sizes;
}

HBITMAP CalcApp::GlyphBitmap(std::size_t glyph) const {
    if (glyph < digitGlyphs.size()) {
        return digitGlyphs[glyph].Get();
    }
    switch (glyph) {
        case MinusGlyph:
            return minusGlyph.Get();
        case PointGlyph:
            return pointGlyph.Get();
        case CommaGlyph:
            return commaGlyph.Get();
        default:
            return nullptr;
    }
}
