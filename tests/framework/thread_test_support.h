// Waiting for a test's worker thread to end, and running one that deletes itself, for the
// framework's and the foundation's thread tests alike.
#pragma once

#include "framework/WinThread.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace test_support {

// Long enough for any worker of these tests, short enough that a hung one fails the test.
constexpr DWORD kThreadWaitMs = 5000;

// Waits for the thread to end and answers its exit code (STILL_ACTIVE if it never did).
inline DWORD WaitForExitCode(HANDLE thread)
{
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, kThreadWaitMs));
    DWORD code = STILL_ACTIVE;
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    return code;
}

// Starts a thread that deletes its object when it ends and waits for it through a handle of
// our own, taken while the thread is still suspended so that the object cannot go first.
// Answers the exit code, or STILL_ACTIVE when the thread could not be run.
inline DWORD RunSelfDeletingThread(CWinThread* thread)
{
    if (!thread->CreateThread(CREATE_SUSPENDED)) {
        ADD_FAILURE() << "the thread was not created";
        return STILL_ACTIVE;
    }
    HANDLE handle = nullptr;
    const BOOL duplicated = DuplicateHandle(GetCurrentProcess(), thread->m_hThread, GetCurrentProcess(), &handle, 0,
                                            FALSE, DUPLICATE_SAME_ACCESS);
    EXPECT_TRUE(duplicated);
    thread->ResumeThread();
    if (!duplicated)
        return STILL_ACTIVE;
    const DWORD code = WaitForExitCode(handle);
    CloseHandle(handle);
    return code;
}

} // namespace test_support
