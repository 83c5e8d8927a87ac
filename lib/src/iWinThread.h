// The library's base for worker threads: a framework thread object whose derived
// class puts its work in InitInstance (and, when that answers TRUE, the thread's
// message loop). The banner's worker thread derives from it.
#pragma once

#include "framework/WinThread.h"

// Owns nothing beyond the framework thread object; with m_bAutoDelete set the
// object deletes itself when its thread ends.
class iWinThread : public CWinThread {
public:
    iWinThread();
    ~iWinThread() override;

    // Starts the thread with the arguments unchanged; the framework's result.
    [[nodiscard]] BOOL CreateThread(DWORD createFlags = 0, UINT stackSize = 0,
                                    LPSECURITY_ATTRIBUTES security = nullptr);
};
