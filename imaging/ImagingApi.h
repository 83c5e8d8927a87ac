// The imaging library's public interface: load, measure, save, resize, sharpen, copy
// and paint raster images, with progress reports through one status callback.
// Every L_ function answers kSuccess (1) or one of the negative results below, runs on
// the calling thread and calls the status callback on that thread only. A failed call
// leaves the caller's records and files as they were.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace imaging {

// Results.
constexpr int kSuccess = 1;
constexpr int kErrorInvalidParameter = -1;  // null record or name, unknown flag or code, size below 1, amount out of range
constexpr int kErrorNoMemory = -2;          // the pixels could not be allocated
constexpr int kErrorImageTooLarge = -3;     // beyond kMaxSidePx or kMaxImageBytes (our bitmap, any image of a
                                            // GIF, a PNG at its own depth, or what the JPEG decoder would
                                            // hold of a progressive file), a file beyond kMaxFileBytes, a
                                            // run-length BMP of over 256 MB whose data could not fill it,
                                            // or a PCX save wider than 65534 pixels
constexpr int kErrorFileOpen = -4;          // missing, a folder, or no access
constexpr int kErrorFileRead = -5;
constexpr int kErrorFileWrite = -6;         // the target could not be written or replaced; it is left as it was
constexpr int kErrorFileFormat = -7;        // not an image format or variant the library reads
constexpr int kErrorFileCorrupt = -8;       // truncated, inconsistent, or claims more pixels than it holds
constexpr int kErrorFilterIgnored = -9;     // the file's format is on the L_IgnoreFilters list
constexpr int kErrorFormatNotWritable = -10;
constexpr int kErrorCancelled = -11;        // the status callback answered 0
constexpr int kErrorNoBitmap = -12;         // the record holds no bitmap
constexpr int kErrorCodec = -13;            // a codec library failed for a reason of its own
constexpr int kErrorPaint = -14;            // the device context refused the drawing

// Format codes, as reported by L_FileInfo and taken by L_SaveBitmap. A file is reported
// with the code that saving takes back, so saving in the opened file's format works for
// every format the library writes.
constexpr int kFormatPcx = 1;   // read and written: 8-bit palette and 24-bit, RLE
constexpr int kFormatGif = 2;   // read and written: 24-bit images are quantised to 256 colours
constexpr int kFormatTif = 3;
constexpr int kFormatBmp = 6;
constexpr int kFormatJpeg = 10;
constexpr int kFormatPng = 75;  // read only: saving answers kErrorFormatNotWritable

// View perspectives: where the first stored row sits.
constexpr int kViewTopDown = 0;   // the first stored row is the image's top line
constexpr int kViewBottomUp = 2;  // the first stored row is the bottom line, as in most BMP files

constexpr int kColorOrderBgr = 1;  // samples of a colour pixel are stored blue, green, red

// L_SizeBitmap flags.
constexpr int kSizeNearest = 0;
constexpr int kSizeBilinear = 2;
constexpr int kSizeBicubic = 4;

constexpr int kSharpenMin = -1000;
constexpr int kSharpenMax = 1000;

// Limits checked before anything is allocated.
constexpr int kMaxSidePx = 65535;
constexpr std::int64_t kMaxImageBytes = 0x7FFFFFFF;
constexpr std::int64_t kMaxFileBytes = 0x7FFFFFFF;

// A bitmap of the library. Records start zeroed, or are filled by L_LoadBitmap,
// L_CopyBitmap or L_ChangeBitmapViewPerspective; L_FreeBitmap releases the pixels
// and zeroes the record again. Filling a record does not release what it held before.
struct BitmapHandle {
    int width;               // columns as stored
    int height;              // rows as stored
    int viewPerspective;     // kViewTopDown or kViewBottomUp
    int xResolution;         // pixels per inch
    int yResolution;         // pixels per inch
    int bitsPerPixel;        // 8 (grey levels) or 24 (colour, kColorOrderBgr)
    int colorOrder;          // kColorOrderBgr
    int bytesPerLine;        // row stride, a multiple of 4 as in a device-independent bitmap
    std::uint8_t* pixels;    // owned by the library; null when the record holds no bitmap
    std::size_t pixelBytes;  // bytesPerLine x height
};

