// Control bars: the frame's bar list, the size-parent protocol, idle update and
// passing notifications to the owner.
#include "ControlBar.h"

#include "AfxGlobalData.h"
#include "DC.h"
#include "DockBar.h"
#include "DockContext.h"
#include "FrameWnd.h"
#include "PaintDC.h"

#include <algorithm>

#include <commctrl.h>

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
    ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
    ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

CControlBar::CControlBar() = default;

CControlBar::~CControlBar()
{
    // Destroyed here, while this is still a bar, so that it leaves its frame's list.
    m_bInDestructor = true;
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
    if (m_pDockSite)
        m_pDockSite->RemoveControlBar(this);
    delete m_pDockContext;
}

void CControlBar::PostNcDestroy()
{
    if (m_bAutoDelete && !m_bInDestructor)
        delete this;
}

BOOL CControlBar::CreateBarControl(LPCSTR lpszClassName, CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    // The frame places the bar; the control must not move or size itself.
    DWORD windowStyle = (dwStyle & ~CBRS_ALL) | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE;
    return CWnd::Create(lpszClassName, nullptr, windowStyle, CRect(0, 0, 0, 0), pParentWnd, nID);
}

BOOL CControlBar::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass)
        cs.lpszClass = AfxControlBarClassName();
    // Bars draw their own borders; the window's style bits stay the system's.
    cs.style |= WS_CLIPSIBLINGS;
    return CWnd::PreCreateWindow(cs);
}

int CControlBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    CWnd* parent = GetParent();
    if (parent && parent->IsFrameWnd()) {
        m_pDockSite = static_cast<CFrameWnd*>(parent);
        m_pDockSite->AddControlBar(this);
    }
    return 0;
}

void CControlBar::OnDestroy()
{
    // A dock bar keeps no entry of a bar that is gone.
    if (m_pDockBar) {
        CDockBar* dockBar = m_pDockBar;
        m_pDockBar = nullptr;
        if (::IsWindow(dockBar->m_hWnd))
            dockBar->RemoveControlBar(this);
    }
    if (m_pDockSite) {
        m_pDockSite->RemoveControlBar(this);
        m_pDockSite = nullptr;
    }
    CWnd::OnDestroy();
}

LRESULT CControlBar::WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (RouteToOwner(nMsg, wParam, lParam, &result))
        return result;
    return CWnd::WindowProc(nMsg, wParam, lParam);
}

BOOL CControlBar::RouteToOwner(UINT nMsg, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    switch (nMsg) {
    case WM_NOTIFY:
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        break;
    default:
        return FALSE;
    }
    // The bar's own map and its controls' objects first; the owner gets the rest.
    *pResult = 0;
    if (OnWndMsg(nMsg, wParam, lParam, pResult))
        return TRUE;
    CWnd* owner = GetOwner();
    if (owner && owner->m_hWnd)
        *pResult = owner->SendMessage(nMsg, wParam, lParam);
    // A tip the owner left without text gets the bar's own.
    if (nMsg == WM_NOTIFY && IsUnansweredToolTipText(reinterpret_cast<NMHDR*>(lParam)))
        *pResult = DefWindowProc(nMsg, wParam, lParam);
    return TRUE;
}

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    return CSize(bStretch && bHorz ? 32767 : 0, bStretch && !bHorz ? 32767 : 0);
}

CSize CControlBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
}

void CControlBar::DeflateByBorders(CRect& rect) const
{
    if (m_dwStyle & CBRS_BORDER_LEFT)
        rect.left += afxData.cxBorder2;
    if (m_dwStyle & CBRS_BORDER_TOP)
        rect.top += afxData.cyBorder2;
    if (m_dwStyle & CBRS_BORDER_RIGHT)
        rect.right -= afxData.cxBorder2;
    if (m_dwStyle & CBRS_BORDER_BOTTOM)
        rect.bottom -= afxData.cyBorder2;
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL bHorz) const
{
    DeflateByBorders(rect);
    // A vertical bar turns its margins with it.
    if (bHorz) {
        rect.left += m_cxLeftBorder;
        rect.top += m_cyTopBorder;
        rect.right -= m_cxRightBorder;
        rect.bottom -= m_cyBottomBorder;
    } else {
        rect.left += m_cyTopBorder;
        rect.top += m_cxLeftBorder;
        rect.right -= m_cyBottomBorder;
        rect.bottom -= m_cxRightBorder;
    }
}

void CControlBar::SetBarStyle(DWORD dwStyle)
{
    DWORD old = m_dwStyle;
    m_dwStyle = dwStyle;
    if (old != dwStyle)
        OnBarStyleChange(old, dwStyle);
}

void CControlBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) {}

void CControlBar::SetBorders(int cxLeft, int cyTop, int cxRight, int cyBottom)
{
    m_cxLeftBorder = cxLeft;
    m_cyTopBorder = cyTop;
    m_cxRightBorder = cxRight;
    m_cyBottomBorder = cyBottom;
}

void CControlBar::DelayShow(BOOL bShow)
{
    m_nStateFlags &= ~(delayHide | delayShow);
    BOOL visible = (GetStyle() & WS_VISIBLE) != 0;
    if (bShow && !visible)
        m_nStateFlags |= delayShow;
    else if (!bShow && visible)
        m_nStateFlags |= delayHide;
}

