// The toolkit drag: live drags fed with posted input and the pointer placed through the
// drag's seam; where the pointer docks a bar; tearing off, Ctrl, Shift, Escape; the most
// recent places after a drag; resizing a floating frame; the loop's exits, the skin's drag
// mode, the focus and the frame's lock; messages that are not the drag's own; and a
// floating frame that cannot be made.
#include "toolkit_docking_test_support.h"

#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZSkin.h"

using namespace toolkit_test;
using docking_test::kIdA;
using docking_test::kIdB;
using docking_test::RectIn;
using docking_test::Rows;
using docking_test::ScreenRectOf;

namespace {

// A bar that puts the pointer at half its floating frame's width and 7 pixels down.
class OffsetBar : public ToolkitBar {
public:
    BOOL AdjustFloatSize(SIZE* pSize) override
    {
        pSize->cx /= 2;
        pSize->cy = 7;
        return TRUE;
    }
};

// A floating bar of any size: its width and height follow what a resize asks for.
class FreeBar : public ToolkitBar {
public:
    int width = 120;
    int height = 20;
    int askedWidth = 120;

    CSize CalcDynamicLayout(int nLength, DWORD dwMode) override
    {
        if (dwMode & LM_MRUWIDTH)
            return CSize(width, height);
        if (dwMode & (LM_HORZDOCK | LM_VERTDOCK))
            return CalcFixedLayout(FALSE, (dwMode & LM_HORZDOCK) != 0);
        if (dwMode & LM_LENGTHY) {
            height = nLength;
            return CSize(askedWidth, nLength);
        }
        askedWidth = nLength;
        if (dwMode & LM_COMMIT)
            width = nLength;
        return CSize(nLength, height);
    }
};

class RefusedToolkitFrame : public CQZMiniDockFrameWnd {
    DECLARE_DYNCREATE(RefusedToolkitFrame)
public:
    BOOL PreCreateWindow(CREATESTRUCT&) override { return FALSE; }
};
IMPLEMENT_DYNCREATE(RefusedToolkitFrame, CQZMiniDockFrameWnd)

// Counts application messages; releases the capture the first time it paints when asked.
class CaptureThief : public CWnd {
public:
    static constexpr UINT kInvalidate = WM_APP + 30;
    static constexpr UINT kApplication = WM_APP + 31;
    int applicationMessages = 0;
    bool releaseOnPaint = false;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kInvalidate) {
            Invalidate(FALSE);
            return 0;
        }
        if (message == kApplication) {
            ++applicationMessages;
            return 0;
        }
        if (message == WM_PAINT && releaseOnPaint) {
            releaseOnPaint = false;
            ::ReleaseCapture();
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class ToolkitDragTest : public ToolkitDockingTest {
public:
    void SetUp() override
    {
        ToolkitDockingTest::SetUp();
        a.live = TRUE;
        AddBar(a, kIdA, "A", top);
        AddBar(b, kIdB, "B", top);
        a.dragsDone = 0;
        PumpPending();
    }
    CQZDockContext* Context() { return static_cast<CQZDockContext*>(a.m_pDockContext); }
    CPoint Start() { return ScreenRectOf(&a).CenterPoint(); }
    LiveDragScript Script() { return LiveDragScript(&a, &mover); }
    // Runs the drag of a from its centre with the pointer there.
    void Drag()
    {
        PointerSeam::Place(Start());
        mover.Begin();
        Context()->StartDrag(Start());
    }
    HWND FloatingFrameOf(CControlBar& bar) { return bar.IsFloating() ? ::GetParent(bar.m_pDockBar->m_hWnd) : nullptr; }

    PointerSeam pointer;
    ToolkitBar a;
    ToolkitBar b;
};

} // namespace

TEST_F(ToolkitDragTest, TornOffBarFloatsMovesItsFrameAndEscapePutsItBack)
{
    const CRect docked = RectIn(&a, top);
    HWND floating = nullptr;
    std::vector<CPoint> frameCorners;
    std::vector<CPoint> outlineCorners;
    mover.check = [&] {
        floating = FloatingFrameOf(a);
        ASSERT_NE(nullptr, floating);
        frameCorners.push_back(ScreenRectOf(CWnd::FromHandle(floating)).TopLeft());
        outlineCorners.push_back(Context()->m_rectFrameDragHorz.TopLeft());
    };
    Script().MoveTo(InClient(300, 200)).Check().MoveTo(InClient(320, 230)).Check().Key(VK_ESCAPE, true);
    Drag();
    ASSERT_EQ(2u, frameCorners.size());
    EXPECT_EQ(outlineCorners[0], frameCorners[0]);
    EXPECT_EQ(frameCorners[0] + CSize(20, 30), frameCorners[1]) << "the same frame moved with the pointer";
    EXPECT_EQ(top, a.m_pDockBar);
    EXPECT_EQ(docked, RectIn(&a, top));
    EXPECT_EQ("|A|B|", Rows(*top));
    EXPECT_FALSE(::IsWindow(floating)) << "the frame went with the bar";
    EXPECT_EQ(1, a.dragsDone);
}

TEST_F(ToolkitDragTest, CtrlFloatsAtOnceAndReleasingItDocksAgain)
{
    std::vector<bool> floating;
    mover.check = [&] { floating.push_back(a.IsFloating() != FALSE); };
    const CPoint over = Start() + CSize(10, 0);
    Script().MoveTo(over).Check().Key(VK_CONTROL, true).Check().Key(VK_CONTROL, false).Check().Release(over);
    Drag();
    EXPECT_EQ((std::vector<bool>{false, true, false}), floating);
    EXPECT_EQ(top, a.m_pDockBar);
}

TEST_F(ToolkitDragTest, EmptyDockBarTakesThePointerWithinFourPixelsOfTheEdge)
{
    struct Case {
        const char* why;
        int x;
        bool docksLeft;
    };
    const Case cases[] = {{"3 pixels in", 3, true}, {"4 pixels in", 4, false}, {"5 pixels in", 5, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        TearDown();
        SetUp();
        const CPoint at = InClient(c.x, 200);
        Script().MoveTo(at).Release(at);
        Drag();
        EXPECT_EQ(c.docksLeft, a.m_pDockBar == left);
        EXPECT_EQ(!c.docksLeft, a.IsFloating() != FALSE);
    }
}

TEST_F(ToolkitDragTest, BarMayPlaceThePointerInItsTornOffFrame)
{
    OffsetBar offsetBar;
    offsetBar.live = TRUE;
    AddBar(offsetBar, 0xE830, "Offset", top);
    const CPoint start = ScreenRectOf(&offsetBar).CenterPoint();
    const CPoint at = InClient(300, 200);
    LiveDragScript(&offsetBar, &mover).MoveTo(at).Release(at);
    PointerSeam::Place(start);
    mover.Begin();
    offsetBar.m_pDockContext->StartDrag(start);
    ASSERT_TRUE(offsetBar.IsFloating());
    const CRect frameRect = ScreenRectOf(offsetBar.m_pDockBar->GetParent());
    EXPECT_EQ(at - CSize(frameRect.Width() / 2, 7), frameRect.TopLeft());
    // A bar without an answer: the frame comes around its old corner, moved with the pointer.
    const CRect before = ScreenRectOf(&a);
    Script().MoveTo(at).Release(at);
    Drag();
    ASSERT_TRUE(a.IsFloating());
    CRect borders(0, 0, 0, 0);
    CMiniFrameWnd::CalcBorders(&borders);
    const CPoint expected = before.TopLeft() + CSize(borders.left + 2, borders.top + 2) + (at - before.CenterPoint());
    EXPECT_EQ(expected, ScreenRectOf(a.m_pDockBar->GetParent()).TopLeft());
    EXPECT_EQ(before.Size(), ScreenRectOf(&a).Size());
}

TEST_F(ToolkitDragTest, PressAndReleaseInPlaceDocksTheBarWhereItIsAndRecordsThePlace)
{
    const CRect docked = RectIn(&a, top);
    Context()->m_uMRUDockID = 0;
    Context()->m_rectMRUDockPos.SetRectEmpty();
    CRect beforeRelease;
    mover.check = [&] { beforeRelease = RectIn(&a, top); };
    Script().Check().Release(Start());
    Drag();
    EXPECT_EQ(docked, beforeRelease) << "nothing moves before the release";
    EXPECT_EQ(docked, RectIn(&a, top));
    EXPECT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_TOP), Context()->m_uMRUDockID);
    EXPECT_EQ(docked, Context()->m_rectMRUDockPos);
}

