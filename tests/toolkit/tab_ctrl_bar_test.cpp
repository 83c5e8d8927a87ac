// The tab control bar in a toolkit frame: its tab control (tabs at the bottom, tips,
// condensing), the selection messages passed to its owner with the bar's own id, the
// frame's active view handed back at the idle update when the focus leaves the docked
// pane and always while it floats, clipping that follows docking, the frame its views
// belong to when it starts floating, and the taller inside in the XP look.
#include "tab_test_support.h"
#include "toolkit_docking_test_support.h"

#include "framework/View.h"
#include "toolkit/controls/QZTabCtrlBar.h"
#include "toolkit/foundation/QZMessages.h"

using namespace toolkit_test;

namespace {

constexpr UINT kTabBarId = 1000;

class TabBarView : public CView {
    DECLARE_DYNCREATE(TabBarView)
public:
    void OnDraw(CDC*) override {}
};
IMPLEMENT_DYNCREATE(TabBarView, CView)

// Logs the selection messages that reach it, with their arguments.
class TabBarOwner : public CWnd {
public:
    std::vector<std::string> log;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_QZ_TABCHANGING || message == WM_QZ_TABCHANGED) {
            log.push_back(std::string(message == WM_QZ_TABCHANGING ? "changing " : "changed ") +
                          std::to_string(wParam) + (lParam == reinterpret_cast<LPARAM>(tab) ? " tab" : ""));
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    CWnd* tab = nullptr;
};

class TabBarTest : public ToolkitDockingTest {
public:
    void SetUp() override
    {
        ToolkitDockingTest::SetUp();
        frameView = new TabBarView;
        ASSERT_TRUE(frameView->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 100), frame,
                                      AFX_IDW_PANE_FIRST));
        frame->SetActiveView(frameView, FALSE);
    }
    // The bar docked on the left with three views.
    void AddBar()
    {
        ASSERT_TRUE(bar.Create(frame, kTabBarId, "Views", CSize(180, 300), CBRS_ALIGN_LEFT));
        bar.EnableDocking(CBRS_ALIGN_ANY);
        frame->DockControlBar(&bar, left);
        for (const char* label : {"One", "Two", "Three"})
            ASSERT_TRUE(bar.AddTabView(label, RUNTIME_CLASS(TabBarView)));
        frame->RecalcLayout();
        PumpPending();
    }
    void Click(int index)
    {
        CRect item;
        ASSERT_TRUE(bar.m_tabCtrl.GetItemRect(index, &item));
        const LPARAM at = MAKELPARAM(item.CenterPoint().x, item.CenterPoint().y);
        bar.m_tabCtrl.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        bar.m_tabCtrl.SendMessage(WM_LBUTTONUP, 0, at);
    }
    void IdleUpdate() { bar.SendMessage(WM_IDLEUPDATECMDUI, FALSE); }

    TabBarView* frameView = nullptr;
    CQZTabCtrlBar bar;
};

} // namespace

TEST_F(TabBarTest, ItsTabControlHasBottomTabsTipsAndCondensing)
{
    AddBar();
    ASSERT_TRUE(bar.m_tabCtrl.m_hWnd);
    EXPECT_EQ(static_cast<int>(AFX_IDC_TAB_CONTROL), bar.m_tabCtrl.GetDlgCtrlID());
    const DWORD style = bar.m_tabCtrl.GetStyle();
    EXPECT_TRUE(style & TCS_BOTTOM);
    EXPECT_TRUE(style & TCS_TOOLTIPS);
    EXPECT_NE(nullptr, bar.GetTipCtrl());
    EXPECT_TRUE(bar.m_tabCtrl.GetCondense());
    EXPECT_EQ(&bar.m_tabCtrl, bar.m_pChildWnd) << "the docking window places it";
    EXPECT_EQ(bar.GetTabCtrl(), &bar.m_tabCtrl);
    EXPECT_STREQ("Two", bar.GetTabText(1));
    EXPECT_EQ(frame, bar.m_tabCtrl.m_pFrame);
    EXPECT_EQ(&bar, bar.m_tabCtrl.m_pViewOwner);

    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR24, 3, 1));
    EXPECT_EQ(nullptr, bar.SetTabImageList(&images));
    EXPECT_EQ(&images, bar.SetTabImageList(nullptr)) << "the previous list comes back";
}

