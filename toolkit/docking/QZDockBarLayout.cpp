// The toolkit dock bar's layout: one pass over the bar array that places every visible
// bar, wraps a row that runs past the dock bar's end, moves the menu bar to a row of its
// own, fits a toolbar to the room left in its row, shares rows among docking windows and
// rebuilds the splitters. Toolkit bars abut; other bars overlap their neighbours by the
// framework's double border along a row and 2 pixels between rows. Rows start one pixel
// before the dock bar's edge. A wrap or a menu bar move changes the array and asks the
// frame for a delayed layout, which completes the arrangement at the next idle time.
#include "toolkit/docking/QZDockBar.h"

#include "framework/DockContext.h"
#include "framework/FrameWnd.h"
#include "toolkit/bars/QZMenuBar.h"
#include "toolkit/bars/QZToolBar.h"
#include "toolkit/docking/QZDockWindow.h"
#include "toolkit/docking/QZSplitterDock.h"

#include <algorithm>

namespace {

// Fits a toolbar of exactly the toolkit's class (a derived class fits itself) that is not
// being customised into the room its row leaves: the last bar of a row shrinks or grows
// to the end of the row, another shows all its buttons. The toolbar's new length.
int FitToolBar(CControlBar* bar, int length, int room, bool isLastInRow, bool isHorz)
{
    if (bar->GetRuntimeClass() != RUNTIME_CLASS(CQZToolBar))
        return length;
    auto* toolBar = static_cast<CQZToolBar*>(bar);
    if (toolBar->m_bCustomizing)
        return length;
    if (!isLastInRow)
        return isHorz ? toolBar->ShowHiddenButtons(length, 0x7FFF, TRUE) : length;
    if (length > room)
        return toolBar->HideButtonsToFit(length, room, isHorz);
    if (length < room)
        return toolBar->ShowHiddenButtons(length, room, isHorz);
    return length;
}

} // namespace

