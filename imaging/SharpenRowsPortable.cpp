// The portable row loop of sharpening, and the choice of row loop for a path.
#include "imaging/SharpenRows.h"

#include <algorithm>

namespace imaging {

int SharpenCoefficient(int amount)
{
    amount = std::clamp(amount, -1000, 1000);
    int f = amount > 0 ? 2 * amount : amount;
    int scaled = f * 2048;  // f * 2^15 / 16000 == f * 2048 / 1000
    return scaled >= 0 ? (scaled + 500) / 1000 : -((-scaled + 500) / 1000);
}

void ColumnSumsPortable(const std::uint8_t* above, const std::uint8_t* row, const std::uint8_t* below,
                        std::int16_t* sums, int first, int end)
{
    for (int i = first; i < end; ++i)
        sums[i] = std::int16_t(above[i] + 2 * row[i] + below[i]);
}

// The sums sit one pixel in from each end of the scratch; the edge pixels are repeated
// outward so that the row's ends are filtered as if the image continued unchanged.
void PadColumnSums(std::int16_t* sums, int samples, int channels)
{
    for (int c = 0; c < channels; ++c) {
        sums[c - channels] = sums[c];
        sums[samples + c] = sums[samples - channels + c];
    }
}

void UnsharpPortable(const std::uint8_t* row, const std::int16_t* sums, std::uint8_t* out, int channels,
                     int coefficient, int first, int end)
{
    for (int i = first; i < end; ++i) {
        int blur = sums[i - channels] + 2 * sums[i] + sums[i + channels];
        int diff = 16 * row[i] - blur;
        int delta = (coefficient * diff + (1 << (kSharpenShift - 1))) >> kSharpenShift;
        out[i] = std::uint8_t(std::clamp(row[i] + delta, 0, 255));
    }
}

void SharpenRowPortable(const std::uint8_t* above, const std::uint8_t* row, const std::uint8_t* below,
                        std::uint8_t* out, int width, int channels, int coefficient, std::int16_t* scratch)
{
    const int samples = width * channels;
    std::int16_t* sums = scratch + channels;
    ColumnSumsPortable(above, row, below, sums, 0, samples);
    PadColumnSums(sums, samples, channels);
    UnsharpPortable(row, sums, out, channels, coefficient, 0, samples);
}

SharpenRowFn SharpenRowFor(KernelPath path)
{
    switch (path) {
    case KernelPath::Avx2: return SharpenRowAvx2;
    case KernelPath::Ssse3:
    case KernelPath::Sse2: return SharpenRowSse2;
    case KernelPath::Portable: break;
    }
    return SharpenRowPortable;
}

} // namespace imaging
