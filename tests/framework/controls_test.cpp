// Control classes: each created on a framework parent and driven through its members,
// checked against the control's own answers; owner draw reaching DrawItem through
// reflection; the deferred registration of common-control classes.
#include "framework/Framework.h"

#include "window_test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr UINT kControlId = 401;
const CRect kRect(0, 0, 200, 120);

class ControlsTest : public test_support::OwnerWindowTest {
protected:
    CWnd& parent = owner;  // of every control the test makes
};

TEST_F(ControlsTest, ButtonCheckStateAndStyle)
{
    CButton button;
    ASSERT_TRUE(button.Create("Check", WS_VISIBLE | BS_AUTO3STATE, kRect, &parent, kControlId));
    EXPECT_TRUE(button.GetStyle() & WS_CHILD);  // Create makes it a child
    EXPECT_EQ(&button, parent.GetDlgItem(kControlId));
    EXPECT_EQ(static_cast<UINT>(BS_AUTO3STATE), button.GetButtonStyle());

    for (int state : {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}) {
        button.SetCheck(state);
        EXPECT_EQ(state, button.GetCheck());
        EXPECT_EQ(state, parent.IsDlgButtonChecked(kControlId));
    }
    button.SetState(TRUE);
    EXPECT_TRUE(button.GetState() & BST_PUSHED);
    button.SetState(FALSE);
    EXPECT_FALSE(button.GetState() & BST_PUSHED);

    button.SetButtonStyle(BS_PUSHBUTTON);
    EXPECT_EQ(static_cast<UINT>(BS_PUSHBUTTON), button.GetButtonStyle());

    CButton picture;
    ASSERT_TRUE(picture.Create("", WS_VISIBLE | BS_BITMAP, kRect, &parent, kControlId + 1));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmap(8, 8, 1, 32, nullptr));
    EXPECT_EQ(nullptr, picture.SetBitmap(bitmap));
    EXPECT_EQ(static_cast<HBITMAP>(bitmap), picture.GetBitmap());
}

// An owner-drawn button that paints itself through the reflected WM_DRAWITEM.
class SelfDrawnButton : public CButton {
public:
    int draws = 0;
    UINT lastAction = 0;
    void DrawItem(LPDRAWITEMSTRUCT item) override
    {
        ++draws;
        lastAction = item->itemAction;
        ::FillRect(item->hDC, &item->rcItem, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    }
};

// A parent that would see owner draws nobody took.
class DrawCountingParent : public CWnd {
public:
    int parentDraws = 0;
    afx_msg void OnDrawItem(int, LPDRAWITEMSTRUCT) { ++parentDraws; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DrawCountingParent, CWnd)
    ON_WM_DRAWITEM()
END_MESSAGE_MAP()

TEST(OwnerDraw, ButtonPaintingReachesDrawItemThroughReflection)
{
    DrawCountingParent parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                nullptr));
    SelfDrawnButton button;
    ASSERT_TRUE(button.Create("", WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 40, 20), &parent, kControlId));
    button.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    EXPECT_GE(button.draws, 1);
    EXPECT_TRUE(button.lastAction & ODA_DRAWENTIRE);
    EXPECT_EQ(0, parent.parentDraws);

    // A plain control without an object of its own: the parent's handler draws it.
    CWnd plain;
    ASSERT_TRUE(plain.Attach(::CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 50, 0, 40, 20,
                                               parent.m_hWnd, reinterpret_cast<HMENU>(kControlId + 1), nullptr,
                                               nullptr)));
    HWND plainWindow = plain.Detach();
    ::RedrawWindow(plainWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    EXPECT_GE(parent.parentDraws, 1);
    parent.DestroyWindow();
}

// A header whose owner-drawn item is painted by its own object.
class SelfDrawnHeader : public CHeaderCtrl {
public:
    int draws = 0;
    int lastItem = -1;
    void DrawItem(LPDRAWITEMSTRUCT item) override
    {
        ++draws;
        lastItem = static_cast<int>(item->itemID);
    }
};

