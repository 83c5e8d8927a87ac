// The flat header: its one-time set-up, fonts, the sort column and its arrow, the
// alignment and sort commands of its menu, and item queries.
#include "toolkit/controls/QZHeaderCtrl.h"

#include "framework/ListView.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZMessages.h"

IMPLEMENT_DYNAMIC(CQZFlatHeaderCtrl, CQZHeaderCtrl)

BEGIN_MESSAGE_MAP(CQZFlatHeaderCtrl, CQZHeaderCtrl)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONDOWN()
    ON_WM_WINDOWPOSCHANGED()
    ON_MESSAGE(WM_QZ_INITCONTROL, OnDeferredSetup)
    ON_COMMAND(ID_QZ_HEADER_SORT_ASCENDING, OnSortAscending)
    ON_COMMAND(ID_QZ_HEADER_SORT_DESCENDING, OnSortDescending)
    ON_COMMAND(ID_QZ_HEADER_ALIGN_LEFT, OnAlignLeft)
    ON_COMMAND(ID_QZ_HEADER_ALIGN_CENTER, OnAlignCenter)
    ON_COMMAND(ID_QZ_HEADER_ALIGN_RIGHT, OnAlignRight)
END_MESSAGE_MAP()

CQZFlatHeaderCtrl::CQZFlatHeaderCtrl()
    : m_ptLastRClick(0, 0), m_nMenuRes(0), m_nMenuPopup(0), m_nMargin(6), m_nSortColumn(-1), m_bLButtonDown(0),
      m_nSortDirection(-1), m_bShowSortArrow(0), m_bRClickMenu(1), m_bSetupPending(1)
{
}

void CQZFlatHeaderCtrl::PreSubclassWindow()
{
    CQZHeaderCtrl::PreSubclassWindow();
    PostMessage(WM_QZ_INITCONTROL);
}

int CQZFlatHeaderCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CQZHeaderCtrl::OnCreate(lpCreateStruct) == -1)
        return -1;
    SendMessage(WM_QZ_INITCONTROL);
    return 0;
}

LRESULT CQZFlatHeaderCtrl::OnDeferredSetup(WPARAM, LPARAM)
{
    if (!m_bSetupPending)
        return 0;
    m_bSetupPending = 0;
    // The list must not paint over its header.
    if (HWND list = ::GetParent(m_hWnd))
        CWnd::ModifyStyle(list, 0, WS_CLIPCHILDREN, 0);
    return 0;
}

CWnd* CQZFlatHeaderCtrl::GetListWnd() const
{
    CWnd* list = CWnd::FromHandlePermanent(::GetParent(m_hWnd));
    if (list && (list->IsKindOf(RUNTIME_CLASS(CListCtrl)) || list->IsKindOf(RUNTIME_CLASS(CListView))))
        return list;
    return nullptr;
}

bool CQZFlatHeaderCtrl::IsListSortable() const
{
    HWND list = ::GetParent(m_hWnd);
    return list && !(::GetWindowLongPtrA(list, GWL_STYLE) & LVS_NOSORTHEADER);
}

void CQZFlatHeaderCtrl::SetPopupMenu(UINT nMenuID, int nSubMenu)
{
    m_nMenuRes = nMenuID;
    m_nMenuPopup = nSubMenu;
}

void CQZFlatHeaderCtrl::SetFontBold(BOOL bBold)
{
    SetHeaderFont(bBold);
    Invalidate(TRUE);
}

void CQZFlatHeaderCtrl::SetHeaderFont(BOOL bBold)
{
    CFont& font = bBold ? qzAfxData.fontBold : qzAfxData.fontNormal;
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font.GetSafeHandle()), TRUE);
}

int CQZFlatHeaderCtrl::SetSortImage(int nColumn, BOOL bAscending)
{
    const int previous = m_nSortColumn;
    m_nSortColumn = nColumn;
    m_nSortDirection = bAscending ? 1 : 0;
    HDITEMA item = {};
    item.mask = HDI_FORMAT | HDI_BITMAP;
    if (CHeaderCtrl::GetItem(nColumn, &item) && !item.hbm) {
        // The sort column draws itself, arrow included.
        item.mask = HDI_FORMAT;
        item.fmt |= HDF_OWNERDRAW;
        CHeaderCtrl::SetItem(nColumn, &item);
        Invalidate();
    }
    return previous;
}

void CQZFlatHeaderCtrl::ShowSortArrow(BOOL bShow)
{
    m_bShowSortArrow = bShow;
    Invalidate();
}

