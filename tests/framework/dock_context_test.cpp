// The framework's drag: an outline follows posted mouse and key messages; the release docks
// the bar where its outline overlaps a dock bar or floats it; Escape, the right button and
// a lost button cancel. Also how the loop treats messages that are not its own.
#include "docking_test_support.h"

using namespace docking_test;

namespace {

int g_contextsDestroyed = 0;

class CountingContext : public CDockContext {
public:
    explicit CountingContext(CControlBar* bar) : CDockContext(bar) {}
    ~CountingContext() override { ++g_contextsDestroyed; }
};

// Records what the drag loop hands it and, asked to, disturbs the loop.
class DragProbe : public CWnd {
public:
    static constexpr UINT kRecord = WM_APP + 1;
    static constexpr UINT kInvalidate = WM_APP + 2;
    static constexpr UINT kApplication = WM_APP + 3;

    CDockContext* context = nullptr;
    struct Seen {
        CRect rectLast;
        CSize sizeLast;
        BOOL ditherLast;
        bool hasDC;
        bool barHasCapture;
    };
    std::vector<Seen> seen;
    int applicationMessages = 0;
    bool releaseOnPaint = false;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case kRecord:
            seen.push_back({context->m_rectLast, context->m_sizeLast, context->m_bDitherLast, context->m_pDC != nullptr,
                            ::GetCapture() == context->m_pBar->m_hWnd});
            return 0;
        case kInvalidate:
            Invalidate(FALSE);
            return 0;
        case kApplication:
            ++applicationMessages;
            return 0;
        case WM_PAINT:
            if (releaseOnPaint) {
                releaseOnPaint = false;
                ::ReleaseCapture();
            }
            break;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// Counts the mouse moves that reach it outside a drag loop.
class CountingBar : public FixedBar {
public:
    int mouseMoves = 0;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_MOUSEMOVE)
            ++mouseMoves;
        return FixedBar::WindowProc(message, wParam, lParam);
    }
};

class FrameworkDragTest : public DockingFrameTest {
public:
    void SetUp() override
    {
        DockingFrameTest::SetUp();
        AddBar(a, kIdA, "A", top);
        AddBar(b, kIdB, "B", top);
        ASSERT_TRUE(probe.CreateEx(0, nullptr, "probe", WS_POPUP | WS_VISIBLE, 0, 0, 20, 20, nullptr, nullptr));
        probe.context = a.m_pDockContext;
        probe.seen.clear();
        probe.applicationMessages = 0;
        a.mouseMoves = 0;
        test_support::PumpPending();
    }
    void TearDown() override
    {
        probe.DestroyWindow();
        DockingFrameTest::TearDown();
    }
    CPoint StartPoint() { return ScreenRectOf(&a).CenterPoint(); }
    // A point over the frame's client area: x and y from its top-left corner.
    CPoint InClient(int x, int y)
    {
        CPoint pt(x, y);
        frame->ClientToScreen(&pt);
        return pt;
    }
    UINT DockBarIdOf(CControlBar& bar) { return bar.m_pDockBar ? static_cast<UINT>(bar.m_pDockBar->GetDlgCtrlID()) : 0; }

    CountingBar a;
    FixedBar b;
    DragProbe probe;
};

} // namespace

TEST(DockContextLifetime, BarDeletesADerivedContextWhole)
{
    g_contextsDestroyed = 0;
    auto* bar = new FixedBar;
    bar->m_pDockContext = new CountingContext(bar);
    delete bar;
    EXPECT_EQ(1, g_contextsDestroyed);
}

