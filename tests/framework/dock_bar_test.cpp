// The framework's dock bar: where a bar lands for a given rectangle, moving bars within and
// across rows, placeholders, counts, the rows of a floating frame and the frame's end.
#include "docking_test_support.h"

#include <functional>
#include <new>

using namespace docking_test;

namespace {


class DockBarTest : public DockingFrameTest {
public:
    void SetUp() override
    {
        DockingFrameTest::SetUp();
        AddBar(a, kIdA, "A", top);
        AddBar(b, kIdB, "B", top);
        MakeBar(c, kIdC, "C");
    }
    // A point in row n (24 pixels each) of the top dock bar, x from its left.
    CRect InTopRow(int row, int x) { return ScreenRectIn(top, x, row * 24 + 2, a.horz); }

    FixedBar a;
    FixedBar b;
    FixedBar c;
};

} // namespace

TEST_F(DockBarTest, BarsLandInTheRowAndPlaceTheirRectangleNames)
{
    struct Case {
        const char* why;
        std::function<void(DockBarTest&)> act;
        const char* topRows;
    };
    const Case cases[] = {
        {"no rectangle: a row of its own at the end", [](DockBarTest& t) { t.top->DockControlBar(&t.c); }, "|A|B|C|"},
        {"right of A in A's row", [](DockBarTest& t) { t.top->DockControlBar(&t.c, t.InTopRow(0, 150)); },
         "|A C|B|"},
        {"left of A's left edge: first in the row", [](DockBarTest& t) { t.top->DockControlBar(&t.c, t.InTopRow(0, -20)); },
         "|C A|B|"},
        {"above the first row: a new first row",
         [](DockBarTest& t) { t.top->DockControlBar(&t.c, ScreenRectIn(t.top, 0, -40, t.c.horz)); }, "|C|A|B|"},
        {"below the last row: a new last row",
         [](DockBarTest& t) { t.top->DockControlBar(&t.c, ScreenRectIn(t.top, 0, 80, t.c.horz)); }, "|A|B|C|"},
        {"B into A's row leaves no empty row",
         [](DockBarTest& t) { t.top->DockControlBar(&t.b, t.InTopRow(0, 150)); }, "|A B|"},
        {"moved within its row",
         [](DockBarTest& t) {
             t.top->DockControlBar(&t.c, t.InTopRow(0, 150));
             t.frame->RecalcLayout();
             t.top->DockControlBar(&t.a, t.InTopRow(0, 250));
         },
         "|C A|B|"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        TearDown();
        SetUp();
        c.act(*this);
        EXPECT_EQ(c.topRows, Rows(*top));
        ExpectSoundRows(*top);
    }
}

TEST_F(DockBarTest, BarLeavingForAnotherSideLeavesItsPlaceholderAndFindsItAgain)
{
    frame->DockControlBar(&a, left);
    EXPECT_EQ("|~" + std::to_string(kIdA & 0xFFFF) + "|B|", Rows(*top));
    EXPECT_EQ("|A|", Rows(*left));
    EXPECT_EQ(left, a.m_pDockBar);
    EXPECT_EQ(CBRS_ALIGN_LEFT, a.GetBarStyle() & CBRS_ALIGN_ANY);
    ExpectSoundRows(*top);
    ExpectSoundRows(*left);
    // Back on top where it was: its row, which took no room while it was away, is its place
    // again, and the placeholder goes; on the left nothing stays behind but its own.
    frame->DockControlBar(&a, top, ScreenRectIn(top, 150, 2, a.horz));
    EXPECT_EQ("|A|B|", Rows(*top));
    EXPECT_EQ("|~" + std::to_string(kIdA & 0xFFFF) + "|", Rows(*left));
    EXPECT_EQ(CBRS_ALIGN_TOP, a.GetBarStyle() & CBRS_ALIGN_ANY);
    // Without a place it takes its placeholder's.
    frame->DockControlBar(&b, left);
    frame->DockControlBar(&b, top);
    EXPECT_EQ("|A|B|", Rows(*top));
}

TEST_F(DockBarTest, CountsLeaveOutPlaceholdersAndHiddenBars)
{
    frame->DockControlBar(&c, top);
    frame->DockControlBar(&a, left);
    frame->ShowControlBar(&c, FALSE, FALSE);
    EXPECT_EQ(2, top->GetDockedCount());
    EXPECT_EQ(1, top->GetDockedVisibleCount());
    EXPECT_EQ(nullptr, top->GetDockedControlBar(1)) << "entry 1 is A's placeholder";
    EXPECT_EQ(nullptr, top->GetDockedControlBar(99));
    EXPECT_EQ(-1, top->FindBar(&a));
    const int posB = top->FindBar(&b);
    ASSERT_GT(posB, 0);
    EXPECT_EQ(&b, top->GetDockedControlBar(posB));
    EXPECT_EQ(-1, top->FindBar(&b, posB));
    EXPECT_FALSE(top->RemoveControlBar(&a));
}

TEST_F(DockBarTest, RowsLayOutAwayFromTheFrameEdge)
{
    frame->DockControlBar(&c, top, InTopRow(0, 150));
    frame->RecalcLayout();
    EXPECT_EQ(CRect(0, 0, 100, 24), RectIn(&a, top));
    EXPECT_EQ(CRect(100, 0, 200, 24), RectIn(&c, top));
    EXPECT_EQ(CRect(0, 24, 100, 48), RectIn(&b, top));
    EXPECT_EQ(48, ScreenRectOf(top).Height());
    // The layout keeps each bar's docked place for its drag context.
    EXPECT_EQ(CRect(100, 0, 200, 24), c.m_pDockContext->m_rectMRUDockPos);
}

TEST_F(DockBarTest, LayoutQueryMovesNothing)
{
    frame->DockControlBar(&c, top, InTopRow(0, 150));
    const CRect before = ScreenRectOf(&c);
    c.m_pDockContext->m_rectMRUDockPos.SetRectEmpty();
    top->m_bLayoutQuery = TRUE;
    top->m_arrBars.RemoveAt(top->FindBar(&a));
    top->CalcFixedLayout(TRUE, TRUE);
    EXPECT_EQ(before, ScreenRectOf(&c));
    EXPECT_TRUE(c.m_pDockContext->m_rectMRUDockPos.IsRectEmpty());
    top->m_arrBars.InsertAt(1, &a);
}

TEST_F(DockBarTest, BarAtAnAddressWhoseLowHalfIsSmallIsNoPlaceholder)
{
    // Entries are told from placeholders by their whole address: above 4 GB an address
    // whose low 32 bits are small is still a bar.
    void* block = nullptr;
    for (uintptr_t base = 0x5000000000; base < 0x7000000000 && !block; base += 0x100000000)
        block = VirtualAlloc(reinterpret_cast<void*>(base), 0x10000, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (!block)
        GTEST_SKIP() << "no room above 4 GB";
    auto* high = new (static_cast<char*>(block) + 0x40) FixedBar;
    ASSERT_LT(reinterpret_cast<uintptr_t>(high) & 0xFFFFFFFF, 0x10000u);
    ASSERT_TRUE(high->CreateBar(frame, 0xE830, "H"));
    frame->DockControlBar(high, top, InTopRow(0, 150));
    EXPECT_FALSE(CDockBar::IsPlaceHolder(high));
    EXPECT_EQ("|A H|B|", Rows(*top));
    EXPECT_EQ(3, top->GetDockedCount());
    high->~FixedBar();
    VirtualFree(block, 0, MEM_RELEASE);
    EXPECT_EQ("|A|B|", Rows(*top)) << "a bar that goes leaves no entry";
}

TEST_F(DockBarTest, FloatingDockBarLaysOutItsRowsAndSizesItsFrame)
{
    FlowBar flow;
    ASSERT_TRUE(flow.CreateBar(frame, 0xE831, "Flow", CBRS_TOP | CBRS_SIZE_DYNAMIC));
    flow.EnableDocking(CBRS_ALIGN_ANY | CBRS_FLOAT_MULTI);
    frame->FloatControlBar(&flow, CPoint(300, 300), CBRS_ALIGN_TOP | CBRS_FLOAT_MULTI);
    CDockBar* floating = flow.m_pDockBar;
    ASSERT_NE(nullptr, floating);
    ASSERT_TRUE(floating->m_bFloating);
    // A fixed bar joins the flow bar's row.
    floating->DockControlBar(&c, ScreenRectIn(floating, 500, 2, c.horz));
    auto* miniFrame = DYNAMIC_DOWNCAST(CMiniDockFrameWnd, floating->GetParent());
    ASSERT_NE(nullptr, miniFrame);
    miniFrame->RecalcLayout();
    EXPECT_EQ("|Flow C|", Rows(*floating));
    // The flow bar at its most recent width (120 wide, 20 high), then the fixed bar.
    EXPECT_EQ(CRect(0, 0, 120, 20), RectIn(&flow, floating));
    EXPECT_EQ(CRect(120, 0, 220, 24), RectIn(&c, floating));
    CRect client;
    miniFrame->GetClientRect(&client);
    EXPECT_EQ(CSize(220, 24), client.Size());
    EXPECT_EQ(CSize(220, 24), CRect(ScreenRectOf(floating)).Size());
    EXPECT_TRUE(flow.GetBarStyle() & CBRS_FLOATING);
    EXPECT_TRUE(flow.IsFloating());
}

TEST_F(DockBarTest, FloatingFrameHidesWithItsLastVisibleBarAndGoesWithItsLastBar)
{
    frame->FloatControlBar(&a, CPoint(300, 300));
    CDockBar* floating = a.m_pDockBar;
    ASSERT_TRUE(floating && floating->m_bFloating);
    const HWND miniFrame = ::GetParent(floating->m_hWnd);
    EXPECT_TRUE(::IsWindowVisible(miniFrame));
    EXPECT_EQ("|~" + std::to_string(kIdA & 0xFFFF) + "|B|", Rows(*top));
    frame->ShowControlBar(&a, FALSE, FALSE);
    EXPECT_FALSE(::IsWindowVisible(miniFrame));
    EXPECT_TRUE(::IsWindow(miniFrame));
    frame->ShowControlBar(&a, TRUE, FALSE);
    EXPECT_TRUE(::IsWindowVisible(miniFrame));
    frame->DockControlBar(&a, top);
    EXPECT_FALSE(::IsWindow(miniFrame));
    EXPECT_TRUE(::IsWindow(a.m_hWnd)) << "the bar left the frame before it went";
    EXPECT_EQ(top, a.m_pDockBar);
    ExpectSoundRows(*top);
}
