#pragma once

// The window-side state of the calculator: skin, keys and the engine, for the whole run.

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>

#include "engine/calc_engine.h"
#include "resources/resource_ids.h"
#include "shell/accessible.h"
#include "shell/calc_key.h"
#include "shell/display_layout.h"
#include "shell/gdi_holders.h"
#include "shell/key_input.h"
#include "shell/key_layout.h"

enum class KeyTrackMode : std::uint32_t {
    HitTest = 0,
    Press = 1,
    Release = 2,
    Leave = 3,
};

// The display's texts, in the order of the indicator's text index.
inline constexpr std::array<UINT, IndicatorTextCount> ErrorTextIds = {
    IDS_ERROR_DIVIDE_BY_ZERO, IDS_ERROR_OVERFLOW, IDS_ERROR_INPUT};
inline constexpr std::array<UINT, IndicatorTextCount> TaxLabelIds = {
    IDS_TAX_INCLUDED, IDS_TAX_EXCLUDED, IDS_TAX_AMOUNT};

using TextBuffer = std::unique_ptr<std::array<char, TextBufferSize>>;

// The indicator a non-zero memory shows.
inline constexpr char MemoryMark[] = "M";

// What the display shows: the number as drawn and the one indicator beside it.
struct ShownDisplay {
    std::array<char, FormatBufferSize> number{};
    Indicator indicator;

    bool operator==(const ShownDisplay&) const = default;
};

class CalcApp {
  public:
    // The platform objects must outlive the application: the engine keeps references.
    explicit CalcApp(const EnginePlatform& platform);
    ~CalcApp();

    CalcApp(const CalcApp&) = delete;
    CalcApp& operator=(const CalcApp&) = delete;

    // The skin at a scale; the context serves only to measure bitmaps.
    void LoadSkin(HINSTANCE instance, HDC dc, int dpi = BaseDpi);
    void ReleaseSkin();
    // Rebuilds what depends on the scale: layout, glyphs, brush, pens, region, fonts, keys.
    void ScaleSkin(HINSTANCE instance, HDC dc, int dpi);
    // Gives the region to the window, which owns it from then on.
    void Shape(HWND window);

    void Paint(HWND window);
    // Everything Paint draws, into any context: body, keys, display strip and its content.
    void DrawWindow(HDC dc);
    void DrawDisplay(HDC dc, const DisplayBox& box);
    void InvalidateDisplay(HWND window) const;
    // The display strip as a rectangle, for invalidating and hit tests.
    RECT DisplayStrip() const {
        const DisplayBox box = layout.display;
        return {box.x, box.y, box.x + box.width, box.y + box.height};
    }

    std::int32_t TrackKey(HWND window, int x, int y, KeyTrackMode mode);
    // A screen reader's press of a key: shown and sent as a click would be. False when the
    // command character could not be posted.
    bool PressKeyFor(HWND window, std::size_t index);

    std::int32_t ShowPopupMenu(HWND window, int x, int y) const;
    void ShowHelp(HWND window) const;

    // Runs a command character and repaints the display when it changed, which includes
    // a tax label going away on a refused command; screen readers hear of what it shows.
    void RunCommand(HWND window, std::int32_t character);
    ShownDisplay Shown() const;
    // Index of the key under a client point, or -1.
    int KeyAt(POINT point) const;

    // Reads the system's high-contrast mode and repaints the window in it at once.
    void FollowSystemColours(HWND window);
    HBRUSH BodyFill() const;
    // A text's own colour, or the system colour that replaces it in high contrast.
    COLORREF TextColour(COLORREF own, int systemColour) const;

    GlyphSizes MeasuredGlyphSizes() const;
    // The bitmap of a glyph slot, or null.
    HBITMAP GlyphBitmap(std::size_t glyph) const;

    SkinLayout layout = LayoutForDpi(BaseDpi);
    RegionHandle windowRegion;
    BrushHandle bodyBrush;
    PenHandle bodyPen;
    PenHandle displayEdgePen;
    PenHandle displayShadowPen;
    std::array<BitmapHandle, 10> digitGlyphs;
    BitmapHandle minusGlyph;
    BitmapHandle pointGlyph;
    BitmapHandle commaGlyph;
    std::array<GlyphSize, 10> digitSizes{};
    GlyphSize minusSize;
    GlyphSize pointSize;
    GlyphSize commaSize;
    CalcEngine engine;
    std::array<CalcKey, KeyCount> keys;
    std::array<TextBuffer, IndicatorTextCount> errorTexts;
    std::array<TextBuffer, IndicatorTextCount> taxLabels;
    MenuHandle popupMenu;
    KeyboardInput keyboard;
    // An ANSI window gets a double-byte character (from the input method, say) as two
    // WM_CHAR bytes; the second may look like a command ("２" ends in "Q") and must not act.
    bool trailByteDue = false;
    bool highContrast = false;
    // Last, so that it lets go of the window before anything it reads goes away.
    AccessibleHolder accessible;

  private:
    void SetPressed(HWND window, std::size_t index, std::int32_t pressed);
    void ReleaseScaledSkin();
    void DrawKey(HDC dc, const CalcKey& key) const;
    void DrawDisplayStrip(HDC dc, const DisplayBox& box) const;
    void DrawIndicator(HDC dc, const DisplayBox& box, const Indicator& indicator) const;
};

// Screen readers address the display and the keys by these child ids.
inline constexpr LONG DisplayChildId = 1;
inline constexpr LONG FirstKeyChildId = 2;
