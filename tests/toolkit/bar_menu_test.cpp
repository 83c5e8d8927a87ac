// A toolkit bar's right click: the menu of the frame's bars (with real bars of each
// kind), a bar's own context menu, and the cases that show nothing.
#include "control_bar_test_support.h"

#include "framework/MiniFrameWnd.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit_test_resources.h"

using namespace toolkit_test;

namespace {

constexpr UINT kToolBarId = AFX_IDW_TOOLBAR;
constexpr UINT kMenuBarId = 0xE806;
constexpr UINT kPaletteId = 0xE810;
constexpr UINT kDockId = 0xE811;
constexpr UINT kReBarId = 0xE812;

class BarMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 400, 300)));
        ASSERT_TRUE(toolBar.CreateBar(frame, CBRS_TOP | CBRS_GRIPPER, kToolBarId));
        ASSERT_TRUE(menuBar.CreateBar(frame, CBRS_TOP, kMenuBarId, "Menu Bar"));
        ASSERT_TRUE(statusBar.Create(frame));
    }
    void TearDown() override
    {
        frame->DestroyWindow();
        PumpPending();
    }
    void RightClick(CWnd& bar) { bar.SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(5, 5)); }

    CFrameWnd* frame = nullptr;
    TestToolBar toolBar;
    TestMenuBar menuBar;
    CStatusBar statusBar;
};

} // namespace

TEST_F(BarMenuTest, ListsTheToolbarAndStatusBarButNeverTheMenuBar)
{
    MenuTrackRecorder tracker;
    RightClick(toolBar);
    const TrackedMenu& menu = MenuTrackRecorder::menu();
    ASSERT_EQ(1, menu.tracked);
    EXPECT_EQ((std::vector<std::string>{"Toolbar [x]", "Status Bar [x]"}), menu.items);
    EXPECT_EQ((std::vector<UINT>{kToolBarId, AFX_IDW_STATUS_BAR}), menu.ids);
    EXPECT_EQ(frame->m_hWnd, menu.owner);
    POINT screen = {5, 5};
    ClientToScreen(toolBar.m_hWnd, &screen);
    EXPECT_EQ(screen.x, menu.at.x);
    EXPECT_EQ(screen.y, menu.at.y);

    statusBar.ShowWindow(SW_HIDE);
    RightClick(menuBar);
    EXPECT_EQ((std::vector<std::string>{"Toolbar [x]", "Status Bar"}), MenuTrackRecorder::menu().items);
}

TEST_F(BarMenuTest, DockingWindowsComeFirstAndStandApartTitlesAreTheBarsOwn)
{
    TestDockWindow dock;
    ASSERT_TRUE(dock.CreateBar(frame, CBRS_LEFT, kDockId, "Layers"));
    PlainToolkitBar palette;
    ASSERT_TRUE(palette.CreateBar(frame, CBRS_TOP, kPaletteId, nullptr, 0));
    TestReBar rebar;
    ASSERT_TRUE(rebar.CreateBar(frame, CBRS_TOP, kReBarId, "Rebar"));
    TestDockWindow untitledDock;
    ASSERT_TRUE(untitledDock.CreateBar(frame, CBRS_LEFT, kDockId + 10));
    MenuTrackRecorder tracker;
    RightClick(toolBar);
    EXPECT_EQ((std::vector<std::string>{"Layers [x]", "Dock Window [x]", "-", "Toolbar [x]", "Control Bar",
                                        "Status Bar [x]"}),
              MenuTrackRecorder::menu().items);
}

TEST_F(BarMenuTest, BarsWithTheirMenuFlagClearAreLeftOutAndOnlyStatusBarsWithoutTheSwitch)
{
    PlainToolkitBar palette;
    ASSERT_TRUE(palette.CreateBar(frame, CBRS_TOP, kPaletteId, "Palette"));
    palette.m_bMenuEnabled = FALSE;
    MenuTrackRecorder tracker;
    RightClick(toolBar);
    EXPECT_EQ((std::vector<std::string>{"Toolbar [x]", "Status Bar [x]"}), MenuTrackRecorder::menu().items);

    // Without the bar-listing switch a right click does nothing at all; the bar menu
    // itself lists status bars only.
    const int saved = qzAfxData.barMenuOnRightClick;
    qzAfxData.barMenuOnRightClick = 0;
    RightClick(toolBar);
    EXPECT_EQ(1, MenuTrackRecorder::menu().tracked);
    CPoint point(10, 10);
    EXPECT_TRUE(toolBar.ShowBarMenu(&point, frame));
    EXPECT_EQ((std::vector<std::string>{"Status Bar [x]"}), MenuTrackRecorder::menu().items);
    qzAfxData.barMenuOnRightClick = saved;
}

