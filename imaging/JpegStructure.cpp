// Structural check of a JPEG file: the marker segments from SOI to EOI.
//   FF D8                    SOI, at offset 0
//   FF xx, length (BE16)     a segment; the length counts itself and must stay in the file
//   FF C0..CF but C4 C8 CC   SOFn: precision (1), height (BE16), width (BE16), components (1)
//   FF DA                    SOS, then entropy-coded data up to the next marker that is
//                            neither a stuffed FF 00 nor a restart FF D0..D7
//   FF D9                    EOI: a file that ends before it is truncated
#include "imaging/FileStructure.h"

#include <cstring>

namespace imaging {
namespace {

bool IsFrameMarker(std::uint8_t marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool IsStandalone(std::uint8_t marker) { return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7); }

// Moves past entropy-coded data to the FF that starts the next real marker.
[[nodiscard]] bool SkipEntropyData(const ByteReader& reader, std::size_t& pos)
{
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
    std::size_t pos = 2;
    for (;;) {
        if (!reader.Has(pos, 2) || reader.U8(pos) != 0xFF)
            return kErrorFileCorrupt;
        while (pos < reader.size() && reader.U8(pos) == 0xFF)
            ++pos;
        if (pos >= reader.size())
            return kErrorFileCorrupt;
        const std::uint8_t marker = reader.U8(pos++);
        if (marker == 0xD9)
            return hasFrame && hasScan ? kSuccess : kErrorFileCorrupt;
        if (IsStandalone(marker))
            continue;
        if (!reader.Has(pos, 2))
            return kErrorFileCorrupt;
        const std::size_t length = reader.U16(pos);
        if (length < 2 || !reader.Has(pos, length))
            return kErrorFileCorrupt;

        if (IsFrameMarker(marker)) {
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
        }
        pos += length;
        if (marker == 0xDA) {
            if (!hasFrame)
                return kErrorFileCorrupt;
            hasScan = true;
            if (!SkipEntropyData(reader, pos))
                return kErrorFileCorrupt;
        }
    }
}

} // namespace imaging
