// The menu bar's layout: its visible items in rows (horizontal: docked at the top or
// bottom, or floating) or columns (docked at the left or right), wrapped to the length
// available, the MDI child's buttons at the far end of their row, and the size the bar
// reports to the docking layout. The borders and gripper are its non-client area.
#include "toolkit/bars/QZMenuBar.h"
#include "toolkit/bars/QZMenuBarVisibleItems.h"

#include "framework/DockContext.h"
#include "framework/FrameWnd.h"
#include "framework/MiniFrameWnd.h"
#include "toolkit/foundation/QZAuxData.h"

#include <algorithm>
#include <climits>

namespace {

// A floating bar's search for its row width stops after this many halvings: with a
// leading border a wrapped arrangement can be wider than the single row, and the search
// would not end by itself.
constexpr int kMaxWidthSearchSteps = 32;

bool WrapsAfter(const CQZMenuBarItem* item)
{
    return item->CanWrap() && item->m_bWrap;
}

} // namespace

CSize CQZMenuBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    return CalcLayout((bStretch ? LM_STRETCH : 0) | (bHorz ? LM_HORZ : 0), -1);
}

CSize CQZMenuBar::CalcDynamicLayout(int nLength, DWORD dwMode)
{
    if (nLength == -1 && !(dwMode & (LM_MRUWIDTH | LM_COMMIT)) && (dwMode & (LM_HORZDOCK | LM_VERTDOCK)))
        return CalcFixedLayout(dwMode & LM_STRETCH, dwMode & LM_HORZDOCK);
    return CalcLayout(dwMode, nLength);
}

CSize CQZMenuBar::CalcLayout(DWORD dwMode, int nLength)
{
    CSize size(0, 0);
    const DWORD style = m_dwStyle;
    const bool dynamic = (style & CBRS_SIZE_DYNAMIC) != 0;
    const bool floating = (style & CBRS_FLOATING) != 0;
    const bool dragging = m_pDockContext && m_pDockContext->m_pDC;
    bool defaultCase = false;
    if (m_arrItems.GetSize() > 0) {
        if (style & CBRS_SIZE_FIXED) {
            defaultCase = true;
        } else if (dynamic && (dwMode & LM_MRUWIDTH)) {
            const bool alignButtons = m_bAlignButtons;
            m_bAlignButtons = false;
            WrapToLength(m_nMRUWidth, TRUE);
            LayoutItems(TRUE);
            size = CalcItemsExtent(TRUE);
            m_bAlignButtons = alignButtons;
        } else if (dynamic && (dwMode & LM_HORZDOCK)) {
            const bool vertical = (style & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) != 0;
            if (floating || vertical)
                WrapToLength(32767, TRUE);
            else
                WrapToLength(GetAvailableLength(TRUE) + GetBorderSize(TRUE).cx, TRUE);
            LayoutItems(TRUE);
            size = CalcItemsExtent(TRUE);
            if (!floating && !vertical && dragging)
                size.cx = GetAvailableLength(TRUE);
        } else if (dynamic && (dwMode & LM_VERTDOCK)) {
            LayoutItems(FALSE);
            size = CalcItemsExtent(FALSE);
            if (!floating && !(style & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) && dragging)
                size.cy = GetAvailableLength(FALSE);
        } else if (dynamic && nLength != -1) {
            const BOOL horz = !(dwMode & LM_LENGTHY);
            const CSize border = GetBorderSize(dwMode & LM_HORZ);
            WrapToLength(nLength + (horz ? border.cx : border.cy), horz);
            LayoutItems(horz);
            size = CalcItemsExtent(horz);
        } else if (dynamic && floating) {
            WrapToLength(m_nMRUWidth, TRUE);
            LayoutItems(TRUE);
            size = CalcItemsExtent(TRUE);
        } else if (!dynamic) {
            defaultCase = true;
        } else {
            const BOOL horz = (dwMode & LM_HORZ) != 0;
            const CSize border = GetBorderSize(horz);
            WrapToLength(GetAvailableLength(horz) + (horz ? border.cx : border.cy), horz);
            LayoutItems(horz);
            size = CalcItemsExtent(horz);
            if (horz)
                size.cx = GetAvailableLength(TRUE);
        }
    }
    if (defaultCase) {
        WrapToLength(32767, TRUE);
        LayoutItems(dwMode & LM_HORZ);
        size = CalcItemsExtent(dwMode & LM_HORZ);
    }
    if ((dwMode & LM_COMMIT) && floating && dynamic)
        m_nMRUWidth = size.cx;
    const CSize border = GetBorderSize(dwMode & LM_HORZ);
    size.cx += border.cx;
    size.cy += border.cy;
    const CSize minimum = CControlBar::CalcFixedLayout(dwMode & LM_STRETCH, dwMode & LM_HORZ);
    size.cx = std::max(size.cx, minimum.cx);
    size.cy = std::max(size.cy, minimum.cy);
    return size;
}

