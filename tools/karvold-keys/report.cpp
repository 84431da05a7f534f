#include "report.h"

#include <array>
#include <cstdint>

#include "shell/display_layout.h"

std::string DisplayText(const CalcEngine& engine) {
    std::array<char, FormatBufferSize> buffer{};
    engine.display.Format(buffer.data(), buffer.size(), true);
    return buffer.data();
}

// The display's texts, in the order of the indicator's text index.
constexpr const char* ErrorTexts[IndicatorTextCount] = {"ゼロ割り算エラー", "桁あふれエラー",
                                                        "入力エラー"};
constexpr const char* TaxLabels[IndicatorTextCount] = {"税込", "税抜", "税"};

std::string IndicatorText(const CalcEngine& engine) {
    const Indicator indicator =
        ChooseIndicator(static_cast<std::uint32_t>(engine.display.errorCode),
                        static_cast<std::uint32_t>(engine.taxState), !engine.memory.IsZero());
    switch (indicator.kind) {
        case IndicatorKind::Error:
            return ErrorTexts[indicator.textIndex];
        case IndicatorKind::Tax:
            return TaxLabels[indicator.textIndex];
        case IndicatorKind::Memory:
            return "M";
        case IndicatorKind::None:
            break;
    }
    return "";
}

std::string KeyText(unsigned char key) {
    constexpr unsigned char FirstPrintable = 0x20;
    constexpr unsigned char LastPrintable = 0x7E;
    if (key >= FirstPrintable && key <= LastPrintable) {
        return std::string(1, static_cast<char>(key));
    }
    if (key == '\r') {
        return "\\r";
    }
    if (key == '\b') {
        return "\\b";
    }
    constexpr const char* HexDigits = "0123456789abcdef";
    return {'\\', 'x', HexDigits[key >> 4], HexDigits[key & 0x0F]};
}
