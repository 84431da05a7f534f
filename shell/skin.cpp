#include <cstring>

#include "resources/resource_ids.h"
#include "shell/calc_app.h"
#include "shell/shift_jis.h"

namespace {

// "ＭＳ Ｐゴシック" in Shift-JIS, like every text the program keeps.
constexpr char KeyFontFace[] = "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e";
static_assert(sizeof(KeyFontFace) <= LF_FACESIZE);

HBITMAP LoadBitmapResource(HINSTANCE instance, int id) {
    return LoadBitmapA(instance, MAKEINTRESOURCEA(id));
}

// Asks for the bitmap's header only; a failed query leaves the size as it was.
void MeasureBitmap(HDC dc, HBITMAP bitmap, GlyphSize& size) {
    if (bitmap == nullptr) {
        return;
    }
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];  // room in case the system fills a colour table too
    } info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    if (GetDIBits(dc, bitmap, 0, 0, nullptr, reinterpret_cast<BITMAPINFO*>(&info),
                  DIB_RGB_COLORS) != 0) {
        size.width = info.header.biWidth;
        size.height = info.header.biHeight < 0 ? -info.header.biHeight : info.header.biHeight;
    }
}

HPEN MakePen(UINT style, int width, COLORREF colour) {
    LOGPEN pen{style, {width, 0}, colour};
    return CreatePenIndirect(&pen);
}

LOGFONTW KeyFontTemplate() {
    LOGFONTW font{};
    font.lfWeight = 1000;
    font.lfCharSet = SHIFTJIS_CHARSET;
    font.lfOutPrecision = OUT_STROKE_PRECIS;
    font.lfClipPrecision = CLIP_STROKE_PRECIS;
    font.lfQuality = DRAFT_QUALITY;
    font.lfPitchAndFamily = FF_MODERN | VARIABLE_PITCH;
    WidenShiftJis(KeyFontFace, font.lfFaceName);
    return font;
}

// The string table holds UTF-16; a text too long for the buffer is left empty.
void LoadText(HINSTANCE instance, UINT id, char* buffer, int size) {
    std::memset(buffer, 0, static_cast<std::size_t>(size));
    const std::wstring_view text = StringResource(instance, id);
    if (!text.empty() &&
        WideCharToMultiByte(ShiftJisCodePage, 0, text.data(), static_cast<int>(text.size()), buffer,
                            size - 1, nullptr, nullptr) == 0) {
        std::memset(buffer, 0, static_cast<std::size_t>(size));
    }
}

TextBuffer LoadTextBuffer(HINSTANCE instance, UINT id) {
    auto text = std::make_unique<std::array<char, TextBufferSize>>();
    LoadText(instance, id, text->data(), static_cast<int>(text->size()));
    return text;
}

}  // namespace

void CalcApp::LoadSkin(HINSTANCE instance, HDC dc, int dpi) {
    ReleaseSkin();
    ScaleSkin(instance, dc, dpi);
    for (int index = 0; index < KeyCount; ++index) {
        CalcKey& key = keys[static_cast<std::size_t>(index)];
        LoadText(instance, static_cast<UINT>(IDS_KEY_FIRST + index), key.caption,
                 sizeof(key.caption));
        key.pressed = 0;
        key.commandChar = static_cast<signed char>(KeyMap[index]);
        const Rgb colour = KeyStyleFor(index).colour;
        key.textColor = RGB(colour.red, colour.green, colour.blue);
    }
    for (std::size_t text = 0; text < IndicatorTextCount; ++text) {
        errorTexts[text] = LoadTextBuffer(instance, ErrorTextIds[text]);
        taxLabels[text] = LoadTextBuffer(instance, TaxLabelIds[text]);
    }
    popupMenu.Reset(LoadMenuA(instance, MAKEINTRESOURCEA(IDM_POPUP)));
}

void CalcApp::ScaleSkin(HINSTANCE instance, HDC dc, int dpi) {
    ReleaseScaledSkin();
    layout = LayoutForDpi(dpi);
    for (std::size_t digit = 0; digit < digitGlyphs.size(); ++digit) {
        digitGlyphs[digit].Reset(
            LoadBitmapResource(instance, IDB_DIGIT0 + static_cast<int>(digit)));
        MeasureBitmap(dc, digitGlyphs[digit].Get(), digitSizes[digit]);
    }
    minusGlyph.Reset(LoadBitmapResource(instance, IDB_MINUS));
    MeasureBitmap(dc, minusGlyph.Get(), minusSize);
    pointGlyph.Reset(LoadBitmapResource(instance, IDB_POINT));
    MeasureBitmap(dc, pointGlyph.Get(), pointSize);
    commaGlyph.Reset(LoadBitmapResource(instance, IDB_COMMA));
    MeasureBitmap(dc, commaGlyph.Get(), commaSize);

    windowRegion.Reset(CreateRoundRectRgn(0, 0, layout.windowWidth, layout.windowHeight,
                                          layout.cornerEllipse, layout.cornerEllipse));
    {
        // The brush keeps its own copy of the pattern.
        BitmapHandle tile(LoadBitmapResource(instance, IDB_BODY_TILE));
        if (tile) {
            bodyBrush.Reset(CreatePatternBrush(tile.Get()));
        }
    }
    bodyPen.Reset(MakePen(PS_INSIDEFRAME, layout.bodyPenWidth, RGB(255, 255, 176)));
    displayEdgePen.Reset(MakePen(PS_SOLID, 1, RGB(128, 128, 255)));
    displayShadowPen.Reset(MakePen(PS_SOLID, 1, RGB(128, 128, 128)));

    LOGFONTW font = KeyFontTemplate();
    for (std::size_t index = 0; index < keys.size(); ++index) {
        CalcKey& key = keys[index];
        font.lfHeight = layout.fontHeights[index];
        key.font.Reset(CreateFontIndirectW(&font));
        const KeyRect rect = layout.keys[index];
        key.rect = {rect.left, rect.top, rect.right, rect.bottom};
    }
}

void CalcApp::Shape(HWND window) {
    if (windowRegion && SetWindowRgn(window, windowRegion.Get(), TRUE) != 0) {
        windowRegion.Release();
    }
}

// The key fonts stay: each key frees its own. Sizes go back to 0 with their bitmaps, so a
// glyph that fails to load again takes no width.
void CalcApp::ReleaseSkin() {
    ReleaseScaledSkin();
    for (TextBuffer& text : errorTexts) {
        text.reset();
    }
    for (TextBuffer& text : taxLabels) {
        text.reset();
    }
    popupMenu.Reset();
}

void CalcApp::ReleaseScaledSkin() {
    for (BitmapHandle& glyph : digitGlyphs) {
        glyph.Reset();
    }
    minusGlyph.Reset();
    pointGlyph.Reset();
    commaGlyph.Reset();
    digitSizes = {};
    minusSize = {};
    pointSize = {};
    commaSize = {};
    windowRegion.Reset();
    bodyBrush.Reset();
    bodyPen.Reset();
    displayEdgePen.Reset();
    displayShadowPen.Reset();
}
