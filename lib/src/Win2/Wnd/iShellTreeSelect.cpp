// The shell folder tree's paths: the path of an item or of the selection, and selecting
// a folder by its path, one component at a time from the drive under My Computer.
#include "lib/src/Win2/Wnd/iShellTreeCtrl.h"

namespace {

// Drive roots such as "C:\" are accepted without the existence test, which cannot find them.
constexpr int kDriveRootLength = 3;
constexpr int kMatchDrive = 0;

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

// Upper case as the system folds file names, not only ASCII.
CString UpperCase(CString text)
{
    if (!text.IsEmpty())
        ::CharUpperBuffA(text.GetBuffer(text.GetLength()), static_cast<DWORD>(text.GetLength()));
    text.ReleaseBuffer();
    return text;
}

CString WithoutTrailingSeparators(CString path)
{
    int length = path.GetLength();
    while (length > 0 && IsSeparator(path[length - 1]))
        --length;
    return path.Left(length);
}

// The name a folder has on disk: the last component of its path.
CString LastComponent(const CString& path)
{
    const CString trimmed = WithoutTrailingSeparators(path);
    int start = trimmed.GetLength();
    while (start > 0 && !IsSeparator(trimmed[start - 1]))
        --start;
    return trimmed.Mid(start);
}

} // namespace

BOOL iShellTreeCtrl::PathWithAttribute(HTREEITEM item, SFGAOF attribute, CString& path)
{
    const iShellTreeItem* record = item ? GetRecord(item) : nullptr;
    IShellFolder* folder = BindItemFolder(record);
    if (!folder)
        return FALSE;
    folder->Release();
    LPCITEMIDLIST relative = record->relativeList;
    SFGAOF attributes = attribute;
    if (FAILED(record->parentFolder->GetAttributesOf(1, &relative, &attributes)) || !(attributes & attribute))
        return FALSE;
    char found[MAX_PATH];
    if (!record->absoluteList || !::SHGetPathFromIDListA(record->absoluteList, found))
        return FALSE;
    path = found;
    return TRUE;
}

BOOL iShellTreeCtrl::GetSelectedPath(CString& path)
{
    return PathWithAttribute(GetNextItem(nullptr, TVGN_CARET), SFGAO_FOLDER, path);
}

BOOL iShellTreeCtrl::GetItemPath(HTREEITEM item, CString& path)
{
    return PathWithAttribute(item, SFGAO_FILESYSTEM, path);
}

// Names are compared with what the folder is called on disk, not with the text the tree
// shows: a folder with a display name of its own (a localised name) must not stop a walk.
BOOL iShellTreeCtrl::SelectChild(HTREEITEM first, CString name, int mode)
{
    const CString wanted = UpperCase(name);
    BOOL selected = FALSE;
    for (HTREEITEM item = first; item && !selected; item = GetNextSiblingItem(item)) {
        // Items the parent cannot bind to, and items outside the file system, are passed over.
        CString path;
        if (!PathWithAttribute(item, SFGAO_FILESYSTEM, path))
            continue;
        CString text;
        if (mode == kMatchDrive) {
            char drive[_MAX_DRIVE], directory[_MAX_DIR], title[_MAX_FNAME], extension[_MAX_EXT];
            m_shell.SplitPath(path, drive, directory, title, extension);
            text = drive;
        } else {
            text = LastComponent(path);
        }
        if (UpperCase(text) == wanted) {
            EnsureVisible(item);
            SelectItem(item);
            selected = TRUE;
        }
    }
    return selected;
}

void iShellTreeCtrl::SelectPath(CString path)
{
    m_suppress = false;
    // Tested without its trailing separators, which FindFirstFile does not take.
    if (path.GetLength() != kDriveRootLength && !m_shell.Exists(WithoutTrailingSeparators(path))) {
        MessageBox(path, "Folder not found", MB_ICONERROR);
        return;
    }
    if (path.IsEmpty() || !IsSeparator(path[path.GetLength() - 1]))
        path += '\\';
    char drive[_MAX_DRIVE], directory[_MAX_DIR], title[_MAX_FNAME], extension[_MAX_EXT];
    m_shell.SplitPath(path, drive, directory, title, extension);

    // My Computer: the Desktop's child that the shell says is CSIDL_DRIVES.
    LPITEMIDLIST drives = nullptr;
    if (FAILED(::SHGetSpecialFolderLocation(m_hWnd, CSIDL_DRIVES, &drives)) || !drives)
        return;
    HTREEITEM computer = nullptr;
    for (HTREEITEM child = GetChildItem(GetRootItem()); child && !computer; child = GetNextSiblingItem(child)) {
        const iShellTreeItem* record = GetRecord(child);
        if (record && record->parentFolder && record->relativeList) {
            const HRESULT order = record->parentFolder->CompareIDs(0, record->relativeList, drives);
            if (SUCCEEDED(order) && HRESULT_CODE(order) == 0)
                computer = child;
        }
    }
    ::CoTaskMemFree(drives);
    if (!computer)
        return;
    // An item expanded before answers the expansion with failure; its children count.
    Expand(computer, TVE_EXPAND);
    HTREEITEM firstDrive = GetChildItem(computer);
    if (!firstDrive || !SelectChild(firstDrive, drive, kMatchDrive))
        return;

    SetRedraw(FALSE);
    const CString folders = directory;
    int start = 0;
    while (start < folders.GetLength()) {
        int end = start;
        while (end < folders.GetLength() && !IsSeparator(folders[end]))
            ++end;
        const CString component = folders.Mid(start, end - start);
        start = end + 1;
        if (component.IsEmpty())
            continue;
        HTREEITEM selected = GetSelectedItem();
        Expand(selected, TVE_EXPAND);
        HTREEITEM firstChild = GetChildItem(selected);
        if (!firstChild || !SelectChild(firstChild, component, 1))
            break;
    }
    SetRedraw(TRUE);
    ShowSelectionFromTheLeft();
}

// Making a long name visible scrolls the tree sideways until the folders above it, and
// its own icon, are out of sight: the tree goes back to its left edge, unless the name
// would then start beyond the right one.
void iShellTreeCtrl::ShowSelectionFromTheLeft()
{
    HTREEITEM selected = GetSelectedItem();
    if (!selected)
        return;
    EnsureVisible(selected);
    SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0));
    CRect name;
    CRect client;
    GetClientRect(&client);
    if (GetItemRect(selected, &name, TRUE) && name.left >= client.right)
        EnsureVisible(selected);
}
