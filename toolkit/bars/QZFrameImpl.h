// What ties the toolkit to a frame window: its image menus, its menu bar and its shortcut
// manager, toolkit dock bars on its sides, docking by alignment, the bar layout (with the
// docking windows' sizes) in the toolkit's settings store, shortcut texts in every popup,
// the menu bar's first look at every key, and the toolbar to customise. A toolkit frame
// takes it as a second base; every operation is given that frame as its last argument.
#pragma once

#include "toolkit/bars/QZMenuBar.h"
#include "toolkit/menus/QZCoolMenu.h"
#include "toolkit/shortcuts/QZAccelManager.h"

#include <windows.h>

class CControlBar;
class CDockBar;
class CDockState;
class CFrameWnd;
class CMenu;

// Owns its image menus, menu bar object and shortcut manager for the frame's lifetime.
class CQZFrameImpl {
public:
    CQZFrameImpl() = default;
    virtual ~CQZFrameImpl();

    // Toolkit dock bars on the sides the style allows that the frame has none on yet, and
    // toolkit floating frames; throws the framework's resource exception when a dock bar
    // cannot be made (those made before it stay).
    void EnableDocking(DWORD dwDockStyle, CFrameWnd* pFrame);
    // Without a dock bar, the side whose alignment equals the bar's; a bar that names no one
    // side enabled for docking is not docked.
    void DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect, CFrameWnd* pFrame);
    // nDockBarID 0: by the bar's alignment.
    void DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect, CFrameWnd* pFrame);
    // On pLeftOf's side, at its place moved one pixel on.
    void DockControlBarLeftOf(CControlBar* pBar, CControlBar* pLeftOf, CFrameWnd* pFrame);

    // The layout stored under the profile name is applied only when every bar it names, and
    // every docking window's section, is found; otherwise the frame keeps its layout.
    void LoadBarState(LPCSTR lpszProfileName, CFrameWnd* pFrame);
    void SaveBarState(LPCSTR lpszProfileName, CFrameWnd* pFrame);
    // Records of bars or floating frames that cannot be obtained are skipped.
    void SetDockState(const CDockState& state, CFrameWnd* pFrame);
    void GetDockState(CDockState& state, CFrameWnd* pFrame);

    // A window class with icon nIconID; the frame calls it after its own PreCreateWindow.
    BOOL PreCreateWindowWithIcon(CREATESTRUCT& cs, UINT nIconID, CFrameWnd* pFrame);
    // TRUE when the menu bar took the message as its keyboard navigation.
    BOOL PreTranslateMessage(MSG* pMsg, CFrameWnd* pFrame);
    void OnSysColorChange(CFrameWnd* pFrame);
    void OnSettingChange(UINT uFlags, LPCSTR lpszSection, CFrameWnd* pFrame);
    // Each string item of the popup shows its command's first shortcut after a tab, once the
    // shortcut manager knows the commands.
    void UpdateMenuShortcutText(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu, CFrameWnd* pFrame);
    // WM_QZ_SETCUSTOMIZEBAR: -1 for no bar; a toolbar is remembered for the customise command.
    LRESULT OnSetCustomizeBar(WPARAM wParam, LPARAM lParam, CFrameWnd* pFrame);
    // Opens the remembered toolbar's customise dialog, once.
    void OnCustomizeToolbar(CFrameWnd* pFrame);

    // Image menus on the frame with the images of the toolbars; FALSE at the first toolbar
    // that cannot be loaded.
    BOOL InstallCoolMenus(const UINT* pToolbars, int nCount, CFrameWnd* pFrame);
    BOOL InstallCoolMenus(UINT nToolbar, CFrameWnd* pFrame);
    CQZCoolMenu* GetCoolMenu() { return &m_CoolMenu; }
    CQZMenuBar* GetMenuBar() { return &m_wndMenuBar; }
    CQZAccelManager* GetAccelManager() { return &m_AccelManager; }
    // The frame window's menu, or the menu bar's when the window has none.
    CMenu* GetMenu(CFrameWnd* pFrame);
    // Commands that personalised menus hide until used (in the image menus too once installed).
    BOOL HideCommands(const UINT* pCommands, int nCount, CFrameWnd* pFrame);
    BOOL HideCommand(UINT nCommand, CFrameWnd* pFrame);
    BOOL AddCoolMenuCommand(UINT nCommand, CFrameWnd* pFrame);
    BOOL AddCoolMenuCommands(const UINT* pCommands, int nCount, CFrameWnd* pFrame);

    CQZCoolMenu m_CoolMenu;
    CQZMenuBar m_wndMenuBar;
    CQZAccelManager m_AccelManager;

private:
    CQZFrameImpl(const CQZFrameImpl&) = delete;
    CQZFrameImpl& operator=(const CQZFrameImpl&) = delete;
};
