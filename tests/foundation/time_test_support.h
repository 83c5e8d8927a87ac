// Calendar values the date and time tests build their expectations from, through the
// system and the C runtime rather than through the module under test.
#pragma once

#include <windows.h>

#include <ctime>

namespace foundation_test {

inline SYSTEMTIME MakeSystemTime(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second)
{
    SYSTEMTIME st = {};
    st.wYear = year;
    st.wMonth = month;
    st.wDay = day;
    st.wHour = hour;
    st.wMinute = minute;
    st.wSecond = second;
    return st;
}

// The local moment as the runtime sees it, built without the module.
inline time_t LocalMoment(int year, int month, int day, int hour, int minute, int second)
{
    tm parts = {};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    parts.tm_isdst = -1;
    return mktime(&parts);
}

inline time_t LocalMoment(const SYSTEMTIME& st)
{
    return LocalMoment(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
}

} // namespace foundation_test
