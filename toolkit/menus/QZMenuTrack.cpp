// Popup menu tracking through the framework's menu.
#include "toolkit/menus/QZMenuTrack.h"

#include "framework/Menu.h"
#include "framework/Wnd.h"

namespace {

UINT TrackWithFrameworkMenu(CMenu* pMenu, UINT nFlags, int x, int y, CWnd* pOwner)
{
    const UINT command =
        static_cast<UINT>(pMenu->TrackPopupMenu(nFlags | TPM_RETURNCMD, x, y, pOwner));
    if (command && pOwner && pOwner->m_hWnd)
        pOwner->PostMessage(WM_COMMAND, command);
    return command;
}

QZPopupMenuTracker g_tracker = &TrackWithFrameworkMenu;

} // namespace

UINT QZTrackPopupMenu(CMenu* pMenu, UINT nFlags, int x, int y, CWnd* pOwner)
{
    return g_tracker(pMenu, nFlags, x, y, pOwner);
}

QZPopupMenuTracker QZSetPopupMenuTracker(QZPopupMenuTracker tracker)
{
    QZPopupMenuTracker previous = g_tracker;
    g_tracker = tracker ? tracker : &TrackWithFrameworkMenu;
    return previous;
}
