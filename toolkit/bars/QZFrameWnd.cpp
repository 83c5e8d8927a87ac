// The toolkit frame: its operations handed to its toolkit part, its handlers, and view
// replacement.
#include "toolkit/bars/QZFrameWnd.h"

#include "framework/CreateContext.h"
#include "framework/Document.h"
#include "framework/View.h"
#include "toolkit/foundation/QZMessages.h"
#include "toolkit/res/ToolkitResources.h"

IMPLEMENT_DYNCREATE(CQZFrameWnd, CFrameWnd)

BEGIN_MESSAGE_MAP(CQZFrameWnd, CFrameWnd)
    ON_WM_SYSCOLORCHANGE()
    ON_WM_SETTINGCHANGE()
    ON_WM_INITMENUPOPUP()
    ON_MESSAGE(WM_QZ_SETCUSTOMIZEBAR, OnSetCustomizeBar)
    ON_COMMAND(ID_QZ_CUSTOMIZE_TOOLBAR, OnCustomizeToolbar)
END_MESSAGE_MAP()

CQZFrameWnd::CQZFrameWnd() = default;

CQZFrameWnd::~CQZFrameWnd() = default;

BOOL CQZFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    return CFrameWnd::PreCreateWindow(cs);
}

BOOL CQZFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (CQZFrameImpl::PreTranslateMessage(pMsg, this))
        return TRUE;
    return CFrameWnd::PreTranslateMessage(pMsg);
}

BOOL CQZFrameWnd::ReplaceView(CRuntimeClass* pViewClass, CDocument* pDoc, CCreateContext* pContext)
{
    CView* oldView = GetActiveView();
    if (!pDoc && oldView)
        pDoc = oldView->GetDocument();
    CCreateContext context;
    if (!pContext) {
        context.m_pNewViewClass = pViewClass;
        context.m_pCurrentDoc = pDoc;
        context.m_pNewDocTemplate = pDoc ? pDoc->GetDocTemplate() : nullptr;
        context.m_pLastView = oldView;
        pContext = &context;
    }
    // Only a view can be the frame's view.
    if (!pContext->m_pNewViewClass || !pContext->m_pNewViewClass->IsDerivedFrom(RUNTIME_CLASS(CView)))
        return FALSE;
    auto* view = static_cast<CView*>(CreateView(pContext, AFX_IDW_PANE_FIRST));
    if (!view)
        return FALSE;
    view->OnInitialUpdate();
    SetActiveView(view, TRUE);
    RecalcLayout(TRUE);
    // A view deletes itself with its window.
    if (oldView && oldView != view)
        oldView->DestroyWindow();
    return TRUE;
}

void CQZFrameWnd::LoadBarState(LPCSTR lpszProfileName)
{
    CQZFrameImpl::LoadBarState(lpszProfileName, this);
}

void CQZFrameWnd::SaveBarState(LPCSTR lpszProfileName)
{
    CQZFrameImpl::SaveBarState(lpszProfileName, this);
}

void CQZFrameWnd::DockControlBarLeftOf(CControlBar* pBar, CControlBar* pLeftOf)
{
    CQZFrameImpl::DockControlBarLeftOf(pBar, pLeftOf, this);
}

CMenu* CQZFrameWnd::GetMenu()
{
    return CQZFrameImpl::GetMenu(this);
}

BOOL CQZFrameWnd::AddCoolMenuCommand(UINT nCommand)
{
    return CQZFrameImpl::AddCoolMenuCommand(nCommand, this);
}

BOOL CQZFrameWnd::HideCommand(UINT nCommand)
{
    return CQZFrameImpl::HideCommand(nCommand, this);
}

BOOL CQZFrameWnd::AddCoolMenuCommands(const UINT* pCommands, int nCount)
{
    return CQZFrameImpl::AddCoolMenuCommands(pCommands, nCount, this);
}

BOOL CQZFrameWnd::HideCommands(const UINT* pCommands, int nCount)
{
    return CQZFrameImpl::HideCommands(pCommands, nCount, this);
}

void CQZFrameWnd::SetDockState(const CDockState& state)
{
    CQZFrameImpl::SetDockState(state, this);
}

void CQZFrameWnd::GetDockState(CDockState& state)
{
    CQZFrameImpl::GetDockState(state, this);
}

BOOL CQZFrameWnd::PreCreateWindowWithIcon(CREATESTRUCT& cs, UINT nIconID)
{
    if (!CFrameWnd::PreCreateWindow(cs))
        return FALSE;
    return CQZFrameImpl::PreCreateWindowWithIcon(cs, nIconID, this);
}

void CQZFrameWnd::EnableDocking(DWORD dwDockStyle)
{
    CQZFrameImpl::EnableDocking(dwDockStyle, this);
}

void CQZFrameWnd::DockControlBar(CControlBar* pBar, UINT nDockBarID, LPCRECT lpRect)
{
    CQZFrameImpl::DockControlBar(pBar, nDockBarID, lpRect, this);
}

void CQZFrameWnd::DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect)
{
    CQZFrameImpl::DockControlBar(pBar, pDockBar, lpRect, this);
}

BOOL CQZFrameWnd::InstallCoolMenus(UINT nToolbar)
{
    return CQZFrameImpl::InstallCoolMenus(nToolbar, this);
}

BOOL CQZFrameWnd::InstallCoolMenus(const UINT* pToolbars, int nCount)
{
    return CQZFrameImpl::InstallCoolMenus(pToolbars, nCount, this);
}

void CQZFrameWnd::OnSysColorChange()
{
    CFrameWnd::OnSysColorChange();
    CQZFrameImpl::OnSysColorChange(this);
}

void CQZFrameWnd::OnSettingChange(UINT uFlags, LPCSTR lpszSection)
{
    CFrameWnd::OnSettingChange(uFlags, lpszSection);
    CQZFrameImpl::OnSettingChange(uFlags, lpszSection, this);
}

void CQZFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
{
    CQZFrameImpl::UpdateMenuShortcutText(pPopupMenu, nIndex, bSysMenu, this);
    CFrameWnd::OnInitMenuPopup(pPopupMenu, nIndex, bSysMenu);
}

LRESULT CQZFrameWnd::OnSetCustomizeBar(WPARAM wParam, LPARAM lParam)
{
    return CQZFrameImpl::OnSetCustomizeBar(wParam, lParam, this);
}

void CQZFrameWnd::OnCustomizeToolbar()
{
    CQZFrameImpl::OnCustomizeToolbar(this);
}
