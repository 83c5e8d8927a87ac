// Our own BMP writer: 24-bit colour, or 8-bit with the 256 greys for a grey image,
// uncompressed and bottom-up as most programs expect, with the resolution in pixels
// per metre. The layout is the one BmpCodec.h describes.
#include "imaging/BmpCodec.h"
#include "imaging/FileStructure.h"

#include <algorithm>
#include <cstring>

namespace imaging {
namespace {

constexpr std::uint32_t kBmpFileHeaderBytes = 14;
constexpr std::uint32_t kBmpInfoHeaderBytes = 40;

// The header's field is a signed 32-bit number: a resolution past it is held at its end.
std::uint32_t PixelsPerMetre(int resolutionPpi)
{
    const double pixelsPerMetre = std::max(resolutionPpi, 0) / 0.0254 + 0.5;
    return static_cast<std::uint32_t>(std::min(pixelsPerMetre, 2147483647.0));
}

} // namespace

int BmpEncode(int, const BitmapHandle& bitmap, int, ProgressReporter& progress, FileBytes& file)
{
    const PixelBuffer view = TopDownView(bitmap);
    const bool isGrey = view.channels == 1;
    const std::uint32_t paletteBytes = isGrey ? 256 * 4 : 0;
    const std::uint32_t dataAt = kBmpFileHeaderBytes + kBmpInfoHeaderBytes + paletteBytes;
    const std::uint64_t stride = static_cast<std::uint64_t>(StrideFor(view.width, view.channels));
    const std::uint64_t dataBytes = stride * view.height;
    if (dataAt + dataBytes > static_cast<std::uint64_t>(kMaxFileBytes))
        return kErrorImageTooLarge;

    file.assign(dataAt + static_cast<std::size_t>(dataBytes), 0);
    file[0] = 'B';
    file[1] = 'M';
    PutLittleEndian32(file, 2, static_cast<std::uint32_t>(file.size()));
    PutLittleEndian32(file, 10, dataAt);
    PutLittleEndian32(file, 14, kBmpInfoHeaderBytes);
    PutLittleEndian32(file, 18, static_cast<std::uint32_t>(view.width));
    PutLittleEndian32(file, 22, static_cast<std::uint32_t>(view.height));  // positive: bottom-up
    PutLittleEndian16(file, 26, 1);
    PutLittleEndian16(file, 28, isGrey ? 8 : 24);
    PutLittleEndian32(file, 30, kBmpRgb);
    PutLittleEndian32(file, 34, static_cast<std::uint32_t>(dataBytes));
    PutLittleEndian32(file, 38, PixelsPerMetre(bitmap.xResolution));
    PutLittleEndian32(file, 42, PixelsPerMetre(bitmap.yResolution));
    PutLittleEndian32(file, 46, isGrey ? 256 : 0);
    for (std::uint32_t level = 0; isGrey && level < 256; ++level) {
        std::uint8_t* entry = file.data() + kBmpFileHeaderBytes + kBmpInfoHeaderBytes + 4 * level;
        entry[0] = entry[1] = entry[2] = static_cast<std::uint8_t>(level);
    }

    const std::size_t rowBytes = static_cast<std::size_t>(view.width) * view.channels;
    for (int y = 0; y < view.height; ++y) {
        // The first stored row is the image's bottom line.
        std::uint8_t* out = file.data() + dataAt + (static_cast<std::size_t>(view.height - 1 - y)) * stride;
        std::memcpy(out, view.data + y * view.stride, rowBytes);
        if (!progress.Report(static_cast<int>(static_cast<std::int64_t>(y + 1) * 90 / view.height)))
            return kErrorCancelled;
    }
    return kSuccess;
}

} // namespace imaging
