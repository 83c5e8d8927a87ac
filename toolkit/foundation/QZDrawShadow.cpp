// Darkening the shadow bands of a rectangle. The bands are copied into a 32-bit image,
// darkened there and copied back: two blits instead of a read and a write per pixel,
// which is what keeps a popup's shadow well within one frame.
#include "toolkit/foundation/QZShadow.h"

#include "framework/DC.h"

#include <algorithm>

namespace {

constexpr int kShadowSteps[4] = {60, 45, 30, 15};
constexpr int kShadowWidth = 4;

// The step of the first ring (rect inset by 3, 2, 1, 0) that holds the point.
int ShadowStepAt(const CRect& rect, int x, int y)
{
    for (int ring = 0; ring < 4; ++ring) {
        const int inset = 3 - ring;
        if (x >= rect.left + inset && x < rect.right - inset && y >= rect.top + inset && y < rect.bottom - inset)
            return kShadowSteps[ring];
    }
    return 0;
}

COLORREF Darken(COLORREF colour, int amount)
{
    return RGB(std::max(GetRValue(colour) - amount, 0), std::max(GetGValue(colour) - amount, 0),
               std::max(GetBValue(colour) - amount, 0));
}

// Darkens one band (in the DC's coordinates) of the shadow of rect.
void DarkenBand(HDC dc, const CRect& rect, const CRect& band, int percent)
{
    const int width = band.Width();
    const int height = band.Height();
    if (width <= 0 || height <= 0)
        return;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC memory = ::CreateCompatibleDC(dc);
    HBITMAP image = memory ? ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    if (!image) {
        // Pixel by pixel, when no image can be made.
        for (int y = band.top; y < band.bottom; ++y)
            for (int x = band.left; x < band.right; ++x)
                ::SetPixel(dc, x, y, Darken(::GetPixel(dc, x, y), ShadowStepAt(rect, x, y) * percent / 100));
        if (memory)
            ::DeleteDC(memory);
        return;
    }
    HGDIOBJ previous = ::SelectObject(memory, image);
    ::BitBlt(memory, 0, 0, width, height, dc, band.left, band.top, SRCCOPY);
    ::GdiFlush();
    auto* pixel = static_cast<BYTE*>(bits);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x, pixel += 4) {
            const int amount = ShadowStepAt(rect, band.left + x, band.top + y) * percent / 100;
            for (int channel = 0; channel < 3; ++channel)
                pixel[channel] = static_cast<BYTE>(std::max(pixel[channel] - amount, 0));
        }
    }
    ::BitBlt(dc, band.left, band.top, width, height, memory, 0, 0, SRCCOPY);
    ::SelectObject(memory, previous);
    ::DeleteObject(image);
    ::DeleteDC(memory);
}

} // namespace

void QZDrawShadow(CDC* pDC, const CRect& rect, int nPercent)
{
    const CRect right(rect.right - kShadowWidth, rect.top + kShadowWidth, rect.right, rect.bottom);
    const CRect bottom(rect.left + kShadowWidth, rect.bottom - kShadowWidth, rect.right - kShadowWidth, rect.bottom);
    DarkenBand(pDC->m_hDC, rect, right, nPercent);
    DarkenBand(pDC->m_hDC, rect, bottom, nPercent);
}

void QZDrawShadowRect(CDC* pDC, const CRect& rect, int nPercent)
{
    QZDrawShadow(pDC, rect, nPercent);
}
