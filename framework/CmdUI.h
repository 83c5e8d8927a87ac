// Stands in for the framework's command-update object: one user-interface item (a
// menu item by position, or a window such as a button) that update handlers enable,
// check or relabel. Bars derive their own forms (toolbar buttons) from it.
#pragma once

#include <windows.h>

class CCmdTarget;
class CMenu;
class CWnd;

class CCmdUI {
public:
    CCmdUI() = default;
    virtual ~CCmdUI() = default;

    UINT m_nID = 0;
    UINT m_nIndex = 0;
    // Menu form: the menu holding the item at m_nIndex, and the popup the item opens.
    CMenu* m_pMenu = nullptr;
    CMenu* m_pSubMenu = nullptr;
    // Window form.
    CWnd* m_pOther = nullptr;
    UINT m_nIndexMax = 0;
    BOOL m_bEnableChanged = FALSE;
    BOOL m_bContinueRouting = FALSE;

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);  // 0 clear, 1 checked, 2 indeterminate
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCSTR lpszText);
    // Called by an update handler: let the next command target update the item too.
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks pTarget's routing to update the item; with bDisableIfNoHndler an item that
    // no update handler enabled and no command handler would carry out is disabled.
    // TRUE when an update handler ran.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);
};
