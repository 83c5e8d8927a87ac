// The drag context's decisions: where the outline would dock (a dock bar of the frame it
// overlaps), the drop, the resize of a floating frame and the double-click toggle.
#include "DockContext.h"

#include "ControlBar.h"
#include "DockBar.h"
#include "FrameWnd.h"

void CDockContext::StartDrag(CPoint pt)
{
    if (!m_pBar->m_hWnd || !m_pDockSite)
        return;
    m_bDragging = TRUE;
    InitLoop();
    InitDragRects(pt);
    m_ptLast = pt;
    m_dwOverDockStyle = CanDock();
    DrawFocusRect(FALSE);
    const BOOL released = Track();
    // The outline goes before anything moves under it.
    CancelLoop();
    if (released)
        EndDrag();
    m_bDragging = FALSE;
}

void CDockContext::StartResize(int nHitTest, CPoint pt)
{
    if (!m_pBar->m_hWnd || !m_pDockSite)
        return;
    m_bDragging = FALSE;
    InitLoop();
    m_ptLast = pt;
    m_nHitTest = nHitTest;
    InitResizeRects();
    m_dwOverDockStyle = 0;
    Stretch(pt);
    const BOOL released = Track();
    CancelLoop();
    if (released)
        EndResize();
}

DWORD CDockContext::CanDock()
{
    const BOOL isHorz = ((m_dwStyle & CBRS_ORIENT_HORZ) != 0) != (m_bFlip != FALSE);
    const DWORD horzSides = m_dwDockStyle & CBRS_ORIENT_HORZ;
    const DWORD vertSides = m_dwDockStyle & CBRS_ORIENT_VERT;
    const DWORD horzStyle = m_dwDockStyle & ~CBRS_ORIENT_VERT;
    const DWORD vertStyle = m_dwDockStyle & ~CBRS_ORIENT_HORZ;
    DWORD found = 0;
    if (isHorz && horzSides)
        found = CanDockAt(m_rectDragHorz, horzStyle);
    else if (vertSides)
        found = CanDockAt(m_rectDragVert, vertStyle);
    if (m_bFlip)
        return found;
    // The other orientation docks only where both outlines agree.
    if (!found && horzSides) {
        const DWORD other = CanDockAt(m_rectDragVert, horzStyle);
        found = CanDockAt(m_rectDragHorz, horzStyle);
        if (found != other)
            found = 0;
    }
    if (!found && vertSides) {
        const DWORD other = CanDockAt(m_rectDragHorz, vertStyle);
        found = CanDockAt(m_rectDragVert, vertStyle);
        if (found != other)
            found = 0;
    }
    return found;
}

DWORD CDockContext::CanDockAt(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar)
{
    dwDockStyle &= CBRS_ALIGN_ANY | CBRS_FLOAT_MULTI;
    if (ppDockBar)
        *ppDockBar = nullptr;
    if (!m_pDockSite)
        return 0;
    for (POSITION pos = m_pDockSite->m_listControlBars.GetHeadPosition(); pos;) {
        auto* bar = static_cast<CControlBar*>(m_pDockSite->m_listControlBars.GetNext(pos));
        CRect area;
        const DWORD shared = GetDockTarget(bar, dwDockStyle, area);
        CRect overlap;
        if (shared && overlap.IntersectRect(&area, &rect)) {
            if (ppDockBar)
                *ppDockBar = static_cast<CDockBar*>(bar);
            return shared;
        }
    }
    return 0;
}

DWORD CDockContext::GetDockTarget(CControlBar* pBar, DWORD dwDockStyle, CRect& rectArea)
{
    if (!pBar->IsDockBar() || !pBar->IsWindowVisible())
        return 0;
    auto* dockBar = static_cast<CDockBar*>(pBar);
    const DWORD shared = dockBar->GetBarStyle() & dwDockStyle;
    if (!(shared & CBRS_ALIGN_ANY) || (dockBar->m_bFloating && !(shared & CBRS_FLOAT_MULTI)))
        return 0;
    dockBar->GetWindowRect(&rectArea);
    // An empty dock bar still takes bars along its edge, in an 8-pixel band.
    if (rectArea.Width() == 0)
        rectArea.InflateRect(4, 0);
    if (rectArea.Height() == 0)
        rectArea.InflateRect(0, 4);
    return shared;
}

