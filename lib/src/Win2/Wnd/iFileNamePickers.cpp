// The file-name button and edit, and the file test.
#include "lib/src/Win2/Wnd/iFileNamePickers.h"

#include "lib/src/Win2/Wnd/iFileNameDialog.h"

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

// Whether a bar-form filter ends its list with "||".
bool EndsBarList(const CString& filter)
{
    const int length = filter.GetLength();
    return length >= 2 && filter[length - 1] == '|' && filter[length - 2] == '|';
}

// Runs the system's open (openMode TRUE) or save dialog owned by parent, starting on
// fileName; filterList is in the dialog's own form (null: none).
BOOL AskWithSystemDialog(CWnd* parent, BOOL openMode, LPCSTR filterList, LPCSTR fileName, const CString& initialDir,
                         DWORD flags, const CString& defaultExtension, CString& chosen)
{
    iFileNameDialog dialog(parent ? parent->GetSafeHwnd() : nullptr, filterList, nullptr, 0, fileName, nullptr,
                           TextOrNull(initialDir), nullptr, flags, TextOrNull(defaultExtension));
    if (!(openMode ? dialog.DoOpen() : dialog.DoSave()))
        return FALSE;
    chosen = dialog.m_fileBuffer;
    return TRUE;
}

} // namespace

BEGIN_MESSAGE_MAP(iFileNameButton, iButton)
    ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

iFileNameButton::iFileNameButton(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
    : iButton(parent, rect, style, text, id)
{
}

iFileNameButton::~iFileNameButton() = default;

void iFileNameButton::AddFilter(LPCSTR pair)
{
    if (EndsBarList(m_filter))
        m_filter.SetLength(m_filter.GetLength() - 1);
    m_filter += pair;
    if (!EndsBarList(m_filter))
        m_filter += "|";
}

void iFileNameButton::AddFilter(const CString& pair)
{
    AddFilter(static_cast<LPCSTR>(pair));
}

void iFileNameButton::OnClicked()
{
    ChooseForButton(*this);
}

BOOL iFileNameButton::AskForName(CWnd* parent, LPCSTR fileName, CString& chosen)
{
    const std::string list = FilterListFromBars(m_filter);
    return AskWithSystemDialog(parent, m_openMode, list[0] ? list.c_str() : nullptr, fileName, m_initialDir, m_flags,
                               m_defaultExtension, chosen);
}

iFileNameEdit::iFileNameEdit(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
{
    // Made here rather than by iEdit's form, so that the picker edit's styles apply.
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

BOOL iFileNameEdit::AskForText(iString& chosen)
{
    return AskWithSystemDialog(GetParent(), m_openMode, m_filter.c_str(), GetText(), m_initialDir, m_flags,
                               m_defaultExtension, chosen);
}
