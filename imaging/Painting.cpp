// L_PaintDC and L_CreatePaintPalette: the stored rows are handed to GDI as a
// device-independent bitmap as they are, bottom-up or top-down, without a copy. A
// reduction in both directions is averaged here first, on all cores, and handed over at
// its size: GDI's own halftoning of a large image is slow (0.6 s for 8000 x 6000 into a
// 213 x 167 preview under Wine, measured with the application bench) and, under Wine,
// picks pixels instead of averaging them.
#include "imaging/BitmapStorage.h"
#include "imaging/Parallel.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

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

// The source rectangle averaged down to width x height, top-down rows: each target pixel
// is the mean of the source pixels its area covers (at least one). The source rectangle
// lies inside the bitmap.
struct Reduced {
    std::vector<std::uint8_t> pixels;
    std::ptrdiff_t stride = 0;
};

bool ReduceByAveraging(const BitmapHandle& bitmap, const RECT& from, int width, int height, Reduced& out)
{
    const PixelBuffer source = TopDownView(bitmap);
    const int channels = source.channels;
    out.stride = (static_cast<std::ptrdiff_t>(width) * channels + 3) & ~std::ptrdiff_t(3);
    out.pixels.assign(static_cast<std::size_t>(out.stride) * height, 0);
    // Column and row edges of each target pixel's area, in source pixels.
    auto edges = [](int first, int sourceCount, int targetCount) {
        std::vector<int> at(static_cast<std::size_t>(targetCount) + 1);
        for (int i = 0; i <= targetCount; ++i)
            at[static_cast<std::size_t>(i)] =
                first + static_cast<int>(static_cast<std::int64_t>(i) * sourceCount / targetCount);
        return at;
    };
    const std::vector<int> columns = edges(from.left, Width(from), width);
    const std::vector<int> rows = edges(from.top, Height(from), height);
    const BandResult result = RunRowBands(
        height, WorkerCount(0, height), [](int) { return true; },
        [&](int, int firstRow, int endRow, BandControl& control) {
            std::vector<std::uint64_t> sums(static_cast<std::size_t>(width) * channels);
            for (int y = firstRow; y < endRow; ++y) {
                std::fill(sums.begin(), sums.end(), 0);
                const int top = rows[static_cast<std::size_t>(y)];
                const int bottom = std::max(rows[static_cast<std::size_t>(y) + 1], top + 1);
                for (int sy = top; sy < bottom; ++sy) {
                    const std::uint8_t* line = source.data + sy * source.stride;
                    for (int x = 0; x < width; ++x) {
                        const int left = columns[static_cast<std::size_t>(x)];
                        const int right = std::max(columns[static_cast<std::size_t>(x) + 1], left + 1);
                        std::uint64_t* sum = &sums[static_cast<std::size_t>(x) * channels];
                        for (const std::uint8_t* p = line + left * channels; p < line + right * channels;
                             p += channels)
                            for (int c = 0; c < channels; ++c)
                                sum[c] += p[c];
                    }
                }
                std::uint8_t* target = out.pixels.data() + y * out.stride;
                for (int x = 0; x < width; ++x) {
                    const int left = columns[static_cast<std::size_t>(x)];
                    const std::uint64_t count = static_cast<std::uint64_t>(
                        std::max(columns[static_cast<std::size_t>(x) + 1], left + 1) - left) * (bottom - top);
                    for (int c = 0; c < channels; ++c)
                        target[x * channels + c] =
                            static_cast<std::uint8_t>((sums[static_cast<std::size_t>(x) * channels + c] + count / 2) /
                                                      count);
                }
                if (!control.RowDone())
                    return;
            }
        });
    return result == BandResult::Done;
}

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
    // The part of the source inside the bitmap (a fitted view reaches past the image on
    // one side) and where it lands.
    RECT inner{std::max<LONG>(from.left, 0), std::max<LONG>(from.top, 0), std::min<LONG>(from.right, bitmap->width),
               std::min<LONG>(from.bottom, bitmap->height)};
    auto mapX = [&](LONG x) {
        return to.left + static_cast<LONG>(static_cast<std::int64_t>(x - from.left) * Width(to) / Width(from));
    };
    auto mapY = [&](LONG y) {
        return to.top + static_cast<LONG>(static_cast<std::int64_t>(y - from.top) * Height(to) / Height(from));
    };
    const RECT innerTo{mapX(inner.left), mapY(inner.top), mapX(inner.right), mapY(inner.bottom)};
    Reduced reduced;
    int lines = 0;
    if (Width(to) > 0 && Height(to) > 0 && Width(to) < Width(from) && Height(to) < Height(from) &&
        Width(inner) > 0 && Height(inner) > 0 && Width(innerTo) > 0 && Height(innerTo) > 0 &&
        ReduceByAveraging(*bitmap, inner, Width(innerTo), Height(innerTo), reduced)) {
        info.header.biWidth = Width(innerTo);
        info.header.biHeight = -Height(innerTo);
        lines = StretchDIBits(dc, innerTo.left, innerTo.top, Width(innerTo), Height(innerTo), 0, 0, Width(innerTo),
                              Height(innerTo), reduced.pixels.data(), reinterpret_cast<const BITMAPINFO*>(&info),
                              DIB_RGB_COLORS, rasterOperation);
    } else {
        // GDI counts source rows from the bottom line, for top-down bitmaps as well.
        const int sourceY = bitmap->height - from.bottom;
        lines = StretchDIBits(dc, to.left, to.top, Width(to), Height(to), from.left, sourceY, Width(from),
                              Height(from), bitmap->pixels, reinterpret_cast<const BITMAPINFO*>(&info),
                              DIB_RGB_COLORS, rasterOperation);
    }
    RestoreDC(dc, saved);
    return lines == static_cast<int>(GDI_ERROR) || lines == 0 ? kErrorPaint : kSuccess;
}

HPALETTE L_CreatePaintPalette(HDC dc, const imaging::BitmapHandle*)
{
    if (dc == nullptr || (GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE) == 0)
        return nullptr;
    return CreateHalftonePalette(dc);
}