void CDockContext::EndDrag()
{
    if (m_dwOverDockStyle) {
        const bool isVert = !(m_dwOverDockStyle & CBRS_ORIENT_HORZ);
        const CRect rect = isVert ? m_rectDragVert : m_rectDragHorz;
        CDockBar* dockBar = nullptr;
        CanDockAt(rect, m_dwOverDockStyle, &dockBar);
        if (!dockBar)
            return;
        m_uMRUDockID = static_cast<UINT>(dockBar->GetDlgCtrlID()) & 0xFFFF;
        m_rectMRUDockPos = rect;
        dockBar->ScreenToClient(&m_rectMRUDockPos);
        m_pDockSite->DockControlBar(m_pBar, dockBar, &rect);
        return;
    }
    const bool isHorz = ((m_dwStyle & CBRS_ORIENT_HORZ) != 0) != (m_bFlip != FALSE);
    const DWORD style = (isHorz ? CBRS_ALIGN_TOP : CBRS_ALIGN_LEFT) | (m_dwDockStyle & CBRS_FLOAT_MULTI);
    const CPoint pt = isHorz ? m_rectFrameDragHorz.TopLeft() : m_rectFrameDragVert.TopLeft();
    m_ptMRUFloatPos = pt;
    m_dwMRUFloatStyle = style;
    m_pDockSite->FloatControlBar(m_pBar, pt, style);
}

void CDockContext::EndResize()
{
    m_pBar->CalcDynamicLayout(m_rectDragVert.Width(), LM_HORZ | LM_COMMIT);
    m_pDockSite->FloatControlBar(m_pBar, m_rectFrameDragHorz.TopLeft(),
                                 CBRS_ALIGN_TOP | CBRS_SIZE_DYNAMIC | (m_dwDockStyle & CBRS_FLOAT_MULTI));
}

void CDockContext::ToggleDocking()
{
    if (!m_pBar->m_hWnd || !m_pDockSite)
        return;
    if (m_pBar->IsFloating()) {
        if (!(m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY))
            return;
        CRect rect;
        CDockBar* dockBar = GetMRUDockPlace(rect);
        m_pDockSite->ReDockControlBar(m_pBar, dockBar, dockBar ? &rect : nullptr);
        return;
    }
    if (!m_pBar->m_pDockBar)
        return;
    const CPoint pt = GetMRUFloatPoint();
    DWORD style = m_dwMRUFloatStyle & (CBRS_ALIGN_ANY | CBRS_FLOAT_MULTI);
    if (!(style & CBRS_ALIGN_ANY))
        style |= CBRS_ALIGN_TOP;
    m_pDockSite->FloatControlBar(m_pBar, pt, style);
}

CDockBar* CDockContext::GetMRUDockPlace(CRect& rect) const
{
    CDockBar* dockBar = nullptr;
    if (m_uMRUDockID)
        dockBar = DYNAMIC_DOWNCAST(CDockBar, m_pDockSite->GetControlBar(m_uMRUDockID));
    rect = m_rectMRUDockPos;
    if (dockBar)
        dockBar->ClientToScreen(&rect);
    return dockBar;
}

CPoint CDockContext::GetMRUFloatPoint() const
{
    CPoint pt = m_ptMRUFloatPos;
    // Never floated: the frame comes up where the bar is docked.
    if (pt.x < 0 || pt.y < 0) {
        pt = m_rectMRUDockPos.TopLeft();
        m_pBar->m_pDockBar->ClientToScreen(&pt);
    }
    return pt;
}
