// Per-thread objects: one per thread, deleted when a worker thread ends, and safe to
// use in numbers on threads that come and go (C++ thread_local objects with
// destructors are not, with this toolchain's runtime).
#include "framework/Framework.h"
#include "framework/ThreadLocal.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

std::atomic<int> g_alive{0};

struct CountedThreadValue {
    std::string text = "per thread";
    std::vector<int> numbers = std::vector<int>(64, 7);
    CountedThreadValue() { ++g_alive; }
    ~CountedThreadValue()
    {
        // A corrupted object shows here, when its thread ends.
        EXPECT_EQ("per thread", text);
        EXPECT_EQ(64u, numbers.size());
        --g_alive;
    }
};

CThreadLocal<CountedThreadValue> g_first;
CThreadLocal<CountedThreadValue> g_second;
CThreadLocal<CountedThreadValue> g_third;

// Reaches for another holder while its own thread is torn down.
struct ReachesOut {
    ~ReachesOut() { g_first.GetDataNA(); }
};
CThreadLocal<ReachesOut> g_reachesOut;

} // namespace

TEST(ThreadLocal, EachThreadHasItsOwnObject)
{
    CountedThreadValue* mine = g_first.GetData();
    EXPECT_EQ(mine, g_first.GetData());
    CountedThreadValue* theirs = nullptr;
    std::thread other([&] { theirs = g_first.GetData(); });
    other.join();
    EXPECT_NE(mine, theirs);
}

TEST(ThreadLocal, GetDataNAMakesNothing)
{
    CountedThreadValue* seen = reinterpret_cast<CountedThreadValue*>(1);
    std::thread other([&] { seen = g_second.GetDataNA(); });
    other.join();
    EXPECT_EQ(nullptr, seen);
}

TEST(ThreadLocal, WorkerThreadObjectsAreDeletedWhenTheThreadEnds)
{
    int before = g_alive;
    for (int round = 0; round < 20; ++round) {
        std::thread worker([] {
            g_first->text = "per thread";
            g_second->numbers.push_back(1);
            g_second->numbers.pop_back();
            g_third.GetData();
            g_reachesOut.GetData();
        });
        worker.join();
        // Churn the heap so that use of freed memory would show.
        std::vector<std::string> junk(200, std::string(48, 'x'));
    }
    EXPECT_EQ(before, g_alive.load());
}

TEST(ThreadLocal, WorksOnThreadsStartedWithoutTheRuntime)
{
    int before = g_alive;
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](void*) -> DWORD {
            g_first.GetData();
            g_second.GetData();
            g_third.GetData();
            return 0;
        },
        nullptr, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    EXPECT_EQ(before, g_alive.load());
}
