// Structural check of a JPEG file: the marker segments from SOI to EOI.
//   FF D8                    SOI, at offset 0
//   FF xx, length (BE16)     a segment; the length counts itself and must stay in the file
//   FF C0..CF but C4 C8 CC   SOFn: precision (1), height (BE16), width (BE16), components (1)
//   FF DA                    SOS, then entropy-coded data up to the next marker that is
//                            neither a stuffed FF 00 nor a restart FF D0..D7
//   FF D9                    EOI: a file that ends before it is truncated
// A file cannot hold fewer coded bits than its blocks need: with Huffman coding every
// 8x8 block costs at least one bit for its DC code and, in a sequential scan, one more
// for its end of block. Fewer entropy-coded bytes than that means the frame header
// claims more pixels than the file holds.
#include "imaging/FileStructure.h"
#include "imaging/JpegMarkers.h"

#include <algorithm>
#include <cstring>

namespace imaging {
namespace {

// The fewest bits a block can take in a frame of this kind; 0 where no bound is known
// (arithmetic coding, lossless and hierarchical frames).
int MinimumBitsPerBlock(std::uint8_t frameMarker)
{
    switch (frameMarker) {
    case 0xC0: case 0xC1: return 2;  // sequential
    case 0xC2: return 1;             // progressive: the first DC scan codes every block
    default: return 0;
    }
}

// The sampling factors (horizontal in the high nibble) of component i of the frame whose
// segment length is at `segment`: each component is an id, the factors and a table.
std::uint8_t SamplingOf(const ByteReader& reader, std::size_t segment, int i)
{
    return reader.U8(segment + 9 + 3 * i);
}

// The 8x8 blocks of all components of a frame.
std::uint64_t CountBlocks(const ByteReader& reader, std::size_t segment, int width, int height, int components)
{
    int maxH = 1, maxV = 1;
    for (int i = 0; i < components; ++i) {
        const std::uint8_t sampling = SamplingOf(reader, segment, i);
        maxH = std::max(maxH, sampling >> 4);
        maxV = std::max(maxV, sampling & 0x0F);
    }
    std::uint64_t blocks = 0;
    for (int i = 0; i < components; ++i) {
        const std::uint8_t sampling = SamplingOf(reader, segment, i);
        const std::uint64_t columns = (static_cast<std::uint64_t>(width) * (sampling >> 4) + maxH - 1) / maxH;
        const std::uint64_t rows = (static_cast<std::uint64_t>(height) * (sampling & 0x0F) + maxV - 1) / maxV;
        blocks += ((columns + 7) / 8) * ((rows + 7) / 8);
    }
    return blocks;
}

// Moves past entropy-coded data to the FF that starts the next real marker, counting its bytes.
[[nodiscard]] bool SkipEntropyData(const ByteReader& reader, std::size_t& pos, std::uint64_t& codedBytes)
{
    const std::size_t start = pos;
    while (pos < reader.size()) {
        const void* found = std::memchr(reader.At(pos), 0xFF, reader.size() - pos);
        if (found == nullptr)
            return false;
        const std::size_t at = static_cast<const std::uint8_t*>(found) - reader.At(0);
        if (at + 1 >= reader.size())
            return false;
        const std::uint8_t next = reader.U8(at + 1);
        if (next == 0x00 || (next >= 0xD0 && next <= 0xD7)) {
            pos = at + 2;
            continue;
        }
        codedBytes += at - start;
        pos = at;
        return true;
    }
    return false;
}

} // namespace

int CheckJpegStructure(const FileBytes& file)
{
    const ByteReader reader(file, true);
    if (!reader.Has(0, 4) || reader.U8(0) != 0xFF || reader.U8(1) != 0xD8)
        return kErrorFileFormat;

    bool hasFrame = false;
    bool hasScan = false;
    std::uint64_t neededBits = 0;
    std::uint64_t codedBytes = 0;
    std::size_t pos = 2;
    for (;;) {
        if (!reader.Has(pos, 2) || reader.U8(pos) != 0xFF)
            return kErrorFileCorrupt;
        while (pos < reader.size() && reader.U8(pos) == 0xFF)
            ++pos;
        if (pos >= reader.size())
            return kErrorFileCorrupt;
        const std::uint8_t marker = reader.U8(pos++);
        if (marker == 0xD9) {
            if (!hasFrame || !hasScan || codedBytes * 8 < neededBits)
                return kErrorFileCorrupt;
            return CheckJpegEntropyData(file);
        }
        if (IsJpegStandaloneMarker(marker))
            continue;
        if (!reader.Has(pos, 2))
            return kErrorFileCorrupt;
        const std::size_t length = reader.U16(pos);
        if (length < 2 || !reader.Has(pos, length))
            return kErrorFileCorrupt;

        if (IsJpegFrameMarker(marker)) {
            if (length < 8 || hasFrame)
                return kErrorFileCorrupt;
            const int height = reader.U16(pos + 3);
            const int width = reader.U16(pos + 5);
            const int components = reader.U8(pos + 7);
            if (width == 0 || components < 1 || components > 4 || length < 8u + 3u * components)
                return kErrorFileCorrupt;
            // A height given later by a DNL segment is legal but not something we decode.
            if (height == 0)
                return kErrorFileFormat;
            hasFrame = true;
            for (int i = 0; i < components; ++i) {
                const std::uint8_t sampling = SamplingOf(reader, pos, i);
                if ((sampling >> 4) < 1 || (sampling >> 4) > 4 || (sampling & 0x0F) < 1 || (sampling & 0x0F) > 4)
                    return kErrorFileCorrupt;
            }
            neededBits = CountBlocks(reader, pos, width, height, components) * MinimumBitsPerBlock(marker);
        }
        pos += length;
        if (marker == 0xDA) {
            if (!hasFrame)
                return kErrorFileCorrupt;
            hasScan = true;
            if (!SkipEntropyData(reader, pos, codedBytes))
                return kErrorFileCorrupt;
        }
    }
}

} // namespace imaging
