// Decodes the Huffman-coded data of a JPEG file as far as its codes go, without the
// transforms, to find damage that the platform's decoder only warns about and then
// paints as garbage: a bit pattern that is no code of its table, a coefficient past the
// end of its block or band, a refinement bit of a size other than 1, a scan that runs
// out of data, or a restart marker out of turn. Sequential and progressive Huffman frames
// are checked; other kinds (arithmetic coding, lossless, hierarchical) are left to the
// decoder, as are frames beyond the library's limits, which loading refuses anyway.
// Bytes left over after a scan's last block are passed over: the picture is whole.
#include "imaging/FileStructure.h"
#include "imaging/JpegMarkers.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace imaging {
namespace {

constexpr int kFastBits = 9;

// A Huffman table as T.81 F.2.2.3 decodes it: for each code length, the largest code
// and where its values start; codes of up to kFastBits bits also by a lookup of that
// many bits ahead (length in the high byte, value in the low; 0 for a longer code).
struct HuffmanTable {
    bool isDefined = false;
    std::array<std::int32_t, 18> maxCode{};
    std::array<std::int32_t, 17> valueOffset{};
    std::array<std::uint8_t, 256> values{};
    std::array<std::uint16_t, 1 << kFastBits> fast{};
};

[[nodiscard]] bool BuildTable(const std::uint8_t* counts, const std::uint8_t* values, int valueCount, HuffmanTable& table)
{
    std::int32_t code = 0;
    int index = 0;
    table.fast.fill(0);
    for (int length = 1; length <= 16; ++length) {
        const int count = counts[length - 1];
        table.valueOffset[length] = index - code;
        for (int i = 0; i < count && length <= kFastBits && code + i < (1 << length); ++i) {
            const int shift = kFastBits - length;
            const auto entry = static_cast<std::uint16_t>(length << 8 | values[index + i]);
            std::fill(table.fast.begin() + ((code + i) << shift), table.fast.begin() + ((code + i + 1) << shift), entry);
        }
        code += count;
        index += count;
        // Codes of one length must fit in it, and all ones is never a code.
        if (code >= (1 << length))
            return false;
        table.maxCode[length] = count > 0 ? code - 1 : -1;
        code <<= 1;
    }
    table.maxCode[17] = 0x7FFFFFFF;
    std::memcpy(table.values.data(), values, static_cast<std::size_t>(valueCount));
    table.isDefined = true;
    return true;
}

enum class Read { Ok, Corrupt };

// The bits of one scan: stuffed FF 00 is FF; at a marker the data ends, and reading on
// past it is the damage a decoder reports as "premature end of data segment".
class BitReader {
public:
    BitReader(const ByteReader& reader, std::size_t pos) : m_reader(reader), m_pos(pos) {}

    // Starts again at `pos`, after a restart marker.
    void Restart(std::size_t pos)
    {
        m_pos = pos;
        m_count = m_realBits = 0;
        m_atMarker = false;
    }

    [[nodiscard]] bool Bits(int count, std::uint32_t& value)
    {
        if (m_count < count)
            Fill();
        if (count > m_realBits)
            return false;
        value = count == 0 ? 0 : static_cast<std::uint32_t>(m_buffer >> (m_count - count)) & ((1u << count) - 1);
        m_count -= count;
        m_realBits -= count;
        return true;
    }

    // A symbol of the table; false for a pattern that is no code, or for data run out.
    [[nodiscard]] bool Decode(const HuffmanTable& table, int& symbol)
    {
        if (m_count < 16)
            Fill();
        const auto ahead = static_cast<std::int32_t>(m_buffer >> (m_count - 16)) & 0xFFFF;
        int length = table.fast[static_cast<std::size_t>(ahead >> (16 - kFastBits))] >> 8;
        if (length != 0) {
            symbol = table.fast[static_cast<std::size_t>(ahead >> (16 - kFastBits))] & 0xFF;
        } else {
            for (length = kFastBits + 1; length <= 16; ++length) {
                const std::int32_t code = ahead >> (16 - length);
                if (code <= table.maxCode[length]) {
                    symbol = table.values[static_cast<std::size_t>(table.valueOffset[length] + code) & 0xFF];
                    break;
                }
            }
            if (length > 16)
                return false;
        }
        if (length > m_realBits)
            return false;
        m_count -= length;
        m_realBits -= length;
        return true;
    }

