// Resampling row loops on SSE2 (every x86-64 processor) and, for the horizontal pass,
// SSSE3, whose byte shuffle gathers four taps of a pixel with one load.
#include "imaging/ResampleRows.h"

#include <cstring>
#include <emmintrin.h>
#include <tmmintrin.h>

namespace imaging {
namespace {

__m128i LoadFourBytes(const std::uint8_t* p)
{
    int v;
    std::memcpy(&v, p, sizeof v);
    return _mm_cvtsi32_si128(v);
}

// One channel: four taps per load, summed across the lanes at the end.
void HorizontalGreySse2(const std::uint8_t* source, const AxisWeights& weights, int endOutput, std::int16_t* out)
{
    const __m128i zero = _mm_setzero_si128();
    for (int x = 0; x < endOutput; ++x) {
        const std::uint8_t* pixel = source + weights.first[std::size_t(x)];
        const std::int16_t* w = weights.WeightsOf(x);
        __m128i acc = zero;
        for (int g = 0; g < weights.tapStride; g += 4) {
            __m128i samples = _mm_unpacklo_epi8(LoadFourBytes(pixel + g), zero);
            __m128i wv = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(w + g));
            acc = _mm_add_epi32(acc, _mm_madd_epi16(samples, wv));
        }
        acc = _mm_add_epi32(acc, _mm_shuffle_epi32(acc, 0x01));
        int value = (_mm_cvtsi128_si32(acc) + (1 << (kHorizontalShift - 1))) >> kHorizontalShift;
        out[x] = std::int16_t(value < -32768 ? -32768 : (value > 32767 ? 32767 : value));
    }
}

// Three or four channels: taps in pairs, each pixel widened to four 16-bit lanes and
// interleaved with its neighbour so that one pmaddwd applies both weights.
void HorizontalColourSse2(const std::uint8_t* source, const AxisWeights& weights, int channels, int endOutput,
                          std::int16_t* out)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i round = _mm_set1_epi32(1 << (kHorizontalShift - 1));
    const int pairs = (weights.taps + 1) / 2;
    for (int x = 0; x < endOutput; ++x) {
        const std::uint8_t* pixel = source + std::size_t(weights.first[std::size_t(x)]) * channels;
        const std::int16_t* w = weights.WeightsOf(x);
        __m128i acc = round;
        for (int p = 0; p < pairs; ++p) {
            __m128i a = _mm_unpacklo_epi8(LoadFourBytes(pixel + 2 * p * channels), zero);
            __m128i b = _mm_unpacklo_epi8(LoadFourBytes(pixel + (2 * p + 1) * channels), zero);
            __m128i wv = _mm_set1_epi32(WeightPair(w[2 * p], w[2 * p + 1]));
            acc = _mm_add_epi32(acc, _mm_madd_epi16(_mm_unpacklo_epi16(a, b), wv));
        }
        acc = _mm_srai_epi32(acc, kHorizontalShift);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + x * channels), _mm_packs_epi32(acc, acc));
    }
}

// The two shuffle masks in registers.
struct TapShuffle {
    __m128i low;
    __m128i high;
};

TapShuffle MakeTapShuffle(int channels)
{
    alignas(16) std::int8_t low[16];
    alignas(16) std::int8_t high[16];
    FillTapShuffle(channels, low, high);
    return {_mm_load_si128(reinterpret_cast<const __m128i*>(low)),
            _mm_load_si128(reinterpret_cast<const __m128i*>(high))};
}

__attribute__((target("ssse3"))) void HorizontalColourSsse3(const std::uint8_t* source, const AxisWeights& weights,
                                                             int channels, int endOutput, std::int16_t* out)
{
    const TapShuffle shuffle = MakeTapShuffle(channels);
    const __m128i round = _mm_set1_epi32(1 << (kHorizontalShift - 1));
    for (int x = 0; x < endOutput; ++x) {
        const std::uint8_t* pixel = source + std::size_t(weights.first[std::size_t(x)]) * channels;
        const std::int16_t* w = weights.WeightsOf(x);
        __m128i acc = round;
        for (int g = 0; g < weights.tapStride; g += 4) {
            __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixel + g * channels));
            __m128i wv = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(w + g));
            __m128i lowTaps = _mm_madd_epi16(_mm_shuffle_epi8(bytes, shuffle.low), _mm_shuffle_epi32(wv, 0x00));
            __m128i highTaps = _mm_madd_epi16(_mm_shuffle_epi8(bytes, shuffle.high), _mm_shuffle_epi32(wv, 0x55));
            acc = _mm_add_epi32(acc, _mm_add_epi32(lowTaps, highTaps));
        }
        acc = _mm_srai_epi32(acc, kHorizontalShift);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + x * channels), _mm_packs_epi32(acc, acc));
    }
}

} // namespace

