// The toolkit dock bar's layout: rows of toolkit bars that abut, wrapping and the menu
// bar's own row through a delayed layout, the layout query, the borders each bar draws,
// docking windows sharing a row with splitters beside them, a toolbar fitted to its row,
// the bar menu and the off-screen painting.
#include "toolkit_docking_test_support.h"

#include "toolkit/foundation/QZAuxData.h"
#include "toolkit_test_resources.h"

using namespace toolkit_test;
using docking_test::kIdA;
using docking_test::kIdB;
using docking_test::kIdC;
using docking_test::kIdD;
using docking_test::RectIn;
using docking_test::Rows;
using docking_test::ScreenRectIn;

namespace {

class DockBarLayoutTest : public ToolkitDockingTest {
public:
    // The frame's client area made cx by cy; the top dock bar spans its width.
    void SetClientSize(int cx, int cy)
    {
        CRect rect(0, 0, cx, cy);
        ::AdjustWindowRectEx(&rect, frame->GetStyle(), FALSE, frame->GetExStyle());
        frame->SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(), SWP_NOMOVE | SWP_NOZORDER);
        frame->RecalcLayout();
    }
    // Runs the layout the frame was asked for at idle time.
    void RunDelayedLayout() { CQZDockContext::FlushFrameLayout(frame); }
    // Lays the top dock bar out for a length, as the frame's layout does (a nested frame
    // layout asked for meanwhile is dropped).
    CSize LayOutTop(int length)
    {
        top->m_bLayoutQuery = FALSE;
        top->m_rectLayout.SetRect(0, 0, length, 300);
        frame->m_bInRecalcLayout = TRUE;
        const CSize size = top->CalcFixedLayout(TRUE, TRUE);
        frame->m_bInRecalcLayout = FALSE;
        return size;
    }
    // Docks bar into the top dock bar's first row, right of what is there.
    void IntoFirstRow(CControlBar& bar, int x) { frame->DockControlBar(&bar, top, ScreenRectIn(top, x, 2, CSize(10, 10))); }

    ToolkitBar a;
    ToolkitBar b;
    ToolkitBar c;
};

// Records the device context its painting gets.
class PaintRecordingDockBar : public CQZDockBar {
public:
    std::vector<DWORD> paintedObjectTypes;
    void DoPaint(CDC* pDC) override { paintedObjectTypes.push_back(::GetObjectType(pDC->m_hDC)); }
};

class DerivedToolBar : public CQZToolBar {
    DECLARE_DYNAMIC(DerivedToolBar)
public:
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
};
IMPLEMENT_DYNAMIC(DerivedToolBar, CQZToolBar)

class PlainToolBar : public CQZToolBar {
public:
    void OnUpdateCmdUI(CFrameWnd*, BOOL) override {}
};

} // namespace

