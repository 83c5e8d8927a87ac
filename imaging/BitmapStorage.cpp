// Pixel storage behind the bitmap records: limits, allocation and row views.
#include "imaging/BitmapStorage.h"
#include "imaging/Parallel.h"
#include "imaging/PixelBufferReuse.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace imaging {
namespace {

// The reuse scopes open on this thread and the buffer they keep (plain values, as
// thread_local needs here).
thread_local int t_reuseScopes = 0;
thread_local std::uint8_t* t_sparePixels = nullptr;
thread_local std::size_t t_spareBytes = 0;

void FreeSparePixels()
{
    std::free(t_sparePixels);
    t_sparePixels = nullptr;
    t_spareBytes = 0;
}

// The kept buffer when it has exactly `bytes`; one of another size is freed first, so
// that it does not add to the peak of the allocation that follows.
std::uint8_t* TakeSparePixels(std::size_t bytes)
{
    if (t_spareBytes != bytes) {
        FreeSparePixels();
        return nullptr;
    }
    std::uint8_t* taken = t_sparePixels;
    t_sparePixels = nullptr;
    t_spareBytes = 0;
    return taken;
}

// Fresh pages are slow to fault in where the machine is virtual: on the bench machine 36 MB
// took 90 ms on one thread, natively and under Wine alike, as long as the JPEG decoding that
// fills them. A decoder fills its bitmap row by row on one thread, so the pages of a large
// bitmap to be decoded into are touched first by the pool, side by side (bench/codec_bench.cpp,
// "JPEG load": 107 ms before, 45 ms after). Work that fills rows on the pool faults them in
// side by side anyway.
constexpr std::size_t kPrefaultFromBytes = 4u << 20;
constexpr std::size_t kPrefaultChunkBytes = 1u << 20;
constexpr std::size_t kPageBytes = 4096;

void PrefaultPages(std::uint8_t* pixels, std::size_t bytes)
{
    const int chunks = static_cast<int>((bytes + kPrefaultChunkBytes - 1) / kPrefaultChunkBytes);
    const BandResult touched = RunRowBands(chunks, WorkerCount(0, chunks), [](int) { return true; },
                                           [&](int, int first, int end, BandControl& control) {
        for (int chunk = first; chunk < end; ++chunk) {
            const std::size_t endByte = std::min(bytes, (chunk + 1) * kPrefaultChunkBytes);
            for (std::size_t at = chunk * kPrefaultChunkBytes; at < endByte; at += kPageBytes)
                pixels[at] = 0;
            if (!control.RowDone())
                return;
        }
    });
    // Touching is only a head start: what a failed run left untouched faults in as it is written.
    (void)touched;
}

} // namespace

ScopedPixelBufferReuse::ScopedPixelBufferReuse() { ++t_reuseScopes; }

ScopedPixelBufferReuse::~ScopedPixelBufferReuse()
{
    if (--t_reuseScopes == 0)
        FreeSparePixels();
}

std::int64_t StrideFor(int width, int channels)
{
    const std::int64_t rowBytes = static_cast<std::int64_t>(width) * channels;
    return (rowBytes + 3) & ~std::int64_t{3};
}

int CheckImageSize(int width, int height, int channels)
{
    if (width < 1 || height < 1)
        return kErrorInvalidParameter;
    if (width > kMaxSidePx || height > kMaxSidePx)
        return kErrorImageTooLarge;
    if (StrideFor(width, channels) * height > kMaxImageBytes)
        return kErrorImageTooLarge;
    return kSuccess;
}

int CheckBitmap(const BitmapHandle* bitmap)
{
    if (bitmap == nullptr)
        return kErrorInvalidParameter;
    if (bitmap->pixels == nullptr)
        return kErrorNoBitmap;
    if (bitmap->bitsPerPixel != 8 && bitmap->bitsPerPixel != 24)
        return kErrorInvalidParameter;
    if (bitmap->viewPerspective != kViewTopDown && bitmap->viewPerspective != kViewBottomUp)
        return kErrorInvalidParameter;
    const int channels = ChannelsOf(*bitmap);
    if (CheckImageSize(bitmap->width, bitmap->height, channels) != kSuccess)
        return kErrorInvalidParameter;
    if (bitmap->bytesPerLine < StrideFor(bitmap->width, channels))
        return kErrorInvalidParameter;
    if (bitmap->pixelBytes < static_cast<std::size_t>(bitmap->bytesPerLine) * bitmap->height)
        return kErrorInvalidParameter;
    return kSuccess;
}

