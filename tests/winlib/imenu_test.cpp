// Menus owning their handle: an empty menu bar and pop-up menu from the constructor,
// items added with the framework's operations, a pop-up tracked and chosen from, and the
// handle destroyed with the object (a detached one survives).
#include "lib/src/Win2/Wnd/iMenu.h"

#include <gtest/gtest.h>

namespace {

constexpr UINT kOpen = 57601;
constexpr UINT kSave = 57603;

// Runs inside the menu loop: moves to the first item and takes it.
void CALLBACK ChooseFirstItem(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    HWND owner = AfxGetThreadState()->m_hTrackingWindow;
    PostMessageA(owner, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(owner, WM_KEYDOWN, VK_RETURN, 0);
}

} // namespace

TEST(IMenu, MenuBarIsEmptyUntilFilledAndGoesWithTheObject)
{
    HMENU handle = nullptr;
    {
        iMenu bar;
        handle = bar.m_hMenu;
        ASSERT_TRUE(IsMenu(handle));
        EXPECT_EQ(0, bar.GetMenuItemCount());
        ASSERT_TRUE(bar.AppendMenu(MF_STRING, kOpen, "&Open"));
        CWnd window;
        ASSERT_TRUE(window.CreateEx(0, nullptr, "menu", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr));
        ASSERT_TRUE(window.SetMenu(&bar));
        EXPECT_EQ(handle, ::GetMenu(window.m_hWnd));
        // The window gives the bar back before the object destroys it.
        window.SetMenu(nullptr);
    }
    EXPECT_FALSE(IsMenu(handle));
}

TEST(IPopupMenu, TrackedItemsAreChosenAndTheMenuGoesWithTheObject)
{
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, owner);
    HMENU handle = nullptr;
    {
        iPopupMenu popup;
        handle = popup.m_hMenu;
        ASSERT_TRUE(IsMenu(handle));
        EXPECT_EQ(0, popup.GetMenuItemCount());
        ASSERT_TRUE(popup.AppendMenu(MF_STRING, kOpen, "&Open"));
        ASSERT_TRUE(popup.AppendMenu(MF_STRING, kSave, "&Save"));
        SetTimer(nullptr, 0, 10, ChooseFirstItem);
        EXPECT_EQ(static_cast<BOOL>(kOpen), popup.TrackPopupMenu(TPM_RETURNCMD, 0, 0, CWnd::FromHandle(owner)));
        EXPECT_TRUE(IsMenu(handle)) << "the menu lives as long as its object";
    }
    EXPECT_FALSE(IsMenu(handle));
    DestroyWindow(owner);
    AfxDeleteTempMaps();
}

TEST(IMenuBase, HeldMenuIsDestroyedDetachedMenuSurvives)
{
    HMENU held = CreatePopupMenu();
    HMENU detached = CreatePopupMenu();
    {
        _iMenu holder;
        EXPECT_EQ(nullptr, holder.m_hMenu);
        ASSERT_TRUE(holder.Attach(held));
        _iMenu other;
        ASSERT_TRUE(other.Attach(detached));
        EXPECT_EQ(detached, other.Detach());
        _iMenu empty;
    }
    EXPECT_FALSE(IsMenu(held));
    EXPECT_TRUE(IsMenu(detached));
    DestroyMenu(detached);
}
