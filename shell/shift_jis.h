#pragma once

// The texts stay Shift-JIS bytes in the program's buffers on any system: they pass to and from
// the system's UTF-16 calls through code page 932, never through the ANSI code page.

#include <windows.h>

#include <cstddef>
#include <string_view>

inline constexpr UINT ShiftJisCodePage = 932;

// A caption, label or error text with its terminator, as the string table holds them.
inline constexpr std::size_t TextBufferSize = 260;

// A string-table entry as the resource holds it: UTF-16, not terminated, empty when missing.
inline std::wstring_view StringResource(HINSTANCE instance, UINT id) {
    const wchar_t* text = nullptr;
    const int length = LoadStringW(instance, id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring_view(text, static_cast<std::size_t>(length))
                      : std::wstring_view();
}

// A Shift-JIS text never has more UTF-16 characters than bytes, so a buffer of the byte
// buffer's size always holds it; a text that does not convert comes out empty.
template <std::size_t Size>
void WidenShiftJis(const char* text, wchar_t (&wide)[Size]) {
    if (MultiByteToWideChar(ShiftJisCodePage, 0, text, -1, wide, static_cast<int>(Size)) == 0) {
        wide[0] = L'\0';
    }
}
