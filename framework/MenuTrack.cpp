// Popup menu tracking: the thread state names the tracking window and menu for as long
// as the system's modal menu loop runs, so that handlers inside it can find them.
#include "Menu.h"

#include "ThreadState.h"
#include "Wnd.h"

namespace {

// Puts back the tracking record a nested or earlier tracking left.
class ScopedTracking {
public:
    ScopedTracking(HWND window, HMENU menu) : m_state(AfxGetThreadState())
    {
        m_previousWindow = m_state->m_hTrackingWindow;
        m_previousMenu = m_state->m_hTrackingMenu;
        m_state->m_hTrackingWindow = window;
        m_state->m_hTrackingMenu = menu;
    }
    ~ScopedTracking()
    {
        m_state->m_hTrackingWindow = m_previousWindow;
        m_state->m_hTrackingMenu = m_previousMenu;
    }
    ScopedTracking(const ScopedTracking&) = delete;
    ScopedTracking& operator=(const ScopedTracking&) = delete;

private:
    _AFX_THREAD_STATE* m_state;
    HWND m_previousWindow;
    HMENU m_previousMenu;
};

} // namespace

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect)
{
    HWND window = owner ? owner->m_hWnd : nullptr;
    ScopedTracking tracking(window, m_hMenu);
    return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, window, rect);
}

BOOL CMenu::TrackPopupMenuEx(UINT flags, int x, int y, CWnd* owner, LPTPMPARAMS params)
{
    HWND window = owner ? owner->m_hWnd : nullptr;
    ScopedTracking tracking(window, m_hMenu);
    return ::TrackPopupMenuEx(m_hMenu, flags, x, y, window, params);
}
