// Splitters: drawing the strips, the inverted drag line over the frame, the limits and
// steps of a drag, and the sizes applied at its end.
#include "toolkit/docking/QZSplitterDock.h"

#include "framework/DC.h"
#include "framework/FrameWnd.h"
#include "toolkit/docking/QZDockBar.h"
#include "toolkit/docking/QZDockWindow.h"
#include "toolkit/foundation/QZAuxData.h"

#include <algorithm>

namespace {

// The dock bar's toolkit style bits the splitters read.
constexpr DWORD kFlatDockBar = 0x80;
constexpr DWORD kNoOuterLine = 0x100;

} // namespace

CQZSplitterDock::CQZSplitterDock(CQZDockBar* pDockBar, LPCRECT lpRect, int nType, int nBarIndex)
    : m_rect(lpRect), m_nType(nType), m_nBarIndex(nBarIndex), m_pDockBar(pDockBar)
{
}

CQZSplitterDock::~CQZSplitterDock() = default;

void CQZSplitterDock::SetPos(int nPos)
{
    if (m_nType == 1)
        m_rect.bottom = nPos;
    else
        m_rect.right = nPos;
}

void CQZSplitterDock::Draw(CDC* pDC)
{
    const int x = m_rect.left;
    const int y = m_rect.top;
    const int w = m_rect.Width();
    const int h = m_rect.Height();
    pDC->FillSolidRect(x, y, w, h, ::GetSysColor(COLOR_3DFACE));
    if ((m_pDockBar->m_dwBarStyleEx & kFlatDockBar) || qzAfxData.xpLook)
        return;
    const COLORREF hilite = ::GetSysColor(COLOR_3DHILIGHT);
    const COLORREF shadow = ::GetSysColor(COLOR_3DSHADOW);
    const bool outerLine = !(m_pDockBar->m_dwBarStyleEx & kNoOuterLine);
    if (m_nType == 1) {
        pDC->FillSolidRect(x, y, w - 1, 1, hilite);
        pDC->FillSolidRect(x, y + h - 1, w - 1, 1, shadow);
        pDC->FillSolidRect(x, y, 1, h, hilite);
        pDC->FillSolidRect(x + w - 2, y, 1, h, shadow);
        if (outerLine)
            pDC->FillSolidRect(x + w - 1, y, 1, h, ::GetSysColor(COLOR_WINDOWFRAME));
    } else {
        pDC->FillSolidRect(x, y, 1, h - 1, hilite);
        pDC->FillSolidRect(x + w - 1, y, 1, h - 1, shadow);
        pDC->FillSolidRect(x, y, w - 1, 1, hilite);
        pDC->FillSolidRect(x, y + h - 2, w - 1, 1, shadow);
        if (outerLine)
            pDC->FillSolidRect(x, y + h - 1, w, 1, ::GetSysColor(COLOR_WINDOWFRAME));
    }
}

