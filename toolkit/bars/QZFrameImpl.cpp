// The toolkit frame's own part: dock bars and docking, the bar layout in the toolkit's
// settings store, the menu bar's first look at keys, shortcut texts in popups, the image
// menus and the toolbar remembered for customising.
#include "toolkit/bars/QZFrameImpl.h"

#include "framework/DockBar.h"
#include "framework/DockState.h"
#include "framework/Exceptions.h"
#include "framework/FrameWnd.h"
#include "framework/Menu.h"
#include "framework/ResourceException.h"
#include "framework/ResourceModule.h"
#include "toolkit/bars/QZToolBar.h"
#include "toolkit/docking/QZDockBar.h"
#include "toolkit/docking/QZDockState.h"
#include "toolkit/docking/QZDockWindow.h"
#include "toolkit/docking/QZMiniDockFrameWnd.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZRegistryManager.h"

#include <cassert>
#include <vector>

namespace {

struct FrameDockSide {
    UINT id;
    DWORD style;
};

// Walked in this order wherever a side is chosen.
const FrameDockSide kFrameDockSides[] = {
    {AFX_IDW_DOCKBAR_TOP, CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM},
    {AFX_IDW_DOCKBAR_BOTTOM, CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP},
    {AFX_IDW_DOCKBAR_LEFT, CBRS_ALIGN_LEFT | CBRS_BORDER_RIGHT},
    {AFX_IDW_DOCKBAR_RIGHT, CBRS_ALIGN_RIGHT | CBRS_BORDER_LEFT},
};

// The toolbar the customise command opens; one for all frames. Its window is kept too:
// the toolbar may be gone by the time the command comes.
CQZToolBar* g_pCustomizeBar = nullptr;
HWND g_hWndCustomizeBar = nullptr;

CString FrameBarSection(LPCSTR profile, int index)
{
    CString section;
    section.Format("%s-Bar%d", profile, index);
    return section;
}

std::vector<CQZDockWindow*> FrameDockWindows(CFrameWnd* frame)
{
    std::vector<CQZDockWindow*> windows;
    for (POSITION pos = frame->m_listControlBars.GetHeadPosition(); pos;) {
        auto* bar = static_cast<CControlBar*>(frame->m_listControlBars.GetNext(pos));
        if (bar->IsKindOf(RUNTIME_CLASS(CQZDockWindow)))
            windows.push_back(static_cast<CQZDockWindow*>(bar));
    }
    return windows;
}

// The section of the stored layout that holds the window's record, or an empty name when
// the sections end first. Never past what a stored layout can hold.
CString FindDockWindowSection(CQZRegistryManager& store, LPCSTR profile, CQZDockWindow* window)
{
    const int id = static_cast<int>(LOWORD(window->GetDlgCtrlID()));
    for (int index = 0; index < CDockState::kMaxStoredBars; ++index) {
        const CString section = FrameBarSection(profile, index);
        const int barId = store.GetProfileInt(section, "BarID", -1);
        if (barId == -1)
            break;
        if (barId == id)
            return section;
    }
    return CString();
}

// Every bar the layout names is one the frame has.
bool NamesOnlyBarsOf(const CDockState& state, CFrameWnd* frame)
{
    for (int i = 0; i < state.m_arrBarInfo.GetSize(); ++i) {
        const CControlBarInfo* info = state.m_arrBarInfo.GetAt(i);
        for (int j = 0; j < info->m_arrBarID.GetSize(); ++j) {
            auto id = static_cast<UINT>(reinterpret_cast<uintptr_t>(info->m_arrBarID.GetAt(j)));
            if (id == 0)
                continue;
            // A placeholder carries the bar's id in its low word.
            if (id > 0xFFFF)
                id = LOWORD(id);
            if (!frame->GetControlBar(id))
                return false;
        }
        if (!info->m_bFloating && !frame->GetControlBar(info->m_nBarID))
            return false;
    }
    return true;
}

} // namespace

CQZFrameImpl::~CQZFrameImpl() = default;

void CQZFrameImpl::EnableDocking(DWORD dwDockStyle, CFrameWnd* pFrame)
{
    pFrame->m_pFloatingFrameClass = RUNTIME_CLASS(CQZMiniDockFrameWnd);
    for (const FrameDockSide& side : kFrameDockSides) {
        if (!(side.style & dwDockStyle & CBRS_ALIGN_ANY) || pFrame->GetControlBar(side.id))
            continue;
        auto* dockBar = new CQZDockBar;
        dockBar->m_bAutoDelete = TRUE;
        // A dock bar that fails has deleted itself.
        if (!dockBar->Create(pFrame, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | side.style,
                             side.id))
            AfxThrowResourceException();
    }
}

