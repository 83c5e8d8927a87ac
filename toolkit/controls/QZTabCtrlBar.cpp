// The tab control bar's window: the tab control made as its child, clipping that follows
// docking, the selection messages passed on, and the frame's active view handed back.
#include "toolkit/controls/QZTabCtrlBar.h"

#include "framework/FrameWnd.h"
#include "framework/View.h"
#include "toolkit/foundation/QZAuxData.h"
#include "toolkit/foundation/QZMessages.h"

IMPLEMENT_DYNAMIC(CQZTabCtrlBar, CQZDockWindow)

BEGIN_MESSAGE_MAP(CQZTabCtrlBar, CQZDockWindow)
    ON_WM_CREATE()
    ON_WM_WINDOWPOSCHANGING()
    ON_MESSAGE(WM_QZ_TABCHANGED, OnTabChanged)
    ON_MESSAGE(WM_QZ_TABCHANGING, OnTabChanging)
END_MESSAGE_MAP()

CQZTabCtrlBar::CQZTabCtrlBar()
{
    m_tabCtrl.SetCondense(TRUE);
    m_tabCtrl.SetInitViews(TRUE);
}

CQZTabCtrlBar::~CQZTabCtrlBar() = default;

int CQZTabCtrlBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CQZDockWindow::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_tabCtrl.Create(WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | TCS_TOOLTIPS | TCS_BOTTOM, CRect(0, 0, 0, 0),
                          this, AFX_IDC_TAB_CONTROL))
        return -1;
    SetChild(&m_tabCtrl);
    return 0;
}

void CQZTabCtrlBar::OnWindowPosChanging(WINDOWPOS* lpwndpos)
{
    CQZDockWindow::OnWindowPosChanging(lpwndpos);
    if ((lpwndpos->flags & SWP_HIDEWINDOW) || !m_tabCtrl.m_hWnd)
        return;
    // Docked, the views must not be painted over by the tabs; floating, the floating frame
    // repaints everything anyway.
    const bool clips = (m_tabCtrl.GetStyle() & WS_CLIPCHILDREN) != 0;
    if (IsDocked() && !clips)
        m_tabCtrl.ModifyStyle(0, WS_CLIPCHILDREN);
    else if (!IsDocked() && clips)
        m_tabCtrl.ModifyStyle(WS_CLIPCHILDREN, 0);
}

void CQZTabCtrlBar::GetInsideRect(CRect& rect) const
{
    CQZDockWindow::GetInsideRect(rect);
    if (qzAfxData.xpLook)
        rect.bottom += 5;
}

void CQZTabCtrlBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    CQZDockWindow::OnUpdateCmdUI(pTarget, bDisableIfNoHndler);
    // Only a frame has an active view to keep; a bar made in another window keeps none.
    if (!m_pParentWnd || !m_pParentWnd->IsFrameWnd())
        return;
    auto* frame = static_cast<CFrameWnd*>(m_pParentWnd);
    CView* view = frame->GetActiveView();
    if (view && IsChild(view) && (IsFloating() || !IsActive()))
        m_tabCtrl.RestorePrevFrameView(frame);
}

void CQZTabCtrlBar::NotifyOwner(UINT message, LPARAM lParam)
{
    if (CWnd* owner = GetOwner())
        owner->SendMessage(message, static_cast<WPARAM>(GetDlgCtrlID()), lParam);
}

LRESULT CQZTabCtrlBar::OnTabChanged(WPARAM wParam, LPARAM lParam)
{
    NotifyOwner(WM_QZ_TABCHANGED, lParam);
    return 0;
}

LRESULT CQZTabCtrlBar::OnTabChanging(WPARAM wParam, LPARAM lParam)
{
    NotifyOwner(WM_QZ_TABCHANGING, lParam);
    return 0;
}
