// The open and save dialogs: record set-up, the filter look-ups, the type-change hook
// and making a chosen name carry its type's extension.
#include "lib/src/Win2/Wnd/iFileNameDialog.h"

#include "lib/src/TextRoutines.h"

#include <algorithm>
#include <cstring>

namespace {

// The system asks for at least this many characters for a custom filter.
constexpr DWORD kMinCustomFilterSize = 40;

// Characters of a custom filter's one pair, both terminating nulls included.
DWORD CustomFilterLength(LPCSTR customFilter)
{
    size_t description = std::strlen(customFilter) + 1;
    size_t pattern = std::strlen(customFilter + description) + 1;
    return static_cast<DWORD>(description + pattern);
}

// Copies at most size - 1 characters and always ends the copy.
void CopyBounded(char* buffer, DWORD size, LPCSTR text)
{
    size_t length = std::min<size_t>(std::strlen(text), size - 1);
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
}

// Calls visit(index, pattern) for each pair of the filter list until it answers true;
// answers the index it stopped at, or -1 at the list's end.
template <class Visit>
int WalkFilters(LPCSTR filter, Visit visit)
{
    if (!filter)
        return -1;
    int index = 0;
    for (LPCSTR p = filter; *p; ++index) {
        p += std::strlen(p) + 1;  // the description
        if (!*p)
            return -1;  // a description without a pattern ends the list
        LPCSTR pattern = p;
        if (visit(index, pattern))
            return index;
        p += std::strlen(p) + 1;
    }
    return -1;
}

} // namespace

iFileNameDialog::iFileNameDialog(HWND owner, LPCSTR filter, LPCSTR customFilter, DWORD filterIndex,
                                 LPCSTR fileName, LPCSTR fileTitle, LPCSTR initialDir, LPCSTR title, DWORD flags,
                                 LPCSTR defaultExtension)
{
    std::memset(&m_ofn, 0, sizeof(m_ofn));
    std::memset(m_fileBuffer, 0, sizeof(m_fileBuffer));

    if (customFilter) {
        DWORD length = CustomFilterLength(customFilter);
        m_customFilterSize = std::max(2 * length, kMinCustomFilterSize);
        m_customFilter.reset(new char[m_customFilterSize]());
        std::memcpy(m_customFilter.get(), customFilter, length);
    }
    if (fileName)
        CopyBounded(m_fileBuffer, kFileBufferSize, fileName);
    if (fileTitle) {
        m_fileTitleSize = kFileBufferSize;
        m_fileTitle.reset(new char[m_fileTitleSize]());
        CopyBounded(m_fileTitle.get(), m_fileTitleSize, fileTitle);
    }

    // No dialog template: the callers never ask for one, and the hook works on the
    // system's own name box.
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.hwndOwner = owner;
    m_ofn.lpstrFilter = filter;
    m_ofn.lpstrCustomFilter = m_customFilter.get();
    m_ofn.nMaxCustFilter = m_customFilterSize;
    m_ofn.nFilterIndex = filterIndex;
    m_ofn.lpstrFile = m_fileBuffer;
    m_ofn.nMaxFile = kFileBufferSize;
    m_ofn.lpstrFileTitle = m_fileTitle.get();
    m_ofn.nMaxFileTitle = m_fileTitleSize;
    m_ofn.lpstrInitialDir = initialDir;
    m_ofn.lpstrTitle = title;
    m_ofn.Flags = flags | OFN_EXPLORER | OFN_ENABLEHOOK;
    m_ofn.lpstrDefExt = defaultExtension;
    m_ofn.lCustData = reinterpret_cast<LPARAM>(this);
    m_ofn.lpfnHook = &iFileNameDialog::HookProc;

    // A name whose extension no filter lists gets index 0, which the system reads as
    // the first filter.
    if (filterIndex == 0 && !customFilter && fileName && filter)
        m_ofn.nFilterIndex = static_cast<DWORD>(FindFilterIndex(m_fileBuffer) + 1);
}

iFileNameDialog::~iFileNameDialog() = default;

BOOL iFileNameDialog::DoOpen()
{
    return ::GetOpenFileNameA(&m_ofn);
}

