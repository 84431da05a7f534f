#include <gtest/gtest.h>

#include <array>
#include <iterator>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>

#include "shell/key_input.h"
#include "shell/paste_text.h"

namespace {

constexpr KeyResult Nothing{}, AllClear{KeyAction::Command, BackspaceCommand},
    Copy{KeyAction::PostChar, CopyCommand}, Paste{KeyAction::PostChar, PasteCommand},
    Close{KeyAction::Close, 0};

constexpr KeyResult Typed(char character) {
    return {KeyAction::Command, character};
}

// One key-down with its lParam flags and the modifiers held then, and its key-up, which never
// asks for modifiers: what each does. A second key-up does nothing.
TEST(KeyboardInput, KeyDownAndUpToWhatTheyDo) {
    using namespace VirtualKey;
    constexpr std::uint32_t Ext = ExtendedKeyBit, Rep = KeyWasDownBit, Apps = 0x5D;
    constexpr KeyModifiers No{}, Ctrl{true, false, false}, Shift{false, true, false},
        Alt{false, false, true}, AltGr{true, false, true};
    // Key, lParam flags, modifiers held, what its key-down and its key-up do.
    using Row = std::tuple<std::uint32_t, std::uint32_t, KeyModifiers, KeyResult, KeyResult>;
    // clang-format off
    const Row rows[] = {
        // The keypad with NumLock off: typed at key-down, also when repeated.
        {Insert, 0, No, Typed('0'), Nothing}, {End, 0, No, Typed('1'), Nothing},
        {Down, 0, No, Typed('2'), Nothing}, {Next, 0, No, Typed('3'), Nothing},
        {Left, 0, No, Typed('4'), Nothing}, {Clear, 0, No, Typed('5'), Nothing},
        {Right, 0, No, Typed('6'), Nothing}, {Home, 0, No, Typed('7'), Nothing},
        {Up, 0, No, Typed('8'), Nothing}, {Prior, 0, No, Typed('9'), Nothing},
        {Delete, 0, No, Typed('.'), Nothing}, {Delete, Rep, No, Typed('.'), Nothing},
        {Home, Rep, Shift, Typed('7'), Nothing},
        // The dedicated keys and the shortcuts act at key-up.
        {Delete, 0, Ctrl, Nothing, Nothing}, {Prior, 0, Alt, Nothing, Nothing},
        {Home, Ext, No, Nothing, Nothing}, {Delete, Ext, No, Nothing, AllClear},
        {Insert, Ext, No, Nothing, Paste}, {Insert, Ext, Shift, Nothing, Paste},
        {Insert, Ext, Ctrl, Nothing, Copy}, {Insert, 0, Ctrl, Nothing, Copy},
        {Insert, 0, Shift, Nothing, Paste}, {Insert, Ext, Alt, Nothing, Nothing},
        {Back, 0, No, Nothing, AllClear}, {Escape, 0, No, Nothing, Close},
        {Escape, Rep, No, Nothing, Nothing}, {LetterC, 0, Ctrl, Nothing, Copy},
        {LetterV, 0, Ctrl, Nothing, Paste}, {LetterC, 0, No, Nothing, Nothing},
        {LetterV, 0, Shift, Nothing, Nothing}, {LetterC, 0, AltGr, Nothing, Nothing},
        {Apps, 0, No, Nothing, Nothing}, {0x100, 0, No, Nothing, Nothing},
    };
    // clang-format on
    for (const Row& row : rows) {
        const auto& [key, flags, held, down, up] = row;
        SCOPED_TRACE(testing::Message() << "row " << &row - rows);
        KeyboardInput input;
        EXPECT_EQ(input.KeyDown(key, flags | 1, held), down);
        EXPECT_EQ(input.KeyUp(key), up);
        EXPECT_EQ(input.KeyUp(key), Nothing);
    }
}

std::string Fold(std::u16string_view text) {
    std::array<char, 20> pasted;  // the engine's paste buffer
    pasted.fill('x');
    const std::size_t length = FoldPastedText(text, pasted);
    EXPECT_EQ(pasted[length], '\0');
    return std::string(pasted.data(), length);
}

// Japanese ways of writing a number become the text the calculator reads; ASCII stays as it
// is, so its reading does not change; the first 19 characters of the folded text count.
TEST(FoldPastedText, JapaneseNumbersBecomeAsciiNumberText) {
    const std::u16string longDigits(10000, u'１'),
        longBlanks = std::u16string(9996, u'　') + u"1234";
    const std::u16string surrogates[] = {
        {0xD800, u'1', u'2'}, {u'1', u'2', 0xDC00}, {u'1', 0xD83D, 0xDE00, u'2'}};
    // clang-format off
    const std::pair<std::u16string_view, std::string_view> rows[] = {
        {u"￥1,234", "1,234"}, {u"¥1,234", "1,234"}, {u"１２３４", "1234"},
        {u"１，２３４．５", "1,234.5"}, {u" 1234 ", "1234"}, {u"1,234円", "1,234"},
        {u"△500", "-500"}, {u"▲1,000", "-1,000"}, {u"(1,234)", "-1,234"},
        {u"（１，２３４）", "-1,234"}, {u"－５００", "-500"}, {u"−500", "-500"}, {u"＋５", "+5"},
        {u"\u00A0\u3000￥ 1,234 円\t\r\n", "1,234"}, {u"(￥1,234)", "-1,234"},
        {u"￥(1,234)", "-1,234"}, {u"-￥1,234", "-1,234"}, {u"△-5", "--5"}, {u"￥￥5", "?5"},
        {u"12abc", "12abc"}, {u"1.2.3", "1.2.3"}, {u"1234567890123", "1234567890123"},
        {u"1234567890123456789012345", "1234567890123456789"},
        {u"(", "("}, {u"(5", "(5"}, {u"()", "-"}, {u"△", "-"}, {u"1234 税込", "1234 ??"}, {u"", ""},
        {surrogates[0], "?12"}, {surrogates[1], "12?"}, {surrogates[2], "1??2"},
        {longDigits, "1111111111111111111"}, {longBlanks, "1234"},
    };
    // clang-format on
    for (std::size_t row = 0; row < std::size(rows); ++row)
        EXPECT_EQ(Fold(rows[row].first), rows[row].second) << "row " << row;
    char room[1] = {'x'};
    EXPECT_EQ(FoldPastedText(u"5", room), 0u);
    EXPECT_EQ(room[0], '\0');
}

}  // namespace
