// Menu objects: building and querying menus, temporary and permanent wrappers, ownership.
#include "framework/Framework.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

const UINT kOpenItem = 100;
const UINT kSaveItem = 101;
const UINT kLeftItem = 200;
const UINT kCentreItem = 201;
const UINT kRightItem = 202;

// File popup: "&Open", "&Save", separator, and an "Align" sub-menu of three radio items.
void BuildFileMenu(CMenu& menu, CMenu& align)
{
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(align.CreatePopupMenu());
    ASSERT_TRUE(align.AppendMenu(MF_STRING, kLeftItem, "Left"));
    ASSERT_TRUE(align.AppendMenu(MF_STRING, kCentreItem, "Centre"));
    ASSERT_TRUE(align.AppendMenu(MF_STRING, kRightItem, "Right"));
    ASSERT_TRUE(menu.AppendMenu(MF_STRING, kOpenItem, "&Open"));
    ASSERT_TRUE(menu.AppendMenu(MF_STRING, kSaveItem, "&Save"));
    ASSERT_TRUE(menu.AppendMenu(MF_SEPARATOR));
    // The sub-menu now belongs to the file menu, which destroys it with itself.
    ASSERT_TRUE(menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(align.Detach()), "Align"));
}

} // namespace

TEST(CMenu, BuiltMenuAnswersItsQueries)
{
    CMenu menu;
    CMenu align;
    BuildFileMenu(menu, align);
    EXPECT_EQ(4, menu.GetMenuItemCount());
    EXPECT_EQ(kOpenItem, menu.GetMenuItemID(0));
    EXPECT_EQ(0u, menu.GetMenuItemID(2)) << "a separator";
    EXPECT_EQ(UINT(-1), menu.GetMenuItemID(3)) << "a sub-menu";
    EXPECT_EQ(UINT(-1), menu.GetMenuItemID(9)) << "past the end";

    CString text;
    EXPECT_EQ(5, menu.GetMenuString(kSaveItem, text, MF_BYCOMMAND));
    EXPECT_STREQ("&Save", text);
    EXPECT_EQ(0, menu.GetMenuString(2, text, MF_BYPOSITION));
    EXPECT_TRUE(text.IsEmpty());
    // A short buffer gets a cut, zero-terminated text.
    char shortBuffer[4];
    memset(shortBuffer, 'x', sizeof shortBuffer);
    EXPECT_EQ(3, menu.GetMenuString(0, shortBuffer, sizeof shortBuffer, MF_BYPOSITION));
    EXPECT_STREQ("&Op", shortBuffer);

    CMenu* sub = menu.GetSubMenu(3);
    ASSERT_NE(nullptr, sub);
    EXPECT_EQ(3, sub->GetMenuItemCount());
    EXPECT_EQ(nullptr, menu.GetSubMenu(0)) << "a command item has no sub-menu";
    AfxDeleteTempMaps();
}

