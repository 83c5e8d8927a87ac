// Command-update items: a menu item by position, or a window such as a button.
#include "CmdUI.h"

#include "CmdTarget.h"
#include "Menu.h"
#include "Wnd.h"

void CCmdUI::Enable(BOOL bOn)
{
    if (m_pMenu) {
        // An item that opens a popup is left alone: its id is the popup's.
        if (!m_pSubMenu)
            ::EnableMenuItem(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : MF_GRAYED));
    } else if (m_pOther && m_pOther->m_hWnd) {
        HWND control = m_pOther->m_hWnd;
        // A control that loses its input must not keep the focus.
        if (!bOn && ::GetFocus() == control) {
            HWND parent = ::GetParent(control);
            ::SetFocus(parent ? ::GetNextDlgTabItem(parent, control, FALSE) : nullptr);
        }
        ::EnableWindow(control, bOn);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck)
{
    if (m_pMenu) {
        if (!m_pSubMenu)
            ::CheckMenuItem(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
    } else if (m_pOther && m_pOther->m_hWnd) {
        if (::SendMessageA(m_pOther->m_hWnd, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON)
            ::SendMessageA(m_pOther->m_hWnd, BM_SETCHECK, static_cast<WPARAM>(nCheck), 0);
    }
}

void CCmdUI::SetRadio(BOOL bOn)
{
    if (m_pMenu && !m_pSubMenu && bOn) {
        ::CheckMenuRadioItem(m_pMenu->m_hMenu, m_nIndex, m_nIndex, m_nIndex, MF_BYPOSITION);
        return;
    }
    SetCheck(bOn ? 1 : 0);
}

void CCmdUI::SetText(LPCSTR lpszText)
{
    if (m_pMenu) {
        if (m_pSubMenu)
            return;
        // The item keeps its enabled and checked state.
        UINT state = ::GetMenuState(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION) &
                     (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_MENUBARBREAK | MF_MENUBREAK);
        ::ModifyMenuA(m_pMenu->m_hMenu, m_nIndex, MF_BYPOSITION | MF_STRING | state, m_nID, lpszText);
    } else if (m_pOther && m_pOther->m_hWnd) {
        AfxSetWindowText(m_pOther->m_hWnd, lpszText);
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    if (m_nID == 0 || !pTarget)
        return TRUE;
    m_bEnableChanged = FALSE;
    BOOL updated = pTarget->OnCmdMsg(m_nID, static_cast<int>(CN_UPDATE_COMMAND_UI), this, nullptr);
    if (bDisableIfNoHndler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info = {nullptr, nullptr};
        if (!pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info))
            Enable(FALSE);
    }
    return updated;
}
