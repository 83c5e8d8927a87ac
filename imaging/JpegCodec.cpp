// JPEG through libjpeg-turbo (its calls in JpegCalls.c). Rows are decoded straight into
// the bitmap and encoded straight from it, a band at a time, with progress between bands.
#include "imaging/JpegCodec.h"

#include "imaging/JpegCalls.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace imaging {
namespace {

// Rows handed to libjpeg per call: progress and a cancel are seen between bands.
constexpr int kJpegBandRows = 16;

// What the decoder may hold besides the bitmap: a progressive file's coefficients take
// two bytes a sample of every component.
constexpr long kMaxDecoderBytes = static_cast<long>(kMaxImageBytes);

struct JpegReaderDeleter {
    void operator()(JpegReader* reader) const { JpegReaderDestroy(reader); }
};
struct JpegWriterDeleter {
    void operator()(JpegWriter* writer) const { JpegWriterDestroy(writer); }
};
using JpegReaderPtr = std::unique_ptr<JpegReader, JpegReaderDeleter>;
using JpegWriterPtr = std::unique_ptr<JpegWriter, JpegWriterDeleter>;

int JpegResultOf(int status)
{
    switch (status) {
    case kJpegOk: return kSuccess;
    case kJpegUnsupported: return kErrorFileFormat;
    case kJpegNoMemory: return kErrorNoMemory;
    case kJpegTooLarge: return kErrorImageTooLarge;
    default: return kErrorFileCorrupt;
    }
}

int JpegResolutionOf(int unit, int density)
{
    constexpr int kPerInch = 1, kPerCentimetre = 2;
    if (unit == kPerInch)
        return ResolutionFromDpi(density);
    if (unit == kPerCentimetre)
        return ResolutionFromDpi(density * 2.54);
    return kDefaultResolution;
}

[[nodiscard]] int OpenJpegReader(const FileBytes& file, JpegReaderPtr& reader, JpegHeader& header)
{
    reader.reset(JpegReaderCreate());
    if (!reader)
        return kErrorNoMemory;
    const int result = JpegResultOf(JpegReadHeader(reader.get(), file.data(), file.size(), kMaxDecoderBytes, &header));
    if (result != kSuccess)
        return result;
    if (header.components != 1 && header.components != 3 && header.components != 4)
        return kErrorFileFormat;
    return CheckImageSize(header.width, header.height, header.components == 1 ? 1 : 3);
}

// A row of CMYK samples to blue, green, red, in place (the row holds four bytes a pixel).
void CmykToBgr(std::uint8_t* row, int width, bool isInverted)
{
    for (int x = 0; x < width; ++x) {
        const std::uint8_t* cmyk = row + 4 * x;
        int c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!isInverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        const std::uint8_t blue = static_cast<std::uint8_t>(y * k / 255);
        const std::uint8_t green = static_cast<std::uint8_t>(m * k / 255);
        const std::uint8_t red = static_cast<std::uint8_t>(c * k / 255);
        row[3 * x] = blue;
        row[3 * x + 1] = green;
        row[3 * x + 2] = red;
    }
}

} // namespace

JpegQuality JpegQualityForFactor(int qualityFactor)
{
    JpegQuality settings;
    if (qualityFactor <= 0)
        return settings;
    const int factor = std::clamp(qualityFactor, 2, 255);
    settings.quality = 100 - ((factor - 2) * 99 + 126) / 253;
    settings.isFullChroma = settings.quality >= 90;
    return settings;
}

int JpegReadInfo(int, const FileBytes& file, ImageInfo& info)
{
    JpegReaderPtr reader;
    JpegHeader header{};
    const int result = OpenJpegReader(file, reader, header);
    if (result != kSuccess)
        return result;
    info.width = header.width;
    info.height = header.height;
    info.bitsPerPixel = header.components * 8;
    info.xResolution = JpegResolutionOf(header.densityUnit, header.xDensity);
    info.yResolution = JpegResolutionOf(header.densityUnit, header.yDensity);
    return kSuccess;
}

