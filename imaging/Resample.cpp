// Separable resampling: each worker filters source rows horizontally into a small ring
// of intermediate rows and combines them vertically straight into the target, so a
// resize needs no full-size intermediate image: besides source and target, a worker
// holds `vertical taps` intermediate rows (four for an enlargement, about four times the
// reduction factor for a reduction), one more where it makes two output rows at a time.
#include "imaging/PixelBufferChecks.h"
#include "imaging/Parallel.h"
#include "imaging/ResampleRows.h"
#include "imaging/ScratchMemory.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

namespace imaging {
namespace {

// What the row rings of all workers may take together. A 2x enlargement of 4000 x 3000
// on 8 workers needs 1.5 MB; reducing it to a tenth of its height, about 2 MB per worker.
constexpr std::size_t kRingBudgetBytes = 64u << 20;

template <int Channels>
void GatherRow(const std::uint8_t* source, const ScratchVector<int>& firstColumn, std::uint8_t* out)
{
    for (std::size_t x = 0; x < firstColumn.size(); ++x)
        std::memcpy(out + x * Channels, source + std::size_t(firstColumn[x]) * Channels, Channels);
}

void GatherRow(const std::uint8_t* source, const ScratchVector<int>& firstColumn, int channels, std::uint8_t* out)
{
    switch (channels) {
    case 1: GatherRow<1>(source, firstColumn, out); break;
    case 3: GatherRow<3>(source, firstColumn, out); break;
    default: GatherRow<4>(source, firstColumn, out); break;
    }
}

// Rows a worker's ring holds: the vertical taps, and one more where output rows go in
// pairs (the second row's window reaches a row further).
int RingSlots(const ResampleRowFns& fns, int taps)
{
    return fns.verticalPair && taps == kPairTaps ? taps + 1 : taps;
}

// One worker's ring: slot k holds the intermediate of some source row r with r % slots == k.
// Scratch memory: kept pages, and blocks of their own cache lines for each worker.
struct RowRing {
    ScratchVector<std::int16_t> storage;
    ScratchVector<int> sourceRow;
    ScratchVector<const std::int16_t*> window;
};

class SeparableResampler {
public:
    SeparableResampler(const PixelBuffer& source, const PixelBuffer& target, AxisWeights columns, AxisWeights rows,
                       ResampleRowFns fns, int workers)
        : m_source(source), m_target(target), m_columns(std::move(columns)), m_rows(std::move(rows)), m_fns(fns),
          m_rings(std::size_t(workers))
    {
    }

    void Band(int worker, int firstRow, int endRow, BandControl& control)
    {
        if (m_columns.isPointSampling && m_rows.isPointSampling)
            PointSampleBand(firstRow, endRow, control);
        else
            FilterBand(m_rings[std::size_t(worker)], firstRow, endRow, control);
    }

private:
    // Nearest neighbour: rows taken whole, repeated rows copied from the one just made.
    void PointSampleBand(int firstRow, int endRow, BandControl& control)
    {
        const std::size_t rowBytes = std::size_t(m_target.width) * m_target.channels;
        for (int y = firstRow; y < endRow; ++y) {
            int sourceRow = m_rows.first[std::size_t(y)];
            std::uint8_t* out = MutableRowOf(m_target, y);
            if (y > firstRow && sourceRow == m_rows.first[std::size_t(y) - 1])
                std::memcpy(out, RowOf(m_target, y - 1), rowBytes);
            else
                GatherRow(RowOf(m_source, sourceRow), m_columns.first, m_target.channels, out);
            if (!control.RowDone())
                return;
        }
    }

    // Neighbouring rows whose windows start at most a row apart go in pairs where the path
    // has a pair loop; the last row of a band, or one whose window jumps, goes alone.
    void FilterBand(RowRing& ring, int firstRow, int endRow, BandControl& control)
    {
        const int taps = m_rows.taps;
        const int slots = RingSlots(m_fns, taps);
        const bool hasPairs = slots > taps;
        const int samples = m_target.width * m_target.channels;
        const std::size_t rowElements = std::size_t(samples) + kIntermediateSlack;
        const std::size_t sourceBytes = std::size_t(m_source.width) * m_source.channels;
        if (ring.storage.empty()) {
            ring.storage.resize(rowElements * slots);
            ring.sourceRow.assign(std::size_t(slots), -1);
            ring.window.resize(std::size_t(slots));
        }
        for (int y = firstRow; y < endRow; ++y) {
            const int first = m_rows.first[std::size_t(y)];
            const int shift = hasPairs && y + 1 < endRow ? m_rows.first[std::size_t(y) + 1] - first : -1;
            const bool isPair = shift == 0 || shift == 1;
            const int windowRows = isPair ? taps + shift : taps;
            for (int k = 0; k < windowRows; ++k) {
                int sourceRow = first + k;
                std::size_t slot = std::size_t(sourceRow % slots);
                std::int16_t* row = ring.storage.data() + slot * rowElements;
                if (ring.sourceRow[slot] != sourceRow) {
                    m_fns.horizontal(RowOf(m_source, sourceRow), sourceBytes, m_columns, m_source.channels, row);
                    ring.sourceRow[slot] = sourceRow;
                }
                ring.window[std::size_t(k)] = row;
            }
            if (!isPair) {
                m_fns.vertical(ring.window.data(), m_rows.WeightsOf(y), taps, MutableRowOf(m_target, y), samples);
                if (!control.RowDone())
                    return;
                continue;
            }
            m_fns.verticalPair(ring.window.data(), m_rows.WeightsOf(y), m_rows.WeightsOf(y + 1), shift,
                               MutableRowOf(m_target, y), MutableRowOf(m_target, y + 1), samples);
            ++y;
            if (!control.RowDone() || !control.RowDone())
                return;
        }
    }

    const PixelBuffer& m_source;
    const PixelBuffer& m_target;
    const AxisWeights m_columns;
    const AxisWeights m_rows;
    const ResampleRowFns m_fns;
    std::vector<RowRing> m_rings;
};

} // namespace

bool Resample(const PixelBuffer& source, const PixelBuffer& target, ResampleMethod method,
              const ProgressFn& progress, int threads)
{
    if (!IsUsableBuffer(source) || !IsUsableBuffer(target) || source.channels != target.channels ||
        BuffersOverlap(source, target))
        return false;
    try {
        AxisWeights columns = ComputeAxisWeights(source.width, target.width, method);
        AxisWeights rows = ComputeAxisWeights(source.height, target.height, method);
        // A strong reduction of the height alone makes each ring long (one row per tap):
        // fewer workers then, so that the rings together stay within a fixed budget.
        std::size_t rowBytes =
            (std::size_t(target.width) * target.channels + kIntermediateSlack) * sizeof(std::int16_t);
        const ResampleRowFns fns = ResampleRowsFor(ActiveKernelPath());
        std::size_t ringBytes = rowBytes * std::size_t(RingSlots(fns, rows.taps));
        std::size_t ringsWithinBudget = std::max<std::size_t>(1, kRingBudgetBytes / ringBytes);
        int workers = int(std::min<std::size_t>(WorkerCount(threads, target.height), ringsWithinBudget));
        SeparableResampler resampler(source, target, std::move(columns), std::move(rows), fns, workers);
        auto band = [&](int worker, int firstRow, int endRow, BandControl& control) {
            resampler.Band(worker, firstRow, endRow, control);
        };
        return RunRowBands(target.height, workers, progress, band) == BandResult::Done;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

} // namespace imaging