TEST_F(ControlsTest, HeaderOwnerDrawReachesItsDrawItem)
{
    SelfDrawnHeader header;
    ASSERT_TRUE(header.Create(WS_VISIBLE | HDS_HORZ, CRect(0, 0, 200, 20), &parent, kControlId));
    HDITEMA item = {};
    item.mask = HDI_FORMAT | HDI_WIDTH;
    item.fmt = HDF_OWNERDRAW;
    item.cxy = 80;
    EXPECT_EQ(0, header.InsertItem(0, &item));
    EXPECT_EQ(1, header.GetItemCount());
    CRect rect;
    EXPECT_TRUE(header.GetItemRect(0, &rect));
    EXPECT_EQ(80, rect.Width());
    header.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    EXPECT_GE(header.draws, 1);
    EXPECT_EQ(0, header.lastItem);
}

TEST_F(ControlsTest, EditSelectionLimitAndReadOnly)
{
    CEdit edit;
    ASSERT_TRUE(edit.Create(WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, kRect, &parent, kControlId));
    edit.SetWindowText("hello world");
    edit.SetSel(6, 11);
    int start = -1, end = -1;
    edit.GetSel(start, end);
    EXPECT_EQ(6, start);
    EXPECT_EQ(11, end);
    edit.ReplaceSel("there");
    CString text;
    edit.GetWindowText(text);
    EXPECT_STREQ("hello there", text);

    edit.SetLimitText(8);
    EXPECT_EQ(8u, edit.GetLimitText());
    edit.SetModify(FALSE);
    EXPECT_FALSE(edit.GetModify());
    EXPECT_TRUE(edit.SetReadOnly(TRUE));
    EXPECT_TRUE(edit.GetStyle() & ES_READONLY);
}

TEST_F(ControlsTest, StaticShowsItsIcon)
{
    CStatic label;
    ASSERT_TRUE(label.Create("label", WS_VISIBLE | SS_ICON, kRect, &parent));
    HICON icon = ::LoadIcon(nullptr, IDI_APPLICATION);
    label.SetIcon(icon);
    EXPECT_EQ(icon, label.GetIcon());
    EXPECT_EQ(0xFFFF, label.GetDlgCtrlID());
}

TEST_F(ControlsTest, ComboBoxEntriesSearchesAndData)
{
    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_VISIBLE | CBS_DROPDOWN | WS_VSCROLL, kRect, &parent, kControlId));
    EXPECT_EQ(0, combo.AddString("Banana"));
    EXPECT_EQ(1, combo.AddString("Cherry"));
    EXPECT_EQ(0, combo.InsertString(0, "Apple"));
    EXPECT_EQ(3, combo.GetCount());
    EXPECT_EQ(CB_ERR, combo.GetCurSel());

    CString text;
    combo.GetLBText(1, text);
    EXPECT_STREQ("Banana", text);
    EXPECT_EQ(6, combo.GetLBTextLen(2));
    char buffer[16] = {};
    EXPECT_EQ(6, combo.GetLBText(2, buffer));
    EXPECT_STREQ("Cherry", buffer);
    combo.GetLBText(3, text);  // one past the end
    EXPECT_TRUE(text.IsEmpty());

    EXPECT_EQ(2, combo.FindString(-1, "ch"));         // a prefix, without regard to case
    EXPECT_EQ(CB_ERR, combo.FindStringExact(-1, "Ch"));
    EXPECT_EQ(1, combo.FindStringExact(-1, "banana"));
    EXPECT_EQ(1, combo.SelectString(-1, "Ban"));
    EXPECT_EQ(1, combo.GetCurSel());

    int payload = 5;
    EXPECT_NE(CB_ERR, combo.SetItemData(0, 4242));
    EXPECT_NE(CB_ERR, combo.SetItemDataPtr(2, &payload));
    EXPECT_EQ(4242u, combo.GetItemData(0));
    EXPECT_EQ(&payload, combo.GetItemDataPtr(2));

    EXPECT_EQ(2, combo.DeleteString(0));
    EXPECT_EQ(CB_ERR, combo.DeleteString(7));
    combo.LimitText(4);
    HWND comboEdit = ::GetWindow(combo.m_hWnd, GW_CHILD);
    EXPECT_EQ(4, ::SendMessageA(comboEdit, EM_GETLIMITTEXT, 0, 0));
    combo.SetWindowText("abcdef");
    EXPECT_TRUE(combo.SetEditSel(1, 3));
    EXPECT_EQ(MAKELONG(1, 3), static_cast<LONG>(combo.GetEditSel()));
    EXPECT_FALSE(combo.GetDroppedState());
    combo.ResetContent();
    EXPECT_EQ(0, combo.GetCount());
}