    // Drops what is left of the data and stands at the next marker: the position of its FF.
    std::size_t SkipToMarker()
    {
        m_count = m_realBits = 0;
        while (m_pos + 1 < m_reader.size()) {
            if (m_reader.U8(m_pos) == 0xFF && m_reader.U8(m_pos + 1) != 0x00)
                return m_pos;
            m_pos += m_reader.U8(m_pos) == 0xFF ? 2 : 1;
        }
        return m_reader.size();
    }

private:
    // Tops the buffer up to at least 56 bits; past the data's end with zeros, which are
    // not real bits.
    void Fill()
    {
        while (m_count <= 56) {
            std::uint8_t byte = 0;
            bool isReal = false;
            if (!m_atMarker && m_pos < m_reader.size()) {
                byte = m_reader.U8(m_pos);
                if (byte != 0xFF) {
                    ++m_pos;
                    isReal = true;
                } else if (m_pos + 1 < m_reader.size() && m_reader.U8(m_pos + 1) == 0x00) {
                    m_pos += 2;
                    isReal = true;
                } else {
                    m_atMarker = true;
                    byte = 0;
                }
            }
            m_buffer = (m_buffer << 8) | byte;
            m_count += 8;
            if (isReal)
                m_realBits += 8;
        }
    }

    const ByteReader& m_reader;
    std::size_t m_pos;
    std::uint64_t m_buffer = 0;
    int m_count = 0;
    int m_realBits = 0;
    bool m_atMarker = false;
};

struct Component {
    int id = 0;
    int h = 1;
    int v = 1;
    int blocksWide = 0;
    int blocksHigh = 0;
    std::vector<std::uint64_t> nonZero;  // per block: bit k set once coefficient k is not 0
};

struct Frame {
    bool isProgressive = false;
    int width = 0;
    int height = 0;
    int maxH = 1;
    int maxV = 1;
    std::vector<Component> components;
};

struct ScanPart {
    Component* component;
    const HuffmanTable* dc;
    const HuffmanTable* ac;
};

struct Scan {
    std::vector<ScanPart> parts;
    int ss = 0, se = 63, ah = 0, al = 0;
};

class ScanDecoder {
public:
    ScanDecoder(const Frame& frame, const Scan& scan, BitReader& bits) : m_frame(frame), m_scan(scan), m_bits(bits) {}

