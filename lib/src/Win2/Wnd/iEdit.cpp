// The application's edit, the picker edits' Ctrl+double-click, and the folder edit.
#include "lib/src/Win2/Wnd/iEdit.h"

#include "lib/src/Win2/Wnd/iFolderBrowse.h"

BEGIN_MESSAGE_MAP(iEdit, iEditCtrl)
END_MESSAGE_MAP()

iEdit::iEdit() = default;

iEdit::iEdit(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
{
    CreateItem(parent, rect, style, id);
}

iEdit::iEdit(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle, LPVOID param)
{
    CreateWindowForm(parent, rect, style, text, id, exStyle, param);
}

iEdit::~iEdit() = default;

BOOL iEdit::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!CWnd::PreCreateWindow(cs))
        return FALSE;
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return TRUE;
}

BEGIN_MESSAGE_MAP(iPickerEdit, iEdit)
    ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

BOOL iPickerEdit::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!iEdit::PreCreateWindow(cs))
        return FALSE;
    // iEdit has added the client edge.
    cs.style = (cs.style | ES_AUTOHSCROLL) & ~WS_BORDER;
    return TRUE;
}

void iPickerEdit::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (!(nFlags & MK_CONTROL)) {
        iEdit::OnLButtonDblClk(nFlags, point);
        return;
    }
    iString chosen;
    if (AskForText(chosen))
        SetWindowText(chosen);
}

iFolderEdit::iFolderEdit(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
    : iPickerEdit(parent, rect, style, text, id)
{
}

iFolderEdit::~iFolderEdit() = default;

BOOL iFolderEdit::AskForText(iString& chosen)
{
    CWnd* parent = GetParent();
    return BrowseForFolder(parent ? parent->GetSafeHwnd() : nullptr, chosen);
}
