// The framework's tooltip manager: one tooltip control per thread, fed with the mouse
// messages of windows that enabled tooltips (and of bars with CBRS_TOOLTIPS), holding
// one tool at a time, the one under the mouse; and the default tip text of a command.
#include "Wnd.h"

#include "ControlsCommon.h"
#include "ThreadState.h"

namespace {

[[nodiscard]] bool IsMouseMessageForTips(UINT message)
{
    return message == WM_MOUSEMOVE || message == WM_NCMOUSEMOVE || message == WM_LBUTTONUP ||
           message == WM_RBUTTONUP || message == WM_MBUTTONUP;
}

// Clicks and keys put a shown tip away.
[[nodiscard]] bool IsMessageThatHidesTips(UINT message)
{
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
           message == WM_NCLBUTTONDOWN || message == WM_NCRBUTTONDOWN || message == WM_NCMBUTTONDOWN ||
           (message >= WM_KEYFIRST && message <= WM_KEYLAST);
}

void ForgetTool(_AFX_THREAD_STATE* state)
{
    state->m_hWndLastHit = nullptr;
    state->m_nLastHit = -1;
    state->m_hWndLastTool = nullptr;
    state->m_nLastToolId = 0;
}

void RemoveLastTool(_AFX_THREAD_STATE* state)
{
    CToolTipCtrl* tip = state->m_pToolTip;
    if (tip && tip->m_hWnd && state->m_hWndLastTool) {
        TOOLINFOA info = {};
        info.cbSize = sizeof info;
        info.hwnd = state->m_hWndLastTool;
        info.uId = state->m_nLastToolId;
        tip->SendMessage(TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    }
    ForgetTool(state);
}

// The thread's tooltip control, owned by the top-level window of wnd; made (again) when
// there is none or it belongs to another top-level window.
[[nodiscard]] CToolTipCtrl* ThreadToolTipFor(_AFX_THREAD_STATE* state, CWnd* wnd)
{
    CWnd* top = wnd->GetTopLevelParent();
    HWND owner = top ? top->m_hWnd : wnd->m_hWnd;
    if (!state->m_pToolTip)
        state->m_pToolTip = new CToolTipCtrl;
    CToolTipCtrl* tip = state->m_pToolTip;
    if (tip->m_hWnd && ::GetWindow(tip->m_hWnd, GW_OWNER) != owner) {
        tip->DestroyWindow();
        ForgetTool(state);
    }
    if (!tip->m_hWnd) {
        ForgetTool(state);
        if (!tip->Create(CWnd::FromHandle(owner), TTS_ALWAYSTIP))
            return nullptr;
    }
    return tip;
}

} // namespace

BOOL CWnd::EnableToolTips(BOOL bEnable)
{
    if (bEnable) {
        m_nFlags |= WF_TOOLTIPS;
        return TRUE;
    }
    m_nFlags &= ~WF_TOOLTIPS;
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    if (state->m_hWndLastHit && state->m_hWndLastHit == m_hWnd) {
        RemoveLastTool(state);
        if (state->m_pToolTip && state->m_pToolTip->m_hWnd)
            state->m_pToolTip->Activate(FALSE);
    }
    return TRUE;
}

int CWnd::OnToolHitTest(CPoint point, TOOLINFOA* pTI)
{
    HWND child = ::ChildWindowFromPointEx(m_hWnd, point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (!child || child == m_hWnd)
        return -1;
    int id = ::GetDlgCtrlID(child);
    // Statics without an id carry 0xFFFF (from a template) or -1 (made in code).
    if (id == 0 || id == -1 || id == 0xFFFF)
        return -1;
    if (pTI) {
        pTI->hwnd = m_hWnd;
        pTI->uId = reinterpret_cast<UINT_PTR>(child);
        pTI->uFlags |= TTF_IDISHWND;
        pTI->lpszText = LPSTR_TEXTCALLBACKA;
    }
    return id;
}

void CWnd::FilterToolTipMessage(MSG* pMsg)
{
    _AFX_THREAD_STATE* state = AfxGetThreadState();
    if (IsMessageThatHidesTips(pMsg->message)) {
        CancelToolTips();
        return;
    }
    if (!IsMouseMessageForTips(pMsg->message) || !m_hWnd)
        return;
    CToolTipCtrl* tip = ThreadToolTipFor(state, this);
    if (!tip)
        return;

    TOOLINFOA info = {};
    info.cbSize = sizeof info;
    int hit = -1;
    if (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd)) {
        CPoint point(pMsg->pt);
        ScreenToClient(&point);
        hit = OnToolHitTest(point, &info);
    }
    if (hit == -1) {
        if (state->m_hWndLastHit == m_hWnd) {
            RemoveLastTool(state);
            tip->Activate(FALSE);
        }
        return;
    }
    if (!info.hwnd)
        info.hwnd = m_hWnd;
    if (state->m_hWndLastHit != m_hWnd || state->m_nLastHit != hit) {
        RemoveLastTool(state);
        // The tooltip sees the mouse through this relay only.
        info.uFlags &= ~TTF_SUBCLASS;
        if (tip->SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info))) {
            state->m_hWndLastHit = m_hWnd;
            state->m_nLastHit = hit;
            state->m_hWndLastTool = info.hwnd;
            state->m_nLastToolId = info.uId;
        }
        tip->Activate(TRUE);
    }
    // The control finds its tool by the window the message is for and the point in it.
    MSG relay = *pMsg;
    relay.hwnd = (info.uFlags & TTF_IDISHWND) ? reinterpret_cast<HWND>(info.uId) : info.hwnd;
    POINT point = pMsg->pt;
    ::ScreenToClient(relay.hwnd, &point);
    relay.message = WM_MOUSEMOVE;
    relay.lParam = MAKELPARAM(point.x, point.y);
    tip->RelayEvent(&relay);
}

