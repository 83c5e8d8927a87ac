// Our own PCX reader. Invariant: every byte is read only after its offset has been
// checked against the end of the file, and every line is written within its row.
#include "imaging/PcxCodec.h"

#include "imaging/FileStructure.h"

#include <algorithm>
#include <array>

namespace imaging {
namespace {

constexpr std::size_t kHeaderBytes = 128;
constexpr std::size_t kPaletteBytes = 768;
constexpr std::uint8_t kPaletteMarker = 0x0C;
// One RLE pair of 2 bytes gives at most 63 bytes.
constexpr std::uint64_t kMaxRunBytes = 63;

struct PcxHeader {
    int bitsPerPlane = 0;
    int planes = 0;
    int width = 0;
    int height = 0;
    int bytesPerLine = 0;
    int xResolution = 0;
    int yResolution = 0;
};

bool IsSupportedLayout(const PcxHeader& header)
{
    return (header.bitsPerPlane == 8 && (header.planes == 1 || header.planes == 3))
           || (header.bitsPerPlane == 1 && (header.planes == 1 || header.planes == 4));
}

[[nodiscard]] int ReadPcxHeader(const FileBytes& file, PcxHeader& header)
{
    const ByteReader reader(file);
    if (!IsPcxFile(file))
        return kErrorFileFormat;
    if (!reader.Has(0, kHeaderBytes))
        return kErrorFileCorrupt;
    header.bitsPerPlane = reader.U8(3);
    header.planes = reader.U8(65);
    header.bytesPerLine = reader.U16(66);
    const int xMin = reader.U16(4), yMin = reader.U16(6), xMax = reader.U16(8), yMax = reader.U16(10);
    if (xMax < xMin || yMax < yMin)
        return kErrorFileCorrupt;
    header.width = xMax - xMin + 1;
    header.height = yMax - yMin + 1;
    header.xResolution = reader.U16(12) != 0 ? reader.U16(12) : kDefaultResolution;
    header.yResolution = reader.U16(14) != 0 ? reader.U16(14) : kDefaultResolution;
    if (!IsSupportedLayout(header))
        return kErrorFileFormat;
    if (static_cast<std::int64_t>(header.bytesPerLine) * 8 < static_cast<std::int64_t>(header.width) * header.bitsPerPlane)
        return kErrorFileCorrupt;
    // A file cannot expand to more bytes than its runs can produce.
    const std::uint64_t decodedBytes = static_cast<std::uint64_t>(header.bytesPerLine) * header.planes * header.height;
    if (decodedBytes > (file.size() - kHeaderBytes) * kMaxRunBytes / 2 + kMaxRunBytes)
        return kErrorFileCorrupt;
    return kSuccess;
}

// Decodes the RLE stream line by line; runs may continue over a line end.
class RleStream {
public:
    RleStream(const FileBytes& file) : m_file(file), m_pos(kHeaderBytes) {}

    [[nodiscard]] bool ReadLine(std::uint8_t* line, std::size_t count)
    {
        std::size_t done = 0;
        while (done < count) {
            if (m_runLeft == 0 && !NextRun())
                return false;
            const std::size_t take = std::min<std::size_t>(m_runLeft, count - done);
            std::fill(line + done, line + done + take, m_value);
            done += take;
            m_runLeft -= static_cast<int>(take);
        }
        return true;
    }
    // A run still going after the last line ran past the image.
    bool EndsCleanly() const { return m_runLeft == 0; }
    std::size_t Position() const { return m_pos; }

private:
    [[nodiscard]] bool NextRun()
    {
        if (m_pos >= m_file.size())
            return false;
        const std::uint8_t code = m_file[m_pos++];
        if ((code & 0xC0) != 0xC0) {
            m_value = code;
            m_runLeft = 1;
            return true;
        }
        if (m_pos >= m_file.size())
            return false;
        m_value = m_file[m_pos++];
        m_runLeft = code & 0x3F;
        return true;
    }

