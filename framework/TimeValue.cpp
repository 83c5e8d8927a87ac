// The framework's time value.
#include "TimeValue.h"

CTime::CTime(const FILETIME& fileTime, int nDST)
{
    // A file time the system cannot convert, or a date the runtime cannot hold, keeps
    // the runtime's own mark of an invalid time, which has no local time.
    m_time = static_cast<time_t>(-1);
    FILETIME local;
    SYSTEMTIME parts;
    if (!FileTimeToLocalFileTime(&fileTime, &local) || !FileTimeToSystemTime(&local, &parts))
        return;
    struct tm broken = {};
    broken.tm_year = parts.wYear - 1900;
    broken.tm_mon = parts.wMonth - 1;
    broken.tm_mday = parts.wDay;
    broken.tm_hour = parts.wHour;
    broken.tm_min = parts.wMinute;
    broken.tm_sec = parts.wSecond;
    broken.tm_isdst = nDST;
    m_time = std::mktime(&broken);
}

struct tm* CTime::GetLocalTm(struct tm* ptm) const
{
    if (!ptm || m_time < 0)
        return nullptr;
    const struct tm* local = std::localtime(&m_time);
    if (!local)
        return nullptr;
    *ptm = *local;
    return ptm;
}
