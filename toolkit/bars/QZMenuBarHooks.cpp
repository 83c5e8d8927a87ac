// The menu bar's hooks on its frame and on the MDI client: the messages that concern menus
// still arrive there once the bar has taken the frame's menu, and are handed to the bar.
#include "toolkit/bars/QZMenuBar.h"

#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/res/ToolkitResources.h"

IMPLEMENT_DYNAMIC(CQZMBarWndHook, CQZWndHook)
IMPLEMENT_DYNAMIC(CQZMBarMDIWndHook, CQZMBarWndHook)

CQZMBarWndHook::~CQZMBarWndHook()
{
    HookWindow(static_cast<HWND>(nullptr));
}

BOOL CQZMBarWndHook::Install(CQZMenuBar* pMenuBar, HWND hWnd)
{
    m_pMenuBar = pMenuBar;
    return HookWindow(hWnd);
}

BOOL CQZMBarWndHook::HandleMenuBarMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    CQZMenuBar* bar = m_pMenuBar;
    switch (msg) {
    case WM_MDISETMENU: {
        bar->BuildMenuItems(reinterpret_cast<HMENU>(wParam), reinterpret_cast<HMENU>(lParam));
        // The bar shows the new menu: the frame keeps none of its own.
        HWND frame = bar->m_hWndOwner ? bar->m_hWndOwner : ::GetParent(bar->m_hWnd);
        ::SetMenu(frame, nullptr);
        *pResult = 0;
        return TRUE;
    }
    case WM_MDIREFRESHMENU:
        *pResult = 0;
        return TRUE;
    case WM_PAINT:
        // The MDI client repaints when a child is maximized or restored.
        if (m_hWnd == bar->m_hWndMDIClient)
            bar->SyncMDIMaximized(TRUE);
        return FALSE;
    case WM_NCACTIVATE: {
        HWND frameWindow = bar->m_hWndOwner ? bar->m_hWndOwner : ::GetParent(bar->m_hWnd);
        CWnd* frame = CWnd::FromHandlePermanent(frameWindow);
        BOOL active = static_cast<BOOL>(wParam);
        if (frame && (frame->m_nFlags & WF_STAYACTIVE))
            active = TRUE;
        else if (!::IsWindowEnabled(frameWindow))
            active = FALSE;  // a modal dialog is open
        if (active != bar->m_bFrameActive)
            bar->m_bFrameActive = active;
        bar->Invalidate(TRUE);
        return FALSE;
    }
    case WM_COMMAND:
        // Exactly the command: a control's notification with that id is no command.
        CQZMenuBar::m_bFullMenus = wParam == ID_QZ_FULL_MENUS;
        return FALSE;
    default:
        return FALSE;
    }
}

LRESULT CQZMBarWndHook::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    CQZMenuBar* bar = m_pMenuBar;
    if (!bar || !::IsWindow(bar->m_hWnd))
        return CQZWndHook::WindowProc(msg, wParam, lParam);
    BOOL send = FALSE;
    if (HWND server = bar->FilterFrameMenuMessage(&send, msg, wParam, lParam)) {
        if (send)
            return ::SendMessageA(server, msg, wParam, lParam);
        return ::PostMessageA(server, msg, wParam, lParam);
    }
    switch (msg) {
    case WM_SYSCOLORCHANGE:
        bar->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(qzAfxData.fontCaption.m_hObject), TRUE);
        break;
    case WM_MENUSELECT:
        bar->OnMenuSelect(reinterpret_cast<HMENU>(lParam), LOWORD(wParam));
        break;
    case WM_INITMENUPOPUP:
        // The frame's handler sees the bar's open item as the popup's position.
        lParam = MAKELPARAM(LOWORD(bar->m_nCurrentItem), HIWORD(lParam));
        if (!HIWORD(lParam) && reinterpret_cast<HMENU>(wParam) == bar->m_hWindowMenu)
            bar->OnInitWindowMenu();
        // Posted: the selection waits until the popup is fully prepared (its states
        // updated, hidden items taken out) and its menu loop runs.
        if (bar->m_nSelectOnOpen != QZ_MBS_NONE && reinterpret_cast<HMENU>(wParam) == bar->m_hPopupMenu) {
            bar->PostMessage(WM_QZ_SELECTOPENITEM, wParam, bar->m_nSelectOnOpen);
            bar->SelectOnOpen(QZ_MBS_NONE);
        }
        break;
    default: {
        LRESULT result = 0;
        if (HandleMenuBarMessage(msg, wParam, lParam, &result))
            return result;
        break;
    }
    }
    return CQZWndHook::WindowProc(msg, wParam, lParam);
}

LRESULT CQZMBarMDIWndHook::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    CQZMenuBar* bar = m_pMenuBar;
    LRESULT result = 0;
    if (bar && ::IsWindow(bar->m_hWnd) && HandleMenuBarMessage(msg, wParam, lParam, &result))
        return result;
    return CQZWndHook::WindowProc(msg, wParam, lParam);
}
