// Thread start-up, the framework message loop and idle processing.
#include "WinThread.h"

#include "Exceptions.h"
#include "FrameWnd.h"
#include "FrameworkConstants.h"
#include "HandleMap.h"
#include "ThreadState.h"
#include "Wnd.h"

#include <algorithm>
#include <vector>

#include <process.h>

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

CWinThread::CWinThread() = default;

CWinThread::~CWinThread()
{
    if (m_hThread)
        CloseHandle(m_hThread);
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    if (state->m_pCurrentWinThread == this)
        state->m_pCurrentWinThread = nullptr;
}

CWinThread* AfxGetThread()
{
    return AfxGetThreadState()->m_pCurrentWinThread;
}

CWnd* AfxGetMainWnd()
{
    CWinThread* thread = AfxGetThread();
    return thread ? thread->GetMainWnd() : nullptr;
}

CWnd* CWinThread::GetMainWnd()
{
    return m_pMainWnd;
}

void CWinThread::AttachToCurrentThread()
{
    AfxGetThreadState()->m_pCurrentWinThread = this;
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    if (m_hThread)
        return FALSE;
    const bool startSuspended = (dwCreateFlags & CREATE_SUSPENDED) != 0;
    HANDLE queueReady = startSuspended ? nullptr : CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!startSuspended && !queueReady)
        return FALSE;
    m_hQueueReady = queueReady;
    // Suspended until the handle and id are stored: an auto-deleting thread may end
    // and free this object before _beginthreadex has even returned.
    unsigned threadId = 0;
    uintptr_t handle = _beginthreadex(lpSecurityAttrs, nStackSize, &CWinThread::ThreadEntry, this,
                                      dwCreateFlags | CREATE_SUSPENDED, &threadId);
    if (!handle) {
        m_hQueueReady = nullptr;
        if (queueReady)
            CloseHandle(queueReady);
        return FALSE;
    }
    m_hThread = reinterpret_cast<HANDLE>(handle);
    m_nThreadID = threadId;
    if (startSuspended)
        return TRUE;
    ::ResumeThread(reinterpret_cast<HANDLE>(handle));
    // From here on the object may already be gone: only locals are used.
    WaitForSingleObject(queueReady, INFINITE);
    CloseHandle(queueReady);
    return TRUE;
}

DWORD CWinThread::ResumeThread()
{
    return ::ResumeThread(m_hThread);
}

DWORD CWinThread::SuspendThread()
{
    return ::SuspendThread(m_hThread);
}

BOOL CWinThread::PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::PostThreadMessageA(m_nThreadID, message, wParam, lParam);
}

unsigned __stdcall CWinThread::ThreadEntry(void* param)
{
    CWinThread* thread = static_cast<CWinThread*>(param);
    thread->AttachToCurrentThread();
    MSG msg;
    PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    HANDLE queueReady = thread->m_hQueueReady;
    thread->m_hQueueReady = nullptr;
    if (queueReady)
        SetEvent(queueReady);

    int exitCode = thread->RunThreadBody();
    thread->Delete();
    AfxDeleteTempMaps();
    AfxTermThreadState();
    return static_cast<unsigned>(exitCode);
}

int CWinThread::RunThreadBody()
{
    BOOL started = FALSE;
    try {
        started = InitInstance();
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
    try {
        return started ? Run() : ExitInstance();
    } catch (CException* e) {
        e->Delete();
    } catch (...) {
    }
    return -1;
}

BOOL CWinThread::InitInstance()
{
    return FALSE;
}

int CWinThread::ExitInstance()
{
    return m_nQuitCode;
}

void CWinThread::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

int CWinThread::Run()
{
    BOOL isIdle = TRUE;
    LONG idleCount = 0;
    MSG peeked;
    for (;;) {
        while (isIdle && !m_bQuitReceived && !PeekMessageA(&peeked, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++))
                isIdle = FALSE;
        }
        if (m_bQuitReceived)
            return ExitInstance();
        do {
            if (!PumpMessage() || m_bQuitReceived)
                return ExitInstance();
            if (IsIdleMessage(&m_msgCur)) {
                isIdle = TRUE;
                idleCount = 0;
            }
        } while (PeekMessageA(&peeked, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinThread::PumpMessage()
{
    if (!GetMessageA(&m_msgCur, nullptr, 0, 0)) {
        m_bQuitReceived = TRUE;
        m_nQuitCode = static_cast<int>(m_msgCur.wParam);
        return FALSE;
    }
    if (!PreTranslateMessage(&m_msgCur)) {
        TranslateMessage(&m_msgCur);
        DispatchMessageA(&m_msgCur);
    }
    return TRUE;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
    CWnd* mainWnd = GetMainWnd();
    HWND stop = mainWnd ? mainWnd->m_hWnd : nullptr;
    if (CWnd::WalkPreTranslateTree(stop, pMsg))
        return TRUE;
    // A window outside the main window's tree (an unowned popup) still lets the main
    // window see the message, for its accelerators.
    if (stop && pMsg->hwnd && ::GetAncestor(pMsg->hwnd, GA_ROOTOWNER) != stop)
        return mainWnd->PreTranslateMessage(pMsg);
    return FALSE;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg)
{
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
        if (pMsg->message == m_nMsgLast && pMsg->pt.x == m_ptCursorLast.x && pMsg->pt.y == m_ptCursorLast.y)
            return FALSE;
        m_ptCursorLast = pMsg->pt;
        m_nMsgLast = pMsg->message;
        return TRUE;
    }
    return pMsg->message != WM_PAINT && pMsg->message != WM_SYSTIMER;
}

namespace {
// WM_IDLEUPDATECMDUI to a visible frame and its permanent descendants.
void IdleUpdateFrame(CWnd* frame)
{
    if (!frame->m_hWnd || !frame->IsWindowVisible() || frame->IsIconic())
        return;
    AfxCallWndProc(frame, frame->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
    if (frame->m_hWnd)
        frame->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
}
} // namespace

BOOL CWinThread::OnIdle(LONG lCount)
{
    if (lCount <= 0) {
        CWnd* mainWnd = GetMainWnd();
        if (mainWnd)
            IdleUpdateFrame(mainWnd);
        // Floating and other frames of the thread; a handler may destroy one of them.
        std::vector<CFrameWnd*> frames = AfxGetThreadState()->m_frameList;
        for (CFrameWnd* frame : frames) {
            const std::vector<CFrameWnd*>& live = AfxGetThreadState()->m_frameList;
            if (frame != mainWnd && std::find(live.begin(), live.end(), frame) != live.end())
                IdleUpdateFrame(frame);
        }
    } else {
        AfxDeleteTempMaps();
    }
    return lCount < 1;
}

LRESULT CWinThread::ProcessWndProcException(CException* e, const MSG* pMsg)
{
    return DefaultWndProcExceptionResult(pMsg);
}

LRESULT CWinThread::DefaultWndProcExceptionResult(const MSG* pMsg)
{
    if (pMsg->message == WM_CREATE)
        return -1;
    // Unvalidated, the window would be sent WM_PAINT again at once, for ever.
    if (pMsg->message == WM_PAINT)
        ValidateRect(pMsg->hwnd, nullptr);
    return 0;
}
