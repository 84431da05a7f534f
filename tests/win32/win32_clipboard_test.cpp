// The clipboard's plain text through the real clipboard: every case puts its own contents
// there with the raw calls and reads back what the clipboard really holds.

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "raw_clipboard.h"
#include "shell/platform/win32_platform.h"

namespace {

const std::string taxIncluded = "\x90\xc5\x8d\x9e";  // "税込" in Shift-JIS

struct PasteResult {
    bool ok = false;
    std::string text;
    bool guardIntact = false;  // nothing written past size
};

PasteResult Paste(std::size_t size) {
    constexpr char untouched = 'x';
    constexpr std::size_t guard = 64;
    std::vector<char> buffer(size + guard, untouched);
    PasteResult result;
    result.ok = Win32Clipboard().GetText(buffer.data(), size);
    result.text = std::string(buffer.data(), strnlen(buffer.data(), size));
    if (result.ok && result.text.size() == size) {
        result.text += "<unterminated>";
    }
    result.guardIntact = std::all_of(buffer.begin() + static_cast<std::ptrdiff_t>(size),
                                     buffer.end(), [](char c) { return c == untouched; });
    return result;
}

constexpr std::size_t PasteBufferSize = 20;

TEST(Win32ClipboardTest, SetTextReplacesTheContentsWithTheText) {
    const std::string rows[] = {
        "-0.5", "1234567", "999999999998.99999999999", "0", "", taxIncluded,
    };
    for (const std::string& text : rows) {
        SCOPED_TRACE("text \"" + text + "\"");
        ASSERT_TRUE(PutBitmapOnly());
        EXPECT_TRUE(Win32Clipboard().SetText(text));
        EXPECT_TRUE(ClipboardIsClosed());
        EXPECT_EQ(ClipboardText(), text);
        EXPECT_FALSE(HasFormat(CF_BITMAP)) << "the earlier contents stay";
    }
}

TEST(Win32ClipboardTest, GetTextTakesTheTextUpToTheBuffer) {
    struct PasteCase {
        const char* name;
        std::string text;
        std::size_t size;
        std::string expected;
    };
    const PasteCase rows[] = {
        {"grouped number", "1,234", PasteBufferSize, "1,234"},
        {"19 characters fill the buffer", "1234567890123456789", PasteBufferSize,
         "1234567890123456789"},
        {"20 characters", "12345678901234567890", PasteBufferSize, "1234567890123456789"},
        {"25 characters", "1234567890123456789012345", PasteBufferSize, "1234567890123456789"},
        {"empty text", "", PasteBufferSize, ""},
        {"Shift-JIS text", taxIncluded + "8", PasteBufferSize, taxIncluded + "8"},
        {"room for the terminator only", "12", 1, ""},
        {"two bytes", "12", 2, "1"},
    };
    for (const PasteCase& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(PutText(row.text));
        PasteResult result = Paste(row.size);
        EXPECT_TRUE(result.ok);
        EXPECT_EQ(result.text, row.expected);
        EXPECT_TRUE(result.guardIntact);
        EXPECT_TRUE(ClipboardIsClosed());
        EXPECT_EQ(ClipboardText(), row.text) << "a paste leaves the clipboard as it was";
    }
}

TEST(Win32ClipboardTest, GetTextTakesUnicodeTextInTheAnsiCodePage) {
    struct UnicodeCase {
        std::wstring text;
        std::string expected;
    };
    const UnicodeCase rows[] = {
        {L"4,321", "4,321"},
        {L"\u7a0e\u8fbc", taxIncluded},
    };
    for (const UnicodeCase& row : rows) {
        SCOPED_TRACE(row.expected);
        ASSERT_TRUE(PutUnicodeText(row.text));
        PasteResult result = Paste(PasteBufferSize);
        EXPECT_TRUE(result.ok);
        EXPECT_EQ(result.text, row.expected);
    }
}

TEST(Win32ClipboardTest, GetTextFailsWithoutTextAndClosesTheClipboard) {
    struct EmptyCase {
        const char* name;
        bool (*put)();
    };
    const EmptyCase rows[] = {{"bitmap only", PutBitmapOnly}, {"nothing", PutNothing}};
    for (const EmptyCase& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(row.put());
        bool hadBitmap = HasFormat(CF_BITMAP);
        EXPECT_FALSE(Paste(PasteBufferSize).ok);
        EXPECT_TRUE(ClipboardIsClosed());
        EXPECT_EQ(HasFormat(CF_BITMAP), hadBitmap);
    }
}

TEST(Win32ClipboardTest, GetTextStopsAtTheEndOfABlockWithoutTerminator) {
    // Windows hands such a block over as it is; Wine writes a terminator over its last byte
    // when it is set. Either way nothing past the block may be read.
    for (std::size_t digits : {1u, 10u, 16u, 4096u}) {
        SCOPED_TRACE(std::to_string(digits) + " digits");
        std::string block(digits, '7');
        ASSERT_TRUE(PutBlock(CF_TEXT, block.data(), block.size()));
        PasteResult result = Paste(digits + 1);
        EXPECT_TRUE(result.ok);
        EXPECT_TRUE(result.text == block || result.text == block.substr(0, digits - 1))
            << result.text.size() << " characters: " << result.text.substr(0, 40);
        EXPECT_TRUE(result.guardIntact);
        EXPECT_TRUE(ClipboardIsClosed());
    }
}

std::string DigitText(std::size_t length) {
    std::string text(length, '0');
    for (std::size_t i = 0; i < length; ++i) {
        text[i] = static_cast<char>('0' + i % 10);
    }
    return text;
}

TEST(Win32ClipboardTest, MebibyteTextGoesBothWays) {
    const std::string text = DigitText(1 << 20);
    ASSERT_TRUE(Win32Clipboard().SetText(text));
    EXPECT_EQ(ClipboardText(), text);

    PasteResult whole = Paste(text.size() + 1);
    EXPECT_TRUE(whole.ok);
    EXPECT_TRUE(whole.text == text) << whole.text.size() << " characters";
    PasteResult start = Paste(PasteBufferSize);
    EXPECT_TRUE(start.ok);
    EXPECT_EQ(start.text, text.substr(0, PasteBufferSize - 1));
    EXPECT_TRUE(ClipboardIsClosed());
}

TEST(Win32ClipboardTest, ClipboardHeldByAnotherWindowRefusesBothWays) {
    ASSERT_TRUE(PutText("55"));
    {
        ClipboardHolder holder;
        ASSERT_TRUE(holder.Holding());
        EXPECT_FALSE(Win32Clipboard().SetText("66"));
        EXPECT_FALSE(Paste(PasteBufferSize).ok);
    }
    EXPECT_EQ(ClipboardText(), "55");
    EXPECT_TRUE(Win32Clipboard().SetText("77")) << "free again once the other window let go";
    EXPECT_EQ(ClipboardText(), "77");
}

std::size_t PrivateBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PagefileUsage;
}

TEST(Win32ClipboardTest, RefusedCopyFreesItsBlock) {
    const std::string text = DigitText(1 << 20);
    constexpr int attempts = 64;
    ClipboardHolder holder;
    ASSERT_TRUE(holder.Holding());
    ASSERT_FALSE(Win32Clipboard().SetText(text));  // the heap has grown to its working size
    std::size_t before = PrivateBytes();
    for (int i = 0; i < attempts; ++i) {
        ASSERT_FALSE(Win32Clipboard().SetText(text));
    }
    std::size_t after = PrivateBytes();
    // A leak would keep all 64 MiB; allow a few blocks for heap slack.
    EXPECT_LT(after - std::min(after, before), 8u * text.size())
        << before << " -> " << after << " private bytes";
}

}  // namespace
