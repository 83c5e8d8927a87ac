// Stands in for the framework's per-thread state: the thread object running on the
// thread, the message being dispatched (CWnd::GetCurrentMessage), the menu tracking
// record, the window-creation hook, the thread's frame windows, and the tooltip and
// flyby state of its windows.
#pragma once

#include <windows.h>

#include <vector>

class CToolTipCtrl;
class CWinThread;
class CWnd;
class CFrameWnd;

struct _AFX_THREAD_STATE {
    ~_AFX_THREAD_STATE();

    CWinThread* m_pCurrentWinThread = nullptr;
    // The message the framework is dispatching now; saved and restored around nested sends.
    MSG m_lastSentMsg = {};
    HWND m_hTrackingWindow = nullptr;
    HMENU m_hTrackingMenu = nullptr;
    // The object that the creation hook attaches to the next window made on this thread.
    CWnd* m_pWndInit = nullptr;
    // Where the hook reports the window it attached m_pWndInit to, for a creation that
    // must undo the attachment when the system refuses the window; null: nobody asks.
    HWND* m_phWndInitAttached = nullptr;
    HHOOK m_hHookOldCbtFilter = nullptr;
    // The window whose control notifications are ignored while UpdateData runs on it.
    HWND m_hLockoutNotifyWindow = nullptr;
    // Every frame window of the thread, floating frames included: idle update visits them.
    std::vector<CFrameWnd*> m_frameList;

    // The thread's tooltip control and the tool it holds (window and id); -1 for none.
    CToolTipCtrl* m_pToolTip = nullptr;
    HWND m_hWndLastHit = nullptr;
    int m_nLastHit = -1;
    HWND m_hWndLastTool = nullptr;
    UINT_PTR m_nLastToolId = 0;
    // The bar whose flyby prompt the status bar shows, and the prompt's id (-1: none).
    HWND m_hWndLastStatus = nullptr;
    int m_nLastStatus = -1;
};

// The calling thread's state, made on first use.
_AFX_THREAD_STATE* AfxGetThreadState();
// Frees the calling thread's state; its framework threads call this as they end.
void AfxTermThreadState();
