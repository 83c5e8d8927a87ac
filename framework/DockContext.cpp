// The drag context's loop: taking messages while the bar holds the capture, the outlines
// that follow the pointer, the keys, the desktop lock and DC of the outline.
#include "DockContext.h"

#include "ControlBar.h"
#include "DC.h"
#include "DockBar.h"
#include "FrameWnd.h"
#include "GdiObjects.h"
#include "MiniFrameWnd.h"

#include <windowsx.h>

namespace {

// Input that belongs to a drag: taken by the loop, never passed on once the capture is lost.
bool IsDragInput(UINT message)
{
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK) || message == WM_KEYDOWN ||
           message == WM_KEYUP || message == WM_CHAR;
}

// Dispatches the pending paint messages. PeekMessage hands out WM_QUIT whatever the
// filter: it is posted again for the loop, and FALSE says so.
bool DispatchPendingPaint(MSG* msg)
{
    while (::PeekMessageA(msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
        if (msg->message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg->wParam));
            return false;
        }
        ::DispatchMessageA(msg);
    }
    return true;
}

bool IsHorzStyle(DWORD style)
{
    return (style & CBRS_ORIENT_HORZ) != 0;
}

// A floating frame's outline around a bar's outline.
void GrowToFrame(CRect& rect)
{
    CMiniFrameWnd::CalcBorders(&rect, WS_THICKFRAME | WS_CAPTION, 0);
    // The framework's double border.
    rect.DeflateRect(2, 2);
}

} // namespace

CDockContext::CDockContext(CControlBar* pBar)
    : m_pBar(pBar), m_pDockSite(pBar->m_pDockSite), m_rectMRUDockPos(0, 0, 0, 0),
      m_dwMRUFloatStyle(CBRS_ALIGN_TOP | (pBar->m_dwDockStyle & CBRS_FLOAT_MULTI)), m_ptMRUFloatPos(CW_USEDEFAULT, 0)
{
}

CDockContext::~CDockContext()
{
    // A context that goes in the middle of a loop leaves no lock and no DC behind.
    if (m_pDC)
        CancelLoop();
}

void CDockContext::InitLoop()
{
    MSG msg;
    DispatchPendingPaint(&msg);
    m_dwDockStyle = m_pBar->m_dwDockStyle;
    m_dwStyle = m_pBar->GetBarStyle() & CBRS_ALIGN_ANY;
    m_rectLast.SetRectEmpty();
    m_sizeLast = CSize(0, 0);
    m_bDitherLast = FALSE;
    m_bFlip = FALSE;
    m_bForceFrame = FALSE;
    HWND desktop = ::GetDesktopWindow();
    ::LockWindowUpdate(desktop);
    HDC dc = ::GetDCEx(desktop, nullptr, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    if (dc) {
        m_pDC = new CDC;
        m_pDC->Attach(dc);
    }
}

void CDockContext::CancelLoop()
{
    if (m_pDC) {
        CBrush* white = CBrush::FromHandle(static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        CBrush* last = m_bDitherLast ? CDC::GetHalftoneBrush() : white;
        m_pDC->DrawDragRect(&m_rectLast, CSize(0, 0), &m_rectLast, m_sizeLast, last, last);
        m_rectLast.SetRectEmpty();
        m_sizeLast = CSize(0, 0);
    }
    if (m_pBar->m_hWnd && ::GetCapture() == m_pBar->m_hWnd)
        ::ReleaseCapture();
    ::LockWindowUpdate(nullptr);
    if (m_pDC) {
        ::ReleaseDC(::GetDesktopWindow(), m_pDC->Detach());
        delete m_pDC;
        m_pDC = nullptr;
    }
}

BOOL CDockContext::GetTrackMessage(HWND hWndTrack, MSG* pMsg)
{
    // Windows keep up with the outline (or the moving bar) before the next input is read.
    if (!DispatchPendingPaint(pMsg))
        return FALSE;
    if (!::GetMessageA(pMsg, nullptr, 0, 0)) {
        ::PostQuitMessage(static_cast<int>(pMsg->wParam));
        return FALSE;
    }
    if (::GetCapture() != hWndTrack) {
        // A command, timer or thread message taken at this moment still reaches its window;
        // only the drag's own input ends with the drag.
        if (!IsDragInput(pMsg->message))
            ::DispatchMessageA(pMsg);
        return FALSE;
    }
    return TRUE;
}

CPoint CDockContext::TrackPoint(const MSG& msg)
{
    POINT pt = {GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
    if (msg.hwnd)
        ::ClientToScreen(msg.hwnd, &pt);
    return CPoint(pt);
}

void CDockContext::AdjustRectangle(CRect& rect, CPoint pt)
{
    const int dx = pt.x < rect.left ? pt.x - rect.left : (pt.x > rect.right ? pt.x - rect.right : 0);
    const int dy = pt.y < rect.top ? pt.y - rect.top : (pt.y > rect.bottom ? pt.y - rect.bottom : 0);
    rect.OffsetRect(dx, dy);
}

void CDockContext::InitDragRects(CPoint pt)
{
    CRect rect;
    m_pBar->GetWindowRect(&rect);
    const CPoint topLeft = rect.TopLeft();
    const DWORD style = m_pBar->GetBarStyle();
    if (style & CBRS_SIZE_DYNAMIC) {
        m_rectDragHorz = CRect(topLeft, m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_HORZDOCK));
        m_rectDragVert = CRect(topLeft, m_pBar->CalcDynamicLayout(0, LM_VERTDOCK));
        m_rectFrameDragHorz = CRect(topLeft, m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH));
        m_rectFrameDragVert = m_rectFrameDragHorz;
    } else if (style & CBRS_SIZE_FIXED) {
        m_rectDragHorz = CRect(topLeft, m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK));
        m_rectDragVert = CRect(topLeft, m_pBar->CalcDynamicLayout(-1, LM_VERTDOCK));
        m_rectFrameDragHorz = m_rectDragHorz;
        m_rectFrameDragVert = m_rectDragVert;
    } else {
        // The other orientation turns about the pointer.
        if (IsHorzStyle(m_dwStyle)) {
            const CSize size = m_pBar->CalcDynamicLayout(-1, LM_VERTDOCK);
            m_rectDragHorz = rect;
            m_rectDragVert = CRect(CPoint(pt.x - rect.Height() / 2, rect.top), size);
        } else {
            const CSize size = m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK);
            m_rectDragVert = rect;
            m_rectDragHorz = CRect(CPoint(rect.left, pt.y - rect.Width() / 2), size);
        }
        m_rectFrameDragHorz = m_rectDragHorz;
        m_rectFrameDragVert = m_rectDragVert;
    }
    GrowToFrame(m_rectFrameDragHorz);
    GrowToFrame(m_rectFrameDragVert);
    for (CRect* r : {&m_rectDragHorz, &m_rectDragVert, &m_rectFrameDragHorz, &m_rectFrameDragVert})
        AdjustRectangle(*r, pt);
}

