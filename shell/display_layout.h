#pragma once

// Where the glyphs of the displayed number go, and which indicator the display shows:
// computed from the measured glyph sizes alone, so tests can check it without a window.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

struct GlyphSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// Glyph slots: the digits by value, then the three signs.
inline constexpr std::size_t MinusGlyph = 10;
inline constexpr std::size_t PointGlyph = 11;
inline constexpr std::size_t CommaGlyph = 12;
inline constexpr std::size_t GlyphCount = 13;

using GlyphSizes = std::array<GlyphSize, GlyphCount>;

// The glyph slot for a character of formatted number text; nothing for any other byte.
std::optional<std::size_t> GlyphFor(char character);

struct GlyphPlacement {
    std::size_t glyph = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

inline constexpr std::size_t MaxPlacedGlyphs = 260;

struct NumberLayout {
    std::array<GlyphPlacement, MaxPlacedGlyphs> glyphs{};
    std::size_t count = 0;
};

// Every length is its 96-DPI value scaled on its own, rounded half away from zero as MulDiv
// rounds, never derived from another scaled length, so that no error accumulates.
inline constexpr int BaseDpi = 96;

constexpr int Scaled(int length, int dpi) {
    const std::int64_t product = std::int64_t{length} * dpi;
    const std::int64_t half = product < 0 ? -BaseDpi / 2 : BaseDpi / 2;
    return static_cast<int>((product + half) / BaseDpi);
}

struct DisplayBox {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int margin = 0;
};

// The display strip in client coordinates: inset by DisplayLeft on both sides of the window
// (96-DPI lengths).
inline constexpr int DisplayLeft = 15;
inline constexpr int DisplayTop = 20;
inline constexpr int DisplayHeight = 40;
inline constexpr int DisplayMargin = 3;

constexpr DisplayBox DisplayBoxFor(int clientWidth, int dpi = BaseDpi) {
    const int inset = Scaled(DisplayLeft, dpi);
    return {inset, Scaled(DisplayTop, dpi), clientWidth - 2 * inset, Scaled(DisplayHeight, dpi),
            Scaled(DisplayMargin, dpi)};
}

// Each glyph is drawn at half its bitmap width, right-aligned about margin pixels before the
// right edge and centred vertically; a number too wide or too tall is squeezed to fit.
NumberLayout LayoutNumber(std::string_view text, const GlyphSizes& sizes, const DisplayBox& box);

enum class IndicatorKind {
    None,
    Error,   // text index = error code - 1
    Tax,     // text index = tax state - 1
    Memory,  // the "M" mark
};

struct Indicator {
    IndicatorKind kind = IndicatorKind::None;
    std::size_t textIndex = 0;

    bool operator==(const Indicator&) const = default;
};

inline constexpr std::size_t IndicatorTextCount = 3;

// An error hides the tax label, and the tax label hides the memory mark. Codes without a
// text show nothing, so that a table is never read past its end.
Indicator ChooseIndicator(std::uint32_t errorCode, std::uint32_t taxState, bool memoryNonZero);
