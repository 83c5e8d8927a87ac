// Writing JPEG, TIFF, GIF and BMP through WIC into memory, in bands of rows so that
// progress can be reported and cancelled between bands. GIF frames are written from
// 8-bit indices with our own palette.
#include "imaging/WicCodec.h"

#include "imaging/ColourQuantiser.h"
#include "imaging/WicSupport.h"

#include <algorithm>
#include <cstring>

namespace imaging {
namespace {

// Wine 8's encoder accepts the option but codes at its default whatever it says.
[[nodiscard]] HRESULT SetJpegQuality(IPropertyBag2* options, int qualityFactor)
{
    if (qualityFactor == 0)
        return S_OK;
    PROPBAG2 option{};
    option.pstrName = const_cast<LPOLESTR>(L"ImageQuality");
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_R4;
    value.fltVal = JpegImageQuality(qualityFactor);
    return options->Write(1, &option, &value);
}

[[nodiscard]] HRESULT SetPalette(IWICImagingFactory* factory, IWICBitmapFrameEncode* frame,
                                 const std::vector<std::uint32_t>& colours)
{
    std::vector<WICColor> entries;
    for (std::uint32_t colour : colours)
        entries.push_back(0xFF000000u | colour);
    ComRef<IWICPalette> palette;
    HRESULT hr = factory->CreatePalette(&palette);
    if (SUCCEEDED(hr))
        hr = palette->InitializeCustom(entries.data(), static_cast<UINT>(entries.size()));
    if (SUCCEEDED(hr))
        hr = frame->SetPalette(palette.Get());
    return hr;
}

// The rows WIC is given: either indices (GIF and grey BMP) or the bitmap's own rows,
// widened when the encoder chose a wider pixel format than asked for.
struct RowSource {
    PixelBuffer rows;     // top-down view of what is written
    int outBytes = 0;     // bytes per pixel WIC expects
};

void WidenRow(const std::uint8_t* in, int inChannels, std::uint8_t* out, int outBytes, int width)
{
    for (int x = 0; x < width; ++x) {
        const std::uint8_t* pixel = in + x * inChannels;
        std::uint8_t* target = out + x * outBytes;
        for (int c = 0; c < 3; ++c)
            target[c] = pixel[inChannels == 1 ? 0 : c];
        if (outBytes == 4)
            target[3] = 0xFF;
    }
}

[[nodiscard]] int WriteRows(IWICBitmapFrameEncode* frame, const RowSource& source, ProgressReporter& progress)
{
    const PixelBuffer& rows = source.rows;
    const UINT stride = static_cast<UINT>(rows.width) * source.outBytes;
    const int bandRows = static_cast<int>(std::clamp<std::size_t>(kBandBytes / stride, 1, rows.height));
    std::vector<std::uint8_t> band;
    try {
        band.resize(static_cast<std::size_t>(stride) * bandRows);
    } catch (const std::bad_alloc&) {
        return kErrorNoMemory;
    }
    for (int top = 0; top < rows.height; top += bandRows) {
        const int count = std::min(bandRows, rows.height - top);
        for (int y = 0; y < count; ++y) {
            const std::uint8_t* in = rows.data + (top + y) * rows.stride;
            std::uint8_t* out = band.data() + static_cast<std::size_t>(y) * stride;
            if (source.outBytes == rows.channels)
                std::memcpy(out, in, stride);
            else
                WidenRow(in, rows.channels, out, source.outBytes, rows.width);
        }
        if (FAILED(frame->WritePixels(count, stride, stride * count, band.data())))
            return kErrorCodec;
        if (!progress.Report(50 + static_cast<int>(static_cast<std::int64_t>(top + count) * 40 / rows.height)))
            return kErrorCancelled;
    }
    return kSuccess;
}

[[nodiscard]] int CopyStream(IStream* stream, FileBytes& file)
{
    STATSTG stat{};
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)))
        return kErrorCodec;
    HGLOBAL memory = nullptr;
    if (FAILED(GetHGlobalFromStream(stream, &memory)))
        return kErrorCodec;
    const void* bytes = GlobalLock(memory);
    if (bytes == nullptr)
        return kErrorCodec;
    try {
        file.assign(static_cast<const std::uint8_t*>(bytes),
                    static_cast<const std::uint8_t*>(bytes) + stat.cbSize.QuadPart);
    } catch (const std::bad_alloc&) {
        GlobalUnlock(memory);
        return kErrorNoMemory;
    }
    GlobalUnlock(memory);
    return kSuccess;
}

} // namespace