TEST_F(DockBarLayoutTest, EmptyDockBarTakesTheBaseSizeAndMakesNoSplitter)
{
    struct Case {
        const char* why;
        CQZDockBar* dockBar;
        BOOL horz;
        CSize size;
    };
    const Case cases[] = {
        {"top", top, TRUE, CSize(32767, 0)},
        {"bottom", bottom, TRUE, CSize(32767, 0)},
        {"left", left, FALSE, CSize(0, 32767)},
        {"right", right, FALSE, CSize(0, 32767)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        c.dockBar->m_bLayoutQuery = FALSE;
        EXPECT_EQ(c.size, c.dockBar->CalcFixedLayout(TRUE, c.horz));
        EXPECT_EQ(0, c.dockBar->m_arrSplitters.GetSize());
    }
}

TEST_F(DockBarLayoutTest, ToolkitBarsAbutAndRowsStartAPixelAboveTheEdge)
{
    AddBar(a, kIdA, "A", top);
    AddBar(b, kIdB, "B", top);
    AddBar(c, kIdC, "C", top);
    IntoFirstRow(b, 150);
    frame->ShowControlBar(&c, FALSE, FALSE);
    EXPECT_EQ("|A B|C|", Rows(*top));
    EXPECT_EQ(CRect(0, -1, 100, 23), RectIn(&a, top));
    EXPECT_EQ(CRect(100, -1, 200, 23), RectIn(&b, top));
    // The hidden bar's row takes no room.
    EXPECT_EQ(24, docking_test::ScreenRectOf(top).Height());
    EXPECT_EQ(CRect(100, -1, 200, 23), b.m_pDockContext->m_rectMRUDockPos);
}

TEST_F(DockBarLayoutTest, BarPastTheEndWrapsToANewRowAtTheNextLayout)
{
    SetClientSize(500, 300);
    for (ToolkitBar* bar : {&a, &b, &c})
        bar->horz = CSize(250, 24);
    AddBar(a, kIdA, "A", top);
    AddBar(b, kIdB, "B", top);
    AddBar(c, kIdC, "C", top);
    IntoFirstRow(b, 300);
    frame->m_nIdleFlags = 0;
    IntoFirstRow(c, 400);
    EXPECT_EQ("|A B|C|", Rows(*top)) << "a row break went in front of C";
    EXPECT_TRUE(frame->m_nIdleFlags & CFrameWnd::idleLayout);
    RunDelayedLayout();
    EXPECT_EQ(CRect(0, -1, 250, 23), RectIn(&a, top));
    EXPECT_EQ(CRect(250, -1, 500, 23), RectIn(&b, top));
    EXPECT_EQ(CRect(0, 23, 250, 47), RectIn(&c, top));
}

TEST_F(DockBarLayoutTest, TwoBarsThatDoNotFitStayInTheirRowAndTheSecondIsCutOff)
{
    SetClientSize(500, 300);
    a.horz = b.horz = CSize(300, 24);
    AddBar(a, kIdA, "A", top);
    AddBar(b, kIdB, "B", top);
    IntoFirstRow(b, 350);
    RunDelayedLayout();
    EXPECT_EQ("|A B|", Rows(*top));
    EXPECT_EQ(CRect(300, -1, 600, 23), RectIn(&b, top));
}

TEST_F(DockBarLayoutTest, MenuBarGetsARowOfItsOwnAboveItsRow)
{
    SizedBar<CQZMenuBar> menu;
    AddBar(a, kIdA, "A", top);
    AddBar(menu, kIdD, "M", top);
    AddBar(b, kIdB, "B", top);
    IntoFirstRow(b, 150);
    EXPECT_EQ("|A B|M|", Rows(*top));
    // Between A and B: the layout takes it out of the row, in front of it.
    IntoFirstRow(menu, 50);
    EXPECT_EQ("|M|A B|", Rows(*top));
    RunDelayedLayout();
    EXPECT_EQ(CRect(0, -1, 100, 23), RectIn(&menu, top));
    EXPECT_EQ(CRect(0, 23, 100, 47), RectIn(&a, top));
    EXPECT_EQ(CRect(100, 23, 200, 47), RectIn(&b, top));
}

TEST_F(DockBarLayoutTest, LayoutQueryMovesAndRecordsNothingButRebuildsTheSplitters)
{
    TestDockWindow window;
    window.m_sizeHorz = window.m_sizeCurrent = CSize(200, 50);
    AddBar(window, kIdD, "W", top);
    AddBar(a, kIdA, "A", top);
    top->DeleteSplitters();
    const CRect before = RectIn(&a, top);
    a.m_pDockContext->m_rectMRUDockPos.SetRect(1, 2, 3, 4);
    // A wider bar would be placed differently: the query does not place it.
    a.horz = CSize(150, 40);
    top->m_bLayoutQuery = TRUE;
    top->CalcFixedLayout(TRUE, TRUE);
    EXPECT_EQ(before, RectIn(&a, top));
    EXPECT_EQ(CRect(1, 2, 3, 4), a.m_pDockContext->m_rectMRUDockPos);
    EXPECT_EQ(1, top->m_arrSplitters.GetSize());
}

TEST_F(DockBarLayoutTest, BordersEveryBarDrawsFollowItsPlaceAndTheLook)
{
    struct Case {
        const char* why;
        DWORD barStyleEx;
        DWORD bordersA;
        DWORD bordersB;
    };
    const Case cases[] = {
        {"classic: every side", 0, CBRS_BORDER_ANY, CBRS_BORDER_ANY},
        {"flat look: the bars' own", 0x80, CBRS_BORDER_BOTTOM, CBRS_BORDER_BOTTOM},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        TearDown();
        SetUp();
        AddBar(a, kIdA, "A", top);
        AddBar(b, kIdB, "B", top);
        for (ToolkitBar* bar : {&a, &b})
            bar->SetBarStyle((bar->GetBarStyle() & ~CBRS_BORDER_ANY) | CBRS_BORDER_BOTTOM);
        top->m_dwBarStyleEx = c.barStyleEx;
        frame->RecalcLayout();
        EXPECT_EQ(c.bordersA, a.GetBarStyle() & CBRS_BORDER_ANY);
        EXPECT_EQ(c.bordersB, b.GetBarStyle() & CBRS_BORDER_ANY);
    }
}

TEST_F(DockBarLayoutTest, DockingWindowsOfARowDrawNoBorderTowardsTheirSplittersOrTheEdge)
{
    TestDockWindow first;
    TestDockWindow second;
    first.m_sizeHorz = first.m_sizeCurrent = CSize(100, 50);
    second.m_sizeHorz = second.m_sizeCurrent = CSize(200, 50);
    AddBar(first, kIdA, "W1", top);
    AddBar(second, kIdB, "W2", top);
    IntoFirstRow(second, 150);
    frame->RecalcLayout();
    EXPECT_EQ(0u, first.GetBarStyle() & CBRS_BORDER_ANY);
    EXPECT_EQ(0u, second.GetBarStyle() & CBRS_BORDER_ANY);
    EXPECT_FALSE(first.m_bAloneInRow);
}

TEST_F(DockBarLayoutTest, RowOfDockingWindowsSharesItsLengthDownToTheirMinimum)
{
    TestDockWindow first;
    TestDockWindow second;
    first.m_sizeHorz = first.m_sizeCurrent = CSize(100, 50);
    second.m_sizeHorz = second.m_sizeCurrent = CSize(200, 50);
    AddBar(first, kIdA, "W1", top);
    AddBar(second, kIdB, "W2", top);
    IntoFirstRow(second, 150);
    // Their docked lengths from here on, as a user would have left them.
    first.m_sizeHorz = first.m_sizeCurrent = CSize(100, 50);
    second.m_sizeHorz = second.m_sizeCurrent = CSize(200, 50);
    first.m_bExpanded = second.m_bExpanded = FALSE;
    struct Case {
        const char* why;
        int length;  // the row's length: the two windows and the 6-pixel splitter
        int first;
        int second;
    };
    const Case cases[] = {
        {"exactly the two", 306, 100, 200},
        {"30 more: 15 each", 336, 115, 215},
        {"back", 306, 100, 200},
        {"250 less: the first stops at its minimum, the second takes the rest", 56, 5, 45},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        LayOutTop(c.length);
        EXPECT_EQ(c.first, first.m_sizeHorz.cx);
        EXPECT_EQ(c.second, second.m_sizeHorz.cx);
        EXPECT_EQ(CSize(c.second, 50), docking_test::ScreenRectOf(&second).Size());
        EXPECT_EQ(0u, second.GetBarStyleEx() & 0x1000) << "no longer newly docked";
    }
}

TEST_F(DockBarLayoutTest, LoneDockingWindowTakesTheRowLessItsBars)
{
    TestDockWindow window;
    window.m_sizeHorz = window.m_sizeCurrent = CSize(100, 50);
    AddBar(window, kIdD, "W", top);
    AddBar(a, kIdA, "A", top);
    IntoFirstRow(a, 150);
    LayOutTop(500);
    // A follows the window, with no docking window after it: no splitter before it.
    EXPECT_EQ(400, window.GetCurrentWidth());
    EXPECT_TRUE(window.m_bAloneInRow);
    EXPECT_TRUE(window.IsExpanded());
    EXPECT_EQ(CRect(400, -1, 500, 23), RectIn(&a, top));
}

TEST_F(DockBarLayoutTest, RowOfDockingWindowsHasItsSplitterTowardsTheClientArea)
{
    TestDockWindow upper;
    TestDockWindow lower;
    upper.m_sizeHorz = upper.m_sizeCurrent = CSize(300, 50);
    lower.m_sizeHorz = lower.m_sizeCurrent = CSize(300, 50);
    AddBar(upper, kIdA, "U", top);
    AddBar(lower, kIdB, "L", bottom);
    frame->RecalcLayout();
    ASSERT_EQ(1, top->m_arrSplitters.GetSize());
    const CQZSplitterDock* below = top->m_arrSplitters.GetAt(0);
    CRect client;
    frame->GetClientRect(&client);
    // The row runs from y = -1 to 49; its splitter is the next 6 pixels, across the dock bar.
    EXPECT_EQ(CRect(0, 49, client.Width(), 55), below->m_rect);
    EXPECT_EQ(2, below->m_nType);
    EXPECT_EQ(1, below->m_nBarIndex);
    EXPECT_EQ(55, docking_test::ScreenRectOf(top).Height()) << "the row, 5 more for the splitter and 1";
    ASSERT_EQ(1, bottom->m_arrSplitters.GetSize());
    const CQZSplitterDock* above = bottom->m_arrSplitters.GetAt(0);
    EXPECT_EQ(CRect(0, -1, client.Width(), 5), above->m_rect);
    EXPECT_EQ(CRect(0, 5, client.Width(), 55), RectIn(&lower, bottom)) << "alone in its row: the whole row";
    EXPECT_EQ(56, docking_test::ScreenRectOf(bottom).Height());
}

// Columns of docking windows on a side: each column's splitter lies towards the client
// area, and a splitter that begins a column takes 7 pixels of the dock bar, one more than
// its width.
TEST_F(DockBarLayoutTest, ColumnsOfDockingWindowsOnASideHaveTheirSplittersTowardsTheClientArea)
{
    struct Case {
        const char* why;
        bool onTheLeft;
        CRect outer;      // the column by the frame's edge
        CRect inner;      // the column by the client area
        CRect splitters[2];
        int width;        // the dock bar's
    };
    // A column runs the dock bar's length, from a pixel above the client area; its
    // splitter reaches the client area's bottom.
    CRect client;
    frame->GetClientRect(&client);
    const int bottom = client.Height() - 1;
    const Case cases[] = {
        {"left: a splitter right of each column", true, CRect(0, -1, 80, bottom), CRect(87, -1, 167, bottom),
         {CRect(80, -1, 86, bottom + 1), CRect(167, -1, 173, bottom + 1)}, 171},
        {"right: a splitter left of each column", false, CRect(6, -1, 86, bottom), CRect(93, -1, 173, bottom),
         {CRect(-1, -1, 5, bottom + 1), CRect(86, -1, 92, bottom + 1)}, 173},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        CQZDockBar* side = c.onTheLeft ? left : right;
        TestDockWindow outer;
        TestDockWindow inner;
        outer.m_sizeVert = outer.m_sizeCurrent = CSize(80, 200);
        inner.m_sizeVert = inner.m_sizeCurrent = CSize(80, 200);
        AddBar(outer, kIdA, "O", side);
        AddBar(inner, kIdB, "I", side);
        frame->RecalcLayout();
        ASSERT_EQ("|O|I|", Rows(*side));
        EXPECT_EQ(c.outer, RectIn(&outer, side));
        EXPECT_EQ(c.inner, RectIn(&inner, side));
        ASSERT_EQ(2, side->m_arrSplitters.GetSize());
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(c.splitters[i], side->m_arrSplitters.GetAt(i)->m_rect) << "splitter " << i;
            EXPECT_EQ(1, side->m_arrSplitters.GetAt(i)->m_nType);
        }
        EXPECT_EQ(c.width, docking_test::ScreenRectOf(side).Width());
        outer.DestroyWindow();
        inner.DestroyWindow();
        frame->RecalcLayout();
    }
}

