// The bitmap view control: layout, flicker-free painting, panning by dragging, and
// resizing with a preview at the new scale.
#include "lib/src/Win2/Wnd/iLBitmapCtrl.h"

#include "lib/src/Win2/Wnd/iDC.h"
#include "lib/src/Win2/Wnd/iPaintDC.h"

#include <climits>

IMPLEMENT_DYNAMIC(iLBitmapCtrl, iCtrl)

BEGIN_MESSAGE_MAP(iLBitmapCtrl, iCtrl)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

namespace {

// Image sizes reach 65535 pixels and windows tens of thousands: products are taken in
// 64 bits and only the result is brought back into a rectangle's range.
LONG ToCoordinate(long long value)
{
    if (value > LONG_MAX)
        return LONG_MAX;
    if (value < LONG_MIN)
        return LONG_MIN;
    return static_cast<LONG>(value);
}

} // namespace

iLBitmapCtrl::iLBitmapCtrl()
{
    LoadCursors();
}

iLBitmapCtrl::iLBitmapCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id)
    : iCtrl(parent, rect, style, text, id)
{
    LoadCursors();
}

iLBitmapCtrl::iLBitmapCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle,
                           LPVOID param)
    : iCtrl(parent, rect, style | WS_CHILD, text, id, exStyle, param)
{
    LoadCursors();
}

iLBitmapCtrl::~iLBitmapCtrl()
{
    m_bitmap.Free();
}

void iLBitmapCtrl::LoadCursors()
{
    m_displayMode = kFullSize;
    m_arrowCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    // Shared resource cursors: the system releases them with the module.
    m_openHandCursor = ::LoadCursorA(AfxGetResourceHandle(), kHandOpenCursorName);
    m_grabCursor = ::LoadCursorA(AfxGetResourceHandle(), kHandGrabCursorName);
    m_isPannable = false;
}

int iLBitmapCtrl::Load(const char* fileName, bool invalidate)
{
    if (m_bitmap.Load(fileName, 0, imaging::kColorOrderBgr, nullptr, nullptr) != imaging::kSuccess)
        return 0;
    RecalcLayout();
    if (invalidate && m_hWnd)
        Invalidate(TRUE);
    return 1;
}

void iLBitmapCtrl::Free(bool invalidate)
{
    m_bitmap.Free();
    RecalcLayout();
    if (invalidate && m_hWnd)
        Invalidate(TRUE);
}

int iLBitmapCtrl::Resize(int width, int height, int flags)
{
    if (width < 1 || height < 1)
        return imaging::kErrorInvalidParameter;
    // The old pixels at the new scale while the library works.
    const long long oldWidth = m_bitmap.GetWidth();
    const long long oldHeight = m_bitmap.GetHeight();
    m_view.right = ToCoordinate(m_view.left + oldWidth * m_view.Width() / width);
    m_view.bottom = ToCoordinate(m_view.top + oldHeight * m_view.Height() / height);
    RepaintNow();
    const int result = m_bitmap.Resize(width, height, flags);
    RecalcLayout();
    if (m_hWnd)
        Invalidate(TRUE);
    return result;
}

int iLBitmapCtrl::Sharpen(int amount)
{
    const int result = m_bitmap.Sharpen(amount);
    if (result == imaging::kSuccess && m_hWnd)
        Invalidate(TRUE);
    return result;
}

void iLBitmapCtrl::RecalcLayout()
{
    m_client.SetRectEmpty();
    if (m_hWnd)
        GetClientRect(&m_client);
    const long long clientWidth = m_client.Width();
    const long long clientHeight = m_client.Height();
    const long long imageWidth = m_bitmap.GetWidth();
    const long long imageHeight = m_bitmap.GetHeight();
    long long viewWidth = 0;
    long long viewHeight = 0;
    // An empty client area shows nothing: no view, nothing to pan.
    if (clientWidth > 0 && clientHeight > 0) {
        switch (m_displayMode) {
        case kFit:
            // The client's aspect ratio, just containing the whole image.
            if (static_cast<double>(imageWidth) / clientWidth <= static_cast<double>(imageHeight) / clientHeight) {
                viewWidth = imageHeight * clientWidth / clientHeight;
                viewHeight = imageHeight;
            } else {
                viewWidth = imageWidth;
                viewHeight = imageWidth * clientHeight / clientWidth;
            }
            break;
        case kHalf:
        case kQuarter:
        case kEighth:
            viewWidth = clientWidth * m_displayMode;
            viewHeight = clientHeight * m_displayMode;
            break;
        default:
            viewWidth = clientWidth;
            viewHeight = clientHeight;
            break;
        }
    }
    m_isPannable = viewWidth > 0 && viewHeight > 0 && (viewWidth < imageWidth || viewHeight < imageHeight);
    m_view.SetRect(0, 0, ToCoordinate(viewWidth), ToCoordinate(viewHeight));
}

