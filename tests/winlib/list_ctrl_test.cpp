// iListCtrl and iImageList: the two creating forms, the nine notifications and which of
// them the parent still sees, the check-box rule on a page, check states, focus, search by
// text, and image lists made in one step.
#include "lib/src/Win2/Wnd/iImageList.h"
#include "lib/src/Win2/Wnd/iListCtrl.h"
#include "lib/src/Win2/Wnd/iWnd.h"

#include "framework/window_test_support.h"
#include "winlib_test_support.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using test_support::ClassOf;
using winlib_test::PageLikeParent;

constexpr UINT kListId = 300;

// A container that records every list notification its own map receives, and answers
// WM_GETFONT with the font it was given (a plain window keeps none).
class NotifiedParent : public iWnd {
public:
    NotifiedParent() : iWnd(nullptr, CRect(0, 0, 400, 300), WS_POPUP, "parent", 0, 0, nullptr) {}
    std::vector<UINT> seen;
    HFONT font = nullptr;

protected:
    void OnListNotify(UINT, NMHDR* header, LRESULT*) { seen.push_back(header->code); }
    LRESULT OnGetFont(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(font); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(NotifiedParent, iWnd)
    ON_MESSAGE(WM_GETFONT, OnGetFont)
    ON_NOTIFY_RANGE(LVN_GETDISPINFOA, kListId, kListId, OnListNotify)
    ON_NOTIFY_RANGE(LVN_ITEMCHANGED, kListId, kListId, OnListNotify)
    ON_NOTIFY_RANGE(LVN_ODFINDITEMA, kListId, kListId, OnListNotify)
    ON_NOTIFY_RANGE(LVN_COLUMNCLICK, kListId, kListId, OnListNotify)
    ON_NOTIFY_RANGE(NM_CLICK, kListId, kListId, OnListNotify)
    ON_NOTIFY_RANGE(NM_DBLCLK, kListId, kListId, OnListNotify)
    ON_NOTIFY_RANGE(NM_RCLICK, kListId, kListId, OnListNotify)
    ON_NOTIFY_RANGE(NM_RDBLCLK, kListId, kListId, OnListNotify)
    ON_NOTIFY_RANGE(NM_RETURN, kListId, kListId, OnListNotify)
END_MESSAGE_MAP()

// The object a connector calls: records the call and stores its answer in the result.
class NotifyTarget : public CCmdTarget {
public:
    void OnEvent(CWnd* sender, NMHDR* header, LRESULT* result)
    {
        senders.push_back(sender);
        codes.push_back(header->code);
        *result = answer;
    }
    std::vector<CWnd*> senders;
    std::vector<UINT> codes;
    LRESULT answer = 0;
};

// Reaches the connectors that have no setter, and records the messages the list receives.
class TestList : public iListCtrl {
public:
    using iListCtrl::iListCtrl;
    using iListCtrl::m_onClick;
    using iListCtrl::m_onColumnClick;
    using iListCtrl::m_onDblClk;
    using iListCtrl::m_onGetDispInfo;
    using iListCtrl::m_onItemChanged;
    using iListCtrl::m_onOdFindItem;
    using iListCtrl::m_onRClick;
    using iListCtrl::m_onRDblClk;
    using iListCtrl::m_onReturn;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (recording)
            messages.push_back(message);
        return iListCtrl::WindowProc(message, wParam, lParam);
    }
    bool recording = false;
    std::vector<UINT> messages;
};

const CRect kListRect(10, 10, 310, 210);
constexpr DWORD kReport = WS_VISIBLE | LVS_REPORT;

TestList* NewList(CWnd* parent, DWORD style = kReport)
{
    return new TestList(parent, kListRect, style, "", kListId, 0, nullptr);
}

void AddItems(CListCtrl& list, std::initializer_list<const char*> texts)
{
    list.InsertColumn(0, "Name", LVCFMT_LEFT, 100);
    int index = 0;
    for (const char* text : texts) {
        ASSERT_EQ(index, list.InsertItem(index, text));
        ++index;
    }
}

// The notification as the list view sends it to its parent.
LRESULT SendNotification(CWnd& list, UINT code)
{
    NMLISTVIEW notification = {};
    notification.hdr.hwndFrom = list.m_hWnd;
    notification.hdr.idFrom = list.GetDlgCtrlID();
    notification.hdr.code = code;
    notification.iItem = -1;
    return ::SendMessageA(::GetParent(list.m_hWnd), WM_NOTIFY, notification.hdr.idFrom,
                          reinterpret_cast<LPARAM>(&notification));
}

TEST(ListCtrlCreate, WindowFormIsAChildListWithTheParentsFont)
{
    NotifiedParent parent;
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(100, "Arial"));
    parent.font = static_cast<HFONT>(font.m_hObject);
    TestList* list = NewList(&parent, WS_VISIBLE | LVS_REPORT);
    ASSERT_NE(nullptr, list->m_hWnd);
    EXPECT_EQ("SysListView32", ClassOf(list->m_hWnd));
    EXPECT_TRUE(list->GetStyle() & WS_CHILD);
    EXPECT_EQ(static_cast<int>(kListId), list->GetDlgCtrlID());
    EXPECT_EQ(font.m_hObject, reinterpret_cast<HGDIOBJ>(list->SendMessage(WM_GETFONT)));
    CRect where;
    list->GetWindowRect(&where);
    parent.ScreenToClient(&where);
    EXPECT_EQ(kListRect, where);  // an iWnd works in pixels
    EXPECT_EQ(1u, parent.GetWindowSet().count(list));
    EXPECT_TRUE(list->IsKindOf(RUNTIME_CLASS(iListCtrl)));
    EXPECT_STREQ("iListCtrl", RUNTIME_CLASS(iListCtrl)->m_lpszClassName);
}

