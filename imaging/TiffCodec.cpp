// TIFF through libtiff. Plain 8-bit grey and RGB images in strips, the common case, are
// read a scanline at a time straight into the bitmap's rows; every other variant (tiles,
// JPEG, YCbCr, palettes, 1 to 16 bits, CMYK, separate planes) goes through libtiff's own
// conversion to RGBA, a band of whole strips or tiles at a time.
#include "imaging/TiffCodec.h"

#include "imaging/TiffStream.h"

#include <algorithm>
#include <vector>

namespace imaging {
namespace {

// Rows a strip of ours holds: about this many bytes.
constexpr std::int64_t kStripBytes = 256 << 10;

struct TiffLayout {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint16_t bitsPerSample = 1;
    std::uint16_t samplesPerPixel = 1;
    std::uint16_t photometric = PHOTOMETRIC_MINISBLACK;
    std::uint16_t planarConfig = PLANARCONFIG_CONTIG;
    std::uint16_t compression = COMPRESSION_NONE;
};

int TiffResolutionOf(TIFF* tiff, ttag_t tag)
{
    float density = 0;
    std::uint16_t unit = RESUNIT_INCH;
    if (TIFFGetField(tiff, tag, &density) != 1)
        return kDefaultResolution;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_RESOLUTIONUNIT, &unit);
    if (unit == RESUNIT_INCH)
        return ResolutionFromDpi(density);
    if (unit == RESUNIT_CENTIMETER)
        return ResolutionFromDpi(density * 2.54);
    return kDefaultResolution;
}

// The failure of a file libtiff could not open or read.
int TiffFailureOf(const TiffStream& stream)
{
    return stream.IsOutOfMemory() ? kErrorNoMemory : kErrorFileCorrupt;
}

bool IsGreyColourMap(TIFF* tiff, const TiffLayout& layout)
{
    std::uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
    if (layout.bitsPerSample > 8 || TIFFGetField(tiff, TIFFTAG_COLORMAP, &red, &green, &blue) != 1)
        return false;
    for (int i = 0; i < 1 << layout.bitsPerSample; ++i) {
        if (red[i] != green[i] || green[i] != blue[i])
            return false;
    }
    return true;
}

bool IsGreyImage(TIFF* tiff, const TiffLayout& layout)
{
    if (layout.photometric == PHOTOMETRIC_MINISBLACK || layout.photometric == PHOTOMETRIC_MINISWHITE)
        return true;
    return layout.photometric == PHOTOMETRIC_PALETTE && IsGreyColourMap(tiff, layout);
}

// Reads the first directory's layout and checks what the bitmap would need.
[[nodiscard]] int ReadLayout(const TiffStream& stream, TiffLayout& layout)
{
    TIFF* tiff = stream.Get();
    if (tiff == nullptr)
        return TiffFailureOf(stream);
    if (TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &layout.width) != 1
        || TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &layout.height) != 1 || layout.width == 0 || layout.height == 0)
        return kErrorFileCorrupt;
    if (layout.width > static_cast<std::uint32_t>(kMaxSidePx) || layout.height > static_cast<std::uint32_t>(kMaxSidePx))
        return kErrorImageTooLarge;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &layout.bitsPerSample);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &layout.samplesPerPixel);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &layout.planarConfig);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &layout.compression);
    if (TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &layout.photometric) != 1)
        layout.photometric = layout.samplesPerPixel >= 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK;
    if (!TIFFIsCODECConfigured(layout.compression))
        return kErrorFileFormat;
    return CheckImageSize(static_cast<int>(layout.width), static_cast<int>(layout.height), 3);
}

bool IsPlainStripImage(TIFF* tiff, const TiffLayout& layout)
{
    if (TIFFIsTiled(tiff) || layout.bitsPerSample != 8 || layout.planarConfig != PLANARCONFIG_CONTIG
        || layout.compression == COMPRESSION_JPEG || layout.compression == COMPRESSION_OJPEG)
        return false;
    const bool isGrey = (layout.photometric == PHOTOMETRIC_MINISBLACK || layout.photometric == PHOTOMETRIC_MINISWHITE)
                        && layout.samplesPerPixel == 1;
    return isGrey || (layout.photometric == PHOTOMETRIC_RGB && layout.samplesPerPixel == 3);
}

