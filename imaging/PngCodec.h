// PNG, read only, through libpng: rows are decoded straight into the bitmap.
#pragma once

#include "imaging/Codecs.h"

namespace imaging {

[[nodiscard]] int PngReadInfo(int format, const FileBytes& file, ImageInfo& info);
[[nodiscard]] int PngDecode(int format, const FileBytes& file, int bitsPerPixel, ProgressReporter& progress,
                            OwnedBitmap& bitmap);

} // namespace imaging