TEST(ListCtrlCreate, DialogItemFormJoinsTheSetAndLeavesItWhenDeleted)
{
    NotifiedParent parent;
    auto* list = new iListCtrl(&parent, kListRect, WS_VISIBLE | LVS_REPORT, "unused", kListId);
    ASSERT_NE(nullptr, list->m_hWnd);
    EXPECT_EQ(&parent, list->GetParent());
    EXPECT_EQ(1u, parent.GetWindowSet().count(list));
    delete list;
    EXPECT_TRUE(parent.GetWindowSet().empty());
}

TEST(ListCtrlCreate, WithoutParentNoWindowAndNoSet)
{
    iListCtrl list(nullptr, kListRect, LVS_REPORT, "", kListId);
    EXPECT_EQ(nullptr, list.GetWindowSetAccess().GetSet());
    EXPECT_EQ(nullptr, list.GetWindowSetAccess().GetControl());
}

// Empty connectors: each of the nine notifications reaches the parent as well.
TEST(ListCtrlNotify, EmptyConnectorsLetTheParentSeeEveryNotification)
{
    const UINT kCodes[] = {LVN_GETDISPINFOA, LVN_ITEMCHANGED, LVN_ODFINDITEMA, LVN_COLUMNCLICK, NM_CLICK,
                           NM_DBLCLK,        NM_RCLICK,       NM_RDBLCLK,      NM_RETURN};
    NotifiedParent parent;
    TestList* list = NewList(&parent);
    for (UINT code : kCodes) {
        SCOPED_TRACE(code);
        parent.seen.clear();
        SendNotification(*list, code);
        EXPECT_EQ(std::vector<UINT>{code}, parent.seen);
    }
}