int JpegDecode(int, const FileBytes& file, int bitsPerPixel, ProgressReporter& progress, OwnedBitmap& bitmap)
{
    JpegReaderPtr reader;
    JpegHeader header{};
    int result = OpenJpegReader(file, reader, header);
    if (result != kSuccess)
        return result;
    const bool isGrey = header.components == 1 && bitsPerPixel != 24;
    const bool isCmyk = header.components == 4;
    result = bitmap.AllocateForDecoding(header.width, header.height, isGrey ? 8 : 24, kViewTopDown);
    if (result != kSuccess)
        return result;
    BitmapHandle& target = bitmap.get();
    target.xResolution = JpegResolutionOf(header.densityUnit, header.xDensity);
    target.yResolution = JpegResolutionOf(header.densityUnit, header.yDensity);

    result = JpegResultOf(JpegStartDecoding(reader.get(), isGrey ? kJpegOutputGrey : isCmyk ? kJpegOutputCmyk : kJpegOutputBgr));
    if (result != kSuccess)
        return result;
    // CMYK comes four bytes a pixel, wider than the row it goes to: through a band of its own.
    std::vector<std::uint8_t> cmykBand;
    if (isCmyk)
        cmykBand.resize(static_cast<std::size_t>(header.width) * 4 * kJpegBandRows);
    std::uint8_t* rows[kJpegBandRows];
    for (int top = 0; top < header.height; top += kJpegBandRows) {
        const int count = std::min(kJpegBandRows, header.height - top);
        for (int i = 0; i < count; ++i) {
            rows[i] = isCmyk ? cmykBand.data() + static_cast<std::size_t>(i) * header.width * 4
                             : target.pixels + static_cast<std::ptrdiff_t>(top + i) * target.bytesPerLine;
        }
        result = JpegResultOf(JpegReadRows(reader.get(), rows, count));
        if (result != kSuccess)
            return result;
        for (int i = 0; isCmyk && i < count; ++i) {
            CmykToBgr(rows[i], header.width, header.isInvertedCmyk != 0);
            std::copy_n(rows[i], static_cast<std::size_t>(header.width) * 3,
                        target.pixels + static_cast<std::ptrdiff_t>(top + i) * target.bytesPerLine);
        }
        if (!progress.Report(static_cast<int>(static_cast<std::int64_t>(top + count) * 100 / header.height)))
            return kErrorCancelled;
    }
    return JpegResultOf(JpegFinishDecoding(reader.get()));
}

int JpegEncode(int, const BitmapHandle& bitmap, int qualityFactor, ProgressReporter& progress, FileBytes& file)
{
    JpegWriterPtr writer(JpegWriterCreate());
    if (!writer)
        return kErrorNoMemory;
    const PixelBuffer view = TopDownView(bitmap);
    const JpegQuality quality = JpegQualityForFactor(qualityFactor);
    JpegSettings settings{};
    settings.width = view.width;
    settings.height = view.height;
    settings.isGrey = view.channels == 1;
    settings.quality = quality.quality;
    settings.isFullChroma = quality.isFullChroma;
    settings.xDensityPpi = bitmap.xResolution;
    settings.yDensityPpi = bitmap.yResolution;
    int result = JpegResultOf(JpegStartEncoding(writer.get(), &settings));
    if (result != kSuccess)
        return result == kErrorFileCorrupt ? kErrorCodec : result;

    std::uint8_t* rows[kJpegBandRows];
    for (int top = 0; top < view.height; top += kJpegBandRows) {
        const int count = std::min(kJpegBandRows, view.height - top);
        for (int i = 0; i < count; ++i)
            rows[i] = view.data + (top + i) * view.stride;
        result = JpegResultOf(JpegWriteRows(writer.get(), rows, count));
        if (result != kSuccess)
            return result == kErrorFileCorrupt ? kErrorCodec : result;
        if (!progress.Report(static_cast<int>(static_cast<std::int64_t>(top + count) * 90 / view.height)))
            return kErrorCancelled;
    }
    const unsigned char* coded = nullptr;
    std::size_t size = 0;
    result = JpegResultOf(JpegFinishEncoding(writer.get(), &coded, &size));
    if (result != kSuccess)
        return result == kErrorFileCorrupt ? kErrorCodec : result;
    file.assign(coded, coded + size);
    return kSuccess;
}

} // namespace imaging
