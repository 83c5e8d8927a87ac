// The file-name edit and the file test.
#include "lib/src/Win2/MFC/iFileNamePickers.h"

#include "lib/src/Win2/MFC/iFileNameDialog.h"

#include <cstring>

namespace {

// Characters of a filter list up to and including the null that ends it.
size_t FilterListLength(LPCSTR filter)
{
    LPCSTR p = filter;
    while (*p)
        p += std::strlen(p) + 1;
    return static_cast<size_t>(p - filter) + 1;
}

// An empty text is given to the dialog as none.
LPCSTR TextOrNull(const CString& text)
{
    return text.IsEmpty() ? nullptr : static_cast<LPCSTR>(text);
}

} // namespace

BEGIN_MESSAGE_MAP(iFileNameEdit, iEdit)
    ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

iFileNameEdit::iFileNameEdit(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
{
    // Made here rather than by iEdit's form, so that this class's styles apply.
    CreateItem(parent, rect, style, id);
    SetOptions(TRUE, nullptr, 0, nullptr);
}

iFileNameEdit::~iFileNameEdit() = default;

void iFileNameEdit::SetOptions(BOOL openMode, LPCSTR defaultExtension, DWORD flags, LPCSTR filter)
{
    m_openMode = openMode;
    m_defaultExtension = defaultExtension;
    m_flags = flags;
    if (!filter)
        filter = kAllFilesFilterList;
    m_filter.assign(filter, FilterListLength(filter));
}

void iFileNameEdit::SetInitialDir(LPCSTR path)
{
    m_initialDir = path;
}

CString iFileNameEdit::GetText() const
{
    CString text;
    GetWindowText(text);
    return text;
}

BOOL iFileNameEdit::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!iEdit::PreCreateWindow(cs))
        return FALSE;
    cs.style = (cs.style | ES_AUTOHSCROLL) & ~WS_BORDER;
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    return TRUE;
}

void iFileNameEdit::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (!(nFlags & MK_CONTROL)) {
        iEdit::OnLButtonDblClk(nFlags, point);
        return;
    }
    CWnd* parent = GetParent();
    iFileNameDialog dialog(parent ? parent->GetSafeHwnd() : nullptr, m_filter.c_str(), nullptr, 0, GetText(),
                           nullptr, TextOrNull(m_initialDir), nullptr, m_flags, TextOrNull(m_defaultExtension));
    if (m_openMode ? dialog.DoOpen() : dialog.DoSave())
        SetWindowText(dialog.m_fileBuffer);
}

BOOL FileExists(LPCSTR path)
{
    if (!path)
        return FALSE;
    DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
