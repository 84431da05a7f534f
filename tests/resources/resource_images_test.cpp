// The glyph and tile bitmaps and the icon, loaded from this executable's resources the way the
// calculator loads them. Ids are written as numbers: they are the program's fixed contract.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

namespace {

HMODULE Module() { return GetModuleHandleA(nullptr); }

struct BitmapCase {
    const char* name;
    int id;
    LONG width;
    LONG height;
};

constexpr BitmapCase Digits[] = {
    {"digit 0", 101, 35, 39}, {"digit 1", 102, 36, 41},
    {"digit 2", 103, 35, 39}, {"digit 3", 104, 35, 39},
    {"digit 4", 105, 36, 40}, {"digit 5", 106, 34, 39},
    {"digit 6", 107, 35, 39}, {"digit 7", 108, 36, 40},
    {"digit 8", 109, 35, 39}, {"digit 9", 110, 33, 39},
};
constexpr BitmapCase Point{"point", 111, 12, 40};
constexpr BitmapCase Comma{"comma", 112, 8, 39};
constexpr BitmapCase Minus{"minus", 116, 25, 40};
constexpr BitmapCase Tile{"body tile", 115, 8, 8};

std::vector<BitmapCase> Glyphs() {
    std::vector<BitmapCase> all(std::begin(Digits), std::end(Digits));
    all.insert(all.end(), {Point, Comma, Minus});
    return all;
}

std::vector<BitmapCase> AllBitmaps() {
    auto all = Glyphs();
    all.push_back(Tile);
    return all;
}

constexpr std::uint32_t White = 0xFFFFFF;
constexpr std::uint32_t Teal = 0x008080;
constexpr std::uint32_t Silver = 0xC0C0C0;

std::uint32_t Red(std::uint32_t c) { return (c >> 16) & 0xFF; }
std::uint32_t Green(std::uint32_t c) { return (c >> 8) & 0xFF; }
std::uint32_t Blue(std::uint32_t c) { return c & 0xFF; }

// A loaded bitmap read back as top-down rows of 0xRRGGBB.
struct Pixels {
    LONG width = 0;
    LONG height = 0;
    std::vector<std::uint32_t> values;

