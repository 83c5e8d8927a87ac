// The modal machinery: the framework's modal loop on any window, dialog windows from
// in-memory templates, the safe owner, and a dialog's modal run from PreModal to
// PostModal with its owner disabled meanwhile.
#include "Dialog.h"

#include "ControlRegistration.h"
#include "Exceptions.h"
#include "FrameworkConstants.h"
#include "ResourceModule.h"
#include "WinApp.h"
#include "WinThread.h"

namespace {

// Gets, pre-translates and dispatches one message; false on WM_QUIT, which stays the
// thread's business: its thread object records it, else it is posted again.
bool PumpModalMessage(MSG& msg)
{
    CWinThread* thread = AfxGetThread();
    if (thread) {
        BOOL more = thread->PumpMessage();
        msg = thread->m_msgCur;
        return more != FALSE;
    }
    if (!::GetMessageA(&msg, nullptr, 0, 0)) {
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        return false;
    }
    if (!CWnd::WalkPreTranslateTree(nullptr, &msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return true;
}

bool IsIdleMessage(MSG& msg)
{
    CWinThread* thread = AfxGetThread();
    if (thread)
        return thread->IsIdleMessage(&msg) != FALSE;
    return msg.message != WM_PAINT && msg.message != WM_SYSTIMER;
}

} // namespace

int CWnd::RunModalLoop(DWORD dwFlags)
{
    const HWND hWnd = m_hWnd;
    if (!hWnd)
        return -1;
    bool showOnIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
    const HWND hWndParent = ::GetParent(hWnd);
    m_nFlags |= WF_MODALLOOP | WF_CONTINUEMODAL;

    // Idle once the queue has emptied after a message that counts as activity.
    bool isIdle = true;
    MSG msg = {};
    for (;;) {
        while (isIdle && !::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (showOnIdle) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                showOnIdle = false;
            }
            if (!(dwFlags & MLF_NOIDLEMSG) && hWndParent)
                ::SendMessageA(hWndParent, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(hWnd));
            isIdle = false;
        }
        do {
            if (!PumpModalMessage(msg)) {
                m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
                return -1;
            }
            // A window destroyed under the loop ends it; its object may be gone with it.
            if (!::IsWindow(hWnd))
                return -1;
            if (showOnIdle && (msg.message == WM_SYSTIMER || msg.message == WM_SYSKEYDOWN)) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                showOnIdle = false;
            }
            if (!ContinueModal()) {
                m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
                return m_nModalResult;
            }
            if (IsIdleMessage(msg))
                isIdle = true;
        } while (::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWnd::ContinueModal()
{
    return (m_nFlags & WF_CONTINUEMODAL) != 0;
}

void CWnd::EndModalLoop(int nResult)
{
    m_nModalResult = nResult;
    if (m_nFlags & WF_CONTINUEMODAL) {
        m_nFlags &= ~WF_CONTINUEMODAL;
        // Wakes a loop that waits for a message.
        if (m_hWnd)
            PostMessage(WM_NULL);
    }
}

BOOL CWnd::CreateDlgIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, HINSTANCE hInst)
{
    if (m_hWnd || !lpDialogTemplate)
        return FALSE;
    if (!hInst)
        hInst = AfxGetResourceHandle();
    // A template may name any common control; its class must exist before the dialog does.
    AfxDeferRegisterClass(kAfxAllCommonControlClasses);
    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;
    HWND attached = nullptr;
    AfxHookWindowCreate(this, &attached);
    HWND hWnd = ::CreateDialogIndirectParamA(hInst, lpDialogTemplate, pParentWnd->GetSafeHwnd(), &AfxDlgProc, 0);
    if (AfxUnhookWindowCreate() && !hWnd)
        AfxForgetRefusedWindow(this, attached);
    return hWnd != nullptr;
}

CWnd* CWnd::GetSafeOwner(CWnd* pParent)
{
    HWND hWnd = pParent->GetSafeHwnd();
    if (!hWnd)
        hWnd = AfxGetMainWnd()->GetSafeHwnd();
    // The system makes a child's top-level window the owner anyway; this finds the same one.
    while (hWnd && (::GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD))
        hWnd = ::GetParent(hWnd);
    return hWnd ? FromHandle(hWnd) : nullptr;
}

void AfxEnableModelessForModal(BOOL bEnable)
{
    // The application's modeless windows belong to the main thread's application object.
    CWinApp* app = AfxGetApp();
    if (app && AfxGetThread() == app)
        app->EnableModeless(bEnable);
}

void CWnd::AbandonModalRun(CException* e)
{
    e->Delete();
    m_nModalResult = -1;
    m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
}

void AfxEndModalWindow(CWnd* pWnd, HWND hWndOwner, BOOL bEnableOwner)
{
    const bool wasActive = pWnd->m_hWnd && ::GetActiveWindow() == pWnd->m_hWnd;
    if (bEnableOwner)
        ::EnableWindow(hWndOwner, TRUE);
    if (pWnd->m_hWnd)
        pWnd->SetWindowPos(nullptr, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    if (hWndOwner && wasActive)
        ::SetActiveWindow(hWndOwner);
    pWnd->DestroyWindow();
}

HWND CDialog::PreModal()
{
    HWND hWndOwner = GetSafeOwner(m_pParentWnd)->GetSafeHwnd();
    if (!m_bModalPrepared) {
        AfxEnableModelessForModal(FALSE);
        m_bModalPrepared = TRUE;
    }
    m_hWndModalOwner = hWndOwner;
    m_bOwnerWasEnabled = hWndOwner && ::IsWindowEnabled(hWndOwner);
    AfxHookWindowCreate(this);
    return hWndOwner;
}

void CDialog::PostModal()
{
    AfxUnhookWindowCreate();
    m_hWndModalOwner = nullptr;
    if (m_bModalPrepared) {
        m_bModalPrepared = FALSE;
        AfxEnableModelessForModal(TRUE);
    }
}

INT_PTR CDialog::DoModal()
{
    m_nModalResult = -1;
    HINSTANCE hInst = nullptr;
    LPCDLGTEMPLATE dialogTemplate = FindTemplate(&hInst);
    if (!dialogTemplate)
        return -1;
    HWND hWndOwner = PreModal();
    AfxUnhookWindowCreate();
    bool enableOwner = false;
    if (hWndOwner && hWndOwner != ::GetDesktopWindow() && ::IsWindowEnabled(hWndOwner)) {
        ::EnableWindow(hWndOwner, FALSE);
        enableOwner = true;
    }
    TRY {
        if (CreateDlgIndirect(dialogTemplate, FromHandle(hWndOwner), hInst))
            RunModalDialogLoop();
    }
    CATCH_ALL(e)
    {
        AbandonModalRun(e);
    }
    END_CATCH_ALL
    AfxEndModalWindow(this, hWndOwner, enableOwner);
    PostModal();
    return m_nModalResult;
}

void CDialog::RunModalDialogLoop()
{
    if (!m_hWnd || !(m_nFlags & WF_CONTINUEMODAL))
        return;
    DWORD flags = MLF_SHOWONIDLE;
    if (GetStyle() & DS_NOIDLEMSG)
        flags |= MLF_NOIDLEMSG;
    RunModalLoop(flags);
}
