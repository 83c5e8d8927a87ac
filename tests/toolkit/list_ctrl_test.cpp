// The toolkit list: sorting on heading clicks, locked widths, column widths in the
// settings store (and what a damaged stored text does), sizing to contents, moving rows,
// row colours, the column hit test and the columns it builds.
#include "toolkit/controls/QZListCtrl.h"

#include "list_test_support.h"

#include <string>
#include <vector>

using toolkit_test::SortingList;
using toolkit_test::ToolkitListTest;

namespace {

constexpr char kColumnPath[] = "Software\\SorvantaListTest\\ListTest\\Settings";

void StoreWidths(LPCSTR text)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kColumnPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                             &key, nullptr));
    RegSetValueExA(key, "Column Info", 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>(lstrlenA(text) + 1));
    RegCloseKey(key);
}

std::string StoredWidths()
{
    char text[256] = {};
    DWORD size = sizeof text;
    RegGetValueA(HKEY_CURRENT_USER, kColumnPath, "Column Info", RRF_RT_REG_SZ, nullptr, text, &size);
    return text;
}

std::vector<int> Widths(CListCtrl& list)
{
    std::vector<int> widths;
    for (int column = 0; column < 4; ++column)
        widths.push_back(list.GetColumnWidth(column));
    return widths;
}

// The heading's width as the list measures it: its text in the header's font plus 12.
int HeadingWidth(CWnd* header, LPCSTR text)
{
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, reinterpret_cast<HFONT>(header->SendMessage(WM_GETFONT)));
    SIZE size = {};
    GetTextExtentPoint32A(screen, text, lstrlenA(text), &size);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return size.cx + 12;
}

} // namespace

TEST_F(ToolkitListTest, HeadingClicksSortAscendingThenDescendingAndAnotherColumnAscending)
{
    ClickHeader(ItemMiddle(1));
    ClickHeader(ItemMiddle(1));
    ClickHeader(ItemMiddle(2));
    const std::vector<std::pair<int, BOOL>> expected = {{1, TRUE}, {1, FALSE}, {2, TRUE}};
    EXPECT_EQ(expected, list.sorts);
    EXPECT_EQ((std::vector<std::string>{"0", "1", "2", "3", "4", "5"}), list.Column(2));
    EXPECT_EQ(2, header->GetSortColumn());
    EXPECT_EQ(1, header->GetSortDirection());
}

TEST_F(ToolkitListTest, LockedWidthsRefuseDividerDragsAndDoubleClicks)
{
    list.LockColumnWidths(TRUE);
    CRect first;
    header->GetItemRect(0, &first);
    const int y = first.CenterPoint().y;
    header->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(first.right - 1, y));
    header->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(first.right + 40, y));
    header->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(first.right + 40, y));
    header->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(first.right - 1, y));
    header->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(first.right - 1, y));
    PumpPending();
    EXPECT_EQ(80, list.GetColumnWidth(0));

    list.LockColumnWidths(FALSE);
    header->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(first.right - 1, y));
    header->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(first.right + 40, y));
    header->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(first.right + 40, y));
    PumpPending();
    EXPECT_NE(80, list.GetColumnWidth(0)) << "unlocked, the same drag resizes";
}

TEST_F(ToolkitListTest, ColumnWidthsAreSavedAsTextAndLoadedBack)
{
    list.SetColumnWidth(0, 120);
    list.SetColumnWidth(1, 80);
    list.SetColumnWidth(2, 200);
    list.SetColumnWidth(3, 45);
    list.SaveColumnWidths();
    EXPECT_EQ("120,80,200,45,", StoredWidths());

    for (int column = 0; column < 4; ++column)
        list.SetColumnWidth(column, 33);
    list.AutoSaveColumns();
    EXPECT_EQ((std::vector<int>{120, 80, 200, 45}), Widths(list));

    // Saved when the window goes.
    list.SetColumnWidth(3, 66);
    list.DestroyWindow();
    EXPECT_EQ("120,80,200,66,", StoredWidths());
}

