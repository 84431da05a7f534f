#include "shell/calc_app.h"
#include "shell/shift_jis.h"

namespace {

// The outline stays a pixel inside the window's region.
constexpr int BodyRight = WindowWidth - 1;
constexpr int BodyBottom = WindowHeight - 1;
constexpr int PressedShift = 2;
constexpr int IndicatorInset = 5;

void Line(HDC dc, int fromX, int fromY, int toX, int toY) {
    MoveToEx(dc, fromX, fromY, nullptr);
    LineTo(dc, toX, toY);
}

void DrawShiftJis(HDC dc, const char* text, RECT& rect, UINT format) {
    wchar_t wide[TextBufferSize];
    WidenShiftJis(text, wide);
    DrawTextW(dc, wide, -1, &rect, format);
}

}  // namespace

void CalcApp::Paint(HWND window) {
    PaintScope paint(window);
    RECT client{};
    GetClientRect(window, &client);
    DrawWindow(paint.Get(), client.right - client.left);
}

void CalcApp::DrawWindow(HDC dc, int width) {
    {
        ScopedSelect brush(dc, BodyFill());
        {
            ScopedSelect pen(dc, bodyPen.Get());
            RoundRect(dc, 0, 0, BodyRight, BodyBottom, WindowCornerEllipse, WindowCornerEllipse);
        }
        for (const CalcKey& key : keys) {
            DrawKey(dc, key);
        }
    }

    const DisplayBox box = DisplayBoxFor(width);
    const int displayRight = box.x + box.width;
    const int displayBottom = box.y + box.height;
    PatBlt(dc, box.x, box.y, box.width, box.height, WHITENESS);
    {
        // A light blue line under and right of the strip, a grey one a pixel further out.
        ScopedSelect pen(dc, displayEdgePen.Get());
        Line(dc, box.x, displayBottom, displayRight + 1, displayBottom);
        Line(dc, displayRight, box.y, displayRight, displayBottom + 1);
    }
    {
        ScopedSelect pen(dc, displayShadowPen.Get());
        Line(dc, box.x + 1, displayBottom + 1, displayRight + 2, displayBottom + 1);
        Line(dc, displayRight + 1, box.y + 1, displayRight + 1, displayBottom + 2);
    }

    DrawDisplay(dc, box);
}

// The face is not filled: the body pattern shows through the caption.
void CalcApp::DrawKey(HDC dc, const CalcKey& key) const {
    RECT rect = key.rect;
    if (key.pressed == 1) {
        OffsetRect(&rect, PressedShift, PressedShift);
    }
    {
        ScopedTextStyle style(dc, key.font.Get(), TextColour(key.textColor, COLOR_BTNTEXT),
                              key.bkMode);
        DrawShiftJis(dc, key.caption, rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    DrawEdge(dc, &rect, key.pressed == 1 ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
}

void CalcApp::DrawDisplay(HDC dc, const DisplayBox& box) {
    if (!commaGlyph) {
        return;  // no skin
    }
    const ShownDisplay shown = Shown();
    DrawIndicator(dc, box, shown.indicator);

    const GlyphSizes sizes = MeasuredGlyphSizes();
    const NumberLayout layout = LayoutNumber(shown.number.data(), sizes, box);

    MemoryDc memory(CreateCompatibleDC(dc));
    if (memory.Get() == nullptr) {
        return;
    }
    for (std::size_t i = 0; i < layout.count; ++i) {
        const GlyphPlacement& placed = layout.glyphs[i];
        HBITMAP bitmap = GlyphBitmap(placed.glyph);
        if (bitmap == nullptr) {
            continue;
        }
        ScopedSelect glyph(memory.Get(), bitmap);
        StretchBlt(dc, placed.x, placed.y, placed.width, placed.height, memory.Get(), 0, 0,
                   sizes[placed.glyph].width, sizes[placed.glyph].height, SRCCOPY);
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
    RECT rect{box.x + IndicatorInset, box.y + IndicatorInset, box.x + box.width,
              box.y + box.height};
    ScopedTextStyle textStyle(dc, style->font.Get(), TextColour(style->textColor, COLOR_WINDOWTEXT),
                              TRANSPARENT);
    DrawShiftJis(dc, text, rect, DT_LEFT | DT_TOP | DT_SINGLELINE);
}

void CalcApp::InvalidateDisplay(HWND window) const {
    RECT client{};
    GetClientRect(window, &client);
    const RECT strip = DisplayStrip(client.right);
    InvalidateRect(window, &strip, TRUE);
}
