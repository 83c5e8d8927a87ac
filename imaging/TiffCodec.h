// TIFF through libtiff, over the file's bytes in memory: the first image is read, in
// strips straight into the bitmap where the file allows it; images are written with LZW.
#pragma once

#include "imaging/Codecs.h"

namespace imaging {

[[nodiscard]] int TiffReadInfo(int format, const FileBytes& file, ImageInfo& info);
[[nodiscard]] int TiffDecode(int format, const FileBytes& file, int bitsPerPixel, ProgressReporter& progress,
                             OwnedBitmap& bitmap);
[[nodiscard]] int TiffEncode(int format, const BitmapHandle& bitmap, int qualityFactor, ProgressReporter& progress,
                             FileBytes& file);

} // namespace imaging