TEST_F(ToolkitDragTest, AfterADragTheRecentPlacesAreThoseFromBeforeIt)
{
    // Press and release in place records the top dock bar as the recent dock place.
    Script().Release(Start());
    Drag();
    const CRect recent = Context()->m_rectMRUDockPos;
    // Over the left dock bar (docked there for a moment), then floating.
    Script().MoveTo(InClient(2, 200)).MoveTo(InClient(300, 200)).Release(InClient(300, 200));
    Drag();
    ASSERT_TRUE(a.IsFloating());
    EXPECT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_TOP), Context()->m_uMRUDockID);
    EXPECT_EQ(recent, Context()->m_rectMRUDockPos);
    Context()->ToggleDocking();
    EXPECT_EQ(top, a.m_pDockBar);
}

TEST_F(ToolkitDragTest, CancelledDragOfAFloatingBarLeavesItsRecentPlacesAsTheyWere)
{
    Script().Release(Start());
    Drag();
    const CRect recent = Context()->m_rectMRUDockPos;
    Script().MoveTo(InClient(300, 200)).Release(InClient(300, 200));
    Drag();
    ASSERT_TRUE(a.IsFloating());
    const CRect floatingFrame = ScreenRectOf(a.m_pDockBar->GetParent());
    const CPoint floatPos = Context()->m_ptMRUFloatPos;
    // Its caption dragged over the left dock bar (docked there for a moment), then Escape.
    bool dockedLeft = false;
    mover.check = [&] { dockedLeft = a.m_pDockBar == left; };
    Script().MoveTo(InClient(2, 200)).Check().Key(VK_ESCAPE, true);
    Drag();
    EXPECT_TRUE(dockedLeft);
    ASSERT_TRUE(a.IsFloating());
    EXPECT_EQ(floatingFrame, ScreenRectOf(a.m_pDockBar->GetParent()));
    EXPECT_EQ(static_cast<UINT>(AFX_IDW_DOCKBAR_TOP), Context()->m_uMRUDockID) << "not the side it passed over";
    EXPECT_EQ(recent, Context()->m_rectMRUDockPos);
    EXPECT_EQ(floatPos, Context()->m_ptMRUFloatPos);
    Context()->ToggleDocking();
    EXPECT_EQ(top, a.m_pDockBar) << "a double click docks it where it was docked last";
}

