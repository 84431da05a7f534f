// The program's resources, linked into this executable and loaded with the program's own ANSI
// calls under the Japanese code page. Ids are numbers: they are the program's fixed contract.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

const HMODULE module = GetModuleHandleA(nullptr);

template <typename T>
const T* Stored(int id, LPCSTR type) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    return static_cast<const T*>(found ? LockResource(LoadResource(module, found)) : nullptr);
}

// clang-format off
constexpr std::tuple<int, LONG, LONG> bitmapRows[] = {  // id, width, height
    {101, 35, 39}, {102, 36, 41}, {103, 35, 39}, {104, 35, 39}, {105, 36, 40},  // digits 0-4
    {106, 34, 39}, {107, 35, 39}, {108, 36, 40}, {109, 35, 39}, {110, 33, 39},  // digits 5-9
    {111, 12, 40}, {112, 8, 39}, {115, 8, 8}, {116, 25, 40},  // point, comma, body tile, minus
};
// clang-format on

TEST(ResourceBitmaps, LoadAtTheirSizeWithSixteenColours) {
    for (const auto& [id, width, height] : bitmapRows) {
        SCOPED_TRACE(testing::Message() << "bitmap " << id);
        const auto* header = Stored<BITMAPINFOHEADER>(id, RT_BITMAP);
        ASSERT_NE(header, nullptr);
        EXPECT_EQ(std::tuple(header->biWidth, header->biHeight, header->biBitCount),
                  std::tuple(width, height, WORD{4}));
        EXPECT_TRUE(DeleteObject(LoadBitmapA(module, MAKEINTRESOURCEA(id)))) << "loads";
    }
}

// Each item's label with the command it sends; a separator has neither.
TEST(ResourceMenu, PopupHoldsItsCommandsInOrder) {
    HMENU menu = LoadMenuA(module, MAKEINTRESOURCEA(108));
    HMENU popup = GetSubMenu(menu, 0);
    std::vector<std::pair<std::wstring, UINT>> items;
    for (int position = 0; position < GetMenuItemCount(popup); ++position) {
        wchar_t label[32] = L"";
        GetMenuStringW(popup, static_cast<UINT>(position), label, 32, MF_BYPOSITION);
        items.emplace_back(label, GetMenuItemID(popup, position));
    }
    const std::vector<std::pair<std::wstring, UINT>> expected{
        {L"ヘルプ", 40002}, {L"", 0}, {L"バージョン情報", 40003}, {L"", 0}, {L"電卓の最小化", 40005}};
    EXPECT_EQ(items, expected);
    DestroyMenu(menu);
}

// Its title and default button are what the end-to-end test finds and presses. The version
// it names is the version resource's: major, then minor and patch run together.
TEST(ResourceDialog, AboutBoxShowsTheProgramIconAndVersion) {
    HWND dialog = CreateDialogParamA(module, MAKEINTRESOURCEA(100), nullptr, nullptr, 0);
    ASSERT_NE(dialog, nullptr);
    HWND icon = GetWindow(dialog, GW_CHILD);  // the first item
    EXPECT_NE(SendMessageA(icon, STM_GETICON, 0, 0), 0) << "icon 118 resolved";
    wchar_t text[64] = L"";
    GetWindowTextW(GetWindow(icon, GW_HWNDNEXT), text, 64);
    DestroyWindow(dialog);
    // VS_VERSIONINFO: three words, the key L"VS_VERSION_INFO" and padding to a 4-byte boundary.
    const auto* version = Stored<BYTE>(1, RT_VERSION);
    ASSERT_NE(version, nullptr);
    VS_FIXEDFILEINFO fixed{};
    std::memcpy(&fixed, version + 40, sizeof fixed);
    EXPECT_EQ(text, L"Faltrane 電卓ツール Ver." + std::to_wstring(HIWORD(fixed.dwFileVersionMS)) +
                        L"." + std::to_wstring(LOWORD(fixed.dwFileVersionMS)) +
                        std::to_wstring(HIWORD(fixed.dwFileVersionLS)));
}

TEST(ResourceIcon, GroupHoldsFiveImagesThatLoad) {
    // A group: reserved, type and count words, then 14-byte entries of width (0 for 256),
    // height, colours, reserved, planes, bits per pixel, size and the image's id.
    const auto* group = Stored<BYTE>(118, RT_GROUP_ICON);
    ASSERT_TRUE(group != nullptr && group[4] == 5);
    std::vector<std::pair<int, int>> images;  // width and bits per pixel
    for (const BYTE* entry = group + 6; entry < group + 6 + 5 * 14; entry += 14) {
        const int width = entry[0] ? entry[0] : 256;
        images.push_back({width, entry[6]});
        const BYTE* data = Stored<BYTE>(entry[12] | entry[13] << 8, RT_ICON);
        ASSERT_NE(data, nullptr) << width;
        // The 256 x 256 image is stored as PNG, the others as bitmaps.
        EXPECT_EQ(std::memcmp(data, "\x89PNG", 4) == 0, width == 256) << width;
        DWORD size = 0;
        std::memcpy(&size, entry + 8, sizeof size);
        constexpr DWORD iconFormat = 0x00030000;  // the only version the call accepts
        EXPECT_TRUE(DestroyIcon(CreateIconFromResourceEx(const_cast<BYTE*>(data), size, TRUE,
                                                         iconFormat, width, width, 0)))
            << width << " loads";
    }
    EXPECT_EQ(images,
              (std::vector<std::pair<int, int>>{{32, 4}, {32, 8}, {16, 4}, {48, 32}, {256, 32}}));
}

}  // namespace
