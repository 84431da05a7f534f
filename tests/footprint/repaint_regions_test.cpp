// A key press repaints only what it changes: a command the display strip, a key going down or
// up its own rectangle widened by the 2 pixels that a pressed key's drawing shifts. Every
// WM_PAINT's update region is recorded before the window procedure validates it.

#include <vector>

#include "../shell/shell_fixture.h"
#include "shell/key_layout.h"

namespace {

const RECT Strip{DisplayLeft, DisplayTop, WindowWidth - DisplayLeft, DisplayTop + DisplayHeight};
constexpr int PressedSlack = 2;
constexpr int OffKeyIndex = 0;  // closes the window

RECT KeyArea(int index) {
    const KeyRect key = KeyRectangle(index);
    return {key.left, key.top, key.right + PressedSlack, key.bottom + PressedSlack};
}

class RepaintRegionTest : public CalcWindowTest {
protected:
    void SetUp() override {
        CalcWindowTest::SetUp();
        recording_ = this;
        SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc));
        Show();
        Forget();
    }

    void TearDown() override {
        if (window_ != nullptr) {
            SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MainWindowProc));
        }
        Forget();
        recording_ = nullptr;
        CalcWindowTest::TearDown();
    }

    static LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam,
                                          LPARAM lParam) {
        if (message == WM_PAINT && recording_ != nullptr) {
            HRGN region = CreateRectRgn(0, 0, 0, 0);
            const int kind = GetUpdateRgn(window, region, FALSE);
            recording_->paints_.push_back({region, kind});
        }
        return MainWindowProc(window, message, wParam, lParam);
    }

    struct Paint {
        HRGN region;
        int kind;
    };

    void Forget() {
        for (const Paint& paint : paints_) {
            DeleteObject(paint.region);
        }
        paints_.clear();
    }

    // The characters a key posted, dispatched as the message loop would, then painted.
    void DeliverPostedCharacters() {
        MSG message;
        while (PeekMessageA(&message, window_, WM_CHAR, WM_CHAR, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
        UpdateWindow(window_);
    }

    // Empty when every paint since the last call touched only `allowed`; otherwise what went
    // wrong. At least one paint and at most `most` are expected.
    std::string PaintsOutside(const RECT& allowed, std::size_t most = 1) {
        std::string problems;
        if (paints_.empty() || paints_.size() > most) {
            problems += std::to_string(paints_.size()) + " paints; ";
        }
        HRGN inside = CreateRectRgnIndirect(&allowed);
        HRGN rest = CreateRectRgn(0, 0, 0, 0);
        for (const Paint& paint : paints_) {
            RECT box{};
            GetRgnBox(paint.region, &box);
            if (paint.kind != SIMPLEREGION && paint.kind != COMPLEXREGION) {
                problems += "a paint without an update region; ";
            } else if (CombineRgn(rest, paint.region, inside, RGN_DIFF) != NULLREGION) {
                problems += "painted (" + std::to_string(box.left) + ", " +
                            std::to_string(box.top) + ")-(" + std::to_string(box.right) + ", " +
                            std::to_string(box.bottom) + "); ";
            }
        }
        DeleteObject(rest);
        DeleteObject(inside);
        Forget();
        return problems;
    }

    static LPARAM ClientPoint(int x, int y) { return MAKELPARAM(x, y); }

    static inline RepaintRegionTest* recording_ = nullptr;
    std::vector<Paint> paints_;
};

TEST_F(RepaintRegionTest, TypedCommandsRepaintOnlyTheDisplayStrip) {
    // An office round: AC, 12 x 128,500 = =, M+, tax-included, GT; then sign, C, % and
    // memory recall, so that the memory mark and the tax label come and go.
    for (const char command : std::string_view("A12*128500==PZGM5C3%RT")) {
        Send(WM_CHAR, static_cast<WPARAM>(command));
        UpdateWindow(window_);
        EXPECT_EQ(PaintsOutside(Strip), "") << "command " << command;
    }
}

TEST_F(RepaintRegionTest, ClickRepaintsTheKeyThenTheDisplay) {
    for (int index = 0; index < KeyCount; ++index) {
        if (index == OffKeyIndex) {
            continue;
        }
        const KeyRect key = KeyRectangle(index);
        const LPARAM centre = ClientPoint((key.left + key.right) / 2, (key.top + key.bottom) / 2);
        const char command = KeyMap[index];

        Send(WM_LBUTTONDOWN, MK_LBUTTON, centre);
        EXPECT_EQ(PaintsOutside(KeyArea(index)), "") << "pressing " << command;
        Send(WM_LBUTTONUP, 0, centre);
        EXPECT_EQ(PaintsOutside(KeyArea(index)), "") << "releasing " << command;

        // A command that changes nothing visible (paste of an empty clipboard) paints nothing.
        DeliverPostedCharacters();
        if (!paints_.empty()) {
            EXPECT_EQ(PaintsOutside(Strip), "") << "command " << command;
        }
    }
}

TEST_F(RepaintRegionTest, LeavingAPressedKeyRepaintsOnlyThatKey) {
    constexpr int SevenKey = 10;
    const KeyRect key = KeyRectangle(SevenKey);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(key.left + 5, key.top + 5));
    Forget();
    // The pointer moves over the body: the non-client move raises the key.
    POINT body{5, 5};
    ClientToScreen(window_, &body);
    Send(WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(body.x, body.y));
    EXPECT_EQ(PaintsOutside(KeyArea(SevenKey)), "");
}

}  // namespace