    const FileBytes& m_file;
    std::size_t m_pos;
    int m_runLeft = 0;
    std::uint8_t m_value = 0;
};

using Palette = std::array<std::array<std::uint8_t, 3>, 256>;  // red, green, blue

// The 256-colour palette follows the image data; a file with bytes after the palette
// still has it 769 bytes before its end.
[[nodiscard]] bool FindPalette(const FileBytes& file, std::size_t dataEnd, Palette& palette)
{
    std::size_t at = 0;
    if (dataEnd + 1 + kPaletteBytes <= file.size() && file[dataEnd] == kPaletteMarker)
        at = dataEnd + 1;
    else if (file.size() >= kHeaderBytes + 1 + kPaletteBytes && file[file.size() - kPaletteBytes - 1] == kPaletteMarker
             && file.size() - kPaletteBytes - 1 >= dataEnd)
        at = file.size() - kPaletteBytes;
    else
        return false;
    for (std::size_t i = 0; i < 256; ++i)
        palette[i] = {file[at + 3 * i], file[at + 3 * i + 1], file[at + 3 * i + 2]};
    return true;
}

bool IsGreyPalette(const Palette& palette)
{
    return std::all_of(palette.begin(), palette.end(),
                       [](const std::array<std::uint8_t, 3>& c) { return c[0] == c[1] && c[1] == c[2]; });
}

void StoreIndexedRow(const std::uint8_t* indices, const Palette& palette, int width, int channels, std::uint8_t* out)
{
    for (int x = 0; x < width; ++x) {
        const auto& colour = palette[indices[x]];
        if (channels == 1) {
            out[x] = colour[0];
        } else {
            out[3 * x] = colour[2];
            out[3 * x + 1] = colour[1];
            out[3 * x + 2] = colour[0];
        }
    }
}

// A line of 24-bit or 1-bit planes, turned into a stored row.
void StorePlanarRow(const PcxHeader& header, const std::uint8_t* line, const Palette& egaPalette, int channels,
                    std::uint8_t* out)
{
    const int bytes = header.bytesPerLine;
    for (int x = 0; x < header.width; ++x) {
        if (header.bitsPerPlane == 8) {
            out[3 * x] = line[2 * bytes + x];
            out[3 * x + 1] = line[bytes + x];
            out[3 * x + 2] = line[x];
            continue;
        }
        const int bit = 7 - (x & 7);
        int index = 0;
        for (int plane = 0; plane < header.planes; ++plane)
            index |= ((line[plane * bytes + x / 8] >> bit) & 1) << plane;
        if (header.planes == 1) {
            const std::uint8_t level = index ? 255 : 0;
            if (channels == 1)
                out[x] = level;
            else
                out[3 * x] = out[3 * x + 1] = out[3 * x + 2] = level;
        } else if (channels == 1) {
            out[x] = egaPalette[index][0];
        } else {
            out[3 * x] = egaPalette[index][2];
            out[3 * x + 1] = egaPalette[index][1];
            out[3 * x + 2] = egaPalette[index][0];
        }
    }
}

[[nodiscard]] int DecodePaletted(const FileBytes& file, const PcxHeader& header, int bitsPerPixel,
                                 ProgressReporter& progress, OwnedBitmap& bitmap)
{
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(header.width) * header.height);
    std::vector<std::uint8_t> line(header.bytesPerLine);
    RleStream stream(file);
    for (int y = 0; y < header.height; ++y) {
        if (!stream.ReadLine(line.data(), line.size()))
            return kErrorFileCorrupt;
        std::copy(line.begin(), line.begin() + header.width, indices.begin() + static_cast<std::ptrdiff_t>(y) * header.width);
        if (!progress.Report(static_cast<int>(static_cast<std::int64_t>(y + 1) * 90 / header.height)))
            return kErrorCancelled;
    }
    Palette palette;
    if (!stream.EndsCleanly() || !FindPalette(file, stream.Position(), palette))
        return kErrorFileCorrupt;

