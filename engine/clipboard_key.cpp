// Copy and paste of the displayed number as plain text.

#include <array>
#include <cstdint>
#include <string_view>

#include "engine/calc_engine.h"

namespace {

// A pasted text counts at most this many characters; the buffer keeps a terminator.
constexpr std::size_t MaxPasteLength = 19;

}  // namespace

std::int32_t CalcEngine::ClipboardKey(bool paste) {
    if (!BeginCommand()) {
        return 0;
    }

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
    // Parse stops at the terminator; the bound holds even if the platform left none.
    display.Parse(std::string_view(pasted.data(), MaxPasteLength));

    // The pasted number is one being typed: 12 pasted, then 3, shows 123.
    state = NewNumberState();
    return 1;
}
