#include "engine_harness.h"

#include <array>

MemoryInstallation NoInstallation() {
    MemoryInstallation installation;
    installation.keyPresent = false;
    return installation;
}

std::int32_t TestEngine::Press(std::string_view keys) {
    std::int32_t result = 0;
    for (char key : keys) {
        result = engine.HandleCommand(static_cast<unsigned char>(key));
    }
    return result;
}

std::string Shown(const DecimalValue& value) {
    std::array<char, FormatBufferSize> buffer{};
    value.Format(buffer.data(), buffer.size(), true);
    return buffer.data();
}

namespace {

std::string Raw(const DecimalValue& value) {
    return std::to_string(value.integerPart) + '+' + std::to_string(value.numerator) + '/' +
           std::to_string(value.denominator) + (value.negative != 0 ? " neg" : "") + " err" +
           std::to_string(static_cast<std::uint32_t>(value.errorCode));
}

std::string Code(auto value) {
    return std::to_string(static_cast<std::uint32_t>(value));
}

}  // namespace

std::string Fields(const CalcEngine& e) {
    return "display " + Raw(e.display) + ", left " + Raw(e.leftOperand) + ", right " +
           Raw(e.rightOperand) + ", memory " + Raw(e.memory) + ", gt " + Raw(e.grandTotal) +
           ", constant " + Raw(e.constant) + ", constantOperator " + Code(e.constantOperator) +
           ", state " + Code(e.state) + ", fractionEntry " + std::to_string(e.fractionEntry) +
           ", pendingOperator " + Code(e.pendingOperator) + ", taxState " + Code(e.taxState) +
           ", taxRate " + Raw(e.taxRate) + ", taxBase " + Raw(e.taxBase) + ", taxRounding " +
           Code(e.taxRounding);
}

bool IsCommandCharacter(std::int32_t character) {
    return character > 0 && character < 0x80 &&
           CommandCharacters.find(static_cast<char>(character)) != std::string_view::npos;
}
