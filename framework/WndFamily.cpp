// A window's relatives: parent, owner, dialog items, descendants, and the messages and
// updates the framework hands down the window tree.
#include "Wnd.h"

#include "AfxGlobalData.h"
#include "CmdUI.h"
#include "WinThread.h"

#include <vector>

CWnd* CWnd::GetParent() const
{
    return FromHandle(::GetParent(m_hWnd));
}

CWnd* CWnd::SetParent(CWnd* pWndNewParent)
{
    return FromHandle(::SetParent(m_hWnd, pWndNewParent->GetSafeHwnd()));
}

CWnd* CWnd::GetOwner() const
{
    return m_hWndOwner ? FromHandle(m_hWndOwner) : GetParent();
}

void CWnd::SetOwner(CWnd* pOwnerWnd)
{
    m_hWndOwner = pOwnerWnd->GetSafeHwnd();
}

CWnd* CWnd::GetTopLevelParent() const
{
    // The root owner walks the same chain as ::GetParent: parents, then owners of popups.
    return m_hWnd ? FromHandle(::GetAncestor(m_hWnd, GA_ROOTOWNER)) : nullptr;
}

void CWnd::ActivateTopParent()
{
    HWND foreground = ::GetForegroundWindow();
    if (foreground && (foreground == m_hWnd || ::IsChild(foreground, m_hWnd)))
        return;
    CWnd* top = GetTopLevelParent();
    if (top && top->m_hWnd)
        top->SetActiveWindow();
}

CWnd* CWnd::GetDlgItem(int nID) const
{
    return FromHandle(::GetDlgItem(m_hWnd, nID));
}

int CWnd::GetDlgCtrlID() const
{
    return ::GetDlgCtrlID(m_hWnd);
}

int CWnd::SetDlgCtrlID(int nID)
{
    return static_cast<int>(::SetWindowLongPtrA(m_hWnd, GWLP_ID, nID));
}

CWnd* CWnd::GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious) const
{
    return FromHandle(::GetNextDlgTabItem(m_hWnd, pWndCtl->GetSafeHwnd(), bPrevious));
}

CWnd* CWnd::GetWindow(UINT nCmd) const
{
    return FromHandle(::GetWindow(m_hWnd, nCmd));
}

BOOL CWnd::IsChild(const CWnd* pWnd) const
{
    return ::IsChild(m_hWnd, pWnd->GetSafeHwnd());
}

namespace {

[[nodiscard]] std::vector<HWND> ChildrenOf(HWND parent)
{
    std::vector<HWND> children;
    for (HWND child = ::GetTopWindow(parent); child; child = ::GetNextWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

// The list is taken first: handlers may create or destroy siblings while it is walked.
void SendToDescendants(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm)
{
    for (HWND child : ChildrenOf(parent)) {
        if (!::IsWindow(child))
            continue;
        if (!bOnlyPerm) {
            ::SendMessageA(child, message, wParam, lParam);
        } else if (CWnd* wnd = CWnd::FromHandlePermanent(child)) {
            AfxCallWndProc(wnd, child, message, wParam, lParam);
        }
        if (bDeep && ::IsWindow(child))
            SendToDescendants(child, message, wParam, lParam, bDeep, bOnlyPerm);
    }
}

[[nodiscard]] bool IsAutoButton(HWND control)
{
    if (!(::SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON))
        return false;
    UINT type = static_cast<UINT>(::GetWindowLongA(control, GWL_STYLE)) & BS_TYPEMASK;
    return type == BS_AUTOCHECKBOX || type == BS_AUTO3STATE || type == BS_AUTORADIOBUTTON;
}

} // namespace

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep, BOOL bOnlyPerm)
{
    SendToDescendants(m_hWnd, message, wParam, lParam, bDeep, bOnlyPerm);
}

void CWnd::UpdateDialogControls(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    CCmdUI state;
    for (HWND control : ChildrenOf(m_hWnd)) {
        if (!::IsWindow(control))
            continue;
        state.m_nID = static_cast<UINT>(::GetDlgCtrlID(control));
        if (state.m_nID == 0 || state.m_nID == 0xFFFF)
            continue;
        state.m_pOther = FromHandle(control);
        // A control that updates itself through its reflected update entry is done.
        CWnd* own = FromHandlePermanent(control);
        if (own && own->OnCmdMsg(0, MAKELONG(CN_UPDATE_COMMAND_UI, WM_REFLECT_BASE + WM_COMMAND), &state, nullptr))
            continue;
        // Buttons that change state by themselves work without a command handler.
        state.DoUpdate(pTarget, bDisableIfNoHndler && !IsAutoButton(control));
    }
}

void CWnd::OnSysColorChange()
{
    if (this == AfxGetMainWnd())
        afxData.UpdateSysColors();
    if (!(GetStyle() & WS_CHILD))
        SendMessageToDescendants(WM_SYSCOLORCHANGE, 0, 0, TRUE, FALSE);
    Default();
}

void CWnd::OnSettingChange(UINT uFlags, LPCSTR lpszSection)
{
    if (this == AfxGetMainWnd()) {
        afxData.UpdateSysMetrics();
        afxData.UpdateSysColors();
    }
    if (!(GetStyle() & WS_CHILD)) {
        const MSG* msg = GetCurrentMessage();
        SendMessageToDescendants(msg->message, msg->wParam, msg->lParam, TRUE, FALSE);
    }
    Default();
}