TEST_F(ToolkitListTest, ADamagedStoredTextNeverMakesAColumnVanish)
{
    const int kMax = GetSystemMetrics(SM_CXFULLSCREEN);
    struct Case {
        const char* why;
        const char* stored;
        std::vector<int> widths;
    };
    const std::vector<Case> kCases = {
        {"fewer pieces than columns: a column added later keeps its width", "120,80,200,", {120, 80, 200, 70}},
        {"nothing stored", "", {80, 90, 60, 70}},
        {"a piece that is not a number", "120,wide,200,50,", {120, 90, 200, 50}},
        {"a number with trailing letters", "120,80px,200,50,", {120, 90, 200, 50}},
        {"zero and negative pieces", "0,-40,200,50,", {80, 90, 200, 50}},
        {"an empty piece", "120,,200,50,", {120, 90, 200, 50}},
        {"wider than the screen is lowered to it", "99999,80,200,50,", {kMax, 80, 200, 50}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        const int kStart[] = {80, 90, 60, 70};
        for (int column = 0; column < 4; ++column)
            list.SetColumnWidth(column, kStart[column]);
        StoreWidths(c.stored);
        list.LoadColumnWidths();
        EXPECT_EQ(c.widths, Widths(list));
    }
}

TEST_F(ToolkitListTest, AutoSizeTakesTheHeadingWhenWiderAndNeverPassesTheScreen)
{
    // Contents narrower than the heading: the heading's width plus 12.
    LVCOLUMNA column = {};
    char heading[] = "A rather long heading";
    column.mask = LVCF_TEXT;
    column.pszText = heading;
    list.SetColumn(2, &column);
    list.AutoSizeColumn(2);
    EXPECT_EQ(HeadingWidth(header, heading), list.GetColumnWidth(2));

    // Contents wider than the screen: the screen's width.
    const std::string huge(600, 'W');
    list.SetItemText(0, 3, huge.c_str());
    list.AutoSizeColumn(3);
    EXPECT_EQ(GetSystemMetrics(SM_CXFULLSCREEN), list.GetColumnWidth(3));

    // The minimum width wins over a narrow heading and narrow contents.
    list.SetMinColumnWidth(150);
    list.AutoSizeColumn(1);
    EXPECT_EQ(150, list.GetColumnWidth(1));
}

TEST_F(ToolkitListTest, MoveRowKeepsTheRowsAndTheirTexts)
{
    ASSERT_TRUE(list.MoveRow(5, 2));
    EXPECT_EQ(6, list.GetItemCount());
    EXPECT_EQ((std::vector<std::string>{"row 0", "row 1", "row 5", "row 2", "row 3", "row 4"}), list.Column(0));
    EXPECT_EQ((std::vector<std::string>{"delta", "alpha", "bravo", "foxtrot", "charlie", "echo"}), list.Column(1));
    ASSERT_TRUE(list.MoveRow(0, 4));
    // Moved before the row that was at 4.
    EXPECT_EQ((std::vector<std::string>{"row 1", "row 5", "row 2", "row 0", "row 3", "row 4"}), list.Column(0));
    EXPECT_FALSE(list.MoveRow(3, 3));
    EXPECT_FALSE(list.MoveRow(-1, 3));
    EXPECT_EQ(6, list.GetItemCount());
}

TEST_F(ToolkitListTest, UnselectedRowsOfAnEnabledListTakeTheListsColours)
{
    list.SetColors(RGB(200, 0, 0), RGB(0, 0, 200));
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    struct Case {
        const char* why;
        int row;
        bool enabled;
        bool coloured;
    };
    const Case kCases[] = {{"an unselected row", 0, true, true},
                           {"the selected row", 1, true, false},
                           {"a row of a disabled list", 0, false, false}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        list.EnableWindow(c.enabled);
        NMLVCUSTOMDRAW draw = {};
        draw.nmcd.hdr.hwndFrom = list.m_hWnd;
        draw.nmcd.hdr.idFrom = kListId;
        draw.nmcd.hdr.code = NM_CUSTOMDRAW;
        draw.nmcd.dwDrawStage = CDDS_PREPAINT;
        EXPECT_EQ(CDRF_NOTIFYITEMDRAW, parent.SendMessage(WM_NOTIFY, kListId, reinterpret_cast<LPARAM>(&draw)));
        draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT;
        draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(c.row);
        draw.clrText = RGB(1, 2, 3);
        draw.clrTextBk = RGB(4, 5, 6);
        EXPECT_EQ(CDRF_DODEFAULT, parent.SendMessage(WM_NOTIFY, kListId, reinterpret_cast<LPARAM>(&draw)));
        EXPECT_EQ(c.coloured ? RGB(200, 0, 0) : RGB(1, 2, 3), draw.clrText);
        EXPECT_EQ(c.coloured ? RGB(0, 0, 200) : RGB(4, 5, 6), draw.clrTextBk);
    }
    list.EnableWindow(TRUE);
}

TEST_F(ToolkitListTest, HitTestExOnAColumnBoundaryInAPartlyShownRowAndPastTheLastRow)
{
    CRect row2;
    ASSERT_TRUE(list.GetItemRect(2, &row2, LVIR_BOUNDS));
    const int y = row2.CenterPoint().y;
    struct Case {
        const char* why;
        CPoint point;
        int row;
        int column;
    };
    const Case kCases[] = {
        {"inside column 1", {row2.left + 80 + 10, y}, 2, 1},
        {"exactly on the boundary of columns 0 and 1", {row2.left + 80, y}, 2, 0},
        {"one pixel right of it", {row2.left + 81, y}, 2, 1},
        {"below the last row, on a short list", {row2.left + 10, row2.bottom + 5 * row2.Height()}, -1, 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        int column = -5;
        EXPECT_EQ(c.row, list.HitTestEx(c.point, &column));
        EXPECT_EQ(c.column, column);
    }

    // Two whole rows and half of the third shown: the third is hit where it shows.
    CRect row0;
    ASSERT_TRUE(list.GetItemRect(0, &row0, LVIR_BOUNDS));
    list.MoveWindow(0, 0, 420, row0.top + 2 * row0.Height() + row0.Height() / 2);
    ASSERT_EQ(2, list.GetCountPerPage());
    CRect partRow;
    ASSERT_TRUE(list.GetItemRect(2, &partRow, LVIR_BOUNDS));
    const CPoint inPart(partRow.left + 90, partRow.top + 2);
    ASSERT_EQ(2, list.HitTest(CPoint(partRow.left + 10, inPart.y))) << "the control itself finds the row there";
    int column = -5;
    EXPECT_EQ(2, list.HitTestEx(inPart, &column));
    EXPECT_EQ(1, column);
}

TEST_F(ToolkitListTest, WithoutAFlatHeaderSetSortImageDoesNothing)
{
    SortingList plain;
    ASSERT_TRUE(plain.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 200, 100), &parent, kListId + 1));
    plain.InsertColumn(0, "One", LVCFMT_LEFT, 50);
    EXPECT_EQ(-1, plain.SetSortImage(0, TRUE));
    EXPECT_EQ(nullptr, plain.GetFlatHeaderCtrl());
    EXPECT_EQ(1, plain.GetColumnCount());
}

