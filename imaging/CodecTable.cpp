// The codec of each format: signature, structural check, measuring, decoding, encoding.
// JPEG, TIFF, GIF and PNG go through libjpeg-turbo, libtiff, giflib and libpng; BMP and
// PCX are our own.
#include "imaging/Codecs.h"

#include "imaging/BmpCodec.h"
#include "imaging/FileStructure.h"
#include "imaging/GifCodec.h"
#include "imaging/JpegCodec.h"
#include "imaging/PcxCodec.h"
#include "imaging/PngCodec.h"
#include "imaging/TiffCodec.h"

#include <cstring>

namespace imaging {
namespace {

bool StartsWith(const FileBytes& file, const void* signature, std::size_t length)
{
    return file.size() >= length && std::memcmp(file.data(), signature, length) == 0;
}

bool IsJpegFile(const FileBytes& file) { return StartsWith(file, "\xFF\xD8\xFF", 3); }
bool IsTiffFile(const FileBytes& file) { return StartsWith(file, "II*\0", 4) || StartsWith(file, "MM\0*", 4); }
bool IsGifFile(const FileBytes& file) { return StartsWith(file, "GIF87a", 6) || StartsWith(file, "GIF89a", 6); }
bool IsBmpFile(const FileBytes& file) { return StartsWith(file, "BM", 2); }
bool IsPngFile(const FileBytes& file) { return StartsWith(file, "\x89PNG\r\n\x1A\n", 8); }

const Codec kCodecs[] = {
    {kFormatJpeg, "JPG", IsJpegFile, nullptr, JpegReadInfo, JpegDecode, JpegEncode},
    {kFormatTif, "TIF", IsTiffFile, nullptr, TiffReadInfo, TiffDecode, TiffEncode},
    {kFormatGif, "GIF", IsGifFile, nullptr, GifReadInfo, GifDecode, GifEncode},
    {kFormatBmp, "BMP", IsBmpFile, CheckBmpStructure, BmpReadInfo, BmpDecode, BmpEncode},
    {kFormatPcx, "PCX", IsPcxFile, nullptr, PcxReadInfo, PcxDecode, PcxEncode},
    {kFormatPng, "PNG", IsPngFile, nullptr, PngReadInfo, PngDecode, nullptr},
};

} // namespace

const Codec* CodecForFile(const FileBytes& file)
{
    for (const Codec& codec : kCodecs) {
        if (codec.matches(file))
            return &codec;
    }
    return nullptr;
}

const Codec* CodecForFormat(int format)
{
    for (const Codec& codec : kCodecs) {
        if (codec.format == format)
            return &codec;
    }
    return nullptr;
}

} // namespace imaging
