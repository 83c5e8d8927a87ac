// Structural check of a BMP file: file header, information header and pixel data.
//   0   2  "BM"
//   10  4  offset of the pixel data
//   14  4  information header size: 12 (core: width, height as 16-bit, always bottom-up),
//          or 40 and larger (width and height as signed 32-bit; a negative height is top-down)
//   core: 18 width (2), 20 height (2), 22 planes (2), 24 bits per pixel (2)
//   else: 18 width (4), 22 height (4), 26 planes (2), 28 bits per pixel (2), 30 compression (4)
// Uncompressed pixel data must hold every row, each padded to 4 bytes.
#include "imaging/FileStructure.h"

#include <cstdlib>

namespace imaging {
namespace {

constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;

struct BmpHeader {
    std::int64_t width = 0;
    std::int64_t height = 0;  // negative: rows stored top-down
    std::uint32_t planes = 0;
    std::uint32_t bitsPerPixel = 0;
    std::uint32_t compression = kRgb;
    std::uint32_t dataOffset = 0;
};

[[nodiscard]] int ReadBmpHeader(const ByteReader& reader, BmpHeader& header)
{
    if (!reader.Has(0, 18) || reader.U8(0) != 'B' || reader.U8(1) != 'M')
        return kErrorFileFormat;
    header.dataOffset = reader.U32(10);
    const std::uint32_t infoSize = reader.U32(14);
    if (infoSize < 12 || !reader.Has(14, infoSize))
        return kErrorFileCorrupt;
    if (infoSize == 12) {
        header.width = reader.U16(18);
        header.height = reader.U16(20);
        header.planes = reader.U16(22);
        header.bitsPerPixel = reader.U16(24);
        return kSuccess;
    }
    if (infoSize < 40 && infoSize != 16 && infoSize != 64)
        return kErrorFileCorrupt;
    header.width = static_cast<std::int32_t>(reader.U32(18));
    header.height = static_cast<std::int32_t>(reader.U32(22));
    header.planes = reader.U16(26);
    header.bitsPerPixel = reader.U16(28);
    header.compression = infoSize >= 20 ? reader.U32(30) : kRgb;
    return kSuccess;
}

} // namespace

int CheckBmpStructure(const FileBytes& file)
{
    const ByteReader reader(file);
    BmpHeader header;
    const int result = ReadBmpHeader(reader, header);
    if (result != kSuccess)
        return result;
    if (header.width < 1 || header.height == 0 || header.planes != 1)
        return kErrorFileCorrupt;
    switch (header.bitsPerPixel) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return kErrorFileCorrupt;
    }
    const bool isRle = (header.compression == kRle8 && header.bitsPerPixel == 8)
                       || (header.compression == kRle4 && header.bitsPerPixel == 4);
    const bool isPlain = header.compression == kRgb
                         || ((header.compression == kBitFields || header.compression == kAlphaBitFields)
                             && (header.bitsPerPixel == 16 || header.bitsPerPixel == 32));
    // Embedded JPEG or PNG and other compressions are formats of their own.
    if (!isRle && !isPlain)
        return kErrorFileFormat;
    // Compressed rows are always bottom-up.
    if (isRle && header.height < 0)
        return kErrorFileCorrupt;
    if (header.dataOffset < 26 || !reader.Has(header.dataOffset, isRle ? 2 : 0))
        return kErrorFileCorrupt;
    if (isPlain) {
        const std::uint64_t rowBytes = ((static_cast<std::uint64_t>(header.width) * header.bitsPerPixel + 31) / 32) * 4;
        if (!reader.Has(header.dataOffset, rowBytes * static_cast<std::uint64_t>(std::llabs(header.height))))
            return kErrorFileCorrupt;
    }
    return kSuccess;
}

bool IsBottomUpBmp(const FileBytes& file)
{
    const ByteReader reader(file);
    BmpHeader header;
    return ReadBmpHeader(reader, header) == kSuccess && header.height > 0;
}

} // namespace imaging