// Each connector fires with the list as sender; what its target stores in the result
// decides whether the parent sees the notification, except for the two that always pass.
TEST(ListCtrlNotify, ConnectorRunsFirstAndItsResultDecidesForTheParent)
{
    struct Case { UINT code; iNotifyConnector TestList::*connector; bool alwaysPasses; };
    const Case kCases[] = {
        {LVN_GETDISPINFOA, &TestList::m_onGetDispInfo, true},
        {LVN_ITEMCHANGED, &TestList::m_onItemChanged, true},
        {LVN_ODFINDITEMA, &TestList::m_onOdFindItem, false},
        {LVN_COLUMNCLICK, &TestList::m_onColumnClick, false},
        {NM_CLICK, &TestList::m_onClick, false},
        {NM_DBLCLK, &TestList::m_onDblClk, false},
        {NM_RCLICK, &TestList::m_onRClick, false},
        {NM_RDBLCLK, &TestList::m_onRDblClk, false},
        {NM_RETURN, &TestList::m_onReturn, false},
    };
    NotifiedParent parent;
    TestList* list = NewList(&parent);
    NotifyTarget target;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.code);
        list->*c.connector = iNotifyConnector(&target, &NotifyTarget::OnEvent);
        for (LRESULT answer : {0, 1}) {
            SCOPED_TRACE(answer);
            target.answer = answer;
            target.senders.clear();
            target.codes.clear();
            parent.seen.clear();
            SendNotification(*list, c.code);
            EXPECT_EQ(std::vector<CWnd*>{list}, target.senders);
            EXPECT_EQ(std::vector<UINT>{c.code}, target.codes);
            const bool parentSees = c.alwaysPasses || answer == 0;
            EXPECT_EQ(parentSees ? 1u : 0u, parent.seen.size());
        }
        list->*c.connector = iNotifyConnector();
    }
}

TEST(ListCtrlNotify, SettersFillTheirConnectors)
{
    NotifiedParent parent;
    TestList* list = NewList(&parent);
    NotifyTarget target;
    target.answer = 1;
    list->SetOnItemChanged(&target, &NotifyTarget::OnEvent);
    list->SetOnDblClk(iNotifyConnector(&target, &NotifyTarget::OnEvent));
    list->SetOnReturn(iNotifyConnector(&target, &NotifyTarget::OnEvent));
    for (UINT code : {LVN_ITEMCHANGED, NM_DBLCLK, NM_RETURN, NM_CLICK})
        SendNotification(*list, code);
    EXPECT_EQ((std::vector<UINT>{LVN_ITEMCHANGED, NM_DBLCLK, NM_RETURN}), target.codes);
    // Only the item change passes the stored 1; the click has no connector.
    EXPECT_EQ((std::vector<UINT>{LVN_ITEMCHANGED, NM_CLICK}), parent.seen);
}

// A real item change: the list view itself reports the check-box change to the connector.
TEST(ListCtrlNotify, RealCheckChangeReachesTheItemChangedConnector)
{
    NotifiedParent parent;
    TestList* list = NewList(&parent);
    list->SetCheckBoxes(TRUE);
    AddItems(*list, {"one"});
    NotifyTarget target;
    list->SetOnItemChanged(&target, &NotifyTarget::OnEvent);
    list->SetCheck(0, 1);
    ASSERT_FALSE(target.codes.empty());
    EXPECT_EQ(static_cast<UINT>(LVN_ITEMCHANGED), target.codes.back());
    EXPECT_EQ(list, target.senders.back());
}

TEST(ListCtrlCheck, CheckChangesMarkThePageButSelectionDoesNot)
{
    PageLikeParent page;
    TestList* list = NewList(&page);
    list->SetCheckBoxes(TRUE);
    AddItems(*list, {"one", "two"});
    const int marksBefore = page.marks;

    list->SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(marksBefore, page.marks);

    list->SetCheck(0, 1);
    EXPECT_EQ(marksBefore + 1, page.marks);
    list->SetCheck(0, 0);
    EXPECT_EQ(marksBefore + 2, page.marks);
    // Setting the same state again changes nothing, so nothing is marked.
    list->SetCheck(0, 0);
    EXPECT_EQ(marksBefore + 2, page.marks);
}

TEST(ListCtrlCheck, CheckValuesAndItemsWithoutStateImage)
{
    NotifiedParent parent;
    TestList* list = NewList(&parent);
    AddItems(*list, {"one", "two", "three"});
    EXPECT_EQ(0u, list->HasCheckBoxes());
    EXPECT_EQ(-1, list->GetCheck(0));

    list->SetCheckBoxes(TRUE);
    EXPECT_NE(0u, list->HasCheckBoxes());
    list->SetCheck(-1, 0);
    for (int item = 0; item < 3; ++item)
        EXPECT_EQ(0, list->GetCheck(item)) << item;
    list->SetCheck(1, 1);
    EXPECT_EQ(0, list->GetCheck(0));
    EXPECT_EQ(1, list->GetCheck(1));
    EXPECT_EQ(0, list->GetCheck(2));
    list->SetCheck(-1, 1);
    for (int item = 0; item < 3; ++item)
        EXPECT_EQ(1, list->GetCheck(item)) << item;

    list->SetCheckBoxes(FALSE);
    EXPECT_EQ(0u, list->HasCheckBoxes());
}

