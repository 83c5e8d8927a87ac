// The menu bar's layout on entries of known widths (40, 50, 60, 30 and 45 pixels): where
// rows and columns wrap for lengths around each wrap point, docked at the top, docked at
// the left and floating; the arrangement of rows and columns; the width a floating bar
// keeps; the size a docked bar reports; and the floating bar's width search, which ends.
#include "menu_test_support.h"

#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZMessages.h"

namespace toolkit_test {
namespace {

const std::vector<int> kWidths = {40, 50, 60, 30, 45};

class MenuBarLayoutTest : public MenuFrameTest {
protected:
    void SetUp() override
    {
        MenuFrameTest::SetUp();
        savedStyle = Bar().m_dwStyle;
        // The frame's bar has no margins; these tell the leading ones apart from none.
        Bar().SetBorders(6, 3, 6, 3);
        SetWidths(kWidths);
        rowHeight = qzAfxData.menuHeight;
    }
    void TearDown() override
    {
        Bar().m_dwStyle = savedStyle;
        Bar().SetBorders(0, 0, 0, 0);
        MenuFrameTest::TearDown();
    }
    CQZMenuBar& Bar() { return frame->m_wndMenuBar; }
    CQZSubMenuBarItem* Entry(int i) { return static_cast<CQZSubMenuBarItem*>(Bar().m_arrItems[i + 1]); }
    void SetWidths(const std::vector<int>& widths)
    {
        for (size_t i = 0; i < widths.size(); ++i)
            Entry(static_cast<int>(i))->m_size = CSize(widths[i], qzAfxData.menuHeight);
    }
    // Which entries end a row (the last entry's flag has no effect and is left out).
    std::vector<int> Wraps(int count)
    {
        std::vector<int> wraps;
        for (int i = 0; i + 1 < count; ++i) {
            if (Entry(i)->m_bWrap)
                wraps.push_back(i);
        }
        return wraps;
    }

