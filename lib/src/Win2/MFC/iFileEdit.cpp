// The file edit.
#include "lib/src/Win2/MFC/iFileEdit.h"

#include "lib/src/Win2/MFC/iFileDialog.h"

BEGIN_MESSAGE_MAP(iFileEdit, iEdit)
    ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

iFileEdit::iFileEdit(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
{
    // Made here rather than by iEdit's form, so that this class's styles apply.
    CreateItem(parent, rect, style, id);
    SetOptions(TRUE, nullptr, 0, nullptr);
}

iFileEdit::~iFileEdit() = default;

void iFileEdit::SetOptions(BOOL openMode, LPCSTR defaultExtension, DWORD flags, LPCSTR filter)
{
    m_openMode = openMode;
    m_defaultExtension = defaultExtension;
    m_flags = flags;
    m_filter = filter ? filter : kAllFilesFilter;
}

void iFileEdit::SetInitialDir(LPCSTR path)
{
    m_initialDir = path;
}

CString iFileEdit::GetText() const
{
    CString text;
    GetWindowText(text);
    return text;
}

BOOL iFileEdit::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!iEdit::PreCreateWindow(cs))
        return FALSE;
    cs.style = (cs.style | ES_AUTOHSCROLL) & ~WS_BORDER;
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return TRUE;
}

void iFileEdit::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (!(nFlags & MK_CONTROL)) {
        iEdit::OnLButtonDblClk(nFlags, point);
        return;
    }
    CString chosen;
    if (AskForFileName(GetParent(), m_openMode, m_defaultExtension, GetText(), m_flags, m_filter, m_initialDir,
                       chosen))
        SetWindowText(chosen);
}
