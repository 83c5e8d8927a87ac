// Our own PCX writer: 8-bit with a palette when the image has at most 256 colours (grey
// images get the 256 greys), else 24-bit in three planes; runs never cross a line end.
#include "imaging/PcxCodec.h"

#include "imaging/ColourQuantiser.h"
#include "imaging/FileStructure.h"

#include <algorithm>

namespace imaging {
namespace {

constexpr int kMaxRun = 63;
// The header's bytes per line is 16 bits and must be even.
constexpr int kMaxPcxWidthPx = 0xFFFE;

// PCX header words are 16 bits: a value out of their range is held at its end.
void Put16(FileBytes& file, std::size_t at, int value)
{
    PutLittleEndian16(file, at, static_cast<std::uint32_t>(std::clamp(value, 0, 0xFFFF)));
}

void AppendRle(FileBytes& file, const std::uint8_t* line, int count)
{
    int i = 0;
    while (i < count) {
        const std::uint8_t value = line[i];
        int run = 1;
        while (i + run < count && run < kMaxRun && line[i + run] == value)
            ++run;
        if (run > 1 || (value & 0xC0) == 0xC0)
            file.push_back(static_cast<std::uint8_t>(0xC0 | run));
        file.push_back(value);
        i += run;
    }
}

} // namespace

int PcxEncode(int, const BitmapHandle& bitmap, int, ProgressReporter& progress, FileBytes& file)
{
    const PixelBuffer view = TopDownView(bitmap);
    // A wider line cannot be described: the file would be read back misaligned.
    if (view.width > kMaxPcxWidthPx)
        return kErrorImageTooLarge;
    IndexedImage indexed;
    const bool isPaletted = TryExactPalette(view, indexed);
    const bool isGrey = view.channels == 1;
    const int planes = isPaletted ? 1 : 3;
    const int bytesPerLine = (view.width + 1) & ~1;

    file.assign(128, 0);
    file[0] = 0x0A;
    file[1] = 5;
    file[2] = 1;
    file[3] = 8;
    Put16(file, 8, view.width - 1);
    Put16(file, 10, view.height - 1);
    Put16(file, 12, bitmap.xResolution);
    Put16(file, 14, bitmap.yResolution);
    file[65] = static_cast<std::uint8_t>(planes);
    Put16(file, 66, bytesPerLine);
    Put16(file, 68, isGrey ? 2 : 1);

    std::vector<std::uint8_t> line(static_cast<std::size_t>(bytesPerLine), 0);
    for (int y = 0; y < view.height; ++y) {
        if (isPaletted) {
            std::copy_n(indexed.indices.begin() + static_cast<std::ptrdiff_t>(y) * view.width, view.width, line.begin());
            AppendRle(file, line.data(), bytesPerLine);
        } else {
            const std::uint8_t* row = view.data + y * view.stride;
            // Planes go red, green, blue; the stored samples are blue, green, red.
            for (int plane = 0; plane < 3; ++plane) {
                for (int x = 0; x < view.width; ++x)
                    line[x] = row[3 * x + 2 - plane];
                AppendRle(file, line.data(), bytesPerLine);
            }
        }
        if (!progress.Report(static_cast<int>(static_cast<std::int64_t>(y + 1) * 90 / view.height)))
            return kErrorCancelled;
    }

    if (isPaletted) {
        file.push_back(0x0C);
        for (int i = 0; i < 256; ++i) {
            const std::uint32_t colour = i < static_cast<int>(indexed.palette.size()) ? indexed.palette[i] : 0;
            file.push_back(static_cast<std::uint8_t>(colour >> 16));
            file.push_back(static_cast<std::uint8_t>(colour >> 8));
            file.push_back(static_cast<std::uint8_t>(colour));
        }
    }
    return kSuccess;
}

} // namespace imaging
