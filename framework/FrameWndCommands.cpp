// Frame commands: routing, accelerators, menu updates, status texts, idle update, help.
#include "FrameWnd.h"

#include "CmdUI.h"
#include "Document.h"
#include "Menu.h"
#include "View.h"
#include "WinApp.h"

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // The active view first (it passes on to its document), then the frame, then the application.
    if (m_pViewActive && m_pViewActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST && m_hAccelTable &&
        ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg))
        return TRUE;
    return CWnd::PreTranslateMessage(pMsg);
}

void CFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    if (bSysMenu || !pPopupMenu)
        return;
    CCmdUI state;
    state.m_pMenu = pPopupMenu;
    state.m_nIndexMax = static_cast<UINT>(pPopupMenu->GetMenuItemCount());
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; ++state.m_nIndex) {
        state.m_nID = pPopupMenu->GetMenuItemID(static_cast<int>(state.m_nIndex));
        // Separators (0) and items that open popups (-1) have no command.
        if (state.m_nID == 0 || state.m_nID == static_cast<UINT>(-1))
            continue;
        state.m_pSubMenu = nullptr;
        // System commands keep their own state.
        state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
        // A handler may have added or removed items: continue after the ones it left.
        UINT count = static_cast<UINT>(pPopupMenu->GetMenuItemCount());
        if (count < state.m_nIndexMax) {
            state.m_nIndex -= state.m_nIndexMax - count;
            while (state.m_nIndex < count &&
                   pPopupMenu->GetMenuItemID(static_cast<int>(state.m_nIndex)) == state.m_nID)
                ++state.m_nIndex;
        }
        state.m_nIndexMax = count;
    }
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu)
{
    // Flags 0xFFFF with no menu: the menu has closed.
    if (nFlags == 0xFFFF && !hSysMenu) {
        SendMessage(WM_SETMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
        return;
    }
    UINT id = (nFlags & (MF_SEPARATOR | MF_POPUP)) ? 0 : nItemID;
    SendMessage(WM_SETMESSAGESTRING, id);
}

CWnd* CFrameWnd::GetMessageBar()
{
    HWND bar = ::GetDlgItem(m_hWnd, AFX_IDW_STATUS_BAR);
    return bar ? FromHandle(bar) : nullptr;
}

void CFrameWnd::GetMessageString(UINT nID, CString& rMessage) const
{
    // The prompt is the first line; a tooltip text may follow it.
    CString strings;
    strings.LoadString(nID);
    AfxExtractSubString(rMessage, strings, 0);
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam)
{
    UINT previous = m_nIDLastMessage;
    m_nIDLastMessage = static_cast<UINT>(wParam);
    CWnd* bar = GetMessageBar();
    if (bar) {
        CString text;
        if (lParam)
            text = reinterpret_cast<LPCSTR>(lParam);
        else if (wParam)
            GetMessageString(static_cast<UINT>(wParam), text);
        AfxSetWindowText(bar->m_hWnd, text);
    }
    return previous;
}

LRESULT CFrameWnd::OnPopMessageString(WPARAM wParam, LPARAM lParam)
{
    if (m_nFlags & WF_NOPOPMSG)
        return 0;
    return SendMessage(WM_SETMESSAGESTRING, wParam, lParam);
}

void CFrameWnd::SetMessageText(LPCSTR lpszText)
{
    SendMessage(WM_SETMESSAGESTRING, 0, reinterpret_cast<LPARAM>(lpszText));
}

void CFrameWnd::SetMessageText(UINT nID)
{
    SendMessage(WM_SETMESSAGESTRING, nID);
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam)
{
    if (m_nIdleFlags & idleLayout)
        RecalcLayout((m_nIdleFlags & idleNotify) != 0);
    if (m_nIdleFlags & idleTitle) {
        m_nIdleFlags &= ~idleTitle;
        OnUpdateFrameTitle(TRUE);
    }
    return 0;
}

void CFrameWnd::OnHelp()
{
    if (CWinApp* app = AfxGetApp())
        app->OnHelp();
}

void CFrameWnd::OnHelpIndex()
{
    if (CWinApp* app = AfxGetApp())
        app->OnHelpIndex();
}

void CFrameWnd::OnHelpUsing()
{
    if (CWinApp* app = AfxGetApp())
        app->OnHelpUsing();
}

void CFrameWnd::OnContextHelp()
{
    if (CWinApp* app = AfxGetApp())
        app->OnContextHelp();
}
