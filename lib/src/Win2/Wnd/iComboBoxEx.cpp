// The library's extended combo box: creation and the texts.
#include "lib/src/Win2/Wnd/iComboBoxEx.h"

#include <commctrl.h>

IMPLEMENT_DYNCREATE(iComboBoxEx, CComboBoxEx)

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
    return EditFieldText(reinterpret_cast<HWND>(SendMessage(CBEM_GETEDITCONTROL)));
}
