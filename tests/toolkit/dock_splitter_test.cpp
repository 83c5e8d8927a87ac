// Dock splitters in a toolkit frame with a row of docking windows at the top, two docking
// windows in one column on the left and a row on the bottom that also holds an ordinary
// bar: drags through the dock bar's own mouse messages (thicker and thinner rows within
// their limits, length moved between neighbours down to their minimum), a press without a
// move, Escape and a lost capture changing nothing, no splitter while another window
// holds the capture, the cursors, and how the strips are drawn.
#include "toolkit_docking_test_support.h"

#include "toolkit/foundation/QZAuxData.h"

using namespace toolkit_test;
using docking_test::kIdA;
using docking_test::kIdB;
using docking_test::kIdC;
using docking_test::kIdD;
using docking_test::ScreenRectIn;

namespace {

constexpr UINT kSecondId = 0xE830;

class SplitterTest : public ToolkitDockingTest {
public:
    void SetUp() override
    {
        ToolkitDockingTest::SetUp();
        upper.m_sizeHorz = upper.m_sizeCurrent = CSize(300, 50);
        first.m_sizeVert = first.m_sizeCurrent = CSize(80, 100);
        second.m_sizeVert = second.m_sizeCurrent = CSize(80, 200);
        lower.m_sizeHorz = lower.m_sizeCurrent = CSize(200, 50);
        AddBar(upper, kIdA, "Upper", top);
        AddBar(first, kIdB, "First", left);
        AddBar(second, kSecondId, "Second", nullptr);
        // Into the first one's column.
        frame->DockControlBar(&second, left, ScreenRectIn(left, 2, 150, CSize(10, 10)));
        AddBar(lower, kIdC, "Lower", bottom);
        AddBar(ordinary, kIdD, "Ordinary", nullptr);
        frame->DockControlBar(&ordinary, bottom, ScreenRectIn(bottom, 250, 20, CSize(10, 10)));
        Relayout();
        ASSERT_EQ(left->GetRowStart(&first), left->GetRowStart(&second)) << "one column";
        ASSERT_EQ(bottom->GetRowStart(&lower), bottom->GetRowStart(&ordinary)) << "one row";
    }
    void TearDown() override
    {
        if (CWnd::GetCapture())
            ::ReleaseCapture();
        ToolkitDockingTest::TearDown();
    }
    void Relayout()
    {
        frame->RecalcLayout();
        frame->m_nIdleFlags &= ~CFrameWnd::idleLayout;
    }
    // The row splitter of a dock bar, or its splitter between windows.
    CQZSplitterDock* RowSplitter(CQZDockBar* dockBar)
    {
        for (int i = 0; i < dockBar->m_arrSplitters.GetSize(); ++i) {
            CQZSplitterDock* splitter = dockBar->m_arrSplitters.GetAt(i);
            if (!dynamic_cast<CQZSplitterRowDock*>(splitter))
                return splitter;
        }
        return nullptr;
    }
    CQZSplitterDock* WindowSplitter(CQZDockBar* dockBar)
    {
        for (int i = 0; i < dockBar->m_arrSplitters.GetSize(); ++i) {
            if (auto* splitter = dynamic_cast<CQZSplitterRowDock*>(dockBar->m_arrSplitters.GetAt(i)))
                return splitter;
        }
        return nullptr;
    }
    // The middle of the strip, in the dock bar's client coordinates.
    CPoint Middle(CQZSplitterDock* splitter)
    {
        const CRect& strip = splitter->m_rect;
        return CPoint(std::max<int>(strip.left, 0) + std::min<int>(strip.Width(), 20) / 2, strip.CenterPoint().y);
    }
    static LPARAM At(CPoint point) { return MAKELPARAM(static_cast<short>(point.x), static_cast<short>(point.y)); }
    // The mouse over the strip and the button pressed, as the system sends them.
    LRESULT Press(CQZDockBar* dockBar, CPoint client)
    {
        CPoint screen = client;
        dockBar->ClientToScreen(&screen);
        const LRESULT hit = dockBar->SendMessage(WM_NCHITTEST, 0, At(screen));
        dockBar->SendMessage(WM_NCLBUTTONDOWN, hit, At(screen));
        return hit;
    }
    // Press, move by (dx, dy) and release.
    void Drag(CQZDockBar* dockBar, CQZSplitterDock* splitter, int dx, int dy)
    {
        const CPoint from = Middle(splitter);
        ASSERT_EQ(HTBORDER, Press(dockBar, from));
        ASSERT_TRUE(dockBar->m_bTracking);
        const CPoint to = from + CSize(dx, dy);
        dockBar->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(to));
        dockBar->SendMessage(WM_LBUTTONUP, 0, At(to));
        EXPECT_FALSE(dockBar->m_bTracking);
        EXPECT_EQ(nullptr, ::GetCapture());
        Relayout();
    }

