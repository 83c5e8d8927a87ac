// Stands in for the framework's per-thread state: the thread object running on the
// thread, the message being dispatched (CWnd::GetCurrentMessage), the menu tracking
// record, the window-creation hook and the thread's frame windows.
#pragma once

#include <windows.h>

#include <vector>

class CWinThread;
class CWnd;
class CFrameWnd;

struct _AFX_THREAD_STATE {
    CWinThread* m_pCurrentWinThread = nullptr;
    // The message the framework is dispatching now; saved and restored around nested sends.
    MSG m_lastSentMsg = {};
    HWND m_hTrackingWindow = nullptr;
    HMENU m_hTrackingMenu = nullptr;
    // The object that the creation hook attaches to the next window made on this thread.
    CWnd* m_pWndInit = nullptr;
    HHOOK m_hHookOldCbtFilter = nullptr;
    // The window whose control notifications are ignored while UpdateData runs on it.
    HWND m_hLockoutNotifyWindow = nullptr;
    // Every frame window of the thread, floating frames included: idle update visits them.
    std::vector<CFrameWnd*> m_frameList;
};

// The calling thread's state, made on first use.
_AFX_THREAD_STATE* AfxGetThreadState();
// Frees the calling thread's state; its framework threads call this as they end.
void AfxTermThreadState();