    const int channels = (IsGreyPalette(palette) && bitsPerPixel != 24) ? 1 : 3;
    const int result = bitmap.AllocateForDecoding(header.width, header.height, channels * 8, kViewTopDown);
    if (result != kSuccess)
        return result;
    BitmapHandle& target = bitmap.get();
    for (int y = 0; y < header.height; ++y)
        StoreIndexedRow(indices.data() + static_cast<std::ptrdiff_t>(y) * header.width, palette, header.width, channels,
                        target.pixels + static_cast<std::ptrdiff_t>(y) * target.bytesPerLine);
    return kSuccess;
}

[[nodiscard]] int DecodePlanar(const FileBytes& file, const PcxHeader& header, int bitsPerPixel,
                               ProgressReporter& progress, OwnedBitmap& bitmap)
{
    Palette egaPalette{};
    for (std::size_t i = 0; i < 16; ++i)
        egaPalette[i] = {file[16 + 3 * i], file[17 + 3 * i], file[18 + 3 * i]};
    // Black and white, or 16 colours that are all grey, load as grey like every grey image.
    const bool isGrey = header.bitsPerPlane == 1 && (header.planes == 1 || IsGreyPalette(egaPalette));
    const int channels = (isGrey && bitsPerPixel != 24) ? 1 : 3;
    const int result = bitmap.AllocateForDecoding(header.width, header.height, channels * 8, kViewTopDown);
    if (result != kSuccess)
        return result;

    std::vector<std::uint8_t> line(static_cast<std::size_t>(header.bytesPerLine) * header.planes);
    RleStream stream(file);
    BitmapHandle& target = bitmap.get();
    for (int y = 0; y < header.height; ++y) {
        if (!stream.ReadLine(line.data(), line.size()))
            return kErrorFileCorrupt;
        StorePlanarRow(header, line.data(), egaPalette, channels,
                       target.pixels + static_cast<std::ptrdiff_t>(y) * target.bytesPerLine);
        if (!progress.Report(static_cast<int>(static_cast<std::int64_t>(y + 1) * 99 / header.height)))
            return kErrorCancelled;
    }
    return stream.EndsCleanly() ? kSuccess : kErrorFileCorrupt;
}

} // namespace

bool IsPcxFile(const FileBytes& file)
{
    if (file.size() < 4 || file[0] != 0x0A || file[2] != 1)
        return false;
    const std::uint8_t version = file[1];
    const std::uint8_t bits = file[3];
    return (version == 0 || version == 2 || version == 3 || version == 4 || version == 5)
           && (bits == 1 || bits == 2 || bits == 4 || bits == 8);
}

int PcxReadInfo(int, const FileBytes& file, ImageInfo& info)
{
    PcxHeader header;
    const int result = ReadPcxHeader(file, header);
    if (result != kSuccess)
        return result;
    info.width = header.width;
    info.height = header.height;
    info.bitsPerPixel = header.bitsPerPlane * header.planes;
    info.xResolution = header.xResolution;
    info.yResolution = header.yResolution;
    return kSuccess;
}

int PcxDecode(int, const FileBytes& file, int bitsPerPixel, ProgressReporter& progress, OwnedBitmap& bitmap)
{
    PcxHeader header;
    int result = ReadPcxHeader(file, header);
    if (result != kSuccess)
        return result;
    result = CheckImageSize(header.width, header.height, 3);
    if (result != kSuccess)
        return result;
    result = (header.bitsPerPlane == 8 && header.planes == 1) ? DecodePaletted(file, header, bitsPerPixel, progress, bitmap)
                                                               : DecodePlanar(file, header, bitsPerPixel, progress, bitmap);
    if (result != kSuccess)
        return result;
    bitmap.get().xResolution = header.xResolution;
    bitmap.get().yResolution = header.yResolution;
    return kSuccess;
}

} // namespace imaging
