// Strings, menu, About box and version information, as the program's ANSI calls see them under
// the Japanese code page. Ids are numbers, the program's fixed contract, except where a test
// checks the names that the program uses.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "resource_ids.h"

namespace {

HMODULE Module() { return GetModuleHandleA(nullptr); }

constexpr int TextSize = 260;

std::string LoadAnsi(UINT id) {
    char buffer[TextSize] = {};
    const int length = LoadStringA(Module(), id, buffer, TextSize);
    return std::string(buffer, static_cast<std::size_t>(length > 0 ? length : 0));
}

std::wstring LoadWide(UINT id) {
    wchar_t buffer[TextSize] = {};
    const int length = LoadStringW(Module(), id, buffer, TextSize);
    return std::wstring(buffer, static_cast<std::size_t>(length > 0 ? length : 0));
}

// Shift-JIS bytes written out, so that no conversion of ours stands between the resource and
// the expectation.
struct StringCase {
    UINT id;
    const char* shiftJis;
    const wchar_t* text;
};

constexpr StringCase Strings[] = {
    {1, "OFF", L"OFF"},
    {2, "\x95\xa1\x8e\xca", L"複写"},
    {3, "\x93\x5c\x95\x74", L"貼付"},
    {4, "\x90\xc5\x8d\x9e", L"税込"},
    {5, "\x90\xc5\x94\xb2", L"税抜"},
    {6, "AC", L"AC"},
    {7, "C", L"C"},
    {8, "%", L"%"},
    {9, "+-", L"+-"},
    {10, "GT", L"GT"},
    {11, "7", L"7"},
    {12, "8", L"8"},
    {13, "9", L"9"},
    {14, "\x81\x80", L"÷"},
    {15, "MC", L"MC"},
    {16, "4", L"4"},
    {17, "5", L"5"},
    {18, "6", L"6"},
    {19, "\x81\x7e", L"×"},
    {20, "MR", L"MR"},
    {21, "1", L"1"},
    {22, "2", L"2"},
    {23, "3", L"3"},
    {24, "-", L"-"},
    {25, "M-", L"M-"},
    {26, "0", L"0"},
    {27, "\xa5", L"･"},  // half-width middle dot: one byte
    {28, "=", L"="},
    {29, "+", L"+"},
    {30, "M+", L"M+"},
    {31, "\x83\x5b\x83\x8d\x8a\x84\x82\xe8\x8e\x5a\x83\x47\x83\x89\x81\x5b", L"ゼロ割り算エラー"},
    {32, "\x8c\x85\x82\xa0\x82\xd3\x82\xea\x83\x47\x83\x89\x81\x5b", L"桁あふれエラー"},
    {33, "\x93\xfc\x97\xcd\x83\x47\x83\x89\x81\x5b", L"入力エラー"},
    {34, "\x90\xc5", L"税"},
};

TEST(ResourceStrings, RunUnderTheJapaneseCodePage) {
    // Every other expectation here is in Shift-JIS.
    ASSERT_EQ(GetACP(), 932u);
}

TEST(ResourceStrings, KeyCaptionsAndDisplayTextsInShiftJis) {
    for (const auto& c : Strings) {
        SCOPED_TRACE(testing::Message() << "string " << c.id);
        EXPECT_EQ(LoadAnsi(c.id), c.shiftJis);
        EXPECT_EQ(LoadWide(c.id), c.text);
    }
}

TEST(ResourceStrings, NamedIdsPointAtTheirTexts) {
    EXPECT_EQ(LoadWide(IDS_KEY_FIRST), L"OFF");
    EXPECT_EQ(LoadWide(IDS_KEY_FIRST + 29), L"M+");
    EXPECT_EQ(LoadWide(IDS_TAX_INCLUDED), L"税込");
    EXPECT_EQ(LoadWide(IDS_TAX_EXCLUDED), L"税抜");
    EXPECT_EQ(LoadWide(IDS_ERROR_FIRST - 1 + 2), L"桁あふれエラー");
    EXPECT_EQ(LoadWide(IDS_ERROR_DIVIDE_BY_ZERO), L"ゼロ割り算エラー");
    EXPECT_EQ(LoadWide(IDS_ERROR_INPUT), L"入力エラー");
    EXPECT_EQ(LoadWide(IDS_TAX_AMOUNT), L"税");
}

TEST(ResourceStrings, NoneBeyondTheTable) {
    char buffer[TextSize] = {};
    EXPECT_EQ(LoadStringA(Module(), 0, buffer, TextSize), 0);
    EXPECT_EQ(LoadStringA(Module(), 35, buffer, TextSize), 0);
}

struct MenuCase {
    UINT id;  // 0 for a separator
    const char* shiftJis;
};

TEST(ResourceMenu, PopupHoldsItsCommandsInOrder) {
    HMENU menu = LoadMenuA(Module(), MAKEINTRESOURCEA(108));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 1);
    char title[TextSize] = {};
    GetMenuStringA(menu, 0, title, TextSize, MF_BYPOSITION);
    EXPECT_STREQ(title, "aa");
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(popup, nullptr);