void CQZFrameImpl::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect, CFrameWnd* pFrame)
{
    if (!pBar)
        return;
    if (!pDockBar) {
        const DWORD alignment = pBar->GetBarStyle() & CBRS_ALIGN_ANY;
        for (const FrameDockSide& side : kFrameDockSides) {
            if ((side.style & CBRS_ALIGN_ANY) == alignment) {
                pDockBar = DYNAMIC_DOWNCAST(CDockBar, pFrame->GetControlBar(side.id));
                break;
            }
        }
    }
    // A bar that names no one side enabled for docking has nowhere to go: the caller's
    // mistake, reported in debug builds, never a dock on no dock bar.
    assert(pDockBar && "the bar's alignment names no side enabled for docking");
    if (!pDockBar)
        return;
    pFrame->DockControlBar(pBar, pDockBar, lpRect);
}

void CQZFrameImpl::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect, CFrameWnd* pFrame)
{
    CDockBar* dockBar = nDockBarID ? DYNAMIC_DOWNCAST(CDockBar, pFrame->GetControlBar(nDockBarID)) : nullptr;
    DockControlBar(pBar, dockBar, lpRect, pFrame);
}

void CQZFrameImpl::DockControlBarLeftOf(CControlBar* pBar, CControlBar* pLeftOf, CFrameWnd* pFrame)
{
    pFrame->RecalcLayout(TRUE);
    CRect rect;
    pLeftOf->GetWindowRect(&rect);
    rect.OffsetRect(1, 0);
    const DWORD style = pLeftOf->GetBarStyle();
    UINT dockBarId = 0;
    if (style & CBRS_ALIGN_TOP)
        dockBarId = AFX_IDW_DOCKBAR_TOP;
    else if (style & CBRS_ALIGN_BOTTOM)
        dockBarId = AFX_IDW_DOCKBAR_BOTTOM;
    else if (style & CBRS_ALIGN_LEFT)
        dockBarId = AFX_IDW_DOCKBAR_LEFT;
    else if (style & CBRS_ALIGN_RIGHT)
        dockBarId = AFX_IDW_DOCKBAR_RIGHT;
    DockControlBar(pBar, dockBarId, &rect, pFrame);
}

void CQZFrameImpl::LoadBarState(LPCSTR lpszProfileName, CFrameWnd* pFrame)
{
    // A stored layout holds a record per bar and dock bar, and a floating dock bar per bar
    // that is no dock bar at most.
    int maxRecords = 0;
    for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos;) {
        auto* bar = static_cast<CControlBar*>(pFrame->m_listControlBars.GetNext(pos));
        maxRecords += bar->IsDockBar() ? 1 : 2;
    }
    CQZDockState state;
    state.LoadState(lpszProfileName, maxRecords);
    if (!NamesOnlyBarsOf(state, pFrame))
        return;
    CQZRegistryManager store(HKEY_CURRENT_USER);
    for (CQZDockWindow* window : FrameDockWindows(pFrame)) {
        const CString section = FindDockWindowSection(store, lpszProfileName, window);
        if (section.IsEmpty())
            return;
        window->LoadBarSize(section);
    }
    SetDockState(state, pFrame);
}

void CQZFrameImpl::SaveBarState(LPCSTR lpszProfileName, CFrameWnd* pFrame)
{
    CQZDockState state;
    GetDockState(state, pFrame);
    state.SaveState(lpszProfileName);
    CQZRegistryManager store(HKEY_CURRENT_USER);
    // A window whose section cannot be found keeps its sizes unsaved; the others still
    // save theirs.
    for (CQZDockWindow* window : FrameDockWindows(pFrame)) {
        const CString section = FindDockWindowSection(store, lpszProfileName, window);
        if (!section.IsEmpty())
            window->SaveBarSize(section);
    }
}

void CQZFrameImpl::GetDockState(CDockState& state, CFrameWnd* pFrame)
{
    pFrame->GetDockState(state);
}

void CQZFrameImpl::SetDockState(const CDockState& state, CFrameWnd* pFrame)
{
    // The framework's application of the records leaves out those whose bar the frame does
    // not have and those whose floating frame cannot be made.
    pFrame->SetDockState(state);
    pFrame->DelayRecalcLayout(TRUE);
}

BOOL CQZFrameImpl::PreCreateWindowWithIcon(CREATESTRUCT& cs, UINT nIconID, CFrameWnd*)
{
    HICON icon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(LOWORD(nIconID)));
    cs.lpszClass = AfxRegisterWndClass(0, nullptr, nullptr, icon);
    return TRUE;
}

BOOL CQZFrameImpl::PreTranslateMessage(MSG* pMsg, CFrameWnd*)
{
    return m_wndMenuBar.m_hWnd && m_wndMenuBar.TranslateFrameMessage(pMsg);
}

void CQZFrameImpl::OnSysColorChange(CFrameWnd*)
{
    qzAfxData.UpdateSysColors();
}