TEST(ListCtrlCheck, AllItemsOfAnEmptyListSendsOnlyTheRedrawPair)
{
    NotifiedParent parent;
    TestList* list = NewList(&parent);
    list->SetCheckBoxes(TRUE);
    list->recording = true;
    list->SetCheck(-1, 1);
    list->recording = false;
    EXPECT_EQ((std::vector<UINT>{WM_SETREDRAW, LVM_GETITEMCOUNT, WM_SETREDRAW}), list->messages);
}

TEST(ListCtrlStyle, FullRowSelectTurnsOnlyItsBit)
{
    NotifiedParent parent;
    TestList* list = NewList(&parent);
    list->SetCheckBoxes(TRUE);
    list->SetFullRowSelect(TRUE);
    EXPECT_EQ(static_cast<DWORD>(LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES),
              list->GetExtendedStyle() & (LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES));
    list->SetFullRowSelect(FALSE);
    EXPECT_EQ(static_cast<DWORD>(LVS_EX_CHECKBOXES),
              list->GetExtendedStyle() & (LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES));
}

TEST(ListCtrlFocus, FocusMovesWithoutSelecting)
{
    NotifiedParent parent;
    TestList* list = NewList(&parent);
    AddItems(*list, {"one", "two", "three"});
    NotifyTarget target;
    list->SetOnItemChanged(&target, &NotifyTarget::OnEvent);
    EXPECT_TRUE(list->SetItemFocus(2, TRUE));
    EXPECT_EQ(2, list->GetFocusedItem());
    EXPECT_EQ(0u, list->GetSelectedCount());
    EXPECT_TRUE(list->SetItemFocus(2, FALSE));
    EXPECT_EQ(-1, list->GetFocusedItem());
    EXPECT_EQ(0u, list->GetSelectedCount());
}

TEST(ListCtrlFind, WholeTextWithoutRegardToCase)
{
    NotifiedParent parent;
    TestList* list = NewList(&parent);
    AddItems(*list, {"Alpha", "Beta", "alpha", "Alphabet"});
    struct Case { const char* why; int start; const char* text; int found; };
    const Case kCases[] = {
        {"exact, from the first", -1, "Beta", 1},
        {"other letter case", -1, "ALPHA", 0},
        {"after the first match", 0, "alpha", 2},
        {"a prefix alone is no match", -1, "Alph", -1},
        {"longer than any text", -1, "Alphabets", -1},
        {"only item 3 matches", -1, "alphabet", 3},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(c.found, list->FindItemByText(c.start, c.text));
    }
}

TEST(ListCtrlLifetime, ContainerDeletesItsLists)
{
    auto parent = std::make_unique<NotifiedParent>();
    TestList* first = NewList(parent.get());
    TestList* second = NewList(parent.get());
    EXPECT_EQ(2u, parent->GetWindowSet().size());
    HWND firstWindow = first->m_hWnd;
    HWND secondWindow = second->m_hWnd;
    parent.reset();
    EXPECT_FALSE(::IsWindow(firstWindow));
    EXPECT_FALSE(::IsWindow(secondWindow));
}

// Image lists made in one step.

HICON MakeIcon()
{
    return ::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION));
}

TEST(ImageListCreate, CreateFormHoldsAnEmptyListOfTheSize)
{
    iImageList images(16, 12, ILC_COLOR32 | ILC_MASK, 0, 4);
    ASSERT_NE(nullptr, images.GetSafeHandle());
    EXPECT_EQ(0, images.GetImageCount());
    int cx = 0, cy = 0;
    ASSERT_TRUE(::ImageList_GetIconSize(images.GetSafeHandle(), &cx, &cy));
    EXPECT_EQ(16, cx);
    EXPECT_EQ(12, cy);
}

TEST(ImageListCreate, DuplicateOfNullOrEmptyHoldsNothing)
{
    iImageList fromNull(static_cast<CImageList*>(nullptr));
    EXPECT_EQ(nullptr, fromNull.GetSafeHandle());
    iImageList empty;
    iImageList fromEmpty(&empty);
    EXPECT_EQ(nullptr, fromEmpty.GetSafeHandle());
}

