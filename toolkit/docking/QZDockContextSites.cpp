// Where the toolkit drag would dock a bar: the dock bar under the pointer in the dock site
// or in another frame the bar may go to; the frames whose layout such a move makes due;
// and the outline drawn in the outline mode.
#include "toolkit/docking/QZDockContext.h"

#include "framework/FrameWnd.h"
#include "framework/MiniFrameWnd.h"
#include "framework/WinThread.h"
#include "toolkit/bars/QZControlBar.h"
#include "toolkit/docking/QZDockBar.h"
#include "toolkit/docking/QZDockWindow.h"
#include "toolkit/docking/QZDragInput.h"

DWORD CQZDockContext::CanDock()
{
    POINT pointer = {};
    if (!QZGetDragCursorPos(&pointer))
        return CDockContext::CanDock();
    // The framework's order: the bar's own orientation first (the other one when Shift
    // turns it), then, unless turned, whichever side takes it. Each side is asked once,
    // not once per outline: every ask walks the frame's bars and the desktop's windows,
    // and a live drag asks at every mouse movement (bench/toolkit/dock_drag.cpp).
    const BOOL isHorz = ((m_dwStyle & CBRS_ORIENT_HORZ) != 0) != (m_bFlip != FALSE);
    const DWORD horzSides = m_dwDockStyle & CBRS_ORIENT_HORZ;
    const DWORD vertSides = m_dwDockStyle & CBRS_ORIENT_VERT;
    const DWORD horzStyle = m_dwDockStyle & ~CBRS_ORIENT_VERT;
    const DWORD vertStyle = m_dwDockStyle & ~CBRS_ORIENT_HORZ;
    auto askHorz = [&] { return CanDockAt(m_rectDragHorz, horzStyle); };
    auto askVert = [&] { return CanDockAt(m_rectDragVert, vertStyle); };
    const bool horzFirst = isHorz && horzSides;
    DWORD found = 0;
    if (horzFirst)
        found = askHorz();
    else if (vertSides)
        found = askVert();
    if (found || m_bFlip)
        return found;
    if (horzFirst)
        return vertSides ? askVert() : 0;
    return horzSides ? askHorz() : 0;
}

DWORD CQZDockContext::CanDockAt(CRect rect, DWORD dwDockStyle, CDockBar** ppDockBar)
{
    dwDockStyle &= CBRS_ALIGN_ANY | CBRS_FLOAT_MULTI;
    if (ppDockBar)
        *ppDockBar = nullptr;
    DWORD style = 0;
    if (HitTestDockSite(m_pDockSite, &style, rect, dwDockStyle, ppDockBar))
        return style;
    CFrameWnd* other = FindOtherDockSite();
    if (other && HitTestDockSite(other, &style, rect, dwDockStyle, ppDockBar)) {
        DelayFrameLayout(m_pDockSite);
        DelayFrameLayout(other);
        m_pDockSite = other;
        return style;
    }
    return 0;
}

BOOL CQZDockContext::HitTestDockSite(CFrameWnd* pFrame, DWORD* pdwStyle, CRect rect, DWORD dwDockStyle,
                                     CDockBar** ppDockBar)
{
    if (!pFrame)
        return FALSE;
    POINT pointer = {};
    const BOOL hasPointer = QZGetDragCursorPos(&pointer);
    for (POSITION pos = pFrame->m_listControlBars.GetHeadPosition(); pos;) {
        auto* bar = static_cast<CControlBar*>(pFrame->m_listControlBars.GetNext(pos));
        CRect area;
        const DWORD shared = GetDockTarget(bar, dwDockStyle, area);
        if (!shared)
            continue;
        auto* dockBar = static_cast<CDockBar*>(bar);
        CWnd* parent = CWnd::FromHandlePermanent(::GetParent(dockBar->m_hWnd));
        if (!parent)
            continue;
        // Only the part inside the frame's client area counts.
        CRect client;
        parent->GetClientRect(&client);
        parent->ClientToScreen(&client);
        CRect inside;
        if (inside.IntersectRect(&area, &client))
            area = inside;
        CRect overlap;
        const bool hit = hasPointer ? area.PtInRect(pointer) != FALSE : overlap.IntersectRect(&area, &rect) != FALSE;
        if (!hit)
            continue;
        if (ppDockBar)
            *ppDockBar = dockBar;
        *pdwStyle = shared;
        return TRUE;
    }
    return FALSE;
}