TEST_F(FrameworkDragTest, ReleaseDocksWhereTheOutlineOverlapsADockBarOrFloats)
{
    struct Case {
        const char* why;
        std::function<void(FrameworkDragTest&, DragScript&)> script;
        UINT dockBarId;
        DWORD alignment;
    };
    const Case cases[] = {
        {"over the empty left dock bar",
         [](FrameworkDragTest& t, DragScript& s) { s.MoveTo(t.InClient(2, 200)).Release(t.InClient(2, 200)); },
         AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT},
        {"over the middle of the client area",
         [](FrameworkDragTest& t, DragScript& s) { s.MoveTo(t.InClient(300, 200)).Release(t.InClient(300, 200)); },
         AFX_IDW_DOCKBAR_FLOAT, CBRS_ALIGN_TOP},
        {"Shift turns the floating bar",
         [](FrameworkDragTest& t, DragScript& s) {
             s.Key(VK_SHIFT, true).MoveTo(t.InClient(300, 200)).Release(t.InClient(300, 200));
         },
         AFX_IDW_DOCKBAR_FLOAT, CBRS_ALIGN_LEFT},
        {"Ctrl floats it over its own dock bar",
         [](FrameworkDragTest& t, DragScript& s) {
             s.MoveTo(t.StartPoint() + CSize(30, 0)).Key(VK_CONTROL, true).Release(t.StartPoint() + CSize(30, 0));
         },
         AFX_IDW_DOCKBAR_FLOAT, CBRS_ALIGN_TOP},
        {"Escape cancels",
         [](FrameworkDragTest& t, DragScript& s) { s.MoveTo(t.InClient(2, 200)).Key(VK_ESCAPE, true); },
         AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP},
        {"the right button cancels",
         [](FrameworkDragTest& t, DragScript& s) { s.MoveTo(t.InClient(2, 200)).RightClick(t.InClient(2, 200)); },
         AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP},
        {"a move without the left button cancels",
         [](FrameworkDragTest& t, DragScript& s) { s.MoveTo(t.InClient(2, 200)).MoveTo(t.InClient(3, 200), 0); },
         AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        TearDown();
        SetUp();
        DragScript script(&a);
        c.script(*this, script);
        a.m_pDockContext->StartDrag(StartPoint());
        EXPECT_EQ(c.dockBarId, DockBarIdOf(a));
        EXPECT_EQ(c.alignment, a.GetBarStyle() & CBRS_ALIGN_ANY);
        EXPECT_EQ(nullptr, ::GetCapture());
        EXPECT_EQ(nullptr, a.m_pDockContext->m_pDC);
        EXPECT_FALSE(a.m_pDockContext->m_bDragging);
        ExpectSoundRows(*top);
    }
}

TEST_F(FrameworkDragTest, OutlineIsTheDockedShapeOverADockBarAndTheFrameElsewhere)
{
    DragScript script(&a);
    script.MoveTo(StartPoint() + CSize(5, 0));
    probe.PostMessage(DragProbe::kRecord);
    script.MoveTo(InClient(300, 200));
    probe.PostMessage(DragProbe::kRecord);
    script.Key(VK_ESCAPE, true);
    a.m_pDockContext->StartDrag(StartPoint());
    ASSERT_EQ(2u, probe.seen.size());
    CRect docked = ScreenRectOf(&a) + CSize(5, 0);
    docked.DeflateRect(1, 1);
    EXPECT_EQ(docked, probe.seen[0].rectLast);
    EXPECT_EQ(CSize(1, 1), probe.seen[0].sizeLast);
    EXPECT_FALSE(probe.seen[0].ditherLast);
    EXPECT_TRUE(probe.seen[0].hasDC);
    EXPECT_TRUE(probe.seen[0].barHasCapture);
    // Over the client area the floating frame's outline, a frame border thick, in halftone.
    EXPECT_EQ(a.m_pDockContext->m_rectFrameDragHorz, probe.seen[1].rectLast);
    EXPECT_EQ(CSize(::GetSystemMetrics(SM_CXFRAME) - 1, ::GetSystemMetrics(SM_CYFRAME) - 1), probe.seen[1].sizeLast);
    EXPECT_TRUE(probe.seen[1].ditherLast);
    EXPECT_TRUE(probe.seen[1].rectLast.PtInRect(InClient(300, 200)));
    // The cancel erased it.
    EXPECT_TRUE(a.m_pDockContext->m_rectLast.IsRectEmpty());
}

TEST_F(FrameworkDragTest, MessageTakenAsTheCaptureGoesReachesItsWindowUnlessItIsDragInput)
{
    struct Case {
        const char* why;
        bool postMouseMove;
        int applicationMessages;
        int barMouseMoves;
    };
    const Case cases[] = {
        {"an application message is dispatched", false, 1, 0},
        {"a mouse move of the drag is not", true, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        TearDown();
        SetUp();
        // The first message makes the probe paint at the next turn; painting loses the
        // capture just before the next message is taken.
        probe.releaseOnPaint = true;
        probe.PostMessage(DragProbe::kInvalidate);
        if (c.postMouseMove)
            DragScript(&a).MoveTo(InClient(2, 200));
        else
            probe.PostMessage(DragProbe::kApplication);
        a.m_pDockContext->StartDrag(StartPoint());
        EXPECT_EQ(c.applicationMessages, probe.applicationMessages);
        EXPECT_EQ(c.barMouseMoves, a.mouseMoves);
        EXPECT_EQ(AFX_IDW_DOCKBAR_TOP, DockBarIdOf(a)) << "a lost capture cancels";
        test_support::PumpPending();
        EXPECT_EQ(c.barMouseMoves, a.mouseMoves) << "nothing of the drag is left over";
    }
}

// Presses Escape on a window after three seconds unless it is stood down first: a drag
// loop that swallowed a quit ends then, and its test fails at once instead of waiting for ever.
class EscapeWatchdog {
public:
    explicit EscapeWatchdog(HWND target)
        : m_target(target), m_standDown(::CreateEventA(nullptr, TRUE, FALSE, nullptr)),
          m_thread(::CreateThread(nullptr, 0, Run, this, 0, nullptr))
    {
    }
    EscapeWatchdog(const EscapeWatchdog&) = delete;
    EscapeWatchdog& operator=(const EscapeWatchdog&) = delete;
    ~EscapeWatchdog()
    {
        ::SetEvent(m_standDown);
        ::WaitForSingleObject(m_thread, INFINITE);
        ::CloseHandle(m_thread);
        ::CloseHandle(m_standDown);
    }

private:
    static DWORD WINAPI Run(void* self)
    {
        auto* watchdog = static_cast<EscapeWatchdog*>(self);
        if (::WaitForSingleObject(watchdog->m_standDown, 3000) == WAIT_TIMEOUT)
            ::PostMessageA(watchdog->m_target, WM_KEYDOWN, VK_ESCAPE, 0);
        return 0;
    }
    HWND m_target;
    HANDLE m_standDown;
    HANDLE m_thread;
};

TEST_F(FrameworkDragTest, QuitDuringTheDragIsPostedAgainAndCancels)
{
    ::PostQuitMessage(7);
    {
        EscapeWatchdog watchdog(a.m_hWnd);
        a.m_pDockContext->StartDrag(StartPoint());
    }
    EXPECT_EQ(AFX_IDW_DOCKBAR_TOP, DockBarIdOf(a));
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
}

TEST_F(FrameworkDragTest, PressDragsOnlyWhereTheBarHasNoToolAndDoubleClickToggles)
{
    CWnd tool;
    ASSERT_TRUE(tool.Create("STATIC", "tool", WS_CHILD | WS_VISIBLE, CRect(60, 2, 90, 20), &a, 1234));
    // On the tool: the press is the tool's, no loop runs (a loop would take the quit).
    ::PostQuitMessage(3);
    a.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(70, 10));
    MSG msg;
    EXPECT_TRUE(::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    // Beside it: a drag, here to the middle of the client area.
    CPoint at(10, 10);
    a.ClientToScreen(&at);
    DragScript(&a).MoveTo(InClient(300, 200)).Release(InClient(300, 200));
    a.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    ASSERT_TRUE(a.IsFloating());
    EXPECT_EQ(a.m_pDockContext->m_rectFrameDragHorz.TopLeft(), a.m_pDockContext->m_ptMRUFloatPos);
    // A double click docks it back where it was, and floats it again where it floated.
    a.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(AFX_IDW_DOCKBAR_TOP, DockBarIdOf(a));
    a.SendMessage(WM_LBUTTONDBLCLK, 0, MAKELPARAM(10, 10));
    ASSERT_TRUE(a.IsFloating());
    EXPECT_EQ(a.m_pDockContext->m_ptMRUFloatPos, ScreenRectOf(CWnd::FromHandle(::GetParent(a.m_pDockBar->m_hWnd))).TopLeft());
}

TEST_F(FrameworkDragTest, ResizeFollowsTheBorderAndTheBarKeepsItsWidth)
{
    FlowBar flow;
    MakeBar(flow, kIdC, "Flow");
    flow.SetBarStyle(flow.GetBarStyle() | CBRS_SIZE_DYNAMIC);
    frame->FloatControlBar(&flow, CPoint(300, 300));
    ASSERT_TRUE(flow.IsFloating());
    const CRect before = ScreenRectOf(&flow);
    ASSERT_EQ(CSize(120, 20), before.Size());
    // The right border 80 pixels further right: 200 wide, 12 high.
    const CPoint start(ScreenRectOf(flow.m_pDockBar->GetParent()).right - 1, before.CenterPoint().y);
    DragScript(&flow).MoveTo(start + CSize(80, 0)).Release(start + CSize(80, 0));
    flow.m_pDockContext->StartResize(HTRIGHT, start);
    EXPECT_EQ(200, flow.m_nMRUWidth);
    EXPECT_EQ(1, flow.commits);
    EXPECT_EQ(CSize(200, 12), ScreenRectOf(&flow).Size());
    EXPECT_EQ(before.TopLeft(), ScreenRectOf(&flow).TopLeft()) << "the frame grew to the right";
}
