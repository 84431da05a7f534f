#include "shell_fixture.h"

namespace {

using TrackKeyTest = CalcWindowTest;

struct HitCase {
    int x;
    int y;
    std::int32_t hit;
};

TEST_F(TrackKeyTest, HitTestFindsKeysWithExclusiveEdges) {
    const HitCase cases[] = {
        {57, 100, 1},  {58, 100, 0},  {10, 90, 1},   {9, 100, 0},   {30, 89, 0},  {30, 138, 0},
        {242, 380, 1}, {289, 427, 1}, {290, 427, 0}, {289, 428, 0}, {150, 40, 0},  // display
        {63, 200, 0},  // gap between columns
        {5, 5, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(app_->TrackKey(window_, c.x, c.y, KeyTrackMode::HitTest), c.hit)
            << c.x << "," << c.y;
    }
    for (int i = 0; i < KeyCount; ++i) {
        EXPECT_EQ(Key(i).pressed, 0) << "key " << i;
    }
    EXPECT_EQ(PostedChars(), "");
}

TEST_F(TrackKeyTest, ClickPostsTheCharacterOnceAtRelease) {
    EXPECT_EQ(app_->TrackKey(window_, 30, 230, KeyTrackMode::Press), 1);  // "7"
    EXPECT_EQ(Key(10).pressed, 1);
    EXPECT_EQ(PostedChars(), "");
    EXPECT_EQ(app_->TrackKey(window_, 40, 240, KeyTrackMode::Release), 1);
    EXPECT_EQ(Key(10).pressed, 0);
    EXPECT_EQ(PostedChars(), "7");
}

TEST_F(TrackKeyTest, EveryKeyPostsItsOwnCharacter) {
    std::string expected;
    for (int i = 0; i < KeyCount; ++i) {
        const RECT& r = Key(i).rect;
        EXPECT_EQ(app_->TrackKey(window_, r.right - 1, r.bottom - 1, KeyTrackMode::Release), 1);
        expected += KeyMap[i];
    }
    EXPECT_EQ(PostedChars(), expected);
}

TEST_F(TrackKeyTest, LeavingOverTheBodyRaisesThePressedKeyWithoutPosting) {
    ASSERT_EQ(app_->TrackKey(window_, 250, 390, KeyTrackMode::Press), 1);  // key 29
    EXPECT_EQ(Key(29).pressed, 1);
    // Still over the key: Leave considers only keys away from the point.
    EXPECT_EQ(app_->TrackKey(window_, 250, 390, KeyTrackMode::Leave), 0);
    EXPECT_EQ(Key(29).pressed, 1);
    EXPECT_EQ(app_->TrackKey(window_, 237, 400, KeyTrackMode::Leave), 1);  // gap
    EXPECT_EQ(Key(29).pressed, 0);
    EXPECT_EQ(app_->TrackKey(window_, 237, 400, KeyTrackMode::Leave), 0);  // nothing left
    // Released over the body: nothing.
    EXPECT_EQ(app_->TrackKey(window_, 237, 400, KeyTrackMode::Release), 0);
    EXPECT_EQ(PostedChars(), "");
}

TEST_F(TrackKeyTest, ReleaseOnAnotherKeyPostsThatKeyAndLeavesThePressedOne) {
    ASSERT_EQ(app_->TrackKey(window_, 30, 230, KeyTrackMode::Press), 1);    // "7"
    ASSERT_EQ(app_->TrackKey(window_, 90, 230, KeyTrackMode::Release), 1);  // "8"
    EXPECT_EQ(PostedChars(), "8");
    EXPECT_EQ(Key(10).pressed, 1);
    EXPECT_EQ(Key(11).pressed, 0);
    // The next move over the body raises it.
    EXPECT_EQ(app_->TrackKey(window_, 5, 5, KeyTrackMode::Leave), 1);
    EXPECT_EQ(Key(10).pressed, 0);
}

TEST_F(TrackKeyTest, OneMoveRaisesOnlyTheFirstPressedKey) {
    Key(3).pressed = 1;
    Key(20).pressed = 1;
    EXPECT_EQ(app_->TrackKey(window_, 5, 5, KeyTrackMode::Leave), 1);
    EXPECT_EQ(Key(3).pressed, 0);
    EXPECT_EQ(Key(20).pressed, 1);
    EXPECT_EQ(app_->TrackKey(window_, 5, 5, KeyTrackMode::Leave), 1);
    EXPECT_EQ(Key(20).pressed, 0);
}

TEST_F(TrackKeyTest, PressRepaintsTheKeyAtOnce) {
    Show();
    ASSERT_EQ(app_->TrackKey(window_, 150, 170, KeyTrackMode::Press), 1);  // "%"
    // Repainted before TrackKey returned: no update region is left behind.
    RECT update{};
    EXPECT_FALSE(GetUpdateRect(window_, &update, FALSE));
    HDC dc = GetDC(window_);
    const Rgb24 border = ToRgb(GetPixel(dc, 128, 170));
    ReleaseDC(window_, dc);
    EXPECT_EQ(border, ToRgb(GetSysColor(COLOR_BTNSHADOW)));
}

}  // namespace