void CQZFrameImpl::OnSettingChange(UINT, LPCSTR, CFrameWnd*)
{
    qzAfxData.UpdateSysColors();
}

void CQZFrameImpl::UpdateMenuShortcutText(CMenu* pPopupMenu, UINT, BOOL, CFrameWnd*)
{
    if (!pPopupMenu || !m_AccelManager.IsInitialized())
        return;
    HMENU menu = pPopupMenu->m_hMenu;
    const int count = ::GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        // By position: a command may appear twice, and an item with a sub-menu must keep it.
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_SUBMENU | MIIM_STRING;
        if (!::GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info))
            continue;
        if (info.hSubMenu || (info.fType & (MFT_SEPARATOR | MFT_OWNERDRAW | MFT_BITMAP)) || info.cch == 0)
            continue;
        // The whole label, however long.
        std::vector<char> buffer(info.cch + 1);
        info.fMask = MIIM_STRING;
        info.dwTypeData = buffer.data();
        info.cch = static_cast<UINT>(buffer.size());
        if (!::GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info))
            continue;
        CString text(buffer.data());
        bool changed = false;
        const int tab = text.Find('\t');
        if (tab >= 0) {
            text = text.Left(tab);
            changed = true;
        }
        CString shortcut;
        m_AccelManager.GetShortcutText(info.wID, shortcut);
        if (!shortcut.IsEmpty()) {
            const int comma = shortcut.Find(',');
            if (comma >= 0)
                shortcut = shortcut.Left(comma);
            text += '\t';
            text += shortcut;
            changed = true;
        }
        if (!changed)
            continue;
        // Only the text changes: the item keeps its id, state and data.
        MENUITEMINFOA update = {};
        update.cbSize = sizeof update;
        update.fMask = MIIM_STRING;
        update.dwTypeData = const_cast<LPSTR>(static_cast<LPCSTR>(text));
        ::SetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &update);
    }
}

LRESULT CQZFrameImpl::OnSetCustomizeBar(WPARAM wParam, LPARAM, CFrameWnd*)
{
    g_pCustomizeBar = nullptr;
    g_hWndCustomizeBar = nullptr;
    auto* bar = reinterpret_cast<CWnd*>(wParam);
    if (!bar)
        return -1;
    if (bar->IsKindOf(RUNTIME_CLASS(CQZToolBar))) {
        g_pCustomizeBar = static_cast<CQZToolBar*>(bar);
        g_hWndCustomizeBar = bar->m_hWnd;
    }
    return 0;
}

void CQZFrameImpl::OnCustomizeToolbar(CFrameWnd*)
{
    CQZToolBar* bar = g_pCustomizeBar;
    const HWND window = g_hWndCustomizeBar;
    g_pCustomizeBar = nullptr;
    g_hWndCustomizeBar = nullptr;
    // Only the toolbar that was remembered, and only while it still is.
    if (bar && window && ::IsWindow(window) && CWnd::FromHandlePermanent(window) == bar)
        bar->SendMessage(TB_CUSTOMIZE, 0, 0);
}

BOOL CQZFrameImpl::InstallCoolMenus(const UINT* pToolbars, int nCount, CFrameWnd* pFrame)
{
    qzAfxData.coolMenusInstalled = TRUE;
    m_CoolMenu.Install(pFrame);
    return m_CoolMenu.LoadToolbars(pToolbars, nCount);
}

BOOL CQZFrameImpl::InstallCoolMenus(UINT nToolbar, CFrameWnd* pFrame)
{
    return InstallCoolMenus(&nToolbar, 1, pFrame);
}

CMenu* CQZFrameImpl::GetMenu(CFrameWnd* pFrame)
{
    if (HMENU menu = ::GetMenu(pFrame->m_hWnd))
        return CMenu::FromHandle(menu);
    return CMenu::FromHandle(m_wndMenuBar.GetMenuHandle());
}

BOOL CQZFrameImpl::HideCommands(const UINT* pCommands, int nCount, CFrameWnd*)
{
    const BOOL result = m_wndMenuBar.AddHiddenCommands(pCommands, nCount);
    if (qzAfxData.coolMenusInstalled)
        m_CoolMenu.AddHiddenCommands(pCommands, nCount);
    return result;
}

BOOL CQZFrameImpl::HideCommand(UINT nCommand, CFrameWnd* pFrame)
{
    return HideCommands(&nCommand, 1, pFrame);
}

BOOL CQZFrameImpl::AddCoolMenuCommand(UINT nCommand, CFrameWnd*)
{
    return m_CoolMenu.AddCommand(nCommand);
}

BOOL CQZFrameImpl::AddCoolMenuCommands(const UINT* pCommands, int nCount, CFrameWnd*)
{
    return m_CoolMenu.AddCommands(pCommands, nCount);
}
