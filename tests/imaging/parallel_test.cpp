// Rows on the calling thread and worker threads: every row once, a stalled worker's rows
// taken over, progress on the calling thread, prompt cancel, and failures on a worker
// reported instead of escaping its thread.
#include "imaging/Parallel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <new>
#include <thread>
#include <vector>

using imaging::BandControl;
using imaging::BandResult;
using imaging::RunRowBands;

TEST(RowBands, EveryRowOnceWithWorkerZeroOnTheCallingThread)
{
    const int kRows = 1000;
    const std::thread::id caller = std::this_thread::get_id();
    for (int workers : {1, 3, 8}) {
        SCOPED_TRACE(workers);
        std::vector<std::atomic<int>> visits(kRows);
        std::atomic<bool> zeroOnCaller{true};
        auto work = [&](int worker, int firstRow, int endRow, BandControl& control) {
            if ((worker == 0) != (std::this_thread::get_id() == caller))
                zeroOnCaller = false;
            for (int y = firstRow; y < endRow; ++y) {
                visits[std::size_t(y)].fetch_add(1);
                if (!control.RowDone())
                    return;
            }
        };
        EXPECT_EQ(BandResult::Done, RunRowBands(kRows, workers, nullptr, work));
        for (int y = 0; y < kRows; ++y)
            ASSERT_EQ(1, visits[std::size_t(y)].load()) << "row " << y;
        EXPECT_TRUE(zeroOnCaller);
    }
}

// A worker that stalls (its thread lost to another program, or here the calling thread
// busy elsewhere) keeps only the piece it holds: the others take the rest of its range over.
TEST(RowBands, OthersTakeOverTheRowsOfAStalledWorker)
{
    const int kRows = 800;
    const int kWorkers = 4;
    std::vector<std::atomic<int>> rowsBy(kWorkers);
    std::atomic<bool> hasStalled{false};
    auto work = [&](int worker, int firstRow, int endRow, BandControl& control) {
        if (worker == 0 && !hasStalled.exchange(true))
            std::this_thread::sleep_for(std::chrono::milliseconds(600));
        for (int y = firstRow; y < endRow; ++y) {
            std::this_thread::sleep_for(std::chrono::microseconds(100));
            rowsBy[std::size_t(worker)].fetch_add(1);
            if (!control.RowDone())
                return;
        }
    };
    EXPECT_EQ(BandResult::Done, RunRowBands(kRows, kWorkers, nullptr, work));
    int total = 0;
    for (auto& rows : rowsBy)
        total += rows.load();
    EXPECT_EQ(kRows, total);
    // Its own range was a quarter of the rows; after the stall nothing of it was left
    // but the piece it held, a few rows.
    EXPECT_LT(rowsBy[0].load(), kRows / 32);
}

TEST(RowBands, ProgressRisesFromZeroToNinetyNineOnCallingThread)
{
    std::vector<int> seen;
    const std::thread::id caller = std::this_thread::get_id();
    bool onCaller = true;
    auto progress = [&](int percent) {
        seen.push_back(percent);
        onCaller = onCaller && std::this_thread::get_id() == caller;
        return true;
    };
    // Slow rows, so that the calling thread sees the run part way several times.
    auto work = [](int, int firstRow, int endRow, BandControl& control) {
        for (int y = firstRow; y < endRow; ++y) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            if (!control.RowDone())
                return;
        }
    };
    EXPECT_EQ(BandResult::Done, RunRowBands(300, 2, progress, work));
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(0, seen.front());
    EXPECT_EQ(99, seen.back());
    for (std::size_t i = 1; i < seen.size(); ++i)
        EXPECT_LT(seen[i - 1], seen[i]);
    EXPECT_TRUE(onCaller);
}

TEST(RowBands, CancelStopsTheWorkersPromptly)
{
    // 8000 rows of 1 ms on 4 workers would take two seconds; the cancel comes at 5 %.
    const int kRows = 8000;
    std::atomic<int> rows{0};
    std::chrono::steady_clock::time_point cancelledAt;
    bool saidNo = false;
    auto progress = [&](int percent) {
        if (percent < 5)
            return true;
        saidNo = true;
        cancelledAt = std::chrono::steady_clock::now();
        return false;
    };
    auto work = [&](int, int firstRow, int endRow, BandControl& control) {
        for (int y = firstRow; y < endRow; ++y) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            rows.fetch_add(1);
            if (!control.RowDone())
                return;
        }
    };
    EXPECT_EQ(BandResult::Cancelled, RunRowBands(kRows, 4, progress, work));
    auto stopMs = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - cancelledAt);
    ASSERT_TRUE(saidNo);
    // Generous bounds for a loaded machine: a worker that ignored the cancel would run on
    // for the best part of two seconds.
    EXPECT_LT(stopMs.count(), 1000);
    EXPECT_LT(rows.load(), kRows / 2);
    // Once the run has returned no worker touches anything: the caller may free the rows.
    int rowsAtReturn = rows.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(rowsAtReturn, rows.load());
}

TEST(RowBands, FailureOnAWorkerFailsTheRun)
{
    auto work = [](int, int firstRow, int endRow, BandControl& control) {
        if (firstRow > 0)
            throw std::bad_alloc();
        for (int y = firstRow; y < endRow; ++y)
            if (!control.RowDone())
                return;
    };
    EXPECT_EQ(BandResult::Failed, RunRowBands(500, 3, [](int) { return true; }, work));
}

TEST(RowBands, WorkerCountFollowsRequestAndRows)
{
    EXPECT_EQ(1, imaging::WorkerCount(1, 100));
    EXPECT_EQ(5, imaging::WorkerCount(5, 100));
    EXPECT_EQ(2, imaging::WorkerCount(8, 2));  // never more workers than rows
    EXPECT_EQ(1, imaging::WorkerCount(0, 1));
}
