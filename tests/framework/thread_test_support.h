// Waiting for a test's worker thread to end, for the framework's and the foundation's
// thread tests alike.
#pragma once

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

} // namespace test_support
