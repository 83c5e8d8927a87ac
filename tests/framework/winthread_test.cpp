// Framework threads: start-up, the message loop, idle steps, WM_QUIT and exit codes.
#include "framework/HandleMap.h"
#include "framework/WinThread.h"

#include "thread_test_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using test_support::RunSelfDeletingThread;
using test_support::WaitForExitCode;

// A thread that records what the framework calls on it.
class RecordingThread : public CWinThread {
public:
    BOOL startAnswer = TRUE;
    int exitAnswer = -1;  // -1: the framework's exit code
    CWinThread* seenCurrent = nullptr;
    std::vector<LONG> idleCounts;
    std::vector<UINT> preTranslated;
    bool exitRan = false;
    bool* destroyed = nullptr;
    // When set, the thread pumps nested messages while handling WM_APP, as a modal loop would.
    bool nestedPumpOnApp = false;

    ~RecordingThread() override
    {
        if (destroyed)
            *destroyed = true;
    }

    BOOL InitInstance() override
    {
        seenCurrent = AfxGetThread();
        return startAnswer;
    }

    int ExitInstance() override
    {
        exitRan = true;
        int base = CWinThread::ExitInstance();
        return exitAnswer == -1 ? base : exitAnswer;
    }

    BOOL OnIdle(LONG lCount) override
    {
        idleCounts.push_back(lCount);
        return CWinThread::OnIdle(lCount);
    }

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        preTranslated.push_back(pMsg->message);
        if (pMsg->message == WM_APP && nestedPumpOnApp) {
            MSG peeked;
            while (PeekMessageA(&peeked, nullptr, 0, 0, PM_NOREMOVE)) {
                if (!PumpMessage())
                    break;
            }
        }
        return CWinThread::PreTranslateMessage(pMsg);
    }
};

} // namespace

TEST(WinThread, RunsLoopUntilQuitAndExitsWithTheQuitCode)
{
    RecordingThread thread;
    thread.m_bAutoDelete = FALSE;
    ASSERT_TRUE(thread.CreateThread());
    EXPECT_NE(nullptr, thread.m_hThread);
    EXPECT_NE(0u, thread.m_nThreadID);
    // The queue exists once CreateThread returns, so nothing posted here is lost.
    ASSERT_TRUE(thread.PostThreadMessage(WM_APP, 0, 0));
    ASSERT_TRUE(thread.PostThreadMessage(WM_QUIT, 7, 0));
    EXPECT_EQ(7u, WaitForExitCode(thread.m_hThread));
    EXPECT_TRUE(thread.exitRan);
    EXPECT_EQ(&thread, thread.seenCurrent);
    ASSERT_FALSE(thread.preTranslated.empty());
    EXPECT_EQ(static_cast<UINT>(WM_APP), thread.preTranslated.front());
}

TEST(WinThread, FailedStartRunsNoLoopButStillExitInstance)
{
    RecordingThread thread;
    thread.m_bAutoDelete = FALSE;
    thread.startAnswer = FALSE;
    thread.exitAnswer = 42;
    ASSERT_TRUE(thread.CreateThread());
    EXPECT_EQ(42u, WaitForExitCode(thread.m_hThread));
    EXPECT_TRUE(thread.exitRan);
    EXPECT_TRUE(thread.idleCounts.empty());
}

TEST(WinThread, IdleStepsRestartAfterEachMessage)
{
    // Posts from its own idle work, so the order does not depend on timing.
    struct IdlePostingThread : RecordingThread {
        int rounds = 0;
        BOOL OnIdle(LONG lCount) override
        {
            BOOL more = RecordingThread::OnIdle(lCount);
            if (lCount == 1)
                ::PostThreadMessageA(GetCurrentThreadId(), ++rounds == 1 ? WM_APP : WM_QUIT, 0, 0);
            return more;
        }
    };
    IdlePostingThread thread;
    thread.m_bAutoDelete = FALSE;
    ASSERT_TRUE(thread.CreateThread());
    WaitForExitCode(thread.m_hThread);
    // Steps 0 and 1, then the loop waits; the message starts them again.
    std::vector<LONG> expected = {0, 1, 0, 1};
    EXPECT_EQ(expected, thread.idleCounts);
}

