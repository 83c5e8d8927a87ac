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

// Resampling is separable, with weights precomputed per output column and row. Output
// pixel i's centre maps to source position (i + 0.5) * source / target - 0.5 (pixel
// centres aligned: no half-pixel shift); samples past an edge repeat the edge.
//   Nearest:  the source pixel under the output centre (point sampling, also when reducing).
//   Bilinear: triangle kernel, radius 1.
//   Bicubic:  Keys' cubic convolution with a = -0.5 (Catmull-Rom): interpolating, radius 2.
// When reducing, the bilinear and bicubic kernels are widened by the reduction factor, so
// they average over the whole source footprint and do not alias. Arithmetic is fixed point
// (14-bit weights); results are within one level of exact and the same on every thread
// count and instruction-set path. Also false for unusable buffers (empty, stride too small,
// channels not 1, 3 or 4, channel counts differing, or overlapping memory).
// Resamples `source` into `target` (both allocated by the caller, same channel count;
// target's width and height give the new size). threads 0 means one per core.
// Returns false when cancelled; `source` is never written.
bool Resample(const PixelBuffer& source, const PixelBuffer& target, ResampleMethod method,
              const ProgressFn& progress, int threads = 0);

// The filter: B is the 3x3 binomial blur [1 2 1]/4 x [1 2 1]/4 with edge pixels repeated.
//   amount > 0, unsharp mask: out = src + (amount / 500) * (src - B(src))  (gain 2 at 1000, 1.5 at 750)
//   amount < 0, soften:       out = src + (amount / 1000) * (src - B(src)) (B itself at -1000)
// computed per channel in fixed point as src + ((c * (16 src - 16 B)) + 2^14) >> 15 with
// c = round(f * 2^15 / 16000), f = 2 * amount or amount, then clamped to 0..255. Also false
// for unusable buffers or sizes that differ.
// Sharpens (amount > 0) or softens (amount < 0) `source` into `target` (same size and
// channels; may not alias). amount is clamped to -1000..1000; 0 copies.
// Returns false when cancelled; `source` is never written.
bool Sharpen(const PixelBuffer& source, const PixelBuffer& target, int amount, const ProgressFn& progress,
             int threads = 0);

} // namespace imaging
