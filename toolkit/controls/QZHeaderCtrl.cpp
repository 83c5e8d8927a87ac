// The header with fixed columns and a minimum width: changes to fixed columns and widths
// below the minimum are refused, the resize cursor stays off fixed columns' dividers, and
// with fit-to-width the other columns share the header's width.
#include "toolkit/controls/QZHeaderCtrl.h"

#include "framework/PaintDC.h"

IMPLEMENT_DYNAMIC(CQZHeaderCtrl, CHeaderCtrl)

BEGIN_MESSAGE_MAP(CQZHeaderCtrl, CHeaderCtrl)
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_SETCURSOR()
    ON_NOTIFY_REFLECT(HDN_ITEMCHANGINGA, OnItemChanging)
    ON_NOTIFY_REFLECT(HDN_ITEMCHANGINGW, OnItemChanging)
END_MESSAGE_MAP()

CQZHeaderCtrl::CQZHeaderCtrl() : m_nMinWidth(0), m_bRightToLeft(0), m_bFitToWidth(0)
{
    m_bRightToLeft = IsRightToLeft() ? 1 : 0;
}

BOOL CQZHeaderCtrl::IsRightToLeft()
{
    CClientDC screen(nullptr);
    const UINT align = ::GetTextAlign(screen.m_hDC);
    return align != GDI_ERROR && (align & TA_RTLREADING) != 0;
}

BOOL CQZHeaderCtrl::IsFixedColumn(int nColumn) const
{
    for (int i = 0; i < m_arrFixedColumns.GetSize(); ++i) {
        if (static_cast<int>(m_arrFixedColumns[i]) == nColumn)
            return TRUE;
    }
    return FALSE;
}

int CQZHeaderCtrl::GetFixedColumnsWidth()
{
    HWND list = ::GetParent(m_hWnd);
    int width = 0;
    for (int i = 0; i < m_arrFixedColumns.GetSize(); ++i)
        width += static_cast<int>(::SendMessageA(list, LVM_GETCOLUMNWIDTH, m_arrFixedColumns[i], 0));
    return width;
}

void CQZHeaderCtrl::DistributeWidth(int nWidth)
{
    const int items = CHeaderCtrl::GetItemCount();
    int sharing = 0;
    for (int i = 0; i < items; ++i) {
        if (!IsFixedColumn(i))
            ++sharing;
    }
    // With every column fixed (or none at all) no column takes a share.
    if (sharing <= 0)
        return;
    const int share = nWidth / sharing;
    if (share <= m_nMinWidth)
        return;
    HWND list = ::GetParent(m_hWnd);
    for (int i = 0; i < items; ++i) {
        if (!IsFixedColumn(i))
            ::SendMessageA(list, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(i), MAKELPARAM(share, 0));
    }
}

void CQZHeaderCtrl::FitColumns(int nWidth)
{
    if (nWidth == 0) {
        CRect rect;
        GetWindowRect(&rect);
        nWidth = rect.Width() - ::GetSystemMetrics(SM_CXVSCROLL) - GetFixedColumnsWidth();
    }
    DistributeWidth(nWidth);
}

void CQZHeaderCtrl::OnWindowPosChanging(WINDOWPOS* lpwndpos)
{
    if (!m_bFitToWidth) {
        CHeaderCtrl::OnWindowPosChanging(lpwndpos);
        return;
    }
    // A move without a size carries no width.
    if (lpwndpos->flags & SWP_NOSIZE)
        return;
    CRect rect;
    GetWindowRect(&rect);
    if (CHeaderCtrl::GetItemCount() > 0 && rect.Width() != lpwndpos->cx)
        FitColumns(lpwndpos->cx - ::GetSystemMetrics(SM_CXVSCROLL) - GetFixedColumnsWidth());
}

BOOL CQZHeaderCtrl::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_arrFixedColumns.GetSize() == 0)
        return CHeaderCtrl::OnSetCursor(pWnd, nHitTest, message);
    HDHITTESTINFO hit = {};
    ::GetCursorPos(&hit.pt);
    ScreenToClient(&hit.pt);
    const int item = HitTest(&hit);
    if (item >= 0) {
        if (IsFixedColumn(item))
            return TRUE;
        // The divider the cursor may be near belongs to the neighbour on the dividers' side.
        const int neighbour = m_bRightToLeft ? item + 1 : item - 1;
        CRect rect;
        CHeaderCtrl::GetItemRect(item, &rect);
        const int middle = rect.left + rect.Width() / 2;
        const bool nearNeighbour = m_bRightToLeft ? hit.pt.x >= middle : hit.pt.x <= middle;
        if (neighbour >= 0 && IsFixedColumn(neighbour) && nearNeighbour)
            return TRUE;
    }
    return CHeaderCtrl::OnSetCursor(pWnd, nHitTest, message);
}

void CQZHeaderCtrl::OnItemChanging(NMHDR* pNMHDR, LRESULT* pResult)
{
    // The item's mask and width lie alike in the ANSI and the wide record.
    const NMHEADERA* header = reinterpret_cast<const NMHEADERA*>(pNMHDR);
    const bool widthChanges = header->pitem && (header->pitem->mask & HDI_WIDTH);
    // Only the width of a fixed column is kept: its text, format and sort image may change.
    const bool fixed = widthChanges && IsFixedColumn(header->iItem);
    const bool tooNarrow = widthChanges && header->pitem->cxy < m_nMinWidth;
    *pResult = fixed || tooNarrow ? 1 : 0;
}
