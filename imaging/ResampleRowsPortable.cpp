// The portable row loops of resampling, and the choice of row loops for a path.
#include "imaging/ResampleRows.h"

#include <algorithm>

namespace imaging {

void HorizontalPixelsPortable(const std::uint8_t* source, const AxisWeights& weights, int channels,
                              int firstOutput, int endOutput, std::int16_t* out)
{
    const int taps = weights.taps;
    for (int x = firstOutput; x < endOutput; ++x) {
        const std::uint8_t* pixel = source + std::size_t(weights.first[std::size_t(x)]) * channels;
        const std::int16_t* w = weights.WeightsOf(x);
        for (int c = 0; c < channels; ++c) {
            int sum = 0;
            for (int k = 0; k < taps; ++k)
                sum += int(pixel[k * channels + c]) * w[k];
            int value = (sum + (1 << (kHorizontalShift - 1))) >> kHorizontalShift;
            out[x * channels + c] = std::int16_t(std::clamp(value, -32768, 32767));
        }
    }
}

void HorizontalRowPortable(const std::uint8_t* source, std::size_t, const AxisWeights& weights, int channels,
                           std::int16_t* out)
{
    HorizontalPixelsPortable(source, weights, channels, 0, int(weights.first.size()), out);
}

void VerticalSamplesPortable(const std::int16_t* const* rows, const std::int16_t* weights, int taps,
                             std::uint8_t* out, int firstSample, int endSample)
{
    for (int i = firstSample; i < endSample; ++i) {
        int sum = 0;
        for (int k = 0; k < taps; ++k)
            sum += int(rows[k][i]) * weights[k];
        int value = (sum + (1 << (kVerticalShift - 1))) >> kVerticalShift;
        out[i] = std::uint8_t(std::clamp(value, 0, 255));
    }
}

void VerticalRowPortable(const std::int16_t* const* rows, const std::int16_t* weights, int taps, std::uint8_t* out,
                         int count)
{
    VerticalSamplesPortable(rows, weights, taps, out, 0, count);
}

int OutputsWithinReach(const AxisWeights& weights, int channels, std::size_t rowBytes, std::size_t reachBytes)
{
    int count = int(weights.first.size());
    while (count > 0 && std::size_t(weights.first[std::size_t(count - 1)]) * channels + reachBytes > rowBytes)
        --count;
    return count;
}

ResampleRowFns ResampleRowsFor(KernelPath path)
{
    switch (path) {
    case KernelPath::Avx2: return {HorizontalRowAvx2, VerticalRowAvx2, VerticalPairAvx2};
    case KernelPath::Ssse3: return {HorizontalRowSsse3, VerticalRowSse2, nullptr};
    case KernelPath::Sse2: return {HorizontalRowSse2, VerticalRowSse2, nullptr};
    case KernelPath::Portable: break;
    }
    return {HorizontalRowPortable, VerticalRowPortable, nullptr};
}

} // namespace imaging
