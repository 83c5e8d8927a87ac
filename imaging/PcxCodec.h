// Our own PCX (PaintBrush) reader and writer.
// Header, 128 bytes, little-endian:
//   0   1  manufacturer, 0x0A          65  1  colour planes
//   1   1  version 0, 2, 3, 4 or 5     66  2  bytes per line of one plane (even when written)
//   2   1  encoding, 1 = RLE           68  2  palette kind: 1 colour, 2 grey
//   3   1  bits per pixel of a plane   70 58  screen size and filler, zero when written
//   4   8  xMin, yMin, xMax, yMax: the image spans xMin..xMax and yMin..yMax inclusive
//   12  4  horizontal and vertical resolution in pixels per inch
//   16 48  16-colour palette (RGB) for 1-bit, 4-plane images
// Each line holds every plane's bytes in turn, RLE-coded: a byte with its two top bits
// set repeats the next byte (its low six bits) times; any other byte stands for itself.
// Runs may cross line ends in files of other writers; ours never do. Read: 8 bits in 1
// plane with the 256-colour palette (0x0C and 768 RGB bytes after the image data), 8 bits
// in 3 planes (24-bit), 1 bit in 1 plane (black and white) and 1 bit in 4 planes (16
// colours). Written: 8 bits in 1 plane when the image has at most 256 colours, else 24-bit.
#pragma once

#include "imaging/Codecs.h"

namespace imaging {

[[nodiscard]] bool IsPcxFile(const FileBytes& file);
[[nodiscard]] int PcxReadInfo(int format, const FileBytes& file, ImageInfo& info);
[[nodiscard]] int PcxDecode(int format, const FileBytes& file, int bitsPerPixel, ProgressReporter& progress,
                            OwnedBitmap& bitmap);
[[nodiscard]] int PcxEncode(int format, const BitmapHandle& bitmap, int qualityFactor, ProgressReporter& progress,
                            FileBytes& file);

} // namespace imaging