    TestDockWindow upper;
    TestDockWindow first;
    TestDockWindow second;
    TestDockWindow lower;
    ToolkitBar ordinary;  // 24 pixels thick along a row
};

} // namespace

TEST_F(SplitterTest, RowSplittersThickenAndThinTheirRowWithinTheirLimits)
{
    struct Case {
        const char* why;
        std::function<CQZDockBar*(SplitterTest&)> dockBar;
        std::function<TestDockWindow&(SplitterTest&)> window;
        CSize move;
        // The thickness expected from the one before, the room the client area had and the
        // row's thickest ordinary bar.
        std::function<int(int before, int room, int ordinary)> expected;
    };
    const Case cases[] = {
        {"the top row 40 down: 40 thicker", [](SplitterTest& t) { return t.top; },
         [](SplitterTest& t) -> TestDockWindow& { return t.upper; }, CSize(0, 40),
         [](int before, int, int) { return before + 40; }},
        {"the top row far down: stops where the client area has no room", [](SplitterTest& t) { return t.top; },
         [](SplitterTest& t) -> TestDockWindow& { return t.upper; }, CSize(0, 2000),
         [](int before, int room, int) { return before + room; }},
        {"the bottom row 30 up: 30 thicker", [](SplitterTest& t) { return t.bottom; },
         [](SplitterTest& t) -> TestDockWindow& { return t.lower; }, CSize(0, -30),
         [](int before, int, int) { return before + 30; }},
        {"the bottom row far down: as thin as its ordinary bar", [](SplitterTest& t) { return t.bottom; },
         [](SplitterTest& t) -> TestDockWindow& { return t.lower; }, CSize(0, 2000),
         [](int, int, int ordinary) { return ordinary; }},
        {"the left column 40 right: 40 wider", [](SplitterTest& t) { return t.left; },
         [](SplitterTest& t) -> TestDockWindow& { return t.first; }, CSize(40, 0),
         [](int before, int, int) { return before + 40; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        TearDown();
        SetUp();
        CQZDockBar* dockBar = c.dockBar(*this);
        TestDockWindow& window = c.window(*this);
        const bool horz = dockBar == top || dockBar == bottom;
        auto thickness = [&] { return horz ? window.GetCurrentHeight() : window.GetCurrentWidth(); };
        const int before = thickness();
        const int room = dockBar->GetFreeThickness();
        CQZSplitterDock* splitter = RowSplitter(dockBar);
        ASSERT_NE(nullptr, splitter);
        Drag(dockBar, splitter, c.move.cx, c.move.cy);
        EXPECT_EQ(c.expected(before, room, ordinary.horz.cy), thickness());
    }
}

TEST_F(SplitterTest, ABottomRowNeverGetsThinnerThanTwo)
{
    ordinary.ShowWindow(SW_HIDE);  // no ordinary bar left in the row
    Relayout();
    Drag(bottom, RowSplitter(bottom), 0, 2000);
    EXPECT_EQ(2, lower.GetCurrentHeight());
}

TEST_F(SplitterTest, AWindowSplitterMovesLengthDownToTheMinimum)
{
    struct Case {
        const char* why;
        int move;
        bool towardsSecond;
    };
    const Case cases[] = {{"300 down: the second down to its minimum", 300, true},
                          {"300 up: the first down to its minimum", -300, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        TearDown();
        SetUp();
        const int firstBefore = first.GetCurrentHeight();
        const int secondBefore = second.GetCurrentHeight();
        ASSERT_GT(firstBefore, 5);
        ASSERT_GT(secondBefore, 5);
        CQZSplitterDock* splitter = WindowSplitter(left);
        ASSERT_NE(nullptr, splitter);
        Drag(left, splitter, 0, c.move);
        // The limit is a position in the dock bar, whose column starts a pixel above it: the
        // first window stops at its minimum counted from the dock bar's edge.
        CRect firstPlace;
        first.GetWindowRect(&firstPlace);
        left->ScreenToClient(&firstPlace);
        const int firstMinimum = 5 - std::min<int>(firstPlace.top, 0);
        const int total = firstBefore + secondBefore;
        EXPECT_EQ(c.towardsSecond ? total - 5 : firstMinimum, first.GetCurrentHeight());
        EXPECT_EQ(c.towardsSecond ? 5 : total - firstMinimum, second.GetCurrentHeight());
    }
}

TEST_F(SplitterTest, GrowingNeighboursHandsBackWhatTheyCannotTake)
{
    const int index = left->FindBar(&second);
    const int firstLength = first.GetCurrentHeight();
    EXPECT_EQ(-1000 + (firstLength - 5), left->GrowWindowsBefore(index, -1000));
    EXPECT_EQ(5, first.GetCurrentHeight());
    EXPECT_EQ(0, left->GrowWindowsBefore(index, 30)) << "a growth goes whole to the nearest window";
    EXPECT_EQ(35, first.GetCurrentHeight());
    EXPECT_EQ(0, left->GrowWindowsAfter(index, 0));
    EXPECT_EQ(7, left->GrowWindowsBefore(left->GetRowStart(&first), 7)) << "no window before the first";
}

TEST_F(SplitterTest, APressAndReleaseWithoutMovingChangesNothing)
{
    const CSize before = upper.m_sizeCurrent;
    CQZSplitterDock* splitter = RowSplitter(top);
    const CPoint at = Middle(splitter);
    ASSERT_EQ(HTBORDER, Press(top, at));
    EXPECT_EQ(top, CWnd::GetCapture());
    EXPECT_EQ(top->m_hWnd, ::GetFocus()) << "the dock bar takes the focus for Escape";
    top->SendMessage(WM_LBUTTONUP, 0, At(at));
    EXPECT_EQ(before, upper.m_sizeCurrent);
    EXPECT_FALSE(frame->m_nIdleFlags & CFrameWnd::idleLayout) << "no layout asked for";
}

TEST_F(SplitterTest, EscapeAndALostCaptureAbandonTheDrag)
{
    struct Case {
        const char* why;
        std::function<void(SplitterTest&)> interrupt;
    };
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, nullptr, "other", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr));
    const Case cases[] = {
        {"Escape, through the dock bar's dialog keys", [](SplitterTest& t) {
             MSG escape = {t.top->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0};
             EXPECT_TRUE(t.top->PreTranslateMessage(&escape));
         }},
        {"another window takes the capture", [&other](SplitterTest&) { other.SetCapture(); }},
        {"the system cancels the mode", [](SplitterTest& t) { t.top->SendMessage(WM_CANCELMODE); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const CSize before = upper.m_sizeCurrent;
        frame->SetFocus();
        CWnd* focusBefore = CWnd::GetFocus();
        ASSERT_EQ(frame, focusBefore);
        CQZSplitterDock* splitter = RowSplitter(top);
        const CPoint from = Middle(splitter);
        ASSERT_EQ(HTBORDER, Press(top, from));
        top->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(from + CSize(0, 30)));
        c.interrupt(*this);
        EXPECT_FALSE(top->m_bTracking);
        EXPECT_EQ(focusBefore, CWnd::GetFocus()) << "the focus went back";
        // A later button-up over the dock bar belongs to no drag.
        top->SendMessage(WM_LBUTTONUP, 0, At(from + CSize(0, 30)));
        EXPECT_EQ(before, upper.m_sizeCurrent);
        EXPECT_FALSE(frame->m_nIdleFlags & CFrameWnd::idleLayout);
        if (CWnd::GetCapture() == &other)
            ::ReleaseCapture();
    }
    other.DestroyWindow();
}

TEST_F(SplitterTest, NoSplitterWakesWhileAnotherWindowHoldsTheCapture)
{
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, nullptr, "other", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr));
    other.SetCapture();
    CPoint screen = Middle(RowSplitter(top));
    top->ClientToScreen(&screen);
    EXPECT_NE(HTBORDER, top->SendMessage(WM_NCHITTEST, 0, At(screen)));
    EXPECT_EQ(-1, top->m_nActiveSplitter);
    ::ReleaseCapture();
    EXPECT_EQ(HTBORDER, top->SendMessage(WM_NCHITTEST, 0, At(screen)));
    EXPECT_EQ(qzAfxData.cursorSplitVert, ::GetCursor()) << "up and down for a horizontal strip";
    CPoint column = Middle(RowSplitter(left));
    left->ClientToScreen(&column);
    EXPECT_EQ(HTBORDER, left->SendMessage(WM_NCHITTEST, 0, At(column)));
    EXPECT_EQ(qzAfxData.cursorSplitHorz, ::GetCursor()) << "left and right for a vertical strip";
    other.DestroyWindow();
}