PixelBuffer StoredView(const BitmapHandle& bitmap)
{
    PixelBuffer view;
    view.data = bitmap.pixels;
    view.width = bitmap.width;
    view.height = bitmap.height;
    view.channels = ChannelsOf(bitmap);
    view.stride = bitmap.bytesPerLine;
    return view;
}

PixelBuffer TopDownView(const BitmapHandle& bitmap)
{
    PixelBuffer view = StoredView(bitmap);
    if (bitmap.viewPerspective == kViewBottomUp) {
        view.data = bitmap.pixels + static_cast<std::ptrdiff_t>(bitmap.height - 1) * bitmap.bytesPerLine;
        view.stride = -view.stride;
    }
    return view;
}

void ReleaseBitmap(BitmapHandle& bitmap)
{
    if (t_reuseScopes > 0 && bitmap.pixels != nullptr && bitmap.pixelBytes >= t_spareBytes) {
        FreeSparePixels();
        t_sparePixels = bitmap.pixels;
        t_spareBytes = bitmap.pixelBytes;
    } else {
        std::free(bitmap.pixels);
    }
    bitmap = BitmapHandle{};
}

OwnedBitmap::~OwnedBitmap() { ReleaseBitmap(m_bitmap); }

void OwnedBitmap::Reset() { ReleaseBitmap(m_bitmap); }

BitmapHandle OwnedBitmap::Release()
{
    BitmapHandle handed = m_bitmap;
    m_bitmap = BitmapHandle{};
    return handed;
}

int OwnedBitmap::Allocate(int width, int height, int bitsPerPixel, int viewPerspective)
{
    Reset();
    if (bitsPerPixel != 8 && bitsPerPixel != 24)
        return kErrorInvalidParameter;
    const int channels = bitsPerPixel / 8;
    const int sizeResult = CheckImageSize(width, height, channels);
    if (sizeResult != kSuccess)
        return sizeResult;

    const std::int64_t stride = StrideFor(width, channels);
    const std::size_t bytes = static_cast<std::size_t>(stride * height);
    std::uint8_t* pixels = TakeSparePixels(bytes);
    if (pixels == nullptr)
        pixels = static_cast<std::uint8_t*>(std::malloc(bytes));
    if (pixels == nullptr)
        return kErrorNoMemory;

    // Padding is zeroed so that nothing of the heap's old contents ever reaches a file.
    const std::size_t rowBytes = static_cast<std::size_t>(width) * channels;
    if (static_cast<std::size_t>(stride) > rowBytes) {
        for (int y = 0; y < height; ++y)
            std::memset(pixels + y * stride + rowBytes, 0, static_cast<std::size_t>(stride) - rowBytes);
    }

    m_bitmap.width = width;
    m_bitmap.height = height;
    m_bitmap.viewPerspective = viewPerspective;
    m_bitmap.xResolution = kDefaultResolution;
    m_bitmap.yResolution = kDefaultResolution;
    m_bitmap.bitsPerPixel = bitsPerPixel;
    m_bitmap.colorOrder = kColorOrderBgr;
    m_bitmap.bytesPerLine = static_cast<int>(stride);
    m_bitmap.pixels = pixels;
    m_bitmap.pixelBytes = bytes;
    return kSuccess;
}

int OwnedBitmap::AllocateForDecoding(int width, int height, int bitsPerPixel, int viewPerspective)
{
    const int result = Allocate(width, height, bitsPerPixel, viewPerspective);
    if (result == kSuccess && m_bitmap.pixelBytes >= kPrefaultFromBytes)
        PrefaultPages(m_bitmap.pixels, m_bitmap.pixelBytes);
    return result;
}

int ExpandGreyToColour(const BitmapHandle& source, OwnedBitmap& target)
{
    const int result = target.Allocate(source.width, source.height, 24, source.viewPerspective);
    if (result != kSuccess)
        return result;
    BitmapHandle& colour = target.get();
    colour.xResolution = source.xResolution;
    colour.yResolution = source.yResolution;
    for (int y = 0; y < source.height; ++y) {
        const std::uint8_t* in = source.pixels + static_cast<std::ptrdiff_t>(y) * source.bytesPerLine;
        std::uint8_t* out = colour.pixels + static_cast<std::ptrdiff_t>(y) * colour.bytesPerLine;
        for (int x = 0; x < source.width; ++x) {
            out[3 * x] = out[3 * x + 1] = out[3 * x + 2] = in[x];
        }
    }
    return kSuccess;
}

} // namespace imaging
