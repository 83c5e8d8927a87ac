// The rebar's window: creation and bands, its layout for the frame, the control's own
// painting, and its answers to band changes (height, visibility, child sizes).
#include "toolkit/bars/QZReBar.h"

#include "framework/FrameWnd.h"
#include "toolkit/foundation/QZDrawHelpers.h"
#include "toolkit/foundation/QZMessages.h"

IMPLEMENT_DYNAMIC(CQZReBar, CQZControlBar)

BEGIN_MESSAGE_MAP(CQZReBar, CQZControlBar)
    ON_WM_NCCREATE()
    ON_WM_PAINT()
    ON_WM_NCCALCSIZE()
    ON_WM_ERASEBKGND()
    ON_NOTIFY_REFLECT(RBN_HEIGHTCHANGE, OnHeightChange)
    ON_NOTIFY_REFLECT(RBN_ENDDRAG, OnHeightChange)
    ON_MESSAGE(RB_SHOWBAND, OnShowBand)
    ON_MESSAGE(WM_RECALCPARENT, OnRecalcParent)
    ON_NOTIFY_REFLECT(RBN_CHILDSIZE, OnChildSize)
END_MESSAGE_MAP()

CQZReBar::CQZReBar()
{
    SetBorders(0, 0, 0, 0);
}

CQZReBar::~CQZReBar() = default;

BOOL CQZReBar::Create(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID)
{
    m_dwStyle = dwStyle & CBRS_ALL;
    // The frame places the bar; the control must neither place nor size itself.
    const DWORD windowStyle = (dwStyle & ~CBRS_ALL) | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER |
                              CCS_NORESIZE | RBS_VARHEIGHT | dwCtrlStyle;
    INITCOMMONCONTROLSEX init = {sizeof init, ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&init);
    return CWnd::Create(REBARCLASSNAMEA, nullptr, windowStyle, CRect(0, 0, 0, 0), pParentWnd, nID);
}

BOOL CQZReBar::IsHorzReBar() const
{
    return (m_dwStyle & CBRS_ORIENT_HORZ) != 0;
}

BOOL CQZReBar::AddBar(CWnd* pBar, LPCSTR lpszText, DWORD dwBandStyle)
{
    if (!m_hWnd || !pBar || !::IsWindow(pBar->m_hWnd))
        return FALSE;
    REBARBANDINFOA band = {};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_ID;
    band.fStyle = dwBandStyle;
    band.hwndChild = pBar->m_hWnd;
    band.wID = static_cast<UINT>(pBar->GetDlgCtrlID());
    CRect size;
    pBar->GetWindowRect(&size);
    band.cxMinChild = static_cast<UINT>(size.Width());
    band.cyMinChild = static_cast<UINT>(size.Height());
    if (lpszText) {
        band.fMask |= RBBIM_TEXT;
        band.lpText = const_cast<LPSTR>(lpszText);
    }
    CWnd* object = CWnd::FromHandlePermanent(pBar->m_hWnd);
    if (object && object->IsKindOf(RUNTIME_CLASS(CQZControlBar)))
        object->SendMessage(WM_QZ_GETBANDINFO, IsHorzReBar(), reinterpret_cast<LPARAM>(&band));
    return DefWindowProc(RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band)) != 0;
}

REBARBANDINFOA CQZReBar::GetBand(UINT nBand, UINT fMask)
{
    REBARBANDINFOA band = {};
    band.cbSize = sizeof band;
    band.fMask = fMask;
    DefWindowProc(RB_GETBANDINFOA, nBand, reinterpret_cast<LPARAM>(&band));
    return band;
}

BOOL CQZReBar::IsBandChildVisible(HWND hWndChild)
{
    CWnd* object = CWnd::FromHandlePermanent(hWndChild);
    if (object && object->IsKindOf(RUNTIME_CLASS(CControlBar)))
        return static_cast<CControlBar*>(object)->IsVisible();
    return (::GetWindowLongPtrA(hWndChild, GWL_STYLE) & WS_VISIBLE) != 0;
}