    DWORD savedStyle = 0;
    int rowHeight = 0;
};

TEST_F(MenuBarLayoutTest, RowsWrapWhereTheNextEntryNoLongerFits)
{
    struct Case {
        const char* why;
        int width;
        int rows;
        std::vector<int> wraps;
    };
    const Case cases[] = {
        {"exactly all five", 225, 1, {}},
        {"one pixel short: the last entry starts a row", 224, 2, {3}},
        {"the first three exactly", 150, 2, {2}},
        {"one pixel less: the third moves down", 149, 2, {1}},
        {"room for two only when they start a row", 89, 4, {0, 1, 2}},
        {"no room at all: one entry per row", 0, 5, {0, 1, 2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.rows, Bar().WrapItems(c.width));
        EXPECT_EQ(c.wraps, Wraps(5));
    }
}

TEST_F(MenuBarLayoutTest, SizeForALengthDockedAtTheTopAtTheLeftAndFloating)
{
    const int h = rowHeight;
    struct Case {
        const char* why;
        DWORD style;
        DWORD mode;
        int length;
        CSize size;
    };
    // Borders: 6 left and right, 3 at the top and bottom, turned with a vertical bar.
    const Case cases[] = {
        {"top, all fit", CBRS_ALIGN_TOP, LM_HORZ, 225, CSize(225 + 12, h + 6)},
        {"top, the last entry wraps to the second row's start", CBRS_ALIGN_TOP, LM_HORZ, 224,
         CSize(180 + 12, 2 * h + 6)},
        {"top, wrapped after the third", CBRS_ALIGN_TOP, LM_HORZ, 150, CSize(150 + 12, 2 * h + 6)},
        {"top, the later row is the wider", CBRS_ALIGN_TOP, LM_HORZ, 149, CSize(6 + 135 + 12, 2 * h + 6)},
        {"left, one column", CBRS_ALIGN_LEFT, LM_LENGTHY, 225, CSize(h + 6, 225 + 12)},
        {"left, two columns", CBRS_ALIGN_LEFT, LM_LENGTHY, 150, CSize(2 * h + 6, 150 + 12)},
        {"left, four columns", CBRS_ALIGN_LEFT, LM_LENGTHY, 89, CSize(4 * h + 6, 6 + 75 + 12)},
        {"floating, wide", CBRS_FLOATING, LM_HORZ, 288, CSize(225 + 12, h + 6)},
        {"floating, just short", CBRS_FLOATING, LM_HORZ, 212, CSize(6 + 135 + 12, 2 * h + 6)},
        {"floating, narrow", CBRS_FLOATING, LM_HORZ, 88, CSize(6 + 90 + 12, 3 * h + 6)},
        {"floating, no room: the narrowest arrangement", CBRS_FLOATING, LM_HORZ, 0, CSize(6 + 60 + 12, 5 * h + 6)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        Bar().m_dwStyle = c.style | CBRS_SIZE_DYNAMIC;
        EXPECT_EQ(c.size, Bar().CalcDynamicLayout(c.length, c.mode));
    }
}

TEST_F(MenuBarLayoutTest, RowsStartAtTheInsideEdgeAndColumnsRunFromTheRight)
{
    const int h = rowHeight;
    Bar().m_dwStyle = CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC;
    Bar().WrapItems(150);
    Bar().LayoutItems(TRUE);
    const std::vector<CPoint> rows = {CPoint(0, 0), CPoint(40, 0), CPoint(90, 0), CPoint(6, h), CPoint(36, h)};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(rows[static_cast<size_t>(i)], Entry(i)->m_ptOrigin) << i;
    EXPECT_EQ(CSize(150, 2 * h), Bar().CalcItemsExtent(TRUE));

    Bar().m_dwStyle = CBRS_ALIGN_LEFT | CBRS_SIZE_DYNAMIC;
    Bar().WrapItems(150);
    Bar().LayoutItems(FALSE);
    // The first column touches the right edge of the arranged area, the second lies a row to its left.
    const std::vector<CPoint> columns = {CPoint(h, 0), CPoint(h, 40), CPoint(h, 90), CPoint(0, 6), CPoint(0, 36)};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(columns[static_cast<size_t>(i)], Entry(i)->m_ptOrigin) << i;
    CRect first;
    Bar().GetItemRect(&first, Entry(0));
    EXPECT_EQ(CRect(h, 0, 2 * h, 40), first) << "turned by a quarter";
    EXPECT_EQ(CSize(2 * h, 150), Bar().CalcItemsExtent(FALSE));
}

TEST_F(MenuBarLayoutTest, FloatingBarKeepsTheWidthOfItsLastCommittedLayout)
{
    Bar().m_dwStyle = CBRS_FLOATING | CBRS_SIZE_DYNAMIC;
    const CSize committed = Bar().CalcDynamicLayout(212, LM_HORZ | LM_COMMIT);
    EXPECT_EQ(committed.cx - 12, Bar().m_nMRUWidth);
    SetWidths(kWidths);
    Bar().WrapItems(32767);
    EXPECT_EQ(committed, Bar().CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH));
    EXPECT_EQ(committed, Bar().CalcDynamicLayout(-1, LM_HORZ)) << "asked without a length";
}

TEST_F(MenuBarLayoutTest, DockedBarReportsTheFramesWidthAndItsRows)
{
    Bar().m_dwStyle = savedStyle;
    Bar().SetBorders(0, 0, 0, 0);
    CRect client;
    frame->GetClientRect(&client);
    CRect inside(0, 0, 0, 0);
    Bar().CalcInsideRect(inside, TRUE);
    const CSize size = Bar().CalcFixedLayout(FALSE, TRUE);
    EXPECT_EQ(client.Width(), size.cx) << "whatever the entries need";
    EXPECT_EQ(rowHeight + inside.top - inside.bottom, size.cy);
    const CSize stretched = Bar().CalcFixedLayout(TRUE, TRUE);
    EXPECT_EQ(32767, stretched.cx);
}

TEST_F(MenuBarLayoutTest, RebarAndDockingDragAskTheBarAboutItself)
{
    EXPECT_TRUE(Bar().SendMessage(WM_QZ_CANTOOLKITDRAG)) << "the toolkit's own drag loop moves the bar";

    // A drag of the docked bar starts with half its width and half a small caption's height.
    SIZE floatSize = {300, 40};
    EXPECT_TRUE(Bar().SendMessage(WM_QZ_GETFLOATSIZE, 0, reinterpret_cast<LPARAM>(&floatSize)));
    CRect frameRect(0, 0, 0, 0);
    CMiniFrameWnd::CalcBorders(&frameRect, WS_CAPTION | WS_THICKFRAME, 0);
    EXPECT_EQ(150, floatSize.cx);
    EXPECT_EQ(-frameRect.top / 2, floatSize.cy);

    // A rebar band's width becomes the room the bar lays itself out in.
    NMREBARCHILDSIZE childSize = {};
    childSize.rcChild = {10, 0, 10 + 149, 20};
    REBARBANDINFOA band = {};
    QZ_BANDCHILDSIZE message = {&band, &childSize};
    Bar().m_dwStyle = CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC;
    Bar().SendMessage(WM_QZ_BANDCHILDSIZE, TRUE, reinterpret_cast<LPARAM>(&message));
    EXPECT_EQ(149, Bar().m_nFixedLength);
    EXPECT_EQ(149, Bar().GetAvailableLength(TRUE));
    Bar().m_nFixedLength = -1;
}

// With a leading border a wrapped arrangement can be wider than the single row, and the
// halving search for a floating bar's width need not end: it is run on a thread that the
// test can give up on.
TEST_F(MenuBarLayoutTest, FloatingWidthSearchEndsAlsoWithALeadingBorder)
{
    HMENU menu = CreateMenu();
    for (const char* text : {"&A", "&B", "&C", "&D"})
        AppendMenuA(menu, MF_STRING, 1, text);
    Bar().BuildMenuItems(menu, nullptr);
    SetWidths({75, 5, 54, 70});
    Bar().m_dwStyle = CBRS_FLOATING | CBRS_SIZE_DYNAMIC;
    const int savedBorder = Bar().m_cxLeftBorder;
    Bar().m_cxLeftBorder = 52;
    struct Job {
        CQZMenuBar* bar;
    } job{&Bar()};
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](LPVOID param) -> DWORD {
            static_cast<Job*>(param)->bar->WrapToLength(66, TRUE);
            return 0;
        },
        &job, 0, nullptr);
    const DWORD waited = WaitForSingleObject(thread, 5000);
    if (waited == WAIT_TIMEOUT)
        TerminateThread(thread, 1);
    CloseHandle(thread);
    ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), waited) << "the search did not end";
    Bar().LayoutItems(TRUE);
    // Nothing fits 66 pixels (the first entry alone is 75): the narrowest arrangement.
    EXPECT_EQ(52 + 70, Bar().CalcItemsExtent(TRUE).cx);
    Bar().m_cxLeftBorder = savedBorder;
    Bar().BuildMenuItems(Bar().m_hDefaultMenu, nullptr);
    DestroyMenu(menu);
}

} // namespace
} // namespace toolkit_test