BOOL iFileNameDialog::DoSave()
{
    return ::GetSaveFileNameA(&m_ofn);
}

BOOL iFileNameDialog::AppendFilterExtension()
{
    iString extension = GetFilterExtension(static_cast<int>(m_ofn.nFilterIndex) - 1);
    // A type without one plain extension ("*.*", "*.jp?", none) would give a name no
    // file can have: the chosen name stays as it is.
    if (extension.IsEmpty() || extension.FindOneOf("*?", 0) >= 0)
        return FALSE;

    size_t pathLength = StrNLen(m_fileBuffer, kFileBufferSize);
    size_t at = m_ofn.nFileExtension;
    if (at > pathLength)
        return FALSE;
    if (at == 0)
        at = pathLength;
    // No extension yet: a dot goes on the end. A name that already ends in a dot keeps
    // that one, so it does not get two.
    bool addDot = at == pathLength && (at == 0 || m_fileBuffer[at - 1] != '.');
    size_t dotLength = addDot ? 1 : 0;
    if (at + dotLength + static_cast<size_t>(extension.GetLength()) >= kFileBufferSize)
        return FALSE;
    if (addDot)
        m_fileBuffer[at++] = '.';
    std::memcpy(m_fileBuffer + at, static_cast<LPCSTR>(extension), static_cast<size_t>(extension.GetLength()) + 1);
    m_ofn.nFileExtension = static_cast<WORD>(at);
    return TRUE;
}

int iFileNameDialog::FindFilterIndex(LPCSTR fileName) const
{
    if (!m_ofn.lpstrFilter || !fileName)
        return -1;
    LPCSTR dot = std::strrchr(fileName, '.');
    if (!dot || std::strpbrk(dot, "/\\"))
        return -1;
    size_t extensionLength = std::strlen(dot);
    // Only the first occurrence in a pattern counts: "*.jpgx;*.jpg" does not list ".jpg".
    return WalkFilters(m_ofn.lpstrFilter, [&](int, LPCSTR pattern) {
        LPCSTR found = StrIStr(pattern, dot);
        if (!found)
            return false;
        char after = found[extensionLength];
        return after == ';' || after == '\0';
    });
}

iString iFileNameDialog::GetFilterExtension(int index) const
{
    iString extension;
    WalkFilters(m_ofn.lpstrFilter, [&](int at, LPCSTR pattern) {
        if (at != index)
            return false;
        if (pattern[0] == '*' && pattern[1] == '.') {
            LPCSTR start = pattern + 2;
            LPCSTR end = std::strchr(start, ';');
            extension = end ? iString(start, static_cast<int>(end - start)) : iString(start);
        }
        return true;
    });
    return extension;
}

UINT_PTR CALLBACK iFileNameDialog::HookProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_NOTIFY)
        return 0;
    const auto* notify = reinterpret_cast<const OFNOTIFYA*>(lParam);
    if (!notify || notify->hdr.code != static_cast<UINT>(CDN_TYPECHANGE) || !notify->lpOFN)
        return 0;
    const auto* self = reinterpret_cast<const iFileNameDialog*>(notify->lpOFN->lCustData);
    HWND fileDialog = ::GetParent(dialog);
    HWND edit = ::GetDlgItem(fileDialog, kFileNameEditId);
    if (!edit)
        edit = ::GetDlgItem(fileDialog, kFileNameComboId);
    if (!self || !::IsWindow(edit))
        return 0;

    char text[kFileBufferSize] = {};
    int length = ::GetWindowTextA(edit, text, static_cast<int>(sizeof(text)));
    iString name(text, std::max(length, 0));
    // The last separator before the final character, and the last dot.
    int separator = length > 1 ? name.ReverseFindOneOf("/\\", length - 1) : -1;
    int dot = name.ReverseFind('.');
    if (dot < 0)
        dot = length;
    // A dot that begins the name, or one in a folder name, is no extension.
    if (dot > 0 && dot > separator) {
        name.SetLength(dot);
        name += ".";
        name += self->GetFilterExtension(static_cast<int>(notify->lpOFN->nFilterIndex) - 1);
    }
    ::SetWindowTextA(edit, name);
    return 0;
}
