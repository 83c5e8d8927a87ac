// Bands of rows on a pool of worker threads, progress and cancel on the calling thread.
// The pool's threads are made once and kept: starting a thread costs far more than a
// small resize (about 20 ms each under Wine, measured with the imaging bench).
#include "imaging/Parallel.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

namespace imaging {
namespace {

// Several bands per worker even out uneven threads; each band start costs a few rows of
// refiltering, so bands stay well above that.
constexpr int kBandsPerWorker = 4;
constexpr int kMinBandRows = 16;
// How often the calling thread looks at the finished rows while the workers run.
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
// queue behind the first's), and a run never needs more threads than exist to finish:
// its tasks take bands from a shared counter, so the first task alone could do them all.
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

struct SharedRun {
    std::atomic<int> rowsDone{0};
    std::atomic<bool> stop{false};
    std::atomic<int> nextBand{0};
    std::atomic<bool> failed{false};
};

void WorkerBody(SharedRun& run, const BandWork& work, int worker, int rowCount, int bandRows)
{
    // Nothing may leave a worker: a failure is recorded and stops the others.
    try {
        BandControl control(run.rowsDone, run.stop);
        while (!run.stop.load(std::memory_order_relaxed)) {
            int firstRow = run.nextBand.fetch_add(1) * bandRows;
            if (firstRow >= rowCount)
                break;
            work(worker, firstRow, std::min(rowCount, firstRow + bandRows), control);
        }
    } catch (...) {
        run.failed.store(true);
        run.stop.store(true);
    }
}

// Stops and waits for the run's tasks when the run leaves, also by an exception from the
// progress callback: the tasks use the caller's stack.
class JobGuard {
public:
    JobGuard(WorkerPool& pool, PoolJob& job, SharedRun& run) : m_pool(pool), m_job(job), m_run(run) {}
    ~JobGuard()
    {
        m_run.stop.store(true);
        m_pool.Wait(m_job);
    }

private:
    WorkerPool& m_pool;
    PoolJob& m_job;
    SharedRun& m_run;
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
    int lastPercent = 0;
    if (progress && !progress(lastPercent))
        return BandResult::Cancelled;

    workers = std::clamp(workers, 1, std::min(rowCount, kMaxWorkers));
    const int bandRows =
        std::max(kMinBandRows, (rowCount + workers * kBandsPerWorker - 1) / (workers * kBandsPerWorker));

    SharedRun run;
    const std::function<void(int)> task = [&](int worker) { WorkerBody(run, work, worker, rowCount, bandRows); };
    PoolJob job;
    job.task = &task;
    job.count = workers;
    WorkerPool& pool = WorkerPool::Instance();
    try {
        pool.Start(job);
    } catch (const std::system_error&) {
        return BandResult::Failed;
    }

    bool cancelled = false;
    {
        JobGuard guard(pool, job, run);
        for (;;) {
            bool allFinished = pool.WaitFor(job, kPollInterval);
            if (run.failed.load())
                break;
            int percent = int(std::min<long long>(99, run.rowsDone.load() * 100LL / rowCount));
            if (percent > lastPercent && progress) {
                lastPercent = percent;
                if (!progress(percent)) {
                    cancelled = true;
                    break;
                }
            }
            if (allFinished)
                break;
        }
    }
    if (run.failed.load())
        return BandResult::Failed;
    return cancelled ? BandResult::Cancelled : BandResult::Done;
}

} // namespace imaging
