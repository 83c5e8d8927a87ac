// The pixel kernels behind the imaging API: resampling and sharpening over plain
// memory, with no knowledge of files, handles or the API's records. The API layer
// owns the bitmaps; these functions only read one buffer and write another.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace imaging {

// Interleaved 8-bit samples, rows top-down, `stride` bytes from one row to the next.
struct PixelBuffer {
    std::uint8_t* data = nullptr;
    int width = 0;
    int height = 0;
    int channels = 3;  // 1, 3 or 4; the channels are filtered alike
    std::ptrdiff_t stride = 0;
};

// Called on the calling thread with a rising percentage from 0 to 99; the caller
// of the kernel sends the final 100 itself. Answering false cancels the operation.
using ProgressFn = std::function<bool(int percent)>;

enum class ResampleMethod { Nearest, Bilinear, Bicubic };

// Resamples `source` into `target` (both allocated by the caller, same channel count;
// target's width and height give the new size). threads 0 means one per core.
// Returns false when cancelled; `source` is never written.
bool Resample(const PixelBuffer& source, const PixelBuffer& target, ResampleMethod method,
              const ProgressFn& progress, int threads = 0);

// Sharpens (amount > 0) or softens (amount < 0) `source` into `target` (same size and
// channels; may not alias). amount is clamped to -1000..1000; 0 copies.
// Returns false when cancelled; `source` is never written.
bool Sharpen(const PixelBuffer& source, const PixelBuffer& target, int amount, const ProgressFn& progress,
             int threads = 0);

} // namespace imaging