TEST_F(DockBarLayoutTest, OnlyAToolbarOfTheToolkitsOwnClassIsFittedToItsRow)
{
    PlainToolBar plain;
    DerivedToolBar derived;
    for (CQZToolBar* toolBar : {static_cast<CQZToolBar*>(&plain), static_cast<CQZToolBar*>(&derived)}) {
        SCOPED_TRACE(toolBar == &plain ? "the toolkit's class" : "a derived class");
        TearDown();
        SetUp();
        ASSERT_TRUE(toolBar->CreateEx(frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(0, 0, 0, 0),
                                      AFX_IDW_TOOLBAR));
        ASSERT_TRUE(toolBar->LoadToolBar(IDR_TEST_TOOLBAR));
        toolBar->EnableDocking(CBRS_ALIGN_ANY);
        frame->DockControlBar(toolBar, top);
        const int fullLength = toolBar->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK).cx;
        LayOutTop(fullLength - 20);
        EXPECT_EQ(toolBar == &plain, toolBar->HasHiddenButtons() != FALSE);
        // Room again: the hidden buttons come back.
        LayOutTop(fullLength + 100);
        EXPECT_FALSE(toolBar->HasHiddenButtons());
        toolBar->DestroyWindow();
    }
}

TEST_F(DockBarLayoutTest, RightClickShowsTheMenuOfTheFramesBars)
{
    TestToolBar toolBar;
    ASSERT_TRUE(toolBar.CreateBar(frame, CBRS_TOP, AFX_IDW_TOOLBAR));
    CStatusBar statusBar;
    ASSERT_TRUE(statusBar.Create(frame));
    statusBar.ShowWindow(SW_HIDE);
    MenuTrackRecorder tracker;
    top->SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(3, 3));
    ASSERT_EQ(1, MenuTrackRecorder::menu().tracked);
    EXPECT_EQ((std::vector<std::string>{"Toolbar [x]", "Status Bar"}), MenuTrackRecorder::menu().items);
    EXPECT_EQ(frame->m_hWnd, MenuTrackRecorder::menu().owner);
    // With the dock bar's menu switched off nothing shows.
    qzAfxData.dockBarMenuOnRightClick = 0;
    top->SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(3, 3));
    qzAfxData.dockBarMenuOnRightClick = 1;
    EXPECT_EQ(1, MenuTrackRecorder::menu().tracked);
    statusBar.DestroyWindow();
}

