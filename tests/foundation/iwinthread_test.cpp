// The worker-thread base: a worker started through it runs its InitInstance on the
// new thread, takes work through its message loop, stops when told and ends with
// its exit code; the creation flags reach the thread, and an auto-deleting worker
// is destroyed through the base when its thread ends.
#include "lib/src/iWinThread.h"

#include "framework/thread_test_support.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

using test_support::kThreadWaitMs;
using test_support::RunSelfDeletingThread;
using test_support::WaitForExitCode;

constexpr UINT kAddWork = WM_APP + 1;

// Adds the numbers posted to it and signals after each; ends its loop on WM_QUIT.
class Adder : public iWinThread {
public:
    Adder() : m_workDone(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}
    ~Adder() override { CloseHandle(m_workDone); }

    BOOL InitInstance() override
    {
        startedOn = GetCurrentThreadId();
        current = AfxGetThread();
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message != kAddWork)
            return iWinThread::PreTranslateMessage(pMsg);
        sum += static_cast<int>(pMsg->wParam);
        SetEvent(m_workDone);
        return TRUE;
    }
    bool WaitForWork() { return WaitForSingleObject(m_workDone, kThreadWaitMs) == WAIT_OBJECT_0; }

    std::atomic<DWORD> startedOn{0};
    std::atomic<CWinThread*> current{nullptr};
    std::atomic<int> sum{0};

private:
    HANDLE m_workDone;
};

// The calling thread's stack reservation: the regions that share its allocation base.
size_t ReservedStackBytes()
{
    MEMORY_BASIC_INFORMATION here = {};
    VirtualQuery(&here, &here, sizeof here);
    size_t total = 0;
    const char* at = static_cast<const char*>(here.AllocationBase);
    MEMORY_BASIC_INFORMATION region = {};
    while (VirtualQuery(at, &region, sizeof region) && region.AllocationBase == here.AllocationBase) {
        total += region.RegionSize;
        at += region.RegionSize;
    }
    return total;
}

// Works in InitInstance until stopped, as the banner worker does, then answers
// with its own exit code.
class Ticker : public iWinThread {
public:
    BOOL InitInstance() override
    {
        stackBytes = ReservedStackBytes();
        while (running) {
            ++ticks;
            Sleep(1);
        }
        return FALSE;
    }
    int ExitInstance() override { return 3; }

    std::atomic<bool> running{true};
    std::atomic<int> ticks{0};
    std::atomic<size_t> stackBytes{0};
};

} // namespace

TEST(WorkerThread, StartsTakesWorkAndStopsWithItsExitCode)
{
    Adder worker;
    worker.m_bAutoDelete = FALSE;
    ASSERT_TRUE(worker.CreateThread());
    ASSERT_NE(nullptr, worker.m_hThread);

    for (int n = 1; n <= 3; ++n) {
        ASSERT_TRUE(worker.PostThreadMessage(kAddWork, static_cast<WPARAM>(n * 10), 0));
        ASSERT_TRUE(worker.WaitForWork());
    }
    EXPECT_EQ(60, worker.sum);
    EXPECT_EQ(worker.m_nThreadID, worker.startedOn);
    EXPECT_NE(GetCurrentThreadId(), worker.startedOn);
    // The running thread finds its own object.
    EXPECT_EQ(&worker, worker.current);

    ASSERT_TRUE(worker.PostThreadMessage(WM_QUIT, 7, 0));
    EXPECT_EQ(7u, WaitForExitCode(worker.m_hThread));
}

TEST(WorkerThread, WorkInInitInstanceRunsUntilStopped)
{
    Ticker worker;
    worker.m_bAutoDelete = FALSE;
    ASSERT_TRUE(worker.CreateThread());
    while (worker.ticks < 3)
        Sleep(1);
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(worker.m_hThread, 0));
    worker.running = false;
    EXPECT_EQ(3u, WaitForExitCode(worker.m_hThread));
}

TEST(WorkerThread, CreationFlagsAndStackSizeReachTheThread)
{
    // Larger than the program's default reservation, so that the thread's own
    // reservation shows the size asked for.
    constexpr UINT kStackBytes = 8 * 1024 * 1024;
    Ticker worker;
    worker.m_bAutoDelete = FALSE;
    ASSERT_TRUE(worker.CreateThread(CREATE_SUSPENDED, kStackBytes, nullptr));
    Sleep(50);
    EXPECT_EQ(0, worker.ticks);
    EXPECT_EQ(1u, worker.ResumeThread());
    while (worker.ticks == 0)
        Sleep(1);
    worker.running = false;
    EXPECT_EQ(3u, WaitForExitCode(worker.m_hThread));
    EXPECT_GE(worker.stackBytes, kStackBytes);
}

TEST(WorkerThread, AutoDeletingWorkerIsDestroyedWhenItsThreadEnds)
{
    struct Disposable : Ticker {
        std::atomic<bool>* destroyed = nullptr;
        ~Disposable() override { *destroyed = true; }
    };
    std::atomic<bool> destroyed{false};
    Disposable* worker = new Disposable;
    worker->destroyed = &destroyed;
    worker->running = false;
    EXPECT_EQ(3u, RunSelfDeletingThread(worker));
    EXPECT_TRUE(destroyed);
}
