// Structural check of a TIFF file: the header, the first image file directory and the
// strips or tiles it points at.
//   0  2  byte order: "II" little-endian, "MM" big-endian
//   2  2  42
//   4  4  offset of the first directory
//   directory: count (2), count entries of 12 bytes, offset of the next (4)
//   entry: tag (2), type (2), value count (4), the value itself when it fits in 4 bytes,
//          else the offset of the values
// Every value array, strip and tile must lie inside the file; uncompressed strips must
// hold at least the bytes the width, height and samples call for.
#include "imaging/FileStructure.h"

namespace imaging {
namespace {

enum Tag : std::uint16_t {
    kTagWidth = 256,
    kTagHeight = 257,
    kTagBitsPerSample = 258,
    kTagCompression = 259,
    kTagStripOffsets = 273,
    kTagSamplesPerPixel = 277,
    kTagStripByteCounts = 279,
    kTagTileOffsets = 324,
    kTagTileByteCounts = 325,
};

std::uint32_t TypeSize(std::uint16_t type)
{
    switch (type) {
    case 1: case 2: case 6: case 7: return 1;   // BYTE, ASCII, SBYTE, UNDEFINED
    case 3: case 8: return 2;                   // SHORT, SSHORT
    case 4: case 9: case 11: case 13: return 4; // LONG, SLONG, FLOAT, IFD
    case 5: case 10: case 12: return 8;         // RATIONAL, SRATIONAL, DOUBLE
    default: return 0;                          // unknown types are passed over, as readers must
    }
}

struct IfdEntry {
    std::uint16_t type = 0;
    std::uint32_t count = 0;
    std::size_t valuesAt = 0;  // where the values start
};

// Reads an entry's SHORT or LONG values; false when they are of another type.
[[nodiscard]] bool ReadNumbers(const ByteReader& reader, const IfdEntry& entry, std::vector<std::uint32_t>& numbers)
{
    if (entry.type != 3 && entry.type != 4)
        return false;
    numbers.resize(entry.count);
    for (std::uint32_t i = 0; i < entry.count; ++i) {
        numbers[i] = entry.type == 3 ? reader.U16(entry.valuesAt + 2 * i) : reader.U32(entry.valuesAt + 4 * i);
    }
    return true;
}

// The value of the first directory's compression entry: 1 (none) when it has none, 0
// when the file has no directory to read.
std::uint32_t ReadCompression(const FileBytes& file)
{
    if (file.size() < 8)
        return 0;
    const ByteReader reader(file, file[0] == 'M');
    const std::uint32_t directory = reader.U32(4);
    if (directory < 8 || !reader.Has(directory, 2))
        return 0;
    const std::uint32_t entryCount = reader.U16(directory);
    if (!reader.Has(directory + 2, 12ull * entryCount))
        return 0;
    for (std::uint32_t i = 0; i < entryCount; ++i) {
        const std::size_t at = directory + 2 + 12 * i;
        if (reader.U16(at) == kTagCompression && reader.U32(at + 4) >= 1)
            return reader.U16(at + 2) == 4 ? reader.U32(at + 8) : reader.U16(at + 8);
    }
    return 1;
}

} // namespace

bool HasCommonTiffCompression(const FileBytes& file)
{
    switch (ReadCompression(file)) {
    case 1: case 5: case 8: case 32773: case 32946: return true;  // none, LZW, Deflate, PackBits
    default: return false;
    }
}

int CheckTiffStructure(const FileBytes& file)
{
    if (file.size() < 8)
        return kErrorFileFormat;
    const bool isBigEndian = file[0] == 'M';
    const ByteReader reader(file, isBigEndian);
    if (!(file[0] == 'I' && file[1] == 'I') && !(file[0] == 'M' && file[1] == 'M'))
        return kErrorFileFormat;
    if (reader.U16(2) != 42)
        return kErrorFileFormat;

    const std::uint32_t directory = reader.U32(4);
    if (directory < 8 || !reader.Has(directory, 2))
        return kErrorFileCorrupt;
    const std::uint32_t entryCount = reader.U16(directory);
    if (entryCount == 0 || !reader.Has(directory + 2, 12ull * entryCount))
        return kErrorFileCorrupt;

    IfdEntry width, height, bitsPerSample, compression, samples, offsets, byteCounts;
    for (std::uint32_t i = 0; i < entryCount; ++i) {
        const std::size_t at = directory + 2 + 12 * i;
        IfdEntry entry;
        const std::uint16_t tag = reader.U16(at);
        entry.type = reader.U16(at + 2);
        entry.count = reader.U32(at + 4);
        const std::uint64_t bytes = static_cast<std::uint64_t>(TypeSize(entry.type)) * entry.count;
        if (TypeSize(entry.type) == 0)
            continue;
        entry.valuesAt = bytes <= 4 ? at + 8 : reader.U32(at + 8);
        if (!reader.Has(entry.valuesAt, bytes))
            return kErrorFileCorrupt;
        switch (tag) {
        case kTagWidth: width = entry; break;
        case kTagHeight: height = entry; break;
        case kTagBitsPerSample: bitsPerSample = entry; break;
        case kTagCompression: compression = entry; break;
        case kTagSamplesPerPixel: samples = entry; break;
        case kTagStripOffsets: case kTagTileOffsets: offsets = entry; break;
        case kTagStripByteCounts: case kTagTileByteCounts: byteCounts = entry; break;
        default: break;
        }
    }

    std::vector<std::uint32_t> values;
    if (!ReadNumbers(reader, width, values) || values.size() != 1 || values[0] == 0)
        return kErrorFileCorrupt;
    const std::uint64_t widthPx = values[0];
    if (!ReadNumbers(reader, height, values) || values.size() != 1 || values[0] == 0)
        return kErrorFileCorrupt;
    const std::uint64_t heightPx = values[0];

    std::vector<std::uint32_t> stripOffsets, stripBytes;
    if (!ReadNumbers(reader, offsets, stripOffsets) || !ReadNumbers(reader, byteCounts, stripBytes)
        || stripOffsets.empty() || stripOffsets.size() != stripBytes.size())
        return kErrorFileCorrupt;
    std::uint64_t dataBytes = 0;
    for (std::size_t i = 0; i < stripOffsets.size(); ++i) {
        if (!reader.Has(stripOffsets[i], stripBytes[i]))
            return kErrorFileCorrupt;
        dataBytes += stripBytes[i];
    }

    // Uncompressed data has a known size: strips that hold less are lying about the image.
    std::uint32_t compressionCode = 1;
    if (ReadNumbers(reader, compression, values) && !values.empty())
        compressionCode = values[0];
    if (compressionCode == 1) {
        std::uint64_t sampleCount = 1;
        if (ReadNumbers(reader, samples, values) && !values.empty())
            sampleCount = values[0];
        std::uint64_t bitsPerPixel = 0;
        if (ReadNumbers(reader, bitsPerSample, values) && !values.empty()) {
            for (std::size_t i = 0; i < values.size() && i < sampleCount; ++i)
                bitsPerPixel += values[i];
            if (values.size() < sampleCount)
                bitsPerPixel += (sampleCount - values.size()) * values.back();
        } else {
            bitsPerPixel = sampleCount;
        }
        const std::uint64_t rowBytes = (widthPx * bitsPerPixel + 7) / 8;
        if (rowBytes * heightPx > dataBytes)
            return kErrorFileCorrupt;
    }
    return kSuccess;
}

} // namespace imaging
