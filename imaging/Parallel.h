// Runs row-by-row pixel work on the calling thread and pooled worker threads. Only the
// calling thread reports progress, so the status callback is always called on the thread
// that asked for the work, as the imaging API promises its callers.
#pragma once

#include "imaging/PixelKernels.h"

#include <atomic>
#include <functional>

namespace imaging {

enum class BandResult { Done, Cancelled, Failed };

// What a worker sees of the run: it counts finished rows and stops at the first row
// after a cancel. The count is the worker's own, so counting costs no shared cache line.
class BandControl {
public:
    BandControl(std::atomic<int>& rowsDone, const std::atomic<bool>& stop) : m_rowsDone(rowsDone), m_stop(stop) {}
    // Counts one finished row; false means stop now.
    [[nodiscard]] bool RowDone()
    {
        m_rowsDone.store(m_rowsDone.load(std::memory_order_relaxed) + 1, std::memory_order_relaxed);
        return !m_stop.load(std::memory_order_relaxed);
    }
    [[nodiscard]] bool ShouldStop() const { return m_stop.load(std::memory_order_relaxed); }

private:
    std::atomic<int>& m_rowsDone;
    const std::atomic<bool>& m_stop;
};

// Works rows [firstRow, endRow) on worker `worker` (0 .. workers-1; 0 is the calling
// thread). Each worker starts on a range of its own and takes it in rising order, piece
// by piece, so it can keep state such as a row ring from one piece to the next; a worker
// that runs out takes over the far half of the largest range left, which may lie before
// its own. An exception (out of memory) is caught on the worker and fails the run.
using BandWork = std::function<void(int worker, int firstRow, int endRow, BandControl& control)>;

// The number of workers a run of `rowCount` rows uses for `requested` threads (0: one per core).
[[nodiscard]] int WorkerCount(int requested, int rowCount);

// Splits rows [0, rowCount) among `workers` threads, the calling thread one of them. The
// calling thread reports 0, then each rise of the finished share, up to 99 once all rows
// are done; a false answer stops the workers after their current row. A callback that
// throws stops and joins the workers before the exception leaves.
[[nodiscard]] BandResult RunRowBands(int rowCount, int workers, const ProgressFn& progress, const BandWork& work);

} // namespace imaging
