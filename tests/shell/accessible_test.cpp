#include <oleacc.h>

#include "shell_fixture.h"

namespace {

using AccessibleTest = CalcWindowTest;

// A client may keep its reference after the window or the application has gone; every call
// then fails cleanly instead of reaching either. All calls open alike: one getter stands for
// them, with the calls that name a child on their own.
TEST_F(AccessibleTest, CallsFailOnceTheWindowOrTheApplicationIsGone) {
    VARIANT display{}, key{};
    display.vt = key.vt = VT_I4;
    display.lVal = DisplayChildId;
    key.lVal = FirstKeyChildId;
    for (const bool windowGoes : {true, false}) {
        SCOPED_TRACE(windowGoes ? "window destroyed" : "application detached and gone");
        IAccessible* object = nullptr;
        ASSERT_EQ(
            AccessibleObjectFromWindow(window_, static_cast<DWORD>(OBJID_CLIENT),
                                       __uuidof(IAccessible), reinterpret_cast<void**>(&object)),
            S_OK);
        LONG count = 0;
        EXPECT_EQ(object->get_accChildCount(&count), S_OK);
        EXPECT_EQ(count, 1 + KeyCount);
        if (windowGoes) {
            DestroyWindow(window_);
        } else {
            AttachApp(window_, nullptr);
            app_.reset();
        }
        BSTR text = nullptr;
        LONG left = 0;
        EXPECT_EQ(object->get_accValue(display, &text), RPC_E_DISCONNECTED);
        EXPECT_EQ(object->accLocation(&left, &left, &left, &left, key), RPC_E_DISCONNECTED);
        EXPECT_EQ(object->accDoDefaultAction(key), RPC_E_DISCONNECTED);
        EXPECT_EQ(text, nullptr);
        object->Release();
        TearDown();
        app_ = std::make_unique<CalcApp>(platform_.Get());
        SetUp();
    }
}

}  // namespace
