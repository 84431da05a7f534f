#include "report.h"

#include <array>

std::string DisplayText(const CalcEngine& engine) {
    std::array<char, FormatBufferSize> buffer{};
    engine.display.Format(buffer.data(), buffer.size(), true);
    return buffer.data();
}

namespace {

const char* ErrorText(DecimalError code) {
    switch (code) {
        case DecimalError::DivideByZero:
            return "ゼロ割り算エラー";
        case DecimalError::Overflow:
            return "桁あふれエラー";
        case DecimalError::Input:
            return "入力エラー";
        case DecimalError::None:
            break;
    }
    return "";
}

const char* TaxLabel(TaxState taxState) {
    switch (taxState) {
        case TaxState::Included:
            return "税込";
        case TaxState::Excluded:
            return "税抜";
        case TaxState::TaxAmount:
            return "税";
        case TaxState::None:
            break;
    }
    return "";
}

}  // namespace

std::string IndicatorText(const CalcEngine& engine) {
    if (engine.display.HasError()) {
        return ErrorText(engine.display.errorCode);
    }
    if (engine.taxState != TaxState::None) {
        return TaxLabel(engine.taxState);
    }
    return engine.memory.IsZero() ? "" : "M";
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
