// The calculator's window under messages no user sends in that form: every character code,
// points far off the window, menu ids it does not know, releases without presses, and a
// thousand repaints; the engine keeps its rules and no GDI object is left behind.

#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "check.h"
#include "engine_properties.h"
#include "gdi_census.h"
#include "resources/resource_ids.h"
#include "shell_fixture.h"

namespace {

std::vector<std::string> brokenProperties;

void RecordFailure(const char* property, const char* file, int line) {
    brokenProperties.push_back(std::string(file) + ":" + std::to_string(line) + ": " + property);
}

class WindowFaultTest : public CalcWindowTest {
  protected:
    void SetUp() override {
        CalcWindowTest::SetUp();
        brokenProperties.clear();
        fuzzcheck::SetFailureHandler(RecordFailure);
        ASSERT_TRUE(CensusWorks()) << "GetObjectType does not answer for handle slots here";
        Show();
    }
    void TearDown() override {
        fuzzcheck::SetFailureHandler(nullptr);
        CalcWindowTest::TearDown();
    }

    void Repaint() {
        InvalidateRect(window_, nullptr, TRUE);
        UpdateWindow(window_);
    }

    bool AnyKeyPressed() {
        for (const CalcKey& key : app_->keys) {
            if (key.pressed != 0) {
                return true;
            }
        }
        return false;
    }

