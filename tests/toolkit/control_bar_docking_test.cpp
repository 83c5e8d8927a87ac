// A toolkit bar among toolkit dock bars: the dock bar it sits in takes its toolkit style
// word, a bar that goes lets its frames' active views go, and a bar docked in another
// frame docks in its home frame again when that frame is destroyed, instead of going with it.
#include "toolkit_docking_test_support.h"

#include "toolkit/bars/QZDockContextWndHook.h"

namespace toolkit_test {
namespace {

constexpr UINT kWandererId = 0xE870;

using BarDockingTest = ToolkitDockingTest;

// Whether a point of the window's client area waits to be painted.
bool IsInvalid(CWnd& window, CPoint point)
{
    HRGN update = ::CreateRectRgn(0, 0, 0, 0);
    ::GetUpdateRgn(window.m_hWnd, update, FALSE);
    const bool invalid = ::PtInRegion(update, point.x, point.y) != FALSE;
    ::DeleteObject(update);
    return invalid;
}

TEST_F(BarDockingTest, StyleWordOfADockedBarReachesItsDockBar)
{
    PlainToolkitBar bar;
    bar.fixedSize = CSize(100, 24);
    AddBar(bar, kWandererId, "Bar", top);
    ASSERT_EQ(top, bar.m_pDockBar);
    CRect dockRect;
    top->GetClientRect(&dockRect);
    // Beyond the bar, where only an invalidated dock bar repaints.
    const CPoint pastTheBar(dockRect.right - 10, dockRect.Height() / 2);
    CRect barRect;
    bar.GetWindowRect(&barRect);
    top->ScreenToClient(&barRect);
    ASSERT_FALSE(barRect.PtInRect(pastTheBar));

    top->ValidateRect(nullptr);
    EXPECT_TRUE(bar.ModifyBarStyleEx(0, 0x80, FALSE));
    EXPECT_EQ(bar.GetBarStyleEx(), top->m_dwBarStyleEx) << "the flat look now lays out the row";
    EXPECT_FALSE(IsInvalid(*top, pastTheBar)) << "no redraw asked for";
    EXPECT_EQ(0u, left->m_dwBarStyleEx) << "a dock bar the bar is not in";

    EXPECT_TRUE(bar.ModifyBarStyleEx(0x80, 0x100, TRUE));
    EXPECT_EQ(bar.GetBarStyleEx(), top->m_dwBarStyleEx);
    EXPECT_EQ(0u, top->m_dwBarStyleEx & 0x80);
    EXPECT_TRUE(IsInvalid(*top, pastTheBar)) << "redraw: the dock bar paints again";
}

// A view inside a bar that counts the times a frame tells it it is active no longer.
class DeactivationCountingView : public CView {
public:
    explicit DeactivationCountingView(int* deactivations) : m_deactivations(deactivations) {}
    void OnDraw(CDC*) override {}
    void OnActivateView(BOOL bActivate, CView*, CView*) override
    {
        if (!bActivate)
            ++*m_deactivations;
    }

private:
    int* m_deactivations;
};

TEST_F(BarDockingTest, BarThatGoesLetsItsFramesActiveViewGoButLeavesAFloatingFrameToTheView)
{
    PlainToolkitBar docked;
    docked.fixedSize = CSize(100, 24);
    AddBar(docked, kWandererId, "Docked", top);
    int deactivations = 0;
    auto* view = new DeactivationCountingView(&deactivations);
    ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &docked, 1));
    frame->SetActiveView(view, FALSE);
    docked.DestroyWindow();
    EXPECT_EQ(nullptr, frame->GetActiveView());
    EXPECT_EQ(1, deactivations) << "the frame told the view it is active no longer";

