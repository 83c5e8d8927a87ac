// A frame's docking: dock bars per side, docking by side and by alignment, floating and
// docking back, showing and hiding floating bars, and the floating frames themselves.
#include "docking_test_support.h"

using namespace docking_test;

namespace {


std::vector<UINT> DockBarIds(CFrameWnd* frame)
{
    std::vector<UINT> ids;
    for (POSITION pos = frame->m_listControlBars.GetHeadPosition(); pos;) {
        auto* bar = static_cast<CControlBar*>(frame->m_listControlBars.GetNext(pos));
        if (bar->IsDockBar())
            ids.push_back(static_cast<UINT>(bar->GetDlgCtrlID()));
    }
    return ids;
}

// Refuses to create child windows with one control id, while it lives.
class RefuseChildId {
public:
    explicit RefuseChildId(UINT id)
    {
        s_id = id;
        m_hook = ::SetWindowsHookExA(WH_CBT, &Hook, nullptr, ::GetCurrentThreadId());
    }
    ~RefuseChildId() { ::UnhookWindowsHookEx(m_hook); }
    RefuseChildId(const RefuseChildId&) = delete;
    RefuseChildId& operator=(const RefuseChildId&) = delete;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND) {
            const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
            if ((cs->style & WS_CHILD) && reinterpret_cast<UINT_PTR>(cs->hMenu) == s_id)
                return 1;
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK m_hook;
    static inline UINT s_id = 0;
};

// A floating frame whose window is never made.
class RefusedFloatingFrame : public CMiniDockFrameWnd {
    DECLARE_DYNCREATE(RefusedFloatingFrame)
public:
    BOOL PreCreateWindow(CREATESTRUCT&) override { return FALSE; }
};
IMPLEMENT_DYNCREATE(RefusedFloatingFrame, CMiniDockFrameWnd)

class FrameDockingTest : public DockingFrameTest {
public:
    void SetUp() override
    {
        DockingFrameTest::SetUp();
        AddBar(a, kIdA, "A", top);
        AddBar(b, kIdB, "B", top);
    }
    HWND FloatingFrameOf(CControlBar& bar) { return bar.IsFloating() ? ::GetParent(bar.m_pDockBar->m_hWnd) : nullptr; }

    FixedBar a;
    FixedBar b;
};

} // namespace

TEST(FrameEnableDocking, MakesOneDockBarPerAllowedSideOnce)
{
    struct Case {
        const char* why;
        DWORD style;
        std::vector<UINT> ids;
    };
    const Case cases[] = {
        {"top only", CBRS_ALIGN_TOP, {AFX_IDW_DOCKBAR_TOP}},
        {"left and right", CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT, {AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT}},
        {"every side, top, bottom, left, right",
         CBRS_ALIGN_ANY,
         {AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM, AFX_IDW_DOCKBAR_LEFT, AFX_IDW_DOCKBAR_RIGHT}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        auto* frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "Sides", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
        frame->EnableDocking(c.style);
        frame->EnableDocking(c.style);
        EXPECT_EQ(c.ids, DockBarIds(frame));
        EXPECT_EQ(RUNTIME_CLASS(CMiniDockFrameWnd), frame->m_pFloatingFrameClass);
        CDockBar* first = DockBarOf(frame, c.ids.front());
        EXPECT_FALSE(first->m_bFloating);
        frame->DestroyWindow();
    }
}

TEST(FrameEnableDocking, DockBarThatCannotBeMadeThrowsAndKeepsTheOnesBefore)
{
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "Sides", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200)));
    frame->m_pFloatingFrameClass = RUNTIME_CLASS(RefusedFloatingFrame);
    bool thrown = false;
    {
        RefuseChildId refuse(AFX_IDW_DOCKBAR_LEFT);
        try {
            frame->EnableDocking(CBRS_ALIGN_ANY);
        } catch (CResourceException* e) {
            thrown = true;
            e->Delete();
        }
    }
    EXPECT_TRUE(thrown);
    EXPECT_EQ((std::vector<UINT>{AFX_IDW_DOCKBAR_TOP, AFX_IDW_DOCKBAR_BOTTOM}), DockBarIds(frame));
    EXPECT_EQ(RUNTIME_CLASS(RefusedFloatingFrame), frame->m_pFloatingFrameClass) << "a class set stays";
    frame->DestroyWindow();
}

