// The library's list control: creation, notification connectors and the check-box,
// focus and search operations.
#include "lib/src/Win2/Wnd/iListCtrl.h"

namespace {

// The list view keeps an item's check box in its state image: 1 unchecked, 2 checked.
constexpr UINT kStateImageMask = LVIS_STATEIMAGEMASK;
constexpr int kListStateImageShift = 12;
// A change of these state-image bits is a check box the user (or SetCheck) turned.
constexpr UINT kCheckStateBits = 0x3000;

} // namespace

IMPLEMENT_DYNAMIC(iListCtrl, CListCtrl)

BEGIN_MESSAGE_MAP(iListCtrl, CListCtrl)
    ON_NOTIFY_REFLECT_EX(LVN_GETDISPINFOA, OnGetDispInfo)
    ON_NOTIFY_REFLECT_EX(LVN_ITEMCHANGED, OnItemChanged)
    ON_NOTIFY_REFLECT_EX(LVN_ODFINDITEMA, OnOdFindItem)
    ON_NOTIFY_REFLECT_EX(LVN_COLUMNCLICK, OnColumnClick)
    ON_NOTIFY_REFLECT_EX(NM_CLICK, OnClick)
    ON_NOTIFY_REFLECT_EX(NM_DBLCLK, OnDblClk)
    ON_NOTIFY_REFLECT_EX(NM_RCLICK, OnRClick)
    ON_NOTIFY_REFLECT_EX(NM_RDBLCLK, OnRDblClk)
    ON_NOTIFY_REFLECT_EX(NM_RETURN, OnReturn)
END_MESSAGE_MAP()

iListCtrl::iListCtrl() = default;

iListCtrl::iListCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
{
    CRect mapped(rect);
    MapDialogRectFor(parent, &mapped);
    CListCtrl::Create(style, mapped, parent, id);
    JoinParent(*this, parent, m_access);
}

iListCtrl::iListCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle,
                     LPVOID param)
{
    CreateControlWindow(*this, WC_LISTVIEWA, parent, rect, style, text, id, exStyle, param);
    JoinParent(*this, parent, m_access);
}

iListCtrl::~iListCtrl() = default;

void iListCtrl::SetOnItemChanged(CObject* target, iNotifyConnector::Function function)
{
    m_onItemChanged.Set(target, function);
}

int iListCtrl::GetFocusedItem() const
{
    return GetNextItem(-1, LVNI_FOCUSED);
}

BOOL iListCtrl::SetItemFocus(int item, BOOL on)
{
    return SetItemState(item, on ? LVIS_FOCUSED : 0, LVIS_FOCUSED);
}

DWORD iListCtrl::HasCheckBoxes() const
{
    return GetExtendedStyle() & LVS_EX_CHECKBOXES;
}

void iListCtrl::SetCheckBoxes(BOOL on)
{
    SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, on ? LVS_EX_CHECKBOXES : 0);
}

void iListCtrl::SetFullRowSelect(BOOL on)
{
    SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, on ? LVS_EX_FULLROWSELECT : 0);
}

int iListCtrl::GetCheck(int item) const
{
    return static_cast<int>(GetItemState(item, kStateImageMask) >> kListStateImageShift) - 1;
}

void iListCtrl::SetCheck(int item, int check)
{
    const UINT state = static_cast<UINT>(check + 1) << kListStateImageShift;
    if (item >= 0) {
        SetItemState(item, state, kStateImageMask);
        return;
    }
    SendMessage(WM_SETREDRAW, FALSE);
    const int count = GetItemCount();
    for (int each = 0; each < count; ++each)
        SetItemState(each, state, kStateImageMask);
    SendMessage(WM_SETREDRAW, TRUE);
}

int iListCtrl::FindItemByText(int start, LPCSTR text) const
{
    LVFINDINFOA find = {};
    find.flags = LVFI_STRING;
    find.psz = text;
    find.lParam = 0;
    return static_cast<int>(SendMessage(LVM_FINDITEMA, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(&find)));
}

BOOL iListCtrl::OnGetDispInfo(NMHDR* header, LRESULT* result)
{
    m_onGetDispInfo.Fire(this, header, result);
    return FALSE;
}

BOOL iListCtrl::OnItemChanged(NMHDR* header, LRESULT* result)
{
    m_onItemChanged.Fire(this, header, result);
    const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(header);
    if ((change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & kCheckStateBits))
        m_access.SetModified();
    return FALSE;
}

BOOL iListCtrl::FireUnlessAnswered(const iNotifyConnector& connector, NMHDR* header, LRESULT* result)
{
    connector.Fire(this, header, result);
    return *result != 0;
}

// The notifications below go on to the parent unless the target stored a non-zero result.
BOOL iListCtrl::OnOdFindItem(NMHDR* header, LRESULT* result)
{
    return FireUnlessAnswered(m_onOdFindItem, header, result);
}

BOOL iListCtrl::OnColumnClick(NMHDR* header, LRESULT* result)
{
    return FireUnlessAnswered(m_onColumnClick, header, result);
}

BOOL iListCtrl::OnClick(NMHDR* header, LRESULT* result)
{
    return FireUnlessAnswered(m_onClick, header, result);
}

BOOL iListCtrl::OnDblClk(NMHDR* header, LRESULT* result)
{
    return FireUnlessAnswered(m_onDblClk, header, result);
}

BOOL iListCtrl::OnRClick(NMHDR* header, LRESULT* result)
{
    return FireUnlessAnswered(m_onRClick, header, result);
}

BOOL iListCtrl::OnRDblClk(NMHDR* header, LRESULT* result)
{
    return FireUnlessAnswered(m_onRDblClk, header, result);
}

BOOL iListCtrl::OnReturn(NMHDR* header, LRESULT* result)
{
    return FireUnlessAnswered(m_onReturn, header, result);
}