void FillTapShuffle(int channels, std::int8_t (&low)[16], std::int8_t (&high)[16])
{
    for (int c = 0; c < 4; ++c) {
        bool present = c < channels;
        low[4 * c + 0] = present ? std::int8_t(0 * channels + c) : -1;
        low[4 * c + 2] = present ? std::int8_t(1 * channels + c) : -1;
        high[4 * c + 0] = present ? std::int8_t(2 * channels + c) : -1;
        high[4 * c + 2] = present ? std::int8_t(3 * channels + c) : -1;
        low[4 * c + 1] = low[4 * c + 3] = high[4 * c + 1] = high[4 * c + 3] = -1;
    }
}

void HorizontalRowByShuffle(HorizontalColourFn colour, const std::uint8_t* source, std::size_t rowBytes,
                            const AxisWeights& weights, int channels, std::int16_t* out)
{
    if (channels == 1) {
        HorizontalRowSse2(source, rowBytes, weights, channels, out);
        return;
    }
    int safe = OutputsWithinReach(weights, channels, rowBytes, std::size_t((weights.tapStride - 4) * channels + 16));
    colour(source, weights, channels, safe, out);
    HorizontalPixelsPortable(source, weights, channels, safe, int(weights.first.size()), out);
}

void HorizontalRowSse2(const std::uint8_t* source, std::size_t rowBytes, const AxisWeights& weights, int channels,
                       std::int16_t* out)
{
    int safe;
    if (channels == 1) {
        safe = OutputsWithinReach(weights, 1, rowBytes, std::size_t(weights.tapStride));
        HorizontalGreySse2(source, weights, safe, out);
    } else {
        int pairs = (weights.taps + 1) / 2;
        safe = OutputsWithinReach(weights, channels, rowBytes, std::size_t((2 * pairs - 1) * channels + 4));
        HorizontalColourSse2(source, weights, channels, safe, out);
    }
    HorizontalPixelsPortable(source, weights, channels, safe, int(weights.first.size()), out);
}

void HorizontalRowSsse3(const std::uint8_t* source, std::size_t rowBytes, const AxisWeights& weights, int channels,
                        std::int16_t* out)
{
    HorizontalRowByShuffle(HorizontalColourSsse3, source, rowBytes, weights, channels, out);
}

void VerticalRowSse2(const std::int16_t* const* rows, const std::int16_t* weights, int taps, std::uint8_t* out,
                     int count)
{
    const __m128i round = _mm_set1_epi32(1 << (kVerticalShift - 1));
    const __m128i zero = _mm_setzero_si128();
    int i = 0;
    for (; i + 16 <= count; i += 16) {
        __m128i acc0 = round, acc1 = round, acc2 = round, acc3 = round;
        for (int k = 0; k < taps; k += 2) {
            bool hasPair = k + 1 < taps;
            __m128i wv = _mm_set1_epi32(WeightPair(weights[k], hasPair ? weights[k + 1] : 0));
            const std::int16_t* r0 = rows[k] + i;
            __m128i a0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r0));
            __m128i b0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r0 + 8));
            __m128i a1 = zero, b1 = zero;
            if (hasPair) {
                const std::int16_t* r1 = rows[k + 1] + i;
                a1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r1));
                b1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r1 + 8));
            }
            acc0 = _mm_add_epi32(acc0, _mm_madd_epi16(_mm_unpacklo_epi16(a0, a1), wv));
            acc1 = _mm_add_epi32(acc1, _mm_madd_epi16(_mm_unpackhi_epi16(a0, a1), wv));
            acc2 = _mm_add_epi32(acc2, _mm_madd_epi16(_mm_unpacklo_epi16(b0, b1), wv));
            acc3 = _mm_add_epi32(acc3, _mm_madd_epi16(_mm_unpackhi_epi16(b0, b1), wv));
        }
        __m128i low = _mm_packs_epi32(_mm_srai_epi32(acc0, kVerticalShift), _mm_srai_epi32(acc1, kVerticalShift));
        __m128i high = _mm_packs_epi32(_mm_srai_epi32(acc2, kVerticalShift), _mm_srai_epi32(acc3, kVerticalShift));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(low, high));
    }
    VerticalSamplesPortable(rows, weights, taps, out, i, count);
}

} // namespace imaging
