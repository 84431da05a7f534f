#include "shell/calc_app.h"
#include "shell/shift_jis.h"

namespace {

constexpr COLORREF GlyphPaper = RGB(255, 255, 255);

void Line(HDC dc, int fromX, int fromY, int toX, int toY) {
    MoveToEx(dc, fromX, fromY, nullptr);
    LineTo(dc, toX, toY);
}

// A frame of the given width inside the rectangle.
void Outline(HDC dc, RECT rect, int width, int systemColour) {
    for (int ring = 0; ring < width; ++ring) {
        FrameRect(dc, &rect, GetSysColorBrush(systemColour));
        InflateRect(&rect, -1, -1);
    }
}

// The context's own pen, in a system colour: nothing to create or free.
HGDIOBJ SystemColourPen(HDC dc, int systemColour) {
    SetDCPenColor(dc, GetSysColor(systemColour));
    return GetStockObject(DC_PEN);
}

// The glyph bitmap as a mask: its paper becomes the strip's colour, everything else ink.
void DrawGlyphMask(HDC dc, const GlyphPlacement& placed, HDC glyph, GlyphSize size) {
    MemoryDc maskDc(CreateCompatibleDC(dc));
    BitmapHandle mask(CreateBitmap(size.width, size.height, 1, 1, nullptr));
    if (!maskDc || !mask) {
        return;
    }
    ScopedSelect selected(maskDc.Get(), mask.Get());
    // Colour to monochrome: pixels of the source's background colour become 1, the rest 0.
    const COLORREF paper = SetBkColor(glyph, GlyphPaper);
    BitBlt(maskDc.Get(), 0, 0, size.width, size.height, glyph, 0, 0, SRCCOPY);
    SetBkColor(glyph, paper);
    // Monochrome to colour: 1 takes the background colour, 0 the text colour.
    const COLORREF ink = SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    const COLORREF background = SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    StretchBlt(dc, placed.x, placed.y, placed.width, placed.height, maskDc.Get(), 0, 0, size.width,
               size.height, SRCCOPY);
    SetBkColor(dc, background);
    SetTextColor(dc, ink);
}

void DrawShiftJis(HDC dc, const char* text, RECT& rect, UINT format) {
    wchar_t wide[TextBufferSize];
    WidenShiftJis(text, wide);
    DrawTextW(dc, wide, -1, &rect, format);
}

}  // namespace

void CalcApp::Paint(HWND window) {
    PaintScope paint(window);
    DrawWindow(paint.Get());
}

void CalcApp::DrawWindow(HDC dc) {
    {
        ScopedSelect brush(dc, BodyFill());
        {
            ScopedSelect pen(dc, highContrast ? SystemColourPen(dc, COLOR_BTNTEXT) : bodyPen.Get());
            // The outline stays a pixel inside the window's region.
            RoundRect(dc, 0, 0, layout.windowWidth - 1, layout.windowHeight - 1,
                      layout.cornerEllipse, layout.cornerEllipse);
        }
        for (const CalcKey& key : keys) {
            DrawKey(dc, key);
        }
    }
    DrawDisplayStrip(dc, layout.display);
    DrawDisplay(dc, layout.display);
}

void CalcApp::DrawDisplayStrip(HDC dc, const DisplayBox& box) const {
    const int displayRight = box.x + box.width;
    const int displayBottom = box.y + box.height;
    const int line = layout.displayLineWidth;
    if (highContrast) {
        RECT strip{box.x, box.y, displayRight, displayBottom};
        FillRect(dc, &strip, GetSysColorBrush(COLOR_WINDOW));
        // Where the edge and shadow lines go, on all four sides; it lies on the body.
        InflateRect(&strip, 2 * line, 2 * line);
        Outline(dc, strip, 2 * line, COLOR_BTNTEXT);
        return;
    }
    PatBlt(dc, box.x, box.y, box.width, box.height, WHITENESS);
    // A light blue line under and right of the strip, a grey one a line further out; each
    // line is drawn as that many one-pixel lines.
    for (int offset = 0; offset < line; ++offset) {
        {
            ScopedSelect pen(dc, displayEdgePen.Get());
            Line(dc, box.x, displayBottom + offset, displayRight + line, displayBottom + offset);
            Line(dc, displayRight + offset, box.y, displayRight + offset, displayBottom + line);
        }
        ScopedSelect pen(dc, displayShadowPen.Get());
        const int shadow = line + offset;
        Line(dc, box.x + line, displayBottom + shadow, displayRight + 2 * line,
             displayBottom + shadow);
        Line(dc, displayRight + shadow, box.y + line, displayRight + shadow,
             displayBottom + 2 * line);
    }
}