BOOL CControlBar::IsVisible() const
{
    if (m_nStateFlags & delayHide)
        return FALSE;
    return (m_nStateFlags & delayShow) || (GetStyle() & WS_VISIBLE);
}

DWORD CControlBar::RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout)
{
    BOOL visible = IsVisible();
    if ((m_nStateFlags & (delayHide | delayShow)) && lpLayout->hDWP) {
        lpLayout->hDWP = ::DeferWindowPos(lpLayout->hDWP, m_hWnd, nullptr, 0, 0, 0, 0,
                                          (visible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW) | SWP_NOMOVE | SWP_NOSIZE |
                                              SWP_NOZORDER | SWP_NOACTIVATE);
        m_nStateFlags &= ~(delayHide | delayShow);
    }
    return m_dwStyle | (visible ? WS_VISIBLE : 0);
}

LRESULT CControlBar::OnSizeParent(WPARAM wParam, LPARAM lParam)
{
    auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    DWORD style = RecalcDelayShow(layout);
    if (!(style & WS_VISIBLE) || !(style & CBRS_ALIGN_ANY))
        return 0;
    CRect rect(layout->rect);
    CSize available(rect.Width(), rect.Height());
    DWORD mode = layout->bStretch ? LM_STRETCH : 0;
    if (style & CBRS_ORIENT_HORZ)
        mode |= LM_HORZ | LM_HORZDOCK;
    else
        mode |= LM_VERTDOCK;
    CSize size = CalcDynamicLayout(-1, mode);
    size.cx = std::min(size.cx, available.cx);
    size.cy = std::min(size.cy, available.cy);
    if (style & CBRS_ORIENT_HORZ) {
        layout->sizeTotal.cy += size.cy;
        layout->sizeTotal.cx = std::max(layout->sizeTotal.cx, size.cx);
        if (style & CBRS_ALIGN_TOP) {
            layout->rect.top += size.cy;
        } else {
            rect.top = rect.bottom - size.cy;
            layout->rect.bottom -= size.cy;
        }
    } else {
        layout->sizeTotal.cx += size.cx;
        layout->sizeTotal.cy = std::max(layout->sizeTotal.cy, size.cy);
        if (style & CBRS_ALIGN_LEFT) {
            layout->rect.left += size.cx;
        } else {
            rect.left = rect.right - size.cx;
            layout->rect.right -= size.cx;
        }
    }
    rect.right = rect.left + size.cx;
    rect.bottom = rect.top + size.cy;
    AfxRepositionWindow(layout, m_hWnd, &rect);
    return 0;
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam)
{
    if (!(GetStyle() & WS_VISIBLE))
        return 0;
    // The owner when it is a frame, else the frame the bar sits in.
    CWnd* owner = GetOwner();
    CFrameWnd* target = owner && owner->IsFrameWnd() ? static_cast<CFrameWnd*>(owner) : GetParentFrame();
    if (target)
        OnUpdateCmdUI(target, static_cast<BOOL>(wParam));
    return 0;
}

BOOL CControlBar::IsDockBar() const
{
    return IsKindOf(RUNTIME_CLASS(CDockBar));
}

BOOL CControlBar::IsFloating() const
{
    if (IsDockBar())
        return static_cast<const CDockBar*>(this)->m_bFloating;
    return m_pDockBar && m_pDockBar->m_bFloating;
}

CFrameWnd* CControlBar::GetDockingFrame() const
{
    CFrameWnd* frame = GetParentFrame();
    return frame ? frame : m_pDockSite;
}

void CControlBar::OnPaint()
{
    CPaintDC dc(this);
    DoPaint(&dc);
}

void CControlBar::DoPaint(CDC* pDC)
{
    CRect rect;
    GetClientRect(&rect);
    DrawBorders(pDC, rect);
}

void CControlBar::DrawBorders(CDC* pDC, CRect& rect)
{
    COLORREF shadow = afxData.clrBtnShadow;
    COLORREF highlight = afxData.clrBtnHilite;
    // Each bordered side: a shadow line, then a highlight line inside it.
    if (m_dwStyle & CBRS_BORDER_TOP) {
        pDC->FillSolidRect(rect.left, rect.top, rect.Width(), 1, shadow);
        pDC->FillSolidRect(rect.left, rect.top + 1, rect.Width(), 1, highlight);
        rect.top += afxData.cyBorder2;
    }
    if (m_dwStyle & CBRS_BORDER_BOTTOM) {
        pDC->FillSolidRect(rect.left, rect.bottom - 2, rect.Width(), 1, shadow);
        pDC->FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, highlight);
        rect.bottom -= afxData.cyBorder2;
    }
    if (m_dwStyle & CBRS_BORDER_LEFT) {
        pDC->FillSolidRect(rect.left, rect.top, 1, rect.Height(), shadow);
        pDC->FillSolidRect(rect.left + 1, rect.top, 1, rect.Height(), highlight);
        rect.left += afxData.cxBorder2;
    }
    if (m_dwStyle & CBRS_BORDER_RIGHT) {
        pDC->FillSolidRect(rect.right - 2, rect.top, 1, rect.Height(), shadow);
        pDC->FillSolidRect(rect.right - 1, rect.top, 1, rect.Height(), highlight);
        rect.right -= afxData.cxBorder2;
    }
}