TEST_F(SplitterTest, StripsHaveThreeDLinesOnlyInTheClassicLook)
{
    const int savedLook = qzAfxData.xpLook;
    const DWORD savedStyle = top->m_dwBarStyleEx;
    const COLORREF face = ::GetSysColor(COLOR_3DFACE);
    const COLORREF hilite = ::GetSysColor(COLOR_3DHILIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_3DSHADOW);
    const COLORREF frameLine = ::GetSysColor(COLOR_WINDOWFRAME);
    struct Case {
        const char* why;
        int xpLook;
        DWORD dockBarStyle;
        COLORREF topLine, shadowLine, outerLine;
    };
    const Case cases[] = {
        {"classic", 0, 0, hilite, shadow, frameLine},
        {"classic without the outer line", 0, 0x100, hilite, shadow, face},
        {"XP: the face only", 1, 0, face, face, face},
        {"flat dock bar: the face only", 0, 0x80, face, face, face},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        qzAfxData.xpLook = c.xpLook;
        top->m_dwBarStyleEx = c.dockBarStyle;
        CQZSplitterDock strip(top, CRect(0, 0, 40, 6), 2, 0);
        PaperCanvas canvas(40, 6);
        strip.Draw(&canvas.m_dc);
        test_support::ExpectPixels(canvas, {
            {"the top line", 5, 0, c.topLine},
            {"the shadow line", 5, 4, c.shadowLine},
            {"the outer line", 5, 5, c.outerLine},
            {"the middle", 5, 2, face},
        });
    }
    qzAfxData.xpLook = savedLook;
    top->m_dwBarStyleEx = savedStyle;
}

TEST_F(SplitterTest, TheDockBarPaintsItsSplitters)
{
    const int savedLook = qzAfxData.xpLook;
    qzAfxData.xpLook = 0;
    CRect bar;
    top->GetClientRect(&bar);
    PaperCanvas canvas(bar.Width(), bar.Height());
    top->DoPaint(&canvas.m_dc);
    const CRect strip = RowSplitter(top)->m_rect;
    EXPECT_EQ(::GetSysColor(COLOR_3DHILIGHT), canvas.At(strip.left + 5, strip.top));
    EXPECT_EQ(::GetSysColor(COLOR_WINDOWFRAME), canvas.At(strip.left + 5, strip.bottom - 1));
    qzAfxData.xpLook = savedLook;
}