void CDockContext::InitResizeRects()
{
    CRect rect;
    m_pBar->GetWindowRect(&rect);
    const CSize size = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH);
    m_rectDragHorz = CRect(rect.TopLeft(), size);
    m_rectDragVert = m_rectDragHorz;
    m_rectFrameDragHorz = m_rectDragHorz;
    GrowToFrame(m_rectFrameDragHorz);
    m_rectFrameDragVert.SetRect(0, 0, m_rectFrameDragHorz.Width() - size.cx, m_rectFrameDragHorz.Height() - size.cy);
}

void CDockContext::Move(CPoint pt)
{
    const CSize offset = pt - m_ptLast;
    if (offset == CSize(0, 0))
        return;
    for (CRect* r : {&m_rectDragHorz, &m_rectDragVert, &m_rectFrameDragHorz, &m_rectFrameDragVert})
        r->OffsetRect(offset);
    m_ptLast = pt;
    m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
    DrawFocusRect(FALSE);
}

void CDockContext::Stretch(CPoint pt)
{
    const CSize offset = pt - m_ptLast;
    CSize size = m_rectDragVert.Size();
    const int hit = m_nHitTest;
    if (hit != HTTOP && hit != HTBOTTOM) {
        if (hit == HTLEFT || hit == HTTOPLEFT || hit == HTBOTTOMLEFT)
            m_rectDragHorz.left += offset.cx;
        else
            m_rectDragHorz.right += offset.cx;
        size = m_pBar->CalcDynamicLayout(m_rectDragHorz.Width(), LM_HORZ);
    }
    if (hit != HTLEFT && hit != HTRIGHT) {
        if (hit == HTTOP || hit == HTTOPLEFT || hit == HTTOPRIGHT)
            m_rectDragHorz.top += offset.cy;
        else
            m_rectDragHorz.bottom += offset.cy;
        size = m_pBar->CalcDynamicLayout(m_rectDragHorz.Height(), LM_HORZ | LM_LENGTHY);
    }
    const CSize borders = m_rectFrameDragVert.Size();
    CRect frame = m_rectFrameDragHorz;
    const bool growsLeft = hit == HTLEFT || hit == HTTOP || hit == HTTOPLEFT || hit == HTBOTTOMLEFT;
    const bool growsUp = hit == HTLEFT || hit == HTTOP || hit == HTTOPLEFT || hit == HTTOPRIGHT;
    if (growsLeft)
        frame.left = frame.right - (size.cx + borders.cx);
    else
        frame.right = frame.left + size.cx + borders.cx;
    if (growsUp)
        frame.top = frame.bottom - (size.cy + borders.cy);
    else
        frame.bottom = frame.top + size.cy + borders.cy;
    CRect desktop;
    ::GetWindowRect(::GetDesktopWindow(), &desktop);
    CRect overlap;
    // A frame that would leave the desktop altogether stays where it is.
    if (overlap.IntersectRect(&frame, &desktop)) {
        m_rectFrameDragHorz = frame;
        m_rectDragVert.right = m_rectDragVert.left + size.cx;
        m_rectDragVert.bottom = m_rectDragVert.top + size.cy;
    }
    m_ptLast = pt;
    DrawFocusRect(FALSE);
}