CSize CQZReBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    // Requests go to the control itself, past this bar's own handlers.
    const int count = static_cast<int>(DefWindowProc(RB_GETBANDCOUNT, 0, 0));
    for (int i = count - 1; i >= 0; --i) {
        const REBARBANDINFOA band = GetBand(i, RBBIM_STYLE | RBBIM_CHILD);
        const BOOL isChildVisible = band.hwndChild && IsBandChildVisible(band.hwndChild);
        const BOOL isBandVisible = !(band.fStyle & RBBS_HIDDEN);
        if (isChildVisible != isBandVisible)
            DefWindowProc(RB_SHOWBAND, i, isChildVisible);
    }
    CRect bounds(0, 0, 0, 0);
    for (int i = count - 1; i >= 0; --i) {
        if (GetBand(i, RBBIM_STYLE).fStyle & RBBS_HIDDEN)
            continue;
        CRect rect(0, 0, 0, 0);
        DefWindowProc(RB_GETRECT, i, reinterpret_cast<LPARAM>(&rect));
        bounds.UnionRect(&bounds, &rect);
    }
    if (!bounds.IsRectEmpty()) {
        CRect inside(0, 0, 0, 0);
        CalcInsideRect(inside, bHorz);
        bounds.right -= inside.Width();
        bounds.bottom -= inside.Height();
    }
    return CSize(bHorz && bStretch ? 32767 : bounds.Width(), !bHorz && bStretch ? 32767 : bounds.Height());
}

CSize CQZReBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    return CalcFixedLayout((dwMode & LM_STRETCH) != 0, (dwMode & LM_HORZ) != 0);
}

void CQZReBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
    UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

int CQZReBar::OnToolHitTest(CPoint point, TOOLINFOA* pTI)
{
    HWND child = QZChildWindowFromPoint(m_hWnd, point);
    CWnd* object = child ? CWnd::FromHandlePermanent(child) : nullptr;
    if (!object)
        return CQZControlBar::OnToolHitTest(point, pTI);
    // The band's child tests a point of its own client area.
    ::MapWindowPoints(m_hWnd, child, &point, 1);
    return object->OnToolHitTest(point, pTI);
}

LRESULT CQZReBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETMESSAGESTRING || message == WM_POPMESSAGESTRING) {
        CWnd* owner = GetOwner();
        return owner ? owner->SendMessage(message, wParam, lParam) : 0;
    }
    return CQZControlBar::WindowProc(message, wParam, lParam);
}

BOOL CQZReBar::OnNcCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (!Default())
        return FALSE;
    // Notifications go to the owner the bar was given before its window existed.
    if (m_hWndOwner)
        DefWindowProc(RB_SETPARENT, reinterpret_cast<WPARAM>(m_hWndOwner), 0);
    return TRUE;
}

void CQZReBar::OnPaint()
{
    Default();
}

BOOL CQZReBar::OnEraseBkgnd(CDC* pDC)
{
    return static_cast<BOOL>(Default());
}

void CQZReBar::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)
{
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, IsHorzReBar());
    lpncsp->rgrc[0].left += inside.left;
    lpncsp->rgrc[0].top += inside.top;
    lpncsp->rgrc[0].right += inside.right;
    lpncsp->rgrc[0].bottom += inside.bottom;
}

void CQZReBar::OnHeightChange(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    CFrameWnd* frame = GetParentFrame();
    if (!frame)
        return;
    // A layout the frame runs already would drop this one: it is asked for again later.
    if (!frame->m_bInRecalcLayout)
        frame->RecalcLayout(TRUE);
    else
        PostMessage(WM_RECALCPARENT);
}

LRESULT CQZReBar::OnRecalcParent(WPARAM wParam, LPARAM lParam)
{
    if (CFrameWnd* frame = GetParentFrame())
        frame->RecalcLayout(TRUE);
    return 0;
}

LRESULT CQZReBar::OnShowBand(WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = Default();
    if (!result)
        return result;
    const REBARBANDINFOA band = GetBand(static_cast<UINT>(wParam), RBBIM_STYLE | RBBIM_CHILD);
    const BOOL isBandVisible = !(band.fStyle & RBBS_HIDDEN);
    if (band.hwndChild && IsBandChildVisible(band.hwndChild) != isBandVisible)
        ::ShowWindow(band.hwndChild, isBandVisible ? SW_SHOW : SW_HIDE);
    return result;
}

void CQZReBar::OnChildSize(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    auto* childSize = reinterpret_cast<NMREBARCHILDSIZE*>(pNMHDR);
    REBARBANDINFOA band = {};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_IDEALSIZE;
    SendMessage(RB_GETBANDINFOA, childSize->uBand, reinterpret_cast<LPARAM>(&band));
    if (!band.hwndChild)
        return;
    QZ_BANDCHILDSIZE sizes = {&band, childSize};
    ::SendMessageA(band.hwndChild, WM_QZ_BANDCHILDSIZE, IsHorzReBar(), reinterpret_cast<LPARAM>(&sizes));
}