float JpegImageQuality(int qualityFactor)
{
    const int factor = std::clamp(qualityFactor, 2, 255);
    return static_cast<float>(255 - factor) / 253.0f;
}

int WicEncode(int format, const BitmapHandle& bitmap, int qualityFactor, ProgressReporter& progress, FileBytes& file)
{
    const GUID* container = WicContainerFor(format);
    if (container == nullptr || format == kFormatPng)
        return kErrorFormatNotWritable;
    ScopedComInit com;
    if (!com.IsReady())
        return kErrorCodec;
    ComRef<IWICImagingFactory> factory;
    int result = CreateWicFactory(factory);
    if (result != kSuccess)
        return result;

    const PixelBuffer view = TopDownView(bitmap);
    const bool isGrey = view.channels == 1;
    // GIF is always indexed; a grey BMP is written with a grey palette, as BMP has no grey format.
    const bool isIndexed = format == kFormatGif || (isGrey && format == kFormatBmp);
    IndexedImage indexed;
    RowSource source;
    if (isIndexed) {
        try {
            if (!MakeIndexed(view, progress.Span(0, 50), indexed))
                return kErrorCancelled;
        } catch (const std::bad_alloc&) {
            return kErrorNoMemory;
        }
        source.rows = PixelBuffer{indexed.indices.data(), view.width, view.height, 1, view.width};
        source.outBytes = 1;
    } else {
        source.rows = view;
        source.outBytes = view.channels;
    }

    ComRef<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)))
        return kErrorNoMemory;
    ComRef<IWICBitmapEncoder> encoder;
    ComRef<IWICBitmapFrameEncode> frame;
    ComRef<IPropertyBag2> options;
    if (FAILED(factory->CreateEncoder(*container, nullptr, &encoder))
        || FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache))
        || FAILED(encoder->CreateNewFrame(&frame, &options)))
        return kErrorCodec;
    if (format == kFormatJpeg && FAILED(SetJpegQuality(options.Get(), qualityFactor)))
        return kErrorCodec;
    if (FAILED(frame->Initialize(options.Get()))
        || FAILED(frame->SetSize(static_cast<UINT>(view.width), static_cast<UINT>(view.height)))
        || FAILED(frame->SetResolution(bitmap.xResolution, bitmap.yResolution)))
        return kErrorCodec;

    const WICPixelFormatGUID asked = isIndexed ? GUID_WICPixelFormat8bppIndexed
                                     : isGrey  ? GUID_WICPixelFormat8bppGray
                                               : GUID_WICPixelFormat24bppBGR;
    WICPixelFormatGUID given = asked;
    if (FAILED(frame->SetPixelFormat(&given)))
        return kErrorCodec;
    if (given != asked) {
        // An encoder without grey takes colour: the greys are widened row by row.
        if (isIndexed || (given != GUID_WICPixelFormat24bppBGR && given != GUID_WICPixelFormat32bppBGR))
            return kErrorCodec;
        source.outBytes = given == GUID_WICPixelFormat24bppBGR ? 3 : 4;
    }
    if (isIndexed && FAILED(SetPalette(factory.Get(), frame.Get(), indexed.palette)))
        return kErrorCodec;

    result = WriteRows(frame.Get(), source, progress);
    if (result != kSuccess)
        return result;
    if (FAILED(frame->Commit()) || FAILED(encoder->Commit()))
        return kErrorCodec;
    return CopyStream(stream.Get(), file);
}

} // namespace imaging