    [[nodiscard]] bool Block(const ScanPart& part, std::uint64_t* nonZero)
    {
        if (!m_frame.isProgressive)
            return Sequential(part);
        if (m_scan.ss == 0)
            return m_scan.ah == 0 ? DcFirst(part) : Skip(1);
        return m_scan.ah == 0 ? AcFirst(part, *nonZero) : AcRefine(part, *nonZero);
    }
    void Restart() { m_eobRun = 0; }

private:
    [[nodiscard]] bool Skip(int count)
    {
        std::uint32_t ignored = 0;
        return m_bits.Bits(count, ignored);
    }
    [[nodiscard]] bool DcFirst(const ScanPart& part)
    {
        int size = 0;
        return m_bits.Decode(*part.dc, size) && size <= 16 && Skip(size);
    }
    [[nodiscard]] bool Sequential(const ScanPart& part)
    {
        if (!DcFirst(part))
            return false;
        for (int k = 1; k < 64; ++k) {
            int rs = 0;
            if (!m_bits.Decode(*part.ac, rs))
                return false;
            const int run = rs >> 4, size = rs & 15;
            if (size == 0 && run != 15)
                return true;
            k += run;
            if (k > 63 || !Skip(size))
                return false;
        }
        return true;
    }
    [[nodiscard]] bool EndOfBandRun(int run)
    {
        std::uint32_t extra = 0;
        if (!m_bits.Bits(run, extra))
            return false;
        m_eobRun = (1u << run) + extra - 1;
        return true;
    }
    [[nodiscard]] bool AcFirst(const ScanPart& part, std::uint64_t& nonZero)
    {
        if (m_eobRun > 0) {
            --m_eobRun;
            return true;
        }
        for (int k = m_scan.ss; k <= m_scan.se; ++k) {
            int rs = 0;
            if (!m_bits.Decode(*part.ac, rs))
                return false;
            const int run = rs >> 4, size = rs & 15;
            if (size == 0 && run != 15)
                return EndOfBandRun(run);
            k += run;
            if (k > m_scan.se || !Skip(size))
                return false;
            if (size != 0)
                nonZero |= std::uint64_t{1} << k;
        }
        return true;
    }
    // T.81 G.1.2.3: new coefficients of size 1 among the zeros; a correction bit for
    // every coefficient already nonzero that is passed.
    [[nodiscard]] bool AcRefine(const ScanPart& part, std::uint64_t& nonZero)
    {
        int k = m_scan.ss;
        if (m_eobRun == 0) {
            for (; k <= m_scan.se; ++k) {
                int rs = 0;
                if (!m_bits.Decode(*part.ac, rs))
                    return false;
                int run = rs >> 4;
                const int size = rs & 15;
                if (size != 0) {
                    if (size != 1 || !Skip(1))
                        return false;
                } else if (run != 15) {
                    if (!EndOfBandRun(run))
                        return false;
                    ++m_eobRun;
                    break;
                }
                // Past `run` zero coefficients to the next zero, with a correction bit
                // for each nonzero one passed; past the band when too few zeros are left.
                const std::uint64_t band = BandFrom(k);
                std::uint64_t zeros = ~nonZero & band;
                for (; run > 0 && zeros != 0; --run)
                    zeros &= zeros - 1;
                const int stop = zeros != 0 ? __builtin_ctzll(zeros) : m_scan.se + 1;
                const std::uint64_t passed = band & (stop >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << stop) - 1);
                if (!SkipCorrections(nonZero & passed))
                    return false;
                k = stop;
                if (size != 0) {
                    if (k > m_scan.se)
                        return false;
                    nonZero |= std::uint64_t{1} << k;
                }
            }
        }
        if (m_eobRun > 0) {
            // A correction bit for each coefficient of the rest of the band already nonzero.
            if (!SkipCorrections(nonZero & BandFrom(k)))
                return false;
            --m_eobRun;
        }
        return true;
    }
    // The coefficients from k to the end of the scan's band.
    std::uint64_t BandFrom(int k) const
    {
        return k > m_scan.se ? 0 : (~std::uint64_t{0} << k) & (~std::uint64_t{0} >> (63 - m_scan.se));
    }
    [[nodiscard]] bool SkipCorrections(std::uint64_t coefficients)
    {
        for (int count = __builtin_popcountll(coefficients); count > 0; count -= 16) {
            if (!Skip(std::min(count, 16)))
                return false;
        }
        return true;
    }

    const Frame& m_frame;
    const Scan& m_scan;
    BitReader& m_bits;
    std::uint32_t m_eobRun = 0;
};

