// A JPEG file's size, depth and resolution from its marker segments, without decoding.
#pragma once

#include "imaging/Codecs.h"

namespace imaging {

// For a file that CheckJpegStructure has passed: kSuccess or kErrorFileCorrupt.
[[nodiscard]] int JpegReadInfo(int format, const FileBytes& file, ImageInfo& info);

} // namespace imaging