void CWnd::CancelToolTips()
{
    CToolTipCtrl* tip = AfxGetThreadState()->m_pToolTip;
    if (tip && tip->m_hWnd)
        tip->Pop();
}

BOOL IsUnansweredToolTipText(const NMHDR* pNMHDR)
{
    if (!pNMHDR)
        return FALSE;
    if (pNMHDR->code == TTN_NEEDTEXTA) {
        LPCSTR text = reinterpret_cast<const NMTTDISPINFOA*>(pNMHDR)->lpszText;
        // A resource id (with the info's module) is an answer.
        if (text && text != LPSTR_TEXTCALLBACKA && IS_INTRESOURCE(text))
            return FALSE;
        return !text || text == LPSTR_TEXTCALLBACKA || text[0] == '\0';
    }
    if (pNMHDR->code == TTN_NEEDTEXTW) {
        LPCWSTR text = reinterpret_cast<const NMTTDISPINFOW*>(pNMHDR)->lpszText;
        if (text && text != LPSTR_TEXTCALLBACKW && IS_INTRESOURCE(text))
            return FALSE;
        return !text || text == LPSTR_TEXTCALLBACKW || text[0] == L'\0';
    }
    return FALSE;
}

void CWnd::AnswerToolTipText(NMHDR* pNMHDR)
{
    const bool isWide = pNMHDR->code == TTN_NEEDTEXTW;
    UINT flags = isWide ? reinterpret_cast<NMTTDISPINFOW*>(pNMHDR)->uFlags
                        : reinterpret_cast<NMTTDISPINFOA*>(pNMHDR)->uFlags;
    UINT_PTR id = pNMHDR->idFrom;
    if (flags & TTF_IDISHWND)
        id = static_cast<UINT_PTR>(::GetDlgCtrlID(reinterpret_cast<HWND>(id)));
    // A command string holds the status prompt, then the tip after the first newline.
    CString tip;
    CString full;
    if (id != 0 && id <= 0xFFFF && full.LoadString(static_cast<UINT>(id)))
        AfxExtractSubString(tip, full, 1, '\n');
    if (isWide) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(pNMHDR);
        const int capacity = static_cast<int>(sizeof info->szText / sizeof info->szText[0]);
        if (::MultiByteToWideChar(CP_ACP, 0, tip, -1, info->szText, capacity) == 0)
            info->szText[0] = L'\0';
        info->szText[capacity - 1] = L'\0';
        info->lpszText = info->szText;
        info->hinst = nullptr;
    } else {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(pNMHDR);
        ::lstrcpynA(info->szText, tip, static_cast<int>(sizeof info->szText));
        info->lpszText = info->szText;
        info->hinst = nullptr;
    }
}
