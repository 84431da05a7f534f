// Copy and paste of the displayed number as plain text.

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "engine/calc_engine.h"

namespace {

// A pasted text counts at most this many characters; the buffer keeps a terminator.
constexpr std::size_t MaxPasteLength = 19;

}  // namespace

std::int32_t CalcEngine::ClipboardKey(bool paste) {
    if (state == EngineState::Error) {
        return 0;
    }
    taxState = TaxState::None;

    if (!paste) {
        // The display shows 1,234,567.5; the clipboard receives 1234567.5.
        std::array<char, FormatBufferSize> text{};
        display.Format(text.data(), text.size(), false);
        return clipboard_.SetText(text.data()) ? 1 : 0;
    }

    std::array<char, MaxPasteLength + 1> pasted{};
    if (!clipboard_.GetText(pasted.data(), pasted.size())) {
        return 0;
    }
    const void* end = std::memchr(pasted.data(), '\0', MaxPasteLength);
    const std::size_t length =
        end ? static_cast<std::size_t>(static_cast<const char*>(end) - pasted.data())
            : MaxPasteLength;
    display.Parse(std::string_view(pasted.data(), length));

    // The pasted number is one being typed: 12 pasted, then 3, shows 123.
    switch (state) {
        case EngineState::Cleared:
            state = EngineState::EnteringFirst;
            break;
        case EngineState::Waiting:
        case EngineState::Result:
            state = pendingOperator != Operator::None ? EngineState::EnteringSecond
                                                      : EngineState::EnteringFirst;
            break;
        case EngineState::EnteringFirst:
        case EngineState::EnteringSecond:
        case EngineState::Error:
            break;
    }
    return 1;
}
