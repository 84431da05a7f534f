#include <cstring>

#include "resources/resource_ids.h"
#include "shell/calc_app.h"
#include "shell/glyph_art.h"
#include "shell/shift_jis.h"

namespace {

// "ＭＳ Ｐゴシック" in Shift-JIS, like every text the program keeps.
constexpr char KeyFontFace[] = "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e";
static_assert(sizeof(KeyFontFace) <= LF_FACESIZE);

HBITMAP LoadBitmapResource(HINSTANCE instance, int id) {
    return LoadBitmapA(instance, MAKEINTRESOURCEA(id));
}

// Artwork drawn for the scale as a top-down 4-bit DIB section in the skin's palette.
HBITMAP ArtBitmap(HDC dc, const GlyphArt& art) {
    const auto width = static_cast<std::size_t>(art.width);
    if (art.width <= 0 || art.height <= 0 ||
        art.pixels.size() != width * static_cast<std::size_t>(art.height)) {
        return nullptr;
    }
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[SkinPalette.size()];
    } info{};
    info.header = {sizeof(BITMAPINFOHEADER),
                   art.width,
                   -art.height,
                   1,
                   4,
                   BI_RGB,
                   0,
                   0,
                   0,
                   static_cast<DWORD>(SkinPalette.size()),
                   0};
    for (std::size_t i = 0; i < SkinPalette.size(); ++i) {
        info.colours[i] = {SkinPalette[i].blue, SkinPalette[i].green, SkinPalette[i].red, 0};
    }
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                      &bits, nullptr, 0);
    if (bitmap == nullptr || bits == nullptr) {
        return bitmap;
    }
    // Two pixels a byte, the left one in the high half; rows padded to four bytes.
    const std::size_t stride = (width * 4 + 31) / 32 * 4;
    auto* rows = static_cast<std::uint8_t*>(bits);
    for (std::size_t y = 0; y < static_cast<std::size_t>(art.height); ++y) {
        for (std::size_t x = 0; x < width; ++x) {
            const auto index = static_cast<std::uint8_t>(art.pixels[y * width + x] & 0x0F);
            std::uint8_t& pair = rows[y * stride + x / 2];
            pair = static_cast<std::uint8_t>(x % 2 == 0 ? (pair & 0x0F) | (index << 4)
                                                        : (pair & 0xF0) | index);
        }
    }
    return bitmap;
}

// At 96 DPI the program's own bitmaps; at any other scale artwork drawn for it, never a
// bitmap stretched.
HBITMAP SkinBitmap(HINSTANCE instance, HDC dc, int resource, char glyph, int dpi) {
    if (dpi == BaseDpi) {
        return LoadBitmapResource(instance, resource);
    }
    return ArtBitmap(dc, glyph == '\0' ? RenderBodyTile(dpi) : RenderGlyph(glyph, dpi));
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
        const int value = static_cast<int>(digit);
        digitGlyphs[digit].Reset(
            SkinBitmap(instance, dc, IDB_DIGIT0 + value, static_cast<char>('0' + value), dpi));
        MeasureBitmap(dc, digitGlyphs[digit].Get(), digitSizes[digit]);
    }
    minusGlyph.Reset(SkinBitmap(instance, dc, IDB_MINUS, '-', dpi));
    MeasureBitmap(dc, minusGlyph.Get(), minusSize);
    pointGlyph.Reset(SkinBitmap(instance, dc, IDB_POINT, '.', dpi));
    MeasureBitmap(dc, pointGlyph.Get(), pointSize);
    commaGlyph.Reset(SkinBitmap(instance, dc, IDB_COMMA, ',', dpi));
    MeasureBitmap(dc, commaGlyph.Get(), commaSize);

    windowRegion.Reset(CreateRoundRectRgn(0, 0, layout.windowWidth, layout.windowHeight,
                                          layout.cornerEllipse, layout.cornerEllipse));
    {
        // The brush keeps its own copy of the pattern.
        BitmapHandle tile(SkinBitmap(instance, dc, IDB_BODY_TILE, '\0', dpi));
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