BOOL CQZSplitterDock::DrawTracker()
{
    CFrameWnd* frame = m_pDockBar->GetDockingFrame();
    if (!frame)
        return FALSE;
    if (m_rectTracker.IsRectEmpty()) {
        if (CWnd* parent = m_pDockBar->GetParent())
            parent->Invalidate(TRUE);
        return FALSE;
    }
    // A window DC that the frame's children do not clip: the line crosses the dock bars
    // and the view. The line is kept in client coordinates.
    HDC dc = ::GetDCEx(frame->m_hWnd, nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    if (!dc)
        return FALSE;
    CRect window;
    frame->GetWindowRect(&window);
    CPoint clientOrigin(0, 0);
    frame->ClientToScreen(&clientOrigin);
    CRect line = m_rectTracker;
    line.OffsetRect(clientOrigin.x - window.left, clientOrigin.y - window.top);
    // Four pixels of the six-pixel strip, across its length.
    if (line.Width() < line.Height())
        line.DeflateRect(1, 0);
    else
        line.DeflateRect(0, 1);
    HGDIOBJ brush = ((m_pDockBar->m_dwBarStyleEx & kFlatDockBar) || qzAfxData.xpLook)
                        ? ::GetStockObject(WHITE_BRUSH)
                        : CDC::GetHalftoneBrush()->m_hObject;
    HGDIOBJ oldBrush = ::SelectObject(dc, brush);
    ::PatBlt(dc, line.left, line.top, line.Width(), line.Height(), PATINVERT);
    ::SelectObject(dc, oldBrush);
    ::ReleaseDC(frame->m_hWnd, dc);
    return TRUE;
}

BOOL CQZSplitterDock::BeginTrack(CPoint point)
{
    CFrameWnd* frame = m_pDockBar->GetDockingFrame();
    m_rectTracker = m_rect;
    m_pDockBar->ClientToScreen(&m_rectTracker);
    if (frame)
        frame->ScreenToClient(&m_rectTracker);
    m_pDockBar->ScreenToClient(&point);
    m_ptStart = point;
    CalcLimits();
    return DrawTracker();
}

void CQZSplitterDock::Shift(int d)
{
    if (m_nType == 2) {
        m_rectTracker.OffsetRect(0, d);
        m_ptStart.y += d;
    } else {
        m_rectTracker.OffsetRect(d, 0);
        m_ptStart.x += d;
    }
}

BOOL CQZSplitterDock::Move(CPoint point)
{
    if (!DrawTracker())
        return FALSE;
    const CSize movement = point - m_ptStart;
    int d = 0;
    switch (m_pDockBar->GetDlgCtrlID()) {
    case AFX_IDW_DOCKBAR_TOP:
    case AFX_IDW_DOCKBAR_LEFT:
        // Away from the frame's edge thickens the row.
        d = m_pDockBar->GetDlgCtrlID() == AFX_IDW_DOCKBAR_TOP ? movement.cy : movement.cx;
        d = std::max(std::min(d, m_nMax - m_nPos), m_nMin - m_nPos);
        m_nPos += d;
        break;
    case AFX_IDW_DOCKBAR_RIGHT:
    case AFX_IDW_DOCKBAR_BOTTOM:
        // Towards the frame's client area (left, up) thickens the row.
        d = m_pDockBar->GetDlgCtrlID() == AFX_IDW_DOCKBAR_BOTTOM ? movement.cy : movement.cx;
        d = std::min(std::max(d, m_nPos - m_nMax), m_nPos - m_nMin);
        m_nPos -= d;
        break;
    default:
        break;
    }
    Shift(d);
    return DrawTracker();
}

BOOL CQZSplitterDock::EndTrack(CPoint point)
{
    if (!Move(point))
        return FALSE;
    if (!DrawTracker())
        return FALSE;
    if (m_nPos != m_nOrigPos) {
        Apply();
        if (CFrameWnd* frame = m_pDockBar->GetDockingFrame())
            frame->DelayRecalcLayout();
    }
    return TRUE;
}

void CQZSplitterDock::CalcLimits()
{
    m_nOrigPos = m_nPos = m_pDockBar->GetRowThickness(m_nBarIndex, nullptr);
    m_nMin = m_pDockBar->GetRowBarThickness(m_nBarIndex, nullptr);
    m_nMax = m_nPos + m_pDockBar->GetFreeThickness();
}

void CQZSplitterDock::Apply()
{
    m_pDockBar->SetRowThickness(m_nBarIndex, m_nPos);
    if (CQZDockWindow* expanded = m_pDockBar->FindExpandedDockWindow(m_nBarIndex))
        m_pDockBar->ExpandDockWindow(expanded, FALSE);
}

CQZSplitterRowDock::~CQZSplitterRowDock() = default;

BOOL CQZSplitterRowDock::Move(CPoint point)
{
    if (!DrawTracker())
        return FALSE;
    const CSize movement = point - m_ptStart;
    int d = m_nType == 2 ? movement.cy : movement.cx;
    d = std::max(std::min(d, m_nMax - m_nPos), m_nMin - m_nPos);
    m_nPos += d;
    Shift(d);
    return DrawTracker();
}

void CQZSplitterRowDock::CalcLimits()
{
    m_nOrigPos = m_nPos = m_nType == 1 ? m_rect.left : m_rect.top;
    int rowStart = m_pDockBar->GetRowStart(m_pDockBar->GetDockedControlBar(m_nBarIndex));
    if (rowStart < 0)
        rowStart = m_nBarIndex;  // no row: nothing before the splitter
    const int minimumBefore = m_pDockBar->GetRowMinimumExtent(rowStart, nullptr) -
                              m_pDockBar->GetRowMinimumExtent(m_nBarIndex, nullptr);
    const int fixedBefore =
        m_pDockBar->GetRowFixedExtent(rowStart, nullptr) - m_pDockBar->GetRowFixedExtent(m_nBarIndex, nullptr);
    m_nMin = minimumBefore + fixedBefore;
    m_nMax = m_nPos + m_pDockBar->GetRowWindowsExtent(m_nBarIndex, nullptr) -
             m_pDockBar->GetRowMinimumExtent(m_nBarIndex, nullptr);
}

void CQZSplitterRowDock::Apply()
{
    const int change = m_nPos - m_nOrigPos;
    m_pDockBar->GrowWindowsBefore(m_nBarIndex, change);
    m_pDockBar->GrowWindowsAfter(m_nBarIndex, -change);
    if (CQZDockWindow* expanded = m_pDockBar->FindExpandedDockWindow(m_nBarIndex))
        m_pDockBar->RestoreDockWindows(expanded, FALSE);
}
