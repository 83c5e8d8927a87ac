// The file-name button and edit, and the file test.
#include "lib/src/Win2/MFC/iFileNamePickers.h"

#include "lib/src/Win2/MFC/iFileDialog.h"
#include "lib/src/Win2/MFC/iFileEdit.h"
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

// A bar-form filter in the dialog's own form. Whatever the text ends with, the list comes
// out properly ended; a text without a pair gives none.
std::string FilterListFromBars(const CString& filter)
{
    std::string list(static_cast<LPCSTR>(filter), static_cast<size_t>(filter.GetLength()));
    for (char& c : list) {
        if (c == '|')
            c = '\0';
    }
    list.append(2, '\0');
    return list;
}

} // namespace

BEGIN_MESSAGE_MAP(iFileNameButton, iButton)
    ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

iFileNameButton::iFileNameButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
    : iButton(parent, rect, style, text, id)
{
    SetOptions(TRUE, nullptr, 0, nullptr);
}

iFileNameButton::~iFileNameButton() = default;

void iFileNameButton::SetOptions(BOOL openMode, LPCSTR defaultExtension, DWORD flags, LPCSTR filter)
{
    m_openMode = openMode;
    m_defaultExtension = defaultExtension;
    m_flags = flags;
    m_filter = filter ? filter : kAllFilesFilter;
}

void iFileNameButton::AddFilter(LPCSTR pair)
{
    const int length = m_filter.GetLength();
    if (length >= 2 && m_filter[length - 1] == '|' && m_filter[length - 2] == '|')
        m_filter.SetLength(length - 1);
    m_filter += pair;
    const int added = m_filter.GetLength();
    if (!(added >= 2 && m_filter[added - 1] == '|' && m_filter[added - 2] == '|'))
        m_filter += "|";
}

void iFileNameButton::AddFilter(const CString& pair)
{
    AddFilter(static_cast<LPCSTR>(pair));
}

void iFileNameButton::SetInitialDir(LPCSTR path)
{
    m_initialDir = path;
}

void iFileNameButton::OnClicked()
{
    const bool linked = (GetStyle() & IBS_LINKED) != 0;
    CString name;
    if (linked) {
        if (CWnd* before = GetWindow(GW_HWNDPREV)) {
            before->GetWindowText(name);
            if (auto* edit = dynamic_cast<iFileEdit*>(CWnd::FromHandlePermanent(before->m_hWnd)))
                edit->SetOptions(m_openMode, m_defaultExtension, m_flags, m_filter);
        }
    } else {
        GetWindowText(name);
    }
    const std::string list = FilterListFromBars(m_filter);
    CWnd* parent = GetParent();
    iFileNameDialog dialog(parent ? parent->GetSafeHwnd() : nullptr, list[0] ? list.c_str() : nullptr, nullptr, 0,
                           name, nullptr, TextOrNull(m_initialDir), nullptr, m_flags, TextOrNull(m_defaultExtension));
    if (!(m_openMode ? dialog.DoOpen() : dialog.DoSave()))
        return;
    // Looked up again: the dialog ran its own message loop meanwhile.
    if (!linked)
        SetWindowText(dialog.m_fileBuffer);
    else if (CWnd* before = GetWindow(GW_HWNDPREV))
        before->SetWindowText(dialog.m_fileBuffer);
}

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
