// L_FileInfo: what a file holds, from its headers, without decoding its pixels; and the
// opening of an image file that L_FileInfo and L_LoadBitmap share.
#include "imaging/Codecs.h"

#include "imaging/FileIo.h"
#include "imaging/ImagingApi.h"

#include <new>

namespace imaging {

int OpenImageFile(const char* path, FileBytes& file, const Codec*& codec)
{
    const int result = ReadWholeFile(path, file);
    if (result != kSuccess)
        return result;
    codec = CodecForFile(file);
    if (codec == nullptr)
        return kErrorFileFormat;
    if (IsFilterIgnored(codec->filterName))
        return kErrorFilterIgnored;
    return codec->check != nullptr ? codec->check(file) : kSuccess;
}

int ResolutionFromDpi(double dpi)
{
    if (!(dpi >= 1.0 && dpi <= 1000000.0))
        return kDefaultResolution;
    return static_cast<int>(dpi + 0.5);
}

void FillFileInfo(const Codec& codec, const FileBytes& file, const ImageInfo& image, FileInfo& info)
{
    info.format = codec.format;
    info.width = image.width;
    info.height = image.height;
    info.bitsPerPixel = image.bitsPerPixel;
    info.sizeDisk = static_cast<int>(file.size());
    info.xResolution = image.xResolution;
    info.yResolution = image.yResolution;
}

} // namespace imaging

int L_FileInfo(const char* fileName, imaging::FileInfo* info, unsigned flags, const imaging::LoadOptions*)
try {
    using namespace imaging;
    if (fileName == nullptr || info == nullptr || flags != 0)
        return kErrorInvalidParameter;
    FileBytes file;
    const Codec* codec = nullptr;
    int result = OpenImageFile(fileName, file, codec);
    if (result != kSuccess)
        return result;
    ImageInfo image;
    result = codec->readInfo(codec->format, file, image);
    if (result != kSuccess)
        return result;
    FillFileInfo(*codec, file, image, *info);
    return kSuccess;
} catch (const std::bad_alloc&) {
    return imaging::kErrorNoMemory;
}
