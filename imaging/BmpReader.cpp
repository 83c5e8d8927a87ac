// Our own BMP reader. The structural check has already vouched that uncompressed pixel
// data holds every row; run-length data is read with every byte checked against the end
// of the file, and every pixel written is clipped to the image.
#include "imaging/BmpCodec.h"

#include "imaging/FileStructure.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

namespace imaging {
namespace {

constexpr std::size_t kFileHeaderBytes = 14;
// Pixels a run-length stream leaves out are background. A stream that could not code
// more than a sliver of a large image is therefore refused as too large instead of
// filling a bitmap of this size or more with background.
constexpr std::uint64_t kMaxBackgroundBytes = 256u << 20;
// One two-byte run codes at most 255 pixels.
constexpr std::uint64_t kMaxRunPixels = 255;

using Colour = std::array<std::uint8_t, 3>;  // blue, green, red

struct BmpLayout {
    BmpHeader header;
    int width = 0;
    int height = 0;
    bool isBottomUp = true;
    bool isRle = false;
    std::array<std::uint32_t, 3> masks{};  // red, green, blue
    std::array<Colour, 256> palette{};
    int paletteSize = 0;
    bool isGrey = false;
};

// One masked channel: its shift and the largest value, scaled to 0..255.
struct Channel {
    int shift = 0;
    std::uint32_t mask = 0;
    std::uint64_t maxValue = 0;
    std::uint8_t Of(std::uint32_t pixel) const
    {
        if (maxValue == 0)
            return 0;
        const std::uint64_t value = (pixel & mask) >> shift;
        return static_cast<std::uint8_t>((value * 255 + maxValue / 2) / maxValue);
    }
};

[[nodiscard]] bool MakeChannel(std::uint32_t mask, Channel& channel)
{
    channel = Channel{};
    if (mask == 0)
        return true;
    int shift = 0;
    while (((mask >> shift) & 1) == 0)
        ++shift;
    const std::uint64_t bits = mask >> shift;
    // A mask is one run of set bits.
    if ((bits & (bits + 1)) != 0)
        return false;
    channel.shift = shift;
    channel.mask = mask;
    channel.maxValue = bits;
    return true;
}

bool IsGreyPalette(const std::array<Colour, 256>& palette, int size)
{
    return std::all_of(palette.begin(), palette.begin() + size,
                       [](const Colour& c) { return c[0] == c[1] && c[1] == c[2]; });
}

// Masks, palette and orientation, after the structural check.
[[nodiscard]] int ReadLayout(const FileBytes& file, BmpLayout& layout)
{
    BmpHeader& header = layout.header;
    int result = ReadBmpHeader(file, header);
    if (result != kSuccess)
        return result;
    const ByteReader reader(file);
    layout.width = static_cast<int>(std::min<std::int64_t>(header.width, kMaxSidePx + 1));
    layout.height = static_cast<int>(std::min<std::int64_t>(std::llabs(header.height), kMaxSidePx + 1));
    layout.isBottomUp = header.height > 0;
    layout.isRle = header.compression == kBmpRle8 || header.compression == kBmpRle4;

    std::size_t paletteAt = kFileHeaderBytes + header.infoSize;
    const bool hasBitFields = header.compression == kBmpBitFields || header.compression == kBmpAlphaBitFields;
    if (header.bitsPerPixel == 16)
        layout.masks = {0x7C00, 0x03E0, 0x001F};
    else if (header.bitsPerPixel == 32)
        layout.masks = {0xFF0000, 0x00FF00, 0x0000FF};
    if (hasBitFields) {
        // From 52 bytes on the header holds the masks; a 40-byte header is followed by them.
        // A 16-bit file without them gets the 5-6-5 layout that bitfields most often carry.
        const std::size_t masksAt = kFileHeaderBytes + 40;
        const std::size_t maskBytes = header.compression == kBmpAlphaBitFields ? 16 : 12;
        if (header.infoSize >= 52 || header.dataOffset >= masksAt + maskBytes) {
            layout.masks = {reader.U32(masksAt), reader.U32(masksAt + 4), reader.U32(masksAt + 8)};
            if (header.infoSize == 40)
                paletteAt += maskBytes;
        } else if (header.bitsPerPixel == 16) {
            layout.masks = {0xF800, 0x07E0, 0x001F};
        }
    }

    if (header.bitsPerPixel <= 8) {
        const std::size_t entryBytes = header.infoSize == 12 ? 3 : 4;
        const std::uint32_t fullSize = 1u << header.bitsPerPixel;
        std::uint32_t size = (header.coloursUsed != 0 && header.coloursUsed < fullSize) ? header.coloursUsed : fullSize;
        // Entries that would overlap the pixel data are not there.
        if (header.dataOffset > paletteAt)
            size = static_cast<std::uint32_t>(std::min<std::size_t>(size, (header.dataOffset - paletteAt) / entryBytes));
        else
            size = 0;
        if (size == 0 || !reader.Has(paletteAt, size * entryBytes))
            return kErrorFileCorrupt;
        for (std::uint32_t i = 0; i < size; ++i) {
            const std::size_t at = paletteAt + i * entryBytes;
            layout.palette[i] = {reader.U8(at), reader.U8(at + 1), reader.U8(at + 2)};
        }
        layout.paletteSize = static_cast<int>(size);
        layout.isGrey = IsGreyPalette(layout.palette, layout.paletteSize);
    }
    return kSuccess;
}

// Whole pixels per inch from pixels per metre; kDefaultResolution for none or an absurd one.
int ResolutionFromPixelsPerMetre(std::uint32_t pixelsPerMetre)
{
    const double dpi = pixelsPerMetre * 0.0254;
    if (!(dpi >= 1.0 && dpi <= 1000000.0))
        return kDefaultResolution;
    return static_cast<int>(dpi + 0.5);
}

// Writes palette colours into the stored rows of the bitmap, clipped to the image.
class IndexedWriter {
public:
    IndexedWriter(const BmpLayout& layout, BitmapHandle& target)
        : m_layout(layout), m_target(target), m_channels(ChannelsOf(target))
    {
    }
    void Put(int x, int y, int index) const
    {
        if (x >= m_target.width || y >= m_target.height)
            return;
        const Colour& colour = m_layout.palette[index < m_layout.paletteSize ? index : 0];
        std::uint8_t* out = m_target.pixels + static_cast<std::ptrdiff_t>(y) * m_target.bytesPerLine + x * m_channels;
        if (m_channels == 1) {
            out[0] = colour[0];
        } else {
            out[0] = colour[0];
            out[1] = colour[1];
            out[2] = colour[2];
        }
    }
    void FillBackground() const
    {
        for (int x = 0; x < m_target.width; ++x)
            Put(x, 0, 0);
        const std::size_t rowBytes = static_cast<std::size_t>(m_target.width) * m_channels;
        for (int y = 1; y < m_target.height; ++y)
            std::memcpy(m_target.pixels + static_cast<std::ptrdiff_t>(y) * m_target.bytesPerLine, m_target.pixels, rowBytes);
    }

private:
    const BmpLayout& m_layout;
    BitmapHandle& m_target;
    int m_channels;
};

[[nodiscard]] int DecodeUncompressed(const FileBytes& file, const BmpLayout& layout, ProgressReporter& progress,
                                     BitmapHandle& target)
{
    const int bits = static_cast<int>(layout.header.bitsPerPixel);
    const std::size_t rowBytes = ((static_cast<std::size_t>(layout.width) * bits + 31) / 32) * 4;
    const IndexedWriter indexed(layout, target);
    std::array<Channel, 3> channels;
    for (int c = 0; c < 3; ++c) {
        if (!MakeChannel(layout.masks[c], channels[c]))
            return kErrorFileCorrupt;
    }
    for (int y = 0; y < layout.height; ++y) {
        const std::uint8_t* in = file.data() + layout.header.dataOffset + y * rowBytes;
        std::uint8_t* out = target.pixels + static_cast<std::ptrdiff_t>(y) * target.bytesPerLine;
        if (bits == 24)
            std::memcpy(out, in, static_cast<std::size_t>(layout.width) * 3);
        for (int x = 0; bits != 24 && x < layout.width; ++x) {
            switch (bits) {
            case 1: indexed.Put(x, y, (in[x / 8] >> (7 - x % 8)) & 1); break;
            case 4: indexed.Put(x, y, (in[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F); break;
            case 8: indexed.Put(x, y, in[x]); break;
            default: {
                const std::uint32_t pixel = bits == 16 ? static_cast<std::uint32_t>(in[2 * x] | in[2 * x + 1] << 8)
                                                       : static_cast<std::uint32_t>(in[4 * x] | in[4 * x + 1] << 8
                                                                                     | in[4 * x + 2] << 16
                                                                                     | static_cast<std::uint32_t>(in[4 * x + 3]) << 24);
                out[3 * x] = channels[2].Of(pixel);
                out[3 * x + 1] = channels[1].Of(pixel);
                out[3 * x + 2] = channels[0].Of(pixel);
                break;
            }
            }
        }
        if (!progress.Report(static_cast<int>(static_cast<std::int64_t>(y + 1) * 100 / layout.height)))
            return kErrorCancelled;
    }
    return kSuccess;
}

// RLE8 and RLE4: a count above 0 repeats the next byte's pixel (RLE4: its two nibbles
// in turn); a count of 0 is an escape: 0 end of line, 1 end of bitmap, 2 a move right
// and up by the next two bytes, 3 and more that many literal pixels, padded to 2 bytes.
// Rows run bottom-up; a stream that ends early leaves the rest as background.
[[nodiscard]] int DecodeRunLength(const FileBytes& file, const BmpLayout& layout, ProgressReporter& progress,
                                  BitmapHandle& target)
{
    const IndexedWriter writer(layout, target);
    writer.FillBackground();
    const bool isRle4 = layout.header.compression == kBmpRle4;
    std::size_t pos = layout.header.dataOffset;
    const std::size_t end = file.size();
    std::int64_t x = 0, y = 0;
    auto put = [&](int index) {
        if (x < layout.width && y < layout.height)
            writer.Put(static_cast<int>(x), static_cast<int>(y), index);
        ++x;
    };
    while (pos + 2 <= end && y < layout.height) {
        const int count = file[pos], value = file[pos + 1];
        pos += 2;
        if (count > 0) {
            for (int i = 0; i < count && x < layout.width; ++i)
                put(isRle4 ? (i % 2 ? value & 0x0F : value >> 4) : value);
        } else if (value == 0) {
            x = 0;
            ++y;
            if (!progress.Report(static_cast<int>(y * 100 / layout.height)))
                return kErrorCancelled;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (pos + 2 > end)
                break;
            x += file[pos];
            y += file[pos + 1];
            pos += 2;
        } else {
            const std::size_t dataBytes = isRle4 ? (static_cast<std::size_t>(value) + 1) / 2 : value;
            if (pos + dataBytes > end)
                return kErrorFileCorrupt;
            for (int i = 0; i < value; ++i)
                put(isRle4 ? (i % 2 ? file[pos + i / 2] & 0x0F : file[pos + i / 2] >> 4) : file[pos + i]);
            pos += (dataBytes + 1) & ~std::size_t{1};
        }
    }
    return kSuccess;
}

} // namespace

int BmpReadInfo(int, const FileBytes& file, ImageInfo& info)
{
    BmpLayout layout;
    const int result = ReadLayout(file, layout);
    if (result != kSuccess)
        return result;
    if (layout.width > kMaxSidePx || layout.height > kMaxSidePx)
        return kErrorImageTooLarge;
    info.width = layout.width;
    info.height = layout.height;
    info.bitsPerPixel = static_cast<int>(layout.header.bitsPerPixel);
    info.xResolution = ResolutionFromPixelsPerMetre(layout.header.xPixelsPerMetre);
    info.yResolution = ResolutionFromPixelsPerMetre(layout.header.yPixelsPerMetre);
    return kSuccess;
}

int BmpDecode(int, const FileBytes& file, int bitsPerPixel, ProgressReporter& progress, OwnedBitmap& bitmap)
{
    BmpLayout layout;
    int result = ReadLayout(file, layout);
    if (result != kSuccess)
        return result;
    const int channels = (layout.isGrey && bitsPerPixel != 24) ? 1 : 3;
    result = CheckImageSize(layout.width, layout.height, channels);
    if (result != kSuccess)
        return result;
    if (layout.isRle) {
        const std::uint64_t bitmapBytes = static_cast<std::uint64_t>(StrideFor(layout.width, channels)) * layout.height;
        const std::uint64_t codablePixels = (file.size() - layout.header.dataOffset) / 2 * kMaxRunPixels;
        const std::uint64_t pixels = static_cast<std::uint64_t>(layout.width) * layout.height;
        if (bitmapBytes > kMaxBackgroundBytes && codablePixels < pixels)
            return kErrorImageTooLarge;
    }
    result = bitmap.AllocateForDecoding(layout.width, layout.height, channels * 8, layout.isBottomUp ? kViewBottomUp : kViewTopDown);
    if (result != kSuccess)
        return result;
    BitmapHandle& target = bitmap.get();
    target.xResolution = ResolutionFromPixelsPerMetre(layout.header.xPixelsPerMetre);
    target.yResolution = ResolutionFromPixelsPerMetre(layout.header.yPixelsPerMetre);
    return layout.isRle ? DecodeRunLength(file, layout, progress, target)
                        : DecodeUncompressed(file, layout, progress, target);
}

} // namespace imaging
