// JPEG, TIFF, GIF and PNG read, and JPEG, TIFF, GIF and BMP written, through the
// platform's Windows Imaging Component. Wine's WIC fails to convert indexed images to
// 24 bits and scales by nearest neighbour only, so pixels are taken as 8-bit grey or
// 32-bit BGR and packed here, and never scaled.
#pragma once

#include "imaging/Codecs.h"

namespace imaging {

// Whole pixels per inch from a decoder's dots per inch; kDefaultResolution when the file
// has none or an absurd one.
[[nodiscard]] int ResolutionFromDpi(double dpi);

[[nodiscard]] int WicReadInfo(int format, const FileBytes& file, ImageInfo& info);
[[nodiscard]] int WicDecode(int format, const FileBytes& file, int bitsPerPixel, ProgressReporter& progress,
                            OwnedBitmap& bitmap);
// JPEG, TIFF, GIF and BMP; GIF quantises colour images to 256 colours.
[[nodiscard]] int WicEncode(int format, const BitmapHandle& bitmap, int qualityFactor, ProgressReporter& progress,
                            FileBytes& file);

// WIC's JPEG ImageQuality (1.0 best, 0.0 worst) for a quality factor of 1..255: 1 and 2
// are the highest quality, 255 the lowest. Factor 0 sets no quality: the encoder's default.
[[nodiscard]] float JpegImageQuality(int qualityFactor);

} // namespace imaging