TEST_F(DockBarLayoutTest, RightClickListsBarsOfOneKindNewestFirstWhileABarsOwnClickKeepsListOrder)
{
    TestToolBar older;
    ASSERT_TRUE(older.CreateBar(frame, CBRS_TOP, AFX_IDW_TOOLBAR, "Standard"));
    TestToolBar newer;
    ASSERT_TRUE(newer.CreateBar(frame, CBRS_TOP, AFX_IDW_TOOLBAR + 1, "Drawing"));
    MenuTrackRecorder tracker;
    top->SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(3, 3));
    ASSERT_EQ(1, MenuTrackRecorder::menu().tracked);
    EXPECT_EQ((std::vector<std::string>{"Drawing [x]", "Standard [x]"}), MenuTrackRecorder::menu().items);
    EXPECT_EQ((std::vector<UINT>{AFX_IDW_TOOLBAR + 1, AFX_IDW_TOOLBAR}), MenuTrackRecorder::menu().ids);
    older.SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(3, 3));
    ASSERT_EQ(2, MenuTrackRecorder::menu().tracked);
    EXPECT_EQ((std::vector<std::string>{"Standard [x]", "Drawing [x]"}), MenuTrackRecorder::menu().items);
}

TEST(ToolkitDockBarPainting, PaintsOffScreenOnlyWhenItHoldsAVisibleBar)
{
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "Painting", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(100, 100, 500, 400)));
    auto* dockBar = new PaintRecordingDockBar;
    dockBar->m_bAutoDelete = TRUE;
    ASSERT_TRUE(dockBar->Create(frame, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP, AFX_IDW_DOCKBAR_TOP));
    frame->RecalcLayout();
    HDC screen = ::GetDC(nullptr);
    EXPECT_FALSE(dockBar->SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(screen)));
    ::ReleaseDC(nullptr, screen);
    dockBar->SetWindowPos(nullptr, 0, 0, 300, 30, SWP_NOMOVE | SWP_NOZORDER);
    dockBar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(dockBar->paintedObjectTypes.empty());
    ToolkitBar bar;
    ASSERT_TRUE(bar.CreateBar(frame, CBRS_TOP, kIdA, "A"));
    dockBar->DockControlBar(&bar);
    dockBar->SetWindowPos(nullptr, 0, 0, 300, 30, SWP_NOMOVE | SWP_NOZORDER);
    dockBar->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    ASSERT_EQ(1u, dockBar->paintedObjectTypes.size());
    EXPECT_EQ(static_cast<DWORD>(OBJ_MEMDC), dockBar->paintedObjectTypes[0]);
    frame->DestroyWindow();
    PumpPending();
}
