// The toolkit's header controls inside a toolkit list (and a list view): fixed columns
// and the minimum width, fitting to the header's width, the cursor over fixed dividers,
// the order array that never overruns its array, the sort menu and the alignment.
#include "toolkit/controls/QZHeaderCtrl.h"

#include "framework/CreateContext.h"
#include "framework/ListView.h"
#include "list_test_support.h"
#include "menu_test_support.h"
#include "toolkit/res/ToolkitResources.h"

#include <vector>

using toolkit_test::MenuScript;
using toolkit_test::ToolkitListTest;

namespace {

int HeaderWidth(CHeaderCtrl* header, int item)
{
    HDITEMA hdi = {};
    hdi.mask = HDI_WIDTH;
    header->GetItem(item, &hdi);
    return hdi.cxy;
}

} // namespace

TEST_F(ToolkitListTest, FitToWidthSharesWhatTheFixedColumnsLeave)
{
    list.SetColumnWidth(0, 50);
    list.SetColumnWidth(1, 50);
    header->AddFixedColumn(0);
    header->AddFixedColumn(1);
    CRect rect;
    header->GetWindowRect(&rect);
    header->SetWindowPos(nullptr, 0, 0, 300, rect.Height(), SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(60, list.GetColumnWidth(2)) << "without fit-to-width nothing is shared";
    header->SetFitToWidth(TRUE);
    header->SetWindowPos(nullptr, 0, 0, 420, rect.Height(), SWP_NOMOVE | SWP_NOZORDER);
    const int share = (420 - GetSystemMetrics(SM_CXVSCROLL) - 100) / 2;
    EXPECT_EQ(share, list.GetColumnWidth(2));
    EXPECT_EQ(share, list.GetColumnWidth(3));
    EXPECT_EQ(50, list.GetColumnWidth(0));
    EXPECT_EQ(50, list.GetColumnWidth(1));
}

TEST_F(ToolkitListTest, WithEveryColumnFixedNothingIsShared)
{
    for (UINT column = 0; column < 4; ++column)
        header->AddFixedColumn(column);
    header->DistributeWidth(400);
    header->FitColumns();
    const int kWidths[] = {80, 90, 60, 70};
    for (int column = 0; column < 4; ++column)
        EXPECT_EQ(kWidths[column], list.GetColumnWidth(column)) << column;
}

TEST_F(ToolkitListTest, FixedColumnsAndTheMinimumWidthRefuseChanges)
{
    header->AddFixedColumn(1);
    header->SetMinColumnWidth(30);
    struct Case {
        const char* why;
        int column;
        int width;
        int expected;
    };
    const Case kCases[] = {
        {"a fixed column keeps its width", 1, 150, 90},
        {"below the minimum is refused", 2, 10, 60},
        {"at the minimum is taken", 2, 30, 30},
        {"a free column takes a new width", 3, 110, 110},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        HDITEMA hdi = {};
        hdi.mask = HDI_WIDTH;
        hdi.cxy = c.width;
        header->SendMessage(HDM_SETITEMA, static_cast<WPARAM>(c.column), reinterpret_cast<LPARAM>(&hdi));
        EXPECT_EQ(c.expected, HeaderWidth(header, c.column));
    }
    // The fixed column's text and format still change.
    HDITEMA hdi = {};
    char text[] = "Renamed";
    hdi.mask = HDI_TEXT;
    hdi.pszText = text;
    EXPECT_TRUE(header->SendMessage(HDM_SETITEMA, 1, reinterpret_cast<LPARAM>(&hdi)));
}

TEST_F(ToolkitListTest, DraggingAFixedDividerChangesNothing)
{
    header->AddFixedColumn(0);
    CRect first;
    header->GetItemRect(0, &first);
    CRect second;
    header->GetItemRect(1, &second);
    struct Case {
        const char* why;
        int divider;
        int column;
        int width;
        bool moves;
    };
    const Case kCases[] = {{"the fixed column's divider", first.right, 0, first.Width(), false},
                           {"a free column's divider", second.right, 1, second.Width(), true}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        const int y = first.CenterPoint().y;
        header->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.divider - 1, y));
        header->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(c.divider + 30, y));
        header->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(c.divider + 30, y));
        PumpPending();
        EXPECT_EQ(c.moves, HeaderWidth(header, c.column) != c.width);
    }
}