TEST_F(FrameDockingTest, IdZeroDocksOnTheSideTheBarsAlignmentNames)
{
    struct Case {
        const char* why;
        DWORD alignment;
        UINT dockBarId;
    };
    const Case cases[] = {
        {"right", CBRS_ALIGN_RIGHT, AFX_IDW_DOCKBAR_RIGHT},
        {"bottom", CBRS_ALIGN_BOTTOM, AFX_IDW_DOCKBAR_BOTTOM},
        {"any side: the first, top", CBRS_ALIGN_ANY, AFX_IDW_DOCKBAR_TOP},
        {"left or right: left comes first", CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT, AFX_IDW_DOCKBAR_LEFT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        a.SetBarStyle((a.GetBarStyle() & ~CBRS_ALIGN_ANY) | c.alignment);
        frame->DockControlBar(&a, 0u);
        ASSERT_NE(nullptr, a.m_pDockBar);
        EXPECT_EQ(c.dockBarId, static_cast<UINT>(a.m_pDockBar->GetDlgCtrlID()));
        ExpectSoundRows(*a.m_pDockBar);
    }
}

TEST_F(FrameDockingTest, FloatingTwiceMovesTheSameFrame)
{
    frame->FloatControlBar(&a, CPoint(300, 250));
    const HWND first = FloatingFrameOf(a);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(CPoint(300, 250), ScreenRectOf(CWnd::FromHandle(first)).TopLeft());
    EXPECT_TRUE(::IsWindowVisible(first));
    frame->FloatControlBar(&a, CPoint(350, 280), CBRS_ALIGN_LEFT);
    EXPECT_EQ(first, FloatingFrameOf(a));
    EXPECT_EQ(CPoint(350, 280), ScreenRectOf(CWnd::FromHandle(first)).TopLeft());
    // Turned: the bar lies along the left of its frame now.
    EXPECT_EQ(CBRS_ALIGN_LEFT, a.GetBarStyle() & CBRS_ALIGN_ANY);
    CRect client;
    ::GetClientRect(first, &client);
    EXPECT_EQ(a.vert, client.Size());
    EXPECT_EQ(frame->m_hWnd, ::GetWindow(first, GW_OWNER));
}

TEST_F(FrameDockingTest, ReDockingGoesBackToTheMostRecentDockPlace)
{
    frame->DockControlBar(&a, left);
    frame->RecalcLayout();
    a.m_pDockContext->m_uMRUDockID = AFX_IDW_DOCKBAR_LEFT;
    a.m_pDockContext->m_rectMRUDockPos = CRect(0, 0, 24, 100);
    frame->FloatControlBar(&a, CPoint(300, 250), CBRS_ALIGN_TOP);
    ASSERT_TRUE(a.IsFloating());
    frame->ReDockControlBar(&a, nullptr);
    EXPECT_EQ(left, a.m_pDockBar);
    EXPECT_EQ("|A|", Rows(*left));
    // Without a recent place the bar's alignment chooses (top, floating horizontally).
    frame->FloatControlBar(&a, CPoint(300, 250), CBRS_ALIGN_TOP);
    a.m_pDockContext->m_uMRUDockID = 0;
    frame->ReDockControlBar(&a, nullptr);
    EXPECT_EQ(top, a.m_pDockBar);
}

TEST_F(FrameDockingTest, FloatingBarShowsAndHidesWithItsFrameAndItsToggleCommand)
{
    frame->FloatControlBar(&a, CPoint(300, 250));
    const HWND floating = FloatingFrameOf(a);
    ASSERT_NE(nullptr, floating);
    frame->ShowControlBar(&a, FALSE, TRUE);
    EXPECT_FALSE(a.IsWindowVisible());
    EXPECT_FALSE(::IsWindowVisible(floating));
    // The bar's command shows it again, with its frame.
    frame->SendMessage(WM_COMMAND, kIdA);
    EXPECT_TRUE(::IsWindowVisible(floating));
    EXPECT_TRUE(a.IsWindowVisible());
    frame->SendMessage(WM_COMMAND, kIdA);
    EXPECT_FALSE(::IsWindowVisible(floating));
    EXPECT_TRUE(::IsWindow(floating));
}

TEST_F(FrameDockingTest, ClosingAFloatingFrameHidesItsBars)
{
    frame->FloatControlBar(&a, CPoint(300, 250));
    const HWND floating = FloatingFrameOf(a);
    ::SendMessageA(floating, WM_CLOSE, 0, 0);
    EXPECT_TRUE(::IsWindow(floating));
    EXPECT_FALSE(::IsWindowVisible(floating));
    EXPECT_FALSE(a.IsWindowVisible());
}

TEST_F(FrameDockingTest, FloatingFrameWithoutAWindowFloatsNothing)
{
    frame->m_pFloatingFrameClass = RUNTIME_CLASS(RefusedFloatingFrame);
    EXPECT_EQ(nullptr, frame->CreateFloatingFrame(CBRS_ALIGN_TOP));
    frame->FloatControlBar(&a, CPoint(300, 250));
    EXPECT_EQ(top, a.m_pDockBar);
    frame->m_pFloatingFrameClass = RUNTIME_CLASS(CFrameWnd);
    EXPECT_EQ(nullptr, frame->CreateFloatingFrame(CBRS_ALIGN_TOP)) << "not a floating frame's class";
}

TEST_F(FrameDockingTest, FloatingFrameSizesItselfToItsBarAndKeepsItsCaptionInStep)
{
    frame->FloatControlBar(&a, CPoint(300, 250));
    auto* miniFrame = DYNAMIC_DOWNCAST(CMiniDockFrameWnd, CWnd::FromHandle(FloatingFrameOf(a)));
    ASSERT_NE(nullptr, miniFrame);
    CRect expected(0, 0, a.horz.cx, a.horz.cy);
    CMiniFrameWnd::CalcBorders(&expected, miniFrame->GetStyle(), 0);
    // The bar reaches into the frame's borders by the double border: a drag's outline of
    // the frame is exactly its window.
    expected.DeflateRect(2, 2);
    EXPECT_EQ(expected.Size(), ScreenRectOf(miniFrame).Size());
    EXPECT_EQ(ScreenRectOf(miniFrame).TopLeft() - CSize(expected.TopLeft()), ScreenRectOf(&a).TopLeft());
    EXPECT_TRUE(miniFrame->GetExStyle() & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(miniFrame->GetStyle() & MFS_SYNCACTIVE);
    CString title;
    miniFrame->GetWindowText(title);
    EXPECT_STREQ("A", title);
    // The floating dock bar is one of the frame's bars, with the floating id.
    EXPECT_EQ(AFX_IDW_DOCKBAR_FLOAT, miniFrame->m_wndDockBar.GetDlgCtrlID());
    EXPECT_NE(nullptr, frame->m_listControlBars.Find(&miniFrame->m_wndDockBar));
}

TEST_F(FrameDockingTest, KeepActiveFlagHoldsAFloatingCaptionActive)
{
    frame->FloatControlBar(&a, CPoint(300, 250));
    CWnd* miniFrame = CWnd::FromHandle(FloatingFrameOf(a));
    EXPECT_TRUE(miniFrame->SendMessage(WM_NCACTIVATE, FALSE));
    miniFrame->m_nFlags |= WF_KEEPMINIACTIVE;
    EXPECT_FALSE(miniFrame->SendMessage(WM_NCACTIVATE, FALSE));
    miniFrame->m_nFlags &= ~WF_KEEPMINIACTIVE;
}
