// JPEG through libjpeg-turbo: headers, decoding straight into the bitmap's rows, and
// encoding at the quality the factor asks for.
#pragma once

#include "imaging/Codecs.h"

namespace imaging {

[[nodiscard]] int JpegReadInfo(int format, const FileBytes& file, ImageInfo& info);
[[nodiscard]] int JpegDecode(int format, const FileBytes& file, int bitsPerPixel, ProgressReporter& progress,
                             OwnedBitmap& bitmap);
[[nodiscard]] int JpegEncode(int format, const BitmapHandle& bitmap, int qualityFactor, ProgressReporter& progress,
                             FileBytes& file);

// The encoder's settings for a quality factor. Factor 0 is libjpeg's default (quality 75,
// colour at half resolution both ways). Factors 1 to 255 map linearly, and rounded, onto
// quality 100 down to 1: factors 1 and 2 give 100, 255 gives 1. Colour is kept at every
// pixel (no subsampling) from quality 90 up, where halving it would cost more than the
// quantisation does. A higher factor never gives a higher quality.
struct JpegQuality {
    int quality = 0;  // 0: the encoder's default tables
    bool isFullChroma = false;
};
JpegQuality JpegQualityForFactor(int qualityFactor);

} // namespace imaging
