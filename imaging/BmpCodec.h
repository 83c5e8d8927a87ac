// Our own BMP (device-independent bitmap) reader and writer.
// Reading them ourselves keeps every allocation under our own limits: a run-length
// stream of a few bytes may claim any size, and is refused before its pixels are allocated.
// File header (14 bytes): "BM", file size (4), reserved (4), offset of the pixel data (4).
// Information header at 14, its size first:
//   12       core: width (2), height (2), planes (2), bits per pixel (2); palette of
//            3-byte entries (blue, green, red); always bottom-up
//   16, 64   OS/2 2.x: as 40 below where present; compression 3 and 4 mean other codings
//   40+      width (4, signed), height (4, signed: negative is top-down), planes (2),
//            bits per pixel (2), compression (4), image size (4), pixels per metre x and
//            y (4 each), colours used (4), colours important (4); from 52 on the header
//            itself holds the red, green and blue masks (and from 56 the alpha mask)
// A 40-byte header with bitfields compression is followed by three masks (four for
// alpha bitfields), then the palette of 4-byte entries (blue, green, red, unused).
// Depths 1, 4 and 8 index the palette, 16 and 32 are masked (5-5-5 and 8-8-8 without
// masks), 24 is blue, green, red. Rows are padded to 4 bytes. RLE8 and RLE4 code runs
// and may skip pixels, which are then background (palette entry 0).
#pragma once

#include "imaging/Codecs.h"

#include <cstdint>

namespace imaging {

struct BmpHeader {
    std::uint32_t dataOffset = 0;
    std::uint32_t infoSize = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;  // negative: rows stored top-down
    std::uint32_t planes = 0;
    std::uint32_t bitsPerPixel = 0;
    std::uint32_t compression = 0;
    std::uint32_t xPixelsPerMetre = 0;
    std::uint32_t yPixelsPerMetre = 0;
    std::uint32_t coloursUsed = 0;
};

constexpr std::uint32_t kBmpRgb = 0, kBmpRle8 = 1, kBmpRle4 = 2, kBmpBitFields = 3, kBmpAlphaBitFields = 6;

// Reads the file and information headers (not yet checked against each other).
[[nodiscard]] int ReadBmpHeader(const FileBytes& file, BmpHeader& header);

[[nodiscard]] int BmpReadInfo(int format, const FileBytes& file, ImageInfo& info);
[[nodiscard]] int BmpDecode(int format, const FileBytes& file, int bitsPerPixel, ProgressReporter& progress,
                            OwnedBitmap& bitmap);
// 24-bit colour, or 8-bit with a palette of the 256 greys for a grey image; bottom-up.
[[nodiscard]] int BmpEncode(int format, const BitmapHandle& bitmap, int qualityFactor, ProgressReporter& progress,
                            FileBytes& file);

} // namespace imaging
