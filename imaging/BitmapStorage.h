// Pixel storage behind the bitmap records: sizes checked against the library's limits
// before anything is allocated, ownership while a bitmap is being built, and views of
// the rows in image order whatever the stored order.
#pragma once

#include "imaging/ImagingApi.h"
#include "imaging/PixelKernels.h"

#include <cstddef>
#include <cstdint>

namespace imaging {

// Bytes per stored row, padded to 4 as in a device-independent bitmap.
[[nodiscard]] std::int64_t StrideFor(int width, int channels);

// kSuccess when a width x height image of `channels` samples fits the limits;
// kErrorInvalidParameter for a side below 1, kErrorImageTooLarge beyond the limits.
[[nodiscard]] int CheckImageSize(int width, int height, int channels);

// kSuccess when the record holds a bitmap whose fields agree with each other,
// kErrorNoBitmap when it holds none, kErrorInvalidParameter when it is inconsistent.
[[nodiscard]] int CheckBitmap(const BitmapHandle* bitmap);

inline int ChannelsOf(const BitmapHandle& bitmap) { return bitmap.bitsPerPixel / 8; }

// Rows in image order (top line first) over the stored pixels: for a bottom-up bitmap
// the data points at the last stored row and the stride is negative.
PixelBuffer TopDownView(const BitmapHandle& bitmap);

// Rows as stored, for work that does not care about the order (resampling and
// sharpening are symmetric under a vertical flip).
PixelBuffer StoredView(const BitmapHandle& bitmap);

// Owns a bitmap while it is built; releases it unless handed over with Release.
class OwnedBitmap {
public:
    OwnedBitmap() = default;
    ~OwnedBitmap();
    OwnedBitmap(const OwnedBitmap&) = delete;
    OwnedBitmap& operator=(const OwnedBitmap&) = delete;

    // Allocates width x height of 8 or 24 bits per pixel (padding zeroed); frees what
    // was held before. Checks the limits first.
    [[nodiscard]] int Allocate(int width, int height, int bitsPerPixel, int viewPerspective);
    // Allocate for a decoder, which fills the rows on one thread: the pages of a large
    // bitmap are faulted in first, by the pool.
    [[nodiscard]] int AllocateForDecoding(int width, int height, int bitsPerPixel, int viewPerspective);
    void Reset();
    const BitmapHandle& get() const { return m_bitmap; }
    BitmapHandle& get() { return m_bitmap; }
    // Hands the bitmap over; this object holds none afterwards.
    BitmapHandle Release();

private:
    BitmapHandle m_bitmap{};
};

// Frees the pixels of a record and zeroes it.
void ReleaseBitmap(BitmapHandle& bitmap);

// Fills `target` with a 24-bit copy of an 8-bit grey `source`, in the same view
// perspective and resolution.
[[nodiscard]] int ExpandGreyToColour(const BitmapHandle& source, OwnedBitmap& target);

} // namespace imaging
