// The library's tree view: creation, the selection connector, and the check boxes'
// mouse, keyboard and enabled handling.
#include "lib/src/Win2/Wnd/iTreeCtrl.h"

namespace {

// The tree keeps an item's check box in its state image: 1 unchecked, 2 checked.
constexpr int kUncheckedImage = 1;
constexpr int kCheckedImage = 2;
constexpr int kTreeStateImageShift = 12;

} // namespace

IMPLEMENT_DYNAMIC(iTreeCtrl, CTreeCtrl)

BEGIN_MESSAGE_MAP(iTreeCtrl, CTreeCtrl)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_NOTIFY_REFLECT_EX(TVN_SELCHANGEDA, OnSelChanged)
    ON_NOTIFY_REFLECT_EX(TVN_KEYDOWN, OnKeyDown)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

iTreeCtrl::iTreeCtrl() = default;

iTreeCtrl::iTreeCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
{
    CRect mapped(rect);
    MapDialogRectFor(parent, &mapped);
    Create(style & ~TVS_CHECKBOXES, mapped, parent, id);
    FinishCreate(parent, style);
}

iTreeCtrl::iTreeCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle, LPVOID param)
{
    CreateControlWindow(*this, WC_TREEVIEWA, parent, rect, style & ~TVS_CHECKBOXES, text, id, exStyle, param);
    FinishCreate(parent, style);
}

iTreeCtrl::~iTreeCtrl()
{
    RestoreNormalStateImages();
}

void iTreeCtrl::FinishCreate(CWnd* parent, DWORD style)
{
    CopyParentFont(this, parent);
    // Check boxes asked for at creation miss the first items on some systems; added to
    // the existing window they make the control build its state images at once.
    if (style & TVS_CHECKBOXES) {
        if (m_hWnd)
            ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(GetStyle() | TVS_CHECKBOXES));
        m_checkBoxesOn = TRUE;
    }
    static_cast<void>(m_access.Attach(this));
}

bool iTreeCtrl::CheckBoxesActive() const
{
    return m_checkBoxesOn && (GetStyle() & TVS_CHECKBOXES);
}

int iTreeCtrl::GetCheck(HTREEITEM item) const
{
    // An item that is not there has no state image: -1 as well.
    return static_cast<int>(GetItemState(item, TVIS_STATEIMAGEMASK) >> kTreeStateImageShift) - 1;
}

void iTreeCtrl::SetCheck(HTREEITEM item, BOOL check)
{
    SetItemState(item, INDEXTOSTATEIMAGEMASK(check ? kCheckedImage : kUncheckedImage), TVIS_STATEIMAGEMASK);
}

void iTreeCtrl::ToggleCheck(HTREEITEM item)
{
    SetCheck(item, GetCheck(item) != 1);
}

BOOL iTreeCtrl::EnableCheckBoxes(BOOL enable)
{
    enable = enable ? TRUE : FALSE;
    if (enable == m_checkBoxesEnabled)
        return m_checkBoxesEnabled;
    if (!m_normalStateImages)
        m_normalStateImages = reinterpret_cast<HIMAGELIST>(SendMessage(TVM_GETIMAGELIST, TVSIL_STATE));
    m_checkBoxesEnabled = enable;
    if (enable) {
        SendMessage(TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(m_normalStateImages));
        return m_checkBoxesEnabled;
    }
    if (!m_disabledStateImages) {
        m_disabledStateImages = std::make_unique<iImageList>(CImageList::FromHandle(m_normalStateImages));
        m_uncheckedDisabled = std::make_unique<iBitmap>(kUncheckedDisabledBitmap);
        m_checkedDisabled = std::make_unique<iBitmap>(kCheckedDisabledBitmap);
        // A bitmap that is not there leaves the copy of the normal image in its place.
        if (m_uncheckedDisabled->IsAttached())
            m_disabledStateImages->Replace(kUncheckedImage, m_uncheckedDisabled.get(), nullptr);
        if (m_checkedDisabled->IsAttached())
            m_disabledStateImages->Replace(kCheckedImage, m_checkedDisabled.get(), nullptr);
    }
    SendMessage(TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(m_disabledStateImages->GetSafeHandle()));
    return m_checkBoxesEnabled;
}

void iTreeCtrl::RestoreNormalStateImages()
{
    if (m_hWnd && !m_checkBoxesEnabled && m_disabledStateImages)
        SendMessage(TVM_SETIMAGELIST, TVSIL_STATE, reinterpret_cast<LPARAM>(m_normalStateImages));
}

void iTreeCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (CheckBoxesActive()) {
        UINT hit = 0;
        HTREEITEM item = HitTest(point, &hit);
        // Kept from the control: it would select the item and toggle the box itself.
        if (item && (hit & TVHT_ONITEMSTATEICON)) {
            m_pressedItem = item;
            return;
        }
        m_pressedItem = nullptr;
    }
    Default();
}

void iTreeCtrl::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (!CheckBoxesActive()) {
        Default();
        return;
    }
    UINT hit = 0;
    HTREEITEM item = HitTest(point, &hit);
    if (item && item == m_pressedItem && (hit & TVHT_ONITEMSTATEICON) && m_checkBoxesEnabled) {
        ToggleCheck(item);
        iTreeCheckNotify check = {};
        check.hItem = item;
        check.flags = nFlags;
        check.point = point;
        LRESULT result = 0;
        m_onCheck.Fire(this, &check.hdr, &result);
    } else {
        Default();
    }
    m_pressedItem = nullptr;
}

BOOL iTreeCtrl::OnSelChanged(NMHDR* header, LRESULT* result)
{
    m_onSelChanged.Fire(this, header, result);
    return FALSE;
}

// The control toggles the selected item's box itself once this notification returns.
BOOL iTreeCtrl::OnKeyDown(NMHDR* header, LRESULT* result)
{
    if (!CheckBoxesActive())
        return FALSE;
    const auto* key = reinterpret_cast<const NMTVKEYDOWN*>(header);
    if (key->wVKey != VK_SPACE) {
        *result = 0;
        return FALSE;
    }
    HTREEITEM item = GetNextItem(nullptr, TVGN_CARET);
    if (!item)
        return FALSE;
    if (m_checkBoxesEnabled) {
        // The target sees the new state; the control's own toggle then makes it stay.
        ToggleCheck(item);
        iTreeCheckNotify check = {};
        check.hItem = item;
        check.flags = key->flags;
        check.vkey = VK_SPACE;
        m_onCheck.Fire(this, &check.hdr, result);
        ToggleCheck(item);
        *result = 0;
    } else {
        // Undone by the control's own toggle: a disabled box keeps its state.
        ToggleCheck(item);
    }
    return FALSE;
}

void iTreeCtrl::OnDestroy()
{
    // Each state image list is freed by its own owner: the control gets its own back
    // before it goes, and the disabled copy stays with this object.
    RestoreNormalStateImages();
    CTreeCtrl::OnDestroy();
}