CFrameWnd* CQZDockContext::FindOtherDockSite()
{
    if (!m_pDockSite || !m_pBar || !m_pBar->IsKindOf(RUNTIME_CLASS(CQZControlBar)))
        return nullptr;
    auto* bar = static_cast<CQZControlBar*>(m_pBar);
    POINT pointer = {};
    CWnd* mainWnd = AfxGetMainWnd();
    if (QZGetDragCursorPos(&pointer) && mainWnd && mainWnd->m_hWnd) {
        for (HWND window = ::GetWindow(mainWnd->m_hWnd, GW_HWNDFIRST); window;
             window = ::GetWindow(window, GW_HWNDNEXT)) {
            CWnd* object = CWnd::FromHandlePermanent(window);
            if (!object || !object->IsKindOf(RUNTIME_CLASS(CFrameWnd)) ||
                object->IsKindOf(RUNTIME_CLASS(CMiniDockFrameWnd)))
                continue;
            CRect rect;
            object->GetWindowRect(&rect);
            if (!rect.PtInRect(pointer))
                continue;
            if (object == m_pDockSite)
                break;
            auto* frame = static_cast<CFrameWnd*>(object);
            return bar->CanDockInFrame(frame) ? frame : nullptr;
        }
    }
    CFrameWnd* active = m_pDockSite->GetActiveFrame();
    if (active && active != m_pDockSite && bar->CanDockInFrame(active))
        return active;
    CFrameWnd* parent = m_pDockSite->GetParentFrame();
    if (parent && parent != m_pDockSite && bar->CanDockInFrame(parent))
        return parent;
    return nullptr;
}

CQZDockBar* CQZDockContext::GetDockBar(DWORD dwOverDockStyle)
{
    CDockBar* found = nullptr;
    if (dwOverDockStyle & CBRS_ORIENT_HORZ)
        CanDockAt(m_rectDragHorz, dwOverDockStyle & ~CBRS_ORIENT_VERT, &found);
    else if (dwOverDockStyle & CBRS_ORIENT_VERT)
        CanDockAt(m_rectDragVert, dwOverDockStyle & ~CBRS_ORIENT_HORZ, &found);
    return DYNAMIC_DOWNCAST(CQZDockBar, found);
}

void CQZDockContext::DelayFrameLayout(CFrameWnd* pFrame)
{
    if (!pFrame)
        return;
    pFrame->m_nIdleFlags |= CFrameWnd::idleLayout;
    m_arrLayoutFrames.Add(pFrame);
}

void CQZDockContext::FlushFrameLayout(CFrameWnd* pFrame)
{
    if (!pFrame || !(pFrame->m_nIdleFlags & CFrameWnd::idleLayout))
        return;
    // Cleared before the layout: one asked for during it waits for the next message.
    pFrame->m_nIdleFlags &= ~CFrameWnd::idleLayout;
    pFrame->RecalcLayout(FALSE);
}

void CQZDockContext::DrawFocusRect(BOOL bRemoveRect)
{
    if (m_bLiveDrag) {
        if (bRemoveRect)
            return;
        if (m_bDragging)
            EndDrag();
        else
            EndResize();
        return;
    }
    CRect rect;
    CSize size(1, 1);
    BOOL dither = FALSE;
    const bool isDockWindow = m_pBar->IsKindOf(RUNTIME_CLASS(CQZDockWindow)) != FALSE;
    if (m_dwOverDockStyle & (CBRS_ORIENT_HORZ | CBRS_ORIENT_VERT)) {
        const bool isHorz = (m_dwOverDockStyle & CBRS_ORIENT_HORZ) != 0;
        rect = isHorz ? m_rectDragHorz : m_rectDragVert;
        if (isDockWindow) {
            // A docking window that would start a new row shows the whole row.
            CRect dockBarRect;
            if (CQZDockBar* dockBar = GetDockBar(m_dwOverDockStyle))
                dockBar->GetWindowRect(&dockBarRect);
            if (!dockBarRect.PtInRect(rect.CenterPoint())) {
                if (isHorz) {
                    rect.left = dockBarRect.left;
                    rect.right = dockBarRect.right;
                } else {
                    rect.top = dockBarRect.top;
                    rect.bottom = dockBarRect.bottom;
                }
            }
        }
        rect.DeflateRect(1, 1);
    } else {
        const bool isHorz = ((m_dwStyle & CBRS_ORIENT_HORZ) != 0) != (m_bFlip != FALSE);
        rect = isHorz ? m_rectFrameDragHorz : m_rectFrameDragVert;
        size = CSize(::GetSystemMetrics(SM_CXFRAME) - 1, ::GetSystemMetrics(SM_CYFRAME) - 1);
        dither = TRUE;
    }
    if (bRemoveRect)
        size = CSize(0, 0);
    DrawTracker(rect, size, dither);
}
