// Popup menu windows: one hook per menu window, which learns its menu whichever comes first
// (the window or its menu's initialisation), the system settings kept while popups are
// open, the XP look's frameless popups, the toolkit's own shadow and saved screen on older
// systems, and the hook's reactions to the system's undocumented menu messages.
#include "menu_test_support.h"

#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZMemDC.h"
#include "toolkit/foundation/QZMessages.h"
#include "toolkit/foundation/QZVersion.h"

namespace toolkit_test {
namespace {

HWND CreateMenuWindow()
{
    return CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE, "#32768", nullptr,
                           WS_POPUP | WS_BORDER | WS_DLGFRAME, 10, 10, 120, 80, nullptr, nullptr, nullptr, nullptr);
}

CQZPopupMenu* HookOf(HWND window)
{
    for (POSITION pos = CQZPopupMenu::m_listPopups.GetHeadPosition(); pos;) {
        CQZPopupMenu* popup = CQZPopupMenu::m_listPopups.GetNext(pos);
        if (popup->m_hWnd == window)
            return popup;
    }
    return nullptr;
}

BOOL ReadSetting(UINT action)
{
    BOOL value = FALSE;
    SystemParametersInfoA(action, 0, &value, 0);
    return value;
}

class PopupMenuTest : public MenuFrameTest {
protected:
    void SetUp() override
    {
        MenuFrameTest::SetUp();
        for (CMenu* menu : {&menuA, &menuB, &menuC}) {
            ASSERT_TRUE(menu->CreatePopupMenu());
            menu->AppendMenu(MF_STRING, ID_TEST_FIRST, "&First");
        }
        CQZPopupMenu::m_hMenuPending = nullptr;
        CQZPopupMenu::m_pWaitingPopup = nullptr;
    }
    void TearDown() override
    {
        for (HWND window : windows) {
            if (IsWindow(window))
                DestroyWindow(window);
        }
        qzAfxData.xpLook = 0;
        CQZPopupMenu::m_hMenuPending = nullptr;
        MenuFrameTest::TearDown();
    }
    HWND MakeMenuWindow()
    {
        HWND window = CreateMenuWindow();
        windows.push_back(window);
        return window;
    }
    void Init(CMenu& menu) { InitPopup(frame->m_hWnd, menu.m_hMenu); }