// What a file holds, read without decoding its pixels.
struct FileInfo {
    int format;        // the format code (kFormatJpeg, ...)
    int width;         // pixels
    int height;        // pixels
    int bitsPerPixel;  // of the file's own pixels: 1, 4, 8, 16, 24, 32, ...
    int sizeDisk;      // bytes
    int xResolution;   // pixels per inch; files without one report kDefaultResolution
    int yResolution;
};

constexpr int kDefaultResolution = 96;

// Reserved: the library defines no load or save options; callers pass null.
struct LoadOptions;
struct SaveOptions;

// Called with a percentage and the user data given to L_SetStatusCallBack. During each
// load, save, resize and sharpen the percentages rise from 0, and every operation that
// has reported 0 ends with exactly one final 100, whether it succeeded or failed.
// Answering 0 to anything before that 100 cancels the operation: it answers
// kErrorCancelled, leaves the bitmap and the target file unchanged and reports no more.
using StatusCallback = int (*)(int percent, void* userData);

} // namespace imaging

// Loads the first image of a file into `bitmap`. bitsPerPixel 0 keeps grey images at 8
// bits and gives colour images 24; 24 gives every image 24. colorOrder must be
// kColorOrderBgr. BMP files stored bottom-up load with kViewBottomUp. When `fileInfo`
// is given it is filled as by L_FileInfo.
int L_LoadBitmap(const char* fileName, imaging::BitmapHandle* bitmap, int bitsPerPixel, int colorOrder,
                 const imaging::LoadOptions* options, imaging::FileInfo* fileInfo);

// Writes `bitmap` in the format of `format`, beside the target first and then in its
// place, so a failed or cancelled save leaves an existing file intact. bitsPerPixel 0
// (the only value) writes the bitmap's own depth where the format has it. qualityFactor
// (0..255) matters for JPEG only: 0 is the encoder's default, 2 (and 1) the highest
// quality, 255 the lowest.
int L_SaveBitmap(const char* fileName, const imaging::BitmapHandle* bitmap, int format, int bitsPerPixel,
                 int qualityFactor, const imaging::SaveOptions* options);

int L_FreeBitmap(imaging::BitmapHandle* bitmap);

// flags must be 0.
int L_FileInfo(const char* fileName, imaging::FileInfo* info, unsigned flags, const imaging::LoadOptions* options);

// Re-stores the bitmap in another view perspective (kViewTopDown or kViewBottomUp). With
// no destination the source's own record is converted in place; otherwise the
// destination is filled with a converted copy.
int L_ChangeBitmapViewPerspective(imaging::BitmapHandle* destination, imaging::BitmapHandle* source,
                                  int viewPerspective);

// Resamples in place to width x height with kSizeNearest, kSizeBilinear or kSizeBicubic.
int L_SizeBitmap(imaging::BitmapHandle* bitmap, int width, int height, int flags);

// Sharpens (amount > 0) or softens (amount < 0) in place; amount lies in
// kSharpenMin..kSharpenMax, and 0 changes nothing. The filter is described in PixelKernels.h.
int L_SharpenBitmap(imaging::BitmapHandle* bitmap, int amount);

// Fills `destination` with an independent copy of `source`.
int L_CopyBitmap(imaging::BitmapHandle* destination, const imaging::BitmapHandle* source);

// Stretches the source rectangle (image pixels, top-left origin) onto the destination
// rectangle of `dc`. The clip rectangles, when given, limit what is drawn: the source
// clip in image pixels, the destination clip in the context's coordinates.
int L_PaintDC(HDC dc, const imaging::BitmapHandle* bitmap, const RECT* source, const RECT* sourceClip,
              const RECT* destination, const RECT* destinationClip, DWORD rasterOperation);

// A palette to select before painting into `dc`, or null when the device shows true
// colour. The caller deletes it.
HPALETTE L_CreatePaintPalette(HDC dc, const imaging::BitmapHandle* bitmap);

// Installs the status callback and its user data; answers the callback installed before.
imaging::StatusCallback L_SetStatusCallBack(imaging::StatusCallback callback, void* userData);

// Files whose format's filter is named in the comma-separated list (JPG, TIF, GIF, BMP,
// PCX, PNG; case does not matter, unknown names are passed over) fail L_FileInfo and
// L_LoadBitmap with kErrorFilterIgnored from then on. Each call replaces the list; an
// empty list or null makes every filter available again.
int L_IgnoreFilters(const char* filterList);