// One scanline as read (grey bytes or red, green, blue) made into a row of the bitmap, in place.
void FinishPlainRow(std::uint8_t* row, int width, const TiffLayout& layout, int channels)
{
    if (layout.samplesPerPixel == 3) {
        for (int x = 0; x < width; ++x)
            std::swap(row[3 * x], row[3 * x + 2]);
        return;
    }
    if (layout.photometric == PHOTOMETRIC_MINISWHITE) {
        for (int x = 0; x < width; ++x)
            row[x] = static_cast<std::uint8_t>(255 - row[x]);
    }
    if (channels == 3) {
        for (int x = width - 1; x >= 0; --x)
            row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = row[x];
    }
}

[[nodiscard]] int ReadPlainStrips(TIFF* tiff, const TiffLayout& layout, ProgressReporter& progress, BitmapHandle& target)
{
    const int channels = ChannelsOf(target);
    for (std::uint32_t y = 0; y < layout.height; ++y) {
        std::uint8_t* row = target.pixels + static_cast<std::ptrdiff_t>(y) * target.bytesPerLine;
        if (TIFFReadScanline(tiff, row, y, 0) != 1)
            return kErrorFileCorrupt;
        FinishPlainRow(row, static_cast<int>(layout.width), layout, channels);
        if (!progress.Report(static_cast<int>(static_cast<std::int64_t>(y + 1) * 100 / layout.height)))
            return kErrorCancelled;
    }
    return kSuccess;
}

[[nodiscard]] int ReadThroughRgba(TIFF* tiff, const TiffLayout& layout, ProgressReporter& progress, BitmapHandle& target)
{
    char message[1024] = {};
    if (!TIFFRGBAImageOK(tiff, message))
        return kErrorFileFormat;
    TIFFRGBAImage image{};
    if (!TIFFRGBAImageBegin(&image, tiff, 1, message))
        return kErrorFileCorrupt;
    image.req_orientation = ORIENTATION_TOPLEFT;

    // A band holds whole strips or tiles, so that none is decoded twice.
    std::uint32_t unitRows = 0;
    if (TIFFIsTiled(tiff))
        TIFFGetField(tiff, TIFFTAG_TILELENGTH, &unitRows);
    else
        TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &unitRows);
    unitRows = std::clamp<std::uint32_t>(unitRows, 1, layout.height);
    const std::uint32_t bandRows = std::min(layout.height, unitRows * std::max<std::uint32_t>(1, 16 / unitRows));
    std::vector<std::uint32_t> band(static_cast<std::size_t>(layout.width) * bandRows);

    const int channels = ChannelsOf(target);
    int result = kSuccess;
    for (std::uint32_t top = 0; top < layout.height && result == kSuccess; top += bandRows) {
        const std::uint32_t count = std::min(bandRows, layout.height - top);
        image.row_offset = static_cast<int>(top);
        image.col_offset = 0;
        if (!TIFFRGBAImageGet(&image, band.data(), layout.width, count)) {
            result = kErrorFileCorrupt;
            break;
        }
        for (std::uint32_t y = 0; y < count; ++y) {
            const std::uint32_t* in = band.data() + static_cast<std::size_t>(y) * layout.width;
            std::uint8_t* row = target.pixels + static_cast<std::ptrdiff_t>(top + y) * target.bytesPerLine;
            for (std::uint32_t x = 0; x < layout.width; ++x) {
                if (channels == 1) {
                    row[x] = static_cast<std::uint8_t>(TIFFGetR(in[x]));
                } else {
                    row[3 * x] = static_cast<std::uint8_t>(TIFFGetB(in[x]));
                    row[3 * x + 1] = static_cast<std::uint8_t>(TIFFGetG(in[x]));
                    row[3 * x + 2] = static_cast<std::uint8_t>(TIFFGetR(in[x]));
                }
            }
        }
        if (!progress.Report(static_cast<int>(static_cast<std::int64_t>(top + count) * 100 / layout.height)))
            result = kErrorCancelled;
    }
    TIFFRGBAImageEnd(&image);
    return result;
}

} // namespace

