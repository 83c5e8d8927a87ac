// Popup menu tracking through the toolkit's menu.
#include "toolkit/menus/QZMenuTrack.h"

#include "framework/Menu.h"
#include "framework/Wnd.h"
#include "toolkit/menus/QZMenu.h"

namespace {

UINT TrackWithToolkitMenu(CMenu* pMenu, UINT nFlags, int x, int y, CWnd* pOwner)
{
    // A toolkit menu object lives while the popup is tracked: image menus apply their
    // personalised hiding to it as to every toolkit popup.
    CQZMenu tracking;
    return CQZMenu::TrackPopupMenuEx(pMenu->GetSafeHmenu(), nFlags, x, y, pOwner, nullptr, TRUE);
}

QZPopupMenuTracker g_tracker = &TrackWithToolkitMenu;

} // namespace

UINT QZTrackPopupMenu(CMenu* pMenu, UINT nFlags, int x, int y, CWnd* pOwner)
{
    return g_tracker(pMenu, nFlags, x, y, pOwner);
}

QZPopupMenuTracker QZSetPopupMenuTracker(QZPopupMenuTracker tracker)
{
    QZPopupMenuTracker previous = g_tracker;
    g_tracker = tracker ? tracker : &TrackWithToolkitMenu;
    return previous;
}
