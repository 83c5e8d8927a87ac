// The shell's folder browser as the folder button and the folder edit run it: titled
// "Directory", file-system folders only, starting at the desktop. The function that
// shows the browser is replaceable, so that tests answer for the user.
#pragma once

#include "lib/src/iString.h"

#include <windows.h>
#include <shlobj.h>

using BrowseForFolderFunction = PIDLIST_ABSOLUTE(WINAPI*)(LPBROWSEINFOA info);

// Makes browse the function that shows the browser (null: SHBrowseForFolderA); returns
// the one it replaces.
BrowseForFolderFunction SetBrowseForFolderFunction(BrowseForFolderFunction browse);

// Shows the browser described by info through the current function.
PIDLIST_ABSOLUTE ShowFolderBrowser(LPBROWSEINFOA info);

// Runs the browser owned by owner (null: none). true with the chosen folder's full path;
// false, with path untouched, when the user cancelled or the choice has no file path.
[[nodiscard]] bool BrowseForFolder(HWND owner, iString& path);
