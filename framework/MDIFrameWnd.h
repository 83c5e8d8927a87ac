// Stands in for the framework's MDI frames, enough for a frame with child windows: the MDI
// frame makes an MDI client window as its pane (the layout gives it the room the bars
// leave), passes what it does not handle to DefFrameProc and names its active child as its
// active frame; a child frame is made through the client (WM_MDICREATE) and passes what it
// does not handle to DefMDIChildProc. The client lists the children in the frame's
// "window" popup with command ids from AFX_IDM_FIRST_MDICHILD.
#pragma once

#include "FrameWnd.h"

class CMDIChildWnd;

class CMDIFrameWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIFrameWnd)
public:
    // The MDI client (child AFX_IDW_PANE_FIRST), taking its window list into pWindowMenu
    // (null: none). Every child style is kept as given (MDIS_ALLCHILDSTYLES).
    virtual BOOL CreateClient(LPCREATESTRUCT lpCreateStruct, CMenu* pWindowMenu);
    // The popup of hMenuBar that holds the window commands (ID_WINDOW_NEW to
    // ID_WINDOW_TILE_VERT), or null.
    virtual HMENU GetWindowMenuPopup(HMENU hMenuBar);
    BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;

    // The active child frame, or null (also for a child window that is no CMDIChildWnd).
    CMDIChildWnd* MDIGetActive(BOOL* pbMaximized = nullptr) const;
    void MDIActivate(CWnd* pWndActivate);
    void MDIMaximize(CWnd* pWnd);
    void MDIRestore(CWnd* pWnd);
    // WM_MDISETMENU to the client: the frame shows pFrameMenu (null: keeps its menu) and
    // the client lists its children in pWindowMenu; the menu shown before.
    CMenu* MDISetMenu(CMenu* pFrameMenu, CMenu* pWindowMenu);

    // The active child, else the frame itself.
    CFrameWnd* GetActiveFrame() override;
    // The children's system-menu keys (Ctrl+F4, Ctrl+F6) first.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    HWND m_hWndMDIClient = nullptr;
};

class CMDIChildWnd : public CFrameWnd {
    DECLARE_DYNCREATE(CMDIChildWnd)
public:
    // Made by pParentWnd's MDI client; a null class is the framework's frame class. The
    // context reaches OnCreateClient as a frame's does.
    virtual BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName,
                        DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
                        CMDIFrameWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr);
    // The frame whose client holds this child.
    CMDIFrameWnd* GetMDIFrame() const;
    void MDIActivate();
    void MDIMaximize();
    void MDIRestore();
    void MDIDestroy();

    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    DECLARE_MESSAGE_MAP()
};