TEST_F(ToolkitListTest, ColumnsAreBuiltWithTheirWidthsAndOnlyInReportView)
{
    EXPECT_EQ(4, list.GetColumnCount());
    EXPECT_EQ(4, list.AddColumn("Copied width"));
    EXPECT_EQ(70, list.GetColumnWidth(4)) << "the column before it";

    SortingList fresh;
    ASSERT_TRUE(fresh.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 200, 100), &parent, kListId + 2));
    EXPECT_EQ(0, fresh.AddColumn("First heading"));
    const CWnd* freshHeader = CWnd::FromHandle(GetDlgItem(fresh.m_hWnd, 0));
    EXPECT_EQ(HeadingWidth(const_cast<CWnd*>(freshHeader), "First heading"), fresh.GetColumnWidth(0))
        << "the first column takes its heading's width, never 0";

    SortingList icons;
    ASSERT_TRUE(icons.Create(WS_CHILD | WS_VISIBLE | LVS_ICON, CRect(0, 0, 200, 100), &parent, kListId + 3));
    EXPECT_EQ(-1, icons.GetColumnCount());
    EXPECT_EQ(-1, icons.AddColumn("Nowhere"));
    EXPECT_FALSE(icons.SubclassHeader());
}

TEST_F(ToolkitListTest, ExtendedStylesAreOnlyEverAdded)
{
    list.AddExtendedStyle(LVS_EX_GRIDLINES);
    list.AddExtendedStyle(LVS_EX_FULLROWSELECT);
    EXPECT_EQ(static_cast<DWORD>(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT),
              list.GetExtendedStyle() & (LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT));
}
