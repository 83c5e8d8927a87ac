// Rows on the calling thread and a pool of worker threads, progress and cancel on the
// calling thread. The pool's threads are made once and kept: starting a thread costs far
// more than a small resize (about 20 ms each under Wine, measured with the imaging bench).
// Each worker starts on a range of rows of its own and takes it piece by piece with one
// uncontended compare-and-swap; a worker that runs out takes over the far half of the
// largest range left. So a worker that starts late or loses its core to another program
// holds up nobody, without the hand-offs of a shared queue (under Wine every wait and wake
// is a round trip to the server) and with few jumps that make a row ring start over.
#include "imaging/Parallel.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace imaging {
namespace {

// Pieces a worker's own range is taken in: enough for prompt progress and for others to
// take over a stalled worker's rows, few enough that claiming costs nothing.
constexpr int kPiecesPerWorker = 64;
// How often the calling thread looks at the finished rows once its own rows are done.
constexpr auto kPollInterval = std::chrono::milliseconds(10);
constexpr int kMaxWorkers = 64;

// One run's tasks: task(i) for i in 0 .. count-1, each on some pool thread.
struct PoolJob {
    const std::function<void(int)>* task = nullptr;
    int count = 0;
    int claimed = 0;
    int finished = 0;
};

// Threads that wait for jobs. Several runs may share it (a second caller's tasks simply
// queue behind the first's), and a run never needs a pool thread to make progress: its
// calling thread takes over every range that no pool thread has started.
class WorkerPool {
public:
    // Never destroyed: its threads wait for work until the process ends.
    static WorkerPool& Instance()
    {
        static WorkerPool* pool = new WorkerPool;
        return *pool;
    }

    // Queues the job's tasks, growing the pool to job.count threads where it can.
    // Throws std::system_error only when the pool has no thread at all.
    void Start(PoolJob& job)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        while (m_threads < job.count) {
            try {
                std::thread(&WorkerPool::ThreadMain, this).detach();
                ++m_threads;
            } catch (const std::system_error&) {
                if (m_threads == 0)
                    throw;
                break;
            }
        }
        m_queue.push_back(&job);
        m_work.notify_all();
    }

    // Takes back the job's tasks that no thread has begun, so that the job is finished
    // once the begun ones are: a run whose rows are all taken need not wait for a thread
    // the system has not woken yet (under load that can take milliseconds).
    void Withdraw(PoolJob& job)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (job.claimed == job.count)
            return;
        m_queue.erase(std::find(m_queue.begin(), m_queue.end(), &job));
        job.count = job.claimed;
        if (job.finished == job.count)
            m_done.notify_all();
    }

    // Waits up to `timeout` for the job's tasks; true once all have finished.
    [[nodiscard]] bool WaitFor(PoolJob& job, std::chrono::milliseconds timeout)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        return m_done.wait_for(lock, timeout, [&] { return job.finished == job.count; });
    }

    void Wait(PoolJob& job)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_done.wait(lock, [&] { return job.finished == job.count; });
    }

private:
    void ThreadMain()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        for (;;) {
            m_work.wait(lock, [&] { return !m_queue.empty(); });
            PoolJob* job = m_queue.front();
            int index = job->claimed++;
            if (job->claimed == job->count)
                m_queue.pop_front();
            lock.unlock();
            (*job->task)(index);
            lock.lock();
            if (++job->finished == job->count)
                m_done.notify_all();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_work;
    std::condition_variable m_done;
    std::deque<PoolJob*> m_queue;
    int m_threads = 0;
};

// A worker's range of rows not yet taken, next row in the low half and end in the high
// half of one word, and the rows it has finished; each in a cache line of its own.
struct alignas(64) WorkerSlot {
    std::atomic<std::uint64_t> range{0};
    std::atomic<int> rowsDone{0};
};

std::uint64_t PackRange(std::uint32_t next, std::uint32_t end) { return std::uint64_t(end) << 32 | next; }
std::uint32_t NextOf(std::uint64_t range) { return std::uint32_t(range); }
std::uint32_t EndOf(std::uint64_t range) { return std::uint32_t(range >> 32); }

class SharedRun {
public:
    SharedRun(int rowCount, int workers, const BandWork& work)
        : m_slots(new WorkerSlot[std::size_t(workers)]), m_workers(workers), m_rowCount(rowCount),
          m_pieceRows(std::max(1, rowCount / (workers * kPiecesPerWorker))), m_work(work)
    {
        for (int w = 0; w < workers; ++w) {
            const auto first = std::uint32_t(std::int64_t(rowCount) * w / workers);
            const auto end = std::uint32_t(std::int64_t(rowCount) * (w + 1) / workers);
            m_slots[std::size_t(w)].range.store(PackRange(first, end), std::memory_order_relaxed);
        }
    }

    // Works pieces until no rows are left or the run stops; `afterPiece` (the calling
    // thread's progress) may stop it too, and what it throws leaves. Nothing leaves the
    // work itself: a failure is recorded and stops the other workers.
    template <typename AfterPiece>
    void Work(int worker, AfterPiece afterPiece)
    {
        BandControl control(m_slots[std::size_t(worker)].rowsDone, stop);
        int first = 0, end = 0;
        while (!stop.load(std::memory_order_relaxed)) {
            if (!ClaimOwn(worker, first, end)) {
                if (!TakeOver(worker))
                    break;
                continue;
            }
            try {
                m_work(worker, first, end, control);
            } catch (...) {
                failed.store(true);
                stop.store(true);
                break;
            }
            if (!afterPiece())
                break;
        }
    }

