#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "shell_fixture.h"

namespace {

using SkinTest = CalcWindowTest;

// Everything LoadSkin made, so its release can be checked handle by handle.
std::vector<HGDIOBJ> SkinObjects(const CalcApp& app) {
    std::vector<HGDIOBJ> objects;
    for (const BitmapHandle& glyph : app.digitGlyphs) {
        objects.push_back(glyph.Get());
    }
    objects.push_back(app.minusGlyph.Get());
    objects.push_back(app.pointGlyph.Get());
    objects.push_back(app.commaGlyph.Get());
    objects.push_back(app.windowRegion.Get());
    objects.push_back(app.bodyBrush.Get());
    objects.push_back(app.bodyPen.Get());
    objects.push_back(app.displayEdgePen.Get());
    objects.push_back(app.displayShadowPen.Get());
    return objects;
}

TEST_F(SkinTest, GlyphSizesAreMeasuredFromTheBitmaps) {
    const GlyphSize digits[] = {{35, 39}, {36, 41}, {35, 39}, {35, 39}, {36, 40},
                                {34, 39}, {35, 39}, {36, 40}, {35, 39}, {33, 39}};
    for (std::size_t d = 0; d < 10; ++d) {
        EXPECT_EQ(app_->digitSizes[d].width, digits[d].width) << "digit " << d;
        EXPECT_EQ(app_->digitSizes[d].height, digits[d].height) << "digit " << d;
    }
    EXPECT_EQ(app_->minusSize.width, 25);
    EXPECT_EQ(app_->minusSize.height, 40);
    EXPECT_EQ(app_->pointSize.width, 12);
    EXPECT_EQ(app_->pointSize.height, 40);
    EXPECT_EQ(app_->commaSize.width, 8);
    EXPECT_EQ(app_->commaSize.height, 39);
}

TEST_F(SkinTest, EveryObjectIsMadeWithItsStyle) {
    for (HGDIOBJ object : SkinObjects(*app_)) {
        EXPECT_NE(object, nullptr);
    }
    struct PenCase {
        const char* name;
        HPEN pen;
        UINT style;
        LONG width;
        COLORREF colour;
    };
    const PenCase pens[] = {
        {"body", app_->bodyPen.Get(), PS_INSIDEFRAME, 2, RGB(255, 255, 176)},
        {"edge", app_->displayEdgePen.Get(), PS_SOLID, 1, RGB(128, 128, 255)},
        {"shadow", app_->displayShadowPen.Get(), PS_SOLID, 1, RGB(128, 128, 128)},
    };
    for (const auto& p : pens) {
        LOGPEN pen{};
        ASSERT_EQ(GetObjectA(p.pen, sizeof(pen), &pen), static_cast<int>(sizeof(pen))) << p.name;
        EXPECT_EQ(pen.lopnStyle, p.style) << p.name;
        EXPECT_EQ(pen.lopnWidth.x, p.width) << p.name;
        EXPECT_EQ(pen.lopnColor, p.colour) << p.name;
    }
    RECT box{};
    EXPECT_EQ(GetRgnBox(app_->windowRegion.Get(), &box), COMPLEXREGION);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    // The system leaves out the last column and row of a rounded region.
    EXPECT_EQ(box.right, 299);
    EXPECT_EQ(box.bottom, 449);
    // Rounded corners: the corner pixel is cut off, the middle of an edge is not.
    EXPECT_FALSE(PtInRegion(app_->windowRegion.Get(), 0, 0));
    EXPECT_FALSE(PtInRegion(app_->windowRegion.Get(), 299, 449));
    EXPECT_TRUE(PtInRegion(app_->windowRegion.Get(), 150, 0));

    EXPECT_NE(app_->popupMenu.Get(), nullptr);
    EXPECT_EQ(GetMenuItemID(GetSubMenu(app_->popupMenu.Get(), 0), 0), 40002u);
}

TEST_F(SkinTest, KeysGetCaptionsCommandsFontsAndRectangles) {
    struct KeyCase {
        int index;
        const char* caption;  // in code page 932
        char command;
        LONG height;
        COLORREF colour;
        RECT rect;
    };
    const KeyCase cases[] = {
        {0, "OFF", 'Q', 18, RGB(128, 0, 0), {10, 90, 58, 138}},
        {3, "\x90\xc5\x8d\x9e", 'Z', 18, RGB(0, 128, 128), {184, 90, 232, 138}},  // 税込
        {4, "\x90\xc5\x94\xb2", 'X', 18, RGB(0, 128, 128), {242, 90, 290, 138}},  // 税抜
        {8, "+-", 'M', 34, RGB(0, 0, 0), {184, 148, 232, 196}},
        {10, "7", '7', 34, RGB(0, 0, 0), {10, 206, 58, 254}},
        {29, "M+", 'P', 24, RGB(128, 0, 255), {242, 380, 290, 428}},
    };
    for (const auto& c : cases) {
        const CalcKey& key = Key(c.index);
        EXPECT_STREQ(key.caption, c.caption) << "key " << c.index;
        EXPECT_EQ(key.commandChar, c.command) << "key " << c.index;
        EXPECT_EQ(key.textColor, c.colour) << "key " << c.index;
        EXPECT_EQ(key.pressed, 0) << "key " << c.index;
        EXPECT_EQ(key.bkMode, TRANSPARENT) << "key " << c.index;
        EXPECT_TRUE(EqualRect(&key.rect, &c.rect)) << "key " << c.index;
        LOGFONTA font{};
        ASSERT_NE(GetObjectA(key.font.Get(), sizeof(font), &font), 0) << "key " << c.index;
        EXPECT_EQ(font.lfHeight, c.height) << "key " << c.index;
        EXPECT_EQ(font.lfWeight, 1000) << "key " << c.index;
        EXPECT_EQ(font.lfCharSet, SHIFTJIS_CHARSET) << "key " << c.index;
        EXPECT_EQ(font.lfPitchAndFamily, FF_MODERN | VARIABLE_PITCH) << "key " << c.index;
        // "ＭＳ Ｐゴシック"
        EXPECT_STREQ(font.lfFaceName,
                     "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e")
            << "key " << c.index;
    }
}

TEST_F(SkinTest, DisplayTextsComeFromTheStringTable) {
    const char* errors[] = {
        "\x83\x5b\x83\x8d\x8a\x84\x82\xe8\x8e\x5a\x83\x47\x83\x89\x81\x5b",  // ゼロ割り算エラー
        "\x8c\x85\x82\xa0\x82\xd3\x82\xea\x83\x47\x83\x89\x81\x5b",  // 桁あふれエラー
        "\x93\xfc\x97\xcd\x83\x47\x83\x89\x81\x5b",                  // 入力エラー
    };
    const char* labels[] = {"\x90\xc5\x8d\x9e", "\x90\xc5\x94\xb2", "\x90\xc5"};  // 税込 税抜 税
    for (std::size_t i = 0; i < 3; ++i) {
        ASSERT_TRUE(app_->errorTexts[i]) << "error text " << i;
        EXPECT_STREQ(app_->errorTexts[i]->data(), errors[i]) << "error text " << i;
        ASSERT_TRUE(app_->taxLabels[i]) << "tax label " << i;
        EXPECT_STREQ(app_->taxLabels[i]->data(), labels[i]) << "tax label " << i;
    }
}

TEST_F(SkinTest, ReleaseFreesEverySkinObjectButKeepsKeyFonts) {
    const std::vector<HGDIOBJ> objects = SkinObjects(*app_);
    HMENU menu = app_->popupMenu.Get();
    app_->ReleaseSkin();
    for (std::size_t i = 0; i < objects.size(); ++i) {
        EXPECT_EQ(GetObjectType(objects[i]), 0u) << "object " << i;
    }
    EXPECT_FALSE(IsMenu(menu));
    EXPECT_TRUE(SkinObjects(*app_) == std::vector<HGDIOBJ>(objects.size(), nullptr));
    EXPECT_FALSE(app_->errorTexts[0]);
    EXPECT_FALSE(app_->taxLabels[2]);
    EXPECT_EQ(app_->digitSizes[1].height, 0);
    // The keys still own their fonts.
    EXPECT_EQ(GetObjectType(Key(0).font.Get()), static_cast<DWORD>(OBJ_FONT));
    // A second release finds nothing to free.
    app_->ReleaseSkin();
}

TEST_F(SkinTest, LoadingAgainFreesTheFirstSkin) {
    const std::vector<HGDIOBJ> first = SkinObjects(*app_);
    HFONT firstFont = Key(7).font.Get();
    HDC dc = GetWindowDC(window_);
    app_->LoadSkin(instance_, dc);
    ReleaseDC(window_, dc);
    for (std::size_t i = 0; i < first.size(); ++i) {
        // Handle values may be reused, so only a surviving object of the old kind is a leak.
        const std::vector<HGDIOBJ> now = SkinObjects(*app_);
        if (std::find(now.begin(), now.end(), first[i]) == now.end()) {
            EXPECT_EQ(GetObjectType(first[i]), 0u) << "object " << i;
        }
    }
    if (Key(7).font.Get() != firstFont) {
        EXPECT_EQ(GetObjectType(firstFont), 0u);
    }
    EXPECT_EQ(app_->digitSizes[0].width, 35);
}

TEST_F(SkinTest, DestroyingTheAppFreesSkinAndKeyFonts) {
    std::vector<HGDIOBJ> objects = SkinObjects(*app_);
    for (int i = 0; i < KeyCount; ++i) {
        objects.push_back(Key(i).font.Get());
    }
    AttachApp(window_, nullptr);
    app_.reset();
    for (std::size_t i = 0; i < objects.size(); ++i) {
        EXPECT_EQ(GetObjectType(objects[i]), 0u) << "object " << i;
    }
}

}  // namespace
