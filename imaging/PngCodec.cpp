// PNG through libpng (its calls in PngCalls.c). Alpha is dropped, 16-bit samples are cut
// to 8, grey images and palettes of greys stay grey, everything else becomes colour.
#include "imaging/PngCodec.h"

#include "imaging/PngCalls.h"

#include <algorithm>
#include <memory>

namespace imaging {
namespace {

constexpr int kPngBandRows = 16;

struct PngReaderDeleter {
    void operator()(PngReader* reader) const { PngReaderDestroy(reader); }
};
using PngReaderPtr = std::unique_ptr<PngReader, PngReaderDeleter>;

int PngResultOf(int status)
{
    return status == kPngOk ? kSuccess : status == kPngNoMemory ? kErrorNoMemory : kErrorFileCorrupt;
}

int PngResolutionOf(const PngHeader& header, unsigned pixelsPerMetre)
{
    return header.hasPixelsPerMetre ? ResolutionFromDpi(pixelsPerMetre * 0.0254) : kDefaultResolution;
}

bool HasGreyPalette(const PngHeader& header)
{
    return header.paletteSize > 0 && std::all_of(header.palette, header.palette + header.paletteSize, [](const auto& c) {
        return c[0] == c[1] && c[1] == c[2];
    });
}

// Opens the file and checks its size, also at its own depth: the rows libpng works on are
// of that depth, so an image that would not fit the limits there is refused too.
[[nodiscard]] int OpenPngReader(const FileBytes& file, PngReaderPtr& reader, PngHeader& header)
{
    reader.reset(PngReaderCreate(file.data(), file.size()));
    if (!reader)
        return kErrorNoMemory;
    const int result = PngResultOf(PngReadHeader(reader.get(), &header));
    if (result != kSuccess)
        return result;
    if (header.width > static_cast<unsigned>(kMaxSidePx) || header.height > static_cast<unsigned>(kMaxSidePx))
        return kErrorImageTooLarge;
    const std::uint64_t fileRowBytes = (std::uint64_t{header.width} * header.samplesPerPixel * header.bitDepth + 7) / 8;
    if (fileRowBytes * header.height > static_cast<std::uint64_t>(kMaxImageBytes))
        return kErrorImageTooLarge;
    return CheckImageSize(static_cast<int>(header.width), static_cast<int>(header.height), 3);
}

} // namespace

int PngReadInfo(int, const FileBytes& file, ImageInfo& info)
{
    PngReaderPtr reader;
    PngHeader header{};
    const int result = OpenPngReader(file, reader, header);
    if (result != kSuccess)
        return result;
    info.width = static_cast<int>(header.width);
    info.height = static_cast<int>(header.height);
    info.bitsPerPixel = header.samplesPerPixel * header.bitDepth;
    info.xResolution = PngResolutionOf(header, header.xPixelsPerMetre);
    info.yResolution = PngResolutionOf(header, header.yPixelsPerMetre);
    return kSuccess;
}

int PngDecode(int, const FileBytes& file, int bitsPerPixel, ProgressReporter& progress, OwnedBitmap& bitmap)
{
    PngReaderPtr reader;
    PngHeader header{};
    int result = OpenPngReader(file, reader, header);
    if (result != kSuccess)
        return result;
    const bool isPalette = header.colourType == 3;
    const bool isGreyFile = isPalette ? HasGreyPalette(header) : (header.colourType & 2) == 0;
    const bool isGrey = isGreyFile && bitsPerPixel != 24;
    const PngOutput output = !isGrey ? kPngOutputBgr : isPalette ? kPngOutputIndices : kPngOutputGrey;
    const int width = static_cast<int>(header.width), height = static_cast<int>(header.height);
    result = bitmap.AllocateForDecoding(width, height, isGrey ? 8 : 24, kViewTopDown);
    if (result != kSuccess)
        return result;
    BitmapHandle& target = bitmap.get();
    target.xResolution = PngResolutionOf(header, header.xPixelsPerMetre);
    target.yResolution = PngResolutionOf(header, header.yPixelsPerMetre);

    int passes = 1;
    result = PngResultOf(PngStartDecoding(reader.get(), output, &passes));
    if (result != kSuccess)
        return result;
    // An interlaced file fills every row once per pass, each pass adding to what the row holds.
    std::uint8_t* rows[kPngBandRows];
    const std::int64_t totalRows = static_cast<std::int64_t>(passes) * height;
    for (int pass = 0; pass < passes; ++pass) {
        for (int top = 0; top < height; top += kPngBandRows) {
            const int count = std::min(kPngBandRows, height - top);
            for (int i = 0; i < count; ++i)
                rows[i] = target.pixels + static_cast<std::ptrdiff_t>(top + i) * target.bytesPerLine;
            result = PngResultOf(PngReadRows(reader.get(), rows, count));
            if (result != kSuccess)
                return result;
            const std::int64_t done = static_cast<std::int64_t>(pass) * height + top + count;
            if (!progress.Report(static_cast<int>(done * 100 / totalRows)))
                return kErrorCancelled;
        }
    }
    if (output == kPngOutputIndices) {
        // An index past the palette is drawn in its first entry.
        for (int y = 0; y < height; ++y) {
            std::uint8_t* row = target.pixels + static_cast<std::ptrdiff_t>(y) * target.bytesPerLine;
            for (int x = 0; x < width; ++x)
                row[x] = header.palette[row[x] < header.paletteSize ? row[x] : 0][0];
        }
    }
    return PngResultOf(PngFinishDecoding(reader.get()));
}

} // namespace imaging
