// The sharpening row loop on AVX2: sixteen samples per step in 16-bit lanes. One function,
// no 256-bit value crossing a call (the Windows x64 stack is only 16-byte aligned).
#include "imaging/SharpenRows.h"

#include <immintrin.h>

namespace imaging {

__attribute__((target("avx2"))) void SharpenRowAvx2(const std::uint8_t* above, const std::uint8_t* row,
                                                     const std::uint8_t* below, std::uint8_t* out, int width,
                                                     int channels, int coefficient, std::int16_t* scratch)
{
    const int samples = width * channels;
    std::int16_t* sums = scratch + channels;

    int i = 0;
    for (; i + 16 <= samples; i += 16) {
        __m256i a = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(above + i)));
        __m256i r = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i)));
        __m256i b = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(below + i)));
        __m256i sum = _mm256_add_epi16(_mm256_add_epi16(a, b), _mm256_slli_epi16(r, 1));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(sums + i), sum);
    }
    ColumnSumsPortable(above, row, below, sums, i, samples);
    PadColumnSums(sums, samples, channels);

    // pmulhrsw computes (a * b + 2^14) >> 15: exactly the filter's rounding.
    const __m256i coef = _mm256_set1_epi16(std::int16_t(coefficient));
    i = 0;
    for (; i + 16 <= samples; i += 16) {
        __m256i left = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(sums + i - channels));
        __m256i centre = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(sums + i));
        __m256i right = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(sums + i + channels));
        __m256i blur = _mm256_add_epi16(_mm256_add_epi16(left, right), _mm256_slli_epi16(centre, 1));
        __m256i pixel = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(row + i)));
        __m256i diff = _mm256_sub_epi16(_mm256_slli_epi16(pixel, 4), blur);
        __m256i result = _mm256_add_epi16(pixel, _mm256_mulhrs_epi16(diff, coef));
        __m256i bytes = _mm256_permute4x64_epi64(_mm256_packus_epi16(result, result), 0x08);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm256_castsi256_si128(bytes));
    }
    UnsharpPortable(row, sums, out, channels, coefficient, i, samples);
}

} // namespace imaging