// The face is not filled: the body pattern shows through the caption. In high contrast a
// pressed key is filled in the selection colours and every key is outlined in its text colour.
void CalcApp::DrawKey(HDC dc, const CalcKey& key) const {
    RECT rect = key.rect;
    const bool pressed = key.pressed == 1;
    if (pressed) {
        OffsetRect(&rect, layout.pressedShift, layout.pressedShift);
    }
    if (highContrast && pressed) {
        FillRect(dc, &rect, GetSysColorBrush(COLOR_HIGHLIGHT));
    }
    {
        ScopedTextStyle style(
            dc, key.font.Get(),
            TextColour(key.textColor, pressed ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT), key.bkMode);
        DrawShiftJis(dc, key.caption, rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    if (highContrast) {
        Outline(dc, rect, layout.outlineWidth, COLOR_BTNTEXT);
    } else {
        DrawEdge(dc, &rect, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    }
}

void CalcApp::DrawDisplay(HDC dc, const DisplayBox& box) {
    if (!commaGlyph) {
        return;  // no skin
    }
    const ShownDisplay shown = Shown();
    DrawIndicator(dc, box, shown.indicator);

    const GlyphSizes sizes = MeasuredGlyphSizes();
    const NumberLayout number = LayoutNumber(shown.number.data(), sizes, box);

    MemoryDc memory(CreateCompatibleDC(dc));
    if (memory.Get() == nullptr) {
        return;
    }
    for (std::size_t i = 0; i < number.count; ++i) {
        const GlyphPlacement& placed = number.glyphs[i];
        HBITMAP bitmap = GlyphBitmap(placed.glyph);
        if (bitmap == nullptr) {
            continue;
        }
        ScopedSelect glyph(memory.Get(), bitmap);
        if (highContrast) {
            DrawGlyphMask(dc, placed, memory.Get(), sizes[placed.glyph]);
        } else {
            StretchBlt(dc, placed.x, placed.y, placed.width, placed.height, memory.Get(), 0, 0,
                       sizes[placed.glyph].width, sizes[placed.glyph].height, SRCCOPY);
        }
    }
}

void CalcApp::DrawIndicator(HDC dc, const DisplayBox& box, const Indicator& indicator) const {
    const char* text = nullptr;
    const CalcKey* style = &keys[TaxKeyIndex];
    switch (indicator.kind) {
        case IndicatorKind::None:
            return;
        case IndicatorKind::Error:
            text =
                errorTexts[indicator.textIndex] ? errorTexts[indicator.textIndex]->data() : nullptr;
            break;
        case IndicatorKind::Tax:
            text =
                taxLabels[indicator.textIndex] ? taxLabels[indicator.textIndex]->data() : nullptr;
            break;
        case IndicatorKind::Memory:
            text = MemoryMark;
            style = &keys[MemoryKeyIndex];
            break;
    }
    if (text == nullptr) {
        return;
    }
    RECT rect{box.x + layout.indicatorInset, box.y + layout.indicatorInset, box.x + box.width,
              box.y + box.height};
    ScopedTextStyle textStyle(dc, style->font.Get(), TextColour(style->textColor, COLOR_WINDOWTEXT),
                              TRANSPARENT);
    DrawShiftJis(dc, text, rect, DT_LEFT | DT_TOP | DT_SINGLELINE);
}

void CalcApp::InvalidateDisplay(HWND window) const {
    const RECT strip = DisplayStrip();
    InvalidateRect(window, &strip, TRUE);
}
