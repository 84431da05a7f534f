#include "shell_fixture.h"

namespace {

class WindowProcTest : public CalcWindowTest {
  protected:
    // Validates the window so that a later invalidation can be seen.
    void Validate() {
        Show();
        ValidateRect(window_, nullptr);
    }

    bool DisplayInvalidated() {
        RECT update{};
        if (!GetUpdateRect(window_, &update, FALSE)) {
            return false;
        }
        const RECT strip{15, 20, 285, 60};
        RECT common{};
        return IntersectRect(&common, &update, &strip) != FALSE;
    }

    LPARAM ScreenPoint(int clientX, int clientY) {
        POINT point{clientX, clientY};
        ClientToScreen(window_, &point);
        return MAKELPARAM(point.x, point.y);
    }

    void SetControl(bool down) {
        BYTE state[256];
        GetKeyboardState(state);
        state[VK_CONTROL] = down ? 0x80 : 0;
        SetKeyboardState(state);
    }
};

TEST_F(WindowProcTest, QuitCharactersCloseWithoutReachingTheEngine) {
    for (WPARAM character : {WPARAM{'q'}, WPARAM{'Q'}}) {
        app_->engine.display = DecimalValue(5, 0, 1, 0);
        EXPECT_EQ(Send(WM_CHAR, character), 0);
        EXPECT_EQ(PostedCloses(), 1) << static_cast<char>(character);
        EXPECT_EQ(app_->engine.display.integerPart, 5) << static_cast<char>(character);
    }
}

TEST_F(WindowProcTest, CharactersGoToTheEngineAndRepaintTheDisplay) {
    Validate();
    EXPECT_EQ(Send(WM_CHAR, '7'), 0);
    EXPECT_EQ(app_->engine.display.integerPart, 7);
    EXPECT_TRUE(DisplayInvalidated());

    Validate();
    Send(WM_CHAR, '?');  // not a command
    EXPECT_FALSE(DisplayInvalidated());
    EXPECT_EQ(app_->engine.display.integerPart, 7);
}

TEST_F(WindowProcTest, RefusedCommandThatDropsTheTaxLabelRepaints) {
    Send(WM_CHAR, 'Z');
    ASSERT_EQ(app_->engine.taxState, TaxState::Included);
    Validate();
    Send(WM_CHAR, '.');  // refused, but the label must go
    EXPECT_EQ(app_->engine.taxState, TaxState::None);
    EXPECT_TRUE(DisplayInvalidated());
}

TEST_F(WindowProcTest, AnyCharacterCodeIsSafe) {
    for (WPARAM code = 0; code <= 0xFFFF; ++code) {
        if (code == 'q' || code == 'Q') {
            continue;
        }
        Send(WM_CHAR, code);
    }
    EXPECT_EQ(PostedCloses(), 0);
    Send(WM_CHAR, 'A');
    Send(WM_CHAR, '5');
    // Codes that end in the byte of a command are not that command.
    for (WPARAM code : {WPARAM{0x141}, WPARAM{0x10041}, static_cast<WPARAM>(-1)}) {
        Send(WM_CHAR, code);
        EXPECT_EQ(app_->engine.display.integerPart, 5) << "code " << code;
    }
}

TEST_F(WindowProcTest, KeyUpsCloseAndPaste) {
    EXPECT_EQ(Send(WM_KEYDOWN, VK_ESCAPE), 0);
    EXPECT_EQ(PostedCloses(), 0);
    EXPECT_EQ(Send(WM_KEYUP, VK_ESCAPE), 0);
    EXPECT_EQ(PostedCloses(), 1);

    EXPECT_EQ(Send(WM_KEYUP, VK_INSERT), 0);
    EXPECT_EQ(PostedChars(), "D");

    EXPECT_EQ(Send(WM_KEYUP, VK_F1), 0);
    EXPECT_EQ(PostedChars(), "");
    EXPECT_EQ(PostedCloses(), 0);
}

TEST_F(WindowProcTest, BackspaceAndDeleteClearAtKeyUp) {
    for (WPARAM key : {WPARAM{VK_BACK}, WPARAM{VK_DELETE}}) {
        Send(WM_CHAR, '4');
        ASSERT_EQ(app_->engine.display.integerPart, 4);
        Validate();
        EXPECT_EQ(Send(WM_KEYUP, key), 0);
        EXPECT_EQ(app_->engine.display.integerPart, 0) << "key " << key;
        EXPECT_TRUE(DisplayInvalidated()) << "key " << key;
    }
}

TEST_F(WindowProcTest, CtrlCAndCtrlVCopyAndPasteOnlyWithControlHeld) {
    SetControl(true);
    ASSERT_LT(GetKeyState(VK_CONTROL), 0);
    Send(WM_KEYUP, 'C');
    Send(WM_KEYUP, 'V');
    EXPECT_EQ(PostedChars(), "SD");
    SetControl(false);
    Send(WM_KEYUP, 'C');
    Send(WM_KEYUP, 'V');
    EXPECT_EQ(PostedChars(), "");
}

TEST_F(WindowProcTest, HitTestMakesTheBodyACaption) {
    Show();
    EXPECT_EQ(Send(WM_NCHITTEST, 0, ScreenPoint(30, 100)), HTCLIENT);    // OFF
    EXPECT_EQ(Send(WM_NCHITTEST, 0, ScreenPoint(58, 100)), HTCAPTION);   // just right of it
    EXPECT_EQ(Send(WM_NCHITTEST, 0, ScreenPoint(150, 40)), HTCAPTION);   // display
    EXPECT_EQ(Send(WM_NCHITTEST, 0, ScreenPoint(150, 445)), HTCAPTION);  // bottom of the body
    // Outside the client area the default answer applies.
    EXPECT_EQ(Send(WM_NCHITTEST, 0, ScreenPoint(310, 100)),
              DefWindowProcA(window_, WM_NCHITTEST, 0, ScreenPoint(310, 100)));
    EXPECT_NE(Send(WM_NCHITTEST, 0, ScreenPoint(310, 100)), HTCAPTION);
}

TEST_F(WindowProcTest, ButtonsPressAndReleaseKeys) {
    EXPECT_EQ(Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 400)), 0);  // "="
    EXPECT_EQ(Key(27).pressed, 1);
    EXPECT_EQ(Send(WM_LBUTTONUP, 0, MAKELPARAM(150, 400)), 0);
    EXPECT_EQ(Key(27).pressed, 0);
    EXPECT_EQ(PostedChars(), "=");

    Key(27).pressed = 1;
    EXPECT_EQ(Send(WM_NCMOUSEMOVE, HTCAPTION, ScreenPoint(5, 200)), 0);
    EXPECT_EQ(Key(27).pressed, 0);
}

