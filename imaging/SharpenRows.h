// The row loop of sharpening and softening, one per instruction-set path; all paths give
// bit-identical results. The filter itself is described where Sharpen is declared.
#pragma once

#include "imaging/KernelPath.h"

#include <cstdint>

namespace imaging {

constexpr int kSharpenShift = 15;

// The fixed-point strength for an amount in -1000..1000: round(f * 2^15 / 16000), where f
// is 2 * amount when sharpening and amount when softening.
[[nodiscard]] int SharpenCoefficient(int amount);

// Filters one row from the rows above and below it (the edge row itself at the edges).
// `scratch` holds (width + 2) * channels elements.
using SharpenRowFn = void (*)(const std::uint8_t* above, const std::uint8_t* row, const std::uint8_t* below,
                              std::uint8_t* out, int width, int channels, int coefficient, std::int16_t* scratch);

[[nodiscard]] SharpenRowFn SharpenRowFor(KernelPath path);

void SharpenRowPortable(const std::uint8_t* above, const std::uint8_t* row, const std::uint8_t* below,
                        std::uint8_t* out, int width, int channels, int coefficient, std::int16_t* scratch);
void SharpenRowSse2(const std::uint8_t* above, const std::uint8_t* row, const std::uint8_t* below, std::uint8_t* out,
                    int width, int channels, int coefficient, std::int16_t* scratch);
void SharpenRowAvx2(const std::uint8_t* above, const std::uint8_t* row, const std::uint8_t* below, std::uint8_t* out,
                    int width, int channels, int coefficient, std::int16_t* scratch);

// Pieces the SIMD paths share with the portable one for what their wide loops leave over.
void ColumnSumsPortable(const std::uint8_t* above, const std::uint8_t* row, const std::uint8_t* below,
                        std::int16_t* sums, int first, int end);
void PadColumnSums(std::int16_t* sums, int samples, int channels);
void UnsharpPortable(const std::uint8_t* row, const std::int16_t* sums, std::uint8_t* out, int channels,
                     int coefficient, int first, int end);

} // namespace imaging
