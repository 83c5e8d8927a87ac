// The folder the workspace opens in: "Default Open In" selected in the folder tree, with
// its files in the Files list. A folder that has gone (a removed drive, a renamed
// folder) is said so, and the nearest folder that still exists is shown instead.
#include "Workspace.h"

#include "Option.h"

#include "lib/src/MsgBox.h"
#include "lib/src/Win2/Wnd/iShellTreeCtrl.h"

#include <shlobj.h>

namespace {

// Shorter texts name no folder ("C:" is a drive's current folder, not its root).
constexpr int kShortestFolder = 3;

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool IsFolder(const CString& path)
{
    const DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The path one folder up, with the separator a drive's root keeps; empty at the top.
CString ParentOf(const CString& path)
{
    int end = path.GetLength();
    while (end > 0 && IsSeparator(path[end - 1]))
        --end;
    while (end > 0 && !IsSeparator(path[end - 1]))
        --end;
    if (end == 0)
        return CString();
    // "C:\Photos" goes up to "C:\", which names the drive's root.
    if (end == kShortestFolder && path[1] == ':')
        return path.Left(end);
    while (end > 0 && IsSeparator(path[end - 1]))
        --end;
    return path.Left(end);
}

// The nearest folder above the missing one that exists; else the user's documents; else
// the folder the program runs in.
CString FolderInstead(const CString& missing)
{
    for (CString parent = ParentOf(missing); parent.GetLength() >= kShortestFolder; parent = ParentOf(parent))
        if (IsFolder(parent))
            return parent;
    char folder[MAX_PATH] = {};
    if (SUCCEEDED(::SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, folder)) &&
        IsFolder(folder))
        return folder;
    ::GetCurrentDirectoryA(MAX_PATH, folder);
    return folder;
}

} // namespace

void Workspace::ShowStartFolder()
{
    const char* text = g_pOption->m_common.m_defaultOpenIn.GetText();
    const CString folder = text ? text : "";
    if (folder.GetLength() < kShortestFolder) {
        // The tree stays where it is, and the Files list follows the folders chosen in it
        // from now on: after the tree was filled it would otherwise stay empty for good.
        m_folderTree->FollowSelection();
        return;
    }
    if (IsFolder(folder)) {
        m_folderTree->SelectPath(folder);
        return;
    }
    const CString instead = FolderInstead(folder);
    MsgBoxStop(MB_OK, "Folder not found", m_hWnd,
               "The folder %s, set as \"Default open in\" under Extra > Options, was not found.\n"
               "The program shows the folder %s instead.",
               static_cast<LPCSTR>(folder), static_cast<LPCSTR>(instead));
    m_folderTree->SelectPath(instead);
}