    std::string Broken() const {
        std::string text;
        for (const std::string& property : brokenProperties) {
            text += "\n  " + property;
        }
        return text;
    }
};

TEST_F(WindowFaultTest, EveryCharacterCodeKeepsTheEngineRulesAndLeaksNothing) {
    Repaint();
    const GdiCensus before = TakeGdiCensus();
    for (WPARAM code = 0; code <= 0xFFFF; ++code) {
        if (code == 'Q' || code == 'q') {
            continue;  // they close the window
        }
        const fuzzcheck::EngineSnapshot engineBefore(app_->engine);
        const bool wasError = app_->engine.state == EngineState::Error;
        EXPECT_EQ(Send(WM_CHAR, code), 0);
        const auto character = static_cast<std::int32_t>(code);
        if (!fuzzcheck::IsCommandCharacter(character) ||
            (wasError && !fuzzcheck::IsAllClear(character))) {
            EXPECT_TRUE(fuzzcheck::EngineSnapshot(app_->engine) == engineBefore) << "code " << code;
        }
        fuzzcheck::CheckEngineShape(app_->engine);
        if (code % 0x400 == 0) {
            Repaint();
        }
    }
    EXPECT_TRUE(brokenProperties.empty()) << Broken();
    EXPECT_EQ(Posted(WM_CLOSE), "");
    Repaint();
    const GdiCensus after = TakeGdiCensus();
    EXPECT_EQ(after, before) << Describe(before) << "\nbecame " << Describe(after);
}

TEST_F(WindowFaultTest, HitTestsFarOffTheWindowGetTheDefaultAnswer) {
    const int farOff[] = {-32768, -30000, -1, 0x7FFF};
    for (int x : farOff) {
        for (int y : farOff) {
            SCOPED_TRACE("screen point " + std::to_string(x) + ", " + std::to_string(y));
            const LPARAM point = MAKELPARAM(x, y);
            EXPECT_EQ(Send(WM_NCHITTEST, 0, point),
                      DefWindowProcA(window_, WM_NCHITTEST, 0, point));
            EXPECT_EQ(Send(WM_NCMOUSEMOVE, HTCAPTION, point),
                      DefWindowProcA(window_, WM_NCMOUSEMOVE, HTCAPTION, point));
        }
    }
    // Just outside each edge of the client area.
    for (POINT client : {POINT{-1, 100}, POINT{100, -1}, POINT{300, 100}, POINT{100, 450}}) {
        const LPARAM point = ScreenPoint(client.x, client.y);
        EXPECT_NE(Send(WM_NCHITTEST, 0, point), HTCAPTION) << client.x << ", " << client.y;
    }
    EXPECT_FALSE(AnyKeyPressed());
    EXPECT_EQ(Posted(WM_CHAR), "");
}

TEST_F(WindowFaultTest, ButtonsAtPointsOffTheKeysPressAndPostNothing) {
    // Client points arrive as unsigned words: -1 is 65535.
    const int words[] = {0xFFFF, 0x8000, 0x7FFF, 450, 300, 299, 449, 0};
    const fuzzcheck::EngineSnapshot before(app_->engine);
    for (int x : words) {
        for (int y : words) {
            SCOPED_TRACE("client point " + std::to_string(x) + ", " + std::to_string(y));
            const auto point = static_cast<LPARAM>(MAKELONG(x, y));
            Send(WM_LBUTTONDOWN, MK_LBUTTON, point);
            EXPECT_FALSE(AnyKeyPressed());
            Send(WM_LBUTTONUP, 0, point);
            EXPECT_EQ(Posted(WM_CHAR), "");
        }
    }
    EXPECT_TRUE(fuzzcheck::EngineSnapshot(app_->engine) == before);
}

TEST_F(WindowFaultTest, ReleaseWithoutPressPostsOnlyThatKeysCharacter) {
    for (int i = 0; i < KeyCount; ++i) {
        const RECT& rect = Key(i).rect;
        const LPARAM centre =
            MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        EXPECT_EQ(Send(WM_LBUTTONUP, 0, centre), 0);
        EXPECT_EQ(Posted(WM_CHAR), std::string(1, static_cast<char>(Key(i).commandChar)))
            << "key " << i;
        EXPECT_FALSE(AnyKeyPressed()) << "key " << i;
    }
    // Over the body nothing is released and nothing posted.
    Send(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Send(WM_LBUTTONUP, 0, MAKELPARAM(150, 70));
    EXPECT_EQ(Posted(WM_CHAR), "");
    EXPECT_EQ(Posted(WM_CLOSE), "");
}

TEST_F(WindowFaultTest, UnknownMenuIdsChangeNothing) {
    app_->engine.HandleCommand('7');
    const fuzzcheck::EngineSnapshot before(app_->engine);
    for (WPARAM id = 0; id <= 0xFFFF; ++id) {
        if (id == IDC_HELP_CONTENTS || id == IDC_ABOUT || id == IDC_MINIMIZE) {
            continue;
        }
        for (WORD source : {WORD{0}, WORD{1}}) {  // menu, accelerator
            EXPECT_EQ(Send(WM_COMMAND, MAKEWPARAM(id, source), 0), 0) << "id " << id;
        }
    }
    EXPECT_TRUE(fuzzcheck::EngineSnapshot(app_->engine) == before);
    EXPECT_FALSE(IsIconic(window_));
    EXPECT_TRUE(IsWindowVisible(window_));
    EXPECT_EQ(Posted(WM_CHAR), "");
    EXPECT_EQ(Posted(WM_CLOSE), "");
}

TEST_F(WindowFaultTest, ThousandRepaintsOfEveryDisplayLeakNothing) {
    // A long number, an error text, a tax label, the memory mark, a pressed key.
    const char* const displays[] = {"A123456789012", "A1/0=", "A100Z", "A5P", "A1.5+-"};
    const RECT& seven = Key(7).rect;
    const LPARAM onKey = MAKELPARAM(seven.left + 2, seven.top + 2);
    auto show = [&](int round) {
        for (const char* key = displays[round % 5]; *key != '\0'; ++key) {
            app_->engine.HandleCommand(static_cast<unsigned char>(*key));
        }
        Send(round % 2 == 0 ? WM_LBUTTONDOWN : WM_NCMOUSEMOVE, 0,
             round % 2 == 0 ? onKey : ScreenPoint(150, 440));
        Repaint();
    };
    for (int round = 0; round < 10; ++round) {
        show(round);  // whatever the system caches on first use
    }
    const GdiCensus before = TakeGdiCensus();
    for (int round = 0; round < 1000; ++round) {
        show(round);
    }
    const GdiCensus after = TakeGdiCensus();
    EXPECT_EQ(after, before) << Describe(before) << "\nbecame " << Describe(after);
    std::printf("GDI objects around 1000 repaints: %s; after: %s\n", Describe(before).c_str(),
                Describe(after).c_str());
}

TEST_F(WindowFaultTest, LoadingAndReleasingTheSkinLeakNothing) {
    auto reload = [&] {
        HDC dc = GetWindowDC(window_);
        app_->LoadSkin(instance_, dc);
        ReleaseDC(window_, dc);
    };
    reload();
    const GdiCensus loaded = TakeGdiCensus();
    for (int round = 0; round < 50; ++round) {
        app_->ReleaseSkin();
        reload();
    }
    EXPECT_EQ(TakeGdiCensus(), loaded)
        << Describe(loaded) << "\nbecame " << Describe(TakeGdiCensus());

    // A second application on the same window: made, skinned, painted and gone.
    const GdiCensus alone = TakeGdiCensus();
    {
        MemoryPlatform platform;
        CalcApp second(platform.Get());
        HDC dc = GetWindowDC(window_);
        second.LoadSkin(instance_, dc);
        ReleaseDC(window_, dc);
        AttachApp(window_, &second);
        Repaint();
        AttachApp(window_, app_.get());
    }
    Repaint();
    EXPECT_EQ(TakeGdiCensus(), alone)
        << Describe(alone) << "\nbecame " << Describe(TakeGdiCensus());
}

// Typed through the input method, a double-byte character reaches this ANSI window as two
// character messages, its lead and trail bytes; the trail byte of many a character is a
// command letter. Disabled until the window tells trail bytes from typed letters: today "２"
// closes the calculator, "１" adds to memory and "ア" clears everything.
TEST_F(WindowFaultTest, DISABLED_DoubleByteCharactersFromTheInputMethodAreNoCommands) {
    struct Row {
        const char* name;
        WPARAM shiftJis;
    };
    const Row rows[] = {
        {"full-width 1 (82 50, trail byte P)", 0x8250},
        {"full-width 2 (82 51, trail byte Q)", 0x8251},
        {"katakana a (83 41, trail byte A)", 0x8341},
        {"katakana to (83 67, trail byte g)", 0x8367},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        app_->engine.HandleCommand('A');
        for (char key : std::string_view("12+34")) {
            app_->engine.HandleCommand(static_cast<unsigned char>(key));
        }
        const fuzzcheck::EngineSnapshot before(app_->engine);
        Send(WM_IME_CHAR, row.shiftJis);
        MSG message;
        while (PeekMessageA(&message, window_, WM_CHAR, WM_CHAR, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
        EXPECT_EQ(Posted(WM_CLOSE), "");
        EXPECT_TRUE(fuzzcheck::EngineSnapshot(app_->engine) == before);
    }
}

}  // namespace