// Decodes one scan from `pos`; on success `pos` is the FF of the marker after it.
[[nodiscard]] bool DecodeScan(const ByteReader& reader, Frame& frame, const Scan& scan, int restartInterval,
                              std::size_t& pos)
{
    BitReader bits(reader, pos);
    ScanDecoder decoder(frame, scan, bits);
    const bool isInterleaved = scan.parts.size() > 1;
    const Component& only = *scan.parts[0].component;
    const int mcusWide = isInterleaved ? (frame.width + 8 * frame.maxH - 1) / (8 * frame.maxH) : only.blocksWide;
    const int mcusHigh = isInterleaved ? (frame.height + 8 * frame.maxV - 1) / (8 * frame.maxV) : only.blocksHigh;
    const std::int64_t mcuCount = static_cast<std::int64_t>(mcusWide) * mcusHigh;
    std::uint64_t ignoredMask = 0;
    for (std::int64_t mcu = 0; mcu < mcuCount; ++mcu) {
        if (restartInterval > 0 && mcu > 0 && mcu % restartInterval == 0) {
            pos = bits.SkipToMarker();
            const int expected = 0xD0 + static_cast<int>((mcu / restartInterval - 1) % 8);
            if (!reader.Has(pos, 2) || reader.U8(pos + 1) != expected)
                return false;
            bits.Restart(pos + 2);
            decoder.Restart();
        }
        const int mcuX = static_cast<int>(mcu % mcusWide), mcuY = static_cast<int>(mcu / mcusWide);
        for (const ScanPart& part : scan.parts) {
            Component& c = *part.component;
            const int across = isInterleaved ? c.h : 1, down = isInterleaved ? c.v : 1;
            for (int v = 0; v < down; ++v) {
                for (int h = 0; h < across; ++h) {
                    const int x = mcuX * across + h, y = mcuY * down + v;
                    // Interleaved MCUs may pad a component with blocks outside its image.
                    std::uint64_t* mask = (x < c.blocksWide && y < c.blocksHigh && !c.nonZero.empty())
                                              ? &c.nonZero[static_cast<std::size_t>(y) * c.blocksWide + x]
                                              : &ignoredMask;
                    if (!decoder.Block(part, mask))
                        return false;
                }
            }
        }
    }
    pos = bits.SkipToMarker();
    return true;
}

[[nodiscard]] bool ReadFrame(const ByteReader& reader, std::size_t segment, std::uint8_t marker, Frame& frame)
{
    frame.isProgressive = marker == 0xC2;
    frame.height = reader.U16(segment + 3);
    frame.width = reader.U16(segment + 5);
    const int count = reader.U8(segment + 7);
    frame.components.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        Component& c = frame.components[static_cast<std::size_t>(i)];
        c.id = reader.U8(segment + 8 + 3 * i);
        c.h = reader.U8(segment + 9 + 3 * i) >> 4;
        c.v = reader.U8(segment + 9 + 3 * i) & 0x0F;
        frame.maxH = std::max(frame.maxH, c.h);
        frame.maxV = std::max(frame.maxV, c.v);
    }
    for (Component& c : frame.components) {
        const int samplesWide = (frame.width * c.h + frame.maxH - 1) / frame.maxH;
        const int samplesHigh = (frame.height * c.v + frame.maxV - 1) / frame.maxV;
        c.blocksWide = (samplesWide + 7) / 8;
        c.blocksHigh = (samplesHigh + 7) / 8;
        if (frame.isProgressive)
            c.nonZero.assign(static_cast<std::size_t>(c.blocksWide) * c.blocksHigh, 0);
    }
    return true;
}

[[nodiscard]] bool ReadTables(const ByteReader& reader, std::size_t segment, std::size_t length,
                              std::array<HuffmanTable, 8>& tables)
{
    std::size_t at = segment + 2;
    const std::size_t end = segment + length;
    while (at < end) {
        if (!reader.Has(at, 17) || at + 17 > end)
            return false;
        const int kind = reader.U8(at) >> 4, slot = reader.U8(at) & 0x0F;
        if (kind > 1 || slot > 3)
            return false;
        int valueCount = 0;
        for (int i = 0; i < 16; ++i)
            valueCount += reader.U8(at + 1 + i);
        if (valueCount > 256 || at + 17 + valueCount > end)
            return false;
        if (!BuildTable(reader.At(at + 1), reader.At(at + 17), valueCount, tables[static_cast<std::size_t>(kind * 4 + slot)]))
            return false;
        at += 17 + static_cast<std::size_t>(valueCount);
    }
    return true;
}

