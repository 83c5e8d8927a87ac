// The dock bar's place in its frame's layout and the rows of bars inside it. Bars abut
// along a row; rows stack away from the frame's edge. Every move of one pass goes through
// one deferred batch; a layout query moves nothing and records nothing.
#include "DockBar.h"

#include "DockContext.h"

#include <algorithm>

namespace {

// The size a bar takes in a row of this dock bar.
CSize RowBarSize(CControlBar* bar, bool isFloatingDockBar, BOOL bHorz)
{
    if (isFloatingDockBar) {
        if (bar->GetBarStyle() & CBRS_SIZE_DYNAMIC)
            return bar->CalcDynamicLayout(-1, LM_HORZ | LM_MRUWIDTH);
        return bar->CalcFixedLayout(FALSE, (bar->GetBarStyle() & CBRS_ORIENT_HORZ) != 0);
    }
    return bar->CalcDynamicLayout(-1, bHorz ? LM_HORZ | LM_HORZDOCK : LM_VERTDOCK);
}

} // namespace

LRESULT CDockBar::OnSizeParent(WPARAM wParam, LPARAM lParam)
{
    auto* layout = reinterpret_cast<AFX_SIZEPARENTPARAMS*>(lParam);
    m_bLayoutQuery = layout->hDWP == nullptr;
    m_rectLayout = layout->rect;
    return CControlBar::OnSizeParent(wParam, lParam);
}

CSize CDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CSize result = CControlBar::CalcFixedLayout(bStretch, bHorz);
    AFX_SIZEPARENTPARAMS layout = {};
    layout.hDWP = m_bLayoutQuery ? nullptr : ::BeginDeferWindowPos(m_arrBars.GetSize());
    int along = 0;
    int across = 0;
    int rowThickness = 0;
    int longestRow = 0;
    for (int i = 0; i < m_arrBars.GetSize(); ++i) {
        if (!m_arrBars.GetAt(i)) {
            across += rowThickness;
            rowThickness = 0;
            along = 0;
            continue;
        }
        CControlBar* bar = GetDockedControlBar(i);
        if (!bar)
            continue;
        if (bar->IsVisible()) {
            const CSize size = RowBarSize(bar, m_bFloating != FALSE, bHorz);
            const CRect rect = bHorz ? CRect(CPoint(along, across), size) : CRect(CPoint(across, along), size);
            if (!m_bLayoutQuery && !(bar->GetBarStyle() & CBRS_FLOATING) && bar->m_pDockContext)
                bar->m_pDockContext->m_rectMRUDockPos = rect;
            AfxRepositionWindow(&layout, bar->m_hWnd, &rect);
            along += bHorz ? size.cx : size.cy;
            rowThickness = std::max(rowThickness, static_cast<int>(bHorz ? size.cy : size.cx));
            longestRow = std::max(longestRow, along);
        }
        bar->RecalcDelayShow(&layout);
    }
    across += rowThickness;
    if (layout.hDWP)
        ::EndDeferWindowPos(layout.hDWP);
    if (bHorz) {
        result.cx = std::max(static_cast<int>(result.cx), longestRow);
        result.cy = std::max(static_cast<int>(result.cy), across);
    } else {
        result.cx = std::max(static_cast<int>(result.cx), across);
        result.cy = std::max(static_cast<int>(result.cy), longestRow);
    }
    return result;
}