    int RowsDone() const
    {
        int done = 0;
        for (int w = 0; w < m_workers; ++w)
            done += m_slots[std::size_t(w)].rowsDone.load(std::memory_order_relaxed);
        return done;
    }
    int RowCount() const { return m_rowCount; }

    std::atomic<bool> stop{false};
    std::atomic<bool> failed{false};

private:
    // The next piece of the worker's own range; false when that range is empty.
    [[nodiscard]] bool ClaimOwn(int worker, int& first, int& end)
    {
        std::atomic<std::uint64_t>& range = m_slots[std::size_t(worker)].range;
        std::uint64_t current = range.load(std::memory_order_acquire);
        for (;;) {
            const std::uint32_t next = NextOf(current), rangeEnd = EndOf(current);
            if (next >= rangeEnd)
                return false;
            const std::uint32_t taken = std::min<std::uint32_t>(next + std::uint32_t(m_pieceRows), rangeEnd);
            if (range.compare_exchange_weak(current, PackRange(taken, rangeEnd), std::memory_order_acq_rel)) {
                first = int(next);
                end = int(taken);
                return true;
            }
        }
    }

    // Moves the far half of the largest range left (all of a single row) into the
    // worker's own, empty range; false when no rows are left to take.
    [[nodiscard]] bool TakeOver(int worker)
    {
        for (;;) {
            int victim = -1;
            std::uint32_t most = 0;
            for (int w = 0; w < m_workers; ++w) {
                const std::uint64_t range = m_slots[std::size_t(w)].range.load(std::memory_order_acquire);
                const std::uint32_t left = EndOf(range) > NextOf(range) ? EndOf(range) - NextOf(range) : 0;
                if (w != worker && left > most) {
                    most = left;
                    victim = w;
                }
            }
            if (victim < 0)
                return false;
            std::atomic<std::uint64_t>& range = m_slots[std::size_t(victim)].range;
            std::uint64_t current = range.load(std::memory_order_acquire);
            const std::uint32_t next = NextOf(current), rangeEnd = EndOf(current);
            if (next >= rangeEnd)
                continue;
            const std::uint32_t middle = next + (rangeEnd - next) / 2;
            if (range.compare_exchange_strong(current, PackRange(next, middle), std::memory_order_acq_rel)) {
                m_slots[std::size_t(worker)].range.store(PackRange(middle, rangeEnd), std::memory_order_release);
                return true;
            }
        }
    }

    std::unique_ptr<WorkerSlot[]> m_slots;
    int m_workers;
    int m_rowCount;
    int m_pieceRows;
    const BandWork& m_work;
};

// Stops and waits for the run's pool tasks when the run leaves, also by an exception
// from the progress callback: the tasks use the caller's stack.
class JobGuard {
public:
    JobGuard(WorkerPool& pool, PoolJob& job, SharedRun& run) : m_pool(pool), m_job(job), m_run(run) {}
    ~JobGuard()
    {
        m_run.stop.store(true);
        m_pool.Withdraw(m_job);
        m_pool.Wait(m_job);
    }

private:
    WorkerPool& m_pool;
    PoolJob& m_job;
    SharedRun& m_run;
};

// The calling thread's reports: each rise of the finished share, held below 100.
class ProgressReports {
public:
    ProgressReports(const ProgressFn& progress, const SharedRun& run) : m_progress(progress), m_run(run) {}
    [[nodiscard]] bool Start() { return !m_progress || m_progress(0); }
    // False when the callback cancels.
    [[nodiscard]] bool Update()
    {
        const int percent = int(std::min<long long>(99, m_run.RowsDone() * 100LL / m_run.RowCount()));
        if (percent <= m_last || !m_progress)
            return true;
        m_last = percent;
        return m_progress(percent);
    }

private:
    const ProgressFn& m_progress;
    const SharedRun& m_run;
    int m_last = 0;
};

} // namespace

int WorkerCount(int requested, int rowCount)
{
    int workers = requested;
    if (workers <= 0)
        workers = int(std::max(1u, std::thread::hardware_concurrency()));
    return std::clamp(std::min(workers, rowCount), 1, kMaxWorkers);
}

BandResult RunRowBands(int rowCount, int workers, const ProgressFn& progress, const BandWork& work)
{
    if (rowCount <= 0)
        return BandResult::Done;
    workers = std::clamp(workers, 1, std::min(rowCount, kMaxWorkers));
    SharedRun run(rowCount, workers, work);
    ProgressReports reports(progress, run);
    if (!reports.Start())
        return BandResult::Cancelled;

    // Worker 0 is the calling thread; the pool runs the others.
    const std::function<void(int)> task = [&](int index) { run.Work(index + 1, [] { return true; }); };
    PoolJob job;
    job.task = &task;
    job.count = workers - 1;
    WorkerPool& pool = WorkerPool::Instance();
    if (job.count > 0) {
        try {
            pool.Start(job);
        } catch (const std::system_error&) {
            job.count = 0;  // the calling thread takes every range over
        }
    }

    bool cancelled = false;
    {
        JobGuard guard(pool, job, run);
        run.Work(0, [&] {
            cancelled = !reports.Update();
            return !cancelled;
        });
        // Every row is taken now: only the workers still on a piece are waited for.
        pool.Withdraw(job);
        while (!cancelled && !run.failed.load()) {
            const bool allFinished = job.count == 0 || pool.WaitFor(job, kPollInterval);
            cancelled = !reports.Update();
            if (allFinished)
                break;
        }
    }
    if (run.failed.load())
        return BandResult::Failed;
    return cancelled ? BandResult::Cancelled : BandResult::Done;
}

} // namespace imaging
