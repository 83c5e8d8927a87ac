// L_LoadBitmap and L_SaveBitmap: the codec of the file or format does the work; a bitmap
// is handed to the caller only when it is complete, and a file is replaced only when
// its new contents are complete.
#include "imaging/Codecs.h"

#include "imaging/FileIo.h"
#include "imaging/ImagingApi.h"

#include <new>

int L_LoadBitmap(const char* fileName, imaging::BitmapHandle* bitmap, int bitsPerPixel, int colorOrder,
                 const imaging::LoadOptions*, imaging::FileInfo* fileInfo)
try {
    using namespace imaging;
    if (fileName == nullptr || bitmap == nullptr || (bitsPerPixel != 0 && bitsPerPixel != 24)
        || colorOrder != kColorOrderBgr)
        return kErrorInvalidParameter;
    FileBytes file;
    const Codec* codec = nullptr;
    int result = OpenImageFile(fileName, file, codec);
    if (result != kSuccess)
        return result;
    ImageInfo image;
    if (fileInfo != nullptr) {
        result = codec->readInfo(codec->format, file, image);
        if (result != kSuccess)
            return result;
    }

    ProgressReporter progress;
    if (!progress.Start())
        return kErrorCancelled;
    OwnedBitmap loaded;
    result = codec->decode(codec->format, file, bitsPerPixel, progress, loaded);
    if (result != kSuccess)
        return result;
    *bitmap = loaded.Release();
    if (fileInfo != nullptr)
        FillFileInfo(*codec, file, image, *fileInfo);
    progress.Finish();
    return kSuccess;
} catch (const std::bad_alloc&) {
    return imaging::kErrorNoMemory;
}

int L_SaveBitmap(const char* fileName, const imaging::BitmapHandle* bitmap, int format, int bitsPerPixel,
                 int qualityFactor, const imaging::SaveOptions*)
try {
    using namespace imaging;
    if (fileName == nullptr || bitsPerPixel != 0 || qualityFactor < 0 || qualityFactor > 255)
        return kErrorInvalidParameter;
    int result = CheckBitmap(bitmap);
    if (result != kSuccess)
        return result;
    const Codec* codec = CodecForFormat(format);
    if (codec == nullptr || codec->encode == nullptr)
        return kErrorFormatNotWritable;

    ProgressReporter progress;
    if (!progress.Start())
        return kErrorCancelled;
    FileBytes file;
    result = codec->encode(format, *bitmap, qualityFactor, progress, file);
    if (result != kSuccess)
        return result;
    if (!progress.Report(95))
        return kErrorCancelled;
    return WriteFileReplacing(fileName, file.data(), file.size());
} catch (const std::bad_alloc&) {
    return imaging::kErrorNoMemory;
}
