// Checks shared by the pixel kernels on the buffers the imaging API hands them.
#pragma once

#include "imaging/PixelKernels.h"

#include <climits>
#include <cstddef>
#include <cstdint>

namespace imaging {

// The row loops index a row's samples with int: a row of more than INT_MAX samples is refused.
[[nodiscard]] inline bool IsUsableBuffer(const PixelBuffer& b)
{
    return b.data != nullptr && b.width >= 1 && b.height >= 1 &&
           (b.channels == 1 || b.channels == 3 || b.channels == 4) &&
           std::int64_t(b.width) * b.channels <= INT_MAX && b.stride >= std::ptrdiff_t(b.width) * b.channels;
}

[[nodiscard]] inline bool BuffersOverlap(const PixelBuffer& a, const PixelBuffer& b)
{
    auto begin = [](const PixelBuffer& p) { return reinterpret_cast<std::uintptr_t>(p.data); };
    auto end = [&](const PixelBuffer& p) {
        return begin(p) + std::uintptr_t(p.stride) * std::uintptr_t(p.height - 1) +
               std::uintptr_t(p.width) * p.channels;
    };
    return begin(a) < end(b) && begin(b) < end(a);
}

[[nodiscard]] inline const std::uint8_t* RowOf(const PixelBuffer& b, int y)
{
    return b.data + std::ptrdiff_t(y) * b.stride;
}

[[nodiscard]] inline std::uint8_t* MutableRowOf(const PixelBuffer& b, int y)
{
    return b.data + std::ptrdiff_t(y) * b.stride;
}

} // namespace imaging