TEST(CMenu, ItemStatesFollowCheckEnableAndRadio)
{
    CMenu menu;
    CMenu align;
    BuildFileMenu(menu, align);
    EXPECT_EQ(UINT(MF_UNCHECKED), menu.CheckMenuItem(kOpenItem, MF_BYCOMMAND | MF_CHECKED)) << "previous state";
    EXPECT_EQ(UINT(MF_ENABLED), menu.EnableMenuItem(kSaveItem, MF_BYCOMMAND | MF_GRAYED)) << "previous state";
    EXPECT_TRUE(menu.GetMenuState(kOpenItem, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(menu.GetMenuState(kSaveItem, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ(UINT(-1), menu.GetMenuState(999, MF_BYCOMMAND)) << "no such item";

    // Radio items in the sub-menu: exactly one checked.
    CMenu* sub = menu.GetSubMenu(3);
    ASSERT_TRUE(sub->CheckMenuRadioItem(kLeftItem, kRightItem, kCentreItem, MF_BYCOMMAND));
    EXPECT_FALSE(sub->GetMenuState(kLeftItem, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(sub->GetMenuState(kCentreItem, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(sub->GetMenuState(kRightItem, MF_BYCOMMAND) & MF_CHECKED);
    AfxDeleteTempMaps();
}

TEST(CMenu, InsertModifyRemoveAndDeleteEditTheItems)
{
    CMenu menu;
    CMenu align;
    BuildFileMenu(menu, align);
    ASSERT_TRUE(menu.InsertMenu(0, MF_BYPOSITION | MF_STRING, 99, "&New"));
    EXPECT_EQ(99u, menu.GetMenuItemID(0));
    ASSERT_TRUE(menu.ModifyMenu(kSaveItem, MF_BYCOMMAND | MF_STRING, kSaveItem, "Save &As"));
    CString text;
    menu.GetMenuString(kSaveItem, text, MF_BYCOMMAND);
    EXPECT_STREQ("Save &As", text);

    // Removing keeps the sub-menu alive; deleting would have destroyed it.
    HMENU sub = ::GetSubMenu(menu, 4);
    ASSERT_TRUE(menu.RemoveMenu(4, MF_BYPOSITION));
    EXPECT_TRUE(::IsMenu(sub));
    EXPECT_EQ(4, menu.GetMenuItemCount());
    ASSERT_TRUE(menu.InsertMenu(0, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "Align"));
    ASSERT_TRUE(menu.DeleteMenu(0, MF_BYPOSITION));
    EXPECT_FALSE(::IsMenu(sub));
    EXPECT_FALSE(menu.DeleteMenu(999, MF_BYCOMMAND));
    EXPECT_EQ(4, menu.GetMenuItemCount());
}

TEST(CMenu, ItemInfoWorksWhateverSizeTheCallerWrote)
{
    CMenu menu;
    CMenu align;
    BuildFileMenu(menu, align);
    MENUITEMINFOA info = {};
    info.cbSize = 44;  // the 32-bit structure size some callers still write
    info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STATE;
    ASSERT_TRUE(menu.GetMenuItemInfo(3, &info, TRUE));
    EXPECT_EQ(sizeof(MENUITEMINFOA), info.cbSize);
    EXPECT_EQ(::GetSubMenu(menu, 3), info.hSubMenu);

    MENUITEMINFOA change = {};
    change.cbSize = 44;
    change.fMask = MIIM_DATA | MIIM_STATE;
    change.dwItemData = static_cast<ULONG_PTR>(0x123456789ABCull);  // needs all 64 bits
    change.fState = MFS_CHECKED;
    ASSERT_TRUE(menu.SetMenuItemInfo(kOpenItem, &change));
    MENUITEMINFOA back = {};
    back.fMask = MIIM_DATA | MIIM_STATE;
    ASSERT_TRUE(menu.GetMenuItemInfo(kOpenItem, &back));
    EXPECT_EQ(change.dwItemData, back.dwItemData);
    EXPECT_TRUE(back.fState & MFS_CHECKED);

    MENUITEMINFOA added = {};
    added.fMask = MIIM_ID | MIIM_STRING;
    added.wID = 55;
    char label[] = "Added";
    added.dwTypeData = label;
    ASSERT_TRUE(menu.InsertMenuItem(0, &added, TRUE));
    EXPECT_EQ(55u, menu.GetMenuItemID(0));
}

TEST(CMenu, OwnedMenuIsDestroyedWithItsObjectUnlessDetached)
{
    HMENU destroyed;
    {
        CMenu menu;
        ASSERT_TRUE(menu.CreateMenu());
        destroyed = menu.m_hMenu;
        EXPECT_EQ(&menu, CMenu::FromHandlePermanent(destroyed));
        EXPECT_EQ(&menu, CMenu::FromHandle(destroyed));
    }
    EXPECT_FALSE(::IsMenu(destroyed));
    EXPECT_EQ(nullptr, CMenu::FromHandlePermanent(destroyed));

    HMENU kept;
    {
        CMenu menu;
        ASSERT_TRUE(menu.CreatePopupMenu());
        kept = menu.Detach();
        EXPECT_EQ(nullptr, menu.m_hMenu);
        EXPECT_EQ(nullptr, CMenu::FromHandlePermanent(kept));
    }
    EXPECT_TRUE(::IsMenu(kept));
    ::DestroyMenu(kept);
}

TEST(CMenu, AttachRefusesNullAndASecondMenu)
{
    CMenu menu;
    EXPECT_FALSE(menu.Attach(nullptr));
    HMENU first = ::CreateMenu();
    HMENU second = ::CreateMenu();
    ASSERT_TRUE(menu.Attach(first));
    EXPECT_FALSE(menu.Attach(second)) << "the first menu would be lost";
    EXPECT_EQ(first, menu.m_hMenu);
    EXPECT_FALSE(menu.CreatePopupMenu());
    EXPECT_TRUE(::IsMenu(first));
    ::DestroyMenu(second);
    EXPECT_EQ(-1, CMenu().GetMenuItemCount()) << "an empty object holds no menu";
}

TEST(CMenu, TemporaryWrappersAreReusedAndFreedWithoutDestroyingTheMenu)
{
    HMENU foreign = ::CreatePopupMenu();
    ASSERT_TRUE(::AppendMenuA(foreign, MF_STRING, 1, "One"));
    CMenu* temporary = CMenu::FromHandle(foreign);
    ASSERT_NE(nullptr, temporary);
    EXPECT_EQ(foreign, temporary->m_hMenu);
    EXPECT_EQ(temporary, CMenu::FromHandle(foreign));
    EXPECT_EQ(RUNTIME_CLASS(CMenu), temporary->GetRuntimeClass());
    EXPECT_EQ(nullptr, CMenu::FromHandlePermanent(foreign));
    EXPECT_EQ(nullptr, CMenu::FromHandle(nullptr));
    CMenu* none = CMenu::FromHandle(nullptr);
    EXPECT_EQ(nullptr, none->GetSafeHmenu()) << "safe through a null pointer";

    AfxDeleteTempMaps();
    EXPECT_TRUE(::IsMenu(foreign)) << "a temporary wrapper never owns its menu";
    CMenu* again = CMenu::FromHandle(foreign);
    ASSERT_NE(nullptr, again);
    EXPECT_EQ(1, again->GetMenuItemCount());

    // Destroying through a temporary leaves it empty until the handle is asked for again.
    EXPECT_TRUE(again->DestroyMenu());
    EXPECT_FALSE(::IsMenu(foreign));
    EXPECT_EQ(nullptr, again->m_hMenu);
    EXPECT_EQ(foreign, CMenu::FromHandle(foreign)->m_hMenu);
    AfxDeleteTempMaps();
}

TEST(CMenu, LoadsFromTheFrameworkResourceModule)
{
    // Wine's user32 carries the system menu as a named menu resource.
    AfxSetResourceHandle(::GetModuleHandleA("user32.dll"));
    CMenu menu;
    BOOL loaded = menu.LoadMenu("SYSMENU");
    AfxSetResourceHandle(nullptr);
    ASSERT_TRUE(loaded);
    EXPECT_GT(menu.GetMenuItemCount(), 0);
    EXPECT_NE(UINT(-1), menu.GetMenuState(SC_CLOSE, MF_BYCOMMAND));

    CMenu missing;
    EXPECT_FALSE(missing.LoadMenu(4242)) << "the program has no such menu";
    EXPECT_EQ(nullptr, missing.m_hMenu);
}

TEST(CMenu, ObjectMadeOnAnotherThreadStillDestroysItsMenu)
{
    CMenu* survivor = nullptr;
    BOOL created = FALSE;
    std::thread worker([&] {
        survivor = new CMenu;
        created = survivor->CreatePopupMenu();
    });
    worker.join();
    ASSERT_TRUE(created);
    HMENU handle = survivor->m_hMenu;
    EXPECT_EQ(nullptr, CMenu::FromHandlePermanent(handle)) << "permanent only on its own thread";
    delete survivor;
    EXPECT_FALSE(::IsMenu(handle));
}

namespace {

struct TrackingSeen {
    HWND window;
    HMENU menu;
    bool choose;  // pick the first item instead of cancelling
};
TrackingSeen g_tracking;

// Runs inside the menu loop: notes the thread's tracking record, then ends the loop.
void CALLBACK EndTracking(HWND, UINT, UINT_PTR timer, DWORD)
{
    ::KillTimer(nullptr, timer);
    g_tracking.window = AfxGetThreadState()->m_hTrackingWindow;
    g_tracking.menu = AfxGetThreadState()->m_hTrackingMenu;
    if (!g_tracking.choose) {
        ::EndMenu();
        return;
    }
    HWND focus = AfxGetThreadState()->m_hTrackingWindow;
    ::PostMessageA(focus, WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageA(focus, WM_KEYDOWN, VK_RETURN, 0);
}

} // namespace

TEST(CMenu, TrackingNamesItsOwnerAndMenuForTheLoopOnly)
{
    HWND window = ::CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, window);
    CWnd* owner = CWnd::FromHandle(window);
    CMenu menu;
    CMenu align;
    BuildFileMenu(menu, align);

    g_tracking = {nullptr, nullptr, false};
    ::SetTimer(nullptr, 0, 10, EndTracking);
    EXPECT_EQ(0, menu.TrackPopupMenu(TPM_RETURNCMD, 0, 0, owner)) << "cancelled";
    EXPECT_EQ(window, g_tracking.window);
    EXPECT_EQ(menu.m_hMenu, g_tracking.menu);
    EXPECT_EQ(nullptr, AfxGetThreadState()->m_hTrackingWindow) << "put back after the loop";
    EXPECT_EQ(nullptr, AfxGetThreadState()->m_hTrackingMenu);

    g_tracking = {nullptr, nullptr, true};
    ::SetTimer(nullptr, 0, 10, EndTracking);
    TPMPARAMS params = {sizeof params, {0, 0, 0, 0}};
    EXPECT_EQ(BOOL(kOpenItem), menu.TrackPopupMenuEx(TPM_RETURNCMD, 0, 0, owner, &params)) << "the first item";
    EXPECT_EQ(menu.m_hMenu, g_tracking.menu);

    EXPECT_FALSE(menu.TrackPopupMenu(TPM_RETURNCMD, 0, 0, nullptr)) << "no owner, no menu";
    ::DestroyWindow(window);
    AfxDeleteTempMaps();
}
