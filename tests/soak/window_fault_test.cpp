// The calculator's window under messages no user sends in that form: every character code,
// points far off the window, menu ids it does not know and releases without presses; the
// engine keeps its rules and no GDI object is left behind.

#include <windows.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "fuzz.h"
#include "gdi_census.h"
#include "resources/resource_ids.h"
#include "shell_fixture.h"

namespace {

class WindowFaultTest : public CalcWindowTest {
  protected:
    void SetUp() override {
        CalcWindowTest::SetUp();
        ASSERT_TRUE(CensusWorks()) << "GetObjectType does not answer for handle slots here";
        Show();
        Repaint();
    }
    void Repaint() {
        InvalidateRect(window_, nullptr, TRUE);
        UpdateWindow(window_);
    }
    bool AnyKeyPressed() {
        return std::any_of(std::begin(app_->keys), std::end(app_->keys),
                           [](const CalcKey& key) { return key.pressed != 0; });
    }
};

TEST_F(WindowFaultTest, EveryCharacterCodeKeepsTheEngineRulesAndLeaksNothing) {
    const GdiCensus before = TakeGdiCensus();
    std::string broken;
    fuzzcheck::RecordFailuresInto(&broken);
    for (WPARAM code = 0; code <= 0xFFFF; ++code) {
        if (code == 'Q' || code == 'q') {
            continue;  // they close the window
        }
        const EngineFields engineBefore(app_->engine);
        const bool wasError = app_->engine.state == EngineState::Error;
        const auto character = static_cast<std::int32_t>(code);
        EXPECT_EQ(Send(WM_CHAR, code), 0);
        if (!IsCommandCharacter(character) ||
            (wasError && !IsAllClear(character))) {
            EXPECT_TRUE(EngineFields(app_->engine) == engineBefore) << "code " << code;
        }
        fuzzcheck::CheckEngineShape(app_->engine);
        if (code % 0x400 == 0) {
            Repaint();
        }
    }
    fuzzcheck::RecordFailuresInto(nullptr);
    EXPECT_EQ(broken, "");
    EXPECT_EQ(Posted(WM_CLOSE), "");
    Repaint();
    EXPECT_EQ(TakeGdiCensus(), before);
}

TEST_F(WindowFaultTest, PointsOffTheKeysPressNothingAndReleasesPostOnlyTheirKey) {
    for (int x : {-32768, -30000, -1, 0x7FFF}) {  // screen points far off the window
        for (int y : {-32768, -30000, -1, 0x7FFF}) {
            const LPARAM point = MAKELPARAM(x, y);
            EXPECT_EQ(Send(WM_NCHITTEST, 0, point), DefWindowProcA(window_, WM_NCHITTEST, 0, point))
                << "screen point " << x << ", " << y;
            EXPECT_EQ(Send(WM_NCMOUSEMOVE, HTCAPTION, point),
                      DefWindowProcA(window_, WM_NCMOUSEMOVE, HTCAPTION, point));
        }
    }
    const EngineFields before(app_->engine);
    // Client points arrive as unsigned words: -1 is 65535.
    for (int x : {0xFFFF, 0x8000, 0x7FFF, 450, 300, 299, 449, 0}) {
        for (int y : {0xFFFF, 0x8000, 0x7FFF, 450, 300, 299, 449, 0}) {
            Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
            EXPECT_FALSE(AnyKeyPressed()) << "client point " << x << ", " << y;
            Send(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
            EXPECT_EQ(Posted(WM_CHAR), "") << "client point " << x << ", " << y;
        }
    }
    EXPECT_TRUE(EngineFields(app_->engine) == before);
    for (int i = 0; i < KeyCount; ++i) {  // a release without a press over each key
        const RECT& r = Key(i).rect;
        EXPECT_EQ(Send(WM_LBUTTONUP, 0, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2)),
                  0);
        EXPECT_EQ(Posted(WM_CHAR), std::string(1, static_cast<char>(Key(i).commandChar)))
            << "key " << i;
        EXPECT_FALSE(AnyKeyPressed()) << "key " << i;
    }
    Send(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));  // over the body
    Send(WM_LBUTTONUP, 0, MAKELPARAM(150, 70));
    EXPECT_EQ(Posted(WM_CHAR) + Posted(WM_CLOSE), "");
}

TEST_F(WindowFaultTest, UnknownMenuIdsChangeNothing) {
    app_->engine.HandleCommand('7');
    const EngineFields before(app_->engine);
    for (WPARAM id = 0; id <= 0xFFFF; ++id) {
        if (id != IDC_HELP_CONTENTS && id != IDC_ABOUT && id != IDC_MINIMIZE) {
            EXPECT_EQ(Send(WM_COMMAND, MAKEWPARAM(id, 0), 0), 0) << "menu id " << id;
            EXPECT_EQ(Send(WM_COMMAND, MAKEWPARAM(id, 1), 0), 0) << "accelerator id " << id;
        }
    }
    EXPECT_TRUE(EngineFields(app_->engine) == before);
    EXPECT_TRUE(IsWindowVisible(window_) && !IsIconic(window_));
    EXPECT_EQ(Posted(WM_CHAR) + Posted(WM_CLOSE), "");
}

}  // namespace