void CQZMenuBar::WrapToLength(int nLength, BOOL bHorz)
{
    if (!bHorz) {
        WrapItems(nLength - GetBorderSize(FALSE).cy);
        return;
    }
    if (!(m_dwStyle & CBRS_FLOATING)) {
        WrapItems(nLength - GetBorderSize(TRUE).cx);
        return;
    }
    // Floating: the row width is searched between one item per row and a single row.
    int bestWrap = 32767;
    int bestWidth = INT_MAX;
    bool bestFits = false;
    auto arrange = [&](int wrapWidth) {
        WrapItems(wrapWidth);
        LayoutItems(TRUE);
        const int width = CalcItemsExtent(TRUE).cx;
        // The widest arrangement that fits the length, else the narrowest one.
        const bool fits = width <= nLength;
        if ((fits && (!bestFits || width > bestWidth)) || (!fits && !bestFits && width < bestWidth)) {
            bestWrap = wrapWidth;
            bestWidth = width;
            bestFits = fits;
        }
        return width;
    };
    int low = arrange(0);
    int high = arrange(32767);
    for (int step = 0; low < high; ++step) {
        if (step == kMaxWidthSearchSteps) {
            WrapItems(bestWrap);
            return;
        }
        const int width = arrange((low + high) / 2);
        if (width == high)
            return;
        if (nLength >= high) {
            if (low == width) {
                WrapItems(high);
                return;
            }
            low = width;
        } else {
            high = width;
        }
    }
}

int CQZMenuBar::WrapItems(int nWidth)
{
    const CQZVisibleMenuBarItems visible(this, QZ_MBI_ALL);
    const int count = visible.size();
    int x = 0;
    int rows = 0;
    CQZMenuBarItem* lastWrappable = nullptr;
    for (int k = 0; k < count; ++k) {
        CQZMenuBarItem* item = m_arrItems[visible[k]];
        const int length = item->GetSize().cx;
        const int extra = item->GetExtraSpace();
        if (k == count - 1)
            return rows + 1;
        const int nextLength = m_arrItems[visible[k + 1]]->GetSize().cx;
        if (x + length > nWidth) {
            if (item->CanWrap()) {
                item->m_bWrap = true;
                ++rows;
                x = 0;
            }
        } else if (x + length + extra + nextLength > nWidth) {
            if (item->CanWrap())
                item->m_bWrap = true;
            else if (lastWrappable)
                lastWrappable->m_bWrap = true;
            ++rows;
            x = 0;
        } else {
            if (item->CanWrap())
                item->m_bWrap = false;
            x += length + extra;
        }
        if (item->CanWrap())
            lastWrappable = item;
    }
    return 1;
}

void CQZMenuBar::LayoutItems(BOOL bHorz)
{
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, bHorz);
    const int rowHeight = qzAfxData.menuHeight;
    int crossExtent = rowHeight;
    bool wrapped = false;
    int x = bHorz ? 0 : inside.left;
    int y = 0;
    const CQZVisibleMenuBarItems visible(this, QZ_MBI_ALL);
    const int count = visible.size();
    for (int k = 0; k < count; ++k) {
        CQZMenuBarItem* item = m_arrItems[visible[k]];
        const bool wraps = WrapsAfter(item);
        if (wraps && k != count - 1) {
            crossExtent += rowHeight;
            wrapped = true;
        }
        const CSize size = item->GetSize();
        if (bHorz)
            item->m_ptOrigin = CPoint(x, y + (rowHeight - size.cy) / 2);
        else
            item->m_ptOrigin = CPoint(-x - (rowHeight + size.cy) / 2, y);
        if (wraps) {
            if (bHorz) {
                x = inside.left;
                y += rowHeight;
            } else {
                x += rowHeight;
                y = inside.top;
            }
        } else if (bHorz) {
            x += size.cx + item->GetExtraSpace();
        } else {
            y += size.cx + item->GetExtraSpace();
        }
    }

    // The MDI child's buttons end their row at the far end of the room the bar has.
    if (!(m_dwStyle & CBRS_FLOATING) && m_bAlignButtons && (bHorz || wrapped) && m_hWnd) {
        const CQZVisibleMenuBarItems buttons(this, QZ_MBI_CONTROLBUTTONS);
        if (buttons.size() > 0) {
            CRect client;
            GetClientRect(&client);
            const int limit = (bHorz ? client.left : client.top) + GetAvailableLength(bHorz);
            int groupStart = 0;
            for (int k = 0; k < buttons.size(); ++k) {
                CQZMenuBarItem* last = m_arrItems[buttons[k]];
                if (!WrapsAfter(last) && k != buttons.size() - 1)
                    continue;
                CRect rect;
                GetItemRect(&rect, last);
                const int shift = limit - (bHorz ? rect.right : rect.bottom) - ::GetSystemMetrics(SM_CXEDGE);
                if (shift > 0) {
                    for (int g = groupStart; g <= k; ++g) {
                        CPoint& origin = m_arrItems[buttons[g]]->m_ptOrigin;
                        (bHorz ? origin.x : origin.y) += shift;
                    }
                }
                groupStart = k + 1;
            }
        }
    }

    // Columns run from the right edge leftwards, the first column rightmost.
    if (!bHorz) {
        for (int k = 0; k < count; ++k)
            m_arrItems[visible[k]]->m_ptOrigin.x += crossExtent - inside.right;
    }
}

