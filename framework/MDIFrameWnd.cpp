// MDI frames: the client window, the active child, menus through the client, and the
// system's default processing of frames and children.
#include "MDIFrameWnd.h"

#include "CreateContext.h"
#include "Menu.h"
#include "ResourceModule.h"

IMPLEMENT_DYNCREATE(CMDIFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CMDIChildWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CMDIChildWnd, CFrameWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

BOOL CMDIFrameWnd::CreateClient(LPCREATESTRUCT, CMenu* pWindowMenu)
{
    CLIENTCREATESTRUCT client = {pWindowMenu->GetSafeHmenu(), AFX_IDM_FIRST_MDICHILD};
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL |
                        MDIS_ALLCHILDSTYLES;
    m_hWndMDIClient = ::CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", nullptr, style, 0, 0, 0, 0, m_hWnd,
                                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(AFX_IDW_PANE_FIRST)),
                                        AfxGetInstanceHandle(), &client);
    return m_hWndMDIClient != nullptr;
}

HMENU CMDIFrameWnd::GetWindowMenuPopup(HMENU hMenuBar)
{
    if (!hMenuBar || !::IsMenu(hMenuBar))
        return nullptr;
    const int popups = ::GetMenuItemCount(hMenuBar);
    for (int i = 0; i < popups; ++i) {
        HMENU popup = ::GetSubMenu(hMenuBar, i);
        if (!popup)
            continue;
        const int items = ::GetMenuItemCount(popup);
        for (int j = 0; j < items; ++j) {
            const UINT id = ::GetMenuItemID(popup, j);
            if (id >= ID_WINDOW_NEW && id <= ID_WINDOW_TILE_VERT)
                return popup;
        }
    }
    return nullptr;
}

BOOL CMDIFrameWnd::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext*)
{
    return CreateClient(lpcs, CMenu::FromHandle(GetWindowMenuPopup(::GetMenu(m_hWnd))));
}

CMDIChildWnd* CMDIFrameWnd::MDIGetActive(BOOL* pbMaximized) const
{
    BOOL maximized = FALSE;
    HWND active = m_hWndMDIClient ? reinterpret_cast<HWND>(::SendMessageA(m_hWndMDIClient, WM_MDIGETACTIVE, 0,
                                                                          reinterpret_cast<LPARAM>(&maximized)))
                                  : nullptr;
    if (pbMaximized)
        *pbMaximized = active ? maximized : FALSE;
    // Only a child made as a CMDIChildWnd is one; a foreign child window answers null.
    CWnd* child = CWnd::FromHandlePermanent(active);
    return (child && child->IsKindOf(RUNTIME_CLASS(CMDIChildWnd))) ? static_cast<CMDIChildWnd*>(child) : nullptr;
}

void CMDIFrameWnd::MDIActivate(CWnd* pWndActivate)
{
    ::SendMessageA(m_hWndMDIClient, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(pWndActivate->GetSafeHwnd()), 0);
}

void CMDIFrameWnd::MDIMaximize(CWnd* pWnd)
{
    ::SendMessageA(m_hWndMDIClient, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(pWnd->GetSafeHwnd()), 0);
}

void CMDIFrameWnd::MDIRestore(CWnd* pWnd)
{
    ::SendMessageA(m_hWndMDIClient, WM_MDIRESTORE, reinterpret_cast<WPARAM>(pWnd->GetSafeHwnd()), 0);
}

CMenu* CMDIFrameWnd::MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu)
{
    const LRESULT previous = ::SendMessageA(m_hWndMDIClient, WM_MDISETMENU,
                                            reinterpret_cast<WPARAM>(pFrameMenu->GetSafeHmenu()),
                                            reinterpret_cast<LPARAM>(pWindowMenu->GetSafeHmenu()));
    return CMenu::FromHandle(reinterpret_cast<HMENU>(previous));
}

CFrameWnd* CMDIFrameWnd::GetActiveFrame()
{
    CMDIChildWnd* active = MDIGetActive();
    return active ? static_cast<CFrameWnd*>(active) : this;
}

BOOL CMDIFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (m_hWndMDIClient && (pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN) &&
        ::TranslateMDISysAccel(m_hWndMDIClient, pMsg))
        return TRUE;
    return CFrameWnd::PreTranslateMessage(pMsg);
}

LRESULT CMDIFrameWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefFrameProcA(m_hWnd, m_hWndMDIClient, message, wParam, lParam);
}

BOOL CMDIChildWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                          CMDIFrameWnd* pParentWnd, CCreateContext* pContext)
{
    if (!pParentWnd || !pParentWnd->m_hWndMDIClient)
        return FALSE;
    m_strTitle = lpszWindowName ? lpszWindowName : "";
    const bool useDefault = EqualRect(&rect, &rectDefault);
    MDICREATESTRUCTA create = {};
    create.szClass = lpszClassName ? lpszClassName : AfxFrameOrViewClassName();
    create.szTitle = lpszWindowName;
    create.hOwner = AfxGetInstanceHandle();
    create.x = useDefault ? CW_USEDEFAULT : rect.left;
    create.y = useDefault ? CW_USEDEFAULT : rect.top;
    create.cx = useDefault ? CW_USEDEFAULT : rect.right - rect.left;
    create.cy = useDefault ? CW_USEDEFAULT : rect.bottom - rect.top;
    create.style = dwStyle & ~(WS_POPUP | WS_CHILD);
    create.lParam = reinterpret_cast<LPARAM>(pContext);
    AfxHookWindowCreate(this);
    const LRESULT made =
        ::SendMessageA(pParentWnd->m_hWndMDIClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create));
    AfxUnhookWindowCreate();
    return made != 0;
}

CMDIFrameWnd* CMDIChildWnd::GetMDIFrame() const
{
    HWND client = ::GetParent(m_hWnd);
    CWnd* frame = client ? CWnd::FromHandlePermanent(::GetParent(client)) : nullptr;
    return (frame && frame->IsKindOf(RUNTIME_CLASS(CMDIFrameWnd))) ? static_cast<CMDIFrameWnd*>(frame) : nullptr;
}

void CMDIChildWnd::MDIActivate()
{
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIMaximize()
{
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIRestore()
{
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIRESTORE, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

void CMDIChildWnd::MDIDestroy()
{
    ::SendMessageA(::GetParent(m_hWnd), WM_MDIDESTROY, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

LRESULT CMDIChildWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::DefMDIChildProcA(m_hWnd, message, wParam, lParam);
}

int CMDIChildWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    // The client hands the child its MDICREATESTRUCT; the frame's creation reads the
    // context that travelled in it.
    CREATESTRUCT create = *lpCreateStruct;
    const auto* mdi = static_cast<const MDICREATESTRUCTA*>(lpCreateStruct->lpCreateParams);
    create.lpCreateParams = mdi ? reinterpret_cast<LPVOID>(mdi->lParam) : nullptr;
    return CFrameWnd::OnCreate(&create);
}