TEST_F(ToolkitDragTest, ShiftTurnsOnlyABarThatDocksBothWays)
{
    struct Case {
        const char* why;
        DWORD dockStyle;
        BOOL flipped;
    };
    const Case cases[] = {
        {"top and bottom only", CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM, FALSE},
        {"every side", CBRS_ALIGN_ANY, TRUE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        a.m_dwDockStyle = c.dockStyle;
        BOOL flip = -1;
        mover.check = [&] { flip = Context()->m_bFlip; };
        Script().Key(VK_SHIFT, true).Check().Key(VK_ESCAPE, true);
        Drag();
        EXPECT_EQ(c.flipped, flip);
    }
}

TEST_F(ToolkitDragTest, CaptureHeldElsewhereEndsAtOnceButTheBarIsStillTold)
{
    CWnd holder;
    ASSERT_TRUE(holder.CreateEx(0, nullptr, "holder", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    holder.SetCapture();
    const CRect docked = RectIn(&a, top);
    Script().MoveTo(InClient(300, 200)).Release(InClient(300, 200));
    Drag();
    EXPECT_EQ(holder.m_hWnd, ::GetCapture());
    EXPECT_EQ(docked, RectIn(&a, top));
    EXPECT_EQ(1, a.dragsDone);
    ::ReleaseCapture();
    holder.DestroyWindow();
    PumpPending();
}

TEST_F(ToolkitDragTest, LoopEndsOnQuitAndPostsItAgain)
{
    ::PostQuitMessage(9);
    Drag();
    EXPECT_EQ(top, a.m_pDockBar);
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(9u, msg.wParam);
}

TEST_F(ToolkitDragTest, SkinIsInDragModeAndTheBarHasTheFocusWhileTheDragRuns)
{
    const int previousLook = qzAfxData.xpLook;
    qzAfxData.xpLook = 1;
    CWnd edit;
    ASSERT_TRUE(edit.Create("EDIT", "", WS_CHILD | WS_VISIBLE, CRect(300, 100, 400, 120), frame, 1234));
    edit.SetFocus();
    auto* site = dynamic_cast<IQZProxySite*>(QZGetCurrentSkin());
    ASSERT_NE(nullptr, site);
    bool dragMode = false;
    HWND focus = nullptr;
    mover.check = [&] {
        dragMode = site->IsDragMode();
        focus = ::GetFocus();
    };
    Script().Check().Key(VK_ESCAPE, true);
    Drag();
    EXPECT_TRUE(dragMode);
    EXPECT_EQ(a.m_hWnd, focus);
    EXPECT_FALSE(site->IsDragMode());
    EXPECT_EQ(edit.m_hWnd, ::GetFocus()) << "the focus went back";
    qzAfxData.xpLook = previousLook;
}

TEST_F(ToolkitDragTest, LiveStepsLockTheFrameWhileTheBarIsDockedAndFlushItsLayout)
{
    LockRecorder locks;
    int checks = 0;
    UINT pendingLayout = CFrameWnd::idleLayout;
    mover.check = [&] {
        // The first check asks for a layout; by the second it has run.
        if (checks++ == 0)
            frame->DelayRecalcLayout();
        else
            pendingLayout = frame->m_nIdleFlags & CFrameWnd::idleLayout;
    };
    Script().MoveTo(Start() + CSize(5, 0)).Check().Check().MoveTo(InClient(300, 200)).MoveTo(InClient(310, 200));
    Script().Key(VK_ESCAPE, true);
    Drag();
    EXPECT_EQ(0u, pendingLayout);
    // One lock and its release for each message handled while the bar was docked: the
    // cursor message the drag posts itself, the first move and its step, the two checks,
    // the next step and the move that floats the bar; none once it floats.
    const std::vector<HWND>& taken = LockRecorder::locks();
    ASSERT_EQ(14u, taken.size());
    for (size_t i = 0; i < taken.size(); i += 2) {
        EXPECT_EQ(frame->m_hWnd, taken[i]);
        EXPECT_EQ(nullptr, taken[i + 1]);
    }
}

TEST_F(ToolkitDragTest, RepeatedPositionIsNotWorkedAgain)
{
    LockRecorder locks;
    // Down a little, within the bar's row: the bar stays where it is.
    const CPoint at = Start() + CSize(0, 3);
    Script().MoveTo(at, MK_LBUTTON, 3).Key(VK_ESCAPE, true);
    Drag();
    // A lock for each message handled: the two steps, the cursor message, the first of the
    // three moves and Escape; the repeated moves are not handled.
    EXPECT_EQ(10u, LockRecorder::locks().size());
}

TEST_F(ToolkitDragTest, MessageTakenAsTheCaptureGoesStillReachesItsWindow)
{
    CaptureThief thief;
    ASSERT_TRUE(thief.CreateEx(0, nullptr, "thief", WS_POPUP | WS_VISIBLE, 0, 0, 20, 20, nullptr, nullptr));
    PumpPending();
    thief.releaseOnPaint = true;
    thief.PostMessage(CaptureThief::kInvalidate);
    thief.PostMessage(CaptureThief::kApplication);
    Drag();
    EXPECT_EQ(1, thief.applicationMessages);
    EXPECT_EQ(top, a.m_pDockBar);
    thief.DestroyWindow();
}

TEST_F(ToolkitDragTest, FloatingFrameThatCannotBeMadeLeavesTheBarWhereItWas)
{
    struct Case {
        const char* why;
        BOOL live;
    };
    const Case cases[] = {{"live", TRUE}, {"outline", FALSE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        TearDown();
        SetUp();
        a.live = c.live;
        frame->m_pFloatingFrameClass = RUNTIME_CLASS(RefusedToolkitFrame);
        const CRect docked = RectIn(&a, top);
        Script().MoveTo(InClient(300, 200)).MoveTo(InClient(310, 210)).Release(InClient(310, 210));
        Drag();
        EXPECT_EQ(top, a.m_pDockBar);
        EXPECT_EQ(docked, RectIn(&a, top));
        EXPECT_EQ(nullptr, ::GetCapture());
        PumpPending();
    }
}

TEST_F(ToolkitDragTest, OutlineModeForBarsThatDoNotAskForLiveDragging)
{
    a.live = FALSE;
    bool hadDC = false;
    bool wasLive = true;
    CDockBar* dockedDuringDrag = nullptr;
    mover.check = [&] {
        hadDC = Context()->m_pDC != nullptr;
        wasLive = Context()->m_bLiveDrag != 0;
        dockedDuringDrag = a.m_pDockBar;
    };
    Script().MoveTo(InClient(2, 200)).Check().Release(InClient(2, 200));
    Drag();
    EXPECT_TRUE(hadDC);
    EXPECT_FALSE(wasLive);
    EXPECT_EQ(top, dockedDuringDrag) << "only the outline moved";
    EXPECT_EQ(left, a.m_pDockBar) << "docked at the release";
    EXPECT_EQ(nullptr, Context()->m_pDC);
    EXPECT_TRUE(Context()->m_rectLast.IsRectEmpty()) << "the outline was erased";
}

TEST_F(ToolkitDragTest, DockingWindowOutlineShowsAWholeNewRow)
{
    TestDockWindow window;
    window.fixedSize = CSize(150, 40);
    window.m_sizeHorz = window.m_sizeCurrent = CSize(150, 40);
    window.m_sizeVert = CSize(40, 150);
    AddBar(window, 0xE840, "W", nullptr);
    frame->FloatControlBar(&window, InClient(300, 250));
    ASSERT_TRUE(window.IsFloating());
    CRect outline;
    mover.check = [&] { outline = window.m_pDockContext->m_rectLast; };
    // Over the bottom dock bar's 4-pixel band: the outline's centre lies outside the empty
    // dock bar, so the outline spans the dock bar's width.
    const CPoint start = ScreenRectOf(&window).CenterPoint();
    CRect client;
    frame->GetClientRect(&client);
    const CPoint at = InClient(200, client.bottom - 2);
    LiveDragScript(&window, &mover).MoveTo(at).Check().Key(VK_ESCAPE, true);
    PointerSeam::Place(start);
    mover.Begin();
    window.m_pDockContext->StartDrag(start);
    const CRect bottomRect = ScreenRectOf(bottom);
    EXPECT_EQ(bottomRect.left + 1, outline.left);
    EXPECT_EQ(bottomRect.right - 1, outline.right);
}

TEST_F(ToolkitDragTest, ResizeFromTheTopLeftCornerFollowsBothWaysAndStaysOnTheDesktop)
{
    FreeBar free;
    AddBar(free, 0xE850, "Free", nullptr);
    free.SetBarStyle(free.GetBarStyle() | CBRS_SIZE_DYNAMIC);
    free.live = TRUE;
    frame->FloatControlBar(&free, CPoint(400, 300));
    ASSERT_TRUE(free.IsFloating());
    CWnd* floating = free.m_pDockBar->GetParent();
    const CRect frameBefore = ScreenRectOf(floating);
    ASSERT_EQ(CSize(120, 20), ScreenRectOf(&free).Size());
    const CPoint corner = frameBefore.TopLeft();
    LiveDragScript(&free, &mover).MoveTo(corner - CSize(40, 30)).Release(corner - CSize(40, 30));
    mover.Begin();
    free.m_pDockContext->StartResize(HTTOPLEFT, corner);
    EXPECT_EQ(CSize(160, 50), ScreenRectOf(&free).Size());
    const CRect frameAfter = ScreenRectOf(floating);
    EXPECT_EQ(frameBefore.BottomRight(), frameAfter.BottomRight()) << "the far corner stays";
    EXPECT_EQ(160, free.width);
    // The right border dragged far to the left: a frame that would leave the desktop stays.
    const CPoint rightEdge(frameAfter.right - 1, frameAfter.CenterPoint().y);
    LiveDragScript(&free, &mover).MoveTo(rightEdge - CSize(5000, 0)).Release(rightEdge - CSize(5000, 0));
    mover.Begin();
    free.m_pDockContext->StartResize(HTRIGHT, rightEdge);
    EXPECT_EQ(frameAfter, ScreenRectOf(floating));
}
