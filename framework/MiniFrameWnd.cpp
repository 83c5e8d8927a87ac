// Small-caption frames and the floating frame of docked bars.
#include "MiniFrameWnd.h"

#include "DockContext.h"

#include <vector>

namespace {

// How far the floating frame's client area reaches into the system's borders.
constexpr int kDoubleBorder = 2;

} // namespace

IMPLEMENT_DYNCREATE(CMiniFrameWnd, CFrameWnd)
IMPLEMENT_DYNCREATE(CMiniDockFrameWnd, CMiniFrameWnd)

BEGIN_MESSAGE_MAP(CMiniFrameWnd, CFrameWnd)
    ON_WM_NCHITTEST()
    ON_WM_NCACTIVATE()
    ON_WM_GETMINMAXINFO()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CMiniDockFrameWnd, CMiniFrameWnd)
    ON_WM_CLOSE()
    ON_WM_NCCALCSIZE()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCLBUTTONDBLCLK()
END_MESSAGE_MAP()

CMiniFrameWnd::CMiniFrameWnd() = default;

void CMiniFrameWnd::CalcBorders(LPRECT lpClientRect, DWORD dwStyle, DWORD dwExStyle)
{
    ::AdjustWindowRectEx(lpClientRect, dwStyle, FALSE, dwExStyle | WS_EX_TOOLWINDOW);
}

BOOL CMiniFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
    if (cs.style & (MFS_THICKFRAME | MFS_4THICKFRAME))
        cs.style |= WS_THICKFRAME;
    cs.dwExStyle |= WS_EX_TOOLWINDOW;
    return TRUE;
}

LRESULT CMiniFrameWnd::OnNcHitTest(CPoint point)
{
    const LRESULT hit = Default();
    if (!(GetStyle() & MFS_4THICKFRAME))
        return hit;
    // Four sizing sides, no sizing corners.
    switch (hit) {
    case HTTOPLEFT:
    case HTTOPRIGHT:
        return HTTOP;
    case HTBOTTOMLEFT:
    case HTBOTTOMRIGHT:
        return HTBOTTOM;
    default:
        return hit;
    }
}

void CMiniFrameWnd::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    Default();
    // The frame may be as small as what it holds: a caption needs no room of its own.
    CRect borders(0, 0, 0, 0);
    CalcWindowRect(&borders);
    lpMMI->ptMinTrackSize.x = borders.Width();
    lpMMI->ptMinTrackSize.y = borders.Height();
}

BOOL CMiniFrameWnd::OnNcActivate(BOOL bActive)
{
    if (!(GetStyle() & MFS_SYNCACTIVE))
        return static_cast<BOOL>(Default());
    if (m_nFlags & WF_KEEPMINIACTIVE)
        return FALSE;
    // The caption looks active while the frame it floats for is the active window.
    CWnd* top = GetTopLevelParent();
    const BOOL ownerActive = top && top->m_hWnd && ::GetActiveWindow() == top->m_hWnd;
    return static_cast<BOOL>(DefWindowProc(WM_NCACTIVATE, bActive || ownerActive, 0));
}

CMiniDockFrameWnd::CMiniDockFrameWnd() : m_wndDockBar(TRUE) {}

BOOL CMiniDockFrameWnd::Create(CWnd* pParent, DWORD dwBarStyle)
{
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | MFS_MOVEFRAME | MFS_4THICKFRAME | MFS_SYNCACTIVE;
    if (!CreateEx(0, nullptr, "", style, 0, 0, 0, 0, pParent->GetSafeHwnd(), nullptr))
        return FALSE;
    // Made as a bar of the frame it floats for, so that frame's docking and dock state see
    // it, then moved in here.
    CWnd* dockParent = pParent && pParent->IsFrameWnd() ? pParent : this;
    if (!m_wndDockBar.Create(dockParent, WS_CHILD | WS_VISIBLE | dwBarStyle, AFX_IDW_DOCKBAR_FLOAT)) {
        DestroyWindow();
        return FALSE;
    }
    m_wndDockBar.SetParent(this);
    return TRUE;
}

