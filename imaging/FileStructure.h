// Structural check of a BMP file, made on the bytes before our reader decodes them, the
// bounds-checked reader our own codecs read headers with, and the little-endian writes
// our own writers fill theirs with. The check answers kSuccess,
// kErrorFileCorrupt or kErrorFileFormat.
#pragma once

#include "imaging/Codecs.h"

#include <cstddef>
#include <cstdint>

namespace imaging {

[[nodiscard]] int CheckBmpStructure(const FileBytes& file);

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

// Little-endian writes into a header the writer has already sized.
inline void PutLittleEndian16(FileBytes& file, std::size_t at, std::uint32_t value)
{
    file[at] = static_cast<std::uint8_t>(value);
    file[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void PutLittleEndian32(FileBytes& file, std::size_t at, std::uint32_t value)
{
    PutLittleEndian16(file, at, value & 0xFFFF);
    PutLittleEndian16(file, at + 2, value >> 16);
}

} // namespace imaging