TEST_F(ControlsTest, ListBoxEntriesAndSelection)
{
    CListBox list;
    ASSERT_TRUE(list.Create(WS_VISIBLE | WS_BORDER | LBS_NOTIFY, kRect, &parent, kControlId));
    list.AddString("one");
    list.AddString("two");
    list.InsertString(0, "zero");
    EXPECT_EQ(3, list.GetCount());
    CString text;
    list.GetText(2, text);
    EXPECT_STREQ("two", text);
    list.GetText(9, text);
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(1, list.SetCurSel(1));
    EXPECT_EQ(1, list.GetCurSel());
    EXPECT_EQ(2, list.SelectString(-1, "tw"));
    list.SetItemData(2, 77);
    EXPECT_EQ(77u, list.GetItemData(2));
    EXPECT_EQ(1, list.FindStringExact(-1, "ONE"));
    list.DeleteString(0);
    EXPECT_EQ(2, list.GetCount());
}

TEST_F(ControlsTest, ListViewItemsColumnsStatesAndHitTest)
{
    HWND window = nullptr;
    {
        CListCtrl list;
        ASSERT_TRUE(list.Create(WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, kRect, &parent, kControlId));
        window = list.m_hWnd;
        EXPECT_EQ(0, list.InsertColumn(0, "Name", LVCFMT_LEFT, 100));
        EXPECT_EQ(1, list.InsertColumn(1, "Size", LVCFMT_RIGHT, 60, 1));
        EXPECT_EQ(2, list.GetHeaderCtrl()->GetItemCount());
        EXPECT_EQ(60, list.GetColumnWidth(1));

        EXPECT_EQ(0, list.InsertItem(0, "first"));
        EXPECT_EQ(1, list.InsertItem(LVIF_TEXT | LVIF_PARAM, 1, "second", 0, 0, 0, 99));
        EXPECT_EQ(2, list.GetItemCount());
        EXPECT_TRUE(list.SetItemText(0, 1, "12 KB"));
        EXPECT_STREQ("12 KB", list.GetItemText(0, 1));
        // A text longer than the first buffer the text query tries.
        std::string longText(700, 'x');
        list.SetItemText(1, 0, longText.c_str());
        EXPECT_EQ(700, list.GetItemText(1, 0).GetLength());
        // A short buffer gets the start of the text, terminated whatever the control does.
        char shortBuffer[4];
        EXPECT_EQ(3, list.GetItemText(0, 0, shortBuffer, sizeof shortBuffer));
        EXPECT_STREQ("fir", shortBuffer);

        EXPECT_EQ(99u, list.GetItemData(1));
        EXPECT_TRUE(list.SetItemData(0, 7));
        EXPECT_EQ(7u, list.GetItemData(0));
        EXPECT_EQ(0u, list.GetItemData(5));

        EXPECT_TRUE(list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED));
        EXPECT_EQ(static_cast<UINT>(LVIS_SELECTED), list.GetItemState(1, LVIS_SELECTED));
        EXPECT_EQ(1u, list.GetSelectedCount());
        EXPECT_EQ(1, list.GetNextItem(-1, LVNI_SELECTED));
        EXPECT_EQ(-1, list.GetNextItem(1, LVNI_SELECTED));

        CRect bounds;
        ASSERT_TRUE(list.GetItemRect(1, &bounds, LVIR_BOUNDS));
        UINT flags = 0;
        EXPECT_EQ(1, list.HitTest(bounds.CenterPoint(), &flags));
        EXPECT_TRUE(flags & LVHT_ONITEM);
        EXPECT_EQ(-1, list.HitTest(CPoint(5, 115)));
        EXPECT_TRUE(list.EnsureVisible(1, FALSE));

        list.SetExtendedStyle(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
        EXPECT_EQ(static_cast<DWORD>(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT),
                  list.GetExtendedStyle() & (LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT));

        CImageList first, second;
        first.Create(16, 16, ILC_COLOR32, 0, 1);
        second.Create(16, 16, ILC_COLOR32, 0, 1);
        EXPECT_EQ(nullptr, list.SetImageList(&first, LVSIL_SMALL));
        EXPECT_EQ(&first, list.SetImageList(&second, LVSIL_SMALL));  // the previous, as its own object
        EXPECT_EQ(&second, list.GetImageList(LVSIL_SMALL));
        list.SetImageList(nullptr, LVSIL_SMALL);

        EXPECT_TRUE(list.DeleteItem(0));
        EXPECT_EQ(1, list.GetItemCount());
        EXPECT_TRUE(list.DeleteAllItems());
        EXPECT_EQ(0, list.GetItemCount());
    }
    EXPECT_FALSE(::IsWindow(window));  // the list's destructor destroyed its window
}

