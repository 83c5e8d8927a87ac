// The row loops of separable resampling, one set per instruction-set path. Every path
// computes the same integer sums, so all give bit-identical results.
// Horizontal pass: 8-bit samples times 14-bit weights, rounded to an int16 intermediate
// with kIntermediateBits fraction bits (room for the cubic's overshoot: -64..318 fits).
// Vertical pass: int16 intermediates times 14-bit weights, rounded and clamped to 0..255.
#pragma once

#include "imaging/KernelPath.h"
#include "imaging/ResampleWeights.h"

#include <cstddef>
#include <cstdint>

namespace imaging {

constexpr int kIntermediateBits = 6;
constexpr int kHorizontalShift = kWeightBits - kIntermediateBits;
constexpr int kVerticalShift = kWeightBits + kIntermediateBits;

// Int16 elements an intermediate row needs past width * channels: SIMD stores write
// whole four-channel pixels.
constexpr int kIntermediateSlack = 4;

// Two adjacent 14-bit weights as one 32-bit lane, the first in the low half (pmaddwd order).
inline int WeightPair(std::int16_t first, std::int16_t second)
{
    return int(std::uint32_t(std::uint16_t(first)) | (std::uint32_t(std::uint16_t(second)) << 16));
}

// Filters one source row of `rowBytes` bytes into `out` (width * channels intermediates).
using HorizontalRowFn = void (*)(const std::uint8_t* source, std::size_t rowBytes, const AxisWeights& weights,
                                 int channels, std::int16_t* out);

// Combines `taps` intermediate rows with `weights` into `count` output samples.
using VerticalRowFn = void (*)(const std::int16_t* const* rows, const std::int16_t* weights, int taps,
                               std::uint8_t* out, int count);

// Combines two neighbouring output rows of a four-tap axis: rows[0..3] are the first's
// window and rows[shift .. shift+3] the second's (shift 0 or 1), so each intermediate is
// loaded once for both.
using VerticalPairFn = void (*)(const std::int16_t* const* rows, const std::int16_t* firstWeights,
                                const std::int16_t* secondWeights, int shift, std::uint8_t* firstOut,
                                std::uint8_t* secondOut, int count);

// The taps an axis must have for the pair loop.
constexpr int kPairTaps = 4;

struct ResampleRowFns {
    HorizontalRowFn horizontal;
    VerticalRowFn vertical;
    VerticalPairFn verticalPair;  // null where the path has none: rows go one at a time
};

[[nodiscard]] ResampleRowFns ResampleRowsFor(KernelPath path);

// The portable loops; the SIMD paths also use them for the samples their wide loads
// cannot reach safely at the end of a row.
void HorizontalRowPortable(const std::uint8_t* source, std::size_t rowBytes, const AxisWeights& weights,
                           int channels, std::int16_t* out);
void HorizontalPixelsPortable(const std::uint8_t* source, const AxisWeights& weights, int channels,
                              int firstOutput, int endOutput, std::int16_t* out);
void VerticalRowPortable(const std::int16_t* const* rows, const std::int16_t* weights, int taps, std::uint8_t* out,
                         int count);
void VerticalSamplesPortable(const std::int16_t* const* rows, const std::int16_t* weights, int taps,
                             std::uint8_t* out, int firstSample, int endSample);

void HorizontalRowSse2(const std::uint8_t* source, std::size_t rowBytes, const AxisWeights& weights, int channels,
                       std::int16_t* out);
void VerticalRowSse2(const std::int16_t* const* rows, const std::int16_t* weights, int taps, std::uint8_t* out,
                     int count);
void HorizontalRowSsse3(const std::uint8_t* source, std::size_t rowBytes, const AxisWeights& weights, int channels,
                        std::int16_t* out);
void HorizontalRowAvx2(const std::uint8_t* source, std::size_t rowBytes, const AxisWeights& weights, int channels,
                       std::int16_t* out);
void VerticalRowAvx2(const std::int16_t* const* rows, const std::int16_t* weights, int taps, std::uint8_t* out,
                     int count);
void VerticalPairAvx2(const std::int16_t* const* rows, const std::int16_t* firstWeights,
                      const std::int16_t* secondWeights, int shift, std::uint8_t* firstOut, std::uint8_t* secondOut,
                      int count);

// Byte-shuffle masks that widen taps 0,1 (low) and 2,3 (high) of a 16-byte load into
// pmaddwd pairs per channel; a fourth channel that is not there reads as zero.
void FillTapShuffle(int channels, std::int8_t (&low)[16], std::int8_t (&high)[16]);

// A shuffle path's colour loop over the first endOutput outputs of a row.
using HorizontalColourFn = void (*)(const std::uint8_t* source, const AxisWeights& weights, int channels,
                                    int endOutput, std::int16_t* out);

// The horizontal row of a shuffle path (SSSE3, AVX2): grey rows take the SSE2 loop, and
// the outputs whose 16-byte loads would pass the row's end the portable one.
void HorizontalRowByShuffle(HorizontalColourFn colour, const std::uint8_t* source, std::size_t rowBytes,
                            const AxisWeights& weights, int channels, std::int16_t* out);

// How many leading outputs of a row can load `reachBytes` from their first tap's pixel
// without passing the row's end (first indexes never decrease along a row).
[[nodiscard]] int OutputsWithinReach(const AxisWeights& weights, int channels, std::size_t rowBytes,
                                     std::size_t reachBytes);

} // namespace imaging
