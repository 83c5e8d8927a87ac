// The library's combo box: creation, the notification connectors and the item operations.
#include "lib/src/Win2/Wnd/iComboBox.h"

IMPLEMENT_DYNCREATE(iComboBox, CComboBox)

BEGIN_MESSAGE_MAP(iComboBox, CComboBox)
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

iComboBox::iComboBox() = default;

iComboBox::iComboBox(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
{
    CRect mapped(rect);
    MapDialogRectFor(parent, &mapped);
    CComboBox::Create(style, mapped, parent, id);
    JoinParent(*this, parent, m_access);
}

iComboBox::iComboBox(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle,
                     LPVOID param)
{
    CreateControlWindow(*this, "ComboBox", parent, rect, style, text, id, exStyle, param);
    JoinParent(*this, parent, m_access);
}

iComboBox::~iComboBox() = default;

int iComboBox::AddItem(DWORD value, LPCSTR text)
{
    int index = AddString(text);
    if (index >= 0)
        SetItemData(index, value);
    return index;
}

DWORD iComboBox::GetSelectedData() const
{
    int selected = GetCurSel();
    if (selected < 0)
        return 0xFFFFFFFF;
    return static_cast<DWORD>(GetItemData(selected));
}

void iComboBox::SelectByData(DWORD value)
{
    int count = GetCount();
    int index = 0;
    while (index < count && static_cast<DWORD>(GetItemData(index)) != value)
        ++index;
    // Past the last entry when no entry matched: the selection is cleared.
    SetCurSel(index < count ? index : -1);
}

CString iComboBox::GetSelectedText() const
{
    CString text;
    int selected = GetCurSel();
    if (selected >= 0)
        GetLBText(selected, text);
    return text;
}

CString iComboBox::GetEditText() const
{
    CString text;
    HWND edit = ::FindWindowExA(m_hWnd, nullptr, "Edit", nullptr);
    if (edit) {
        int length = ::GetWindowTextLengthA(edit);
        ::GetWindowTextA(edit, text.GetBuffer(length + 2), length + 1);
        text.ReleaseBuffer();
    }
    return text;
}

BOOL iComboBox::OnErrSpace()
{
    m_onErrSpace.Fire(this);
    return FALSE;
}

BOOL iComboBox::OnSelChange()
{
    m_onSelChange.Fire(this);
    m_access.SetModified();
    return FALSE;
}

BOOL iComboBox::OnDblClk()
{
    m_onDblClk.Fire(this);
    return FALSE;
}

BOOL iComboBox::OnSetFocus()
{
    m_onSetFocus.Fire(this);
    return FALSE;
}

BOOL iComboBox::OnKillFocus()
{
    m_onKillFocus.Fire(this);
    return FALSE;
}

BOOL iComboBox::OnEditChange()
{
    m_onEditChange.Fire(this);
    m_access.SetModified();
    return FALSE;
}

BOOL iComboBox::OnEditUpdate()
{
    m_onEditUpdate.Fire(this);
    m_access.SetModified();
    return FALSE;
}

BOOL iComboBox::OnDropDown()
{
    m_onDropDown.Fire(this);
    return FALSE;
}

BOOL iComboBox::OnCloseUp()
{
    m_onCloseUp.Fire(this);
    return FALSE;
}

BOOL iComboBox::OnSelEndOk()
{
    m_onSelEndOk.Fire(this);
    return FALSE;
}

BOOL iComboBox::OnSelEndCancel()
{
    m_onSelEndCancel.Fire(this);
    return FALSE;
}
