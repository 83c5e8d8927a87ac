// The shell helper's path parts, existence test and shell file information.
#include "lib/src/Win2/Wnd/iShell.h"

#include <shellapi.h>

#include <cstring>

namespace {

// "C:\" stands for every drive: the system image lists are the same for all paths.
constexpr char kSystemListPath[] = "C:\\";

struct PathPart {
    const char* begin;
    size_t length;
    LPSTR out;
    size_t size;  // of out, terminator included
};

// Splits as the runtime's _splitpath does (drive up to a colon at index 1, directory up
// to the last separator, extension from the last dot after it), but checks every part
// against its buffer first: a part that does not fit leaves every part empty.
bool SplitPathBounded(const char* path, LPSTR drive, size_t driveSize, LPSTR directory, size_t directorySize,
                      LPSTR title, size_t titleSize, LPSTR extension, size_t extensionSize)
{
    const char* rest = path;
    size_t driveLength = 0;
    if (rest[0] != '\0' && rest[1] == ':') {
        driveLength = 2;
        rest += 2;
    }
    const char* name = rest;
    for (const char* p = rest; *p; ++p) {
        if (*p == '\\' || *p == '/')
            name = p + 1;
    }
    const char* dot = strrchr(name, '.');
    const char* end = name + strlen(name);
    if (!dot)
        dot = end;
    PathPart parts[] = {
        {path, driveLength, drive, driveSize},
        {rest, static_cast<size_t>(name - rest), directory, directorySize},
        {name, static_cast<size_t>(dot - name), title, titleSize},
        {dot, static_cast<size_t>(end - dot), extension, extensionSize},
    };
    bool fits = true;
    for (const PathPart& part : parts)
        fits = fits && part.length < part.size;
    for (const PathPart& part : parts) {
        const size_t length = fits ? part.length : 0;
        memcpy(part.out, part.begin, length);
        part.out[length] = '\0';
    }
    return fits;
}

} // namespace

iShell::iShell(LPCSTR path) : m_imageIndex(-1), m_path(path ? path : "")
{
    m_drive[0] = m_directory[0] = m_title[0] = m_extension[0] = '\0';
    SplitPath(m_path, m_drive, m_directory, m_title, m_extension);
}

iShell::~iShell() = default;

void iShell::SplitPath(CString path, LPSTR drive, LPSTR directory, LPSTR title, LPSTR extension)
{
    static_cast<void>(SplitPathBounded(path, drive, _MAX_DRIVE, directory, _MAX_DIR, title, _MAX_FNAME, extension,
                                       _MAX_EXT));
}

void iShell::SplitIfGiven(LPCSTR path)
{
    if (path)
        SplitPath(path, m_drive, m_directory, m_title, m_extension);
}

CString iShell::GetDrive(LPCSTR path)
{
    SplitIfGiven(path);
    return m_drive;
}

CString iShell::GetExtension(LPCSTR path)
{
    SplitIfGiven(path);
    return m_extension;
}

CString iShell::GetFileTitle(LPCSTR path)
{
    SplitIfGiven(path);
    return m_title;
}

CString iShell::GetFolder(LPCSTR path)
{
    SplitIfGiven(path);
    return CString(m_drive) + m_directory;
}

CString iShell::GetFileName(LPCSTR path)
{
    SplitIfGiven(path);
    return CString(m_title) + m_extension;
}

// A drive root such as "C:\" is not found this way; callers that take roots test them apart.
BOOL iShell::Exists(LPCSTR path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(path ? path : static_cast<LPCSTR>(m_path), &found);
    if (search == INVALID_HANDLE_VALUE)
        return FALSE;
    ::FindClose(search);
    return TRUE;
}

int iShell::GetIconIndex(LPCSTR path, UINT flags)
{
    SHFILEINFOA info = {};
    ::SHGetFileInfoA(path ? path : static_cast<LPCSTR>(m_path), 0, &info, sizeof info, flags | SHGFI_SYSICONINDEX);
    return info.iIcon;
}

CString iShell::GetDisplayName(LPCSTR path)
{
    SHFILEINFOA info = {};
    ::SHGetFileInfoA(path ? path : static_cast<LPCSTR>(m_path), 0, &info, sizeof info, SHGFI_DISPLAYNAME);
    return info.szDisplayName;
}

CString iShell::GetTypeName(LPCSTR path)
{
    SHFILEINFOA info = {};
    ::SHGetFileInfoA(path ? path : static_cast<LPCSTR>(m_path), 0, &info, sizeof info, SHGFI_TYPENAME);
    return info.szTypeName;
}

int iShell::GetFileInfoIcon(LPCVOID pathOrList, UINT flags)
{
    SHFILEINFOA info = {};
    ::SHGetFileInfoA(static_cast<LPCSTR>(pathOrList), 0, &info, sizeof info, flags);
    return info.iIcon;
}

void iShell::SetItemIcons(LPCITEMIDLIST absoluteList, TVITEMA* item)
{
    item->iImage = GetFileInfoIcon(absoluteList, SHGFI_SYSICONINDEX | SHGFI_PIDL | SHGFI_SMALLICON);
    item->iSelectedImage =
        GetFileInfoIcon(absoluteList, SHGFI_SYSICONINDEX | SHGFI_PIDL | SHGFI_SMALLICON | SHGFI_OPENICON);
}

void iShell::GetSystemImageLists(CImageList* smallList, CImageList* largeList)
{
    SHFILEINFOA info = {};
    auto smallHandle = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoA(kSystemListPath, 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    auto largeHandle = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoA(kSystemListPath, 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_ICON));
    // SHGFI_ICON (which picks the large list) also makes an icon, which is ours to destroy.
    if (info.hIcon)
        ::DestroyIcon(info.hIcon);
    if (smallList && smallHandle)
        smallList->Attach(smallHandle);
    if (largeList && largeHandle)
        largeList->Attach(largeHandle);
}
