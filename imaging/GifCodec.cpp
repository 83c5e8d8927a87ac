// GIF through giflib, read from and written to memory through its callbacks. Reading
// takes two passes over the bytes: the first walks every record, measuring each image
// and skipping its coded data; the second decodes the first image into the bitmap.
#include "imaging/GifCodec.h"

#include "imaging/ColourQuantiser.h"

#include <gif_lib.h>

#include <algorithm>
#include <memory>
#include <new>

namespace imaging {
namespace {

// An LZW code of at most 12 bits stands for at most 4096 pixels, so a byte of coded data
// gives at most 4096 * 8 / 12 of them.
constexpr std::uint64_t kMaxPixelsPerLzwByte = 4096 * 8 / 12 + 1;

struct GifInput {
    const FileBytes* file;
    std::size_t position;
};

int ReadGifFromMemory(GifFileType* gif, GifByteType* buffer, int wanted)
{
    auto* input = static_cast<GifInput*>(gif->UserData);
    const std::size_t left = input->file->size() - input->position;
    const std::size_t count = std::min(left, static_cast<std::size_t>(wanted));
    std::copy_n(input->file->data() + input->position, count, buffer);
    input->position += count;
    return static_cast<int>(count);
}

struct GifCloser {
    void operator()(GifFileType* gif) const
    {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};
using GifReader = std::unique_ptr<GifFileType, GifCloser>;

int ResultOfReadError(int error)
{
    return error == D_GIF_ERR_NOT_ENOUGH_MEM ? kErrorNoMemory : kErrorFileCorrupt;
}

[[nodiscard]] int OpenGif(GifInput& input, GifReader& gif)
{
    int error = 0;
    gif.reset(DGifOpen(&input, ReadGifFromMemory, &error));
    return gif ? kSuccess : ResultOfReadError(error);
}

[[nodiscard]] int SkipExtension(GifFileType* gif)
{
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) == GIF_ERROR)
        return ResultOfReadError(gif->Error);
    while (block != nullptr) {
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR)
            return ResultOfReadError(gif->Error);
    }
    return kSuccess;
}

// An image's size, checked as one we could load, then its coded data skipped and weighed.
[[nodiscard]] int MeasureImage(GifFileType* gif)
{
    if (DGifGetImageDesc(gif) == GIF_ERROR)
        return ResultOfReadError(gif->Error);
    const int width = gif->Image.Width, height = gif->Image.Height;
    if (width < 1 || height < 1)
        return kErrorFileCorrupt;
    const int sizeResult = CheckImageSize(width, height, 3);
    if (sizeResult != kSuccess)
        return sizeResult;
    int codeSize = 0;
    GifByteType* block = nullptr;
    std::uint64_t codedBytes = 0;
    if (DGifGetCode(gif, &codeSize, &block) == GIF_ERROR)
        return ResultOfReadError(gif->Error);
    while (block != nullptr) {
        codedBytes += block[0];
        if (DGifGetCodeNext(gif, &block) == GIF_ERROR)
            return ResultOfReadError(gif->Error);
    }
    const std::uint64_t pixels = static_cast<std::uint64_t>(width) * height;
    return pixels > (codedBytes + 1) * kMaxPixelsPerLzwByte ? kErrorFileCorrupt : kSuccess;
}

// Walks every record; `info` gets the first image's size.
[[nodiscard]] int SurveyGif(const FileBytes& file, ImageInfo& info)
{
    GifInput input{&file, 0};
    GifReader gif;
    int result = OpenGif(input, gif);
    if (result != kSuccess)
        return result;
    int images = 0;
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR) {
            // After a complete image, a missing trailer or stray bytes cost no pixel, as readers agree.
            return images > 0 && gif->Error != D_GIF_ERR_NOT_ENOUGH_MEM ? kSuccess : ResultOfReadError(gif->Error);
        }
        if (record == TERMINATE_RECORD_TYPE)
            return images > 0 ? kSuccess : kErrorFileCorrupt;
        if (record == EXTENSION_RECORD_TYPE) {
            result = SkipExtension(gif.get());
        } else {
            result = MeasureImage(gif.get());
            if (result == kSuccess && images++ == 0) {
                info.width = gif->Image.Width;
                info.height = gif->Image.Height;
            }
        }
        if (result != kSuccess)
            return result;
    }
}

bool IsGreyPalette(const ColorMapObject& colours)
{
    return std::all_of(colours.Colors, colours.Colors + colours.ColorCount,
                       [](const GifColorType& c) { return c.Red == c.Green && c.Green == c.Blue; });
}

// Rows of an interlaced image come in four passes: every 8th from 0, every 8th from 4,
// every 4th from 2, every 2nd from 1.
int RowOfLine(int line, int height, bool isInterlaced)
{
    if (!isInterlaced)
        return line;
    const int kStarts[] = {0, 4, 2, 1}, kSteps[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        const int rows = kStarts[pass] < height ? (height - kStarts[pass] + kSteps[pass] - 1) / kSteps[pass] : 0;
        if (line < rows)
            return kStarts[pass] + line * kSteps[pass];
        line -= rows;
    }
    return height - 1;
}