int iLBitmapCtrl::PanFactor(int displayMode)
{
    switch (displayMode) {
    case kHalf:
    case kQuarter:
    case kEighth:
        return displayMode;
    default:
        return 1;
    }
}

void iLBitmapCtrl::PanTo(CPoint point)
{
    if (!m_isPannable)
        return;
    const long long imageWidth = m_bitmap.GetWidth();
    const long long imageHeight = m_bitmap.GetHeight();
    const int factor = PanFactor(m_displayMode);
    long long dx = static_cast<long long>(m_dragOrigin.x - point.x) * factor;
    long long dy = static_cast<long long>(m_dragOrigin.y - point.y) * factor;
    const long long viewWidth = m_view.Width();
    const long long viewHeight = m_view.Height();
    if (imageWidth <= viewWidth)
        dx = 0;
    if (imageHeight <= viewHeight)
        dy = 0;
    long long left = m_view.left + dx;
    long long top = m_view.top + dy;
    if (left < 0)
        left = 0;
    if (top < 0)
        top = 0;
    if (imageWidth < left + viewWidth && viewWidth <= imageWidth)
        left = imageWidth - viewWidth;
    if (imageHeight < top + viewHeight && viewHeight <= imageHeight)
        top = imageHeight - viewHeight;
    m_view.SetRect(ToCoordinate(left), ToCoordinate(top), ToCoordinate(left + viewWidth),
                   ToCoordinate(top + viewHeight));
    m_dragOrigin = point;
    m_onViewChanged.Fire(this);
}

void iLBitmapCtrl::Paint(CDC* dc)
{
    if (!dc || m_client.IsRectEmpty())
        return;
    const CRect area(0, 0, m_client.Width(), m_client.Height());
    iCDC offscreen(dc, area);
    HPALETTE palette = m_bitmap.CreatePaintPalette(offscreen.m_hDC);
    HPALETTE previous = palette ? ::SelectPalette(offscreen.m_hDC, palette, FALSE) : nullptr;
    ::FillRect(offscreen.m_hDC, &area, ::GetSysColorBrush(COLOR_WINDOW));
    if (palette)
        ::RealizePalette(offscreen.m_hDC);
    if (m_bitmap.IsLoaded())
        m_bitmap.Paint(offscreen.m_hDC, &m_view, nullptr, &area, nullptr, SRCCOPY);
    DrawOverlay(&offscreen);
    if (palette) {
        ::SelectPalette(offscreen.m_hDC, previous, FALSE);
        ::DeleteObject(palette);
    }
    static_cast<void>(offscreen.BitBlt(SRCCOPY));
}

void iLBitmapCtrl::DrawOverlay(CDC*) {}

void iLBitmapCtrl::RepaintNow()
{
    if (!m_hWnd)
        return;
    iClientDC dc(this);
    Paint(&dc);
}

BOOL iLBitmapCtrl::OnEraseBkgnd(CDC* pDC)
{
    if (!(GetExStyle() & WS_EX_TRANSPARENT)) {
        CRect client;
        GetClientRect(&client);
        ::FillRect(pDC->m_hDC, &client, ::GetSysColorBrush(IsWindowEnabled() ? COLOR_WINDOW : COLOR_3DFACE));
    }
    return TRUE;
}

void iLBitmapCtrl::OnPaint()
{
    iPaintDC dc(this);
    Paint(&dc);
}

void iLBitmapCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (!m_isPannable) {
        iCtrl::OnLButtonDown(nFlags, point);
        return;
    }
    m_dragOrigin = point;
    m_isDragging = true;
    ::SetCursor(m_grabCursor);
    SetCapture();
}

void iLBitmapCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_isDragging) {
        iCtrl::OnMouseMove(nFlags, point);
        return;
    }
    PanTo(point);
    RepaintNow();
}

void iLBitmapCtrl::OnLButtonUp(UINT nFlags, CPoint point)
{
    // Only a drag that started here ends here: a release after a press elsewhere must
    // not pan from a stale origin.
    if (!m_isDragging) {
        iCtrl::OnLButtonUp(nFlags, point);
        return;
    }
    m_isDragging = false;
    PanTo(point);
    ::ReleaseCapture();
    ::SetCursor(m_openHandCursor);
    RepaintNow();
    m_onPanEnd.Fire(this);
}

BOOL iLBitmapCtrl::OnSetCursor(CWnd*, UINT, UINT)
{
    if (!m_openHandCursor)
        return FALSE;
    if (m_isPannable) {
        ::SetCursor(m_openHandCursor);
        return TRUE;
    }
    ::SetCursor(m_arrowCursor);
    return FALSE;
}