TEST(ImageListCreate, DuplicateIsAnIndependentCopy)
{
    iImageList original(16, 16, ILC_COLOR32 | ILC_MASK, 0, 4);
    ASSERT_EQ(0, original.Add(MakeIcon()));
    ASSERT_EQ(1, original.Add(MakeIcon()));
    iImageList copy(&original);
    ASSERT_NE(nullptr, copy.GetSafeHandle());
    EXPECT_NE(original.GetSafeHandle(), copy.GetSafeHandle());
    EXPECT_EQ(2, copy.GetImageCount());
    original.Remove(0);
    EXPECT_EQ(1, original.GetImageCount());
    EXPECT_EQ(2, copy.GetImageCount());
}

TEST(ImageListCreate, AttachFormOwnsTheHandle)
{
    HIMAGELIST list = ::ImageList_Create(8, 8, ILC_COLOR32, 0, 1);
    ASSERT_NE(nullptr, list);
    {
        iImageList images(list);
        EXPECT_EQ(list, images.GetSafeHandle());
        EXPECT_EQ(&images, CImageList::FromHandlePermanent(list));
    }
    EXPECT_EQ(nullptr, CImageList::FromHandlePermanent(list));
}

TEST(ImageListCreate, MergeFormMakesOneImage)
{
    iImageList first(16, 16, ILC_COLOR32 | ILC_MASK, 0, 1);
    iImageList second(16, 16, ILC_COLOR32 | ILC_MASK, 0, 1);
    ASSERT_EQ(0, first.Add(MakeIcon()));
    ASSERT_EQ(0, second.Add(MakeIcon()));
    iImageList merged(first, 0, second, 0, 2, 3);
    ASSERT_NE(nullptr, merged.GetSafeHandle());
    EXPECT_EQ(1, merged.GetImageCount());
}

// The system's own check-mark bitmap (a resource of user32, OBM_CHECK) stands in for a
// program's strip.
TEST(ImageListCreate, BitmapResourceCutIntoImages)
{
    constexpr UINT kCheckBitmapId = 32760;
    HINSTANCE previous = AfxGetResourceHandle();
    AfxSetResourceHandle(::GetModuleHandleA("user32.dll"));
    BITMAP size = {};
    HBITMAP check = ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(kCheckBitmapId));
    ASSERT_NE(nullptr, check);
    ::GetObjectA(check, sizeof size, &size);
    ::DeleteObject(check);
    iImageList byId(kCheckBitmapId, 1, 1, RGB(255, 0, 255));
    AfxSetResourceHandle(previous);
    ASSERT_NE(nullptr, byId.GetSafeHandle());
    EXPECT_EQ(size.bmWidth, byId.GetImageCount());
}

TEST(ImageListCreate, MissingBitmapResourceHoldsNothing)
{
    iImageList byId(static_cast<UINT>(0x7ABC), 16, 1, RGB(255, 0, 255));
    EXPECT_EQ(nullptr, byId.GetSafeHandle());
    iImageList byName("NO_SUCH_BITMAP", 16, 1, RGB(255, 0, 255));
    EXPECT_EQ(nullptr, byName.GetSafeHandle());
}

TEST(ImageListOnList, SmallImagesGoToTheList)
{
    NotifiedParent parent;
    TestList* list = NewList(&parent);
    iImageList images(16, 16, ILC_COLOR32 | ILC_MASK, 0, 4);
    ASSERT_EQ(0, images.Add(MakeIcon()));
    list->SetImageList(&images, LVSIL_SMALL);
    EXPECT_EQ(&images, list->GetImageList(LVSIL_SMALL));
    ASSERT_EQ(0, list->InsertColumn(0, "Name", LVCFMT_LEFT, 100));
    ASSERT_EQ(0, list->InsertItem(0, "pictured", 0));
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = 0;
    ASSERT_TRUE(list->GetItem(&item));
    EXPECT_EQ(0, item.iImage);
    // The list must not outlive the images it shows: take them back before they go.
    list->SetImageList(nullptr, LVSIL_SMALL);
}

} // namespace
