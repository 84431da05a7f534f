#include "shell/paste_text.h"

namespace {

constexpr char Unreadable = '?';

bool IsBlank(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r') || c == u'\u3000' || c == u'\u00A0';
}

bool IsYen(char16_t c) {
    return c == u'\u00A5' || c == u'\uFFE5';
}

bool IsMinus(char16_t c) {
    return c == u'-' || c == u'\uFF0D' || c == u'\u2212';
}

// Japanese accounts write a negative amount as △500 or ▲500.
bool IsNegativeMark(char16_t c) {
    return IsMinus(c) || c == u'\u25B3' || c == u'\u25B2';
}

bool IsOpening(char16_t c) {
    return c == u'(' || c == u'\uFF08';
}

bool IsClosing(char16_t c) {
    return c == u')' || c == u'\uFF09';
}

char AsciiOf(char16_t c) {
    constexpr char16_t FullWidthZero = u'\uFF10';
    constexpr char16_t FullWidthNine = u'\uFF19';
    if (c < 0x80) {
        return static_cast<char>(c);
    }
    if (c >= FullWidthZero && c <= FullWidthNine) {
        return static_cast<char>('0' + (c - FullWidthZero));
    }
    switch (c) {
        case u'\uFF0C':
            return ',';
        case u'\uFF0E':
            return '.';
        case u'\uFF0B':
            return '+';
        default:
            return IsMinus(c) ? '-' : Unreadable;
    }
}

}  // namespace

std::size_t FoldPastedText(std::u16string_view text, std::span<char> ascii) {
    if (ascii.empty()) {
        return 0;
    }
    // Peel the marks around the number in any order, each kind once: "(￥1,234)" and
    // "￥(1,234)" both give -1234.
    bool negative = false, yen = false, en = false;
    while (!text.empty()) {
        if (IsBlank(text.front())) {
            text.remove_prefix(1);
        } else if (IsBlank(text.back())) {
            text.remove_suffix(1);
        } else if (!yen && IsYen(text.front())) {
            yen = true;
            text.remove_prefix(1);
        } else if (!en && text.back() == u'\u5186') {
            en = true;
            text.remove_suffix(1);
        } else if (!negative && IsNegativeMark(text.front())) {
            negative = true;
            text.remove_prefix(1);
        } else if (!negative && IsOpening(text.front()) && IsClosing(text.back())) {
            negative = true;
            text.remove_prefix(1);
            text.remove_suffix(1);
        } else {
            break;
        }
    }
    const std::size_t room = ascii.size() - 1;
    std::size_t length = 0;
    if (negative && length < room) {
        ascii[length++] = '-';
    }
    for (std::size_t i = 0; i < text.size() && length < room; ++i) {
        ascii[length++] = AsciiOf(text[i]);
    }
    ascii[length] = '\0';
    return length;
}
