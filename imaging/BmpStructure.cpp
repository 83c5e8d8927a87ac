// Structural check of a BMP file: headers, depth, compression and the room for the
// pixel data. Uncompressed pixel data must hold every row, each padded to 4 bytes.
#include "imaging/BmpCodec.h"
#include "imaging/FileStructure.h"

#include <cstdlib>

namespace imaging {

int ReadBmpHeader(const FileBytes& file, BmpHeader& header)
{
    const ByteReader reader(file);
    if (!reader.Has(0, 18) || reader.U8(0) != 'B' || reader.U8(1) != 'M')
        return kErrorFileFormat;
    header.dataOffset = reader.U32(10);
    header.infoSize = reader.U32(14);
    if (header.infoSize < 12 || !reader.Has(14, header.infoSize))
        return kErrorFileCorrupt;
    if (header.infoSize == 12) {
        header.width = reader.U16(18);
        header.height = reader.U16(20);
        header.planes = reader.U16(22);
        header.bitsPerPixel = reader.U16(24);
        return kSuccess;
    }
    if (header.infoSize < 40 && header.infoSize != 16)
        return kErrorFileCorrupt;
    header.width = static_cast<std::int32_t>(reader.U32(18));
    header.height = static_cast<std::int32_t>(reader.U32(22));
    header.planes = reader.U16(26);
    header.bitsPerPixel = reader.U16(28);
    if (header.infoSize >= 40) {
        header.compression = reader.U32(30);
        header.xPixelsPerMetre = reader.U32(38);
        header.yPixelsPerMetre = reader.U32(42);
        header.coloursUsed = reader.U32(46);
    }
    return kSuccess;
}

int CheckBmpStructure(const FileBytes& file)
{
    const ByteReader reader(file);
    BmpHeader header;
    const int result = ReadBmpHeader(file, header);
    if (result != kSuccess)
        return result;
    if (header.width < 1 || header.height == 0 || header.planes != 1)
        return kErrorFileCorrupt;
    switch (header.bitsPerPixel) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return kErrorFileCorrupt;
    }
    // OS/2 headers give compression 3 and 4 other meanings (Huffman, 24-bit runs).
    const bool isOs2 = header.infoSize == 16 || header.infoSize == 64;
    const bool isRle = (header.compression == kBmpRle8 && header.bitsPerPixel == 8)
                       || (header.compression == kBmpRle4 && header.bitsPerPixel == 4);
    const bool isPlain = header.compression == kBmpRgb
                         || (!isOs2 && (header.compression == kBmpBitFields || header.compression == kBmpAlphaBitFields)
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

} // namespace imaging
