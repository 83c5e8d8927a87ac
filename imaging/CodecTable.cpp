// The codec of each format: signature, structural check, measuring, decoding, encoding.
#include "imaging/Codecs.h"

#include "imaging/BmpCodec.h"
#include "imaging/FileStructure.h"
#include "imaging/JpegInfo.h"
#include "imaging/PcxCodec.h"
#include "imaging/WicCodec.h"

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
    {kFormatJpeg, "JPG", IsJpegFile, CheckJpegStructure, JpegReadInfo, WicDecode, WicEncode},
    {kFormatTif, "TIF", IsTiffFile, CheckTiffStructure, WicReadInfo, WicDecode, WicEncode},
    {kFormatGif, "GIF", IsGifFile, CheckGifStructure, WicReadInfo, WicDecode, WicEncode},
    {kFormatBmp, "BMP", IsBmpFile, CheckBmpStructure, BmpReadInfo, BmpDecode, WicEncode},
    {kFormatPcx, "PCX", IsPcxFile, nullptr, PcxReadInfo, PcxDecode, PcxEncode},
    {kFormatPng, "PNG", IsPngFile, CheckPngStructure, WicReadInfo, WicDecode, nullptr},
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