CSize CQZMenuBar::CalcItemsExtent(BOOL bHorz)
{
    const CQZVisibleMenuBarItems visible(this, QZ_MBI_ALL);
    const int count = visible.size();
    int low = 0;
    int high = 0;
    int rows = 1;
    for (int k = 0; k < count; ++k) {
        const CQZMenuBarItem* item = m_arrItems[visible[k]];
        const int main = bHorz ? item->m_ptOrigin.x : item->m_ptOrigin.y;
        const int end = main + item->GetSize().cx;
        low = k == 0 ? main : std::min(low, main);
        high = k == 0 ? end : std::max(high, end);
        if (k != count - 1 && WrapsAfter(item))
            ++rows;
    }
    const int mainExtent = high - low;
    const int crossExtent = qzAfxData.menuHeight * rows;
    return bHorz ? CSize(mainExtent, crossExtent) : CSize(crossExtent, mainExtent);
}

int CQZMenuBar::GetAvailableLength(BOOL bHorz)
{
    if (m_nFixedLength > 0)
        return m_nFixedLength;
    const CSize border = GetBorderSize(bHorz);
    const int borderLength = bHorz ? border.cx : border.cy;
    CRect client(0, 0, 0, 0);
    if (m_dwStyle & CBRS_SIZE_DYNAMIC) {
        CWnd* reference = nullptr;
        if (bHorz)
            reference = GetTopLevelFrame();
        if (!reference)
            reference = GetParent();
        if (reference)
            reference->GetClientRect(&client);
    } else if (m_hWnd) {
        GetClientRect(&client);
    }
    return (bHorz ? client.Width() : client.Height()) - borderLength;
}

CSize CQZMenuBar::GetBorderSize(BOOL bHorz)
{
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, bHorz);
    return CSize(inside.left - inside.right, inside.top - inside.bottom);
}

void CQZMenuBar::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp)
{
    CRect inside(0, 0, 0, 0);
    CalcInsideRect(inside, (m_dwStyle & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0);
    RECT& client = lpncsp->rgrc[0];
    client.left += inside.left;
    client.top += inside.top;
    client.right += inside.right;
    client.bottom += inside.bottom;
}

LRESULT CQZMenuBar::OnNcHitTest(CPoint)
{
    return HTCLIENT;
}

BOOL CQZMenuBar::GetBandInfo(REBARBANDINFOA* pBandInfo, BOOL bHorz)
{
    CQZControlBar::GetBandInfo(pBandInfo, bHorz);
    return TRUE;
}

void CQZMenuBar::OnBandChildSize(QZ_BANDCHILDSIZE* pChildSize, BOOL bHorz)
{
    const RECT& child = pChildSize->pChildSize->rcChild;
    m_nFixedLength = child.right - child.left;
    LayoutItems(bHorz);
}

BOOL CQZMenuBar::IsToolkitDragAllowed()
{
    return TRUE;
}

BOOL CQZMenuBar::AdjustFloatSize(SIZE* pSize)
{
    pSize->cx /= 2;
    // Half the caption a small floating frame puts above its bar.
    CRect frame(0, 0, 0, 0);
    CMiniFrameWnd::CalcBorders(&frame, WS_CAPTION | WS_THICKFRAME, 0);
    pSize->cy = -frame.top / 2;
    return TRUE;
}
