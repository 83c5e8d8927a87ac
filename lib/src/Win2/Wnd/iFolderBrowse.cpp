// Folder browsing for the folder button and the folder edit.
#include "lib/src/Win2/Wnd/iFolderBrowse.h"

namespace {

BrowseForFolderFunction g_browse = nullptr;

void FreeItemList(PIDLIST_ABSOLUTE list)
{
    IMalloc* shellAllocator = nullptr;
    if (SUCCEEDED(::SHGetMalloc(&shellAllocator)) && shellAllocator) {
        shellAllocator->Free(list);
        shellAllocator->Release();
    }
}

} // namespace

BrowseForFolderFunction SetBrowseForFolderFunction(BrowseForFolderFunction browse)
{
    BrowseForFolderFunction previous = g_browse;
    g_browse = browse;
    return previous;
}

PIDLIST_ABSOLUTE ShowFolderBrowser(LPBROWSEINFOA info)
{
    return (g_browse ? g_browse : ::SHBrowseForFolderA)(info);
}

bool BrowseForFolder(HWND owner, iString& path)
{
    // Both buffers take a whole path: the shell writes up to MAX_PATH characters.
    char displayName[MAX_PATH] = {};
    char folder[MAX_PATH] = {};
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;
    info.pszDisplayName = displayName;
    info.lpszTitle = "Directory";
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = nullptr;
    info.lParam = 0;
    PIDLIST_ABSOLUTE list = ShowFolderBrowser(&info);
    if (!list)
        return false;
    const BOOL hasPath = ::SHGetPathFromIDListA(list, folder);
    FreeItemList(list);
    // A choice without a file path (a virtual folder) writes nothing.
    if (!hasPath || folder[0] == '\0')
        return false;
    path = folder;
    return true;
}