    const MenuCase items[] = {
        {40002, "\x83\x77\x83\x8b\x83\x76"},  // ヘルプ
        {0, ""},
        {40003, "\x83\x6f\x81\x5b\x83\x57\x83\x87\x83\x93\x8f\xee\x95\xf1"},  // バージョン情報
        {0, ""},
        {40005, "\x93\x64\x91\xec\x82\xcc\x8d\xc5\x8f\xac\x89\xbb"},  // 電卓の最小化
    };
    ASSERT_EQ(GetMenuItemCount(popup), 5);
    for (UINT position = 0; position < 5; ++position) {
        SCOPED_TRACE(testing::Message() << "position " << position + 1);
        char text[TextSize] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = TextSize;
        ASSERT_TRUE(GetMenuItemInfoA(popup, position, TRUE, &info));
        EXPECT_EQ(info.hSubMenu, nullptr);
        const MenuCase& expected = items[position];
        if (expected.id == 0) {
            EXPECT_NE(info.fType & MFT_SEPARATOR, 0u);
        } else {
            EXPECT_EQ(info.fType & MFT_SEPARATOR, 0u);
            EXPECT_EQ(info.wID, expected.id);
            EXPECT_STREQ(text, expected.shiftJis);
        }
    }
    DestroyMenu(menu);
}

// Walks a dialog template word by word.
class TemplateReader {
public:
    explicit TemplateReader(const BYTE* start) : start_(start), at_(start) {}

    WORD Word() {
        WORD w;
        std::memcpy(&w, at_, sizeof(w));
        at_ += sizeof(w);
        return w;
    }
    DWORD DoubleWord() {
        DWORD d;
        std::memcpy(&d, at_, sizeof(d));
        at_ += sizeof(d);
        return d;
    }
    short Short() { return static_cast<short>(Word()); }
    std::wstring String() {
        std::wstring s;
        for (WORD w = Word(); w != 0; w = Word()) s.push_back(static_cast<wchar_t>(w));
        return s;
    }
    // A name or an ordinal: "#n" for the ordinal n, "" for none.
    std::wstring NameOrOrdinal() {
        WORD first;
        std::memcpy(&first, at_, sizeof(first));
        if (first == 0xFFFF) {
            Word();
            return L"#" + std::to_wstring(Word());
        }
        return String();
    }
    void AlignToDoubleWord() {
        while ((at_ - start_) % 4 != 0) ++at_;
    }

private:
    const BYTE* start_;
    const BYTE* at_;
};

struct DialogItem {
    DWORD style;
    short x, y, cx, cy;
    WORD id;
    std::wstring className;
    std::wstring text;
};

TEST(ResourceDialog, AboutBoxTemplate) {
    HRSRC found = FindResourceA(Module(), MAKEINTRESOURCEA(100), MAKEINTRESOURCEA(5));
    ASSERT_NE(found, nullptr);
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(Module(), found)));
    ASSERT_NE(bytes, nullptr);
    TemplateReader reader(bytes);

    const DWORD style = reader.DoubleWord();
    ASSERT_NE(style, 0xFFFF0001u) << "a classic template, not an extended one";
    EXPECT_EQ(style, static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME |
                                        DS_SETFONT));
    EXPECT_EQ(reader.DoubleWord(), 0u);  // extended style
    const WORD count = reader.Word();
    ASSERT_EQ(count, 4);
    EXPECT_EQ(reader.Short(), 0);
    EXPECT_EQ(reader.Short(), 0);
    EXPECT_EQ(reader.Short(), 217);
    EXPECT_EQ(reader.Short(), 55);
    EXPECT_EQ(reader.NameOrOrdinal(), L"");  // no menu
    EXPECT_EQ(reader.NameOrOrdinal(), L"");  // the standard dialog class
    EXPECT_EQ(reader.String(), L"ﾊﾞｰｼﾞｮﾝ情報(Karvold)");
    EXPECT_EQ(reader.Word(), 9);
    EXPECT_EQ(reader.String(), L"ＭＳ Ｐゴシック");

    std::vector<DialogItem> items;
    for (WORD i = 0; i < count; ++i) {
        reader.AlignToDoubleWord();
        DialogItem item;
        item.style = reader.DoubleWord();
        reader.DoubleWord();  // extended style
        item.x = reader.Short();
        item.y = reader.Short();
        item.cx = reader.Short();
        item.cy = reader.Short();
        item.id = reader.Word();
        item.className = reader.NameOrOrdinal();
        item.text = reader.NameOrOrdinal();
        const WORD extra = reader.Word();
        for (WORD k = 0; k < extra; k += 2) reader.Word();
        items.push_back(item);
    }

    constexpr WORD NoId = 0xFFFF;  // -1
    const DWORD child = WS_CHILD | WS_VISIBLE;
    const DialogItem expected[] = {
        {child | SS_ICON, 11, 17, 20, 20, NoId, L"#130", L"#118"},
        {child | WS_GROUP | SS_LEFT, 40, 10, 119, 8, NoId, L"#130",
         L"Faltrane 電卓ツール Ver.9.24"},
        {child | WS_GROUP | SS_LEFT, 40, 25, 151, 8, NoId, L"#130", L""},
        {child | WS_TABSTOP | WS_GROUP | BS_DEFPUSHBUTTON, 178, 7, 32, 14, IDOK, L"#128", L"OK"},
    };
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(testing::Message() << "item " << i + 1);
        const DialogItem& got = items[i];
        const DialogItem& want = expected[i];
        EXPECT_EQ(got.style, want.style) << std::hex << got.style;
        EXPECT_EQ(got.x, want.x);
        EXPECT_EQ(got.y, want.y);
        EXPECT_EQ(got.cx, want.cx);
        EXPECT_EQ(got.cy, want.cy);
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(got.className, want.className) << "#130 static, #128 button";
        if (!want.text.empty()) {
            EXPECT_EQ(got.text, want.text);
        }
    }
    EXPECT_EQ(items[2].text.rfind(L"Copyright (C) ", 0), 0u) << "the maker's copyright line";
    EXPECT_NE(items[2].text.find(L"Orvex"), std::wstring::npos);
}