TEST_F(ToolkitListTest, TheResizeCursorStaysOffFixedDividers)
{
    header->AddFixedColumn(1);
    CRect column1;
    header->GetItemRect(1, &column1);
    CRect column2;
    header->GetItemRect(2, &column2);
    CRect column0;
    header->GetItemRect(0, &column0);
    const int y = column1.CenterPoint().y;
    struct Case {
        const char* why;
        BOOL rightToLeft;
        int x;
        bool keepsCursor;
    };
    const Case kCases[] = {
        {"over the fixed column", FALSE, column1.CenterPoint().x, true},
        {"left half of the column after it", FALSE, column2.left + column2.Width() / 4, true},
        {"right half of the column after it", FALSE, column2.right - column2.Width() / 4, false},
        {"right to left: right half of the column before it", TRUE, column0.right - column0.Width() / 4, true},
        {"right to left: left half of the column before it", TRUE, column0.left + column0.Width() / 4, false},
        {"right to left: right half of the column after it", TRUE, column2.right - column2.Width() / 4, false},
    };
    HCURSOR sentinel = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS));
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        header->SetRightToLeft(c.rightToLeft);
        CPoint screen(c.x, y);
        header->ClientToScreen(&screen);
        SetCursorPos(screen.x, screen.y);
        SetCursor(sentinel);
        header->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(header->m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(c.keepsCursor, GetCursor() == sentinel);
    }
}

TEST_F(ToolkitListTest, TheOrderArrayNeverOverrunsItsArray)
{
    int kReordered[] = {3, 0, 1, 2};
    header->SendMessage(HDM_SETORDERARRAY, 4, reinterpret_cast<LPARAM>(kReordered));
    int order[6] = {-7, -7, -7, -7, -7, -7};
    EXPECT_FALSE(header->GetOrderArray(order, -1, 2)) << "four items do not fit in two";
    EXPECT_FALSE(header->GetOrderArray(order, 2, 2)) << "the control writes all four whatever it is told";
    for (int value : order)
        EXPECT_EQ(-7, value);
    ASSERT_TRUE(header->GetOrderArray(order, -1, 4));
    EXPECT_EQ((std::vector<int>{3, 0, 1, 2, -7, -7}), std::vector<int>(order, order + 6));

    int plain[4] = {};
    EXPECT_FALSE(static_cast<CHeaderCtrl*>(header)->GetOrderArray(plain, 3));
    EXPECT_TRUE(static_cast<CHeaderCtrl*>(header)->GetOrderArray(plain, 4));
    EXPECT_EQ(3, plain[0]);
}

TEST_F(ToolkitListTest, HitTestFindsTheItemUnderAPoint)
{
    CRect rect;
    header->GetItemRect(2, &rect);
    HDHITTESTINFO hit = {};
    hit.pt = rect.CenterPoint();
    EXPECT_EQ(2, header->HitTest(&hit));
    EXPECT_EQ(2, header->ItemFromPoint(rect.CenterPoint()));
    EXPECT_EQ(-1, header->ItemFromPoint(CPoint(rect.right + 200, rect.CenterPoint().y))) << "right of the last item";
}

namespace {

struct MenuStates {
    bool ascending = false;
    bool descending = false;
    int alignChecked = -1;
    bool opened = false;
};

// Right-clicks the item, reads the check marks of the open menu, then presses the keys.
MenuStates RightClickMenu(CQZFlatHeaderCtrl* header, CPoint point, std::vector<UINT> keys)
{
    MenuStates states;
    std::vector<MenuScript::Step> steps = {
        MenuScript::WaitUntil([] { return toolkit_test::NewestMenuWindow() != nullptr; }),
        [&states] {
            HMENU menu = toolkit_test::MenuOfWindow(toolkit_test::NewestMenuWindow());
            states.opened = menu != nullptr;
            states.ascending = (GetMenuState(menu, ID_QZ_HEADER_SORT_ASCENDING, MF_BYCOMMAND) & MF_CHECKED) != 0;
            states.descending = (GetMenuState(menu, ID_QZ_HEADER_SORT_DESCENDING, MF_BYCOMMAND) & MF_CHECKED) != 0;
            const UINT kAlign[] = {ID_QZ_HEADER_ALIGN_LEFT, ID_QZ_HEADER_ALIGN_CENTER, ID_QZ_HEADER_ALIGN_RIGHT};
            for (int i = 0; i < 3; ++i) {
                if (GetMenuState(menu, kAlign[i], MF_BYCOMMAND) & MF_CHECKED)
                    states.alignChecked = i;
            }
        },
    };
    for (UINT key : keys)
        steps.push_back([key] { toolkit_test::PostKey(key); });
    MenuScript script(std::move(steps));
    header->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(point.x, point.y));
    PumpPending();
    return states;
}

} // namespace