int CQZFlatHeaderCtrl::ItemFromPoint(CPoint point)
{
    const int count = GetItemCount();
    for (int i = 0; i < count; ++i) {
        CRect rect;
        if (GetItemRect(i, &rect) && rect.PtInRect(point))
            return i;
    }
    return -1;
}

int CQZFlatHeaderCtrl::SetAlignment(int nFormat)
{
    const int item = ItemFromPoint(m_ptLastRClick);
    CWnd* list = item >= 0 ? GetListWnd() : nullptr;
    if (!list)
        return 0;
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT;
    if (!list->SendMessage(LVM_GETCOLUMNA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&column)))
        return 0;
    column.fmt = (column.fmt & ~LVCFMT_JUSTIFYMASK) | (nFormat & LVCFMT_JUSTIFYMASK);
    list->SendMessage(LVM_SETCOLUMNA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&column));
    list->SendMessage(LVM_SETWORKAREAS, 0, 0);
    return 0;
}

int CQZFlatHeaderCtrl::GetItemCount()
{
    return static_cast<int>(SendMessage(HDM_GETITEMCOUNT));
}

BOOL CQZFlatHeaderCtrl::GetOrderArray(LPINT piArray, int nCount, int nCapacity)
{
    const int items = GetItemCount();
    if (nCount == -1)
        nCount = items;
    // The control writes an entry for every item once it is told enough: never more than
    // the array holds.
    if (!piArray || items < 0 || nCount < 0 || items > nCapacity || nCount > nCapacity)
        return FALSE;
    return static_cast<BOOL>(SendMessage(HDM_GETORDERARRAY, static_cast<WPARAM>(nCount), reinterpret_cast<LPARAM>(piArray)));
}

BOOL CQZFlatHeaderCtrl::GetItemRect(int nIndex, LPRECT lpRect)
{
    return static_cast<BOOL>(SendMessage(HDM_GETITEMRECT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpRect)));
}

void CQZFlatHeaderCtrl::OnSortAscending()
{
    SortFromMenu(1);
}

void CQZFlatHeaderCtrl::OnSortDescending()
{
    SortFromMenu(0);
}

void CQZFlatHeaderCtrl::SortFromMenu(int nDirection)
{
    const int item = ItemFromPoint(m_ptLastRClick);
    if (item < 0 || (item == m_nSortColumn && m_nSortDirection == nDirection))
        return;
    m_nSortDirection = nDirection;
    m_nSortColumn = item;
    SendSortNotification(item);
}

void CQZFlatHeaderCtrl::SendSortNotification(int nItem)
{
    CWnd* list = GetListWnd();
    if (!list)
        return;
    CWnd* target = list->GetOwner();
    if (!target)
        return;
    char text[256] = {};
    HDITEMA item = {};
    item.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT | HDI_LPARAM | HDI_BITMAP | HDI_IMAGE | HDI_ORDER;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    CHeaderCtrl::GetItem(nItem, &item);
    NMHEADERA notify = {};
    notify.hdr.hwndFrom = m_hWnd;
    notify.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    notify.hdr.code = HDN_ITEMCLICKA;
    notify.iItem = nItem;
    // The right button: the list takes the direction from the header.
    notify.iButton = 1;
    notify.pitem = &item;
    target->SendMessage(WM_NOTIFY, notify.hdr.idFrom, reinterpret_cast<LPARAM>(&notify));
    target->SendMessageToDescendants(WM_NOTIFY, notify.hdr.idFrom, reinterpret_cast<LPARAM>(&notify), TRUE, FALSE);
}

void CQZFlatHeaderCtrl::OnAlignLeft()
{
    SetAlignment(LVCFMT_LEFT);
}

void CQZFlatHeaderCtrl::OnAlignCenter()
{
    SetAlignment(LVCFMT_CENTER);
}

void CQZFlatHeaderCtrl::OnAlignRight()
{
    SetAlignment(LVCFMT_RIGHT);
}

void CQZFlatHeaderCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    m_bLButtonDown = 1;
    CQZHeaderCtrl::OnLButtonDown(nFlags, point);
}

void CQZFlatHeaderCtrl::OnLButtonUp(UINT nFlags, CPoint point)
{
    m_bLButtonDown = 0;
    CQZHeaderCtrl::OnLButtonUp(nFlags, point);
}

void CQZFlatHeaderCtrl::OnWindowPosChanged(WINDOWPOS* lpwndpos)
{
    CQZHeaderCtrl::OnWindowPosChanged(lpwndpos);
    Invalidate(TRUE);
}