TEST_F(ControlsTest, TreeViewItemsWalksStateImagesAndHitTest)
{
    CTreeCtrl tree;
    ASSERT_TRUE(tree.Create(WS_VISIBLE | TVS_HASBUTTONS | TVS_LINESATROOT, kRect, &parent, kControlId));
    HTREEITEM root = tree.InsertItem("root");
    HTREEITEM child1 = tree.InsertItem(TVIF_TEXT | TVIF_PARAM, "child one", 0, 0, 0, 0, 11, root, TVI_LAST);
    HTREEITEM child2 = tree.InsertItem("child two", root);
    ASSERT_TRUE(root && child1 && child2);
    EXPECT_EQ(3u, tree.GetCount());
    EXPECT_STREQ("child one", tree.GetItemText(child1));
    EXPECT_EQ(11u, tree.GetItemData(child1));
    EXPECT_TRUE(tree.SetItemData(child2, 22));
    EXPECT_EQ(22u, tree.GetItemData(child2));
    EXPECT_EQ(root, tree.GetRootItem());
    EXPECT_EQ(child1, tree.GetChildItem(root));
    EXPECT_EQ(child2, tree.GetNextSiblingItem(child1));
    EXPECT_EQ(child1, tree.GetPrevSiblingItem(child2));
    EXPECT_EQ(root, tree.GetParentItem(child2));
    EXPECT_EQ(nullptr, tree.GetNextSiblingItem(child2));
    EXPECT_TRUE(tree.ItemHasChildren(root));
    EXPECT_FALSE(tree.ItemHasChildren(child1));

    EXPECT_TRUE(tree.Expand(root, TVE_EXPAND));
    EXPECT_TRUE(tree.GetItemState(root, TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_TRUE(tree.SelectItem(child2));
    EXPECT_EQ(child2, tree.GetSelectedItem());
    EXPECT_EQ(child2, tree.GetNextItem(nullptr, TVGN_CARET));

    // State images: the check-box tree keeps its check states in the state-image bits.
    CImageList states;
    ASSERT_TRUE(states.Create(16, 16, ILC_COLOR32, 3, 1));
    ImageList_SetImageCount(states.m_hImageList, 3);
    EXPECT_EQ(nullptr, tree.SetImageList(&states, TVSIL_STATE));
    EXPECT_EQ(&states, tree.GetImageList(TVSIL_STATE));
    TVITEMA item = {};
    item.hItem = child1;
    item.mask = TVIF_STATE;
    item.state = INDEXTOSTATEIMAGEMASK(2);
    item.stateMask = TVIS_STATEIMAGEMASK;
    EXPECT_TRUE(tree.SetItem(&item));
    TVITEMA read = {};
    read.hItem = child1;
    read.mask = TVIF_STATE;
    read.stateMask = TVIS_STATEIMAGEMASK;
    ASSERT_TRUE(tree.GetItem(&read));
    EXPECT_EQ(static_cast<UINT>(INDEXTOSTATEIMAGEMASK(2)), read.state & TVIS_STATEIMAGEMASK);

    CRect itemRect;
    ASSERT_TRUE(tree.GetItemRect(child1, &itemRect, TRUE));
    UINT flags = 0;
    EXPECT_EQ(child1, tree.HitTest(itemRect.CenterPoint(), &flags));
    EXPECT_TRUE(flags & TVHT_ONITEMLABEL);

    EXPECT_TRUE(tree.SetItemText(child1, "renamed"));
    EXPECT_STREQ("renamed", tree.GetItemText(child1));
    // A text longer than the first buffer the text query tries.
    std::string longText(600, 'y');
    tree.SetItemText(child2, longText.c_str());
    EXPECT_EQ(600, tree.GetItemText(child2).GetLength());
    EXPECT_TRUE(tree.GetItemText(nullptr).IsEmpty());
    EXPECT_TRUE(tree.DeleteItem(child1));
    EXPECT_EQ(2u, tree.GetCount());
    EXPECT_TRUE(tree.DeleteAllItems());
    EXPECT_EQ(0u, tree.GetCount());
    tree.SetImageList(nullptr, TVSIL_STATE);
}

int CALLBACK CompareByData(LPARAM first, LPARAM second, LPARAM sortParam)
{
    EXPECT_EQ(77, sortParam);
    return first < second ? -1 : first > second ? 1 : 0;
}

TEST_F(ControlsTest, TreeViewSortsChildrenByCallback)
{
    CTreeCtrl tree;
    ASSERT_TRUE(tree.Create(WS_VISIBLE | TVS_HASBUTTONS, kRect, &parent, kControlId));
    HTREEITEM root = tree.InsertItem("root");
    HTREEITEM grandChild = nullptr;
    for (LPARAM data : {3, 1, 2}) {
        HTREEITEM child = tree.InsertItem(TVIF_TEXT | TVIF_PARAM, "child", 0, 0, 0, 0, data, root, TVI_LAST);
        if (data == 3)
            grandChild = tree.InsertItem(TVIF_TEXT | TVIF_PARAM, "grandchild", 0, 0, 0, 0, 9, child, TVI_LAST);
    }
    TVSORTCB sort = {root, &CompareByData, 77};
    EXPECT_TRUE(tree.SortChildrenCB(&sort));
    std::vector<DWORD_PTR> order;
    for (HTREEITEM child = tree.GetChildItem(root); child; child = tree.GetNextSiblingItem(child))
        order.push_back(tree.GetItemData(child));
    EXPECT_EQ((std::vector<DWORD_PTR>{1, 2, 3}), order);
    EXPECT_EQ(3u, tree.GetItemData(tree.GetParentItem(grandChild)));  // children move with their parent
}

TEST_F(ControlsTest, ListViewScrollsByPixelsAndReportsItsTopItem)
{
    CListCtrl list;
    ASSERT_TRUE(list.Create(WS_VISIBLE | LVS_REPORT, kRect, &parent, kControlId));
    list.InsertColumn(0, "Name", LVCFMT_LEFT, 100);
    for (int each = 0; each < 60; ++each)
        list.InsertItem(each, "row");
    EXPECT_EQ(0, list.GetTopIndex());
    CRect row;
    ASSERT_TRUE(list.GetItemRect(0, &row, LVIR_BOUNDS));
    EXPECT_TRUE(list.Scroll(CSize(0, row.Height() * 17)));
    EXPECT_EQ(17, list.GetTopIndex());
    EXPECT_TRUE(list.Scroll(CSize(0, -row.Height() * 5)));
    EXPECT_EQ(12, list.GetTopIndex());
}

TEST_F(ControlsTest, TabItemsAndSelection)
{
    CTabCtrl tab;
    ASSERT_TRUE(tab.Create(WS_VISIBLE, kRect, &parent, kControlId));
    EXPECT_TRUE(tab.InsertItem(0, "One"));
    EXPECT_TRUE(tab.InsertItem(1, "Two"));
    EXPECT_EQ(2, tab.GetItemCount());
    EXPECT_EQ(0, tab.SetCurSel(1));
    EXPECT_EQ(1, tab.GetCurSel());
    CRect display = kRect;
    tab.AdjustRect(FALSE, &display);
    EXPECT_LT(display.Height(), kRect.Height());
    EXPECT_TRUE(tab.DeleteItem(0));
    EXPECT_EQ(1, tab.GetItemCount());
}

TEST_F(ControlsTest, TabItemFieldsHitTestAndRows)
{
    CTabCtrl tab;
    ASSERT_TRUE(tab.Create(WS_VISIBLE, kRect, &parent, kControlId));
    EXPECT_EQ(0, tab.InsertItem(TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM, 0, "First", 3, 77));
    EXPECT_EQ(0, tab.InsertItem(TCIF_TEXT, 0, "Before", 0, 0));  // the index it went to

    char text[32] = {};
    TCITEMA item = {};
    item.mask = TCIF_TEXT | TCIF_IMAGE | TCIF_PARAM;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    ASSERT_TRUE(tab.GetItem(1, &item));
    EXPECT_STREQ("First", text);
    EXPECT_EQ(3, item.iImage);
    EXPECT_EQ(77, item.lParam);

    TCITEMA rename = {};
    rename.mask = TCIF_TEXT;
    rename.pszText = const_cast<LPSTR>("Renamed");
    ASSERT_TRUE(tab.SetItem(1, &rename));
    ASSERT_TRUE(tab.GetItem(1, &item));
    EXPECT_STREQ("Renamed", text);
    EXPECT_FALSE(tab.GetItem(2, &item));

    CRect second;
    ASSERT_TRUE(tab.GetItemRect(1, &second));
    TCHITTESTINFO hit = {};
    hit.pt = second.CenterPoint();
    EXPECT_EQ(1, tab.HitTest(&hit));
    EXPECT_TRUE(hit.flags & TCHT_ONITEM);
    hit.pt = CPoint(kRect.right - 2, kRect.bottom - 2);  // the page, below every tab
    EXPECT_EQ(-1, tab.HitTest(&hit));
    EXPECT_EQ(1, tab.GetRowCount());
}

TEST_F(ControlsTest, TabImageListAndToolTipsSwapReturnThePrevious)
{
    CTabCtrl tab;
    ASSERT_TRUE(tab.Create(WS_VISIBLE | TCS_TOOLTIPS, kRect, &parent, kControlId));
    CImageList first, second;
    ASSERT_TRUE(first.Create(16, 16, ILC_COLOR24, 1, 1));
    ASSERT_TRUE(second.Create(16, 16, ILC_COLOR24, 1, 1));
    EXPECT_EQ(nullptr, tab.SetImageList(&first));
    EXPECT_EQ(&first, tab.GetImageList());
    EXPECT_EQ(&first, tab.SetImageList(&second));
    EXPECT_EQ(&second, tab.SetImageList(nullptr));
    EXPECT_EQ(nullptr, tab.GetImageList());

    CToolTipCtrl* own = tab.GetToolTips();
    ASSERT_NE(nullptr, own);  // TCS_TOOLTIPS made one
    CToolTipCtrl other;
    ASSERT_TRUE(other.Create(&parent));
    tab.SetToolTips(&other);
    EXPECT_EQ(&other, tab.GetToolTips());
    tab.SetToolTips(nullptr);
    EXPECT_EQ(nullptr, tab.GetToolTips());
}

TEST_F(ControlsTest, SpinButtonRangesPositionsAndBuddy)
{
    CEdit buddy;
    ASSERT_TRUE(buddy.Create(WS_VISIBLE | WS_BORDER, CRect(0, 0, 60, 20), &parent, kControlId + 1));
    CSpinButtonCtrl spin;
    ASSERT_TRUE(spin.Create(WS_VISIBLE | UDS_SETBUDDYINT, CRect(60, 0, 76, 20), &parent, kControlId));
    spin.SetBuddy(&buddy);
    EXPECT_EQ(&buddy, spin.GetBuddy());
    spin.SetRange(0, 100);
    spin.SetPos(30);
    EXPECT_EQ(30, LOWORD(spin.GetPos()));
    CString text;
    buddy.GetWindowText(text);
    EXPECT_STREQ("30", text);

    spin.SetRange32(-5, 100000);
    int lower = 0, upper = 0;
    spin.GetRange32(lower, upper);
    EXPECT_EQ(-5, lower);
    EXPECT_EQ(100000, upper);
    spin.SetPos32(70000);
    BOOL error = TRUE;
    EXPECT_EQ(70000, spin.GetPos32(&error));
    EXPECT_FALSE(error);
    // The message form, as the library's spin button sends it.
    spin.SendMessage(UDM_SETRANGE32, 1, 9);
    spin.GetRange32(lower, upper);
    EXPECT_EQ(1, lower);
    EXPECT_EQ(9, upper);
}

TEST_F(ControlsTest, ProgressRangeStepAndPosition)
{
    CProgressCtrl progress;
    ASSERT_TRUE(progress.Create(WS_VISIBLE, kRect, &parent, kControlId));
    progress.SetRange(0, 200);
    int lower = -1, upper = -1;
    progress.GetRange(lower, upper);
    EXPECT_EQ(0, lower);
    EXPECT_EQ(200, upper);
    EXPECT_EQ(10, progress.SetStep(20));  // the control's default step was 10
    EXPECT_EQ(0, progress.SetPos(5));
    EXPECT_EQ(5, progress.StepIt());
    EXPECT_EQ(25, progress.GetPos());
    EXPECT_EQ(25, progress.OffsetPos(-10));
    EXPECT_EQ(15, progress.GetPos());
    progress.SetRange32(-100000, 100000);
    progress.GetRange(lower, upper);
    EXPECT_EQ(-100000, lower);
    EXPECT_EQ(100000, upper);
}

TEST_F(ControlsTest, SliderRangeAndPosition)
{
    CSliderCtrl slider;
    ASSERT_TRUE(slider.Create(WS_VISIBLE | TBS_HORZ, kRect, &parent, kControlId));
    slider.SetRange(10, 20);
    int low = 0, high = 0;
    slider.GetRange(low, high);
    EXPECT_EQ(10, low);
    EXPECT_EQ(20, high);
    slider.SetPos(15);
    EXPECT_EQ(15, slider.GetPos());
    slider.SetPos(50);  // the control keeps it in range
    EXPECT_EQ(20, slider.GetPos());
}

TEST_F(ControlsTest, ToolTipToolsTextsAndCount)
{
    CToolTipCtrl tips;
    ASSERT_TRUE(tips.Create(&parent, 0));
    EXPECT_TRUE(tips.GetStyle() & WS_POPUP);
    CRect cell(0, 0, 20, 20);
    ASSERT_TRUE(tips.AddTool(&parent, "first cell", &cell, 1));
    ASSERT_TRUE(tips.AddTool(&parent, "second cell", CRect(20, 0, 40, 20), 2));
    CButton button;
    ASSERT_TRUE(button.Create("b", WS_VISIBLE, CRect(50, 50, 90, 70), &parent, kControlId));
    ASSERT_TRUE(tips.AddTool(&button, "the button"));  // the window itself is the tool
    EXPECT_EQ(3, tips.GetToolCount());
    EXPECT_FALSE(tips.AddTool(&parent, 54321u, &cell, 4));  // no such string
    EXPECT_FALSE(tips.AddTool(nullptr, "nothing"));

    CString text;
    tips.GetText(text, &parent, 2);
    EXPECT_STREQ("second cell", text);
    tips.UpdateTipText("changed", &parent, 2);
    tips.GetText(text, &parent, 2);
    EXPECT_STREQ("changed", text);
    tips.GetText(text, &button);
    EXPECT_STREQ("the button", text);

    tips.Activate(TRUE);
    MSG move = {parent.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5), 0, {5, 5}};
    tips.RelayEvent(&move);
    tips.Pop();
    tips.DelTool(&parent, 1);
    tips.DelTool(&button);
    EXPECT_EQ(1, tips.GetToolCount());
}

// A toolbar's parent that counts the per-button restore notifications.
class RestoreCountingParent : public CWnd {
public:
    int restores = 0;
    afx_msg void OnRestore(NMHDR*, LRESULT* result)
    {
        ++restores;
        *result = 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RestoreCountingParent, CWnd)
    ON_NOTIFY(TBN_RESTORE, kControlId, OnRestore)
END_MESSAGE_MAP()

TEST(CToolBarCtrl, LayoutIsSavedAndRestoredThroughTheRegistry)
{
    // A key of the test's own, removed whole at the end.
    const char* kTestRoot = "Software\\SorvantaFrameworkTests";
    const char* kSubKey = "Software\\SorvantaFrameworkTests\\Toolbar";
    RestoreCountingParent parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_OVERLAPPEDWINDOW, 0, 0, 300, 100, nullptr, nullptr));
    CToolBarCtrl bar;
    ASSERT_TRUE(bar.CreateEx(0, TOOLBARCLASSNAMEA, nullptr, WS_CHILD | WS_VISIBLE | CCS_ADJUSTABLE, 0, 0, 200, 30,
                             parent.m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kControlId))));
    bar.SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    TBBUTTON buttons[3] = {};
    for (int i = 0; i < 3; ++i) {
        buttons[i].iBitmap = I_IMAGENONE;
        buttons[i].idCommand = 100 + i;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = BTNS_BUTTON;
    }
    ASSERT_TRUE(bar.SendMessage(TB_ADDBUTTONSA, 3, reinterpret_cast<LPARAM>(buttons)));
    bar.SaveState(HKEY_CURRENT_USER, kSubKey, "Layout");
    DWORD size = 0;
    EXPECT_EQ(ERROR_SUCCESS,
              RegGetValueA(HKEY_CURRENT_USER, kSubKey, "Layout", RRF_RT_REG_BINARY, nullptr, nullptr, &size));
    EXPECT_GT(size, 0u);

    // Restoring asks the parent about each saved button.
    bar.RestoreState(HKEY_CURRENT_USER, kSubKey, "Missing");
    EXPECT_EQ(0, parent.restores);
    bar.RestoreState(HKEY_CURRENT_USER, kSubKey, "Layout");
    EXPECT_GE(parent.restores, 3);
    EXPECT_EQ(ERROR_SUCCESS, RegDeleteTreeA(HKEY_CURRENT_USER, kTestRoot));
    parent.DestroyWindow();
}