void CDockContext::OnKey(int nChar, BOOL bDown)
{
    if (nChar == VK_CONTROL)
        UpdateState(&m_bForceFrame, bDown);
    else if (nChar == VK_SHIFT)
        UpdateState(&m_bFlip, bDown);
}

void CDockContext::UpdateState(BOOL* pFlag, BOOL bNewValue)
{
    const BOOL value = bNewValue ? TRUE : FALSE;
    if (*pFlag == value)
        return;
    *pFlag = value;
    // Only a bar that docks both ways can be turned.
    if (!(m_dwDockStyle & CBRS_ORIENT_HORZ) || !(m_dwDockStyle & CBRS_ORIENT_VERT))
        m_bFlip = FALSE;
    m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
    DrawFocusRect(FALSE);
}

void CDockContext::DrawFocusRect(BOOL bRemoveRect)
{
    CRect rect;
    CSize size(1, 1);
    BOOL dither = FALSE;
    if (m_dwOverDockStyle & CBRS_ORIENT_HORZ) {
        rect = m_rectDragHorz;
        rect.DeflateRect(1, 1);
    } else if (m_dwOverDockStyle & CBRS_ORIENT_VERT) {
        rect = m_rectDragVert;
        rect.DeflateRect(1, 1);
    } else {
        rect = IsHorzStyle(m_dwStyle) != (m_bFlip != FALSE) ? m_rectFrameDragHorz : m_rectFrameDragVert;
        size = CSize(::GetSystemMetrics(SM_CXFRAME) - 1, ::GetSystemMetrics(SM_CYFRAME) - 1);
        dither = TRUE;
    }
    if (bRemoveRect)
        size = CSize(0, 0);
    DrawTracker(rect, size, dither);
}

void CDockContext::DrawTracker(const CRect& rect, CSize size, BOOL bDither)
{
    if (!m_pDC)
        return;
    CBrush* white = CBrush::FromHandle(static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    CBrush* halftone = CDC::GetHalftoneBrush();
    m_pDC->DrawDragRect(&rect, size, &m_rectLast, m_sizeLast, bDither ? halftone : white,
                        m_bDitherLast ? halftone : white);
    m_rectLast = rect;
    m_sizeLast = size;
    m_bDitherLast = bDither;
}

BOOL CDockContext::Track()
{
    if (::GetCapture())
        return FALSE;
    HWND bar = m_pBar->m_hWnd;
    ::SetCapture(bar);
    while (::GetCapture() == bar) {
        MSG msg;
        if (!GetTrackMessage(bar, &msg))
            return FALSE;
        // The button came up where the bar could not see it.
        if (msg.message == WM_MOUSEMOVE && !(msg.wParam & MK_LBUTTON))
            return FALSE;
        switch (StepTrack(msg)) {
        case trackReleased:
            return TRUE;
        case trackCancelled:
            return FALSE;
        case trackGoesOn:
            break;
        }
    }
    return FALSE;
}

CDockContext::TrackStep CDockContext::StepTrack(const MSG& msg)
{
    switch (msg.message) {
    case WM_LBUTTONUP:
        return trackReleased;
    case WM_MOUSEMOVE:
        if (m_bDragging)
            Move(TrackPoint(msg));
        else
            Stretch(TrackPoint(msg));
        return trackGoesOn;
    case WM_KEYUP:
        if (m_bDragging)
            OnKey(static_cast<int>(msg.wParam), FALSE);
        return trackGoesOn;
    case WM_KEYDOWN:
        if (m_bDragging)
            OnKey(static_cast<int>(msg.wParam), TRUE);
        return msg.wParam == VK_ESCAPE ? trackCancelled : trackGoesOn;
    case WM_RBUTTONDOWN:
        return trackCancelled;
    default:
        ::DispatchMessageA(&msg);
        return trackGoesOn;
    }
}
