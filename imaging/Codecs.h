// The codecs behind L_FileInfo, L_LoadBitmap and L_SaveBitmap, one row per format:
// how a file of the format is recognised, checked, measured, decoded and encoded.
#pragma once

#include "imaging/BitmapStorage.h"
#include "imaging/StatusProgress.h"

#include <cstdint>
#include <vector>

namespace imaging {

using FileBytes = std::vector<std::uint8_t>;

// What a codec learns from a file's headers.
struct ImageInfo {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    int xResolution = kDefaultResolution;
    int yResolution = kDefaultResolution;
};

struct Codec {
    int format;
    const char* filterName;
    bool (*matches)(const FileBytes& file);
    // Structural checks made before any decoder sees the bytes (null: the decoder checks).
    int (*check)(const FileBytes& file);
    int (*readInfo)(int format, const FileBytes& file, ImageInfo& info);
    // bitsPerPixel: 0 keeps grey images grey, 24 makes every image colour.
    int (*decode)(int format, const FileBytes& file, int bitsPerPixel, ProgressReporter& progress,
                  OwnedBitmap& bitmap);
    // Null for a format the library does not write.
    int (*encode)(int format, const BitmapHandle& bitmap, int qualityFactor, ProgressReporter& progress,
                  FileBytes& file);
};

// The codec whose signature the file carries, or null.
const Codec* CodecForFile(const FileBytes& file);
// The codec of a format code, or null.
const Codec* CodecForFormat(int format);

// Reads a file and finds its codec: the file's signature decides, not its extension.
// Fails with kErrorFileFormat for an unknown signature, kErrorFilterIgnored for an ignored
// filter, and the codec's structural check's result for a damaged file.
[[nodiscard]] int OpenImageFile(const char* path, FileBytes& file, const Codec*& codec);

// Whole pixels per inch from a file's dots per inch; kDefaultResolution when the file
// has none or an absurd one.
[[nodiscard]] int ResolutionFromDpi(double dpi);

// The file-information record of a file the codec has measured.
void FillFileInfo(const Codec& codec, const FileBytes& file, const ImageInfo& image, FileInfo& info);

// Whether the codec's filter is on the L_IgnoreFilters list.
[[nodiscard]] bool IsFilterIgnored(const char* filterName);

} // namespace imaging
