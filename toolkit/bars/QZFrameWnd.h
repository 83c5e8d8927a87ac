// The toolkit frame: a framework frame window that carries the toolkit's frame part (image
// menus, menu bar, shortcut manager). Its toolkit operations hand their arguments and the
// frame to that part; its handlers run the framework's handling and then the part's. What
// it adds of its own is replacing its view by one of another class.
#pragma once

#include "framework/FrameWnd.h"
#include "toolkit/bars/QZFrameImpl.h"

class CDockState;
class CDocument;
struct CCreateContext;
struct CRuntimeClass;

class CQZFrameWnd : public CFrameWnd, public CQZFrameImpl {
    DECLARE_DYNCREATE(CQZFrameWnd)
public:
    CQZFrameWnd();
    ~CQZFrameWnd() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // The menu bar's keyboard navigation first, then the frame's (its accelerators).
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // A new view of pViewClass takes the old view's place; FALSE, with the old view kept,
    // when the new one cannot be made.
    virtual BOOL ReplaceView(CRuntimeClass* pViewClass, CDocument* pDoc = nullptr, CCreateContext* pContext = nullptr);
    virtual void LoadBarState(LPCSTR lpszProfileName);
    virtual void SaveBarState(LPCSTR lpszProfileName);
    virtual void DockControlBarLeftOf(CControlBar* pBar, CControlBar* pLeftOf);
    virtual CMenu* GetMenu();
    virtual BOOL AddCoolMenuCommand(UINT nCommand);
    virtual BOOL HideCommand(UINT nCommand);
    virtual BOOL AddCoolMenuCommands(const UINT* pCommands, int nCount);
    virtual BOOL HideCommands(const UINT* pCommands, int nCount);
    virtual void SetDockState(const CDockState& state);
    virtual void GetDockState(CDockState& state);
    // FALSE when the frame's own PreCreateWindow refuses.
    virtual BOOL PreCreateWindowWithIcon(CREATESTRUCT& cs, UINT nIconID);

    void EnableDocking(DWORD dwDockStyle);
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
    void DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = nullptr);
    BOOL InstallCoolMenus(UINT nToolbar);
    BOOL InstallCoolMenus(const UINT* pToolbars, int nCount);

protected:
    afx_msg void OnSysColorChange();
    afx_msg void OnSettingChange(UINT uFlags, LPCSTR lpszSection);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg LRESULT OnSetCustomizeBar(WPARAM wParam, LPARAM lParam);
    afx_msg void OnCustomizeToolbar();
    DECLARE_MESSAGE_MAP()
};