    CMenu menuA;
    CMenu menuB;
    CMenu menuC;
    std::vector<HWND> windows;
};

// A window made before its menu waits for it, also after an earlier window took a menu
// initialised before it: that menu is not handed out again.
TEST_F(PopupMenuTest, MenuWindowsMadeBeforeTheirMenusEachWaitForTheirOwn)
{
    Init(menuC);
    HWND earlier = MakeMenuWindow();
    ASSERT_TRUE(HookOf(earlier));
    EXPECT_EQ(menuC.m_hMenu, HookOf(earlier)->m_hMenu);
    HWND first = MakeMenuWindow();
    ASSERT_TRUE(HookOf(first));
    EXPECT_EQ(nullptr, HookOf(first)->m_hMenu);
    Init(menuA);
    HWND second = MakeMenuWindow();
    EXPECT_EQ(nullptr, HookOf(second)->m_hMenu) << "the menu went to the waiting window alone";
    Init(menuB);
    EXPECT_EQ(menuC.m_hMenu, HookOf(earlier)->m_hMenu);
    EXPECT_EQ(menuA.m_hMenu, HookOf(first)->m_hMenu);
    EXPECT_EQ(menuB.m_hMenu, HookOf(second)->m_hMenu);
}

// Windows' own order: the menu is initialised first and the window then takes it. A window
// made before the next initialisation must not take that menu a second time.
TEST_F(PopupMenuTest, PendingMenuIsTakenOnceAndALaterEarlyWindowWaitsForItsOwn)
{
    Init(menuA);
    HWND first = MakeMenuWindow();
    EXPECT_EQ(menuA.m_hMenu, HookOf(first)->m_hMenu);
    HWND second = MakeMenuWindow();
    EXPECT_EQ(nullptr, HookOf(second)->m_hMenu) << "it waits for its own menu";
    Init(menuB);
    EXPECT_EQ(menuB.m_hMenu, HookOf(second)->m_hMenu);
    EXPECT_EQ(menuA.m_hMenu, HookOf(first)->m_hMenu);
}

TEST_F(PopupMenuTest, WaitingWindowDestroyedBeforeItsMenuIsForgotten)
{
    HWND gone = MakeMenuWindow();
    const int hooks = CQZPopupMenu::m_listPopups.GetCount();
    DestroyWindow(gone);
    EXPECT_EQ(hooks - 1, CQZPopupMenu::m_listPopups.GetCount()) << "its hook goes with it";
    Init(menuC);
    HWND next = MakeMenuWindow();
    EXPECT_EQ(menuC.m_hMenu, HookOf(next)->m_hMenu);
}

TEST_F(PopupMenuTest, SystemMenuLeavesTheWaitingWindowWithoutAMenu)
{
    HWND window = MakeMenuWindow();
    InitPopup(frame->m_hWnd, GetSystemMenu(frame->m_hWnd, FALSE), 0, TRUE);
    Init(menuA);
    EXPECT_EQ(nullptr, HookOf(window)->m_hMenu);
}

// Both thread hooks that watch window creation see a menu window, whichever came first.
TEST_F(PopupMenuTest, FrameworkCreationHookAndMenuWindowHookBothSeeAMenuWindow)
{
    for (bool toolkitNewer : {false, true}) {
        SCOPED_TRACE(toolkitNewer ? "the menu-window hook installed last" : "the creation hook installed last");
        CWnd attached;
        if (toolkitNewer) {
            AfxHookWindowCreate(&attached);
            CQZCoolMenu::RemoveHook();
            CQZCoolMenu::InstallHook();
        } else {
            AfxHookWindowCreate(&attached);
        }
        HWND window = MakeMenuWindow();
        AfxUnhookWindowCreate();
        EXPECT_EQ(&attached, CWnd::FromHandlePermanent(window));
        EXPECT_NE(nullptr, HookOf(window));
        attached.Detach();
    }
}

// Under Wine the menu window is made before the popup is initialised: a real popup, a second
// one after it, and a sub-menu each end with a hook that holds its own menu.
TEST_F(PopupMenuTest, RealPopupsAndASubMenuEachHoldTheirOwnMenu)
{
    CMenu main;
    ASSERT_TRUE(main.LoadMenu(IDR_TEST_MAIN_MENU));
    HMENU file = ::GetSubMenu(main.m_hMenu, 0);
    HMENU recent = ::GetSubMenu(file, 3);
    std::vector<std::pair<HMENU, HMENU>> seen;  // (menu shown, menu the hook holds)
    auto look = [&] {
        for (POSITION pos = CQZPopupMenu::m_listPopups.GetHeadPosition(); pos;) {
            CQZPopupMenu* popup = CQZPopupMenu::m_listPopups.GetNext(pos);
            seen.emplace_back(MenuOfWindow(popup->m_hWnd), popup->m_hMenu);
        }
    };
    {
        MenuScript script({[] { PostKey(VK_ESCAPE); }});
        CQZMenu::TrackPopupMenuEx(menuA.m_hMenu, 0, 20, 20, frame, nullptr, FALSE);
    }
    {
        MenuScript script({[] { PostKey(VK_DOWN); }, [] { PostKey(VK_DOWN); }, [] { PostKey(VK_DOWN); },
                           [] { PostKey(VK_RIGHT); }, look, [] { PostKey(VK_ESCAPE); }, [] { PostKey(VK_ESCAPE); }});
        CQZMenu::TrackPopupMenuEx(file, 0, 20, 20, frame, nullptr, FALSE);
        EXPECT_FALSE(script.TimedOut());
    }
    ASSERT_EQ(2u, seen.size()) << "the popup and its sub-menu";
    EXPECT_EQ(file, seen[0].first);
    EXPECT_EQ(recent, seen[1].first);
    for (const auto& [shown, held] : seen)
        EXPECT_EQ(shown, held);
    EXPECT_TRUE(CQZPopupMenu::m_listPopups.IsEmpty()) << "every hook went with its window";
}

TEST_F(PopupMenuTest, AnimationIsOffAndShadowsFollowTheToolkitWhilePopupsAreOpen)
{
    const BOOL animation = ReadSetting(SPI_GETMENUANIMATION);
    const BOOL shadows = ReadSetting(SPI_GETDROPSHADOW);
    BOOL animationOpen = TRUE;
    BOOL shadowsOpen = !qzAfxData.popupShadows;
    MenuScript script({[&] {
        animationOpen = ReadSetting(SPI_GETMENUANIMATION);
        shadowsOpen = ReadSetting(SPI_GETDROPSHADOW);
        PostKey(VK_ESCAPE);
    }});
    CQZMenu::TrackPopupMenuEx(menuA.m_hMenu, 0, 20, 20, frame, nullptr, FALSE);
    EXPECT_FALSE(animationOpen);
    ASSERT_TRUE(CQZPopupMenu::m_bSystemShadows) << "this system draws menu shadows itself";
    EXPECT_EQ(qzAfxData.popupShadows != 0, shadowsOpen != FALSE);
    EXPECT_EQ(animation, ReadSetting(SPI_GETMENUANIMATION));
    EXPECT_EQ(shadows, ReadSetting(SPI_GETDROPSHADOW));
}

TEST_F(PopupMenuTest, XPLookTakesBordersAndEdgesOffMenuWindows)
{
    qzAfxData.xpLook = 1;
    DWORD style = WS_BORDER;
    DWORD exStyle = WS_EX_WINDOWEDGE;
    MenuScript script({[&] {
        HWND window = NewestMenuWindow();
        style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
        exStyle = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE));
        PostKey(VK_ESCAPE);
    }});
    CQZMenu::TrackPopupMenuEx(menuA.m_hMenu, 0, 20, 20, frame, nullptr, FALSE);
    EXPECT_EQ(0u, style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME));
    EXPECT_EQ(0u, exStyle & (WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_STATICEDGE));

    qzAfxData.xpLook = 0;
    HWND classic = MakeMenuWindow();
    QZRemoveMenuFrame(classic);
    EXPECT_TRUE(GetWindowLongPtrA(classic, GWL_STYLE) & WS_BORDER) << "the classic look keeps the frame";
}

