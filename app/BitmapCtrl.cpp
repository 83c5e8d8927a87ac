// The picture control's frame: the other control's view, scaled from its image to this
// one and from this control's view to its client area.
#include "BitmapCtrl.h"

#include "lib/src/Win2/Wnd/iPenBrush.h"

#include <algorithm>

namespace {

constexpr COLORREF kFrameColour = RGB(255, 0, 0);
constexpr int kFrameWidth = 2;

// Toward zero, as every conversion of the frame.
int Truncated(double value)
{
    return static_cast<int>(value);
}

} // namespace

BitmapCtrl::BitmapCtrl(CWnd* parent, const RECT& rect, DWORD style, LPCSTR text, UINT id, DWORD exStyle,
                       LPVOID param)
    : iLBitmapCtrl(parent, rect, style, text, id, exStyle, param)
{
}

BitmapCtrl::~BitmapCtrl() = default;

void BitmapCtrl::CopyViewFrom(const iLBitmapCtrl& other)
{
    if (!other.GetBitmap().IsLoaded()) {
        m_copiedView.SetRectEmpty();
        return;
    }
    m_copiedView = other.GetViewRect();
    m_otherWidth = static_cast<int>(other.GetBitmap().GetWidth());
    m_otherHeight = static_cast<int>(other.GetBitmap().GetHeight());
}

CRect BitmapCtrl::GetFrameRect() const
{
    const double width = m_bitmap.GetWidth();
    const double height = m_bitmap.GetHeight();
    // Any zero size would divide by zero: such a frame is not drawn.
    if (m_copiedView.IsRectNull() || width == 0 || height == 0 || m_otherWidth == 0 || m_otherHeight == 0)
        return CRect();
    const double sx = m_otherWidth / width;
    const double sy = m_otherHeight / height;
    int left = Truncated(m_copiedView.left / sx);
    int top = Truncated(m_copiedView.top / sy);
    int frameWidth = Truncated(m_copiedView.Width() / sx);
    int frameHeight = Truncated(m_copiedView.Height() / sy);
    left -= m_view.left;
    top -= m_view.top;
    switch (m_displayMode) {
    case kFit: {
        if (m_client.Width() <= 0 || m_client.Height() <= 0)
            return CRect();
        const double f = std::max(width / m_client.Width(), height / m_client.Height());
        left = Truncated(left / f);
        top = Truncated(top / f);
        frameWidth = Truncated(frameWidth / f);
        frameHeight = Truncated(frameHeight / f);
        break;
    }
    case kHalf:
    case kQuarter:
    case kEighth:
        left /= m_displayMode;
        top /= m_displayMode;
        frameWidth /= m_displayMode;
        frameHeight /= m_displayMode;
        break;
    default:
        break;
    }
    // Grown so that the pen's width stays inside the marked part.
    return CRect(left, top, left + frameWidth + kFrameWidth, top + frameHeight + kFrameWidth);
}

void BitmapCtrl::DrawOverlay(CDC* dc)
{
    const CRect frame = GetFrameRect();
    if (frame.IsRectNull() || !dc)
        return;
    iPen pen(PS_SOLID, kFrameWidth, kFrameColour);
    if (!pen.m_hObject)
        return;
    HGDIOBJ previousPen = ::SelectObject(dc->m_hDC, pen.m_hObject);
    // The default white brush leaves the inside as it is under this mix; on white the
    // outline comes out red.
    const int previousMode = ::SetROP2(dc->m_hDC, R2_NOTXORPEN);
    ::Rectangle(dc->m_hDC, frame.left, frame.top, frame.right, frame.bottom);
    ::SetROP2(dc->m_hDC, previousMode);
    ::SelectObject(dc->m_hDC, previousPen);
}
