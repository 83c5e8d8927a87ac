// Device-context fills and frames: solid fills, 3-D frames, edges, focus and drag outlines.
#include "DC.h"

void CDC::FillRect(LPCRECT rect, CBrush* brush)
{
    if (brush && brush->m_hObject)
        ::FillRect(m_hDC, rect, *brush);
}

void CDC::FrameRect(LPCRECT rect, CBrush* brush)
{
    if (brush && brush->m_hObject)
        ::FrameRect(m_hDC, rect, *brush);
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color)
{
    // An opaque empty text fills with the background colour; callers pass negative
    // extents to fill leftward or upward from an edge, so the rectangle is ordered.
    CRect fill(*rect);
    fill.NormalizeRect();
    COLORREF previous = ::SetBkColor(m_hDC, color);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, &fill, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, previous);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color)
{
    CRect rect(x, y, x + cx, y + cy);
    FillSolidRect(&rect, color);
}

void CDC::Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight)
{
    Draw3dRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, topLeft, bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight)
{
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx, y, -1, cy, bottomRight);
    FillSolidRect(x, y + cy, cx, -1, bottomRight);
}

BOOL CDC::DrawEdge(LPRECT rect, UINT edge, UINT flags)
{
    return ::DrawEdge(m_hDC, rect, edge, flags);
}

BOOL CDC::DrawFrameControl(LPRECT rect, UINT type, UINT state)
{
    return ::DrawFrameControl(m_hDC, rect, type, state);
}

void CDC::DrawFocusRect(LPCRECT rect)
{
    ::DrawFocusRect(m_hDC, rect);
}

CBrush* CDC::GetHalftoneBrush()
{
    // Rows alternate 0x55 and 0xAA: every other pixel, shifted by one on the next row.
    static CBrush halftone;
    static bool isMade = [] {
        const WORD pattern[8] = {0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA};
        CBitmap bits;
        return bits.CreateBitmap(8, 8, 1, 1, pattern) && halftone.CreatePatternBrush(&bits);
    }();
    return isMade ? &halftone : nullptr;
}

namespace {

// The frame between rect and rect shrunk by size; an empty region without a rectangle.
void MakeFrameRegion(CRgn& frame, LPCRECT rect, SIZE size)
{
    (void)frame.CreateRectRgn(0, 0, 0, 0);
    if (!rect)
        return;
    CRect inner(*rect);
    inner.DeflateRect(size);
    inner.IntersectRect(rect, &inner);
    CRgn outer;
    CRgn hole;
    if (outer.CreateRectRgnIndirect(rect) && hole.CreateRectRgnIndirect(&inner))
        frame.CombineRgn(&outer, &hole, RGN_XOR);
}

void InvertRegion(CDC& dc, CRgn& region, CBrush* brush)
{
    CRect box;
    if (dc.SelectClipRgn(&region) == ERROR || dc.GetClipBox(&box) == ERROR)
        return;
    CBrush* previous = dc.SelectObject(brush);
    dc.PatBlt(box.left, box.top, box.Width(), box.Height(), PATINVERT);
    if (previous)
        dc.SelectObject(previous);
}

} // namespace

void CDC::DrawDragRect(LPCRECT rect, SIZE size, LPCRECT lastRect, SIZE lastSize, CBrush* brush,
                       CBrush* lastBrush)
{
    if (!brush)
        brush = GetHalftoneBrush();
    if (!lastBrush)
        lastBrush = brush;
    if (!brush || !lastBrush)
        return;
    CRgn frame;
    CRgn lastFrame;
    MakeFrameRegion(frame, rect, size);
    MakeFrameRegion(lastFrame, lastRect, lastSize);
    // The caller's clip region comes back afterwards.
    int saved = SaveDC();
    if (brush->m_hObject == lastBrush->m_hObject) {
        // Inverting twice restores a pixel, so one pass over the difference erases the
        // old outline and draws the new one without flicker where they overlap.
        CRgn change;
        if (change.CreateRectRgn(0, 0, 0, 0) && change.CombineRgn(&frame, &lastFrame, RGN_XOR) != ERROR)
            InvertRegion(*this, change, brush);
    } else {
        InvertRegion(*this, lastFrame, lastBrush);
        InvertRegion(*this, frame, brush);
    }
    RestoreDC(saved);
}
