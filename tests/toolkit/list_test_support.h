// What the list and header tests share: a toolkit list in report view whose sorting
// really reorders its rows (by the text of the sorted column), made in a shown window
// with four columns and six rows, its header subclassed into the flat header, under an
// application registered with a key of its own (removed whole afterwards).
#pragma once

#include "toolkit/controls/QZListCtrl.h"
#include "toolkit_test_support.h"

#include <string>
#include <utility>
#include <vector>

namespace toolkit_test {

constexpr char kListCompany[] = "SorvantaListTest";
constexpr int kListId = 300;

class ListTestApp : public CWinApp {
public:
    ListTestApp() : CWinApp("ListTest") { SetRegistryKey(kListCompany); }
    ~ListTestApp() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\SorvantaListTest"); }
};

// Rows: "row N" in column 0, then texts that sort in other orders.
inline const char* const kListRows[6][4] = {
    {"row 0", "delta", "3", "x"}, {"row 1", "alpha", "5", "y"}, {"row 2", "foxtrot", "1", "z"},
    {"row 3", "charlie", "4", "x"}, {"row 4", "echo", "0", "y"}, {"row 5", "bravo", "2", "z"},
};

// Sorts its rows by the sorted column's text (each row's data is its index in kListRows)
// and records each request.
class SortingList : public CQZListCtrl {
public:
    std::vector<std::pair<int, BOOL>> sorts;

    BOOL SortList(int nColumn, BOOL bAscending) override
    {
        sorts.emplace_back(nColumn, bAscending);
        m_sortColumn = nColumn;
        m_sortAscending = bAscending;
        return static_cast<BOOL>(SendMessage(LVM_SORTITEMS, reinterpret_cast<WPARAM>(this),
                                             reinterpret_cast<LPARAM>(&CompareRows)));
    }

    std::vector<std::string> Column(int column)
    {
        std::vector<std::string> texts;
        for (int row = 0; row < GetItemCount(); ++row)
            texts.push_back(static_cast<LPCSTR>(GetItemText(row, column)));
        return texts;
    }

private:
    static int CALLBACK CompareRows(LPARAM first, LPARAM second, LPARAM list)
    {
        auto* self = reinterpret_cast<SortingList*>(list);
        const int order = lstrcmpA(kListRows[first][self->m_sortColumn], kListRows[second][self->m_sortColumn]);
        return self->m_sortAscending ? order : -order;
    }
    int m_sortColumn = 0;
    BOOL m_sortAscending = TRUE;
};

class ToolkitListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateEx(0, nullptr, "lists", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 520, 320, nullptr,
                                    nullptr));
        ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 420, 240), &parent, kListId));
        const int kWidths[] = {80, 90, 60, 70};
        const LPCSTR kHeadings[] = {"Name", "Word", "Number", "Letter"};
        ASSERT_TRUE(list.BuildColumns(4, kWidths, kHeadings));
        for (int row = 0; row < 6; ++row) {
            list.InsertItem(row, kListRows[row][0]);
            list.SetItemData(row, static_cast<DWORD_PTR>(row));
            for (int column = 1; column < 4; ++column)
                list.SetItemText(row, column, kListRows[row][column]);
        }
        ASSERT_TRUE(list.SubclassHeader());
        header = list.GetFlatHeaderCtrl();
        ASSERT_TRUE(header);
        PumpPending();
    }
    void TearDown() override
    {
        if (list.m_hWnd)
            list.DestroyWindow();
        parent.DestroyWindow();
        PumpPending();
    }
    // The middle of a header item, in the header's client coordinates.
    CPoint ItemMiddle(int item)
    {
        CRect rect;
        header->GetItemRect(item, &rect);
        return rect.CenterPoint();
    }
    void ClickHeader(CPoint point)
    {
        header->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
        header->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
        PumpPending();
    }

    ListTestApp app;
    CWnd parent;
    SortingList list;
    CQZFlatHeaderCtrl* header = nullptr;
};

} // namespace toolkit_test
