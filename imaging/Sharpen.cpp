// Sharpening and softening of a pixel buffer by bands of rows on worker threads. Each
// output row needs only its own source row and the two beside it, so bands are
// independent and a worker's only state is one row of column sums.
#include "imaging/PixelBufferChecks.h"
#include "imaging/Parallel.h"
#include "imaging/ScratchMemory.h"
#include "imaging/SharpenRows.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

namespace imaging {

bool Sharpen(const PixelBuffer& source, const PixelBuffer& target, int amount, const ProgressFn& progress,
             int threads)
{
    if (!IsUsableBuffer(source) || !IsUsableBuffer(target) || source.width != target.width ||
        source.height != target.height || source.channels != target.channels || BuffersOverlap(source, target))
        return false;
    amount = std::clamp(amount, -1000, 1000);
    const int coefficient = SharpenCoefficient(amount);
    const SharpenRowFn filterRow = SharpenRowFor(ActiveKernelPath());
    const int width = source.width;
    const int height = source.height;
    const int channels = source.channels;
    try {
        int workers = WorkerCount(threads, height);
        std::vector<ScratchVector<std::int16_t>> scratch(static_cast<std::size_t>(workers));
        auto band = [&](int worker, int firstRow, int endRow, BandControl& control) {
            ScratchVector<std::int16_t>& sums = scratch[std::size_t(worker)];
            sums.resize(std::size_t(width + 2) * channels);
            for (int y = firstRow; y < endRow; ++y) {
                std::uint8_t* out = MutableRowOf(target, y);
                if (coefficient == 0)
                    std::memcpy(out, RowOf(source, y), std::size_t(width) * channels);
                else
                    filterRow(RowOf(source, std::max(y - 1, 0)), RowOf(source, y),
                              RowOf(source, std::min(y + 1, height - 1)), out, width, channels, coefficient,
                              sums.data());
                if (!control.RowDone())
                    return;
            }
        };
        return RunRowBands(height, workers, progress, band) == BandResult::Done;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

} // namespace imaging