TEST_F(TabBarTest, TheOwnerHearsTheChangeWithTheBarsId)
{
    AddBar();
    TabBarOwner owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    owner.tab = &bar.m_tabCtrl;
    bar.SetOwner(&owner);
    Click(0);
    EXPECT_EQ((std::vector<std::string>{"changing 1000 tab", "changed 1000 tab"}), owner.log);
    bar.SetOwner(frame);
    owner.DestroyWindow();
}

TEST_F(TabBarTest, TheFramesViewComesBackWhenTheFocusLeavesTheDockedPane)
{
    AddBar();
    Click(0);
    CView* first = static_cast<CView*>(bar.GetTabWindow(0));
    ASSERT_EQ(first, frame->GetActiveView());
    first->SetFocus();
    IdleUpdate();
    EXPECT_EQ(first, frame->GetActiveView()) << "the pane has the focus: its view stays active";

    frameView->SetFocus();
    IdleUpdate();
    EXPECT_EQ(frameView, frame->GetActiveView());
}

TEST_F(TabBarTest, AFloatingPaneGivesTheViewBackEvenWithTheFocus)
{
    AddBar();
    Click(0);
    CView* first = static_cast<CView*>(bar.GetTabWindow(0));
    ASSERT_EQ(first, frame->GetActiveView());
    frame->FloatControlBar(&bar, InClient(200, 150));
    ASSERT_TRUE(bar.IsFloating());
    // Floating the bar keeps the view active until the idle update.
    frame->SetActiveView(first, FALSE);
    first->SetFocus();
    IdleUpdate();
    EXPECT_EQ(frameView, frame->GetActiveView());
}

TEST_F(TabBarTest, TheTabControlClipsItsViewsOnlyWhileDocked)
{
    AddBar();
    EXPECT_TRUE(bar.m_tabCtrl.GetStyle() & WS_CLIPCHILDREN);
    frame->FloatControlBar(&bar, InClient(200, 150));
    EXPECT_FALSE(bar.m_tabCtrl.GetStyle() & WS_CLIPCHILDREN);
    frame->DockControlBar(&bar, left);
    EXPECT_TRUE(bar.m_tabCtrl.GetStyle() & WS_CLIPCHILDREN);
}

TEST_F(TabBarTest, AFloatingBarsViewsBelongToTheMainFrame)
{
    ASSERT_TRUE(bar.Create(frame, kTabBarId, "Views", CSize(180, 300), CBRS_ALIGN_LEFT));
    bar.EnableDocking(CBRS_ALIGN_ANY);
    frame->FloatControlBar(&bar, InClient(200, 150));
    ASSERT_TRUE(bar.IsFloating());
    PumpPending();  // the tab control's set-up, in the floating frame
    ASSERT_TRUE(bar.m_tabCtrl.GetParentFrame()->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)));
    EXPECT_EQ(frame, bar.m_tabCtrl.m_pFrame);
}

TEST_F(TabBarTest, InTheXPLookTheTabsReachFurtherDown)
{
    AddBar();
    CQZDockWindow plain;
    ASSERT_TRUE(plain.Create(frame, kTabBarId + 1, "Plain", CSize(180, 300), CBRS_ALIGN_LEFT));
    plain.EnableDocking(CBRS_ALIGN_ANY);
    frame->DockControlBar(&plain, left);
    frame->RecalcLayout();
    for (int xp : {0, 1}) {
        SCOPED_TRACE(xp ? "XP look" : "classic look");
        TabColourScope look(xp);
        // The same size as the tab bar, so that both inside rectangles can be compared.
        CRect placed;
        bar.GetWindowRect(&placed);
        plain.SetWindowPos(nullptr, 0, 0, placed.Width(), placed.Height(), SWP_NOMOVE | SWP_NOZORDER);
        CRect tabs, other;
        bar.GetInsideRect(tabs);
        plain.GetInsideRect(other);
        EXPECT_EQ(other.bottom + (xp ? 5 : 0), tabs.bottom);
        EXPECT_EQ(other.top, tabs.top);
    }
    plain.DestroyWindow();
}
