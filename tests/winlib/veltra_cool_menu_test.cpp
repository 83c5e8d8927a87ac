// The library's cool menu hooks the window it is given, and no window without one.
#include "lib/src/Win2/Wnd/iVeltraCoolMenu.h"

#include "framework/window_test_support.h"

#include <gtest/gtest.h>

namespace {

TEST(VeltraCoolMenu, HooksTheWindowItIsGivenForItsLifetime)
{
    HWND window = test_support::CreateForeignWindow();
    const LONG_PTR procedure = GetWindowLongPtrA(window, GWLP_WNDPROC);
    {
        iVeltraCoolMenu cool(CWnd::FromHandle(window));
        EXPECT_TRUE(cool.IsHooked());
        EXPECT_NE(procedure, GetWindowLongPtrA(window, GWLP_WNDPROC));
    }
    EXPECT_EQ(procedure, GetWindowLongPtrA(window, GWLP_WNDPROC));
    DestroyWindow(window);
}

TEST(VeltraCoolMenu, WithoutAWindowItHooksNothing)
{
    iVeltraCoolMenu none;
    EXPECT_FALSE(none.IsHooked());
    iVeltraCoolMenu nullWindow(nullptr);
    EXPECT_FALSE(nullWindow.IsHooked());
    CWnd noWindowYet;
    iVeltraCoolMenu unmade(&noWindowYet);
    EXPECT_FALSE(unmade.IsHooked());
}

} // namespace
