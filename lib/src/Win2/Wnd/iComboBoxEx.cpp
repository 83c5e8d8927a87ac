// The library's extended combo box: creation, the notification connectors and the texts.
#include "lib/src/Win2/Wnd/iComboBoxEx.h"

#include <commctrl.h>

IMPLEMENT_DYNCREATE(iComboBoxEx, CComboBoxEx)

BEGIN_MESSAGE_MAP(iComboBoxEx, CComboBoxEx)
    ON_CONTROL_REFLECT_EX(CBN_ERRSPACE, OnErrSpace)
    ON_CONTROL_REFLECT_EX(CBN_SELCHANGE, OnSelChange)
    ON_CONTROL_REFLECT_EX(CBN_DBLCLK, OnDblClk)
    ON_CONTROL_REFLECT_EX(CBN_SETFOCUS, OnSetFocus)
    ON_CONTROL_REFLECT_EX(CBN_KILLFOCUS, OnKillFocus)
    ON_CONTROL_REFLECT_EX(CBN_EDITCHANGE, OnEditChange)
    ON_CONTROL_REFLECT_EX(CBN_EDITUPDATE, OnEditUpdate)
    ON_CONTROL_REFLECT_EX(CBN_DROPDOWN, OnDropDown)
    ON_CONTROL_REFLECT_EX(CBN_CLOSEUP, OnCloseUp)
    ON_CONTROL_REFLECT_EX(CBN_SELENDOK, OnSelEndOk)
    ON_CONTROL_REFLECT_EX(CBN_SELENDCANCEL, OnSelEndCancel)
END_MESSAGE_MAP()

iComboBoxEx::iComboBoxEx() = default;

iComboBoxEx::iComboBoxEx(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
{
    CRect mapped(rect);
    MapDialogRectFor(parent, &mapped);
    Create(style | WS_CHILD, mapped, parent, id);
    JoinParent(*this, parent, m_access);
}

iComboBoxEx::iComboBoxEx(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle,
                         LPVOID param)
{
    CreateControlWindow(*this, WC_COMBOBOXEXA, parent, rect, style, text, id, exStyle, param);
    JoinParent(*this, parent, m_access);
}

iComboBoxEx::~iComboBoxEx() = default;

CString iComboBoxEx::GetSelectedText() const
{
    CString text;
    int selected = GetCurSel();
    if (selected < 0)
        return text;
    // The entries live in the control's own records, not in its inner combo box's list:
    // the text is asked for by item, in a buffer that grows until the whole text fits.
    for (int capacity = 256;; capacity *= 2) {
        COMBOBOXEXITEMA item = {};
        item.mask = CBEIF_TEXT;
        item.iItem = selected;
        item.pszText = text.GetBuffer(capacity);
        item.cchTextMax = capacity;
        BOOL found = static_cast<BOOL>(SendMessage(CBEM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        text.ReleaseBuffer(found ? -1 : 0);
        if (!found || text.GetLength() < capacity - 1)
            return text;
    }
}

CString iComboBoxEx::GetEditText() const
{
    CString text;
    auto edit = reinterpret_cast<HWND>(SendMessage(CBEM_GETEDITCONTROL));
    if (edit) {
        int length = ::GetWindowTextLengthA(edit);
        ::GetWindowTextA(edit, text.GetBuffer(length + 2), length + 1);
        text.ReleaseBuffer();
    }
    return text;
}

BOOL iComboBoxEx::OnErrSpace()
{
    m_onErrSpace.Fire(this);
    return FALSE;
}

BOOL iComboBoxEx::OnSelChange()
{
    m_onSelChange.Fire(this);
    m_access.SetModified();
    return FALSE;
}

BOOL iComboBoxEx::OnDblClk()
{
    m_onDblClk.Fire(this);
    return FALSE;
}

BOOL iComboBoxEx::OnSetFocus()
{
    m_onSetFocus.Fire(this);
    return FALSE;
}

BOOL iComboBoxEx::OnKillFocus()
{
    m_onKillFocus.Fire(this);
    return FALSE;
}

BOOL iComboBoxEx::OnEditChange()
{
    m_onEditChange.Fire(this);
    m_access.SetModified();
    return FALSE;
}

BOOL iComboBoxEx::OnEditUpdate()
{
    m_onEditUpdate.Fire(this);
    m_access.SetModified();
    return FALSE;
}

BOOL iComboBoxEx::OnDropDown()
{
    m_onDropDown.Fire(this);
    return FALSE;
}

BOOL iComboBoxEx::OnCloseUp()
{
    m_onCloseUp.Fire(this);
    return FALSE;
}

BOOL iComboBoxEx::OnSelEndOk()
{
    m_onSelEndOk.Fire(this);
    return FALSE;
}

BOOL iComboBoxEx::OnSelEndCancel()
{
    m_onSelEndCancel.Fire(this);
    return FALSE;
}
