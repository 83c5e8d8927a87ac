// The dock bar's splitter drag: finding the splitter under the mouse and showing its
// cursor, the drag from the press to the release (the dock bar holds the capture and the
// focus meanwhile), its abandonment by Escape or a lost capture, and the row operations
// that resize docking windows for the splitters.
#include "toolkit/docking/QZDockBar.h"

#include "framework/AfxGlobalData.h"
#include "framework/DC.h"
#include "framework/FrameWnd.h"
#include "toolkit/docking/QZDockWindow.h"
#include "toolkit/docking/QZSplitterDock.h"
#include "toolkit/foundation/QZAuxData.h"

#include <algorithm>

void CQZDockBar::DoPaint(CDC* pDC)
{
    CDockBar::DoPaint(pDC);
    if (GetDockedCount() == 0)
        return;
    for (int i = 0; i < m_arrSplitters.GetSize(); ++i)
        m_arrSplitters.GetAt(i)->Draw(pDC);
}

CQZSplitterDock* CQZDockBar::ActiveSplitter() const
{
    // An index from before the latest layout may name no splitter any more.
    if (m_nActiveSplitter < 0 || m_nActiveSplitter >= m_arrSplitters.GetSize())
        return nullptr;
    return m_arrSplitters.GetAt(m_nActiveSplitter);
}

void CQZDockBar::HitTestSplitters(LPPOINT lpPoint)
{
    ::SetCursor(afxData.hcurArrow);
    // A window holding the capture has the mouse: nothing here may react to it.
    if (::GetCapture())
        return;
    CPoint point = *lpPoint;
    ScreenToClient(&point);
    m_nActiveSplitter = -1;
    for (int i = 0; i < m_arrSplitters.GetSize(); ++i) {
        const CQZSplitterDock* splitter = m_arrSplitters.GetAt(i);
        if (!splitter->m_rect.PtInRect(point))
            continue;
        ::SetCursor(splitter->m_nType == 2 ? qzAfxData.cursorSplitVert : qzAfxData.cursorSplitHorz);
        m_nActiveSplitter = i;
        return;
    }
}

LRESULT CQZDockBar::OnNcHitTest(CPoint point)
{
    HitTestSplitters(&point);
    if (m_nActiveSplitter != -1)
        return HTBORDER;
    return CDockBar::OnNcHitTest(point);
}

BOOL CQZDockBar::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (nHitTest == HTCLIENT)
        return CDockBar::OnSetCursor(pWnd, nHitTest, message);
    // The hit test has chosen the cursor.
    return FALSE;
}

void CQZDockBar::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    CQZSplitterDock* splitter = ActiveSplitter();
    if (!splitter || !splitter->BeginTrack(point)) {
        CDockBar::OnNcLButtonDown(nHitTest, point);
        return;
    }
    SetCapture();
    // Escape reaches the dock bar as IDCANCEL while it has the focus.
    CWnd* previous = SetFocus();
    m_hWndPrevFocus = previous ? previous->m_hWnd : nullptr;
    m_bTracking = TRUE;
}

void CQZDockBar::OnMouseMove(UINT nFlags, CPoint point)
{
    CQZSplitterDock* splitter = ActiveSplitter();
    if (m_bTracking && splitter)
        splitter->Move(point);
    else
        CDockBar::OnMouseMove(nFlags, point);
}

void CQZDockBar::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (!m_bTracking) {
        CDockBar::OnLButtonUp(nFlags, point);
        return;
    }
    // Tracking ends before the capture goes, so that losing it is not taken as a cancel.
    m_bTracking = FALSE;
    ::ReleaseCapture();
    if (m_hWndPrevFocus && ::IsWindow(m_hWndPrevFocus))
        ::SetFocus(m_hWndPrevFocus);
    if (CQZSplitterDock* splitter = ActiveSplitter())
        splitter->EndTrack(point);
}