TEST_F(ToolkitListTest, TheSortMenuChecksTheSortAndSortsTheListDescending)
{
    // The list that offers the menu must be sortable.
    ASSERT_FALSE(list.GetStyle() & LVS_NOSORTHEADER);
    header->ShowSortArrow(TRUE);
    ClickHeader(ItemMiddle(1));
    ASSERT_EQ(1u, list.sorts.size());
    ASSERT_EQ(1, header->GetSortColumn());
    ASSERT_EQ(1, header->GetSortDirection());

    // Choosing the checked "Sort Ascending" again does nothing.
    MenuStates states = RightClickMenu(header, ItemMiddle(1), {VK_DOWN, VK_RETURN});
    ASSERT_TRUE(states.opened);
    EXPECT_TRUE(states.ascending);
    EXPECT_FALSE(states.descending);
    EXPECT_EQ(0, states.alignChecked);
    EXPECT_EQ(1u, list.sorts.size());

    // "Sort Descending" tells the list's owner and descendants; the list sorts.
    states = RightClickMenu(header, ItemMiddle(1), {VK_DOWN, VK_DOWN, VK_RETURN});
    ASSERT_EQ(2u, list.sorts.size());
    EXPECT_EQ(std::make_pair(1, FALSE), list.sorts.back());
    EXPECT_EQ((std::vector<std::string>{"foxtrot", "echo", "delta", "charlie", "bravo", "alpha"}), list.Column(1));
    EXPECT_EQ(0, header->GetSortDirection());
    EXPECT_FALSE(list.IsSortAscending());
}

TEST_F(ToolkitListTest, ARightClickPastTheLastItemShowsNoMenu)
{
    CRect last;
    header->GetItemRect(3, &last);
    MenuStates states = RightClickMenu(header, CPoint(last.right + 20, last.CenterPoint().y), {});
    EXPECT_FALSE(states.opened);
}

TEST_F(ToolkitListTest, AlignRightChangesOnlyTheJustificationBits)
{
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT;
    column.fmt = LVCFMT_LEFT | LVCFMT_BITMAP_ON_RIGHT;
    list.SetColumn(2, &column);
    header->m_ptLastRClick = ItemMiddle(2);
    header->SendMessage(WM_COMMAND, ID_QZ_HEADER_ALIGN_RIGHT);
    LVCOLUMNA read = {};
    read.mask = LVCF_FMT;
    ASSERT_TRUE(list.GetColumn(2, &read));
    EXPECT_EQ(LVCFMT_RIGHT | LVCFMT_BITMAP_ON_RIGHT, read.fmt);
    read.fmt = 0;
    list.GetColumn(1, &read);
    EXPECT_EQ(LVCFMT_LEFT, read.fmt & LVCFMT_JUSTIFYMASK) << "other columns keep theirs";
}

TEST_F(ToolkitListTest, TheHeaderDrawsTheSortColumnItself)
{
    EXPECT_EQ(-1, header->SetSortImage(2, FALSE));
    HDITEMA hdi = {};
    hdi.mask = HDI_FORMAT;
    header->GetItem(2, &hdi);
    EXPECT_TRUE(hdi.fmt & HDF_OWNERDRAW);
    EXPECT_EQ(2, header->SetSortImage(0, TRUE));
    EXPECT_TRUE(GetWindowLongPtrA(list.m_hWnd, GWL_STYLE) & WS_CLIPCHILDREN) << "set up once it exists";
}

namespace {

// A frame holding a list view whose header becomes a flat header.
class ListViewFrame : public CFrameWnd {
public:
    CListView* view = nullptr;
};

} // namespace

TEST(FlatHeaderInAListView, AlignsAndSortsThroughTheView)
{
    auto* frame = new ListViewFrame;
    ASSERT_TRUE(frame->Create(nullptr, "list view", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(60, 60, 560, 360)));
    auto* view = new CListView;
    ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 480, 280), frame,
                             AFX_IDW_PANE_FIRST, nullptr));
    EXPECT_TRUE(view->IsKindOf(RUNTIME_CLASS(CListView)));
    CListCtrl& list = view->GetListCtrl();
    list.InsertColumn(0, "First", LVCFMT_LEFT, 100);
    list.InsertColumn(1, "Second", LVCFMT_LEFT, 100);
    CQZFlatHeaderCtrl header;
    ASSERT_TRUE(header.SubclassWindow(list.GetHeaderCtrl()->m_hWnd));

    CRect second;
    header.GetItemRect(1, &second);
    header.m_ptLastRClick = second.CenterPoint();
    header.SendMessage(WM_COMMAND, ID_QZ_HEADER_ALIGN_CENTER);
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT;
    ASSERT_TRUE(list.GetColumn(1, &column));
    EXPECT_EQ(LVCFMT_CENTER, column.fmt & LVCFMT_JUSTIFYMASK);

    int order[2] = {};
    EXPECT_TRUE(header.GetOrderArray(order, -1, 2));
    EXPECT_FALSE(header.GetOrderArray(order, -1, 1));
    header.UnsubclassWindow();
    frame->DestroyWindow();
    PumpPending();
}
