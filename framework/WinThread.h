// Stands in for the framework's thread object: a thread that runs the object's
// InitInstance and, when that answers TRUE, the framework message loop (get,
// pre-translate, dispatch, idle) until WM_QUIT, then ExitInstance, whose result is
// the thread's exit code. The application object derives from it: the main thread's
// loop is the same loop.
#pragma once

#include "CmdTarget.h"

#include <windows.h>

class CException;
class CWnd;

class CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();
    ~CWinThread() override;

    // Starts the thread. Unless CREATE_SUSPENDED is given, it returns once the new
    // thread has its message queue, so PostThreadMessage works at once.
    BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
    DWORD ResumeThread();
    DWORD SuspendThread();
    BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam);
    operator HANDLE() const { return m_hThread; }

    virtual BOOL InitInstance();
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Gets, pre-translates and dispatches one message; FALSE on WM_QUIT.
    virtual BOOL PumpMessage();
    // Idle work in steps: lCount 0 updates the user interface of the thread's frames,
    // 1 frees the temporary handle-map objects. TRUE while more idle work is left.
    virtual BOOL OnIdle(LONG lCount);
    // FALSE for messages that must not restart idle work (paint, a mouse move that did not move).
    virtual BOOL IsIdleMessage(MSG* pMsg);
    virtual int ExitInstance();
    virtual CWnd* GetMainWnd();
    // Frees the object when it is auto-deleting.
    virtual void Delete();
    // What a window procedure answers after a handler threw e (null: not a framework
    // exception); the caller deletes e.
    virtual LRESULT ProcessWndProcException(CException* e, const MSG* pMsg);
    // The default answer: -1 from WM_CREATE (creation fails), WM_PAINT validated, else 0.
    static LRESULT DefaultWndProcExceptionResult(const MSG* pMsg);

    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    BOOL m_bAutoDelete = TRUE;
    CWnd* m_pMainWnd = nullptr;
    MSG m_msgCur = {};

protected:
    // Makes this the calling thread's current thread object.
    void AttachToCurrentThread();
    // Runs InitInstance and then Run, or ExitInstance after a failed start; the result is
    // the exit code. Framework exceptions end in a failed start, never past this call.
    int RunThreadBody();

private:
    static unsigned __stdcall ThreadEntry(void* param);

    // A WM_QUIT taken by a nested pump still ends Run.
    BOOL m_bQuitReceived = FALSE;
    int m_nQuitCode = 0;
    POINT m_ptCursorLast = {-1, -1};
    UINT m_nMsgLast = 0;
    HANDLE m_hQueueReady = nullptr;
};

// The calling thread's thread object, or null.
CWinThread* AfxGetThread();
// The main window of the calling thread's thread object, or null.
CWnd* AfxGetMainWnd();
