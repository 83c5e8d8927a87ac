// Runs row-by-row pixel work on pooled worker threads while the calling thread reports
// progress. The calling thread only waits and reports, so the status callback is always
// called on the thread that asked for the work, as the imaging API promises its callers.
#pragma once

#include "imaging/PixelKernels.h"

#include <atomic>
#include <functional>

namespace imaging {

enum class BandResult { Done, Cancelled, Failed };

// What a worker sees of the run: it counts finished rows and stops at the first row
// after a cancel.
class BandControl {
public:
    BandControl(std::atomic<int>& rowsDone, const std::atomic<bool>& stop) : m_rowsDone(rowsDone), m_stop(stop) {}
    // Counts one finished row; false means stop now.
    [[nodiscard]] bool RowDone()
    {
        m_rowsDone.fetch_add(1, std::memory_order_relaxed);
        return !m_stop.load(std::memory_order_relaxed);
    }
    [[nodiscard]] bool ShouldStop() const { return m_stop.load(std::memory_order_relaxed); }

private:
    std::atomic<int>& m_rowsDone;
    const std::atomic<bool>& m_stop;
};

// Works rows [firstRow, endRow) of a band on worker `worker` (0 .. workers-1); a worker
// takes bands in rising order, so it can keep state such as a row ring from one band to
// the next. An exception (out of memory) is caught on the worker and fails the run.
using BandWork = std::function<void(int worker, int firstRow, int endRow, BandControl& control)>;

// The number of workers a run of `rowCount` rows uses for `requested` threads (0: one per core).
[[nodiscard]] int WorkerCount(int requested, int rowCount);

// Splits rows [0, rowCount) into bands that `workers` threads take in turn. The calling
// thread reports 0, then each rise of the finished share, up to 99 once all rows are done;
// a false answer stops the workers after their current row. A callback that throws stops
// and joins the workers before the exception leaves.
[[nodiscard]] BandResult RunRowBands(int rowCount, int workers, const ProgressFn& progress, const BandWork& work);

} // namespace imaging