TEST_F(WindowProcTest, OffKeyClickEndsInClose) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 100));
    Send(WM_LBUTTONUP, 0, MAKELPARAM(20, 100));
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, window_, WM_CHAR, WM_CHAR, PM_REMOVE));
    EXPECT_EQ(message.wParam, WPARAM{'Q'});
    DispatchMessageA(&message);
    EXPECT_EQ(PostedCloses(), 1);
}

TEST_F(WindowProcTest, MenuCommands) {
    Show();
    EXPECT_EQ(Send(WM_COMMAND, MAKEWPARAM(40004, 0)), 0);  // unknown: default handling
    EXPECT_EQ(Send(WM_COMMAND, MAKEWPARAM(1, 0)), 0);
    EXPECT_FALSE(IsIconic(window_));
    EXPECT_EQ(Send(WM_COMMAND, MAKEWPARAM(40005, 0)), 0);
    EXPECT_TRUE(IsIconic(window_));
}

TEST_F(WindowProcTest, PlacementShapesTheWindowAtTheTopRight) {
    EXPECT_EQ(Send(WM_USER), 0);
    RECT window{};
    GetWindowRect(window_, &window);
    EXPECT_EQ(window.left, GetSystemMetrics(SM_CXSCREEN) - 300);
    EXPECT_EQ(window.top, 0);
    EXPECT_EQ(window.right - window.left, 300);
    EXPECT_EQ(window.bottom - window.top, 450);
    EXPECT_NE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    // The window owns the region now; the skin no longer does.
    EXPECT_FALSE(app_->windowRegion);
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(window_, copy), COMPLEXREGION);
    EXPECT_FALSE(PtInRegion(copy, 0, 0));
    EXPECT_TRUE(PtInRegion(copy, 150, 225));
    DeleteObject(copy);
}

TEST_F(WindowProcTest, WithoutAnAppMessagesGetTheirDefaultHandling) {
    AttachApp(window_, nullptr);
    EXPECT_EQ(Send(WM_CHAR, '7'), 0);
    EXPECT_EQ(app_->engine.display.integerPart, 0);
    EXPECT_EQ(Send(WM_USER), 0);
    EXPECT_TRUE(app_->windowRegion);  // not placed
    EXPECT_EQ(Send(WM_LBUTTONUP, 0, MAKELPARAM(30, 100)), 0);
    EXPECT_EQ(PostedChars(), "");
    EXPECT_EQ(Send(WM_CHAR, 'q'), 0);
    EXPECT_EQ(PostedCloses(), 1);
}

}  // namespace
