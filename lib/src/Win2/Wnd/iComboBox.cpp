// The library's combo box: creation and the item operations.
#include "lib/src/Win2/Wnd/iComboBox.h"

IMPLEMENT_DYNCREATE(iComboBox, CComboBox)

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
    return EditFieldText(::FindWindowExA(m_hWnd, nullptr, "Edit", nullptr));
}