INT_PTR CALLBACK QuietDialog(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

TEST(ResourceDialog, AboutBoxOpensWithItsIconAndTexts) {
    HWND dialog = CreateDialogParamA(Module(), MAKEINTRESOURCEA(100), nullptr,
                                     QuietDialog, 0);
    ASSERT_NE(dialog, nullptr);
    char text[TextSize] = {};
    GetWindowTextA(dialog, text, TextSize);
    // ﾊﾞｰｼﾞｮﾝ情報(Karvold): the half-width katakana are single bytes.
    EXPECT_STREQ(text, "\xca\xde\xb0\xbc\xde\xae\xdd\x8f\xee\x95\xf1(Karvold)");
    HWND ok = GetDlgItem(dialog, IDOK);
    ASSERT_NE(ok, nullptr);
    GetWindowTextA(ok, text, TextSize);
    EXPECT_STREQ(text, "OK");
    EXPECT_EQ(SendMessageA(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(IDOK, DC_HASDEFID));

    HWND icon = nullptr;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) icon = child;
    }
    ASSERT_NE(icon, nullptr);
    EXPECT_NE(SendMessageA(icon, STM_GETICON, 0, 0), 0) << "icon 118 resolved";
    DestroyWindow(dialog);
}

class VersionInfo {
public:
    VersionInfo() {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
        data_.resize(size);
        if (size == 0 || !GetFileVersionInfoA(path, 0, size, data_.data())) data_.clear();
    }
    bool Loaded() const { return !data_.empty(); }
    template <typename T>
    const T* Query(const char* key, UINT* length = nullptr) {
        void* value = nullptr;
        UINT size = 0;
        if (!VerQueryValueA(data_.data(), key, &value, &size)) return nullptr;
        if (length) *length = size;
        return static_cast<const T*>(value);
    }
    std::string Text(const char* name) {
        const std::string key = std::string("\\StringFileInfo\\041104B0\\") + name;
        const char* value = Query<char>(key.c_str());
        return value ? value : "<missing>";
    }

private:
    std::vector<BYTE> data_;
};

TEST(ResourceVersion, NumbersNamesAndJapaneseBlock) {
    VersionInfo info;
    ASSERT_TRUE(info.Loaded());
    const auto* fixed = info.Query<VS_FIXEDFILEINFO>("\\");
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00090002u);  // 9.2
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00040001u);  // .4.1
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00090002u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00040001u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    UINT length = 0;
    const auto* translation = info.Query<WORD>("\\VarFileInfo\\Translation", &length);
    ASSERT_NE(translation, nullptr);
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(translation[0], 0x0411);
    EXPECT_EQ(translation[1], 1200);

    EXPECT_EQ(info.Text("InternalName"), "Karvold");
    EXPECT_EQ(info.Text("OriginalFilename"), "karvold.exe");
    EXPECT_EQ(info.Text("FileVersion"), "9.2.4.1");
    EXPECT_EQ(info.Text("ProductVersion"), "9.2.4.1");
    EXPECT_EQ(info.Text("ProductName"), "Faltrane");
    EXPECT_NE(info.Text("CompanyName").find("Orvex"), std::string::npos);
    EXPECT_EQ(info.Text("LegalCopyright").rfind("Copyright (C) ", 0), 0u);
    // Faltrane 電卓ツール, converted to Shift-JIS by the ANSI query.
    EXPECT_EQ(info.Text("FileDescription"), "Faltrane \x93\x64\x91\xec\x83\x63\x81\x5b\x83\x8b");
}

}  // namespace
