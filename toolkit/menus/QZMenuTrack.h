// Tracking one of the toolkit's popup menus (the bar menus, a bar's context menu) with the
// toolkit's menu: the chosen command is posted to the owner as WM_COMMAND. One function,
// which tests can answer for the user through.
#pragma once

#include <windows.h>

class CMenu;
class CWnd;

// Tracks pMenu at (x, y) (screen) with the TPM_ flags for pOwner; the command chosen
// (also posted to pOwner), or 0 when none was.
UINT QZTrackPopupMenu(CMenu* pMenu, UINT nFlags, int x, int y, CWnd* pOwner);

// What tracks the menus (null: the toolkit's menu); returns the previous one. Tests
// answer for the user through it.
using QZPopupMenuTracker = UINT (*)(CMenu* pMenu, UINT nFlags, int x, int y, CWnd* pOwner);
QZPopupMenuTracker QZSetPopupMenuTracker(QZPopupMenuTracker tracker);
