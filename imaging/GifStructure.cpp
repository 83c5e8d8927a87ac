// Structural check of a GIF file: the block chain up to the trailer.
//   0   6  "GIF87a" or "GIF89a"
//   6   2  logical screen width, 8  2  height (LE)
//   10  1  flags: bit 7 global colour table, bits 0-2 its size as 2^(n+1) entries of 3 bytes
//   then blocks: 0x21 extension (label, sub-blocks), 0x2C image (left, top, width, height,
//   flags with an optional local colour table, LZW minimum code size, sub-blocks), 0x3B trailer.
//   Sub-blocks: a length byte and that many bytes, ended by a zero length.
// The first image must be complete. The platform's decoder reads every image of the file
// when it opens it, not only the first, so no image may have more pixels than its LZW data
// can produce (a code of at most 12 bits stands for at most 4096 pixels, so one byte of
// data gives at most 4096 * 8 / 12 pixels), nor more than the decoder may hold.
#include "imaging/FileStructure.h"

#include <cstring>

namespace imaging {
namespace {

constexpr std::uint64_t kMaxPixelsPerLzwByte = 4096 * 8 / 12 + 1;
// What the platform's decoder holds of each image it reads: two bytes a pixel, as measured
// under Wine 8 (4 GB for an image of 46000 x 46000 pixels).
constexpr std::uint64_t kDecoderBytesPerPixel = 2;

// Moves past a chain of sub-blocks; false when it runs out of the file.
[[nodiscard]] bool SkipSubBlocks(const ByteReader& reader, std::size_t& pos, std::uint64_t& dataBytes)
{
    for (;;) {
        if (!reader.Has(pos, 1))
            return false;
        const std::size_t length = reader.U8(pos++);
        if (length == 0)
            return true;
        if (!reader.Has(pos, length))
            return false;
        pos += length;
        dataBytes += length;
    }
}

std::size_t ColourTableBytes(std::uint8_t flags) { return (flags & 0x80) ? 3u << ((flags & 7) + 1) : 0; }

} // namespace

int CheckGifStructure(const FileBytes& file)
{
    const ByteReader reader(file);
    if (!reader.Has(0, 13) || (std::memcmp(file.data(), "GIF87a", 6) != 0 && std::memcmp(file.data(), "GIF89a", 6) != 0))
        return kErrorFileFormat;
    std::size_t pos = 13 + ColourTableBytes(reader.U8(10));
    if (!reader.Has(0, pos))
        return kErrorFileCorrupt;

    bool hasImage = false;
    while (pos < reader.size()) {
        const std::uint8_t block = reader.U8(pos++);
        std::uint64_t dataBytes = 0;
        if (block == 0x3B)
            return hasImage ? kSuccess : kErrorFileCorrupt;
        if (block == 0x21) {
            if (!reader.Has(pos, 1))
                return kErrorFileCorrupt;
            ++pos;
            if (!SkipSubBlocks(reader, pos, dataBytes))
                return kErrorFileCorrupt;
            continue;
        }
        if (block != 0x2C) {
            // Bytes after a complete image are tolerated as readers do; before it they are damage.
            return hasImage ? kSuccess : kErrorFileCorrupt;
        }
        if (!reader.Has(pos, 9))
            return kErrorFileCorrupt;
        const std::uint64_t width = reader.U16(pos + 4);
        const std::uint64_t height = reader.U16(pos + 6);
        const std::uint8_t flags = reader.U8(pos + 8);
        pos += 9 + ColourTableBytes(flags);
        if (!reader.Has(pos, 1))
            return kErrorFileCorrupt;
        const int minimumCodeSize = reader.U8(pos++);
        if (width == 0 || height == 0 || minimumCodeSize < 2 || minimumCodeSize > 8)
            return kErrorFileCorrupt;
        if (!SkipSubBlocks(reader, pos, dataBytes))
            return kErrorFileCorrupt;
        if (width * height * kDecoderBytesPerPixel > static_cast<std::uint64_t>(kMaxImageBytes))
            return kErrorImageTooLarge;
        if (width * height > (dataBytes + 1) * kMaxPixelsPerLzwByte)
            return kErrorFileCorrupt;
        hasImage = true;
    }
    // A file ending right after a complete image lacks only its trailer.
    return hasImage ? kSuccess : kErrorFileCorrupt;
}

} // namespace imaging