TEST(ControlRegistration, ClassNamesMapToTheirPartOfTheLibrary)
{
    struct Case {
        const char* why;
        LPCSTR className;
        DWORD bits;
    };
    const Case kCases[] = {
        {"list view", "SysListView32", ICC_LISTVIEW_CLASSES},
        {"case does not matter", "syslistview32", ICC_LISTVIEW_CLASSES},
        {"tree view", "SysTreeView32", ICC_TREEVIEW_CLASSES},
        {"up-down", "msctls_updown32", ICC_UPDOWN_CLASS},
        {"progress", "msctls_progress32", ICC_PROGRESS_CLASS},
        {"trackbar", "msctls_trackbar32", ICC_BAR_CLASSES},
        {"tooltips", "tooltips_class32", ICC_TAB_CLASSES},
        {"rebar", "ReBarWindow32", ICC_COOL_CLASSES},
        {"extended combo box", "ComboBoxEx32", ICC_USEREX_CLASSES},
        {"a system class", "BUTTON", 0},
        {"no class", nullptr, 0},
        {"an atom", MAKEINTRESOURCEA(0x8000), 0},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.bits, AfxCommonControlClassBits(c.className));
    }
    EXPECT_TRUE(AfxDeferRegisterClass(ICC_LISTVIEW_CLASSES | ICC_USEREX_CLASSES));
    EXPECT_TRUE(AfxDeferRegisterClass(ICC_LISTVIEW_CLASSES));  // again: nothing left to do
}

TEST_F(ControlsTest, CreatingACommonControlByClassNameRegistersItsClass)
{
    CWnd comboEx;
    ASSERT_TRUE(comboEx.Create(WC_COMBOBOXEXA, nullptr, WS_VISIBLE | CBS_DROPDOWN, kRect, &parent, kControlId));
    char className[32] = {};
    ::GetClassNameA(comboEx.m_hWnd, className, sizeof className);
    EXPECT_STREQ("ComboBoxEx32", className);
}

} // namespace