[[nodiscard]] int DecodeFirstImage(const FileBytes& file, int bitsPerPixel, ProgressReporter& progress,
                                   OwnedBitmap& bitmap)
{
    GifInput input{&file, 0};
    GifReader gif;
    int result = OpenGif(input, gif);
    if (result != kSuccess)
        return result;
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR)
            return ResultOfReadError(gif->Error);
        if (record == IMAGE_DESC_RECORD_TYPE)
            break;
        if (record != EXTENSION_RECORD_TYPE)
            return kErrorFileCorrupt;
        result = SkipExtension(gif.get());
        if (result != kSuccess)
            return result;
    }
    if (DGifGetImageDesc(gif.get()) == GIF_ERROR)
        return ResultOfReadError(gif->Error);
    const GifImageDesc& image = gif->Image;
    const ColorMapObject* colours = image.ColorMap != nullptr ? image.ColorMap : gif->SColorMap;
    if (colours == nullptr || colours->ColorCount < 1)
        return kErrorFileCorrupt;
    const bool isGrey = bitsPerPixel != 24 && IsGreyPalette(*colours);
    result = bitmap.AllocateForDecoding(image.Width, image.Height, isGrey ? 8 : 24, kViewTopDown);
    if (result != kSuccess)
        return result;
    BitmapHandle& target = bitmap.get();

    std::vector<GifPixelType> indices(static_cast<std::size_t>(image.Width));
    for (int line = 0; line < image.Height; ++line) {
        if (DGifGetLine(gif.get(), indices.data(), image.Width) == GIF_ERROR)
            return ResultOfReadError(gif->Error);
        std::uint8_t* row = target.pixels
                            + static_cast<std::ptrdiff_t>(RowOfLine(line, image.Height, image.Interlace)) * target.bytesPerLine;
        for (int x = 0; x < image.Width; ++x) {
            // An index past the palette is drawn in its first colour.
            const GifColorType& c = colours->Colors[indices[x] < colours->ColorCount ? indices[x] : 0];
            if (isGrey) {
                row[x] = c.Red;
            } else {
                row[3 * x] = c.Blue;
                row[3 * x + 1] = c.Green;
                row[3 * x + 2] = c.Red;
            }
        }
        if (!progress.Report(static_cast<int>(static_cast<std::int64_t>(line + 1) * 100 / image.Height)))
            return kErrorCancelled;
    }
    return kSuccess;
}

struct GifOutput {
    FileBytes* file;
    bool isOutOfMemory;
};

// giflib is C: nothing may be thrown through it.
int WriteGifToMemory(GifFileType* gif, const GifByteType* bytes, int count)
{
    auto* output = static_cast<GifOutput*>(gif->UserData);
    try {
        output->file->insert(output->file->end(), bytes, bytes + count);
    } catch (const std::bad_alloc&) {
        output->isOutOfMemory = true;
        return 0;
    }
    return count;
}

struct ColourMapDeleter {
    void operator()(ColorMapObject* colours) const { GifFreeMapObject(colours); }
};

} // namespace

int GifReadInfo(int, const FileBytes& file, ImageInfo& info)
{
    const int result = SurveyGif(file, info);
    if (result != kSuccess)
        return result;
    info.bitsPerPixel = 8;
    return kSuccess;
}

int GifDecode(int, const FileBytes& file, int bitsPerPixel, ProgressReporter& progress, OwnedBitmap& bitmap)
{
    ImageInfo info;
    const int result = SurveyGif(file, info);
    if (result != kSuccess)
        return result;
    return DecodeFirstImage(file, bitsPerPixel, progress, bitmap);
}

int GifEncode(int, const BitmapHandle& bitmap, int, ProgressReporter& progress, FileBytes& file)
{
    const PixelBuffer view = TopDownView(bitmap);
    IndexedImage indexed;
    if (!MakeIndexed(view, progress.Span(0, 50), indexed))
        return kErrorCancelled;

    // giflib takes colour tables of 2, 4, ... 256 entries.
    int tableSize = 2;
    while (tableSize < static_cast<int>(indexed.palette.size()))
        tableSize *= 2;
    std::vector<GifColorType> entries(static_cast<std::size_t>(tableSize), GifColorType{0, 0, 0});
    for (std::size_t i = 0; i < indexed.palette.size(); ++i) {
        const std::uint32_t colour = indexed.palette[i];
        entries[i] = GifColorType{static_cast<GifByteType>(colour >> 16), static_cast<GifByteType>(colour >> 8),
                                  static_cast<GifByteType>(colour)};
    }
    std::unique_ptr<ColorMapObject, ColourMapDeleter> colours(GifMakeMapObject(tableSize, entries.data()));
    if (!colours)
        return kErrorNoMemory;

    GifOutput output{&file, false};
    int error = 0;
    GifFileType* gif = EGifOpen(&output, WriteGifToMemory, &error);
    if (gif == nullptr)
        return kErrorNoMemory;
    bool isWritten = EGifPutScreenDesc(gif, view.width, view.height, 8, 0, colours.get()) != GIF_ERROR
                     && EGifPutImageDesc(gif, 0, 0, view.width, view.height, false, nullptr) != GIF_ERROR;
    bool isCancelled = false;
    for (int y = 0; isWritten && y < view.height; ++y) {
        isWritten = EGifPutLine(gif, indexed.indices.data() + static_cast<std::size_t>(y) * view.width, view.width)
                    != GIF_ERROR;
        if (!progress.Report(50 + static_cast<int>(static_cast<std::int64_t>(y + 1) * 40 / view.height))) {
            isCancelled = true;
            break;
        }
    }
    // Closing writes the trailer, and frees the writer whatever happens.
    if (EGifCloseFile(gif, &error) == GIF_ERROR)
        isWritten = false;
    if (isCancelled)
        return kErrorCancelled;
    if (!isWritten)
        return output.isOutOfMemory ? kErrorNoMemory : kErrorCodec;
    return kSuccess;
}

} // namespace imaging
