// GIF through giflib: the first image is what the library loads; every image of the file
// is measured before anything is allocated, so none may claim a size beyond the limits or
// more pixels than its data can code.
#pragma once

#include "imaging/Codecs.h"

namespace imaging {

[[nodiscard]] int GifReadInfo(int format, const FileBytes& file, ImageInfo& info);
[[nodiscard]] int GifDecode(int format, const FileBytes& file, int bitsPerPixel, ProgressReporter& progress,
                            OwnedBitmap& bitmap);
// Colour images are quantised to 256 colours; grey ones get the 256 greys.
[[nodiscard]] int GifEncode(int format, const BitmapHandle& bitmap, int qualityFactor, ProgressReporter& progress,
                            FileBytes& file);

} // namespace imaging
