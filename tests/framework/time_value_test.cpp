// The framework's time value: a file time taken as local time and broken down again.
#include "framework/Framework.h"

#include <gtest/gtest.h>

namespace {

FILETIME FileTimeOf(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second)
{
    SYSTEMTIME parts = {year, month, 0, day, hour, minute, second, 0};
    FILETIME fileTime = {};
    EXPECT_TRUE(SystemTimeToFileTime(&parts, &fileTime));
    return fileTime;
}

// The local time of a file time as the system itself converts it.
SYSTEMTIME SystemLocalTime(const FILETIME& fileTime)
{
    FILETIME local = {};
    SYSTEMTIME parts = {};
    EXPECT_TRUE(FileTimeToLocalFileTime(&fileTime, &local));
    EXPECT_TRUE(FileTimeToSystemTime(&local, &parts));
    return parts;
}

} // namespace

TEST(CTime, FileTimeComesBackAsTheSystemsLocalTime)
{
    struct Case { const char* why; FILETIME fileTime; };
    const Case cases[] = {
        {"an ordinary date", FileTimeOf(2024, 3, 5, 10, 20, 30)},
        {"the last second of a year", FileTimeOf(1999, 12, 31, 23, 59, 59)},
        {"a leap day", FileTimeOf(2020, 2, 29, 0, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        const SYSTEMTIME expected = SystemLocalTime(c.fileTime);
        struct tm local = {};
        CTime time(c.fileTime, -1);
        ASSERT_EQ(&local, time.GetLocalTm(&local));
        EXPECT_EQ(expected.wYear, local.tm_year + 1900);
        EXPECT_EQ(expected.wMonth, local.tm_mon + 1);
        EXPECT_EQ(expected.wDay, local.tm_mday);
        EXPECT_EQ(expected.wHour, local.tm_hour);
        EXPECT_EQ(expected.wMinute, local.tm_min);
        EXPECT_EQ(expected.wSecond, local.tm_sec);
    }
}

TEST(CTime, ValueIsTheCalendarSecondsOfTheFileTime)
{
    // 2001-09-09 01:46:40 UTC is 1,000,000,000 seconds after the epoch.
    CTime time(FileTimeOf(2001, 9, 9, 1, 46, 40));
    EXPECT_EQ(static_cast<time_t>(1000000000), time.GetTime());
}

TEST(CTime, TimeWithoutALocalTimeAnswersNull)
{
    struct tm local = {};
    struct Case { const char* why; FILETIME fileTime; };
    const Case cases[] = {
        {"before the runtime's epoch", FileTimeOf(1960, 1, 1, 0, 0, 0)},
        {"past the last date the system converts", FILETIME{0xFFFFFFFFu, 0xFFFFFFFFu}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(nullptr, CTime(c.fileTime).GetLocalTm(&local));
    }
    EXPECT_EQ(nullptr, CTime(static_cast<time_t>(-1)).GetLocalTm(&local));
    EXPECT_EQ(nullptr, CTime(FileTimeOf(2024, 1, 1, 0, 0, 0)).GetLocalTm(nullptr));
}