int TiffReadInfo(int, const FileBytes& file, ImageInfo& info)
{
    TiffStream stream(file);
    TiffLayout layout;
    const int result = ReadLayout(stream, layout);
    if (result != kSuccess)
        return result;
    info.width = static_cast<int>(layout.width);
    info.height = static_cast<int>(layout.height);
    info.bitsPerPixel = layout.bitsPerSample * layout.samplesPerPixel;
    info.xResolution = TiffResolutionOf(stream.Get(), TIFFTAG_XRESOLUTION);
    info.yResolution = TiffResolutionOf(stream.Get(), TIFFTAG_YRESOLUTION);
    return kSuccess;
}

int TiffDecode(int, const FileBytes& file, int bitsPerPixel, ProgressReporter& progress, OwnedBitmap& bitmap)
{
    TiffStream stream(file);
    TiffLayout layout;
    int result = ReadLayout(stream, layout);
    if (result != kSuccess)
        return result;
    TIFF* tiff = stream.Get();
    const bool isGrey = bitsPerPixel != 24 && IsGreyImage(tiff, layout);
    result = bitmap.AllocateForDecoding(static_cast<int>(layout.width), static_cast<int>(layout.height), isGrey ? 8 : 24,
                             kViewTopDown);
    if (result != kSuccess)
        return result;
    BitmapHandle& target = bitmap.get();
    target.xResolution = TiffResolutionOf(tiff, TIFFTAG_XRESOLUTION);
    target.yResolution = TiffResolutionOf(tiff, TIFFTAG_YRESOLUTION);

    result = IsPlainStripImage(tiff, layout) ? ReadPlainStrips(tiff, layout, progress, target)
                                             : ReadThroughRgba(tiff, layout, progress, target);
    if (result == kSuccess && stream.HasFailed())
        result = kErrorFileCorrupt;
    if (result == kErrorFileCorrupt && stream.IsOutOfMemory())
        result = kErrorNoMemory;
    return result;
}

int TiffEncode(int, const BitmapHandle& bitmap, int, ProgressReporter& progress, FileBytes& file)
{
    TiffStream stream(&file);
    TIFF* tiff = stream.Get();
    if (tiff == nullptr)
        return stream.IsOutOfMemory() ? kErrorNoMemory : kErrorCodec;
    const PixelBuffer view = TopDownView(bitmap);
    const int channels = view.channels;
    const std::int64_t rowBytes = static_cast<std::int64_t>(view.width) * channels;
    const auto stripRows = static_cast<std::uint32_t>(std::clamp<std::int64_t>(kStripBytes / rowBytes, 1, view.height));
    const bool isSet =
        TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(view.width)) == 1
        && TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(view.height)) == 1
        && TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8) == 1
        && TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, channels) == 1
        && TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, channels == 1 ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_RGB) == 1
        && TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG) == 1
        && TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_LZW) == 1
        && TIFFSetField(tiff, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL) == 1
        && TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, stripRows) == 1
        && TIFFSetField(tiff, TIFFTAG_XRESOLUTION, static_cast<float>(bitmap.xResolution)) == 1
        && TIFFSetField(tiff, TIFFTAG_YRESOLUTION, static_cast<float>(bitmap.yResolution)) == 1
        && TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH) == 1;
    if (!isSet)
        return kErrorCodec;

    // The encoder works on the row it is given (the predictor rewrites it), so each row is copied first.
    std::vector<std::uint8_t> row(static_cast<std::size_t>(rowBytes));
    for (int y = 0; y < view.height; ++y) {
        const std::uint8_t* in = view.data + y * view.stride;
        if (channels == 1) {
            std::copy_n(in, row.size(), row.data());
        } else {
            for (int x = 0; x < view.width; ++x) {
                row[3 * x] = in[3 * x + 2];
                row[3 * x + 1] = in[3 * x + 1];
                row[3 * x + 2] = in[3 * x];
            }
        }
        if (TIFFWriteScanline(tiff, row.data(), static_cast<std::uint32_t>(y), 0) != 1)
            return stream.IsOutOfMemory() ? kErrorNoMemory : kErrorCodec;
        if (!progress.Report(static_cast<int>(static_cast<std::int64_t>(y + 1) * 90 / view.height)))
            return kErrorCancelled;
    }
    if (!stream.Close())
        return stream.IsOutOfMemory() ? kErrorNoMemory : kErrorCodec;
    return kSuccess;
}

} // namespace imaging
