// L_PaintDC and L_CreatePaintPalette: the stored rows are handed to GDI as a
// device-independent bitmap as they are, bottom-up or top-down, without a copy.
#include "imaging/BitmapStorage.h"

#include <windows.h>

#include <cstdlib>

namespace imaging {
namespace {

struct PaintInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[256];
};

void DescribeBitmap(const BitmapHandle& bitmap, PaintInfo& info)
{
    info = PaintInfo{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = bitmap.width;
    // A negative height tells GDI the first row is the top one.
    info.header.biHeight = bitmap.viewPerspective == kViewBottomUp ? bitmap.height : -bitmap.height;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bitmap.bitsPerPixel);
    info.header.biCompression = BI_RGB;
    if (bitmap.bitsPerPixel == 8) {
        info.header.biClrUsed = 256;
        for (int level = 0; level < 256; ++level) {
            const BYTE grey = static_cast<BYTE>(level);
            info.colours[level] = RGBQUAD{grey, grey, grey, 0};
        }
    }
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// A source clip in image pixels, carried onto the destination as a clip of the context.
void ClipToSourceRect(HDC dc, const RECT& source, const RECT& destination, const RECT& sourceClip)
{
    auto mapX = [&](LONG x) { return destination.left + MulDiv(x - source.left, Width(destination), Width(source)); };
    auto mapY = [&](LONG y) { return destination.top + MulDiv(y - source.top, Height(destination), Height(source)); };
    IntersectClipRect(dc, mapX(sourceClip.left), mapY(sourceClip.top), mapX(sourceClip.right), mapY(sourceClip.bottom));
}

} // namespace
} // namespace imaging

int L_PaintDC(HDC dc, const imaging::BitmapHandle* bitmap, const RECT* source, const RECT* sourceClip,
              const RECT* destination, const RECT* destinationClip, DWORD rasterOperation)
{
    using namespace imaging;
    if (dc == nullptr)
        return kErrorInvalidParameter;
    const int result = CheckBitmap(bitmap);
    if (result != kSuccess)
        return result;
    const RECT whole{0, 0, bitmap->width, bitmap->height};
    const RECT from = source != nullptr ? *source : whole;
    const RECT to = destination != nullptr ? *destination : from;
    if (Width(from) <= 0 || Height(from) <= 0 || Width(to) == 0 || Height(to) == 0)
        return kSuccess;

    PaintInfo info;
    DescribeBitmap(*bitmap, info);
    const int saved = SaveDC(dc);
    if (destinationClip != nullptr)
        IntersectClipRect(dc, destinationClip->left, destinationClip->top, destinationClip->right,
                          destinationClip->bottom);
    if (sourceClip != nullptr)
        ClipToSourceRect(dc, from, to, *sourceClip);
    // Halftoning averages the pixels that a reduction drops; an enlargement keeps them sharp.
    const bool isReducing = std::abs(Width(to)) < Width(from) || std::abs(Height(to)) < Height(from);
    SetStretchBltMode(dc, isReducing ? HALFTONE : COLORONCOLOR);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    // GDI counts source rows from the bottom line, for top-down bitmaps as well.
    const int sourceY = bitmap->height - from.bottom;
    const int lines = StretchDIBits(dc, to.left, to.top, Width(to), Height(to), from.left, sourceY, Width(from),
                                    Height(from), bitmap->pixels, reinterpret_cast<const BITMAPINFO*>(&info),
                                    DIB_RGB_COLORS, rasterOperation);
    RestoreDC(dc, saved);
    return lines == static_cast<int>(GDI_ERROR) || lines == 0 ? kErrorPaint : kSuccess;
}

HPALETTE L_CreatePaintPalette(HDC dc, const imaging::BitmapHandle*)
{
    if (dc == nullptr || (GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) == 0)
        return nullptr;
    return CreateHalftonePalette(dc);
}
