// Popup menu tracking: the thread state names the tracking window and menu for as long
// as the system's modal menu loop runs, so that handlers inside it can find them.
#include "Menu.h"

#include "ThreadState.h"
#include "Wnd.h"

CMenuTrackingScope::CMenuTrackingScope(HWND hWnd, HMENU hMenu) : m_pState(AfxGetThreadState())
{
    m_hPreviousWindow = m_pState->m_hTrackingWindow;
    m_hPreviousMenu = m_pState->m_hTrackingMenu;
    m_pState->m_hTrackingWindow = hWnd;
    m_pState->m_hTrackingMenu = hMenu;
}

CMenuTrackingScope::~CMenuTrackingScope()
{
    m_pState->m_hTrackingWindow = m_hPreviousWindow;
    m_pState->m_hTrackingMenu = m_hPreviousMenu;
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect)
{
    HWND window = owner ? owner->m_hWnd : nullptr;
    CMenuTrackingScope tracking(window, m_hMenu);
    return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, window, rect);
}

BOOL CMenu::TrackPopupMenuEx(UINT flags, int x, int y, CWnd* owner, LPTPMPARAMS params)
{
    HWND window = owner ? owner->m_hWnd : nullptr;
    CMenuTrackingScope tracking(window, m_hMenu);
    return ::TrackPopupMenuEx(m_hMenu, flags, x, y, window, params);
}