    PlainToolkitBar floated;
    PlainToolkitBar companion;
    floated.fixedSize = companion.fixedSize = CSize(100, 24);
    AddBar(floated, kWandererId + 1, "Floated", top);
    AddBar(companion, kWandererId + 2, "Companion", top);
    frame->FloatControlBar(&floated, InClient(300, 250));
    auto* floating = DYNAMIC_DOWNCAST(CMiniDockFrameWnd, floated.GetParentFrame());
    ASSERT_NE(nullptr, floating);
    // A second bar keeps the floating frame once the first has gone.
    frame->DockControlBar(&companion, floated.m_pDockBar);
    ASSERT_EQ(floating, companion.GetParentFrame());
    deactivations = 0;
    view = new DeactivationCountingView(&deactivations);
    ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), &floated, 1));
    floating->SetActiveView(view, FALSE);
    floated.DestroyWindow();
    EXPECT_EQ(nullptr, floating->GetActiveView()) << "the view let go of its floating frame as it went";
    EXPECT_EQ(0, deactivations) << "the floating frame was left alone";
}

// Away from home: docked in another frame's dock bar, as a drag across frames leaves it,
// with the dock hooks watching that frame.
class AwayFrameTest : public BarDockingTest {
protected:
    void SetUp() override
    {
        BarDockingTest::SetUp();
        away = new ToolkitDockFrame;
        ASSERT_TRUE(away->Create(nullptr, "Away", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(720, 100, 1100, 400)));
        away->EnableToolkitDocking();
        awayLeft = DYNAMIC_DOWNCAST(CQZDockBar, away->GetControlBar(AFX_IDW_DOCKBAR_LEFT));
        ASSERT_NE(nullptr, awayLeft);
        bar.fixedSize = CSize(100, 24);
        AddBar(bar, kWandererId, "Wanderer", top);
        bar.EnableDockHooks(TRUE);
    }
    void TearDown() override
    {
        if (::IsWindow(away->m_hWnd))
            away->DestroyWindow();
        BarDockingTest::TearDown();
    }
    void SendAway(CDockBar* dockBar)
    {
        away->DockControlBar(&bar, dockBar);
        bar.m_pDockContext->m_pDockSite = away;
        bar.SendMessage(WM_QZ_DRAGDONE);
        ASSERT_EQ(away->m_hWnd, bar.m_pFloatingHook->m_hWnd) << "the hook watches the frame the bar is in";
    }

    PlainToolkitBar bar;
    ToolkitDockFrame* away = nullptr;
    CQZDockBar* awayLeft = nullptr;
};

TEST_F(AwayFrameTest, BarDockedInAFrameThatGoesDocksAtHomeAgain)
{
    SendAway(awayLeft);
    ASSERT_EQ(away, bar.GetParentFrame());
    ASSERT_TRUE(bar.IsLeftDocked());
    CQZDockContextWndHook* watching = bar.m_pFloatingHook;

    away->DestroyWindow();
    ASSERT_TRUE(::IsWindow(bar.m_hWnd)) << "the bar outlives the frame it was away in";
    EXPECT_EQ(frame, bar.GetParentFrame());
    EXPECT_EQ(left, bar.m_pDockBar) << "docked at home on the side it last had";
    EXPECT_GE(left->FindBar(&bar), 0);
    EXPECT_EQ(frame, bar.m_pDockSite);
    EXPECT_EQ(frame, bar.m_pDockContext->m_pDockSite);
    EXPECT_EQ(&bar, frame->GetControlBar(kWandererId));
    EXPECT_FALSE(watching->IsHooked()) << "the hook let go of the frame that went";
    EXPECT_EQ(frame->m_hWnd, bar.m_pHomeHook->m_hWnd) << "the home hook stays";
}

TEST_F(AwayFrameTest, WithoutItsHooksABarGoesWithTheFrameItIsIn)
{
    SendAway(awayLeft);
    bar.EnableDockHooks(FALSE);
    away->DestroyWindow();
    EXPECT_FALSE(::IsWindow(bar.m_hWnd));
}

TEST_F(AwayFrameTest, ABarBackHomeIsLeftWhereItIsWhenTheOtherFrameGoes)
{
    SendAway(awayLeft);
    frame->DockControlBar(&bar, bottom);
    bar.m_pDockContext->m_pDockSite = frame;
    bar.SendMessage(WM_QZ_DRAGDONE);
    away->DestroyWindow();
    ASSERT_TRUE(::IsWindow(bar.m_hWnd));
    EXPECT_EQ(bottom, bar.m_pDockBar);
}

} // namespace
} // namespace toolkit_test
