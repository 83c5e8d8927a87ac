// Structural check of a PNG file's header, made before the platform's decoder sees the
// file: that decoder sets up a buffer for the whole frame, at the file's own depth, as
// soon as it opens the file, so a header of a few bytes could make it allocate
// gigabytes before a single row is asked for.
//   0   8  signature 89 "PNG" 0D 0A 1A 0A
//   8   4  length of the first chunk, 13 (BE)     12  4  "IHDR"
//   16  4  width (BE)     20  4  height (BE)
//   24  1  bits per sample     25  1  colour type: 0 grey, 2 RGB, 3 palette,
//          4 grey and alpha, 6 RGBA (bits 1, 2, 4, 8 or 16 as the type allows)
#include "imaging/FileStructure.h"

namespace imaging {
namespace {

// Samples per pixel of a colour type and bit depth; 0 for a combination PNG does not have.
int SamplesPerPixel(int colourType, int bits)
{
    const bool isWhole = bits == 8 || bits == 16;
    const bool isAnyGrey = bits == 1 || bits == 2 || bits == 4 || isWhole;
    switch (colourType) {
    case 0: return isAnyGrey ? 1 : 0;
    case 2: return isWhole ? 3 : 0;
    case 3: return isAnyGrey && bits != 16 ? 1 : 0;
    case 4: return isWhole ? 2 : 0;
    case 6: return isWhole ? 4 : 0;
    default: return 0;
    }
}

} // namespace

int CheckPngStructure(const FileBytes& file)
{
    const ByteReader reader(file, true);
    if (!reader.Has(0, 33))
        return kErrorFileCorrupt;
    if (reader.U32(8) != 13 || reader.U32(12) != 0x49484452)  // "IHDR"
        return kErrorFileCorrupt;
    const std::uint64_t width = reader.U32(16), height = reader.U32(20);
    const int bits = reader.U8(24), colourType = reader.U8(25);
    if (width == 0 || height == 0)
        return kErrorFileCorrupt;
    const int samples = SamplesPerPixel(colourType, bits);
    if (samples == 0)
        return kErrorFileCorrupt;
    if (width > static_cast<std::uint64_t>(kMaxSidePx) || height > static_cast<std::uint64_t>(kMaxSidePx))
        return kErrorImageTooLarge;
    const std::uint64_t frameBytes = (width * samples * bits + 7) / 8 * height;
    return frameBytes > static_cast<std::uint64_t>(kMaxImageBytes) ? kErrorImageTooLarge : kSuccess;
}

} // namespace imaging