// Before Windows XP the toolkit draws the shadow and paints back the screen under the popup.
class OlderSystemPopupTest : public PopupMenuTest {
protected:
    static BOOL Windows2000(OSVERSIONINFOA* info)
    {
        info->dwPlatformId = VER_PLATFORM_WIN32_NT;
        info->dwMajorVersion = 5;
        info->dwMinorVersion = 0;
        return TRUE;
    }
    void SetUp() override
    {
        PopupMenuTest::SetUp();
        previous = QZSetVersionReader(&Windows2000);
    }
    void TearDown() override
    {
        QZSetVersionReader(previous);
        CQZPopupMenu::m_bSystemShadows = true;
        PopupMenuTest::TearDown();
    }
    QZVersionReader previous = nullptr;
};

TEST_F(OlderSystemPopupTest, PopupOfATrackedMenuSavesTheScreenUnderItAndShadowAtItsPlace)
{
    struct Case {
        const char* why;
        BOOL popupLoop;
        UINT flags;
        bool saved;
    };
    const Case cases[] = {
        {"moved and sized in a popup loop", TRUE, 0, true},
        {"only shown", TRUE, SWP_NOMOVE | SWP_NOSIZE, false},
        {"a loop that TrackPopupMenu did not start", FALSE, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        Init(menuA);
        HWND window = MakeMenuWindow();
        CQZPopupMenu* hook = HookOf(window);
        ASSERT_TRUE(hook);
        ASSERT_FALSE(CQZPopupMenu::m_bSystemShadows);
        frame->m_coolMenu.m_bPopupLoop = c.popupLoop;
        hook->m_pOwner = &frame->m_coolMenu;
        WINDOWPOS pos = {window, nullptr, 30, 40, 120, 80, c.flags};
        SendMessageA(window, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
        ASSERT_EQ(c.saved, hook->m_pBackground != nullptr);
        if (c.saved) {
            EXPECT_EQ(CRect(30, 40, 30 + 120 + 4, 40 + 80 + 4), hook->m_pBackground->m_rect);
        }
        // A paint asks for the shadow (posted), which is made once the message arrives.
        SendMessageA(window, WM_NCPAINT, 1, 0);
        PumpPending();
        EXPECT_EQ(c.saved, hook->m_pShadow != nullptr);
        DestroyWindow(window);
    }
}

// The system's own messages to its menu windows are not delivered under Wine: the hook's
// reactions are reached by sending them.
TEST_F(PopupMenuTest, RefreshOnXPWritesTheItemsBackWhole)
{
    CMenu main;
    ASSERT_TRUE(main.LoadMenu(IDR_TEST_MAIN_MENU));
    HMENU view = ::GetSubMenu(main.m_hMenu, 2);
    const std::vector<MenuItemState> before = ReadMenu(view);
    qzAfxData.xpLook = 1;
    const int wasXP = qzAfxData.isWinXP;
    qzAfxData.isWinXP = 1;
    InitPopup(frame->m_hWnd, view);
    HWND window = MakeMenuWindow();
    ASSERT_EQ(view, HookOf(window)->m_hMenu);
    const std::vector<MenuItemState> converted = ReadMenu(view);
    SendMessageA(window, 0x00AF, 0, 0);
    PumpPending();
    qzAfxData.isWinXP = wasXP;
    EXPECT_EQ(converted, ReadMenu(view)) << "written back unchanged, the 300-character text whole";
    EndMenuLoop(frame->m_hWnd);
    EXPECT_EQ(before, ReadMenu(view));
}

} // namespace
} // namespace toolkit_test
