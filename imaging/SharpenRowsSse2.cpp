// The sharpening row loop on SSE2: eight samples per step in 16-bit lanes.
#include "imaging/SharpenRows.h"

#include <emmintrin.h>

namespace imaging {

void SharpenRowSse2(const std::uint8_t* above, const std::uint8_t* row, const std::uint8_t* below, std::uint8_t* out,
                    int width, int channels, int coefficient, std::int16_t* scratch)
{
    const int samples = width * channels;
    std::int16_t* sums = scratch + channels;
    const __m128i zero = _mm_setzero_si128();

    int i = 0;
    for (; i + 16 <= samples; i += 16) {
        __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(above + i));
        __m128i r = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i));
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(below + i));
        __m128i lo = _mm_add_epi16(_mm_add_epi16(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero)),
                                   _mm_slli_epi16(_mm_unpacklo_epi8(r, zero), 1));
        __m128i hi = _mm_add_epi16(_mm_add_epi16(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero)),
                                   _mm_slli_epi16(_mm_unpackhi_epi8(r, zero), 1));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(sums + i), lo);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(sums + i + 8), hi);
    }
    ColumnSumsPortable(above, row, below, sums, i, samples);
    PadColumnSums(sums, samples, channels);

    const __m128i coef = _mm_set1_epi16(std::int16_t(coefficient));
    const __m128i round = _mm_set1_epi32(1 << (kSharpenShift - 1));
    i = 0;
    for (; i + 8 <= samples; i += 8) {
        __m128i left = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sums + i - channels));
        __m128i centre = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sums + i));
        __m128i right = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sums + i + channels));
        __m128i blur = _mm_add_epi16(_mm_add_epi16(left, right), _mm_slli_epi16(centre, 1));
        __m128i pixel = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(row + i)), zero);
        __m128i diff = _mm_sub_epi16(_mm_slli_epi16(pixel, 4), blur);
        // Full 32-bit products, rounded like the SSSE3 pmulhrsw would.
        __m128i productLo = _mm_mullo_epi16(diff, coef);
        __m128i productHi = _mm_mulhi_epi16(diff, coef);
        __m128i p0 = _mm_srai_epi32(_mm_add_epi32(_mm_unpacklo_epi16(productLo, productHi), round), kSharpenShift);
        __m128i p1 = _mm_srai_epi32(_mm_add_epi32(_mm_unpackhi_epi16(productLo, productHi), round), kSharpenShift);
        __m128i result = _mm_add_epi16(pixel, _mm_packs_epi32(p0, p1));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(result, result));
    }
    UnsharpPortable(row, sums, out, channels, coefficient, i, samples);
}

} // namespace imaging