[[nodiscard]] bool ReadScan(const ByteReader& reader, std::size_t segment, Frame& frame,
                            const std::array<HuffmanTable, 8>& tables, Scan& scan)
{
    const int count = reader.U8(segment + 2);
    if (count < 1 || count > 4 || reader.U16(segment) < 6 + 2 * count)
        return false;
    const std::size_t params = segment + 3 + 2 * static_cast<std::size_t>(count);
    scan.ss = reader.U8(params);
    scan.se = reader.U8(params + 1);
    scan.ah = reader.U8(params + 2) >> 4;
    scan.al = reader.U8(params + 2) & 0x0F;
    if (frame.isProgressive) {
        if (scan.ss > scan.se || scan.se > 63 || (scan.ss == 0) != (scan.se == 0) || (scan.ss > 0 && count != 1))
            return false;
    }
    scan.parts.clear();
    for (int i = 0; i < count; ++i) {
        const int id = reader.U8(segment + 3 + 2 * i);
        const int selectors = reader.U8(segment + 4 + 2 * i);
        auto found = std::find_if(frame.components.begin(), frame.components.end(), [&](const Component& c) { return c.id == id; });
        if (found == frame.components.end() || (selectors >> 4) > 3 || (selectors & 0x0F) > 3)
            return false;
        const HuffmanTable* dc = &tables[static_cast<std::size_t>(selectors >> 4)];
        const HuffmanTable* ac = &tables[static_cast<std::size_t>(4 + (selectors & 0x0F))];
        const bool needsDc = !frame.isProgressive || (scan.ss == 0 && scan.ah == 0);
        const bool needsAc = !frame.isProgressive || scan.ss > 0;
        if ((needsDc && !dc->isDefined) || (needsAc && !ac->isDefined))
            return false;
        scan.parts.push_back({&*found, dc, ac});
    }
    return true;
}

} // namespace

int CheckJpegEntropyData(const FileBytes& file)
{
    const ByteReader reader(file, true);
    std::array<HuffmanTable, 8> tables;  // DC 0..3, AC 0..3
    Frame frame;
    bool hasFrame = false;
    int restartInterval = 0;
    std::size_t pos = 2;
    while (reader.Has(pos, 2)) {
        while (pos < reader.size() && reader.U8(pos) == 0xFF)
            ++pos;
        if (!reader.Has(pos, 1))
            break;
        const std::uint8_t marker = reader.U8(pos++);
        if (marker == 0xD9)
            break;
        if (IsJpegStandaloneMarker(marker))
            continue;
        if (!reader.Has(pos, 2))
            return kErrorFileCorrupt;
        const std::size_t length = reader.U16(pos);
        if (length < 2 || !reader.Has(pos, length))
            return kErrorFileCorrupt;
        if (marker == 0xC0 || marker == 0xC1 || marker == 0xC2) {
            if (!ReadFrame(reader, pos, marker, frame))
                return kErrorFileCorrupt;
            // Beyond the limits loading refuses the file before decoding anything.
            if (CheckImageSize(frame.width, frame.height, 3) != kSuccess)
                return kSuccess;
            hasFrame = true;
        } else if (IsJpegFrameMarker(marker)) {
            return kSuccess;  // a kind of frame this check does not decode
        } else if (marker == 0xC4) {
            if (!ReadTables(reader, pos, length, tables))
                return kErrorFileCorrupt;
        } else if (marker == 0xDD) {
            if (length < 4)
                return kErrorFileCorrupt;
            restartInterval = reader.U16(pos + 2);
        } else if (marker == 0xDA) {
            Scan scan;
            if (!hasFrame || !ReadScan(reader, pos, frame, tables, scan))
                return kErrorFileCorrupt;
            pos += length;
            if (!DecodeScan(reader, frame, scan, restartInterval, pos))
                return kErrorFileCorrupt;
            continue;
        }
        pos += length;
    }
    return kSuccess;
}

} // namespace imaging
