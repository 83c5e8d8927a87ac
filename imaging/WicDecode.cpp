// Reading the first frame of a file through WIC: its size, depth and resolution, and its
// pixels in bands of rows so that progress can be reported and cancelled between bands.
#include "imaging/WicCodec.h"

#include "imaging/FileStructure.h"
#include "imaging/WicSupport.h"

#include <algorithm>
#include <cstring>

namespace imaging {
namespace {

struct OpenedFrame {
    ComRef<IWICImagingFactory> factory;
    ComRef<IWICStream> stream;
    ComRef<IWICBitmapDecoder> decoder;
    ComRef<IWICBitmapFrameDecode> frame;
};

[[nodiscard]] int OpenFirstFrame(int format, const FileBytes& file, OpenedFrame& opened)
{
    const GUID* container = WicContainerFor(format);
    if (container == nullptr)
        return kErrorFileFormat;
    int result = CreateWicFactory(opened.factory);
    if (result != kSuccess)
        return result;
    if (FAILED(opened.factory->CreateStream(&opened.stream)))
        return kErrorCodec;
    // WIC only reads through this stream; the cast satisfies its signature.
    if (FAILED(opened.stream->InitializeFromMemory(const_cast<BYTE*>(file.data()), static_cast<DWORD>(file.size()))))
        return kErrorCodec;
    if (FAILED(opened.factory->CreateDecoder(*container, nullptr, &opened.decoder)))
        return kErrorCodec;
    HRESULT hr = opened.decoder->Initialize(opened.stream.Get(), WICDecodeMetadataCacheOnDemand);
    if (FAILED(hr))
        return DecodeFailure(hr);
    hr = opened.decoder->GetFrame(0, &opened.frame);
    return SUCCEEDED(hr) ? kSuccess : DecodeFailure(hr);
}

int BitsPerPixelOf(IWICImagingFactory* factory, const WICPixelFormatGUID& format)
{
    ComRef<IWICComponentInfo> component;
    ComRef<IWICPixelFormatInfo> info;
    UINT bits = 0;
    if (SUCCEEDED(factory->CreateComponentInfo(format, &component)) && SUCCEEDED(component.As(info))
        && SUCCEEDED(info->GetBitsPerPixel(&bits)))
        return static_cast<int>(bits);
    return 0;
}

[[nodiscard]] int ReadFrameInfo(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame, ImageInfo& info)
{
    UINT width = 0, height = 0;
    HRESULT hr = frame->GetSize(&width, &height);
    if (FAILED(hr))
        return DecodeFailure(hr);
    if (width == 0 || height == 0)
        return kErrorFileCorrupt;
    if (width > static_cast<UINT>(kMaxSidePx) || height > static_cast<UINT>(kMaxSidePx))
        return kErrorImageTooLarge;
    WICPixelFormatGUID pixelFormat{};
    hr = frame->GetPixelFormat(&pixelFormat);
    if (FAILED(hr))
        return DecodeFailure(hr);
    double dpiX = 0, dpiY = 0;
    if (FAILED(frame->GetResolution(&dpiX, &dpiY)))
        dpiX = dpiY = 0;

    info.width = static_cast<int>(width);
    info.height = static_cast<int>(height);
    info.bitsPerPixel = BitsPerPixelOf(factory, pixelFormat);
    info.xResolution = ResolutionFromDpi(dpiX);
    info.yResolution = ResolutionFromDpi(dpiY);
    return kSuccess;
}

bool IsIndexed(const WICPixelFormatGUID& format)
{
    return format == GUID_WICPixelFormat1bppIndexed || format == GUID_WICPixelFormat2bppIndexed
           || format == GUID_WICPixelFormat4bppIndexed || format == GUID_WICPixelFormat8bppIndexed;
}

bool IsGreyFormat(const WICPixelFormatGUID& format)
{
    return format == GUID_WICPixelFormat8bppGray || format == GUID_WICPixelFormatBlackWhite
           || format == GUID_WICPixelFormat2bppGray || format == GUID_WICPixelFormat4bppGray
           || format == GUID_WICPixelFormat16bppGray;
}

// An indexed frame whose palette holds only greys is a grey image.
bool HasGreyPalette(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame)
{
    ComRef<IWICPalette> palette;
    if (FAILED(factory->CreatePalette(&palette)) || FAILED(frame->CopyPalette(palette.Get())))
        return false;
    WICColor colours[256];
    UINT count = 0;
    if (FAILED(palette->GetColors(256, colours, &count)) || count == 0)
        return false;
    return std::all_of(colours, colours + count, [](WICColor c) {
        return (c & 0xFF) == ((c >> 8) & 0xFF) && (c & 0xFF) == ((c >> 16) & 0xFF);
    });
}

// One band row from WIC (1 grey byte or 4 BGRX bytes a pixel) into a stored row.
void PackRow(const std::uint8_t* in, int inBytes, std::uint8_t* out, int outChannels, int width)
{
    if (inBytes == 1 && outChannels == 1) {
        std::memcpy(out, in, static_cast<std::size_t>(width));
    } else if (inBytes == 1) {
        for (int x = 0; x < width; ++x)
            out[3 * x] = out[3 * x + 1] = out[3 * x + 2] = in[x];
    } else if (outChannels == 1) {
        for (int x = 0; x < width; ++x)
            out[x] = in[4 * x];
    } else {
        for (int x = 0; x < width; ++x) {
            out[3 * x] = in[4 * x];
            out[3 * x + 1] = in[4 * x + 1];
            out[3 * x + 2] = in[4 * x + 2];
        }
    }
}

// A decoder's failure on a TIFF whose structure is sound and whose compression is not
// one every decoder reads means a variant it does not handle, not damage.
int ExplainFailure(int format, const FileBytes& file, int result)
{
    if (result == kErrorFileCorrupt && format == kFormatTif && !HasCommonTiffCompression(file))
        return kErrorFileFormat;
    return result;
}

// WIC's decoders may hold the whole frame in its own pixel format before handing out
// rows: that frame, not only our bitmap, must stay within the limits before a row is
// asked for. A format of unknown depth counts as 32 bits.
[[nodiscard]] int CheckDecoderFrame(IWICImagingFactory* factory, const WICPixelFormatGUID& format, const ImageInfo& info)
{
    const int knownBits = BitsPerPixelOf(factory, format);
    const int bits = knownBits > 0 ? knownBits : 32;
    const std::int64_t frameBytes = (static_cast<std::int64_t>(info.width) * bits + 7) / 8 * info.height;
    return frameBytes > kMaxImageBytes ? kErrorImageTooLarge : kSuccess;
}

int ReadInfo(int format, const FileBytes& file, ImageInfo& info)
{
    ScopedComInit com;
    if (!com.IsReady())
        return kErrorCodec;
    OpenedFrame opened;
    const int result = OpenFirstFrame(format, file, opened);
    if (result != kSuccess)
        return result;
    return ReadFrameInfo(opened.factory.Get(), opened.frame.Get(), info);
}

int Decode(int format, const FileBytes& file, int bitsPerPixel, ProgressReporter& progress, OwnedBitmap& bitmap)
{
    ScopedComInit com;
    if (!com.IsReady())
        return kErrorCodec;
    OpenedFrame opened;
    int result = OpenFirstFrame(format, file, opened);
    if (result != kSuccess)
        return result;
    ImageInfo info;
    result = ReadFrameInfo(opened.factory.Get(), opened.frame.Get(), info);
    if (result != kSuccess)
        return result;

    WICPixelFormatGUID nativeFormat{};
    if (FAILED(opened.frame->GetPixelFormat(&nativeFormat)))
        return kErrorFileCorrupt;
    result = CheckDecoderFrame(opened.factory.Get(), nativeFormat, info);
    if (result != kSuccess)
        return result;
    const bool isGreyFile = IsGreyFormat(nativeFormat)
                            || (IsIndexed(nativeFormat) && HasGreyPalette(opened.factory.Get(), opened.frame.Get()));
    const bool takesGreyBytes = IsGreyFormat(nativeFormat);
    const WICPixelFormatGUID& wanted = takesGreyBytes ? GUID_WICPixelFormat8bppGray : GUID_WICPixelFormat32bppBGR;
    const int inBytes = takesGreyBytes ? 1 : 4;
    const int outBitsPerPixel = (isGreyFile && bitsPerPixel != 24) ? 8 : 24;

    ComRef<IWICBitmapSource> source = opened.frame;
    if (nativeFormat != wanted) {
        ComRef<IWICFormatConverter> converter;
        if (FAILED(opened.factory->CreateFormatConverter(&converter)))
            return kErrorCodec;
        const HRESULT hr = converter->Initialize(opened.frame.Get(), wanted, WICBitmapDitherTypeNone, nullptr, 0.0,
                                                 WICBitmapPaletteTypeCustom);
        if (FAILED(hr))
            return DecodeFailure(hr);
        source = converter;
    }

    result = bitmap.Allocate(info.width, info.height, outBitsPerPixel, kViewTopDown);
    if (result != kSuccess)
        return result;
    BitmapHandle& target = bitmap.get();
    target.xResolution = info.xResolution;
    target.yResolution = info.yResolution;

    const UINT bandStride = static_cast<UINT>(info.width) * inBytes;
    const int bandRows = static_cast<int>(std::clamp<std::size_t>(kBandBytes / bandStride, 1, info.height));
    std::vector<std::uint8_t> band;
    try {
        band.resize(static_cast<std::size_t>(bandStride) * bandRows);
    } catch (const std::bad_alloc&) {
        return kErrorNoMemory;
    }
    const PixelBuffer rows = TopDownView(target);
    for (int top = 0; top < info.height; top += bandRows) {
        const int count = std::min(bandRows, info.height - top);
        const WICRect rect{0, top, info.width, count};
        const HRESULT hr = source->CopyPixels(&rect, bandStride, bandStride * count, band.data());
        if (FAILED(hr))
            return DecodeFailure(hr);
        for (int y = 0; y < count; ++y)
            PackRow(band.data() + static_cast<std::size_t>(y) * bandStride, inBytes,
                    rows.data + (top + y) * rows.stride, rows.channels, info.width);
        if (!progress.Report(static_cast<int>(static_cast<std::int64_t>(top + count) * 100 / info.height)))
            return kErrorCancelled;
    }
    return kSuccess;
}

} // namespace

int ResolutionFromDpi(double dpi)
{
    if (!(dpi >= 1.0 && dpi <= 1000000.0))
        return kDefaultResolution;
    return static_cast<int>(dpi + 0.5);
}

int WicReadInfo(int format, const FileBytes& file, ImageInfo& info)
{
    return ExplainFailure(format, file, ReadInfo(format, file, info));
}

int WicDecode(int format, const FileBytes& file, int bitsPerPixel, ProgressReporter& progress, OwnedBitmap& bitmap)
{
    return ExplainFailure(format, file, Decode(format, file, bitsPerPixel, progress, bitmap));
}

} // namespace imaging
