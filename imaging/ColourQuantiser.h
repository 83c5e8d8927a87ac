// Palettes for the indexed formats (GIF, 8-bit PCX): an image of at most 256 colours
// keeps its colours exactly; a grey image gets the 256 greys; any other image is
// quantised by median cut over its exact colours (or, past 2^18 of them, over a 6-bit
// histogram whose bins keep the exact sums of their colours), refined by one k-means
// pass, so smooth gradients keep every step that 256 colours allow.
#pragma once

#include "imaging/PixelKernels.h"

#include <cstdint>
#include <vector>

namespace imaging {

// Palette entries are 0x00RRGGBB.
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> palette;  // 1 to 256 entries
    std::vector<std::uint8_t> indices;   // width x height, rows top-down
};

// The image's own colours when it has at most 256 (a 1- or 3-channel view); false when it has more.
[[nodiscard]] bool TryExactPalette(const PixelBuffer& image, IndexedImage& indexed);

// Exact when possible, else median cut. Progress is reported through `progress`
// (0..99); false when it cancels. Throws std::bad_alloc when memory runs out.
[[nodiscard]] bool MakeIndexed(const PixelBuffer& image, const ProgressFn& progress, IndexedImage& indexed);

} // namespace imaging
