// Structural checks of JPEG, TIFF, GIF and BMP files, made on the bytes before the
// platform's decoders see them, so that truncated files and files claiming more
// pixels than they hold are refused with a clear result instead of decoded as far as
// they go. Each answers kSuccess, kErrorFileCorrupt or kErrorFileFormat, or
// kErrorImageTooLarge where the platform's decoder would hold more than the limits allow.
#pragma once

#include "imaging/Codecs.h"

#include <cstddef>
#include <cstdint>

namespace imaging {

[[nodiscard]] int CheckJpegStructure(const FileBytes& file);
// The Huffman-coded data of a structurally sound JPEG file: kSuccess or kErrorFileCorrupt.
[[nodiscard]] int CheckJpegEntropyData(const FileBytes& file);
[[nodiscard]] int CheckTiffStructure(const FileBytes& file);
// True for a TIFF stored plain or with LZW, Deflate or PackBits, which every decoder
// reads: a failure to decode it means damage, where with another compression (JPEG,
// fax codings, ...) it may mean a variant the decoder does not handle.
[[nodiscard]] bool HasCommonTiffCompression(const FileBytes& file);
[[nodiscard]] int CheckGifStructure(const FileBytes& file);
[[nodiscard]] int CheckBmpStructure(const FileBytes& file);
[[nodiscard]] int CheckPngStructure(const FileBytes& file);

// Bounds-checked little- and big-endian reads: every offset that comes from a file is
// tested with Has before it is read.
class ByteReader {
public:
    ByteReader(const FileBytes& file, bool isBigEndian = false) : m_data(file.data()), m_size(file.size()),
        m_isBigEndian(isBigEndian) {}
    bool Has(std::uint64_t offset, std::uint64_t count) const { return offset <= m_size && count <= m_size - offset; }
    std::size_t size() const { return m_size; }
    std::uint8_t U8(std::size_t offset) const { return m_data[offset]; }
    std::uint16_t U16(std::size_t offset) const
    {
        return m_isBigEndian ? static_cast<std::uint16_t>(m_data[offset] << 8 | m_data[offset + 1])
                             : static_cast<std::uint16_t>(m_data[offset] | m_data[offset + 1] << 8);
    }
    std::uint32_t U32(std::size_t offset) const
    {
        const std::uint32_t a = U16(offset), b = U16(offset + 2);
        return m_isBigEndian ? (a << 16 | b) : (b << 16 | a);
    }
    const std::uint8_t* At(std::size_t offset) const { return m_data + offset; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    bool m_isBigEndian;
};

} // namespace imaging
