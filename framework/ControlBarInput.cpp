// A control bar's pre-translation: tooltips for its tools, flyby prompts in the owner
// frame's status bar while the mouse is over a tool, and dialog keys for its controls.
#include "ControlBar.h"

#include "FrameWnd.h"
#include "ThreadState.h"

namespace {
// Checks, while a prompt is shown, whether the mouse has left the bar.
constexpr UINT_PTR kFlybyTimerId = 0xE000;
constexpr UINT kFlybyCheckMs = 200;
} // namespace

BOOL CControlBar::PreTranslateMessage(MSG* pMsg)
{
    if (!m_hWnd)
        return FALSE;
    const UINT message = pMsg->message;
    if (m_dwStyle & CBRS_TOOLTIPS)
        FilterToolTipMessage(pMsg);
    else
        CWnd::PreTranslateMessage(pMsg);
    if ((m_dwStyle & CBRS_FLYBY) && (message == WM_MOUSEMOVE || message == WM_NCMOUSEMOVE))
        UpdateFlybyStatus(pMsg);
    if (message < WM_KEYFIRST || message > WM_KEYLAST)
        return FALSE;
    if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd))
        return FALSE;
    // Dialog keys would eat the frames' accelerators: they translate first.
    for (CWnd* owner = GetOwner(); owner; owner = owner->GetParentFrame()) {
        if (owner->PreTranslateMessage(pMsg))
            return TRUE;
    }
    return ::IsDialogMessageA(m_hWnd, pMsg);
}

BOOL CControlBar::SetStatusText(int nHit)
{
    CWnd* owner = GetOwner();
    if (!owner || !owner->m_hWnd || !owner->IsFrameWnd())
        return FALSE;
    if (nHit == -1)
        owner->SendMessage(WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    else
        owner->SendMessage(WM_SETMESSAGESTRING, static_cast<WPARAM>(nHit));
    return TRUE;
}

void CControlBar::UpdateFlybyStatus(const MSG* pMsg)
{
    int hit = -1;
    if (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd)) {
        CPoint point(pMsg->pt);
        ScreenToClient(&point);
        hit = OnToolHitTest(point, nullptr);
    }
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    const bool showsOurs = state->m_hWndLastStatus == m_hWnd;
    if (showsOurs && state->m_nLastStatus == hit)
        return;
    if (hit != -1) {
        SetStatusText(hit);
        SetTimer(kFlybyTimerId, kFlybyCheckMs, nullptr);
    } else if (showsOurs && state->m_nLastStatus != -1) {
        SetStatusText(-1);
    }
    state->m_hWndLastStatus = m_hWnd;
    state->m_nLastStatus = hit;
}

BOOL CControlBar::IsCursorOverBar() const
{
    POINT cursor;
    if (!::GetCursorPos(&cursor))
        return FALSE;
    HWND under = ::WindowFromPoint(cursor);
    return under && (under == m_hWnd || ::IsChild(m_hWnd, under));
}

void CControlBar::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kFlybyTimerId) {
        Default();
        return;
    }
    if (IsCursorOverBar())
        return;
    KillTimer(kFlybyTimerId);
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    if (state->m_hWndLastStatus != m_hWnd)
        return;
    if (state->m_nLastStatus != -1)
        SetStatusText(-1);
    state->m_hWndLastStatus = nullptr;
    state->m_nLastStatus = -1;
}