void CQZDockBar::AbandonDrag(BOOL bReleaseCapture)
{
    if (!m_bTracking)
        return;
    if (CQZSplitterDock* splitter = ActiveSplitter())
        splitter->DrawTracker();
    m_bTracking = FALSE;
    if (bReleaseCapture)
        ::ReleaseCapture();
    if (m_hWndPrevFocus && ::IsWindow(m_hWndPrevFocus))
        ::SetFocus(m_hWndPrevFocus);
}

void CQZDockBar::OnCancel()
{
    AbandonDrag(TRUE);
}

LRESULT CQZDockBar::OnCaptureChanged(WPARAM wParam, LPARAM lParam)
{
    // Another window took the mouse, or the system cancelled the mode: a drag cannot go on
    // without its button-up, so it is abandoned as by Escape. The capture is someone
    // else's now and stays theirs.
    AbandonDrag(FALSE);
    return Default();
}

void CQZDockBar::OnCancelMode()
{
    AbandonDrag(TRUE);
    CDockBar::OnCancelMode();
}

int CQZDockBar::GetFreeThickness() const
{
    CFrameWnd* frame = GetDockingFrame();
    if (!frame)
        return 0;
    CRect client;
    frame->GetClientRect(&client);
    auto takenBy = [&](UINT id, bool height) {
        CControlBar* bar = frame->GetControlBar(id);
        if (!bar || !bar->IsVisible())
            return 0;
        CRect rect;
        bar->GetWindowRect(&rect);
        return height ? rect.Height() : rect.Width();
    };
    if (IsHorzDockBar())
        return client.Height() - takenBy(AFX_IDW_DOCKBAR_TOP, true) - takenBy(AFX_IDW_DOCKBAR_BOTTOM, true) -
               takenBy(AFX_IDW_STATUS_BAR, true);
    return client.Width() - takenBy(AFX_IDW_DOCKBAR_LEFT, false) - takenBy(AFX_IDW_DOCKBAR_RIGHT, false);
}

int CQZDockBar::SetRowThickness(int nIndex, int nThickness)
{
    for (int i = nIndex, end = RowEnd(nIndex); i < end; ++i) {
        CQZDockWindow* wnd = GetDockWindow(GetDockedControlBar(i));
        if (!wnd)
            continue;
        CSize size = DockedSize(wnd);
        (IsHorzDockBar() ? size.cy : size.cx) = nThickness;
        wnd->SetDockedSize(size);
        wnd->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
    }
    return nThickness;
}

void CQZDockBar::ResizeAlong(CQZDockWindow* pWnd, int nLength)
{
    const CSize size = IsHorzDockBar() ? CSize(nLength, pWnd->GetCurrentHeight())
                                       : CSize(pWnd->GetCurrentWidth(), nLength);
    pWnd->SetDockedSize(size);
    pWnd->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER);
}

int CQZDockBar::TakeChange(CQZDockWindow* pWnd, int nChange)
{
    const int length = CurrentLength(pWnd);
    const int applied = std::max(nChange, pWnd->GetMinExtent() - length);
    ResizeAlong(pWnd, length + applied);
    return applied;
}

int CQZDockBar::GrowWindowsBefore(int nIndex, int nChange)
{
    const int start = GetRowStart(GetDockedControlBar(nIndex));
    if (start < 0 || nChange == 0)
        return nChange;
    // Nearest first; a growth goes whole to the nearest window, a shrink takes each
    // window down to its minimum in turn.
    for (int i = nIndex - 1; i >= start && nChange != 0; --i) {
        if (CQZDockWindow* wnd = GetDockWindow(GetDockedControlBar(i)))
            nChange -= TakeChange(wnd, nChange);
    }
    return nChange;
}

int CQZDockBar::GrowWindowsAfter(int nIndex, int nChange)
{
    if (nChange == 0)
        return nChange;
    for (int i = nIndex, end = RowEnd(nIndex); i < end && nChange != 0; ++i) {
        if (CQZDockWindow* wnd = GetDockWindow(GetDockedControlBar(i)))
            nChange -= TakeChange(wnd, nChange);
    }
    return nChange;
}