CSize CQZDockBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
    CSize result = CControlBar::CalcFixedLayout(bStretch, bHorz);
    // A dock bar that holds no bar (only row breaks and places kept for bars that are
    // elsewhere) has nothing to place, paint or split: every frame layout asks each side,
    // and the window calls would be most of its cost (toolbar_bench).
    if (m_arrSplitters.GetSize() == 0 && !HoldsBars())
        return result;
    const bool isHorz = IsHorzDockBar();
    const bool isLeftOrTop = (m_dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_TOP)) != 0;
    CSize maxSize = m_rectLayout.Size();
    if (m_rectLayout.IsRectEmpty()) {
        CRect client(0, 0, 0, 0);
        if (m_pDockSite && m_pDockSite->m_hWnd)
            m_pDockSite->GetClientRect(&client);
        maxSize = client.Size();
    }
    const int maxLength = Along(maxSize);
    const int border2 = 2 * ::GetSystemMetrics(SM_CYBORDER);
    AFX_SIZEPARENTPARAMS layout = {};
    layout.hDWP = m_bLayoutQuery ? nullptr : ::BeginDeferWindowPos(m_arrBars.GetSize());
    CPoint pen((m_dwStyle & CBRS_ALIGN_RIGHT) ? -1 : 0, -1);

    // Row state.
    int rowThickness = 0;
    bool isNewRowDue = true;
    int rowStart = -1;
    bool isFirstRow = true;
    bool wantsRowSplitter = false;
    DWORD rowBorderMask = CBRS_BORDER_ANY;
    int rowDockWindows = 0;
    int dockWindowsToCome = 0;
    int rowFirstSplitter = 0;
    // Bar state.
    CControlBar* previousBar = nullptr;
    bool isPreviousDockWindow = false;
    DWORD previousPending = CBRS_BORDER_ANY;
    bool isWrapped = false;
    int gx = 0;
    int gy = 0;

    // The previous bar draws the borders worked out for it; in the flat look other bars keep their own.
    auto settlePreviousBar = [&]() {
        if (previousBar && (isPreviousDockWindow || !(m_dwBarStyleEx & 0x80)))
            previousBar->SetBarStyle((previousBar->GetBarStyle() & ~CBRS_BORDER_ANY) |
                                     (previousPending & CBRS_BORDER_ANY));
    };

    Invalidate(FALSE);
    DeleteSplitters();
    for (int i = 0; i < m_arrBars.GetSize(); ++i) {
        if (!m_arrBars.GetAt(i)) {
            if (rowThickness == 0)
                continue;
            // The row ends.
            if (isHorz) {
                if (pen.x >= maxSize.cx && isPreviousDockWindow)
                    previousPending &= ~CBRS_BORDER_RIGHT;
                settlePreviousBar();
                if (isFirstRow)
                    AdjustRowBarStyles(rowStart, CBRS_BORDER_TOP, TRUE);
                pen.y += rowThickness - gy;
                result.cx = std::max(result.cx, pen.x);
                result.cy = std::max(result.cy, pen.y);
                pen.x = -gx;
                SetSplittersPos(rowFirstSplitter, 1, pen.y);
            } else {
                if (rowDockWindows > 0 && m_pDockSite && !m_pDockSite->GetControlBar(AFX_IDW_DOCKBAR_BOTTOM))
                    previousPending &= ~CBRS_BORDER_BOTTOM;
                settlePreviousBar();
                if (isFirstRow)
                    AdjustRowBarStyles(rowStart, CBRS_BORDER_LEFT, TRUE);
                pen.x += rowThickness - gx;
                result.cx = std::max(result.cx, pen.x);
                result.cy = std::max(result.cy, pen.y);
                pen.y = -gy - 1;
                SetSplittersPos(rowFirstSplitter, 2, pen.x);
            }
            rowThickness = 0;
            isFirstRow = false;
            rowBorderMask = CBRS_BORDER_ANY;
            isNewRowDue = true;
            previousBar = nullptr;
            wantsRowSplitter = rowDockWindows > 0;
            rowFirstSplitter = m_arrSplitters.GetSize();
            continue;
        }
        CControlBar* bar = GetDockedControlBar(i);
        if (!bar)
            continue;
        if (!bar->IsVisible()) {
            if (!isWrapped)
                bar->RecalcDelayShow(&layout);
            continue;
        }
        CQZDockWindow* dockWindow = GetDockWindow(bar);
        DWORD style = bar->GetBarStyle() & ~CBRS_BORDER_ANY;
        if (isNewRowDue) {
            rowDockWindows = GetVisibleDockWindowCount(i, nullptr);
            dockWindowsToCome = rowDockWindows;
            if (!isLeftOrTop)
                wantsRowSplitter = rowDockWindows > 0;
            if (wantsRowSplitter) {
                // Towards the frame's client area: below (right of) a row on the top (left)
                // dock bar, above (left of) it on the bottom (right) one.
                const int barIndex = isLeftOrTop ? rowStart : i;
                if (isHorz) {
                    AddSplitter(CRect(pen.x, pen.y, 0, pen.y + 6), 2, TRUE, barIndex);
                    pen.y += 6;
                    if (rowStart >= 0)
                        AdjustRowBarStyles(rowStart, CBRS_BORDER_BOTTOM, FALSE);
                    rowBorderMask &= ~CBRS_BORDER_TOP;
                } else {
                    AddSplitter(CRect(pen.x, pen.y, pen.x + 6, 0), 1, TRUE, barIndex);
                    pen.x += 7;
                    if (rowStart >= 0)
                        AdjustRowBarStyles(rowStart, CBRS_BORDER_RIGHT, FALSE);
                    rowBorderMask &= ~CBRS_BORDER_LEFT;
                }
            }
            if (GetRowFixedExtent(i, nullptr) + GetRowWindowsExtent(i, nullptr) != maxLength || FindNewDockWindow(i))
                FitRowDockWindows(i);
            style |= rowBorderMask;
            if (dockWindow && isHorz)
                style &= ~CBRS_BORDER_LEFT;
            rowStart = i;
            isNewRowDue = false;
        } else {
            if (bar->IsKindOf(RUNTIME_CLASS(CQZMenuBar))) {
                // The menu bar goes first into a row of its own in front of its row.
                m_arrBars.InsertAt(rowStart, static_cast<void*>(nullptr));
                m_arrBars.InsertAt(rowStart, bar);
                m_arrBars.RemoveAt(i + 2);
                if (m_pDockSite)
                    m_pDockSite->DelayRecalcLayout();
                break;
            }
            style |= rowBorderMask;
            const bool hasEarlierDockWindow = rowDockWindows - dockWindowsToCome > 0;
            if ((isPreviousDockWindow && dockWindowsToCome > 0) || (dockWindow && hasEarlierDockWindow)) {
                if (isHorz) {
                    AddSplitter(CRect(pen.x, pen.y, pen.x + 6, 0), 1, FALSE, i);
                    pen.x += 6;
                    style &= ~CBRS_BORDER_LEFT;
                    previousPending &= ~CBRS_BORDER_RIGHT;
                } else {
                    AddSplitter(CRect(pen.x, pen.y, 0, pen.y + 6), 2, FALSE, i);
                    pen.y += 6;
                    style &= ~CBRS_BORDER_TOP;
                    previousPending &= ~CBRS_BORDER_BOTTOM;
                }
            }
        }
        settlePreviousBar();
        previousBar = bar;
        isPreviousDockWindow = dockWindow != nullptr;
        if (dockWindow) {
            --dockWindowsToCome;
            dockWindow->m_bAloneInRow = rowDockWindows == 1;
        }

        // Placing the bar.
        const bool isToolkitBar = bar->IsKindOf(RUNTIME_CLASS(CQZControlBar)) != FALSE;
        gx = isToolkitBar ? 0 : border2;
        gy = isToolkitBar ? 0 : 2;
        CSize size;
        if (dockWindow) {
            size = CSize(dockWindow->GetCurrentWidth(), dockWindow->GetCurrentHeight());
        } else {
            const DWORD barStyle = bar->GetBarStyle();
            DWORD mode = LM_VERTDOCK;
            if ((barStyle & CBRS_SIZE_DYNAMIC) && (barStyle & CBRS_FLOATING))
                mode = LM_HORZ | LM_MRUWIDTH;
            else if (barStyle & CBRS_ORIENT_HORZ)
                mode = LM_HORZ | LM_HORZDOCK;
            size = bar->CalcDynamicLayout(-1, mode);
        }
        CRect rect(pen, size);
        CRect current;
        bar->GetWindowRect(&current);
        ScreenToClient(&current);
        if (isHorz) {
            // A bar keeps the gap the user left before it, where no docking window shares the row.
            if (current.left > rect.left && !m_bFloating && rowDockWindows == 0) {
                rect.OffsetRect(current.left - rect.left, 0);
                style |= CBRS_BORDER_LEFT;
            }
            if (rect.right > maxSize.cx && !m_bFloating)
                rect.OffsetRect(std::max(maxSize.cx - (rect.Width() - gx), pen.x) - rect.left, 0);
            if (isWrapped) {
                isWrapped = false;
                rect.OffsetRect(-gx - rect.left, 0);
            } else if (rect.left >= maxSize.cx - gx && i > 0 && m_arrBars.GetAt(i - 1)) {
                // Past the end: a new row for this bar at the next layout.
                m_arrBars.InsertAt(i, static_cast<void*>(nullptr));
                isWrapped = true;
                if (m_pDockSite)
                    m_pDockSite->DelayRecalcLayout();
                continue;
            }
            if (!isWrapped)
                rect.right = rect.left + FitToolBar(bar, rect.Width(), maxSize.cx - rect.left, IsLastInRow(i) != FALSE,
                                                    true);
        } else {
            if (current.top > rect.top && !m_bFloating && rowDockWindows == 0) {
                rect.OffsetRect(0, current.top - rect.top);
                style |= CBRS_BORDER_TOP;
            }
            if (rect.bottom > maxSize.cy && !m_bFloating)
                rect.OffsetRect(0, std::max(maxSize.cy - (rect.Height() - gy), pen.y) - rect.top);
            if (isWrapped) {
                isWrapped = false;
                rect.OffsetRect(0, -gy - rect.top);
            } else if (rect.top >= maxSize.cy - gy && i > 0 && m_arrBars.GetAt(i - 1)) {
                m_arrBars.InsertAt(i, static_cast<void*>(nullptr));
                isWrapped = true;
                if (m_pDockSite)
                    m_pDockSite->DelayRecalcLayout();
                continue;
            }
            if (!isWrapped && IsLastInRow(i))
                rect.bottom = rect.top + FitToolBar(bar, rect.Height(), maxSize.cy - rect.top, true, false);
        }
        if (rect != current) {
            if (!m_bLayoutQuery && !(bar->GetBarStyle() & CBRS_FLOATING) && bar->m_pDockContext)
                bar->m_pDockContext->m_rectMRUDockPos = rect;
            AfxRepositionWindow(&layout, bar->m_hWnd, &rect);
        }
        // The pen moves by the size asked for, not by a fitted one.
        if (isHorz) {
            pen.x = rect.left + size.cx - gx;
            rowThickness = std::max(rowThickness, static_cast<int>(size.cy));
        } else {
            pen.y = rect.top + size.cy - gy;
            rowThickness = std::max(rowThickness, static_cast<int>(size.cx));
        }
        if (!isWrapped)
            bar->RecalcDelayShow(&layout);
        previousPending = style;
    }

    if (rowStart >= 0) {
        // The last row started: a row of docking windows gets its splitter towards the client area.
        if (rowDockWindows > 0) {
            if (isLeftOrTop) {
                if (isHorz) {
                    AddSplitter(CRect(pen.x, pen.y, 0, pen.y + 6), 2, TRUE, rowStart);
                    result.cy += 5;
                    AdjustRowBarStyles(rowStart, CBRS_BORDER_BOTTOM, FALSE);
                } else {
                    AddSplitter(CRect(pen.x, pen.y, pen.x + 6, 0), 1, TRUE, rowStart);
                    result.cx += 5;
                    AdjustRowBarStyles(rowStart, CBRS_BORDER_RIGHT, FALSE);
                }
            } else {
                AdjustRowBarStyles(rowStart, isHorz ? CBRS_BORDER_BOTTOM : CBRS_BORDER_RIGHT, TRUE);
            }
        }
        if (isHorz)
            result.cy += 1;
        else if (m_dwStyle & CBRS_ALIGN_LEFT)
            result.cx -= 1;
    }
    if (layout.hDWP)
        ::EndDeferWindowPos(layout.hDWP);
    for (int i = 0; i < m_arrSplitters.GetSize(); ++i) {
        CQZSplitterDock* splitter = m_arrSplitters.GetAt(i);
        if (isHorz && splitter->m_nType == 2)
            splitter->m_rect.right = maxSize.cx;
        else if (!isHorz && splitter->m_nType == 1)
            splitter->m_rect.bottom = maxSize.cy;
    }
    return result;
}
