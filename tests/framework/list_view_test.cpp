// The list view and the list and header members the toolkit's lists use: a view that is a
// list-view control (kind, class, the control reached through GetListCtrl, its own
// painting), columns read and written, rows per page, the header's hit test and its order
// array, which refuses an array that does not hold every item.
#include "framework/Framework.h"
#include "framework/ListView.h"

#include "window_test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class ListViewFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "list view", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(30, 30, 430, 330)));
        view = new CListView;
        ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 380, 260), frame,
                                 AFX_IDW_PANE_FIRST, nullptr));
    }
    void TearDown() override
    {
        frame->DestroyWindow();
        test_support::PumpPending();
    }

    CFrameWnd* frame = nullptr;
    CListView* view = nullptr;
};

} // namespace

TEST_F(ListViewFrameTest, TheViewIsAListViewControl)
{
    EXPECT_TRUE(view->IsKindOf(RUNTIME_CLASS(CListView)));
    EXPECT_TRUE(view->IsKindOf(RUNTIME_CLASS(CView)));
    EXPECT_FALSE(view->IsKindOf(RUNTIME_CLASS(CListCtrl)));
    char className[32] = {};
    GetClassNameA(view->m_hWnd, className, sizeof className);
    EXPECT_STREQ(WC_LISTVIEWA, className);

    CListCtrl& list = view->GetListCtrl();
    EXPECT_EQ(view->m_hWnd, list.m_hWnd);
    EXPECT_EQ(0, list.InsertColumn(0, "Name", LVCFMT_LEFT, 120));
    EXPECT_EQ(0, list.InsertItem(0, "first"));
    EXPECT_STREQ("first", list.GetItemText(0, 0));
    // The control paints itself: a paint leaves nothing to paint.
    view->UpdateWindow();
    EXPECT_FALSE(GetUpdateRect(view->m_hWnd, nullptr, FALSE));
    CObject* made = RUNTIME_CLASS(CListView)->CreateObject();
    EXPECT_TRUE(made && made->IsKindOf(RUNTIME_CLASS(CListView)));
    delete made;
}

TEST_F(ListViewFrameTest, ColumnsRowsPerPageAndTheHeader)
{
    CListCtrl& list = view->GetListCtrl();
    list.InsertColumn(0, "One", LVCFMT_LEFT, 100);
    list.InsertColumn(1, "Two", LVCFMT_LEFT, 80);
    list.InsertColumn(2, "Three", LVCFMT_LEFT, 60);
    for (int row = 0; row < 40; ++row)
        list.InsertItem(row, std::to_string(row).c_str());

    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH;
    column.fmt = LVCFMT_RIGHT;
    column.cx = 90;
    EXPECT_TRUE(list.SetColumn(1, &column));
    LVCOLUMNA read = {};
    read.mask = LVCF_FMT | LVCF_WIDTH;
    ASSERT_TRUE(list.GetColumn(1, &read));
    EXPECT_EQ(LVCFMT_RIGHT, read.fmt & LVCFMT_JUSTIFYMASK);
    EXPECT_EQ(90, read.cx);
    EXPECT_FALSE(list.GetColumn(7, &read));

    CRect row;
    list.GetItemRect(0, &row, LVIR_BOUNDS);
    CRect client;
    list.GetClientRect(&client);
    CRect headerRect;
    list.GetHeaderCtrl()->GetWindowRect(&headerRect);
    EXPECT_EQ((client.Height() - headerRect.Height()) / row.Height(), list.GetCountPerPage());

    CHeaderCtrl* header = list.GetHeaderCtrl();
    CRect second;
    header->GetItemRect(1, &second);
    HDHITTESTINFO hit = {};
    hit.pt = second.CenterPoint();
    EXPECT_EQ(1, header->HitTest(&hit));
    EXPECT_TRUE(hit.flags & HHT_ONHEADER);
    hit.pt = CPoint(second.right + 300, second.CenterPoint().y);
    EXPECT_EQ(-1, header->HitTest(&hit));

    int kOrder[] = {2, 0, 1};
    header->SendMessage(HDM_SETORDERARRAY, 3, reinterpret_cast<LPARAM>(kOrder));
    int order[4] = {-1, -1, -1, -1};
    EXPECT_FALSE(header->GetOrderArray(order, 2)) << "two entries cannot hold three items";
    EXPECT_EQ(-1, order[0]);
    ASSERT_TRUE(header->GetOrderArray(order, 3));
    EXPECT_EQ(2, order[0]);
    EXPECT_EQ(0, order[1]);
    EXPECT_EQ(1, order[2]);
    EXPECT_EQ(-1, order[3]);
}
