// The toolkit's popup menu tracking: the command comes back (and reaches the owner only
// when asked), the thread's tracking record, popups left open, a program that is ending,
// a queue that keeps filling, and the chevron's second tracking.
#include "menu_test_support.h"

#include "framework/ThreadState.h"
#include "toolkit/foundation/QZMenuItemInfo.h"

namespace toolkit_test {
namespace {

class MenuTrackTest : public MenuFrameTest {
protected:
    void SetUp() override
    {
        MenuFrameTest::SetUp();
        ASSERT_TRUE(popup.CreatePopupMenu());
        popup.AppendMenu(MF_STRING, ID_TEST_FIRST, "&First");
        popup.AppendMenu(MF_STRING, ID_TEST_SECOND, "&Second");
    }

    UINT Track(BOOL notify, HMENU menu = nullptr)
    {
        return CQZMenu::TrackPopupMenuEx(menu ? menu : popup.m_hMenu, 0, 40, 40, frame, nullptr, notify);
    }

    bool CommandWaiting(UINT id)
    {
        MSG msg;
        return PeekMessageA(&msg, frame->m_hWnd, WM_COMMAND, WM_COMMAND, PM_NOREMOVE) && msg.wParam == id;
    }

    CMenu popup;
};

TEST_F(MenuTrackTest, ChosenCommandIsReturnedAndPostedToTheOwnerOnlyWhenAsked)
{
    struct Case {
        const char* why;
        BOOL notify;
        bool posted;
    };
    const Case cases[] = {{"notify: posted, so it arrives after the call", TRUE, true},
                          {"no notify: the caller alone gets it", FALSE, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        frame->commands.clear();
        MenuScript script({[] { PostKey(VK_DOWN); }, [] { PostKey(VK_DOWN); }, [] { PostKey(VK_RETURN); }});
        EXPECT_EQ(static_cast<UINT>(ID_TEST_SECOND), Track(c.notify));
        EXPECT_FALSE(script.TimedOut());
        EXPECT_TRUE(frame->commands.empty()) << "nothing is sent while tracking";
        EXPECT_EQ(c.posted, CommandWaiting(ID_TEST_SECOND));
        PumpPending();
        EXPECT_EQ(c.posted ? std::vector<UINT>{ID_TEST_SECOND} : std::vector<UINT>{}, frame->commands);
    }
}

TEST_F(MenuTrackTest, CancelledMenuGivesZeroAndPostsNothing)
{
    MenuScript script({[] { PostKey(VK_ESCAPE); }});
    EXPECT_EQ(0u, Track(TRUE));
    EXPECT_FALSE(CommandWaiting(0));
    PumpPending();
    EXPECT_TRUE(frame->commands.empty());
}

TEST_F(MenuTrackTest, ThreadNamesTheTrackingWindowAndMenuOnlyWhileTheMenuIsOpen)
{
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    HWND outerWindow = CreateForeignWindow();
    HMENU outerMenu = CreatePopupMenu();
    state->m_hTrackingWindow = outerWindow;
    state->m_hTrackingMenu = outerMenu;
    HWND seenWindow = nullptr;
    HMENU seenMenu = nullptr;
    MenuScript script({[&] {
        seenWindow = AfxGetThreadState()->m_hTrackingWindow;
        seenMenu = AfxGetThreadState()->m_hTrackingMenu;
        PostKey(VK_ESCAPE);
    }});
    Track(TRUE);
    EXPECT_EQ(frame->m_hWnd, seenWindow);
    EXPECT_EQ(popup.m_hMenu, seenMenu);
    EXPECT_EQ(outerWindow, state->m_hTrackingWindow);
    EXPECT_EQ(outerMenu, state->m_hTrackingMenu);
    state->m_hTrackingWindow = nullptr;
    state->m_hTrackingMenu = nullptr;
    DestroyMenu(outerMenu);
    DestroyWindow(outerWindow);
}

TEST_F(MenuTrackTest, ToolkitPopupLeftOpenIsClosedBeforeTheNewOneOpens)
{
    // A menu window the toolkit watches, left from an earlier menu.
    HWND stale = CreateWindowExA(WS_EX_TOOLWINDOW, "#32768", nullptr, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_TRUE(stale);
    ASSERT_EQ(stale, CQZPopupMenu::GetNewest()->m_hWnd);
    bool staleGoneWhenOpen = false;
    MenuScript script({[&] {
        staleGoneWhenOpen = !IsWindow(stale);
        PostKey(VK_ESCAPE);
    }});
    Track(TRUE);
    EXPECT_TRUE(staleGoneWhenOpen);
    if (IsWindow(stale))
        DestroyWindow(stale);
}

// A program asked to end opens no menu: the quit stays for the outer loop.
TEST_F(MenuTrackTest, QuitWaitingBeforeTheMenuOpensOpensNothingAndKeepsTheQuit)
{
    PostQuitMessage(7);
    MenuScript script({[] { PostKey(VK_ESCAPE); }});
    EXPECT_EQ(0u, Track(TRUE));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
    EXPECT_FALSE(script.Finished()) << "no menu loop ran the script";
}

// The application's message loop ends with the code of a quit that came while a handler
// was about to open a menu.
class QuitThenMenuWindow : public CWnd {
public:
    CMenu* popup = nullptr;
    UINT tracked = 1;

protected:
    afx_msg LRESULT OnOpenMenu(WPARAM, LPARAM)
    {
        PostQuitMessage(42);
        tracked = CQZMenu::TrackPopupMenuEx(popup->m_hMenu, 0, 10, 10, this, nullptr, TRUE);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(QuitThenMenuWindow, CWnd)
    ON_MESSAGE(WM_APP + 1, OnOpenMenu)
END_MESSAGE_MAP()

TEST_F(MenuTrackTest, ProgramLoopEndsWithTheQuitCodeWhenAMenuWasAboutToOpen)
{
    QuitThenMenuWindow window;
    ASSERT_TRUE(window.CreateEx(0, nullptr, "quit", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    window.popup = &popup;
    window.PostMessage(WM_APP + 1);
    MenuScript script({[] { PostKey(VK_ESCAPE); }});
    EXPECT_EQ(42, app.Run());
    EXPECT_EQ(0u, window.tracked);
    EXPECT_FALSE(script.Finished()) << "the menu never opened";
    window.DestroyWindow();
}

// A message that posts itself again whenever it is handled, until a menu is open.
class RepostingWindow : public CWnd {
public:
    int handled = 0;
    int handledBeforeMenu = -1;

protected:
    afx_msg LRESULT OnAgain(WPARAM, LPARAM)
    {
        ++handled;
        if (NewestMenuWindow() && ::IsWindowVisible(NewestMenuWindow())) {
            if (handledBeforeMenu < 0)
                handledBeforeMenu = handled;
            EndMenu();
            return 0;
        }
        // Bounded, so that a loop that pumps without end still finishes the test.
        if (handled < 20000)
            PostMessage(WM_APP + 2);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RepostingWindow, CWnd)
    ON_MESSAGE(WM_APP + 2, OnAgain)
END_MESSAGE_MAP()

TEST_F(MenuTrackTest, MessageThatPostsItselfAgainDoesNotKeepTheMenuFromOpening)
{
    RepostingWindow window;
    ASSERT_TRUE(window.CreateEx(0, nullptr, "again", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr));
    window.PostMessage(WM_APP + 2);
    MenuScript script({});
    Track(TRUE);
    EXPECT_GT(window.handledBeforeMenu, 0) << "the menu opened while the message kept coming";
    EXPECT_LE(window.handledBeforeMenu, CQZMenu::kMaxPumpedMessages + 2);
    window.DestroyWindow();
    PumpPending();
}

TEST_F(MenuTrackTest, ChevronCommandSwitchesFullMenusOnAndTracksTheSamePopupAgainWithItsSide)
{
    CMenu chevronPopup;
    ASSERT_TRUE(chevronPopup.CreatePopupMenu());
    chevronPopup.AppendMenu(MF_STRING, ID_QZ_FULL_MENUS, "Full");
    chevronPopup.AppendMenu(MF_STRING, ID_TEST_SECOND, "&Second");
    int loops = 0;
    UINT sideInSecondLoop = 0;
    bool commandSeenBeforeSecondLoop = false;
    MenuScript script({[&] { ++loops; },
                       [] { PostKey(VK_DOWN); },
                       [] { PostKey(VK_RETURN); },
                       [&] {
                           ++loops;
                           commandSeenBeforeSecondLoop = !frame->commands.empty() &&
                                                         frame->commands.front() == ID_QZ_FULL_MENUS;
                           HMENU shown = MenuOfWindow(NewestMenuWindow());
                           QZ_MENUITEMINFO info;
                           info.fMask = MIIM_DATA;
                           GetMenuItemInfoA(shown, 0, TRUE, &info);
                           if (const CQZItemData* record = CQZItemData::FromItemData(info.dwItemData))
                               sideInSecondLoop = record->m_nSide;
                       },
                       [] { PostKey(VK_DOWN); },
                       [] { PostKey(VK_DOWN); },
                       [] { PostKey(VK_RETURN); }});
    CQZCoolMenu::m_nPopupSide = CBRS_ALIGN_TOP;
    EXPECT_EQ(static_cast<UINT>(ID_TEST_SECOND), CQZMenu::TrackPopupMenuEx(chevronPopup.m_hMenu, 0, 40, 40, frame,
                                                                           nullptr, TRUE));
    EXPECT_FALSE(script.TimedOut());
    EXPECT_EQ(2, loops);
    EXPECT_TRUE(commandSeenBeforeSecondLoop) << "the owner's image menus switch full menus on first";
    EXPECT_EQ(static_cast<UINT>(CBRS_ALIGN_TOP), sideInSecondLoop);
    PumpPending();
    EXPECT_EQ((std::vector<UINT>{ID_QZ_FULL_MENUS, ID_TEST_SECOND}), frame->commands);
}

TEST_F(MenuTrackTest, TrackingWithoutAnOwnerGivesZeroAndTracksOnce)
{
    MenuScript script({[] { PostKey(VK_RETURN); }});
    EXPECT_EQ(0u, CQZMenu::TrackPopupMenuEx(popup.m_hMenu, 0, 40, 40, nullptr, nullptr, TRUE));
    PumpPending();
    EXPECT_TRUE(frame->commands.empty());
}

TEST(ToolkitMenuObject, EveryMenuObjectRaisesTheActiveFlagAndEveryDestructionClearsIt)
{
    {
        CQZMenu first;
        EXPECT_TRUE(CQZMenu::m_bActive);
        {
            CQZMenu second;
            EXPECT_TRUE(CQZMenu::m_bActive);
        }
        EXPECT_FALSE(CQZMenu::m_bActive) << "destroying either object clears the flag";
    }
    EXPECT_FALSE(CQZMenu::m_bActive);
    CQZMenu owner;
    ASSERT_TRUE(owner.CreatePopupMenu());
    HMENU held = owner.m_hMenu;
    {
        CQZMenu temporary;
        temporary.Attach(owner.Detach());
    }
    EXPECT_FALSE(IsMenu(held)) << "the framework menu's destruction destroys an attached menu";
}

} // namespace
} // namespace toolkit_test