TEST_F(BarMenuTest, BarWithItsMenuFlagClearIgnoresTheClick)
{
    toolBar.m_bMenuEnabled = FALSE;
    MenuTrackRecorder tracker;
    RightClick(toolBar);
    EXPECT_EQ(0, MenuTrackRecorder::menu().tracked);
}

TEST_F(BarMenuTest, EmptyBarMenuIsNotShown)
{
    statusBar.DestroyWindow();
    toolBar.m_bMenuEnabled = FALSE;
    MenuTrackRecorder tracker;
    CPoint point(10, 10);
    EXPECT_TRUE(menuBar.ShowBarMenu(&point, frame));
    EXPECT_EQ(0, MenuTrackRecorder::menu().tracked);
}

TEST_F(BarMenuTest, ContextMenuResourceReplacesTheBarMenu)
{
    toolBar.SetContextMenu(IDR_TEST_CONTEXT_MENU, 1);
    EXPECT_EQ(static_cast<UINT>(IDR_TEST_CONTEXT_MENU), toolBar.GetContextMenu());
    MenuTrackRecorder tracker;
    RightClick(toolBar);
    const TrackedMenu& menu = MenuTrackRecorder::menu();
    ASSERT_EQ(1, menu.tracked);
    EXPECT_EQ((std::vector<std::string>{"Second"}), menu.items);
    EXPECT_EQ(frame->m_hWnd, menu.owner) << "the bar's nearest window that is not a child";
}

TEST_F(BarMenuTest, BarInAFloatingFrameListsTheBarsOfTheFrameThatFloatsIt)
{
    // Both frames are popups owned by the frame; only the floating frame stands for it.
    auto* floating = new CMiniDockFrameWnd;
    ASSERT_TRUE(floating->Create(frame, CBRS_ALIGN_TOP));
    auto* popup = new CFrameWnd;
    ASSERT_TRUE(popup->Create(nullptr, "popup", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 100), frame));
    struct Case {
        const char* why;
        CFrameWnd* dockSite;
        std::vector<std::string> items;
        CFrameWnd* owner;
    };
    const Case cases[] = {
        {"a floating frame: the frame's bars", floating, {"Toolbar [x]", "Status Bar [x]"}, frame},
        {"a popup frame of its own: its bars", popup, {"Wanderer [x]"}, popup},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        TestToolBar bar;
        ASSERT_TRUE(bar.CreateBar(c.dockSite, CBRS_TOP | CBRS_GRIPPER, kPaletteId, "Wanderer"));
        ASSERT_EQ(c.dockSite, bar.m_pDockSite);
        MenuTrackRecorder tracker;
        RightClick(bar);
        EXPECT_EQ(c.items, MenuTrackRecorder::menu().items);
        EXPECT_EQ(c.owner->m_hWnd, MenuTrackRecorder::menu().owner);
        bar.DestroyWindow();
    }
}

TEST(BarMenuWithoutFrame, BarWithoutADockSiteShowsNothing)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_POPUP, 0, 0, 300, 100, nullptr, nullptr));
    TestToolBar bar;
    ASSERT_TRUE(bar.CreateBar(&parent, CBRS_TOP, kToolBarId));
    EXPECT_EQ(nullptr, bar.m_pDockSite);
    MenuTrackRecorder tracker;
    bar.SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(0, MenuTrackRecorder::menu().tracked);
    parent.DestroyWindow();
}

namespace {

HMENU g_menuShown = nullptr;

// Notes the menu on screen from inside the menu's loop, then cancels it.
void CALLBACK NoteMenuAndCancel(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    HWND menuWindow = FindWindowA("#32768", nullptr);
    g_menuShown = menuWindow ? reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0)) : nullptr;
    EndMenu();
}

} // namespace

// With no recorder in place the bar menus are tracked by the toolkit's own menu.
TEST_F(BarMenuTest, ToolkitMenuTrackingShowsTheMenuAndPostsNothingWhenCancelled)
{
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, ID_TEST_FIRST, "First");
    PumpPending();
    g_menuShown = nullptr;
    SetTimer(nullptr, 0, 50, &NoteMenuAndCancel);
    EXPECT_EQ(0u, QZTrackPopupMenu(&menu, 0, 20, 20, frame));
    EXPECT_EQ(menu.m_hMenu, g_menuShown);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, frame->m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE));
}
