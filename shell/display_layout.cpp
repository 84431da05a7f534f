#include "shell/display_layout.h"

std::optional<std::size_t> GlyphFor(char character) {
    if (character >= '0' && character <= '9') {
        return static_cast<std::size_t>(character - '0');
    }
    switch (character) {
        case '-':
            return MinusGlyph;
        case '.':
            return PointGlyph;
        case ',':
            return CommaGlyph;
        default:
            return std::nullopt;
    }
}

namespace {

int ScaledLength(int length, double scale) {
    return static_cast<int>(static_cast<double>(length) * scale);
}

}  // namespace

NumberLayout LayoutNumber(std::string_view text, const GlyphSizes& sizes, const DisplayBox& box) {
    // Wide enough that no bitmap sizes can overflow the sum.
    std::int64_t totalWidth = 0;
    int maxHeight = 0;
    for (char character : text) {
        if (auto glyph = GlyphFor(character)) {
            totalWidth += sizes[*glyph].width;
            if (sizes[*glyph].height > maxHeight) {
                maxHeight = sizes[*glyph].height;
            }
        }
    }

    const std::int64_t half = totalWidth / 2;
    const int available = box.width - box.margin;
    double scaleX = 1.0;
    int x = box.x;
    if (available > half) {
        x = available - static_cast<int>(half) + box.x;
    } else if (half > 0) {
        scaleX = available > 0 ? static_cast<double>(available) / static_cast<double>(half) : 0.0;
    }

    double scaleY = 1.0;
    int y = box.y;
    if (box.height > maxHeight) {
        y = box.y + (box.height - maxHeight) / 2;
    } else if (maxHeight > 0) {
        scaleY =
            box.height > 0 ? static_cast<double>(box.height) / static_cast<double>(maxHeight) : 0.0;
    }

    NumberLayout layout;
    for (char character : text) {
        auto glyph = GlyphFor(character);
        if (!glyph || layout.count == layout.glyphs.size()) {
            continue;
        }
        const GlyphSize source = sizes[*glyph];
        GlyphPlacement& placed = layout.glyphs[layout.count++];
        placed.glyph = *glyph;
        placed.x = x;
        placed.y = y;
        placed.width = ScaledLength(source.width / 2, scaleX);
        placed.height = ScaledLength(source.height, scaleY);
        x += placed.width;
    }
    return layout;
}

Indicator ChooseIndicator(std::uint32_t errorCode, std::uint32_t taxState, bool memoryNonZero) {
    if (errorCode != 0) {
        if (errorCode > IndicatorTextCount) {
            return {};
        }
        return {IndicatorKind::Error, errorCode - 1};
    }
    if (taxState != 0) {
        if (taxState > IndicatorTextCount) {
            return {};
        }
        return {IndicatorKind::Tax, taxState - 1};
    }
    if (memoryNonZero) {
        return {IndicatorKind::Memory, 0};
    }
    return {};
}