void CMiniDockFrameWnd::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)
{
    const CRect window(lpncsp->rgrc[0]);
    Default();
    CRect client(lpncsp->rgrc[0]);
    client.InflateRect(kDoubleBorder, kDoubleBorder);
    client.IntersectRect(&client, &window);
    lpncsp->rgrc[0] = client;
}

void CMiniDockFrameWnd::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType)
{
    CMiniFrameWnd::CalcWindowRect(lpClientRect, nAdjustType);
    ::InflateRect(lpClientRect, -kDoubleBorder, -kDoubleBorder);
}

CControlBar* CMiniDockFrameWnd::FirstBar() const
{
    for (int i = 0; i < m_wndDockBar.m_arrBars.GetSize(); ++i) {
        if (CControlBar* bar = m_wndDockBar.GetDockedControlBar(i))
            return bar;
    }
    return nullptr;
}

void CMiniDockFrameWnd::RecalcLayout(BOOL bNotify)
{
    if (m_bInRecalcLayout || !m_hWnd || !m_wndDockBar.m_hWnd)
        return;
    m_nIdleFlags &= ~(idleLayout | idleNotify);
    m_bInRecalcLayout = TRUE;
    m_wndDockBar.m_bLayoutQuery = FALSE;
    m_wndDockBar.m_rectLayout.SetRectEmpty();
    const CSize size = m_wndDockBar.CalcFixedLayout(FALSE, (m_wndDockBar.GetBarStyle() & CBRS_ORIENT_HORZ) != 0);
    m_wndDockBar.SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    CRect rect(0, 0, size.cx, size.cy);
    CalcWindowRect(&rect);
    SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (CControlBar* bar = FirstBar()) {
        CString title;
        bar->GetWindowText(title);
        AfxSetWindowText(m_hWnd, title);
    }
    m_bInRecalcLayout = FALSE;
}

void CMiniDockFrameWnd::OnClose()
{
    // Closing hides the bars; the frame stays for the time they are shown again.
    std::vector<CControlBar*> bars;
    for (int i = 0; i < m_wndDockBar.m_arrBars.GetSize(); ++i) {
        if (CControlBar* bar = m_wndDockBar.GetDockedControlBar(i))
            bars.push_back(bar);
    }
    for (CControlBar* bar : bars) {
        if (bar->m_pDockSite)
            bar->m_pDockSite->ShowControlBar(bar, FALSE, FALSE);
    }
}

void CMiniDockFrameWnd::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    const bool holdsSeveral = (m_wndDockBar.GetBarStyle() & CBRS_FLOAT_MULTI) != 0;
    CControlBar* bar = FirstBar();
    CDockContext* context = bar ? bar->m_pDockContext : nullptr;
    if (nHitTest == HTCAPTION) {
        ActivateTopParent();
        // A frame of several bars moves as a window.
        if (holdsSeveral || !context) {
            Default();
            return;
        }
        // The drag may dock the bar elsewhere and destroy this frame: nothing of it is used after.
        context->StartDrag(point);
        return;
    }
    if (nHitTest >= HTSIZEFIRST && nHitTest <= HTSIZELAST) {
        ActivateTopParent();
        // Only a bar that can take any size resizes its frame; the others keep theirs.
        if (!holdsSeveral && context && (bar->GetBarStyle() & CBRS_SIZE_DYNAMIC))
            context->StartResize(static_cast<int>(nHitTest), point);
        return;
    }
    Default();
}

void CMiniDockFrameWnd::OnNcLButtonDblClk(UINT nHitTest, CPoint point)
{
    if (nHitTest != HTCAPTION) {
        Default();
        return;
    }
    ActivateTopParent();
    // Every bar goes back to its dock place; the frame goes with the last of them.
    std::vector<CControlBar*> bars;
    for (int i = 0; i < m_wndDockBar.m_arrBars.GetSize(); ++i) {
        CControlBar* bar = m_wndDockBar.GetDockedControlBar(i);
        if (bar && bar->m_pDockContext)
            bars.push_back(bar);
    }
    for (CControlBar* bar : bars)
        bar->m_pDockContext->ToggleDocking();
}