    std::uint32_t At(LONG x, LONG y) const {
        return values[static_cast<std::size_t>(y * width + x)];
    }
    bool RowHasInk(LONG y) const {
        for (LONG x = 0; x < width; ++x) {
            if (At(x, y) != White) return true;
        }
        return false;
    }
    // First and last rows with anything but white, or {-1, -1}.
    std::pair<LONG, LONG> InkRows() const {
        LONG first = -1, last = -1;
        for (LONG y = 0; y < height; ++y) {
            if (RowHasInk(y)) {
                if (first < 0) first = y;
                last = y;
            }
        }
        return {first, last};
    }
};

Pixels ReadPixels(const BitmapCase& c) {
    Pixels p;
    HBITMAP bitmap = LoadBitmapA(Module(), MAKEINTRESOURCEA(c.id));
    if (!bitmap) return p;
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = c.width;
    info.bmiHeader.biHeight = -c.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> values(static_cast<std::size_t>(c.width * c.height));
    if (GetDIBits(dc, bitmap, 0, static_cast<UINT>(c.height), values.data(), &info,
                  DIB_RGB_COLORS) == c.height) {
        p.width = c.width;
        p.height = c.height;
        for (auto& v : values) v &= 0xFFFFFF;
        p.values = std::move(values);
    }
    DeleteDC(dc);
    DeleteObject(bitmap);
    return p;
}

TEST(ResourceBitmaps, LoadAtTheirListedSize) {
    HDC dc = CreateCompatibleDC(nullptr);
    for (const auto& c : AllBitmaps()) {
        SCOPED_TRACE(c.name);
        HBITMAP bitmap = LoadBitmapA(Module(), MAKEINTRESOURCEA(c.id));
        ASSERT_NE(bitmap, nullptr);
        // The calculator measures its glyphs exactly so: a header-only query.
        BITMAPINFOHEADER header{};
        header.biSize = sizeof(header);
        EXPECT_NE(GetDIBits(dc, bitmap, 0, 0, nullptr, reinterpret_cast<BITMAPINFO*>(&header),
                            DIB_RGB_COLORS),
                  0);
        EXPECT_EQ(header.biWidth, c.width);
        EXPECT_EQ(header.biHeight, c.height);
        DeleteObject(bitmap);
    }
    DeleteDC(dc);
}

TEST(ResourceBitmaps, AreUncompressedSixteenColourDibs) {
    for (const auto& c : AllBitmaps()) {
        SCOPED_TRACE(c.name);
        HRSRC found = FindResourceA(Module(), MAKEINTRESOURCEA(c.id), MAKEINTRESOURCEA(2));
        ASSERT_NE(found, nullptr);
        const auto* header = static_cast<const BITMAPINFOHEADER*>(
            LockResource(LoadResource(Module(), found)));
        ASSERT_NE(header, nullptr);
        EXPECT_EQ(header->biSize, sizeof(BITMAPINFOHEADER));
        EXPECT_EQ(header->biWidth, c.width);
        EXPECT_EQ(header->biHeight, c.height);  // bottom-up
        EXPECT_EQ(header->biBitCount, 4);
        EXPECT_EQ(header->biCompression, static_cast<DWORD>(BI_RGB));
        EXPECT_TRUE(header->biClrUsed == 0 || header->biClrUsed == 16) << header->biClrUsed;
        // Header, 16 palette entries and every row of pixels, padded to 4 bytes.
        const DWORD stride = ((static_cast<DWORD>(c.width) * 4 + 31) / 32) * 4;
        EXPECT_EQ(SizeofResource(Module(), found),
                  sizeof(BITMAPINFOHEADER) + 16 * sizeof(RGBQUAD) +
                      stride * static_cast<DWORD>(c.height));
    }
}

TEST(ResourceGlyphs, AreTealShadesOnWhite) {
    std::set<std::uint32_t> colours;
    for (const auto& c : Glyphs()) {
        SCOPED_TRACE(c.name);
        const Pixels p = ReadPixels(c);
        ASSERT_EQ(p.width, c.width);
        EXPECT_EQ(p.At(0, 0), White);
        EXPECT_EQ(p.At(p.width - 1, p.height - 1), White);
        EXPECT_NE(std::count(p.values.begin(), p.values.end(), Teal), 0);
        for (std::uint32_t v : p.values) {
            // Between white and teal: green and blue alike, red never above them.
            ASSERT_TRUE(Green(v) == Blue(v) && Red(v) <= Green(v) && Green(v) >= 0x80)
                << std::hex << v;
            colours.insert(v);
        }
    }
    // Halved with the default stretch mode, neighbouring columns merge by bitwise AND: that
    // must give one of the two shades (the darker), or the number gets off-colour fringes.
    for (std::uint32_t a : colours) {
        for (std::uint32_t b : colours) {
            const std::uint32_t merged = a & b;
            EXPECT_TRUE(merged == a || merged == b) << std::hex << a << " & " << b;
        }
    }
}

TEST(ResourceGlyphs, DigitsShareOneBandThatTheMarksFit) {
    // Glyphs are drawn top-aligned whatever their height, so the shapes must sit in the same
    // rows for the number to have one baseline.
    const Pixels zero = ReadPixels(Digits[0]);
    ASSERT_EQ(zero.width, Digits[0].width);
    const auto [top, foot] = zero.InkRows();
    ASSERT_GE(top, 0);
    EXPECT_LT(foot, Digits[0].height - 1);
    for (const auto& c : Digits) {
        SCOPED_TRACE(c.name);
        const Pixels p = ReadPixels(c);
        ASSERT_EQ(p.width, c.width);
        EXPECT_EQ(p.InkRows(), std::make_pair(top, foot));
    }
    const LONG middle = (top + foot) / 2;

    const auto point = ReadPixels(Point).InkRows();
    EXPECT_EQ(point.second, foot) << "the point stands on the baseline";
    EXPECT_GT(point.first, top + (foot - top) * 3 / 4) << "the point is a small mark";

    const auto comma = ReadPixels(Comma).InkRows();
    EXPECT_GE(comma.second, foot) << "the comma reaches the baseline";
    EXPECT_GT(comma.first, middle);

    const auto minus = ReadPixels(Minus).InkRows();
    EXPECT_LE(std::abs((minus.first + minus.second) / 2 - middle), 1) << "a bar at mid-height";
    EXPECT_LT(minus.second - minus.first, (foot - top) / 4);
}

TEST(ResourceTile, IsLightGreyCrossedByAWhiteDiagonal) {
    const Pixels p = ReadPixels(Tile);
    ASSERT_EQ(p.width, 8);
    std::vector<LONG> whiteColumn;
    for (LONG y = 0; y < 8; ++y) {
        LONG column = -1;
        for (LONG x = 0; x < 8; ++x) {
            const std::uint32_t v = p.At(x, y);
            ASSERT_TRUE(v == Silver || v == White) << "pixel " << x << "," << y;
            if (v == White) {
                EXPECT_EQ(column, -1) << "one white pixel in row " << y;
                column = x;
            }
        }
        ASSERT_GE(column, 0) << "row " << y;
        whiteColumn.push_back(column);
    }
    // One step sideways per row, wrapping, so the line runs on across tiles.
    const LONG step = (whiteColumn[1] - whiteColumn[0] + 8) % 8;
    ASSERT_TRUE(step == 1 || step == 7) << step;
    for (LONG y = 1; y < 8; ++y) {
        EXPECT_EQ((whiteColumn[static_cast<std::size_t>(y)] - whiteColumn[0] + 64) % 8,
                  (step * y) % 8)
            << "row " << y;
    }
}

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width;
    BYTE height;
    BYTE colourCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
struct IconGroupHeader {
    WORD reserved;
    WORD type;
    WORD count;
};
#pragma pack(pop)

TEST(ResourceIcon, GroupHoldsThreeFaces) {
    HRSRC group = FindResourceA(Module(), MAKEINTRESOURCEA(118), MAKEINTRESOURCEA(14));
    ASSERT_NE(group, nullptr);
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(Module(), group)));
    ASSERT_NE(bytes, nullptr);
    IconGroupHeader header;
    std::memcpy(&header, bytes, sizeof(header));
    EXPECT_EQ(header.type, 1);
    ASSERT_EQ(header.count, 3);
    ASSERT_EQ(SizeofResource(Module(), group), sizeof(header) + 3 * sizeof(IconGroupEntry));

    struct Face {
        int size;
        int bits;
        bool found;
    } faces[] = {{32, 4, false}, {32, 8, false}, {16, 4, false}};
    for (int i = 0; i < 3; ++i) {
        IconGroupEntry entry;
        std::memcpy(&entry, bytes + sizeof(header) + static_cast<std::size_t>(i) * sizeof(entry),
                    sizeof(entry));
        SCOPED_TRACE(testing::Message() << "entry " << i << ": " << int{entry.width} << "x"
                                        << int{entry.height} << " " << entry.bitCount << " bits");
        auto face = std::find_if(std::begin(faces), std::end(faces), [&](const Face& f) {
            return f.size == entry.width && f.size == entry.height && f.bits == entry.bitCount;
        });
        ASSERT_NE(face, std::end(faces));
        EXPECT_FALSE(face->found) << "listed twice";
        face->found = true;
        EXPECT_EQ(entry.colourCount, entry.bitCount == 4 ? 16 : 0);

        HRSRC image = FindResourceA(Module(), MAKEINTRESOURCEA(entry.id), MAKEINTRESOURCEA(3));
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(SizeofResource(Module(), image), entry.bytes);
        auto* data = static_cast<BYTE*>(LockResource(LoadResource(Module(), image)));
        ASSERT_NE(data, nullptr);
        const auto* dib = reinterpret_cast<const BITMAPINFOHEADER*>(data);
        EXPECT_EQ(dib->biWidth, face->size);
        EXPECT_EQ(dib->biHeight, 2 * face->size) << "colour and mask";
        EXPECT_EQ(dib->biBitCount, face->bits);
        HICON icon = CreateIconFromResourceEx(data, entry.bytes, TRUE, 0x00030000, face->size,
                                              face->size, 0);
        EXPECT_NE(icon, nullptr);
        if (icon) DestroyIcon(icon);
    }
}

TEST(ResourceIcon, LoadsAtBothSizes) {
    for (int size : {16, 32}) {
        SCOPED_TRACE(size);
        auto icon = static_cast<HICON>(
            LoadImageA(Module(), MAKEINTRESOURCEA(118), IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP colour{};
        ASSERT_NE(GetObjectA(info.hbmColor, sizeof(colour), &colour), 0);
        EXPECT_EQ(colour.bmWidth, size);
        EXPECT_EQ(colour.bmHeight, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

}  // namespace