TEST(WinThread, QuitTakenByNestedPumpStillEndsTheLoop)
{
    // Both queued before the loop starts: the nested pump under WM_APP meets WM_QUIT.
    struct QueueingThread : RecordingThread {
        BOOL InitInstance() override
        {
            ::PostThreadMessageA(GetCurrentThreadId(), WM_APP, 0, 0);
            ::PostThreadMessageA(GetCurrentThreadId(), WM_QUIT, 9, 0);
            return TRUE;
        }
    };
    QueueingThread thread;
    thread.m_bAutoDelete = FALSE;
    thread.nestedPumpOnApp = true;
    ASSERT_TRUE(thread.CreateThread());
    EXPECT_EQ(9u, WaitForExitCode(thread.m_hThread));
    EXPECT_TRUE(thread.exitRan);
}

TEST(WinThread, AutoDeletingThreadFreesItselfWhenItEnds)
{
    bool destroyed = false;
    auto* thread = new RecordingThread;
    thread->destroyed = &destroyed;
    thread->startAnswer = FALSE;
    RunSelfDeletingThread(thread);
    EXPECT_TRUE(destroyed);
}

TEST(WinThread, KeptThreadObjectOutlivesItsThreadSoItsOwnerCanJoinIt)
{
    // A worker whose owner stops it with WM_QUIT, joins it with a bounded wait and then
    // deletes the object itself, as the banner strip does with its worker.
    bool destroyed = false;
    auto* thread = new RecordingThread;
    thread->m_bAutoDelete = FALSE;
    thread->destroyed = &destroyed;
    ASSERT_TRUE(thread->CreateThread());
    ASSERT_TRUE(thread->PostThreadMessage(WM_QUIT, 5, 0));
    EXPECT_EQ(5u, WaitForExitCode(thread->m_hThread));
    // Long after the end the handle still names the ended thread.
    Sleep(50);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread->m_hThread, 0));
    EXPECT_EQ(5u, WaitForExitCode(thread->m_hThread));
    EXPECT_FALSE(destroyed);
    delete thread;
    EXPECT_TRUE(destroyed);
}

TEST(WinThread, CurrentThreadObjectBelongsToItsOwnThread)
{
    RecordingThread thread;
    thread.m_bAutoDelete = FALSE;
    thread.startAnswer = FALSE;
    ASSERT_TRUE(thread.CreateThread());
    WaitForExitCode(thread.m_hThread);
    EXPECT_EQ(&thread, thread.seenCurrent);
    EXPECT_NE(static_cast<CWinThread*>(&thread), AfxGetThread());
}

TEST(WinThread, IdleFreesTemporaryHandleMapObjects)
{
    struct Wrapper : CObject {
        HANDLE h = nullptr;
    };
    struct MapThread : RecordingThread {
        bool temporaryGoneAtIdle = false;
        CHandleMap<Wrapper, HANDLE>* map = nullptr;
        BOOL InitInstance() override
        {
            map = new CHandleMap<Wrapper, HANDLE>([]() { return new Wrapper; },
                                                  [](Wrapper* w, HANDLE h) { w->h = h; });
            map->FromHandle(reinterpret_cast<HANDLE>(0x40));
            return TRUE;
        }
        BOOL OnIdle(LONG lCount) override
        {
            BOOL more = RecordingThread::OnIdle(lCount);
            if (lCount == 1) {
                temporaryGoneAtIdle = map->LookupTemporary(reinterpret_cast<HANDLE>(0x40)) == nullptr;
                PostQuitMessage(0);
            }
            return more;
        }
        int ExitInstance() override
        {
            delete map;
            return RecordingThread::ExitInstance();
        }
    };
    MapThread thread;
    thread.m_bAutoDelete = FALSE;
    ASSERT_TRUE(thread.CreateThread());
    WaitForExitCode(thread.m_hThread);
    EXPECT_TRUE(thread.temporaryGoneAtIdle);
}
